// SPDX-License-Identifier: MIT
// What Qt's own writer makes of a saved network database: the oracle the save's text is
// held against (the database file test and the database fuzz target). Header only, so
// that the fuzz target needs nothing else of the test support.
#pragma once

#include <QByteArray>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace TestSupport {

// The network part of the database as the save's tree held it: objects built key by key
// (QJsonObject::insert orders keys by UTF-16 unit, whereas Qt's reader orders what it reads
// by code point, so "\U0001F600" and "\uE000" change places) and numbers as doubles (a
// QJsonValue(double) keeps an integral double beyond 2^53 a double, "1e+16", whereas the
// text read back holds the integer 10000000000000000).
inline QJsonValue asSavedTree(const QJsonValue &value)
{
    if (value.isArray()) {
        QJsonArray array;
        for (const QJsonValue &element : value.toArray())
            array.append(asSavedTree(element));
        return array;
    }
    if (value.isObject()) {
        const QJsonObject read = value.toObject();
        QJsonObject built;
        for (auto member = read.begin(); member != read.end(); ++member)
            built.insert(member.key(), asSavedTree(member.value()));
        return built;
    }
    return value.isDouble() ? QJsonValue(value.toDouble()) : value;
}

// The saved text read back and written by QJsonDocument (indented), the network part as
// the save's tree held it and the resource and language sections as read: a save in Qt's
// layout gives back its own text.
inline QByteArray qtWrittenSave(const QByteArray &saved)
{
    QJsonObject tree = QJsonDocument::fromJson(saved).object();
    const QString devices = QStringLiteral("devices");
    tree.insert(devices, asSavedTree(tree.value(devices)));
    return QJsonDocument(tree).toJson(QJsonDocument::Indented);
}

} // namespace TestSupport
