// SPDX-License-Identifier: MIT
// JSON text in the layout of Qt's indented writer. Qt 6.4 was asked, not guessed: keys
// and texts escape `"` and `\`, \b \f \n \r \t, other control characters as \u00XX (lower
// case), a lone surrogate as \uXXXX (lower case); DEL and everything beyond ASCII stay raw
// UTF-8. Numbers: see number() and value().
#include "device/sim/SimJsonText.h"

#include <QCborValue>
#include <QJsonArray>
#include <QJsonObject>
#include <QLocale>
#include <algorithm>
#include <cmath>
#include <cstring>

namespace Sim {
namespace {

constexpr char HexDigits[] = "0123456789abcdef";

// QJsonValue(double) keeps an integral double as an integer while that is exact.
constexpr double LargestExactInteger = 9007199254740992.0; // 2^53

char *escapedUnit(char *out, char16_t unit)
{
    *out++ = '\\';
    *out++ = 'u';
    *out++ = HexDigits[(unit >> 12) & 0xF];
    *out++ = HexDigits[(unit >> 8) & 0xF];
    *out++ = HexDigits[(unit >> 4) & 0xF];
    *out++ = HexDigits[unit & 0xF];
    return out;
}

// The text between the quotes; `out` has room for six bytes per UTF-16 unit.
char *escaped(char *out, QStringView text)
{
    const char16_t *unit = text.utf16();
    const char16_t *const end = unit + text.size();
    while (unit != end) {
        const char16_t c = *unit++;
        if (c >= 0x20 && c < 0x80 && c != u'"' && c != u'\\') {
            *out++ = char(c);
        } else if (c < 0x80) {
            *out++ = '\\';
            switch (c) {
            case u'"':
                *out++ = '"';
                break;
            case u'\\':
                *out++ = '\\';
                break;
            case u'\b':
                *out++ = 'b';
                break;
            case u'\f':
                *out++ = 'f';
                break;
            case u'\n':
                *out++ = 'n';
                break;
            case u'\r':
                *out++ = 'r';
                break;
            case u'\t':
                *out++ = 't';
                break;
            default:
                out = escapedUnit(out - 1, c);
                break;
            }
        } else if (c < 0x800) {
            *out++ = char(0xC0 | (c >> 6));
            *out++ = char(0x80 | (c & 0x3F));
        } else if (QChar::isHighSurrogate(c) && unit != end && QChar::isLowSurrogate(*unit)) {
            const char32_t point = QChar::surrogateToUcs4(c, *unit++);
            *out++ = char(0xF0 | (point >> 18));
            *out++ = char(0x80 | ((point >> 12) & 0x3F));
            *out++ = char(0x80 | ((point >> 6) & 0x3F));
            *out++ = char(0x80 | (point & 0x3F));
        } else if (QChar::isSurrogate(c)) {
            out = escapedUnit(out, c);
        } else {
            *out++ = char(0xE0 | (c >> 12));
            *out++ = char(0x80 | ((c >> 6) & 0x3F));
            *out++ = char(0x80 | (c & 0x3F));
        }
    }
    return out;
}

} // namespace

void JsonTextWriter::beginObject()
{
    beginValue();
    append("{\n");
    m_open.push_back(Open { false, true });
}

void JsonTextWriter::endObject()
{
    const Open closing = m_open.back();
    m_open.pop_back();
    if (!closing.empty)
        append("\n");
    indent(int(m_open.size()));
    append("}");
}

void JsonTextWriter::beginArray()
{
    beginValue();
    append("[\n");
    m_open.push_back(Open { true, true });
}

void JsonTextWriter::endArray()
{
    const Open closing = m_open.back();
    m_open.pop_back();
    if (!closing.empty)
        append("\n");
    indent(int(m_open.size()));
    append("]");
}

void JsonTextWriter::key(QLatin1String asciiKey)
{
    separateMember();
    char *out = room(asciiKey.size() + 4);
    *out++ = '"';
    std::memcpy(out, asciiKey.data(), size_t(asciiKey.size()));
    out += asciiKey.size();
    *out++ = '"';
    *out++ = ':';
    *out++ = ' ';
    m_used = out - m_text.data();
    m_afterKey = true;
}

void JsonTextWriter::key(QStringView key)
{
    separateMember();
    char *out = room(key.size() * 6 + 4);
    *out++ = '"';
    out = escaped(out, key);
    *out++ = '"';
    *out++ = ':';
    *out++ = ' ';
    m_used = out - m_text.data();
    m_afterKey = true;
}

void JsonTextWriter::string(QStringView text)
{
    beginValue();
    char *out = room(text.size() * 6 + 2);
    *out++ = '"';
    out = escaped(out, text);
    *out++ = '"';
    m_used = out - m_text.data();
}

void JsonTextWriter::number(double value)
{
    if (std::isfinite(value) && std::fabs(value) <= LargestExactInteger && std::trunc(value) == value)
        integer(qint64(value)); // -0.0 too: "0"
    else
        shortestDouble(value);
}

void JsonTextWriter::integer(qint64 value)
{
    beginValue();
    char digits[20];
    char *first = std::end(digits);
    quint64 magnitude = value < 0 ? 0 - quint64(value) : quint64(value);
    do {
        *--first = char('0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude);
    if (value < 0)
        append("-");
    append(first, std::end(digits) - first);
}

void JsonTextWriter::boolean(bool value)
{
    beginValue();
    if (value)
        append("true");
    else
        append("false");
}

void JsonTextWriter::null()
{
    beginValue();
    append("null");
}

void JsonTextWriter::value(const QJsonValue &value)
{
    switch (value.type()) {
    case QJsonValue::Null:
        null();
        break;
    case QJsonValue::Bool:
        boolean(value.toBool());
        break;
    case QJsonValue::Double: {
        // A number read from a file stays an integer whenever it fits 64 bits (so
        // 123456789012345678 keeps every digit), and Qt writes it so; a double it writes
        // in its shortest text, integral or not.
        const QCborValue held = QCborValue::fromJsonValue(value);
        if (held.isInteger())
            integer(held.toInteger());
        else
            shortestDouble(value.toDouble());
        break;
    }
    case QJsonValue::String:
        string(value.toString());
        break;
    case QJsonValue::Array: {
        beginArray();
        const QJsonArray array = value.toArray();
        for (const QJsonValue &element : array)
            this->value(element);
        endArray();
        break;
    }
    case QJsonValue::Object: {
        beginObject();
        const QJsonObject object = value.toObject();
        for (auto member = object.constBegin(); member != object.constEnd(); ++member) {
            key(member.key());
            this->value(member.value());
        }
        endObject();
        break;
    }
    case QJsonValue::Undefined:
        break;
    }
}

void JsonTextWriter::reserve(qsizetype moreBytes)
{
    if (m_used + moreBytes > m_text.size())
        m_text.resize(m_used + moreBytes);
}

QByteArray JsonTextWriter::take()
{
    append("\n");
    m_text.resize(m_used);
    m_used = 0;
    m_open.clear();
    m_afterKey = false;
    return std::move(m_text);
}

void JsonTextWriter::beginValue()
{
    if (m_afterKey)
        m_afterKey = false;
    else if (!m_open.empty())
        separateMember(); // an element of an array
}

void JsonTextWriter::separateMember()
{
    Open &open = m_open.back();
    if (!open.empty)
        append(",\n");
    open.empty = false;
    indent(int(m_open.size()));
}

void JsonTextWriter::indent(int depth)
{
    const qsizetype blanks = qsizetype(depth) * 4;
    std::memset(room(blanks), ' ', size_t(blanks));
    m_used += blanks;
}

void JsonTextWriter::shortestDouble(double value)
{
    beginValue();
    if (std::isfinite(value)) {
        const QByteArray text = QByteArray::number(value, 'g', QLocale::FloatingPointShortest);
        append(text.constData(), text.size());
    } else {
        append("null");
    }
}

char *JsonTextWriter::room(qsizetype bytes)
{
    if (m_used + bytes > m_text.size())
        m_text.resize(std::max({ m_used + bytes, m_text.size() * 2, qsizetype(4096) }));
    return m_text.data() + m_used;
}

void JsonTextWriter::append(const char *text, qsizetype length)
{
    std::memcpy(room(length), text, size_t(length));
    m_used += length;
}

} // namespace Sim
