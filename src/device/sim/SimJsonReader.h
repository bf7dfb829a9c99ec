// SPDX-License-Identifier: MIT
// The database text parsed by simdjson (strict JSON), typed access to its values that
// fails with the file, the path inside the document and the reason; and the readers of
// the database's sections.
#pragma once

#include "device/sim/SimModel.h"
#include "device/sim/SimNetwork.h"
#include "device/sim/SimValues.h"

#include <QByteArray>
#include <QJsonValue>
#include <QString>
#include <algorithm>
#include <cmath>
#include <memory>
#include <optional>
#include <simdjson.h>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace Sim {

// One value of the document, or nothing (a member that is absent: then it holds the
// object it is missing from and its key, so that a message can still name the place).
class VQ_SIM_AUTOTEST_EXPORT JsonRef
{
public:
    using Element = simdjson::dom::element;

    JsonRef() = default;
    explicit JsonRef(Element value, std::string_view key = {})
        : m_value(value)
        , m_key(key)
        , m_present(true)
    {
    }
    static JsonRef absent(const JsonRef &parent, std::string_view key)
    {
        JsonRef ref;
        ref.m_value = parent.m_value;
        ref.m_key = parent.m_key;
        ref.m_absentKey = key;
        ref.m_hasParent = parent.m_present;
        return ref;
    }

    bool isUndefined() const { return !m_present; }
    // The value (when absent: the object it is missing from).
    Element element() const { return m_value; }
    bool isNull() const { return is(simdjson::dom::element_type::NULL_VALUE); }
    bool isBool() const { return is(simdjson::dom::element_type::BOOL); }
    bool isDouble() const
    {
        return m_present
            && (m_value.type() == simdjson::dom::element_type::INT64
                || m_value.type() == simdjson::dom::element_type::UINT64
                || m_value.type() == simdjson::dom::element_type::DOUBLE);
    }
    bool isString() const { return is(simdjson::dom::element_type::STRING); }
    bool isArray() const { return is(simdjson::dom::element_type::ARRAY); }
    bool isObject() const { return is(simdjson::dom::element_type::OBJECT); }

    bool toBool() const
    {
        bool flag = false;
        return m_present && !m_value.get(flag) && flag;
    }
    double toDouble() const
    {
        if (!m_present)
            return 0.0;
        switch (m_value.type()) {
        case simdjson::dom::element_type::INT64: {
            int64_t number = 0;
            return m_value.get(number) ? 0.0 : double(number);
        }
        case simdjson::dom::element_type::UINT64: {
            uint64_t number = 0;
            return m_value.get(number) ? 0.0 : double(number);
        }
        case simdjson::dom::element_type::DOUBLE: {
            double number = 0;
            return m_value.get(number) ? 0.0 : number;
        }
        default:
            return 0.0;
        }
    }
    // The UTF-8 bytes of a string, escapes resolved; empty for anything else.
    std::string_view stringBytes() const
    {
        std::string_view bytes;
        return m_present && !m_value.get(bytes) ? bytes : std::string_view();
    }
    QString toString() const // a null string for anything but a string, as Qt's
    {
        if (!isString())
            return QString();
        const std::string_view bytes = stringBytes();
        return bytes.empty() ? QStringLiteral("") : QString::fromUtf8(bytes.data(), qsizetype(bytes.size()));
    }
    // "a string", "a number", ...: what was found where something else was expected.
    QString typeName() const;

    // Arrays: the elements; objects: the members in the order of the text.
    size_t size() const
    {
        simdjson::dom::array array;
        simdjson::dom::object object;
        if (!m_present)
            return 0;
        if (!m_value.get(array))
            return array.size();
        return m_value.get(object) ? 0 : object.size();
    }
    // Every element or member in turn (nothing for anything else).
    template<typename F> void forEach(F &&visit) const
    {
        simdjson::dom::array array;
        simdjson::dom::object object;
        if (!m_present)
            return;
        if (!m_value.get(array)) {
            for (const Element element : array)
                visit(JsonRef(element));
        } else if (!m_value.get(object)) {
            for (const simdjson::dom::key_value_pair member : object)
                visit(JsonRef(member.value, member.key));
        }
    }
    // Arrays: the element at that place (counted from the front, for messages).
    JsonRef at(size_t index) const;
    // Objects: the member of that key, or an absent value that still knows its place.
    JsonRef value(std::string_view key) const
    {
        simdjson::dom::object object;
        if (m_present && !m_value.get(object)) {
            for (const simdjson::dom::key_value_pair member : object) {
                if (member.key == key)
                    return JsonRef(member.value, member.key);
            }
        }
        return absent(*this, key);
    }
    bool contains(std::string_view key) const { return !value(key).isUndefined(); }

    // A member's key (UTF-8, escapes resolved); empty for anything else.
    std::string_view keyBytes() const { return m_present ? m_key : std::string_view(); }
    QString key() const
    {
        const std::string_view bytes = m_present ? m_key : m_absentKey;
        return QString::fromUtf8(bytes.data(), qsizetype(bytes.size()));
    }
    bool keyIs(std::string_view key) const { return m_present && m_key == key; }

    // The value as Qt's reader gives it, for the sections the model keeps as they were
    // read: a whole number of 64 bits stays that integer even when written with a
    // fraction or exponent. Objects whose keys repeat are the caller's to refuse first.
    QJsonValue toQt() const;

    // Where the value is, for a message: "" for the whole document, "devices[3].name"; an
    // absent member gives its parent's path and its key. Found by a search from the root,
    // so no path is made for a value that is fine.
    QString pathFrom(const JsonRef &root) const;

    // The same value of the same document.
    bool sameAs(const JsonRef &other) const;

private:
    bool is(simdjson::dom::element_type type) const { return m_present && m_value.type() == type; }

    Element m_value; // when absent: the object it is missing from (if any)
    std::string_view m_key; // a member's key
    std::string_view m_absentKey; // a literal: the reader's own key names
    bool m_present = false;
    bool m_hasParent = false;
};

// The parsed text of a database: strict JSON (RFC 8259) whose top level is an object.
// A UTF-8 byte-order mark is skipped, as the JSON standard lets a reader do.
class VQ_SIM_AUTOTEST_EXPORT JsonText
{
public:
    // Throws LoadError naming sourceName, the line, the column and what was expected.
    JsonText(const QByteArray &json, const QString &sourceName);
    ~JsonText();
    JsonText(const JsonText &) = delete;
    JsonText &operator=(const JsonText &) = delete;

    JsonRef root() const { return m_root; }
    const QByteArray &text() const { return m_json; }

private:
    QByteArray m_json;
    // Made and destroyed only inside the library, whose build settles the parser's layout
    // (simdjson's own compile definitions).
    std::unique_ptr<simdjson::dom::parser> m_parser;
    JsonRef m_root;
};

// The place of a byte of the text, for messages: "line 3, column 7".
QString placeOf(const QByteArray &json, qsizetype offset);

// One QString for each distinct text of a database: its thousands of devices repeat the
// same names, and a shared string is one allocation where there would be thousands. Every
// key and string of the network part is looked up here, so the table is open addressing
// in one array (no node per text, no chain to follow) that compares the hashes first.
class SharedTexts
{
public:
    // The text of those UTF-8 bytes, the same string as for equal bytes before. The
    // bytes must outlive this table (they are the document's).
    const QString &text(std::string_view bytes)
    {
        if (m_used * 2 >= m_slots.size())
            grow();
        const size_t hash = std::hash<std::string_view>()(bytes);
        const size_t mask = m_slots.size() - 1;
        for (size_t i = hash & mask;; i = (i + 1) & mask) {
            Slot &slot = m_slots[i];
            if (!slot.used) {
                slot.used = true;
                slot.hash = hash;
                slot.bytes = bytes;
                slot.text
                    = bytes.empty() ? QStringLiteral("") : QString::fromUtf8(bytes.data(), qsizetype(bytes.size()));
                ++m_used;
                return slot.text;
            }
            if (slot.hash == hash && slot.bytes == bytes)
                return slot.text;
        }
    }

private:
    struct Slot
    {
        size_t hash = 0;
        std::string_view bytes;
        QString text;
        bool used = false;
    };

    void grow()
    {
        std::vector<Slot> old(std::max<size_t>(m_slots.size() * 2, 256));
        old.swap(m_slots);
        const size_t mask = m_slots.size() - 1;
        for (Slot &slot : old) {
            if (!slot.used)
                continue;
            size_t i = slot.hash & mask;
            while (m_slots[i].used)
                i = (i + 1) & mask;
            m_slots[i] = std::move(slot);
        }
    }

    std::vector<Slot> m_slots; // a power of two of them, at most half used
    size_t m_used = 0;
};

// Typed access to the document that fails with the file, the path and the reason.
class VQ_SIM_AUTOTEST_EXPORT Reader
{
public:
    Reader(const JsonText &document, QString source)
        : m_document(document)
        , m_source(std::move(source))
    {
    }

    [[noreturn]] void fail(const QString &path, const QString &what) const
    {
        throw LoadError(
            QStringLiteral("%1: %2: %3").arg(m_source, path.isEmpty() ? QStringLiteral("(top level)") : path, what));
    }

    [[noreturn]] void fail(const JsonRef &at, const QString &what) const { fail(at.pathFrom(m_document.root()), what); }

    // Refuses an object in which a key appears twice: the JSON reader of anyone else
    // would keep one of them, and the next save would lose the other for good.
    void refuseRepeatedKeys(const JsonRef &object) const;

    // A member's key and a string's text, shared with equal ones read before.
    QString keyText(const JsonRef &member) const { return m_texts.text(member.keyBytes()); }
    QString stringText(const JsonRef &value) const { return m_texts.text(value.stringBytes()); }

    const JsonRef &object(const JsonRef &value) const
    {
        if (!value.isObject())
            fail(value, QStringLiteral("expected an object, found %1").arg(value.typeName()));
        refuseRepeatedKeys(value);
        return value;
    }

    // An object whose repeated keys the caller finds itself (a property list, sorted by key).
    const JsonRef &objectKeysCheckedByCaller(const JsonRef &value) const
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
    JsonRef optionalArray(const JsonRef &object, std::string_view key) const
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
    void onlyKeys(const JsonRef &object, std::initializer_list<std::string_view> keys) const
    {
        object.forEach([&](const JsonRef &member) {
            if (isComment(member))
                return;
            bool known = false;
            for (const std::string_view key : keys)
                known = known || member.keyIs(key);
            if (!known)
                fail(member, QStringLiteral("unknown key"));
        });
    }

    JsonRef required(const JsonRef &object, std::string_view key) const
    {
        const JsonRef value = object.value(key);
        if (value.isUndefined())
            fail(object, QStringLiteral("missing \"%1\"").arg(QLatin1String(key.data(), qsizetype(key.size()))));
        return value;
    }

    QString string(const JsonRef &object, std::string_view key, std::optional<QString> fallback = std::nullopt) const
    {
        const JsonRef value = object.value(key);
        if (value.isUndefined() && fallback)
            return *fallback;
        const JsonRef present = required(object, key);
        if (!present.isString())
            fail(present, QStringLiteral("expected a string, found %1").arg(present.typeName()));
        return stringText(present);
    }

    double number(const JsonRef &object, std::string_view key, std::optional<double> fallback = std::nullopt) const
    {
        const JsonRef value = object.value(key);
        if (value.isUndefined() && fallback)
            return *fallback;
        const JsonRef present = required(object, key);
        if (!present.isDouble())
            fail(present, QStringLiteral("expected a number, found %1").arg(present.typeName()));
        return present.toDouble();
    }

    qint32 integer(const JsonRef &object, std::string_view key, std::optional<qint32> fallback = std::nullopt) const
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

    bool boolean(const JsonRef &object, std::string_view key, std::optional<bool> fallback = std::nullopt) const
    {
        const JsonRef value = object.value(key);
        if (value.isUndefined() && fallback)
            return *fallback;
        const JsonRef present = required(object, key);
        if (!present.isBool())
            fail(present, QStringLiteral("expected true or false, found %1").arg(present.typeName()));
        return present.toBool();
    }

    QString programId(const JsonRef &object, std::string_view key, bool allowEmpty) const
    {
        const QString id = string(object, key, allowEmpty ? std::optional<QString>(QString()) : std::nullopt);
        if (!(allowEmpty && id.isEmpty()) && !isHex16(id))
            fail(object.value(key), QStringLiteral("a program ID is 16 hexadecimal digits, found '%1'").arg(id));
        return id;
    }

    // The section as Qt's JSON, for the model to write back; its objects' keys checked.
    QJsonValue keptAsRead(const JsonRef &value) const;

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

    const JsonText &m_document;
    QString m_source;
    mutable SharedTexts m_texts;
};

// The first key that appears twice in one object of the text, named with its line and
// column and the line of the other (SimJsonKeys.cpp): the message of a repeated key.
// An empty string when the text has none.
QString repeatedKeyPlace(const QByteArray &json);

// The "resourceSets" and "languages" sections (SimJsonResources.cpp).
void readResourceSets(NetworkModel &model, const Reader &in, const JsonRef &value);
void readLanguages(NetworkModel &model, const Reader &in, const JsonRef &root);

} // namespace Sim
