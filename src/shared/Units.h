// SPDX-License-Identifier: MIT
// Format names for the measurement system, kinds of types, enumeration lists and the
// numeric check of typed values.
#pragma once

#include "device/DeviceAccess.h"

class QComboBox;

namespace MKorvane {

bool SplitFormatName(const QString &name, QString &Prefix, QString &BaseName, QString &Suffix);
bool AdjustFormatForUnits(
    const QString &Format, qint16 MesureUnit, QString &DiffFormat, QString &LongFormat, QString &ErrMsg);
bool GetFormatEnumCollection(const DeviceAccess::TypeTreeNodePtr &node, const QString &ProgramId, bool &IsEnum,
    DeviceAccess::EnumCollectionPtr &EnumCollection, QString &ErrMsg);
bool FillComboFromCollection(QComboBox *combo, const DeviceAccess::EnumCollectionPtr &collection, QString &ErrMsg);

bool IsNumericKind(qint32 kind);
bool IsUsNumericKind(qint32 kind);
bool IsUnsupportedStructure(qint32 kind, qint32 typeIndex);

// Shows "Invalid value for this field" and returns False when the text is not numeric.
bool ValidateNumeric(const QString &text);

// The unit shown beside a signal value: "V", "mA", "K Ohm", or empty.
QString GetSignalUnit(const QString &SignalType);

} // namespace MKorvane
