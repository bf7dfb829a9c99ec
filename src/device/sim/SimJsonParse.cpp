// SPDX-License-Identifier: MIT
// The database text parsed by simdjson, the places its messages name, and the walk of
// its values.
#include "device/sim/SimJson.h"
#include "device/sim/SimJsonReader.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <algorithm>
#include <charconv>
#include <cstring>
#include <type_traits>

namespace Sim {
namespace {

using simdjson::error_code;

// UTF-16 and UTF-32 texts, with or without a byte-order mark: JSON text begins with an
// ASCII character, so without a mark its first two characters show as a text character
// and zero bytes in the places the encoding puts them. Other zero bytes are no encoding.
const char *wideEncoding(const QByteArray &json)
{
    const auto at = [&](qsizetype i) { return i < json.size() ? quint8(json.at(i)) : 0xFFu; };
    if ((at(0) == 0xFF && at(1) == 0xFE && at(2) == 0 && at(3) == 0)
        || (at(0) == 0 && at(1) == 0 && at(2) == 0xFE && at(3) == 0xFF))
        return "UTF-32";
    if ((at(0) == 0xFF && at(1) == 0xFE) || (at(0) == 0xFE && at(1) == 0xFF))
        return "UTF-16";
    const auto isText = [](quint8 c) { return (c >= 0x20 && c < 0x7F) || c == '\t' || c == '\n' || c == '\r'; };
    // Two characters of `width` bytes, the text byte at `place` in each and zeros elsewhere.
    const auto looksLike = [&](int width, int place) {
        for (int unit = 0; unit < 2; ++unit) {
            for (int i = 0; i < width; ++i) {
                const quint8 byte = at(qsizetype(unit * width + i));
                if (i == place ? !isText(byte) : byte != 0)
                    return false;
            }
        }
        return true;
    };
    if (looksLike(4, 0) || looksLike(4, 3))
        return "UTF-32";
    if (looksLike(2, 0) || looksLike(2, 1))
        return "UTF-16";
    return nullptr;
}

// ---- where simdjson's refusal lies (only when the text is refused)

// The first byte that begins no well-formed UTF-8 sequence; -1 when there is none.
qsizetype firstBadUtf8(const char *text, qsizetype size)
{
    const auto byte = [&](qsizetype i) { return i < size ? quint8(text[i]) : 0u; };
    for (qsizetype i = 0; i < size;) {
        const unsigned lead = byte(i);
        int length = 1;
        unsigned low = 0x80, high = 0xBF;
        if (lead < 0x80) {
            ++i;
            continue;
        } else if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3;
            low = lead == 0xE0 ? 0xA0 : 0x80;
            high = lead == 0xED ? 0x9F : 0xBF;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4;
            low = lead == 0xF0 ? 0x90 : 0x80;
            high = lead == 0xF4 ? 0x8F : 0xBF;
        } else {
            return i;
        }
        for (int k = 1; k < length; ++k) {
            const unsigned c = byte(i + k);
            if (c < (k == 1 ? low : 0x80u) || c > (k == 1 ? high : 0xBFu))
                return i;
        }
        i += length;
    }
    return -1;
}

// A control character inside a string, or the opening quote of a string left open; -1 for neither.
qsizetype badStringByte(const char *text, qsizetype size)
{
    qsizetype open = -1;
    for (qsizetype i = 0; i < size; ++i) {
        const quint8 c = quint8(text[i]);
        if (open < 0) {
            if (c == '"')
                open = i;
        } else if (c == '\\') {
            ++i;
        } else if (c == '"') {
            open = -1;
        } else if (c < 0x20) {
            return i;
        }
    }
    return open;
}

// Every value walked by simdjson's On-Demand reader, which stops where it meets the
// fault; `at` is then the start of the value it could not take, when it is one.
error_code walk(simdjson::ondemand::value value, int depth, const char *&at)
{
    if (depth > 1024)
        return simdjson::DEPTH_ERROR;
    simdjson::ondemand::json_type type;
    if (const error_code error = value.type().get(type))
        return error;
    switch (type) {
    case simdjson::ondemand::json_type::array: {
        simdjson::ondemand::array array;
        if (const error_code error = value.get_array().get(array))
            return error;
        for (auto element : array) {
            simdjson::ondemand::value inner;
            if (const error_code error = element.get(inner))
                return error;
            if (const error_code error = walk(inner, depth + 1, at))
                return error;
        }
        return simdjson::SUCCESS;
    }
    case simdjson::ondemand::json_type::object: {
        simdjson::ondemand::object object;
        if (const error_code error = value.get_object().get(object))
            return error;
        for (auto field : object) {
            std::string_view key;
            if (const error_code error = field.unescaped_key().get(key))
                return error;
            simdjson::ondemand::value inner;
            if (const error_code error = field.value().get(inner))
                return error;
            if (const error_code error = walk(inner, depth + 1, at))
                return error;
        }
        return simdjson::SUCCESS;
    }
    default:
        break;
    }
    const std::string_view token = value.raw_json_token();
    at = token.data();
    switch (type) {
    case simdjson::ondemand::json_type::number: {
        // A whole number must fit 64 bits, as the DOM reader holds it.
        const char *end = token.data();
        while (end != token.data() + token.size() && (*end == '-' || (*end >= '0' && *end <= '9')))
            ++end;
        if (end == token.data() + token.size() || !strchr(".eE", *end)) {
            int64_t whole = 0;
            uint64_t positive = 0;
            if (std::from_chars(token.data(), end, whole).ec != std::errc()
                && std::from_chars(token.data(), end, positive).ec != std::errc())
                return simdjson::NUMBER_ERROR;
        }
        double number = 0;
        return value.get_double().get(number);
    }
    case simdjson::ondemand::json_type::string: {
        std::string_view text;
        return value.get_string().get(text);
    }
    case simdjson::ondemand::json_type::boolean: {
        bool flag = false;
        return value.get_bool().get(flag);
    }
    case simdjson::ondemand::json_type::null: {
        bool isNull = false;
        if (const error_code error = value.is_null().get(isNull))
            return error;
        return isNull ? simdjson::SUCCESS : simdjson::N_ATOM_ERROR;
    }
    default:
        return simdjson::SUCCESS;
    }
}

// The offset of what made simdjson refuse the text (from `from` on).
qsizetype faultOffset(const QByteArray &json, qsizetype from, error_code refusal)
{
    const char *text = json.constData() + from;
    const qsizetype size = json.size() - from;
    if (refusal == simdjson::UTF8_ERROR) {
        if (const qsizetype bad = firstBadUtf8(text, size); bad >= 0)
            return from + bad;
    }
    if (refusal == simdjson::UNESCAPED_CHARS || refusal == simdjson::UNCLOSED_STRING) {
        if (const qsizetype bad = badStringByte(text, size); bad >= 0)
            return from + bad;
    }
    qsizetype first = 0;
    while (first < size && strchr(" \t\r\n", text[first]) && text[first] != '\0')
        ++first;
    if (first == size || (text[first] != '{' && text[first] != '['))
        return from + first;
    const simdjson::padded_string padded(text, size_t(size));
    simdjson::ondemand::parser parser;
    simdjson::ondemand::document document;
    if (parser.iterate(padded).get(document))
        return from + size;
    simdjson::ondemand::value root;
    const char *where = nullptr;
    error_code error = document.get_value().get(root);
    if (!error)
        error = walk(root, 0, where);
    if ((!error || !where) && (document.current_location().get(where) || !where))
        return from + size;
    return from + std::clamp(qsizetype(where - padded.data()), qsizetype(0), size);
}

// What the text should have held where simdjson refused it.
QString expectation(error_code refusal)
{
    switch (refusal) {
    case simdjson::UTF8_ERROR:
        return QStringLiteral("a byte that begins no UTF-8 character; expected UTF-8 text");
    case simdjson::UNESCAPED_CHARS:
        return QStringLiteral("a control character in a string; expected it written as an escape (\\n, \\t, \\u0001)");
    case simdjson::UNCLOSED_STRING:
        return QStringLiteral("a string that is never closed; expected a closing quote");
    case simdjson::STRING_ERROR:
        return QStringLiteral(
            "expected a string with valid escapes (\\\" \\\\ \\/ \\b \\f \\n \\r \\t, or \\u and four "
            "hexadecimal digits, a surrogate only as a pair)");
    case simdjson::NUMBER_ERROR:
    case simdjson::NUMBER_OUT_OF_RANGE:
        return QStringLiteral("expected a number as JSON writes it (no leading zero, digits after a point, "
                              "within the range of a double)");
    case simdjson::T_ATOM_ERROR:
        return QStringLiteral("expected true");
    case simdjson::F_ATOM_ERROR:
        return QStringLiteral("expected false");
    case simdjson::N_ATOM_ERROR:
        return QStringLiteral("expected null");
    case simdjson::DEPTH_ERROR:
        return QStringLiteral("values nested deeper than 1024 levels");
    case simdjson::EMPTY:
        return QStringLiteral("expected an object, found no text");
    case simdjson::CAPACITY:
    case simdjson::MEMALLOC:
        return QStringLiteral("the text is too large to read");
    default:
        return QStringLiteral("expected a value, a comma, a colon or a closing bracket here (strict JSON)");
    }
}

void appendPath(QString &path, const JsonRef &member)
{
    if (!path.isEmpty())
        path += QLatin1Char('.');
    path += member.key();
}

// The path from `value` down to `target`, appended to `path`; false when it is not inside.
bool findPath(const JsonRef &value, const JsonRef &target, QString &path)
{
    if (value.sameAs(target))
        return true;
    if (!value.isArray() && !value.isObject())
        return false;
    const qsizetype length = path.size();
    bool found = false;
    size_t index = 0;
    const bool isArray = value.isArray();
    value.forEach([&](const JsonRef &inner) {
        if (found)
            return;
        if (isArray)
            path += QStringLiteral("[%1]").arg(index++);
        else
            appendPath(path, inner);
        found = findPath(inner, target, path);
        if (!found)
            path.truncate(length);
    });
    return found;
}

} // namespace

QString placeOf(const QByteArray &json, qsizetype offset)
{
    int line = 1;
    qsizetype lineStart = 0;
    for (qsizetype i = 0; i < offset && i < json.size(); ++i) {
        if (json.at(i) == '\n') {
            ++line;
            lineStart = i + 1;
        }
    }
    return QStringLiteral("line %1, column %2").arg(line).arg(offset - lineStart + 1);
}

namespace {

// The parser of the last text read on this thread, kept for the next: memory the system
// gives a process fresh costs a page fault per page, and a parser that allocates anew
// spends more time on those than on the text (a reload, the check of a saved text).
thread_local std::unique_ptr<simdjson::dom::parser> t_spareParser;

} // namespace

JsonText::~JsonText()
{
    if (!t_spareParser)
        t_spareParser = std::move(m_parser);
}

JsonText::JsonText(const QByteArray &json, const QString &sourceName)
    : m_json(json)
{
    if (const char *encoding = wideEncoding(json))
        throw LoadError(QStringLiteral("%1: the file is %2 text; a network database is read as UTF-8: save it as UTF-8")
                            .arg(sourceName, QLatin1String(encoding)));
    const qsizetype from = json.startsWith("\xEF\xBB\xBF") ? 3 : 0; // a byte-order mark
    const size_t length = size_t(json.size() - from);
    // simdjson reads a few bytes past the end: a text without that room is copied once.
    static_assert(JsonTextPadding >= qsizetype(simdjson::SIMDJSON_PADDING));
    const bool padded = json.capacity() - json.size() >= qsizetype(simdjson::SIMDJSON_PADDING);
    simdjson::dom::element root;
    m_parser = t_spareParser ? std::move(t_spareParser) : std::make_unique<simdjson::dom::parser>();
    const error_code refusal = m_parser->parse(json.constData() + from, length, !padded).get(root);
    if (refusal == simdjson::MEMALLOC)
        throw std::bad_alloc();
    if (refusal) {
        t_spareParser = std::move(m_parser);
        // A text never holds a zero byte (a string writes it \u0000): binary data. Strict
        // JSON has none either (not even in a string), so only a refused text is searched.
        if (const qsizetype zero = json.indexOf('\0'); zero >= 0)
            throw LoadError(QStringLiteral("%1: %2 (offset %3): a zero byte (NUL), which a text never "
                                           "holds; a network database is UTF-8 text, and a string writes it \\u0000")
                                .arg(sourceName, placeOf(json, zero))
                                .arg(zero));
        const qsizetype offset = faultOffset(json, from, refusal);
        throw LoadError(QStringLiteral("%1: %2 (offset %3): %4")
                            .arg(sourceName, placeOf(json, offset))
                            .arg(offset)
                            .arg(expectation(refusal)));
    }
    m_root = JsonRef(root);
    if (!m_root.isObject())
        throw LoadError(
            QStringLiteral("%1: (top level): expected an object, found %2").arg(sourceName, m_root.typeName()));
}

QString JsonRef::typeName() const
{
    if (!m_present)
        return QStringLiteral("nothing");
    switch (m_value.type()) {
    case simdjson::dom::element_type::NULL_VALUE:
        return QStringLiteral("null");
    case simdjson::dom::element_type::BOOL:
        return QStringLiteral("a Boolean");
    case simdjson::dom::element_type::INT64:
    case simdjson::dom::element_type::UINT64:
    case simdjson::dom::element_type::DOUBLE:
        return QStringLiteral("a number");
    case simdjson::dom::element_type::STRING:
        return QStringLiteral("a string");
    case simdjson::dom::element_type::ARRAY:
        return QStringLiteral("an array");
    case simdjson::dom::element_type::OBJECT:
        return QStringLiteral("an object");
    }
    return QStringLiteral("nothing");
}

JsonRef JsonRef::at(size_t index) const
{
    simdjson::dom::array array;
    Element element;
    if (m_present && !m_value.get(array) && !array.at(index).get(element))
        return JsonRef(element);
    JsonRef nothing;
    return nothing;
}

bool JsonRef::sameAs(const JsonRef &other) const
{
    // An element is its document and its place on the document's tape, and nothing else.
    static_assert(std::is_trivially_copyable_v<Element> && sizeof(Element) == sizeof(void *) + sizeof(size_t));
    return m_present && other.m_present && memcmp(&m_value, &other.m_value, sizeof(Element)) == 0;
}

QString JsonRef::pathFrom(const JsonRef &root) const
{
    QString path;
    if (m_present) {
        findPath(root, *this, path);
        return path;
    }
    if (m_hasParent) {
        JsonRef parent(m_value, m_key);
        findPath(root, parent, path);
    }
    if (!m_absentKey.empty()) {
        if (!path.isEmpty())
            path += QLatin1Char('.');
        path += QString::fromUtf8(m_absentKey.data(), qsizetype(m_absentKey.size()));
    }
    return path;
}

QJsonValue JsonRef::toQt() const
{
    if (!m_present)
        return QJsonValue(QJsonValue::Undefined);
    switch (m_value.type()) {
    case simdjson::dom::element_type::NULL_VALUE:
        return QJsonValue(QJsonValue::Null);
    case simdjson::dom::element_type::BOOL:
        return toBool();
    case simdjson::dom::element_type::INT64: {
        int64_t number = 0;
        return m_value.get(number) ? QJsonValue() : QJsonValue(qint64(number));
    }
    case simdjson::dom::element_type::UINT64:
        return QJsonValue(toDouble());
    case simdjson::dom::element_type::DOUBLE: {
        // Qt keeps a fraction or exponent that lands on a whole number of 64 bits as that
        // integer ("2.0", "1e3", "-0.0", and any double from 2^53 up to 2^63).
        const double number = toDouble();
        if (number >= -0x1p63 && number < 0x1p63 && number == std::trunc(number))
            return QJsonValue(qint64(number));
        return QJsonValue(number);
    }
    case simdjson::dom::element_type::STRING:
        return toString();
    case simdjson::dom::element_type::ARRAY: {
        QJsonArray array;
        forEach([&](const JsonRef &element) { array.append(element.toQt()); });
        return array;
    }
    case simdjson::dom::element_type::OBJECT: {
        // Qt's reader orders an object's keys by code point, QJsonObject::insert by UTF-16
        // unit: the two differ only for keys beyond U+FFFF, and for those the object
        // comes from the reader, as the saved text has always kept it.
        bool beyondTheFirstPlane = false;
        forEach([&](const JsonRef &member) {
            for (const char c : member.keyBytes())
                beyondTheFirstPlane = beyondTheFirstPlane || quint8(c) >= 0xF0;
        });
        if (beyondTheFirstPlane) {
            const std::string text = simdjson::to_string(m_value);
            return QJsonDocument::fromJson(QByteArray(text.data(), qsizetype(text.size()))).object();
        }
        QJsonObject object;
        forEach([&](const JsonRef &member) { object.insert(member.key(), member.toQt()); });
        return object;
    }
    }
    return QJsonValue();
}

void Reader::refuseRepeatedKeys(const JsonRef &object) const
{
    // Objects are small: a comparison of every pair is quicker than sorting them.
    std::string_view keys[16];
    size_t count = 0;
    bool repeated = false;
    std::vector<std::string_view> many;
    object.forEach([&](const JsonRef &member) {
        if (repeated)
            return;
        const std::string_view key = member.keyBytes();
        if (count < 16) {
            for (size_t i = 0; i < count && !repeated; ++i)
                repeated = keys[i] == key;
            keys[count++] = key;
            return;
        }
        if (many.empty())
            many.assign(keys, keys + count);
        many.push_back(key);
    });
    if (!repeated && !many.empty()) {
        std::sort(many.begin(), many.end());
        repeated = std::adjacent_find(many.begin(), many.end()) != many.end();
    }
    if (!repeated)
        return;
    const QString place = repeatedKeyPlace(m_document.text());
    throw LoadError(QStringLiteral("%1: %2").arg(m_source,
        place.isEmpty() ? QStringLiteral("%1: a key appears twice in one object; one of them would be lost")
                              .arg(object.pathFrom(m_document.root()))
                        : place));
}

QJsonValue Reader::keptAsRead(const JsonRef &value) const
{
    std::vector<JsonRef> objects { value };
    while (!objects.empty()) {
        const JsonRef next = objects.back();
        objects.pop_back();
        if (next.isObject())
            refuseRepeatedKeys(next);
        next.forEach([&](const JsonRef &inner) {
            if (inner.isObject() || inner.isArray())
                objects.push_back(inner);
        });
    }
    return value.toQt();
}

} // namespace Sim
