// SPDX-License-Identifier: MIT
// The database text as the reader walks it: every value in one array, strings left in
// the text until asked for, object members in the order Qt's JSON object keeps them
// (sorted keys), and each value able to say where it is ("devices[3].blocks[0].name")
// only when an error needs it. A database of thousands of devices is read without a
// Qt JSON tree and without a path string per value.
#pragma once

#include "vqzovezuvavevasim_export.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QJsonObject>
#include <QJsonValue>
#include <QString>
#include <QStringList>
#include <memory>
#include <vector>

namespace Sim {

class JsonDom;

enum class JsonKind : quint8 { Null, Bool, Number, String, Array, Object };

// One value of the document, or nothing (a member that is absent).
class VQ_SIM_AUTOTEST_EXPORT JsonRef
{
public:
    static constexpr quint32 Absent = 0xFFFFFFFFu; // no node: an absent member, the document's parent

    bool isUndefined() const { return m_node == Absent; }
    bool isNull() const { return is(JsonKind::Null); }
    bool isBool() const { return is(JsonKind::Bool); }
    bool isDouble() const { return is(JsonKind::Number); }
    bool isString() const { return is(JsonKind::String); }
    bool isArray() const { return is(JsonKind::Array); }
    bool isObject() const { return is(JsonKind::Object); }

    bool toBool() const;
    double toDouble() const;
    QString toString() const; // a null string for anything but a string, as Qt's
    // "a string", "a number", ...: what was found where something else was expected.
    QString typeName() const;

    // Arrays: the elements; objects: the members in key order.
    int size() const;
    JsonRef at(int index) const;
    // Objects: the member of that key, or an absent value that still knows its place.
    JsonRef value(const char *key) const;
    bool contains(const char *key) const { return !value(key).isUndefined(); }

    // A member's key; empty for anything else.
    QString key() const;
    bool keyIs(const char *key) const;

    // The UTF-8 bytes of a member's key or of a string as they stand in the text, for
    // sharing one QString among equal texts; empty (null) when there are none to share
    // (escapes in a string, a document Qt read).
    QByteArrayView keyBytes() const;
    QByteArrayView stringBytes() const;

    // Where the value is, for a message: "" for the whole document, "devices[3].name";
    // an absent member gives its parent's path and its key.
    QString path() const;

    // The value as Qt's JSON, for the sections the model keeps as they were read.
    QJsonValue toQt() const;

private:
    friend class JsonDom;
    bool is(JsonKind kind) const; // false when absent
    JsonRef(const JsonDom *dom, quint32 node, quint32 parent = Absent, const char *absentKey = nullptr)
        : m_dom(dom)
        , m_node(node)
        , m_parent(parent)
        , m_absentKey(absentKey)
    {
    }
    const JsonDom *m_dom = nullptr;
    quint32 m_node = Absent;
    quint32 m_parent = Absent; // only for an absent member
    const char *m_absentKey = nullptr;
};

class VQ_SIM_AUTOTEST_EXPORT JsonDom
{
public:
    // The document of a text whose top level is an object, read directly when the text is
    // plain JSON: UTF-8 without a byte-order mark, keys without escapes, no control
    // characters, no surrogate escapes or noncharacters, numbers as JSON writes them, no
    // repeated key. Anything else gives nullptr, and the caller lets Qt's parser decide
    // (its error messages, its leniencies) and hands its result to fromQt. A text
    // accepted here reads exactly as Qt would read it.
    static std::unique_ptr<JsonDom> parse(const QByteArray &json);
    static std::unique_ptr<JsonDom> fromQt(const QJsonObject &root);

    JsonRef root() const { return JsonRef(this, 0); }
    // How many values the document holds, containers and members included.
    size_t valueCount() const { return m_nodes.size(); }

    using Kind = JsonKind;
    enum Flag : quint8 {
        Escaped = 1, // a string with escapes
        NonAscii = 2, // a string to read as UTF-8
        Integer = 4, // a whole number Qt keeps as a 64-bit integer
        KeyDecoded = 8, // a member whose key had escapes: key and keyLength are in the decoded keys
        FromQt = 16, // a string (first) and a member's key (key) are Qt's own, in qtStrings
    };

    struct Node
    {
        quint32 parent = JsonRef::Absent;
        quint32 key = 0; // a member's key: offset and length of its UTF-8 bytes in the buffer
        quint32 keyLength = 0;
        union {
            struct
            {
                quint32 first; // a string's bytes in the buffer; a container's entries in children
                quint32 count;
            } span;
            double number; // a number that is not Integer; a Boolean as 0 or 1
            qint64 integer; // an Integer
        } value {};
        Kind kind = Kind::Null;
        bool member = false;
        quint8 flags = 0;
    };

private:
    friend class JsonRef;
    friend class JsonTextParser;
    friend class JsonQtImport;
    const Node &node(quint32 index) const { return m_nodes[index]; }
    const char *keyBytes(const Node &node) const
    {
        return (node.flags & KeyDecoded ? m_decodedKeys.constData() : m_buffer.constData()) + node.key;
    }
    QString decodedString(const Node &node) const;
    // The UTF-8 bytes of a string's text between its quotes, escapes resolved.
    static void appendUnescaped(QByteArray &to, const char *text, quint32 length);

    QByteArray m_buffer; // the text, or the integers' digits of Qt's document
    // Strings and keys of Qt's document as Qt read them: a lone surrogate has no UTF-8 form.
    QStringList m_qtStrings;
    std::vector<Node> m_nodes;
    std::vector<quint32> m_children;
    QByteArray m_decodedKeys;
};

} // namespace Sim
