// SPDX-License-Identifier: MIT
// Fuzz target for the host's script parser: any bytes read as a script must give lines
// with a command or a reason, never a crash; a command's text, split again, gives back
// the same words.
#include "ScriptParser.h"

#include <QString>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
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
