// SPDX-License-Identifier: MIT
// Repeated keys: the reader refuses an object whose key repeats as it reads it; this pass
// over the text, made only then, names the lines of both.
#include "device/sim/SimJsonReader.h"

#include <algorithm>
#include <deque>
#include <vector>

namespace Sim {
namespace {

struct Key
{
    QByteArrayView text; // the key as UTF-8, escapes resolved
    qsizetype offset = 0;
    int line = 0;
    int column = 0;
};

// A key with escapes in its UTF-8 form; keys without escapes are compared as they stand.
QByteArray unescaped(QByteArrayView quoted)
{
    simdjson::dom::parser parser;
    std::string_view text;
    if (parser.parse(simdjson::padded_string(quoted.data(), size_t(quoted.size()))).get(text))
        return quoted.toByteArray();
    return QByteArray(text.data(), qsizetype(text.size()));
}

class KeyScanner
{
public:
    explicit KeyScanner(const QByteArray &json)
        : m_json(json)
    {
    }

    // The place of the first repeated key, or an empty text.
    QString scan()
    {
        const char *text = m_json.constData();
        const qsizetype size = m_json.size();
        for (qsizetype i = 0; i < size; ++i) {
            switch (text[i]) {
            case '\n':
                ++m_line;
                m_lineStart = i + 1;
                break;
            case '{':
                m_objects.push_back(m_keys.size());
                m_inObject.push_back(true);
                m_expectKey = true;
                break;
            case '[':
                m_inObject.push_back(false);
                m_expectKey = false;
                break;
            case '}':
                if (!m_objects.empty()) {
                    if (QString place = closeObject(); !place.isEmpty())
                        return place;
                }
                if (!m_inObject.empty())
                    m_inObject.pop_back();
                break;
            case ']':
                if (!m_inObject.empty())
                    m_inObject.pop_back();
                break;
            case ',':
                m_expectKey = !m_inObject.empty() && m_inObject.back();
                break;
            case '"':
                i = string(i);
                break;
            default:
                break;
            }
        }
        return QString();
    }

private:
    // The string that opens at `start`; returns the offset of its closing quote.
    qsizetype string(qsizetype start)
    {
        qsizetype end = start + 1;
        bool escaped = false;
        while (end < m_json.size() && m_json.at(end) != '"') {
            escaped = escaped || m_json.at(end) == '\\';
            end += m_json.at(end) == '\\' ? 2 : 1;
        }
        if (m_expectKey) {
            m_expectKey = false;
            QByteArrayView text(m_json.constData() + start + 1, end - start - 1);
            if (escaped) {
                m_unescaped.push_back(unescaped(QByteArrayView(m_json.constData() + start, end - start + 1)));
                text = m_unescaped.back();
            }
            m_keys.push_back(Key { text, start, m_line, int(start - m_lineStart + 1) });
        }
        return end;
    }

    QString closeObject()
    {
        const size_t first = m_objects.back();
        m_objects.pop_back();
        if (m_keys.size() - first > 1) {
            std::vector<const Key *> sorted;
            sorted.reserve(m_keys.size() - first);
            for (size_t k = first; k < m_keys.size(); ++k)
                sorted.push_back(&m_keys[k]);
            std::sort(sorted.begin(), sorted.end(), [](const Key *a, const Key *b) {
                return a->text != b->text ? a->text < b->text : a->offset < b->offset;
            });
            const Key *second = nullptr;
            const Key *firstOfIt = nullptr;
            for (size_t k = 1; k < sorted.size(); ++k) {
                if (sorted[k]->text == sorted[k - 1]->text && (!second || sorted[k]->offset < second->offset)) {
                    second = sorted[k];
                    firstOfIt = sorted[k - 1];
                }
            }
            if (second)
                return QStringLiteral("line %1, column %2: the key \"%3\" appears twice in one object "
                                      "(first on line %4); one of them would be lost")
                    .arg(second->line)
                    .arg(second->column)
                    .arg(QString::fromUtf8(second->text))
                    .arg(firstOfIt->line);
        }
        m_keys.resize(first);
        return QString();
    }

    const QByteArray &m_json;
    std::vector<Key> m_keys; // the keys of every object still open, innermost last
    std::vector<size_t> m_objects; // where each open object's keys start
    std::vector<bool> m_inObject; // per open container: an object (or an array)
    std::deque<QByteArray> m_unescaped; // storage of the keys that had escapes
    bool m_expectKey = false;
    int m_line = 1;
    qsizetype m_lineStart = 0;
};

} // namespace

QString repeatedKeyPlace(const QByteArray &json)
{
    return KeyScanner(json).scan();
}

} // namespace Sim
