// SPDX-License-Identifier: MIT
// Fuzzes the reader of the SCPTnvType text (plain and labelled layouts). Any input either
// parses or fails with exactly one reason in ErrMsg; a failure leaves the results as they
// were, and a parsed program ID is whole bytes of two characters each.
#include "shared/Formats.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
    qint32 scope = -7;
    qint32 typeIndex = -7;
    QString programId = QStringLiteral("unchanged");
    QString errMsg;
    const bool ok = MKorvane::ParseNvTypeValue(text, scope, programId, typeIndex, errMsg);
    if (ok != errMsg.isEmpty())
        std::abort();
    if (!ok && (scope != -7 || typeIndex != -7 || programId != QLatin1String("unchanged")))
        std::abort();
    if (ok && programId.size() % 2 != 0)
        std::abort();
    // The plain layout always has eight bytes.
    if (ok && !text.startsWith(QLatin1String("PID")) && programId.size() != 16)
        std::abort();
    return 0;
}
