// SPDX-License-Identifier: MIT
// CInputDefaultValues: finding the defaults file, loading its sections into the table,
// and the members of the host interface that only hand things out.
#include "defaults/CInputDefaultValues.h"

#include "defaults/DefaultValueText.h"
#include "shared/Checked.h"
#include "shared/Steps.h"
#include "shared/Strings.h"

#include <QFileInfo>

namespace {

bool isSeparator(QChar c)
{
    return c == QLatin1Char('\\') || c == QLatin1Char('/');
}

} // namespace

CInputDefaultValues::CInputDefaultValues()
    : m_colEnumInputTypes(std::make_shared<DeviceAccess::EnumCollection>())
    , m_colInputDefaultValues(std::make_shared<InputDefaultTable>())
{
}

void CInputDefaultValues::setHardwareInputObject(const DeviceAccess::LonMarkObjectPtr &lcaLMObject)
{
    m_lcaLMObject = lcaLMObject;
}

bool CInputDefaultValues::ChargeInputDefaultValues(QString &FilePath, const QString &ProgramId, qint32 Scope,
    qint32 EnumIndex, qint32 EnumMin, qint32 EnumMax, QString &ErrMsg)
{
    // Both checks run, so that one call reports every reason at once.
    const bool fileFound = InputDefaultValuesFileExist(FilePath, ErrMsg);
    CInfoFromDrf info = GetInfoFromDrf(ProgramId, Scope);
    const bool listed = info.GetEnumeration(m_colEnumInputTypes, EnumIndex, EnumMin, EnumMax, ErrMsg);
    if (!fileFound || !listed)
        return false;
    m_colInputDefaultValues = LoadDefaults(FilePath, ErrMsg);
    return true;
}

// The file lies in "CommonFiles" beside the given folder: the path is cut at its last
// separator before the final character ("\" or "/", so a trailing one is ignored), and the
// separator found there joins the new parts.
bool CInputDefaultValues::InputDefaultValuesFileExist(QString &FilePath, QString &ErrMsg)
{
    qsizetype cut = FilePath.size() - 2;
    while (cut >= 0 && !isSeparator(FilePath.at(cut)))
        --cut;
    if (cut < 0) {
        // The path cannot be shortened: the failure of cutting it at no position.
        MKorvane::AppendErrMsg(
            ErrMsg, QStringLiteral("InputDefaultValuesFileExist : Invalid procedure call or argument"));
        return false;
    }
    const QChar separator = FilePath.at(cut);
    FilePath = FilePath.left(cut) + separator + QStringLiteral("CommonFiles") + separator
        + QStringLiteral("InputDefaultValues.ini");
    const QFileInfo file(FilePath);
    if (file.isFile() && file.size() > 0)
        return true;
    MKorvane::AppendErrMsg(
        ErrMsg, QStringLiteral("InputDefaultValuesFileExist : Couldn't find the input default values file."));
    return false;
}

InputDefaultTablePtr CInputDefaultValues::LoadDefaults(const QString &filePath, QString &ErrMsg)
{
    m_strIniPath = filePath;
    m_iniFile = ProfileFile(filePath);
    auto table = std::make_shared<InputDefaultTable>();
    if (m_iniFile.status() != ProfileFile::Status::Ok) {
        MKorvane::AppendErrMsg(ErrMsg, QStringLiteral("LoadDefaults : ") + m_iniFile.errorString());
        return table;
    }
    if (!m_colEnumInputTypes)
        return table;
    for (const DeviceAccess::EnumMemberPtr &member : *m_colEnumInputTypes) {
        MKorvane::tryStep(
            [&] {
                // Value 0 stands for "no input type": it never has defaults.
                if (MKorvane::deref(member).Index() == 0)
                    return;
                const QString name = member->Name().trimmed();
                const InputDefaultSectionPtr section = ReadSection(name, ErrMsg);
                if (section->Count() > 0)
                    table->Add(section, name);
            },
            [&](qint32 number, const QString &description) {
                MKorvane::AppendFailure(ErrMsg, number, QStringLiteral("LoadDefaults : ") + description);
            });
    }
    return table;
}

InputDefaultSectionPtr CInputDefaultValues::ReadSection(const QString &sectionName, QString &ErrMsg)
{
    auto section = std::make_shared<InputDefaultSection>();
    QString block;
    if (m_iniFile.readSection(sectionName, block, SectionBufferSize) == 0)
        return section;
    QString key;
    MKorvane::tryStep(
        [&] {
            for (const QString &line : block.split(QChar(0))) {
                if (line.trimmed().isEmpty() || line.startsWith(QLatin1Char(';')))
                    continue;
                // A line without "=" is a key with an empty value.
                const qsizetype equals = line.indexOf(QLatin1Char('='));
                key = equals < 0 ? line : line.left(equals);
                const QString raw = equals < 0 ? QString() : line.mid(equals + 1);
                section->Add(DefaultValueText::ParseValue(raw), key);
            }
        },
        // The entries before the failing line stay. A key given twice is named, with its
        // section and file, after the collection's own words.
        [&](qint32 number, const QString &description) {
            const bool repeated = number == 457 && !key.isEmpty();
            MKorvane::AppendFailure(ErrMsg, number,
                repeated ? description
                        + QStringLiteral(" (the key \"%1\" appears twice in the section [%2] of %3)")
                              .arg(key.trimmed(), sectionName, m_strIniPath)
                         : description);
        });
    return section;
}

bool CInputDefaultValues::HasSection(const InputDefaultTable &table, const QString &key)
{
    return !key.isEmpty() && table.Contains(key.trimmed());
}

bool CInputDefaultValues::GetEntry(const InputDefaultSection &section, const QString &key, QString &value)
{
    if (key.isEmpty() || !section.Contains(key.trimmed()))
        return false;
    value = section.Item(key.trimmed());
    return true;
}

bool CInputDefaultValues::ReadCpNvTypeValue(const InputDefaultTablePtr &, const QString &, qint32, qint32, QString &)
{
    return false;
}

CInfoFromDrf CInputDefaultValues::GetInfoFromDrf(const QString &ProgramId, qint32 Scope) const
{
    CInfoFromDrf info;
    info.setProgramId(ProgramId);
    info.setScope(Scope);
    return info;
}

DeviceAccess::ConfigPropertyPtr CInputDefaultValues::GetCP(
    const DeviceAccess::ConfigPropertiesPtr &, qint32, qint32, QString &)
{
    return nullptr;
}
