// SPDX-License-Identifier: MIT
// The bytes of a test database file, the sample network as a JSON object, a value of a
// JSON tree replaced (or removed) at a path of steps, and a load error's message matched:
// what the programs on the database file, its JSON, its malformed variants and
// interrupted saves make their databases from and judge their refusals by.
#pragma once

#include "support/SimFixture.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QStringList>

namespace TestSupport {

inline QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(unreadable)");
}

inline bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}

inline QJsonObject sampleJson()
{
    return QJsonDocument::fromJson(readFile(SimFixture::sampleNetworkPath())).object();
}

// The value with the one at steps[from] and on replaced: an index past the end of a list
// appends, an undefined replacement removes the key.
inline QJsonValue replacedAt(
    const QJsonValue &value, const QStringList &steps, const QJsonValue &replacement, qsizetype from = 0)
{
    if (from == steps.size())
        return replacement;
    if (value.isArray()) {
        QJsonArray array = value.toArray();
        const int at = steps.at(from).toInt();
        const QJsonValue inner = replacedAt(array.at(at), steps, replacement, from + 1);
        if (at < array.size())
            array[at] = inner;
        else
            array.append(inner);
        return array;
    }
    QJsonObject object = value.toObject();
    const QJsonValue inner = replacedAt(object.value(steps.at(from)), steps, replacement, from + 1);
    if (inner.isUndefined())
        object.remove(steps.at(from));
    else
        object[steps.at(from)] = inner;
    return object;
}

// Whether a message is "<place>: " and the expected text, "*" standing for any text.
inline bool messageMatches(const QString &message, const QString &place, const QString &expected)
{
    const QString pattern = QRegularExpression::escape(place + QStringLiteral(": ") + expected)
                                .replace(QLatin1String("\\*"), QLatin1String(".*"));
    return QRegularExpression(QRegularExpression::anchoredPattern(pattern)).match(message).hasMatch();
}

} // namespace TestSupport
