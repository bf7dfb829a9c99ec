// SPDX-License-Identifier: MIT
// Duplicate keys: the JSON reader keeps the last of two equal keys silently, and the next
// save would make the loss permanent. One pass over the text finds them first.
#include "device/sim/SimJsonReader.h"

#include <QJsonArray>
#include <QJsonDocument>
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
    const QJsonArray one = QJsonDocument::fromJson("[" + quoted.toByteArray() + "]").array();
    return one.at(0).toString().toUtf8();
}

class KeyScanner
{
public:
    KeyScanner(const QByteArray &json, const QString &source)
        : m_json(json)
        , m_source(source)
    {
    }

    void scan()
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
                if (!m_objects.empty())
                    closeObject();
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

    void closeObject()
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
                throw LoadError(QStringLiteral("%1: line %2, column %3: the key \"%4\" appears twice in one object "
                                               "(first on line %5); one of them would be lost")
                                    .arg(m_source)
                                    .arg(second->line)
                                    .arg(second->column)
                                    .arg(QString::fromUtf8(second->text))
                                    .arg(firstOfIt->line));
        }
        m_keys.resize(first);
    }

    const QByteArray &m_json;
    const QString &m_source;
    std::vector<Key> m_keys; // the keys of every object still open, innermost last
    std::vector<size_t> m_objects; // where each open object's keys start
    std::vector<bool> m_inObject; // per open container: an object (or an array)
    std::deque<QByteArray> m_unescaped; // storage of the keys that had escapes
    bool m_expectKey = false;
    int m_line = 1;
    qsizetype m_lineStart = 0;
};

} // namespace

void refuseDuplicateKeys(const QByteArray &json, const QString &source)
{
    KeyScanner(json, source).scan();
}

} // namespace Sim
