// SPDX-License-Identifier: MIT
/// @file
/// CInputDefaultValues: presets every configuration property of a hardware input and of
/// its network variable from the defaults file "InputDefaultValues.ini", for an input type
/// the host chooses. The file has one section per input type of the device's input-type
/// enumeration; see docs/input-defaults.md for its format.
#pragma once

#include "vqzovezuvaveva_export.h"

#include "defaults/CInfoFromDrf.h"
#include "defaults/ProfileSection.h"
#include "device/DeviceAccess.h"

#include <QString>
#include <memory>

/// One section of the defaults file: value texts, cleaned, keyed by property name.
using InputDefaultSection = DeviceAccess::Collection<QString>;
/// A section, shared.
using InputDefaultSectionPtr = std::shared_ptr<InputDefaultSection>;
/// The defaults table: the sections keyed by input-type name.
using InputDefaultTable = DeviceAccess::Collection<InputDefaultSectionPtr>;
/// The table, shared.
using InputDefaultTablePtr = std::shared_ptr<InputDefaultTable>;

/// Presets an input's properties from the defaults file (see above). Every operation reports
/// its failures as translated lines appended to ErrMsg and returns False; none throws.
class VQ_EXPORT CInputDefaultValues
{
public:
    /// The profile reader is given a buffer of this many characters per section.
    static constexpr qint32 SectionBufferSize = 500;

    CInputDefaultValues();

    /// The hardware input's functional block; set it before writing.
    void setHardwareInputObject(const DeviceAccess::LonMarkObjectPtr &lcaLMObject);

    /// FilePath comes in as the host's folder and goes out as the path of the defaults file
    /// ("CommonFiles/InputDefaultValues.ini" beside that folder). Reads the input types of
    /// enumeration EnumIndex within [EnumMin, EnumMax] and then the file's section of each.
    /// False, with the table left as it was, when the file or the enumeration is missing.
    bool ChargeInputDefaultValues(QString &FilePath, const QString &ProgramId, qint32 Scope, qint32 EnumIndex,
        qint32 EnumMin, qint32 EnumMax, QString &ErrMsg);

    /// Writes the defaults of InputType (letter case and blanks around it ignored) to the
    /// block and its network variable, then gives the variable back its programmatic name.
    /// LnsVersion is accepted and not used.
    bool WriteDefaultValues(const QString &InputType, const QString &LnsVersion, QString &ErrMsg);

    /// Kept for the host interface: does nothing and returns False.
    bool ReadCpNvTypeValue(const InputDefaultTablePtr &colInputDefaultValues, const QString &FormatType, qint32 Scope,
        qint32 TypeIndex, QString &ErrMsg);

    /// A reader of the enumerations of that resource set.
    CInfoFromDrf GetInfoFromDrf(const QString &ProgramId, qint32 Scope) const;

    /// Kept for the host interface: does nothing and returns nothing.
    DeviceAccess::ConfigPropertyPtr GetCP(
        const DeviceAccess::ConfigPropertiesPtr &Cps, qint32 Mode, qint32 TypeIndex, QString &ErrMsg);

    /// Writes Value to the block's UCPTinputSignalInterpretation; nothing for an empty
    /// Value. True when the value was written.
    bool WriteSignalInperpretationCP(const QString &Value, QString &ErrorMsg);

    /// The defaults table itself, shared: a later successful ChargeInputDefaultValues puts
    /// a new table in its place and leaves this one as it is.
    InputDefaultTablePtr GetInputDefault() const { return m_colInputDefaultValues; }

private:
    bool InputDefaultValuesFileExist(QString &FilePath, QString &ErrMsg);
    bool WriteHardwareCPs(const InputDefaultSection &section, QString &ErrMsg);
    bool WriteNetworkCPs(const InputDefaultSection &section, const QString &LnsVersion, QString &ErrMsg);
    bool WriteCPValue(const DeviceAccess::ConfigPropertiesPtr &cps, const QString &cpName, const QString &formatName,
        const QString &Value, QString &ErrMsg);
    InputDefaultTablePtr LoadDefaults(const QString &filePath, QString &ErrMsg);
    InputDefaultSectionPtr ReadSection(const QString &sectionName, QString &ErrMsg);
    static bool HasSection(const InputDefaultTable &table, const QString &key);
    static bool GetEntry(const InputDefaultSection &section, const QString &key, QString &value);
    static bool GetCpFromCollection(const DeviceAccess::ConfigPropertiesPtr &cps, const QString &cpName,
        DeviceAccess::ConfigPropertyPtr &cp, QString &ErrMsg);
    bool ResetNvName(QString &ErrMsg);
    DeviceAccess::NetworkVariablePtr inputVariable() const;

    DeviceAccess::LonMarkObjectPtr m_lcaLMObject;
    DeviceAccess::EnumCollectionPtr m_colEnumInputTypes;
    InputDefaultTablePtr m_colInputDefaultValues;
    QString m_strIniPath;
    ProfileFile m_iniFile; ///< the file at m_strIniPath, read once per load
    /// Nothing sets this, so it stays 0. A value of 7 would make WriteNetworkCPs write the
    /// send delta in "UCPTsignedShort", as an enumerated network variable needs.
    qint32 mlngNvBaseType = 0;
};
