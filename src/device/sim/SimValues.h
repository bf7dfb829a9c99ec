// SPDX-License-Identifier: MIT
// Value texts: a stored value shown in a format, a text parsed back into a stored
// value, and the checks a value must pass (fit, range, resolution).
#pragma once

#include "vqzovezuvavevasim_export.h"

#include "device/sim/SimModel.h"

#include <QVariant>

namespace Sim {

// The value of a property of valueType shown in format (a format of formatType).
// Throws DeviceError when the format's type cannot show such a value.
VQ_SIM_AUTOTEST_EXPORT QString formatValue(
    const StoredValue &value, const TypeDef &valueType, const FormatDef &format, const TypeDef &formatType);

// The text given in format as a value of valueType. Throws DeviceError when the text
// cannot be parsed, the format does not fit, or the value lies outside the range.
VQ_SIM_AUTOTEST_EXPORT StoredValue parseValue(
    const QString &text, const TypeDef &valueType, const FormatDef &format, const TypeDef &formatType);

// Stored base value <-> the number shown in a number format.
VQ_SIM_AUTOTEST_EXPORT double toDisplay(double stored, const FormatDef &format);
VQ_SIM_AUTOTEST_EXPORT double fromDisplay(double shown, const FormatDef &format);

// Plain number text with a fixed number of decimals (-1: the shortest exact text, in plain
// decimals from 1e-4 to below 1e15); no "-0".
VQ_SIM_AUTOTEST_EXPORT QString numberText(double value, int decimals);
// A number in the C locale, blanks around it allowed; false for anything else.
VQ_SIM_AUTOTEST_EXPORT bool parseNumber(const QString &text, double &value);

// The value a property of that type holds when nothing else is known.
VQ_SIM_AUTOTEST_EXPORT StoredValue defaultValue(const TypeDef &type);
// True when the value is one a property of that type can hold.
VQ_SIM_AUTOTEST_EXPORT bool valueFits(const StoredValue &value, const TypeDef &type, QString *why = nullptr);

// A value as QVariant for ConfigProperty::Value: a number, a member name or a text.
VQ_SIM_AUTOTEST_EXPORT QVariant variantOf(const TypeDef &type, const QString &defaultText);

} // namespace Sim
