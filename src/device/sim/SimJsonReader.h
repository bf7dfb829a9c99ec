// SPDX-License-Identifier: MIT
// Typed access to a JSON document that fails with the file, the path inside the
// document and the reason; and the readers of the database's sections.
#pragma once

#include "device/sim/SimModel.h"
#include "device/sim/SimNetwork.h"
#include "device/sim/SimValues.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QJsonValue>
#include <QRegularExpression>
#include <cmath>
#include <optional>

namespace Sim {

inline QString member(const QString &path, const QString &key)
{
    return path.isEmpty() ? key : path + QLatin1Char('.') + key;
}

inline QString element(const QString &path, int index)
{
    return path + QStringLiteral("[%1]").arg(index);
}

inline QString jsonTypeName(const QJsonValue &value)
{
    switch (value.type()) {
    case QJsonValue::Null:
        return QStringLiteral("null");
    case QJsonValue::Bool:
        return QStringLiteral("a Boolean");
    case QJsonValue::Double:
        return QStringLiteral("a number");
    case QJsonValue::String:
        return QStringLiteral("a string");
    case QJsonValue::Array:
        return QStringLiteral("an array");
    case QJsonValue::Object:
        return QStringLiteral("an object");
    case QJsonValue::Undefined:
        break;
    }
    return QStringLiteral("nothing");
}

// Typed access to the document that fails with the file, the path and the reason.
class Reader
{
public:
    explicit Reader(QString source)
        : m_source(std::move(source))
    {
    }

    [[noreturn]] void fail(const QString &path, const QString &what) const
    {
        throw LoadError(
            QStringLiteral("%1: %2: %3").arg(m_source, path.isEmpty() ? QStringLiteral("(top level)") : path, what));
    }

    QJsonObject object(const QJsonValue &value, const QString &path) const
    {
        if (!value.isObject())
            fail(path, QStringLiteral("expected an object, found %1").arg(jsonTypeName(value)));
        return value.toObject();
    }

    QJsonArray array(const QJsonValue &value, const QString &path) const
    {
        if (!value.isArray())
            fail(path, QStringLiteral("expected an array, found %1").arg(jsonTypeName(value)));
        return value.toArray();
    }

    // Every object may carry a "comment" string, also one whose other keys are names (a
    // "cps" list, enumeration members, unit texts, display strings): true for that key.
    bool isComment(const QJsonObject::const_iterator &it, const QString &path) const
    {
        if (it.key() != QLatin1String("comment"))
            return false;
        if (!it.value().isString())
            fail(member(path, it.key()), QStringLiteral("expected a string, found %1").arg(jsonTypeName(it.value())));
        return true;
    }

    // The object's comment; a null string when it has none.
    QString comment(const QJsonObject &object, const QString &path) const
    {
        const auto it = object.constFind(QLatin1String("comment"));
        return it != object.constEnd() && isComment(it, path) ? it.value().toString() : QString();
    }

    // Unknown keys are refused so that a misspelt key does not pass silently; "comment" is always allowed.
    void onlyKeys(const QJsonObject &object, const QString &path, std::initializer_list<const char *> keys) const
    {
        for (auto it = object.constBegin(); it != object.constEnd(); ++it) {
            if (isComment(it, path))
                continue;
            bool known = false;
            for (const char *key : keys)
                known = known || it.key() == QLatin1String(key);
            if (!known)
                fail(member(path, it.key()), QStringLiteral("unknown key"));
        }
    }

    QJsonValue required(const QJsonObject &object, const QString &path, const char *key) const
    {
        const QJsonValue value = object.value(QLatin1String(key));
        if (value.isUndefined())
            fail(path, QStringLiteral("missing \"%1\"").arg(QLatin1String(key)));
        return value;
    }

    QString string(const QJsonObject &object, const QString &path, const char *key,
        std::optional<QString> fallback = std::nullopt) const
    {
        const QJsonValue value = object.value(QLatin1String(key));
        if (value.isUndefined() && fallback)
            return *fallback;
        const QJsonValue present = required(object, path, key);
        if (!present.isString())
            fail(member(path, QLatin1String(key)),
                QStringLiteral("expected a string, found %1").arg(jsonTypeName(present)));
        return present.toString();
    }

    double number(const QJsonObject &object, const QString &path, const char *key,
        std::optional<double> fallback = std::nullopt) const
    {
        const QJsonValue value = object.value(QLatin1String(key));
        if (value.isUndefined() && fallback)
            return *fallback;
        const QJsonValue present = required(object, path, key);
        if (!present.isDouble())
            fail(member(path, QLatin1String(key)),
                QStringLiteral("expected a number, found %1").arg(jsonTypeName(present)));
        return present.toDouble();
    }

    qint32 integer(const QJsonObject &object, const QString &path, const char *key,
        std::optional<qint32> fallback = std::nullopt) const
    {
        const QJsonValue value = object.value(QLatin1String(key));
        if (value.isUndefined() && fallback)
            return *fallback;
        const double number = this->number(object, path, key);
        if (number != std::nearbyint(number) || number < -2147483648.0 || number > 2147483647.0)
            fail(member(path, QLatin1String(key)),
                QStringLiteral("expected a whole number from -2147483648 to 2147483647, found %1")
                    .arg(numberText(number, -1)));
        return qint32(number);
    }

    bool boolean(const QJsonObject &object, const QString &path, const char *key,
        std::optional<bool> fallback = std::nullopt) const
    {
        const QJsonValue value = object.value(QLatin1String(key));
        if (value.isUndefined() && fallback)
            return *fallback;
        const QJsonValue present = required(object, path, key);
        if (!present.isBool())
            fail(member(path, QLatin1String(key)),
                QStringLiteral("expected true or false, found %1").arg(jsonTypeName(present)));
        return present.toBool();
    }

    QString programId(const QJsonObject &object, const QString &path, const char *key, bool allowEmpty) const
    {
        static const QRegularExpression hex16(QStringLiteral("^[0-9A-Fa-f]{16}$"));
        const QString id = string(object, path, key, allowEmpty ? std::optional<QString>(QString()) : std::nullopt);
        if (!(allowEmpty && id.isEmpty()) && !hex16.match(id).hasMatch())
            fail(member(path, QLatin1String(key)),
                QStringLiteral("a program ID is 16 hexadecimal digits, found '%1'").arg(id));
        return id;
    }

private:
    QString m_source;
};

// Refuses a key that appears twice in one object, naming its line and column; the JSON
// reader would keep the last silently (SimJsonKeys.cpp). The text is valid JSON.
void refuseDuplicateKeys(const QByteArray &json, const QString &source);

// The "resourceSets" and "languages" sections (SimJsonResources.cpp).
void readResourceSets(NetworkModel &model, const Reader &in, const QJsonValue &value);
void readLanguages(NetworkModel &model, const Reader &in, const QJsonObject &root);

} // namespace Sim
