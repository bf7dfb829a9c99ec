// SPDX-License-Identifier: MIT
/// @file
/// The one pair of number-parsing helpers used everywhere: numeric tests and values of
/// texts typed by the user or handed over by the device, and the text form of numbers.
#pragma once

#include "vqzovezuvaveva_export.h"

#include <QString>
#include <functional>

namespace MKorvane {

/// The run-time error number of a value that does not fit its integer type.
constexpr qint32 OverflowErrorNumber = 6;

/// True when the text, trimmed of blanks, is a number in the user's locale or in the
/// C locale. An empty text is not numeric.
VQ_EXPORT bool IsNumeric(const QString &text);

/// The value of a numeric text (IsNumeric); 0 for a text that is not numeric.
VQ_EXPORT double Val(const QString &text);

/// The number at the start of a text: blanks skipped, reading stops at the first
/// character that cannot continue a decimal number; 0 when the text starts with none.
VQ_EXPORT double LeadingNumber(const QString &text);

/// The shortest text in the user's locale that converts back to the same double, without
/// digit grouping: plain decimals from 1e-4 up to below 1e15, the exponent form outside.
VQ_EXPORT QString NumberText(double value);

/// The same text in the device library's number format, the C locale (a point, no digit
/// grouping), whatever the user's locale: every number the library computes for the device.
VQ_EXPORT QString DeviceNumberText(double value);

/// A text on its way to the device. A text that is a number in the user's locale (without digit
/// grouping) but not a plain C-locale number ("0,5" in German) becomes the same number in the
/// C locale ("0.5"); any other text, a C-locale number included, goes as it is.
VQ_EXPORT QString DeviceValueText(const QString &text);

/// The value of a plain C-locale number (no digit grouping, blanks around it allowed), as
/// the device reads it; false for any other text.
VQ_EXPORT bool ParseDeviceNumber(const QString &text, double &value);

/// The text shown for a converted value: `shown` is what the conversion gave for the stored
/// value `stored`, and `toStored` converts a shown value back. See Numbers.cpp for the rule.
VQ_EXPORT QString ShortestExactText(double shown, double stored, const std::function<double(double)> &toStored);

/// The number rounded to one decimal and always written with one ("0.0").
VQ_EXPORT QString OneDecimalText(double value);

/// Rounds to a 16-bit integer with halves to the even neighbour; throws RuntimeError
/// (overflow, number 6) when the value does not fit.
VQ_EXPORT qint16 RoundToInteger(double value);

/// Rounds to a 32-bit integer the same way; throws RuntimeError (overflow) when it does not fit.
VQ_EXPORT qint32 RoundToLong(double value);

/// A numeric text (IsNumeric) as a rounded 32-bit integer; throws RuntimeError "Type mismatch"
/// (13) for a text that is not numeric and "Overflow" (6) for one out of range.
VQ_EXPORT qint32 TextToLong(const QString &text);

} // namespace MKorvane
