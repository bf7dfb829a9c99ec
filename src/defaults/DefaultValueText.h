// SPDX-License-Identifier: MIT
/// @file
/// Cleaning of the value texts of the defaults file: what an integrator writes after a
/// key ("21.5 °C ; comfort", "(300 s)") becomes the text that is written to the device.
#pragma once

#include "vqzovezuvaveva_export.h"

#include <QString>

namespace DefaultValueText {

/// The raw value cleaned in this order: the text before the first ";", trimmed; the text
/// before the first tab, trimmed; the text between the first "(" and the first ")" when
/// such a ")" follows the "(", trimmed; then trimmed and StripUnit.
VQ_EXPORT QString ParseValue(const QString &raw);

/// The number of a number followed by its unit "s", "°C" or "ppm" ("300 s" gives "300");
/// any other text unchanged. The unit is "s" as soon as the text holds an "s" in either
/// case, else "°C", else "ppm" (letter case ignored for the choice); the text is split at
/// the unit in its exact case and the trimmed first piece must be a number.
VQ_EXPORT QString StripUnit(const QString &text);

/// True for a number by the usual number-parsing rules, and for a non-empty text of
/// digits, blanks, "." and "-" only.
VQ_EXPORT bool IsNumberText(const QString &text);

} // namespace DefaultValueText
