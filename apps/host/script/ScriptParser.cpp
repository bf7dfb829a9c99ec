// SPDX-License-Identifier: MIT
// Reading the lines of a script into commands.
#include "ScriptParser.h"

#include <QStringDecoder>

namespace Host {

namespace {

struct Shape
{
    const char *name;
    int minArguments;
    int maxArguments; // -1: any number
    const char *usage;
};

// clang-format off
const Shape shapes[] = {
    { "open",      0, 1,  "open [FILE]" },
    { "reload",    0, 0,  "reload" },
    { "device",    1, 1,  "device DEVICE" },
    { "input",     1, 2,  "input [DEVICE] INPUT" },
    { "inputtype", 1, 1,  "inputtype TYPE" },
    { "set",       2, 2,  "set FIELD TEXT" },
    { "choose",    2, 2,  "choose COMBO ITEM" },
    { "tick",      2, 2,  "tick CHECKBOX on|off" },
    { "click",     1, 1,  "click BUTTON" },
    { "units",     1, 1,  "units SI|US" },
    { "language",  1, 1,  "language CODE" },
    { "answer",    1, 1,  "answer write|discard|stay" },
    { "preview",   0, 0,  "preview" },
    { "ok",        0, 0,  "ok" },
    { "cancel",    0, 0,  "cancel" },
    { "copy",      1, -1, "copy TARGET..." },
    { "expect",    2, 2,  "expect FIELD TEXT" },
    { "save",      0, 1,  "save [FILE]" },
};
// clang-format on

const Shape *shapeOf(const QString &command)
{
    for (const Shape &shape : shapes) {
        if (command == QLatin1String(shape.name))
            return &shape;
    }
    return nullptr;
}

QString checkShape(const ScriptLine &line)
{
    const Shape *shape = shapeOf(line.command);
    if (!shape)
        return QStringLiteral("unknown command \"%1\"; the commands are: %2")
            .arg(line.command, scriptCommandUsage().join(QStringLiteral(", ")));
    const int count = line.arguments.size();
    if (count < shape->minArguments || (shape->maxArguments >= 0 && count > shape->maxArguments))
        return QStringLiteral("usage: %1; %2 given (quote a text with blanks)")
            .arg(QLatin1String(shape->usage))
            .arg(count == 1 ? QStringLiteral("1 word") : QStringLiteral("%1 words").arg(count));
    return QString();
}

} // namespace

bool splitWords(const QString &line, QStringList &words, QString *error, int *end)
{
    words.clear();
    int i = 0;
    if (end)
        *end = 0;
    const int n = line.size();
    while (i < n) {
        if (line.at(i).isSpace()) {
            ++i;
            continue;
        }
        if (line.at(i) == QLatin1Char('#'))
            break; // a comment to the end of the line
        QString word;
        if (line.at(i) == QLatin1Char('"')) {
            const int start = i++;
            bool closed = false;
            while (i < n && !closed) {
                const QChar c = line.at(i++);
                if (c == QLatin1Char('\\') && i < n
                    && (line.at(i) == QLatin1Char('"') || line.at(i) == QLatin1Char('\\')))
                    word += line.at(i++);
                else if (c == QLatin1Char('"'))
                    closed = true;
                else
                    word += c;
            }
            if (!closed) {
                if (error)
                    *error = QStringLiteral("the quote opened at column %1 is not closed").arg(start + 1);
                return false;
            }
            if (i < n && !line.at(i).isSpace()) {
                if (error)
                    *error = QStringLiteral("a blank must follow the closing quote at column %1").arg(i);
                return false;
            }
        } else {
            while (i < n && !line.at(i).isSpace()) {
                if (line.at(i) == QLatin1Char('"')) {
                    if (error)
                        *error = QStringLiteral("a quote inside a word at column %1; quote the whole word").arg(i + 1);
                    return false;
                }
                word += line.at(i++);
            }
        }
        words << word;
        if (end)
            *end = i;
    }
    return true;
}

namespace {

// Line (1-based, counted by LF) and column (1-based, in bytes) of a byte of the script.
QString placeOf(const QByteArray &bytes, qsizetype at)
{
    const qsizetype lineStart = bytes.lastIndexOf('\n', at - 1) + 1;
    return QStringLiteral("line %1, column %2").arg(bytes.left(lineStart).count('\n') + 1).arg(at - lineStart + 1);
}

// Where the first byte lies that does not start a well-formed UTF-8 sequence.
qsizetype firstNonUtf8(const QByteArray &bytes)
{
    for (qsizetype i = 0; i < bytes.size();) {
        const uchar lead = uchar(bytes.at(i));
        const int length = lead < 0x80 ? 1 : (lead >> 5) == 6 ? 2 : (lead >> 4) == 14 ? 3 : (lead >> 3) == 30 ? 4 : 0;
        if (length == 0 || i + length > bytes.size())
            return i;
        const QByteArrayView sequence = QByteArrayView(bytes).sliced(i, length);
        // Overlong forms and surrogates decode to the replacement character.
        if (length > 1
            && (QString::fromUtf8(sequence).contains(QChar(QChar::ReplacementCharacter))
                && sequence != QByteArrayView("\xEF\xBF\xBD")))
            return i;
        for (int k = 1; k < length; ++k) {
            if ((uchar(sequence.at(k)) & 0xC0) != 0x80)
                return i;
        }
        i += length;
    }
    return bytes.size();
}

} // namespace

bool decodeScript(const QByteArray &bytes, QString &text, QString *error)
{
    auto fail = [error](const QString &why) {
        if (error)
            *error = why;
        return false;
    };
    if (bytes.startsWith(QByteArrayView("\xFF\xFE\0\0", 4)) || bytes.startsWith(QByteArrayView("\0\0\xFE\xFF", 4)))
        return fail(QStringLiteral("the script is UTF-32 text; a script is read as UTF-8: save it as UTF-8"));
    // A byte-order mark, or ASCII text with a NUL beside every character.
    const bool utf16 = bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF")
        || (bytes.size() >= 2 && (bytes.at(0) == '\0') != (bytes.at(1) == '\0'));
    if (utf16)
        return fail(QStringLiteral("the script is UTF-16 text; a script is read as UTF-8: save it as UTF-8"));
    if (const qsizetype nul = bytes.indexOf('\0'); nul >= 0)
        return fail(QStringLiteral("a NUL byte at %1: the script is not a text file").arg(placeOf(bytes, nul)));
    QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    text = utf8.decode(bytes);
    if (utf8.hasError()) {
        const qsizetype at = firstNonUtf8(bytes);
        return fail(QStringLiteral("the byte 0x%1 at %2 is not UTF-8; a script is read as UTF-8: save it as UTF-8")
                        .arg(at < bytes.size() ? uchar(bytes.at(at)) : 0, 2, 16, QLatin1Char('0'))
                        .arg(placeOf(bytes, at)));
    }
    for (qsizetype cr = bytes.indexOf('\r'); cr >= 0; cr = bytes.indexOf('\r', cr + 1)) {
        if (cr + 1 < bytes.size() && bytes.at(cr + 1) == '\n')
            continue;
        const QString found = bytes.contains('\n')
            ? QStringLiteral("a carriage return (CR) alone at %1").arg(placeOf(bytes, cr))
            : QStringLiteral("the lines end in a carriage return (CR) alone, as on a classic Mac");
        return fail(found + QStringLiteral("; a script's lines end in LF or CR LF"));
    }
    return true;
}

QList<ScriptLine> parseScript(const QString &script)
{
    QList<ScriptLine> lines;
    const QStringList texts = script.split(QLatin1Char('\n'));
    for (int i = 0; i < texts.size(); ++i) {
        QString text = texts.at(i);
        if (text.endsWith(QLatin1Char('\r')))
            text.chop(1);
        if (i == 0 && text.startsWith(QChar(0xFEFF)))
            text.remove(0, 1);
        ScriptLine line;
        line.number = i + 1;
        QStringList words;
        int end = 0;
        if (!splitWords(text, words, &line.error, &end)) {
            line.text = text.trimmed();
            lines << line;
            continue;
        }
        if (words.isEmpty())
            continue;
        line.command = words.takeFirst().toLower();
        line.arguments = words;
        line.text = text.left(end).trimmed(); // as written, without the comment
        line.error = checkShape(line);
        lines << line;
    }
    return lines;
}

QStringList scriptCommandUsage()
{
    QStringList usage;
    for (const Shape &shape : shapes)
        usage << QLatin1String(shape.usage);
    return usage;
}

} // namespace Host
