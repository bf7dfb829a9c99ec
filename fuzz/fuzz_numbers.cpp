// SPDX-License-Identifier: MIT
// Fuzzes the number helpers in the C and in a German locale (decimal comma, dot for
// grouping). The first byte picks the locale; the rest is the text. A numeric text has a
// finite value and stays numeric with blanks around it; any other text is worth 0 and is
// refused by TextToLong. NumberText gives the shortest text without grouping that reads
// back to the same double, for the text's value and for the input's bytes as a double.
// The leading-number reader never gives a value that is not finite, and reads back every
// C-locale NumberText.
#include "device/Failure.h"
#include "shared/Numbers.h"

#include <QLocale>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace {

void check(bool condition)
{
    if (!condition)
        std::abort();
}

void checkRoundTrip(double value)
{
    if (!std::isfinite(value))
        return;
    const QString text = MKorvane::NumberText(value);
    check(MKorvane::IsNumeric(text));
    check(MKorvane::Val(text) == value);
    check(!text.contains(QLocale().groupSeparator()));
    if (QLocale().decimalPoint() == QLatin1String("."))
        check(MKorvane::LeadingNumber(text) == value);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size == 0)
        return 0;
    static const QLocale locales[] = { QLocale::c(), QLocale(QLocale::German, QLocale::Germany) };
    QLocale::setDefault(locales[data[0] % 2]);
    ++data;
    --size;

    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
    const bool numeric = MKorvane::IsNumeric(text);
    const double value = MKorvane::Val(text);
    check(std::isfinite(value));
    check(numeric || value == 0);
    check(MKorvane::IsNumeric(QStringLiteral(" \t") + text + QStringLiteral(" ")) == numeric);
    if (numeric) {
        check(MKorvane::Val(QLatin1Char(' ') + text + QLatin1Char('\t')) == value);
        checkRoundTrip(value);
    }

    try {
        const qint32 rounded = MKorvane::TextToLong(text);
        check(numeric && rounded == std::nearbyint(value));
    } catch (const DeviceAccess::RuntimeError &error) {
        check(numeric ? error.number() == MKorvane::OverflowErrorNumber
                      : error.number() == DeviceAccess::RuntimeError::TypeMismatch);
    }

    check(std::isfinite(MKorvane::LeadingNumber(text)));

    if (size >= sizeof(double)) {
        double raw = 0;
        std::memcpy(&raw, data, sizeof raw);
        checkRoundTrip(raw);
    }
    return 0;
}
