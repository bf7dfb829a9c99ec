// SPDX-License-Identifier: MIT
// Typed access to a JSON document that fails with the file, the path inside the
// document and the reason; and the readers of the database's sections.
#pragma once

#include "device/sim/SimJsonDom.h"
#include "device/sim/SimModel.h"
#include "device/sim/SimNetwork.h"
#include "device/sim/SimValues.h"

#include <cmath>
#include <optional>
#include <string_view>
#include <unordered_map>

namespace Sim {

// One QString for each distinct text of a database: its thousands of devices repeat the
// same names, and a shared string is one allocation where there would be thousands.
class SharedTexts
{
public:
    // The text of those UTF-8 bytes, the same string as for equal bytes before. The
    // bytes must outlive this table (they are the document's).
    QString text(QByteArrayView utf8)
    {
        const std::string_view bytes(utf8.data(), size_t(utf8.size()));
        auto known = m_texts.find(bytes);
        if (known == m_texts.end())
            known = m_texts.emplace(bytes, utf8.isEmpty() ? QStringLiteral("") : QString::fromUtf8(utf8)).first;
        return known->second;
    }

private:
    std::unordered_map<std::string_view, QString> m_texts;
};

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

    [[noreturn]] void fail(const JsonRef &at, const QString &what) const { fail(at.path(), what); }

    // A member's key and a string's text, shared with equal ones read before.
    QString keyText(const JsonRef &member) const
    {
        const QByteArrayView bytes = member.keyBytes();
        return bytes.isNull() ? member.key() : m_texts.text(bytes);
    }
    QString stringText(const JsonRef &value) const
    {
        const QByteArrayView bytes = value.stringBytes();
        return bytes.isNull() ? value.toString() : m_texts.text(bytes);
    }

    const JsonRef &object(const JsonRef &value) const
    {
        if (!value.isObject())
            fail(value, QStringLiteral("expected an object, found %1").arg(value.typeName()));
        return value;
    }

    const JsonRef &array(const JsonRef &value) const
    {
        if (!value.isArray())
            fail(value, QStringLiteral("expected an array, found %1").arg(value.typeName()));
        return value;
    }

    // An array that may be left out: its elements, none when it is absent.
    JsonRef optionalArray(const JsonRef &object, const char *key) const
    {
        const JsonRef value = object.value(key);
        return value.isUndefined() ? value : array(value);
    }

    // Every object may carry a "comment" string, also one whose other keys are names (a
    // "cps" list, enumeration members, unit texts, display strings): true for that member.
    bool isComment(const JsonRef &member) const
    {
        if (!member.keyIs("comment"))
            return false;
        if (!member.isString())
            fail(member, QStringLiteral("expected a string, found %1").arg(member.typeName()));
        return true;
    }

    // The object's comment; a null string when it has none.
    QString comment(const JsonRef &object) const
    {
        const JsonRef value = object.value("comment");
        return !value.isUndefined() && isComment(value) ? value.toString() : QString();
    }

    // Unknown keys are refused so that a misspelt key does not pass silently; "comment" is always allowed.
    void onlyKeys(const JsonRef &object, std::initializer_list<const char *> keys) const
    {
        for (int i = 0; i < object.size(); ++i) {
            const JsonRef member = object.at(i);
            if (isComment(member))
                continue;
            bool known = false;
            for (const char *key : keys)
                known = known || member.keyIs(key);
            if (!known)
                fail(member, QStringLiteral("unknown key"));
        }
    }

    JsonRef required(const JsonRef &object, const char *key) const
    {
        const JsonRef value = object.value(key);
        if (value.isUndefined())
            fail(object, QStringLiteral("missing \"%1\"").arg(QLatin1String(key)));
        return value;
    }

    QString string(const JsonRef &object, const char *key, std::optional<QString> fallback = std::nullopt) const
    {
        const JsonRef value = object.value(key);
        if (value.isUndefined() && fallback)
            return *fallback;
        const JsonRef present = required(object, key);
        if (!present.isString())
            fail(present, QStringLiteral("expected a string, found %1").arg(present.typeName()));
        return stringText(present);
    }

    double number(const JsonRef &object, const char *key, std::optional<double> fallback = std::nullopt) const
    {
        const JsonRef value = object.value(key);
        if (value.isUndefined() && fallback)
            return *fallback;
        const JsonRef present = required(object, key);
        if (!present.isDouble())
            fail(present, QStringLiteral("expected a number, found %1").arg(present.typeName()));
        return present.toDouble();
    }

    qint32 integer(const JsonRef &object, const char *key, std::optional<qint32> fallback = std::nullopt) const
    {
        const JsonRef value = object.value(key);
        if (value.isUndefined() && fallback)
            return *fallback;
        const double number = this->number(object, key);
        if (number != std::nearbyint(number) || number < -2147483648.0 || number > 2147483647.0)
            fail(value,
                QStringLiteral("expected a whole number from -2147483648 to 2147483647, found %1")
                    .arg(numberText(number, -1)));
        return qint32(number);
    }

    bool boolean(const JsonRef &object, const char *key, std::optional<bool> fallback = std::nullopt) const
    {
        const JsonRef value = object.value(key);
        if (value.isUndefined() && fallback)
            return *fallback;
        const JsonRef present = required(object, key);
        if (!present.isBool())
            fail(present, QStringLiteral("expected true or false, found %1").arg(present.typeName()));
        return present.toBool();
    }

    QString programId(const JsonRef &object, const char *key, bool allowEmpty) const
    {
        const QString id = string(object, key, allowEmpty ? std::optional<QString>(QString()) : std::nullopt);
        if (!(allowEmpty && id.isEmpty()) && !isHex16(id))
            fail(object.value(key), QStringLiteral("a program ID is 16 hexadecimal digits, found '%1'").arg(id));
        return id;
    }

private:
    static bool isHex16(const QString &id)
    {
        if (id.size() != 16)
            return false;
        for (const QChar c : id) {
            if (!isAsciiHexDigit(c.unicode()))
                return false;
        }
        return true;
    }
    static bool isAsciiHexDigit(char16_t c)
    {
        return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
    }

    QString m_source;
    mutable SharedTexts m_texts;
};

// Refuses a key that appears twice in one object, naming its line and column; the JSON
// reader would keep the last silently (SimJsonKeys.cpp). The text is valid JSON.
void refuseDuplicateKeys(const QByteArray &json, const QString &source);

// The "resourceSets" and "languages" sections (SimJsonResources.cpp).
void readResourceSets(NetworkModel &model, const Reader &in, const JsonRef &value);
void readLanguages(NetworkModel &model, const Reader &in, const JsonRef &root);

} // namespace Sim
