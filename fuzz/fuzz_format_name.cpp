// SPDX-License-Identifier: MIT
// Fuzzes the splitting of format names, the stripping of their absolute prefix and their
// rewriting for the measurement system. The three parts always give the name back and the
// stripped name is the name without its prefix; the rewritten name keeps the prefix and
// base name, rewriting it again changes nothing, and only a US format gets a separate
// difference format.
#include "shared/CpAccess.h"
#include "shared/Units.h"

#include <cstdint>
#include <cstdlib>

namespace {

void check(bool condition)
{
    if (!condition)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString name = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));

    QString prefix, base, suffix;
    check(MKorvane::SplitFormatName(name, prefix, base, suffix));
    check(prefix + base + suffix == name);
    check(prefix.isEmpty() || (prefix.endsWith(QLatin1Char('.')) && prefix.count(QLatin1Char('.')) == 1));
    check(!base.contains(QLatin1Char('#')));
    check(suffix.isEmpty() || suffix.startsWith(QLatin1Char('#')));
    check(MKorvane::StripFormatPrefix(name) == base + suffix);

    for (qint16 system : { qint16(0), qint16(1) }) {
        QString diff, longFormat, errMsg;
        check(MKorvane::AdjustFormatForUnits(name, system, diff, longFormat, errMsg));
        check(errMsg.isEmpty());
        check(longFormat.startsWith(prefix + base));
        check(diff == longFormat || (system == 1 && diff == longFormat + QStringLiteral("_diff")));

        QString diffAgain, longAgain;
        check(MKorvane::AdjustFormatForUnits(longFormat, system, diffAgain, longAgain, errMsg));
        check(longAgain == longFormat && diffAgain == diff);
    }
    return 0;
}
