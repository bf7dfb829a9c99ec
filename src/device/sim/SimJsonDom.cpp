// SPDX-License-Identifier: MIT
// Reading the database text into a JsonDom, and walking it.
#include "device/sim/SimJsonDom.h"

#include <QCborValue>
#include <QJsonArray>
#include <algorithm>
#include <cfloat>
#include <charconv>
#include <cmath>
#include <cstring>

namespace Sim {

// ---- the parser of plain JSON

// Gives up (returns false) on anything that is not plain JSON; it never decides an error.
class JsonTextParser
{
public:
    explicit JsonTextParser(JsonDom &dom)
        : m_dom(dom)
        , m_base(dom.m_buffer.constData())
        , m_p(m_base)
        , m_end(m_base + dom.m_buffer.size())
    {
        // About one value per 20 bytes in a database; reserving keeps the growth copies away.
        dom.m_nodes.reserve(size_t(dom.m_buffer.size() / 20 + 16));
        dom.m_children.reserve(dom.m_nodes.capacity());
    }

    bool parseDocument()
    {
        skipSpace();
        if (m_p == m_end || *m_p != '{' || !parseValue(JsonRef::Absent, nullptr, 0))
            return false;
        skipSpace();
        return m_p == m_end;
    }

private:
    // Deeper than any database goes; Qt decides about deeper texts.
    static constexpr int MaxDepth = 200;

    void skipSpace()
    {
        while (m_p != m_end && (*m_p == ' ' || *m_p == '\n' || *m_p == '\r' || *m_p == '\t'))
            ++m_p;
    }

    quint32 offsetOf(const char *p) const { return quint32(p - m_base); }

    // A member's key: its bytes in the text, or in the decoded keys when it had escapes.
    struct Key
    {
        quint32 first = 0;
        quint32 length = 0;
        bool decoded = false;
    };

    bool parseValue(quint32 parent, const Key *key, int depth)
    {
        if (depth > MaxDepth || m_p == m_end)
            return false;
        const quint32 index = quint32(m_dom.m_nodes.size());
        JsonDom::Node node;
        node.parent = parent;
        node.member = key != nullptr;
        if (key) {
            node.key = key->first;
            node.keyLength = key->length;
            node.flags = key->decoded ? JsonDom::KeyDecoded : 0;
        }
        m_dom.m_nodes.push_back(node);
        switch (*m_p) {
        case '{':
            return parseObject(index, depth);
        case '[':
            return parseArray(index, depth);
        case '"': {
            quint32 first = 0, count = 0;
            quint8 flags = 0;
            if (!parseString(first, count, flags))
                return false;
            JsonDom::Node &n = m_dom.m_nodes[index];
            n.kind = JsonDom::Kind::String;
            n.value.span.first = first;
            n.value.span.count = count;
            n.flags |= flags;
            return true;
        }
        case 't':
            return literal("true", index, JsonDom::Kind::Bool, 1);
        case 'f':
            return literal("false", index, JsonDom::Kind::Bool, 0);
        case 'n':
            return literal("null", index, JsonDom::Kind::Null, 0);
        default:
            return parseNumber(index);
        }
    }

    bool literal(const char *word, quint32 index, JsonDom::Kind kind, double value)
    {
        const size_t length = strlen(word);
        if (size_t(m_end - m_p) < length || memcmp(m_p, word, length) != 0)
            return false;
        m_p += length;
        m_dom.m_nodes[index].kind = kind;
        m_dom.m_nodes[index].value.number = value;
        return true;
    }

    // An object's or array's start: true when it is empty (and consumed whole).
    bool emptyContainer(char close)
    {
        ++m_p;
        skipSpace();
        if (m_p == m_end || *m_p != close)
            return false;
        ++m_p;
        return true;
    }

    // After a member or element: a comma (more follow) or the closing bracket.
    bool next(char close, bool &more)
    {
        skipSpace();
        if (m_p == m_end || (*m_p != ',' && *m_p != close))
            return false;
        more = *m_p++ == ',';
        return true;
    }

    bool parseObject(quint32 index, int depth)
    {
        const size_t mark = m_pending.size();
        bool more = !emptyContainer('}');
        while (more) {
            skipSpace();
            if (m_p == m_end || *m_p != '"')
                return false;
            Key key;
            quint8 flags = 0;
            if (!parseString(key.first, key.length, flags))
                return false;
            if (flags & JsonDom::Escaped) {
                const qsizetype decodedFirst = m_dom.m_decodedKeys.size();
                JsonDom::appendUnescaped(m_dom.m_decodedKeys, m_base + key.first, key.length);
                key = Key { quint32(decodedFirst), quint32(m_dom.m_decodedKeys.size() - decodedFirst), true };
            }
            // Keys whose UTF-16 order differs from their bytes' order go to Qt.
            if (hasFourByteSequence(key.decoded ? m_dom.m_decodedKeys.constData() : m_base, key.first, key.length))
                return false;
            skipSpace();
            if (m_p == m_end || *m_p != ':')
                return false;
            ++m_p;
            skipSpace();
            m_pending.push_back(quint32(m_dom.m_nodes.size()));
            if (!parseValue(index, &key, depth + 1) || !next('}', more))
                return false;
        }
        const auto begin = m_pending.begin() + std::ptrdiff_t(mark);
        std::sort(begin, m_pending.end(), [this](quint32 a, quint32 b) { return keyLess(a, b); });
        for (size_t i = mark + 1; i < m_pending.size(); ++i) {
            if (!keyLess(m_pending[i - 1], m_pending[i]))
                return false; // a repeated key: refused with its place by the caller's check
        }
        closeContainer(index, JsonDom::Kind::Object, mark);
        return true;
    }

    bool parseArray(quint32 index, int depth)
    {
        const size_t mark = m_pending.size();
        bool more = !emptyContainer(']');
        while (more) {
            skipSpace();
            m_pending.push_back(quint32(m_dom.m_nodes.size()));
            if (!parseValue(index, nullptr, depth + 1) || !next(']', more))
                return false;
        }
        closeContainer(index, JsonDom::Kind::Array, mark);
        return true;
    }

    void closeContainer(quint32 index, JsonDom::Kind kind, size_t mark)
    {
        JsonDom::Node &n = m_dom.m_nodes[index];
        n.kind = kind;
        n.value.span.first = quint32(m_dom.m_children.size());
        n.value.span.count = quint32(m_pending.size() - mark);
        m_dom.m_children.insert(m_dom.m_children.end(), m_pending.begin() + std::ptrdiff_t(mark), m_pending.end());
        m_pending.resize(mark);
    }

    bool keyLess(quint32 a, quint32 b) const
    {
        const JsonDom::Node &x = m_dom.m_nodes[a];
        const JsonDom::Node &y = m_dom.m_nodes[b];
        const int order = memcmp(m_dom.keyBytes(x), m_dom.keyBytes(y), std::min(x.keyLength, y.keyLength));
        return order < 0 || (order == 0 && x.keyLength < y.keyLength);
    }

    static bool hasFourByteSequence(const char *bytes, quint32 first, quint32 length)
    {
        for (quint32 i = 0; i < length; ++i) {
            if (quint8(bytes[first + i]) >= 0xF0)
                return true;
        }
        return false;
    }

    static int hexDigit(char c)
    {
        if (c >= '0' && c <= '9')
            return c - '0';
        if (c >= 'a' && c <= 'f')
            return c - 'a' + 10;
        if (c >= 'A' && c <= 'F')
            return c - 'A' + 10;
        return -1;
    }

    static bool isNoncharacter(char32_t c) { return (c >= 0xFDD0 && c <= 0xFDEF) || (c & 0xFFFE) == 0xFFFE; }

    // One well-formed UTF-8 sequence of two to four bytes at m_p.
    bool skipUtf8Sequence()
    {
        const auto byte = [this](int i) { return m_p + i < m_end ? quint8(m_p[i]) : 0u; };
        const auto continuation = [&](int i, unsigned low, unsigned high) { return byte(i) >= low && byte(i) <= high; };
        const unsigned lead = byte(0);
        char32_t c = 0;
        int length = 0;
        if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2;
            if (!continuation(1, 0x80, 0xBF))
                return false;
            c = lead & 0x1F;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3;
            const unsigned low = lead == 0xE0 ? 0xA0 : 0x80;
            const unsigned high = lead == 0xED ? 0x9F : 0xBF;
            if (!continuation(1, low, high) || !continuation(2, 0x80, 0xBF))
                return false;
            c = lead & 0x0F;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4;
            const unsigned low = lead == 0xF0 ? 0x90 : 0x80;
            const unsigned high = lead == 0xF4 ? 0x8F : 0xBF;
            if (!continuation(1, low, high) || !continuation(2, 0x80, 0xBF) || !continuation(3, 0x80, 0xBF))
                return false;
            c = lead & 0x07;
        } else {
            return false;
        }
        for (int i = 1; i < length; ++i)
            c = (c << 6) | (byte(i) & 0x3F);
        m_p += length;
        return !isNoncharacter(c);
    }

    static bool isPlainAscii(char c)
    {
        const auto byte = quint8(c);
        return byte >= 0x20 && byte < 0x80 && byte != '"' && byte != '\\';
    }

    bool parseString(quint32 &first, quint32 &count, quint8 &flags)
    {
        ++m_p;
        const char *start = m_p;
        while (m_p != m_end && *m_p != '"') {
            // Most of a database's text is plain ASCII: no test but the one.
            while (m_p != m_end && isPlainAscii(*m_p))
                ++m_p;
            if (m_p == m_end || *m_p == '"')
                break;
            const quint8 c = quint8(*m_p);
            if (c == '\\') {
                flags |= JsonDom::Escaped;
                if (++m_p == m_end)
                    return false;
                if (*m_p != 'u') {
                    if (!strchr("\"\\/bfnrt", *m_p) || *m_p == '\0')
                        return false;
                    ++m_p;
                    continue;
                }
                if (m_end - m_p < 5)
                    return false;
                char32_t unit = 0;
                for (int i = 1; i <= 4; ++i) {
                    const int digit = hexDigit(m_p[i]);
                    if (digit < 0)
                        return false;
                    unit = (unit << 4) | char32_t(digit);
                }
                if (unit == 0 || (unit >= 0xD800 && unit <= 0xDFFF) || isNoncharacter(unit))
                    return false;
                m_p += 5;
            } else if (c < 0x20) {
                return false;
            } else if (c >= 0x80) {
                flags |= JsonDom::NonAscii;
                if (!skipUtf8Sequence())
                    return false;
            } else {
                ++m_p;
            }
        }
        if (m_p == m_end)
            return false;
        first = offsetOf(start);
        count = quint32(m_p - start);
        ++m_p;
        return true;
    }

    // Numbers as JSON writes them; Qt reads a whole number that fits 64 bits as that integer.
    bool parseNumber(quint32 index)
    {
        const char *start = m_p;
        const auto digits = [this] {
            const char *from = m_p;
            while (m_p != m_end && *m_p >= '0' && *m_p <= '9')
                ++m_p;
            return m_p != from;
        };
        if (m_p != m_end && *m_p == '-')
            ++m_p;
        if (m_p == m_end)
            return false;
        if (*m_p == '0')
            ++m_p;
        else if (!digits())
            return false;
        bool whole = true;
        if (m_p != m_end && *m_p == '.') {
            ++m_p;
            whole = false;
            if (!digits())
                return false;
        }
        if (m_p != m_end && (*m_p == 'e' || *m_p == 'E')) {
            ++m_p;
            whole = false;
            if (m_p != m_end && (*m_p == '+' || *m_p == '-'))
                ++m_p;
            if (!digits())
                return false;
        }
        JsonDom::Node &n = m_dom.m_nodes[index];
        n.kind = JsonDom::Kind::Number;
        long long integer = 0;
        const auto whole64 = std::from_chars(start, m_p, integer);
        if (whole && whole64.ptr == m_p && whole64.ec == std::errc()) {
            n.flags |= JsonDom::Integer;
            n.value.integer = integer;
            return true;
        }
        double value = 0;
        const auto result = std::from_chars(start, m_p, value);
        // Out of range and the smallest numbers: Qt's reading decides.
        if (result.ec != std::errc() || result.ptr != m_p || !std::isfinite(value)
            || (value != 0 && std::fabs(value) < DBL_MIN))
            return false;
        // Qt keeps a fraction or exponent that lands on a whole number of 64 bits as that
        // integer ("2.0", "1e3", "-0.0", and any double from 2^53 up to 2^63).
        if (value >= -0x1p63 && value < 0x1p63 && value == std::trunc(value)) {
            n.flags |= JsonDom::Integer;
            n.value.integer = qint64(value);
            return true;
        }
        n.value.number = value;
        return true;
    }

    JsonDom &m_dom;
    const char *m_base;
    const char *m_p;
    const char *m_end;
    std::vector<quint32> m_pending; // members and elements of the containers still open
};

std::unique_ptr<JsonDom> JsonDom::parse(const QByteArray &json)
{
    if (json.size() >= qsizetype(JsonRef::Absent))
        return nullptr;
    auto dom = std::make_unique<JsonDom>();
    dom->m_buffer = json;
    if (!JsonTextParser(*dom).parseDocument())
        return nullptr;
    return dom;
}

// ---- a document Qt has read

class JsonQtImport
{
public:
    explicit JsonQtImport(JsonDom &dom)
        : m_dom(dom)
    {
    }

    quint32 add(const QJsonValue &value, quint32 parent, const QString *key)
    {
        const quint32 index = quint32(m_dom.m_nodes.size());
        JsonDom::Node node;
        node.parent = parent;
        node.member = key != nullptr;
        node.flags = JsonDom::FromQt;
        if (key)
            node.key = keep(*key);
        switch (value.type()) {
        case QJsonValue::Bool:
            node.kind = JsonDom::Kind::Bool;
            node.value.number = value.toBool() ? 1 : 0;
            break;
        case QJsonValue::Double:
            node.kind = JsonDom::Kind::Number;
            if (const QCborValue number = QCborValue::fromJsonValue(value); number.isInteger()) {
                node.flags |= JsonDom::Integer;
                node.value.integer = number.toInteger();
            } else {
                node.value.number = value.toDouble();
            }
            break;
        case QJsonValue::String:
            node.kind = JsonDom::Kind::String;
            node.value.span.first = keep(value.toString());
            break;
        case QJsonValue::Array:
        case QJsonValue::Object:
            node.kind = value.isArray() ? JsonDom::Kind::Array : JsonDom::Kind::Object;
            break;
        case QJsonValue::Null:
        case QJsonValue::Undefined:
            break;
        }
        m_dom.m_nodes.push_back(node);
        std::vector<quint32> children;
        if (value.isArray()) {
            const QJsonArray array = value.toArray();
            for (const QJsonValue element : array)
                children.push_back(add(element, index, nullptr));
        } else if (value.isObject()) {
            const QJsonObject object = value.toObject();
            for (auto it = object.constBegin(); it != object.constEnd(); ++it) {
                const QString memberKey = it.key();
                children.push_back(add(it.value(), index, &memberKey));
            }
        }
        if (value.isArray() || value.isObject()) {
            m_dom.m_nodes[index].value.span.first = quint32(m_dom.m_children.size());
            m_dom.m_nodes[index].value.span.count = quint32(children.size());
            m_dom.m_children.insert(m_dom.m_children.end(), children.begin(), children.end());
        }
        return index;
    }

private:
    quint32 keep(const QString &text)
    {
        m_dom.m_qtStrings.append(text);
        return quint32(m_dom.m_qtStrings.size() - 1);
    }

    JsonDom &m_dom;
};

std::unique_ptr<JsonDom> JsonDom::fromQt(const QJsonObject &root)
{
    auto dom = std::make_unique<JsonDom>();
    JsonQtImport(*dom).add(root, JsonRef::Absent, nullptr);
    return dom;
}

QString JsonDom::decodedString(const Node &node) const
{
    if (node.flags & FromQt)
        return m_qtStrings.at(node.value.span.first);
    const char *text = m_buffer.constData() + node.value.span.first;
    if (!(node.flags & Escaped))
        return node.flags & NonAscii ? QString::fromUtf8(text, node.value.span.count)
                                     : QString::fromLatin1(text, node.value.span.count);
    QByteArray utf8;
    appendUnescaped(utf8, text, node.value.span.count);
    return QString::fromUtf8(utf8);
}

void JsonDom::appendUnescaped(QByteArray &to, const char *text, quint32 length)
{
    // The parser let through only the escapes below, and no surrogate.
    to.reserve(to.size() + length);
    for (quint32 i = 0; i < length; ++i) {
        const char c = text[i];
        if (c != '\\') {
            to.append(c);
            continue;
        }
        const char escape = text[++i];
        switch (escape) {
        case 'b':
            to.append('\b');
            break;
        case 'f':
            to.append('\f');
            break;
        case 'n':
            to.append('\n');
            break;
        case 'r':
            to.append('\r');
            break;
        case 't':
            to.append('\t');
            break;
        case 'u':
            to.append(QString(QChar(QByteArray(text + i + 1, 4).toUShort(nullptr, 16))).toUtf8());
            i += 4;
            break;
        default: // '"', '\\' and '/'
            to.append(escape);
            break;
        }
    }
}

// ---- walking it

bool JsonRef::is(JsonKind kind) const
{
    return !isUndefined() && m_dom->node(m_node).kind == kind;
}

bool JsonRef::toBool() const
{
    return isBool() && m_dom->node(m_node).value.number != 0;
}

double JsonRef::toDouble() const
{
    if (!isDouble())
        return 0.0;
    const JsonDom::Node &n = m_dom->node(m_node);
    return n.flags & JsonDom::Integer ? double(n.value.integer) : n.value.number;
}

QString JsonRef::toString() const
{
    return isString() ? m_dom->decodedString(m_dom->node(m_node)) : QString();
}

QString JsonRef::typeName() const
{
    if (isUndefined())
        return QStringLiteral("nothing");
    switch (m_dom->node(m_node).kind) {
    case JsonDom::Kind::Null:
        return QStringLiteral("null");
    case JsonDom::Kind::Bool:
        return QStringLiteral("a Boolean");
    case JsonDom::Kind::Number:
        return QStringLiteral("a number");
    case JsonDom::Kind::String:
        return QStringLiteral("a string");
    case JsonDom::Kind::Array:
        return QStringLiteral("an array");
    case JsonDom::Kind::Object:
        return QStringLiteral("an object");
    }
    return QStringLiteral("nothing");
}

int JsonRef::size() const
{
    return isArray() || isObject() ? int(m_dom->node(m_node).value.span.count) : 0;
}

JsonRef JsonRef::at(int index) const
{
    if (index < 0 || index >= size())
        return JsonRef(m_dom, Absent);
    return JsonRef(m_dom, m_dom->m_children[m_dom->node(m_node).value.span.first + quint32(index)]);
}

JsonRef JsonRef::value(const char *key) const
{
    if (!isObject())
        return JsonRef(m_dom, Absent, m_node, key);
    // Members are few; a binary search would not pay for itself.
    const JsonDom::Node &object = m_dom->node(m_node);
    for (quint32 i = 0; i < object.value.span.count; ++i) {
        const quint32 child = m_dom->m_children[object.value.span.first + i];
        if (JsonRef(m_dom, child).keyIs(key))
            return JsonRef(m_dom, child);
    }
    return JsonRef(m_dom, Absent, m_node, key);
}

QString JsonRef::key() const
{
    if (isUndefined())
        return m_absentKey ? QString::fromUtf8(m_absentKey) : QString();
    const JsonDom::Node &n = m_dom->node(m_node);
    if (!n.member)
        return QString();
    return n.flags & JsonDom::FromQt ? m_dom->m_qtStrings.at(n.key)
                                     : QString::fromUtf8(m_dom->keyBytes(n), n.keyLength);
}

bool JsonRef::keyIs(const char *key) const
{
    if (isUndefined())
        return false;
    const JsonDom::Node &n = m_dom->node(m_node);
    if (n.flags & JsonDom::FromQt)
        return n.member && m_dom->m_qtStrings.at(n.key) == QLatin1String(key);
    if (!n.member)
        return false;
    const char *bytes = m_dom->keyBytes(n);
    if (n.keyLength == 0 || bytes[0] != key[0]) // most keys differ at once
        return n.keyLength == 0 && key[0] == '\0';
    return strlen(key) == n.keyLength && memcmp(bytes, key, n.keyLength) == 0;
}

QByteArrayView JsonRef::keyBytes() const
{
    if (isUndefined())
        return {};
    const JsonDom::Node &n = m_dom->node(m_node);
    if (!n.member || (n.flags & JsonDom::FromQt))
        return {};
    return QByteArrayView(m_dom->keyBytes(n), n.keyLength);
}

QByteArrayView JsonRef::stringBytes() const
{
    if (!isString())
        return {};
    const JsonDom::Node &n = m_dom->node(m_node);
    if (n.flags & (JsonDom::FromQt | JsonDom::Escaped))
        return {};
    return QByteArrayView(m_dom->m_buffer.constData() + n.value.span.first, n.value.span.count);
}

QString JsonRef::path() const
{
    const auto join = [](const QString &parent, const QString &key) {
        return parent.isEmpty() ? key : parent + QLatin1Char('.') + key;
    };
    if (isUndefined())
        return m_parent == Absent ? QString() : join(JsonRef(m_dom, m_parent).path(), key());
    const JsonDom::Node &n = m_dom->node(m_node);
    if (n.parent == Absent)
        return QString();
    const QString parent = JsonRef(m_dom, n.parent).path();
    if (n.member)
        return join(parent, key());
    const JsonDom::Node &array = m_dom->node(n.parent);
    const auto begin = m_dom->m_children.begin() + std::ptrdiff_t(array.value.span.first);
    const auto position = std::find(begin, begin + std::ptrdiff_t(array.value.span.count), m_node) - begin;
    return parent + QStringLiteral("[%1]").arg(position);
}

QJsonValue JsonRef::toQt() const
{
    if (isUndefined())
        return QJsonValue(QJsonValue::Undefined);
    switch (m_dom->node(m_node).kind) {
    case JsonDom::Kind::Null:
        return QJsonValue(QJsonValue::Null);
    case JsonDom::Kind::Bool:
        return toBool();
    case JsonDom::Kind::Number: {
        const JsonDom::Node &n = m_dom->node(m_node);
        return n.flags & JsonDom::Integer ? QJsonValue(n.value.integer) : QJsonValue(n.value.number);
    }
    case JsonDom::Kind::String:
        return toString();
    case JsonDom::Kind::Array: {
        QJsonArray array;
        for (int i = 0; i < size(); ++i)
            array.append(at(i).toQt());
        return array;
    }
    case JsonDom::Kind::Object: {
        QJsonObject object;
        for (int i = 0; i < size(); ++i)
            object.insert(at(i).key(), at(i).toQt());
        return object;
    }
    }
    return QJsonValue();
}

} // namespace Sim
