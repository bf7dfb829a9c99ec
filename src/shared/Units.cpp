// SPDX-License-Identifier: MIT
// Format names for the measurement system, type kinds, enumeration lists, the numeric
// check of typed values and the unit of a signal type.
#include "shared/Units.h"

#include "shared/Checked.h"
#include "shared/CpAccess.h"
#include "shared/Enumerations.h"
#include "shared/Numbers.h"
#include "shared/ProcessState.h"
#include "shared/Seams.h"
#include "shared/Steps.h"
#include "shared/Strings.h"

#include <QComboBox>

namespace MKorvane {

bool SplitFormatName(const QString &name, QString &Prefix, QString &BaseName, QString &Suffix)
{
    Prefix.clear();
    BaseName.clear();
    Suffix.clear();
    if (name.isEmpty())
        return true;
    QString rest = name;
    const qsizetype dot = name.indexOf(QLatin1Char('.'));
    if (dot >= 0) {
        Prefix = name.left(dot + 1);
        rest = name.mid(dot + 1);
    }
    const qsizetype hash = rest.indexOf(QLatin1Char('#'));
    if (hash >= 0) {
        BaseName = rest.left(hash);
        Suffix = rest.mid(hash);
    } else {
        BaseName = rest;
    }
    return true;
}

bool AdjustFormatForUnits(
    const QString &Format, qint16 MesureUnit, QString &DiffFormat, QString &LongFormat, QString &ErrMsg)
{
    Q_UNUSED(ErrMsg) // nothing here can fail
    QString prefix, baseName, suffix;
    SplitFormatName(Format, prefix, baseName, suffix);
    const QString upper = suffix.toUpper();
    if (upper == QLatin1String("#US") || upper == QLatin1String("#SI") || upper == QLatin1String("#US_DIFF"))
        suffix = MesureUnit == 0 ? QStringLiteral("#SI") : QStringLiteral("#US");
    LongFormat = baseName + suffix;
    // A temperature difference in US units converts without the 32-degree shift.
    DiffFormat = LongFormat;
    if (LongFormat == QLatin1String("SNVT_temp#US") || LongFormat == QLatin1String("SNVT_temp_p#US")
        || LongFormat == QLatin1String("SNVT_temp_f#US"))
        DiffFormat = LongFormat + QStringLiteral("_diff");
    DiffFormat = prefix + DiffFormat;
    LongFormat = prefix + LongFormat;
    return true;
}

bool GetFormatEnumCollection(const DeviceAccess::TypeTreeNodePtr &node, const QString &ProgramId, bool &IsEnum,
    DeviceAccess::EnumCollectionPtr &EnumCollection, QString &ErrMsg)
{
    bool result = false;
    tryStep(
        [&] {
            const DeviceAccess::TypeTreeNode &typeNode = deref(node);
            IsEnum = typeNode.Kind() == DeviceAccess::BaseKindEnumeration;
            if (!IsEnum) {
                EnumCollection = nullptr;
                return;
            }
            // One statement each: the node is read in this order, whatever the compiler does with arguments.
            const qint32 scope = RoundToLong(typeNode.Scope());
            const qint32 typeIndex = RoundToLong(typeNode.TypeIndex());
            const qint32 lowest = RoundToLong(typeNode.LowestValue());
            const qint32 highest = RoundToLong(typeNode.HighestValue());
            EnumCollection
                = DeviceAccess::typeService().GetEnumCollection(ProgramId, scope, typeIndex, lowest, highest);
            if (!EnumCollection) {
                AppendErrMsg(ErrMsg,
                    GetStrings(
                        QStringLiteral("Failed to find out enum collection for foramt: %s%."), { typeNode.Name() }));
                return;
            }
            result = true;
        },
        [&](qint32 number, const QString &description) { AppendFailure(ErrMsg, number, description); });
    return result;
}

bool FillComboFromCollection(QComboBox *combo, const DeviceAccess::EnumCollectionPtr &collection, QString &ErrMsg)
{
    tryStep(
        [&] {
            QComboBox &box = deref(combo);
            // Filling raises no change and selects nothing; Qt would select the first item added.
            const QSignalBlocker blocker(&box);
            // The members are read in order and go into the list together, also when a
            // failure cuts the reading short; a list that holds them already stays.
            QVector<std::pair<QString, qint32>> items;
            if (collection) {
                try {
                    for (const DeviceAccess::EnumMemberPtr &member : *collection) {
                        const DeviceAccess::EnumMember &item = deref(member);
                        const QString name = item.Name();
                        const qint32 index = item.Index();
                        items.append({ name, index });
                    }
                } catch (...) {
                    SetComboItems(&box, items);
                    throw;
                }
            }
            SetComboItems(&box, items);
            if (collection)
                box.setCurrentIndex(-1);
        },
        [&](qint32 number, const QString &description) { AppendFailure(ErrMsg, number, description); });
    return true;
}

bool IsNumericKind(qint32 kind)
{
    switch (kind) {
    case 3:
    case 4:
    case 5:
    case 6:
    case 12:
    case 13:
        return true;
    default:
        return false;
    }
}

bool IsUsNumericKind(qint32 kind)
{
    return MesureUnit() == MEASUREMENT_SYSTEM_US && IsNumericKind(kind);
}

bool IsUnsupportedStructure(qint32 kind, qint32 typeIndex)
{
    // Structure 95 is shown as a simple value.
    return kind == DeviceAccess::BaseKindStructure && typeIndex != 95;
}

bool ValidateNumeric(const QString &text)
{
    if (IsNumeric(text))
        return true;
    MsgBox(GetLanguageString(QStringLiteral("Invalid value for this field")), vbOKOnly);
    return false;
}

QString GetSignalUnit(const QString &SignalType)
{
    if (SignalType == QLatin1String("VOLTAGE_0_10V"))
        return QStringLiteral("V");
    if (SignalType == QLatin1String("MILIAMPS_4_20MA"))
        return QStringLiteral("mA");
    if (SignalType == QLatin1String("RESISTANCE"))
        return QStringLiteral("K Ohm");
    return QString();
}

} // namespace MKorvane
