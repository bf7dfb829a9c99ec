// SPDX-License-Identifier: MIT
// JSON text written straight into one buffer, in exactly the layout of Qt's indented
// writer (QJsonDocument::toJson): a saved database is the same text a QJsonObject tree
// gave, without building the tree (and freeing its million small pieces afterwards).
#pragma once

#include "vqzovezuvavevasim_export.h"

#include <QByteArray>
#include <QJsonValue>
#include <QStringView>
#include <vector>

namespace Sim {

// The order in which a QJsonObject built with insert() keeps (and Qt writes) its keys: by
// UTF-16 code unit, so "\U0001F600" (a surrogate pair) comes before "\uE000". (Qt's reader
// orders the keys it reads by code point, the other way round; value() writes an object in
// whatever order it holds.) The caller of key() writes the keys of an object in this order.
inline bool jsonKeyLess(QStringView a, QStringView b)
{
    return a.compare(b, Qt::CaseSensitive) < 0;
}

class VQ_SIM_AUTOTEST_EXPORT JsonTextWriter
{
public:
    // Objects and arrays open with "{\n" / "[\n", members are indented four blanks per
    // level as `"key": value` and separated by ",\n"; an empty one is "{\n" + the
    // indentation of its closing "}". The top-level value ends with "\n".
    void beginObject();
    void endObject();
    void beginArray();
    void endArray();

    // The key of the next member of the open object; its value follows.
    void key(QLatin1String asciiKey);
    void key(QStringView key);

    // Scalars, each as the next element of an open array or the value after key().
    void string(QStringView text);
    // A number as QJsonValue(double) writes it: an integral value up to 2^53 as an
    // integer, any other in the shortest text that reads back to it; not finite: null.
    void number(double value);
    void integer(qint64 value);
    void boolean(bool value);
    void null();
    // Any QJsonValue (a section kept as it was read): objects in their own key order,
    // numbers held as integers and as doubles each as Qt writes them. Undefined writes
    // nothing and belongs to no member: the caller leaves such a member out.
    void value(const QJsonValue &value);

    // Room for about that many more bytes, so that a large text grows once.
    void reserve(qsizetype moreBytes);
    qsizetype size() const { return m_used; }
    // The text written so far, followed by the newline Qt ends a document with.
    QByteArray take();

private:
    struct Open
    {
        bool array = false;
        bool empty = true;
    };

    void beginValue();
    void separateMember();
    void indent(int depth);
    void shortestDouble(double value);
    char *room(qsizetype bytes);
    void append(const char *text, qsizetype length);
    template<qsizetype N> void append(const char (&text)[N]) { append(text, N - 1); }

    QByteArray m_text; // sized to its capacity; the first m_used bytes are written
    qsizetype m_used = 0;
    std::vector<Open> m_open;
    bool m_afterKey = false;
};

} // namespace Sim
