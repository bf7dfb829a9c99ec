// SPDX-License-Identifier: MIT
/// @file
/// Format names for the measurement system, kinds of types, enumeration lists and the
/// numeric check of typed values.
#pragma once

#include "vqzovezuvaveva_export.h"

#include "device/DeviceAccess.h"

class QComboBox;

namespace MKorvane {

/// Splits "prefix.base#suffix" into its three parts ("prefix." with its dot, "#suffix" with
/// its hash); a missing part is empty. Always True.
VQ_EXPORT bool SplitFormatName(const QString &name, QString &Prefix, QString &BaseName, QString &Suffix);
/// The format of a type in the measurement system (0 SI, 1 US): LongFormat with the
/// system's suffix, DiffFormat the format of a difference (a temperature difference in US
/// units has no 32-degree shift). Cannot fail; always True.
VQ_EXPORT bool AdjustFormatForUnits(
    const QString &Format, qint16 MesureUnit, QString &DiffFormat, QString &LongFormat, QString &ErrMsg);
/// Whether the type is an enumeration (IsEnum) and, if so, its members. False with the
/// reason appended to ErrMsg.
VQ_EXPORT bool GetFormatEnumCollection(const DeviceAccess::TypeTreeNodePtr &node, const QString &ProgramId,
    bool &IsEnum, DeviceAccess::EnumCollectionPtr &EnumCollection, QString &ErrMsg);
/// Replaces a list's items by the members' names (the member value as item data), raising
/// no change and selecting nothing. False with the reason appended to ErrMsg.
VQ_EXPORT bool FillComboFromCollection(
    QComboBox *combo, const DeviceAccess::EnumCollectionPtr &collection, QString &ErrMsg);

/// Whether a base kind holds a number (the kinds 3 to 6, 12 and 13).
VQ_EXPORT bool IsNumericKind(qint32 kind);
/// Whether values of the kind are converted for display: a numeric kind while the measurement system is US.
VQ_EXPORT bool IsUsNumericKind(qint32 kind);
/// Whether the type is a structure the controls do not edit (every structure but index 95).
VQ_EXPORT bool IsUnsupportedStructure(qint32 kind, qint32 typeIndex);

/// Shows "Invalid value for this field" and returns False when the text is not numeric.
VQ_EXPORT bool ValidateNumeric(const QString &text);

/// The unit shown beside a signal value: "V", "mA", "K Ohm", or empty.
VQ_EXPORT QString GetSignalUnit(const QString &SignalType);

} // namespace MKorvane
