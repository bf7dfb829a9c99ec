// SPDX-License-Identifier: MIT
// Number parsing and formatting shared by every part of the library.
#include "shared/Numbers.h"

#include "device/Failure.h"

#include <QLocale>
#include <cmath>
#include <limits>

namespace MKorvane {
namespace {

// The user's locale without digit grouping: a value text goes to the device as typed.
QLocale userLocale()
{
    QLocale locale;
    locale.setNumberOptions(locale.numberOptions() | QLocale::OmitGroupSeparator);
    return locale;
}

// Parses the whole text (blanks around it allowed) in that locale without digit grouping.
bool parseUngrouped(QLocale locale, const QString &text, double &value)
{
    locale.setNumberOptions(locale.numberOptions() | QLocale::RejectGroupSeparator);
    bool ok = false;
    const double parsed = locale.toDouble(text, &ok);
    if (!ok || !std::isfinite(parsed))
        return false;
    value = parsed;
    return true;
}

// Plain decimals wherever a reader expects them ("100000", "0.0001"): hosts show this text
// and the device parses it. Only magnitudes that would need long runs of zeros take the
// exponent form.
QString shortestText(const QLocale &locale, double value)
{
    const double magnitude = std::abs(value);
    const bool plain = magnitude == 0 || (magnitude >= 1e-4 && magnitude < 1e15);
    return locale.toString(value, plain ? 'f' : 'g', QLocale::FloatingPointShortest);
}

bool parseNumber(const QString &text, double &value)
{
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return false;
    bool ok = false;
    double parsed = QLocale().toDouble(trimmed, &ok);
    if (!ok)
        parsed = QLocale::c().toDouble(trimmed, &ok);
    if (!ok || !std::isfinite(parsed))
        return false;
    value = parsed;
    return true;
}

[[noreturn]] void throwOverflow()
{
    throw DeviceAccess::RuntimeError(OverflowErrorNumber, QStringLiteral("Overflow"));
}

} // namespace

bool IsNumeric(const QString &text)
{
    double value = 0;
    return parseNumber(text, value);
}

double Val(const QString &text)
{
    double value = 0;
    return parseNumber(text, value) ? value : 0.0;
}

double LeadingNumber(const QString &text)
{
    qsizetype i = 0;
    const qsizetype n = text.size();
    while (i < n && (text.at(i) == QLatin1Char(' ') || text.at(i) == QLatin1Char('\t')))
        ++i;
    const qsizetype start = i;
    auto isDigit
        = [&](qsizetype at) { return at < n && text.at(at) >= QLatin1Char('0') && text.at(at) <= QLatin1Char('9'); };
    if (i < n && (text.at(i) == QLatin1Char('+') || text.at(i) == QLatin1Char('-')))
        ++i;
    qsizetype digits = 0;
    while (isDigit(i)) {
        ++i;
        ++digits;
    }
    if (i < n && text.at(i) == QLatin1Char('.')) {
        ++i;
        while (isDigit(i)) {
            ++i;
            ++digits;
        }
    }
    if (digits == 0)
        return 0.0;
    qsizetype end = i;
    // An exponent counts only when digits follow it.
    if (i < n && (text.at(i) == QLatin1Char('e') || text.at(i) == QLatin1Char('E'))) {
        qsizetype j = i + 1;
        if (j < n && (text.at(j) == QLatin1Char('+') || text.at(j) == QLatin1Char('-')))
            ++j;
        if (isDigit(j)) {
            while (isDigit(j))
                ++j;
            end = j;
        }
    }
    QString number = text.mid(start, end - start);
    if (number.endsWith(QLatin1Char('.')))
        number.chop(1);
    bool ok = false;
    const double value = QLocale::c().toDouble(number, &ok);
    return ok && std::isfinite(value) ? value : 0.0;
}

QString NumberText(double value)
{
    return shortestText(userLocale(), value);
}

QString DeviceNumberText(double value)
{
    QLocale c = QLocale::c();
    c.setNumberOptions(QLocale::OmitGroupSeparator);
    return shortestText(c, value);
}

QString DeviceValueText(const QString &text)
{
    double value = 0;
    if (ParseDeviceNumber(text, value) || !parseUngrouped(QLocale(), text, value))
        return text;
    return DeviceNumberText(value);
}

bool ParseDeviceNumber(const QString &text, double &value)
{
    return parseUngrouped(QLocale::c(), text, value);
}

// A converted value is shown with the fewest significant digits, at most 15, that convert
// back to exactly the stored value: a US offset stored as 1.05555555556 K shows as 1.9, not
// as the 1.90000000001 that the conversion gives, and 1.9 typed back stores the same value.
// When no such text exists (the conversion does not reproduce the stored value at all), the
// value is shown rounded to 15 significant digits, which hides only the noise of binary
// arithmetic. Fifteen digits are what a double holds exactly in decimal.
QString ShortestExactText(double shown, double stored, const std::function<double(double)> &toStored)
{
    if (!std::isfinite(shown))
        return NumberText(shown);
    const auto rounded = [shown](int digits) { return QString::number(shown, 'g', digits).toDouble(); };
    for (int digits = 1; digits <= 15; ++digits) {
        const double candidate = rounded(digits);
        if (toStored(candidate) == stored)
            return NumberText(candidate);
    }
    return NumberText(rounded(15));
}

QString OneDecimalText(double value)
{
    return userLocale().toString(value, 'f', 1);
}

qint16 RoundToInteger(double value)
{
    const double rounded = std::nearbyint(value);
    if (!std::isfinite(rounded) || rounded < std::numeric_limits<qint16>::min()
        || rounded > std::numeric_limits<qint16>::max())
        throwOverflow();
    return qint16(rounded);
}

qint32 RoundToLong(double value)
{
    const double rounded = std::nearbyint(value);
    if (!std::isfinite(rounded) || rounded < std::numeric_limits<qint32>::min()
        || rounded > std::numeric_limits<qint32>::max())
        throwOverflow();
    return qint32(rounded);
}

qint32 TextToLong(const QString &text)
{
    double value = 0;
    if (!parseNumber(text, value))
        throw DeviceAccess::RuntimeError(DeviceAccess::RuntimeError::TypeMismatch, QStringLiteral("Type mismatch"));
    return RoundToLong(value);
}

} // namespace MKorvane
