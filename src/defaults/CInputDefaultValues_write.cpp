// SPDX-License-Identifier: MIT
// CInputDefaultValues: writing one input type's defaults to the block, to its network
// variable, and the signal interpretation alone.
#include "defaults/CInputDefaultValues.h"

#include "shared/Checked.h"
#include "shared/CpAccess.h"
#include "shared/Steps.h"
#include "shared/Strings.h"

#include <functional>

using DeviceAccess::ConfigPropertiesPtr;
using DeviceAccess::ConfigPropertyPtr;

namespace {

// Runs a step; a failure appends "procedure : description" unless its number is quiet.
template<typename Step> bool reportFailure(QString &ErrMsg, const QString &procedure, Step &&step)
{
    return MKorvane::tryStep(std::forward<Step>(step), [&](qint32 number, const QString &description) {
        MKorvane::AppendFailure(ErrMsg, number, procedure + QStringLiteral(" : ") + description);
    });
}

// Writes every property of `cps` that the section names, in the format formatOf(name) gives;
// a failing property is reported and the next one written.
template<typename FormatOf>
void writeNamedCps(const std::function<ConfigPropertiesPtr()> &cpsOf, const InputDefaultSection &section,
    const QString &procedure, const FormatOf &formatOf, QString &ErrMsg,
    bool (*getEntry)(const InputDefaultSection &, const QString &, QString &))
{
    ConfigPropertiesPtr cps;
    qint32 count = 0;
    if (!reportFailure(ErrMsg, procedure, [&] {
            cps = cpsOf();
            count = MKorvane::deref(cps).Count();
        }))
        return;
    for (qint32 position = 1; position <= count; ++position) {
        reportFailure(ErrMsg, procedure, [&] {
            const ConfigPropertyPtr cp = cps->Item(position);
            const QString name = MKorvane::deref(cp).Name();
            QString value;
            if (getEntry(section, name, value))
                MKorvane::WriteCpValue(cp, formatOf(name), value, ErrMsg);
        });
    }
}

} // namespace

bool CInputDefaultValues::WriteDefaultValues(const QString &InputType, const QString &LnsVersion, QString &ErrMsg)
{
    bool result = false;
    MKorvane::tryStep(
        [&] {
            const QString key = InputType.trimmed().toUpper();
            if (!m_colInputDefaultValues || !HasSection(*m_colInputDefaultValues, key)) {
                MKorvane::AppendErrMsg(ErrMsg,
                    QStringLiteral("WriteDefaultValues : Couldn't find the default values for ") + InputType
                        + QStringLiteral(" in the Ini file."));
                return;
            }
            const InputDefaultSectionPtr section = m_colInputDefaultValues->Item(key);
            const bool hardware = WriteHardwareCPs(*section, ErrMsg);
            const bool network = WriteNetworkCPs(*section, LnsVersion, ErrMsg);
            const bool renamed = ResetNvName(ErrMsg);
            result = hardware && network && renamed;
        },
        [&](qint32 number, const QString &description) { MKorvane::AppendFailure(ErrMsg, number, description); });
    return result;
}

// The range is written in the property's default format, which follows the network
// variable's type; every other property in the format of its own name.
bool CInputDefaultValues::WriteHardwareCPs(const InputDefaultSection &section, QString &ErrMsg)
{
    writeNamedCps([this] { return MKorvane::deref(m_lcaLMObject).ConfigProperties(); }, section,
        QStringLiteral("WriteHardwareCPs"),
        [](const QString &name) {
            return name == QLatin1String("SCPTminRnge") || name == QLatin1String("SCPTmaxRnge") ? QString() : name;
        },
        ErrMsg, &CInputDefaultValues::GetEntry);
    return true;
}

// Send delta, override and default value take the variable's type: its default format.
bool CInputDefaultValues::WriteNetworkCPs(const InputDefaultSection &section, const QString &, QString &ErrMsg)
{
    const qint32 baseType = mlngNvBaseType;
    writeNamedCps([this] { return MKorvane::deref(inputVariable()).ConfigProperties(); }, section,
        QStringLiteral("WriteNetworkCPs"),
        [baseType](const QString &name) {
            if (name == QLatin1String("SCPTsndDelta"))
                return baseType == 7 ? QStringLiteral("UCPTsignedShort") : QString();
            if (name == QLatin1String("SCPTovrValue") || name == QLatin1String("UCPTdefaultValue"))
                return QString();
            return name;
        },
        ErrMsg, &CInputDefaultValues::GetEntry);
    return true;
}

bool CInputDefaultValues::ResetNvName(QString &)
{
    const DeviceAccess::NetworkVariablePtr nv = inputVariable();
    const QString name = MKorvane::deref(nv).ProgrammaticName();
    try {
        nv->setName(name);
    } catch (const DeviceAccess::DeviceError &error) {
        // The two quiet numbers mean the device took the name as it is, as on every write
        // (the network control's rename treats them alike).
        if (!error.isQuiet())
            throw;
    }
    return true;
}

DeviceAccess::NetworkVariablePtr CInputDefaultValues::inputVariable() const
{
    return MKorvane::deref(MKorvane::deref(m_lcaLMObject).NetworkVariables()).Item(1);
}

bool CInputDefaultValues::WriteSignalInperpretationCP(const QString &Value, QString &ErrorMsg)
{
    // An empty value is not written; not even the block's properties are asked for.
    if (Value.isEmpty())
        return false;
    ConfigPropertiesPtr cps;
    if (!reportFailure(ErrorMsg, QStringLiteral("WriteSignalInperpretationCP"),
            [&] { cps = MKorvane::deref(m_lcaLMObject).ConfigProperties(); }))
        return false;
    const QString name = QStringLiteral("UCPTinputSignalInterpretation");
    return WriteCPValue(cps, name, name, Value, ErrorMsg);
}

bool CInputDefaultValues::WriteCPValue(const ConfigPropertiesPtr &cps, const QString &cpName, const QString &formatName,
    const QString &Value, QString &ErrMsg)
{
    if (Value.isEmpty())
        return false;
    bool written = false;
    reportFailure(ErrMsg, QStringLiteral("WriteCPValue"), [&] {
        ConfigPropertyPtr cp;
        if (GetCpFromCollection(cps, cpName, cp, ErrMsg))
            written = MKorvane::WriteCpValue(cp, formatName, Value, ErrMsg);
    });
    return written;
}

// A missing property replaces ErrMsg with the failure's description rather than adding a line.
bool CInputDefaultValues::GetCpFromCollection(
    const ConfigPropertiesPtr &cps, const QString &cpName, ConfigPropertyPtr &cp, QString &ErrMsg)
{
    return MKorvane::tryStep([&] { cp = MKorvane::deref(cps).Item(cpName); },
        [&](qint32, const QString &description) { ErrMsg = description; });
}
