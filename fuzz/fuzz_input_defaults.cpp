// SPDX-License-Identifier: MIT
// Fuzzes the profile-section reader and the value cleaning of the defaults file. A file
// either reads or is refused with a reason; a section never exceeds its buffer, ends with
// two NULs, and no delivered line starts with a blank; a cleaned value is never longer
// than the raw one.
#include "defaults/DefaultValueText.h"
#include "defaults/ProfileSection.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const ProfileFile file = ProfileFile::fromData(bytes);
    if ((file.status() == ProfileFile::Status::Ok) != file.errorString().isEmpty())
        std::abort();
    // The section to read is named by the first line, so that the fuzzer can aim at one.
    const QString name = ProfileFile::decode(bytes.left(bytes.indexOf('\n')));
    for (const qint32 bufferSize : { 2, 3, 40, 500 }) {
        QString block;
        const qint32 copied = file.readSection(name, block, bufferSize);
        // A section that fits exactly (its lines and the final NUL fill the buffer) gives
        // bufferSize - 1, as the platform's reader does; a cut one gives bufferSize - 2.
        if (copied < 0 || copied > bufferSize - 1 || block.size() > bufferSize)
            std::abort();
        if (copied > 0 && !block.endsWith(QString(2, QChar(0))))
            std::abort();
        for (const QString &line : block.split(QChar(0), Qt::SkipEmptyParts)) {
            if (line.front().isSpace())
                std::abort();
            const QString raw = line.section(QLatin1Char('='), 1);
            if (DefaultValueText::ParseValue(raw).size() > raw.size())
                std::abort();
        }
    }
    const QString text = ProfileFile::decode(bytes);
    DefaultValueText::IsNumberText(text);
    if (DefaultValueText::StripUnit(text).size() > text.size())
        std::abort();
    return 0;
}
