// SPDX-License-Identifier: MIT
// The input types of one device and their defaults.
#include "InputTypes.h"

#include "defaults/CInfoFromDrf.h"

#include <QFileInfo>

namespace Host {

QString InputTypes::pluginFolder(const QString &databasePath)
{
    return QFileInfo(databasePath).absolutePath() + QStringLiteral("/Plugin");
}

bool InputTypes::load(const QString &databasePath, const QString &programId, qint32 scope, QString &ErrMsg)
{
    m_names.clear();
    m_defaults = std::make_unique<CInputDefaultValues>();

    // The list offered: every input type of the device, in the order of its resource files.
    CInfoFromDrf info;
    info.setProgramId(programId);
    info.setScope(scope);
    DeviceAccess::EnumCollectionPtr types;
    QString listErr;
    if (!info.GetEnumeration(types, EnumIndex, EnumMin, EnumMax, listErr) || !types) {
        ErrMsg += listErr;
        return false;
    }

    m_defaultsFile = pluginFolder(databasePath);
    if (!m_defaults->ChargeInputDefaultValues(m_defaultsFile, programId, scope, EnumIndex, EnumMin, EnumMax, ErrMsg))
        return false;
    for (const DeviceAccess::EnumMemberPtr &member : *types)
        m_names << member->Name().trimmed();
    return true;
}

bool InputTypes::apply(const DeviceAccess::LonMarkObjectPtr &block, const QString &type, QString &ErrMsg)
{
    if (!m_defaults)
        return false;
    m_defaults->setHardwareInputObject(block);
    return m_defaults->WriteDefaultValues(type, QString(), ErrMsg);
}

InputDefaultSectionPtr InputTypes::section(const QString &type) const
{
    const InputDefaultTablePtr table = m_defaults ? m_defaults->GetInputDefault() : nullptr;
    const QString key = type.trimmed().toUpper();
    return table && !key.isEmpty() && table->Contains(key) ? table->Item(key) : nullptr;
}

} // namespace Host
