// SPDX-License-Identifier: MIT
// Fuzz target for the host's script parser: any bytes read as a script must give lines
// with a command or a reason, never a crash; a command's text, split again, gives back
// the same words. The file's decoding takes a text or gives a reason.
#include "ScriptParser.h"

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    // The file's text: taken only as UTF-8 without NUL or a lone CR, else refused with a reason.
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    QString decoded;
    QString why;
    if (Host::decodeScript(bytes, decoded, &why)) {
        if (!why.isEmpty() || bytes.contains('\0')
            || decoded.contains(QChar(QChar::ReplacementCharacter)) != bytes.contains("\xEF\xBF\xBD"))
            std::abort();
        for (qsizetype cr = bytes.indexOf('\r'); cr >= 0; cr = bytes.indexOf('\r', cr + 1)) {
            if (cr + 1 == bytes.size() || bytes.at(cr + 1) != '\n')
                std::abort();
        }
    } else if (why.isEmpty()) {
        std::abort();
    }
    const QString script = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
    for (const Host::ScriptLine &line : Host::parseScript(script)) {
        if (!line.error.isEmpty())
            continue;
        if (line.command.isEmpty())
            std::abort();
        QStringList words;
        if (!Host::splitWords(line.text, words, nullptr) || words.isEmpty() || words.first().toLower() != line.command
            || words.mid(1) != line.arguments)
            std::abort();
    }
    return 0;
}
