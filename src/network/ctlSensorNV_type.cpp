// SPDX-License-Identifier: MIT
// ctlSensorNV: the network variable's type resolved into formats, unit captions and the
// widgets that fit it (text boxes or enumeration lists, the send-delta row), and the
// host's entry points around the type and the units: preferred types, the type-change
// command, the measurement system, the set-point-offset mode and the format query.
#include "network/ctlSensorNV.h"
#include "ui_ctlSensorNV.h"

#include "shared/MKorvane.h"

#include <utility>

void ctlSensorNV::LoadNvType(const DeviceAccess::NetworkVariablePtr &NV, QString &ErrMsg)
{
    DeviceAccess::TypeTreeNodePtr node;
    QString programId;
    QString longFormat;
    QString unitText;
    qint32 typeIndex = 0;
    qint32 baseKind = 0;
    // An unresolved type leaves everything as it was shown before.
    if (!MKorvane::GetNvTypeFormat(
            NV, MKorvane::MesureUnit(), node, programId, longFormat, unitText, typeIndex, baseKind, ErrMsg))
        return;
    mlngTypeIndex = typeIndex;
    mlngBaseKind = baseKind;
    mstrNvFormat = longFormat;
    mstrUnitText = unitText;
    const QString nvName = MKorvane::deref(NV).Name();
    ShowTypeAndUnits(longFormat, unitText, nvName);
    MKorvane::AdjustFormatForUnits(longFormat, MKorvane::MesureUnit(), mstrDeltaFormat, mstrNvFormat, ErrMsg);
    if (MKorvane::GetFormatEnumCollection(node, programId, mblnIsEnum, mcolEnum, ErrMsg))
        FillEnumCombos(mcolEnum, ErrMsg);
    ShowEnumControls(!mblnIsEnum);
}

void ctlSensorNV::ShowTypeAndUnits(const QString &LongFormat, const QString &UnitText, const QString &NvName)
{
    QString ErrMsg;
    const auto step = [&ErrMsg](auto &&operation) {
        MKorvane::tryStep(operation, [&ErrMsg](qint32 number, const QString &description) {
            MKorvane::AppendFailure(ErrMsg, number, description);
        });
    };
    step([&] {
        QString prefix, baseName, suffix;
        MKorvane::SplitFormatName(LongFormat, prefix, baseName, suffix);
        ui->lblTitle->setText(baseName + suffix);
    });
    step([&] { ui->lblOver->setText(UnitText); });
    step([&] { ui->lblSendD->setText(UnitText); });
    step([&] { ui->lblDef->setText(UnitText); });
    step([&] {
        MKorvane::SetBoxText(ui->txtHwInputNVName, mstrLcaHwInputNVName.isEmpty() ? NvName : mstrLcaHwInputNVName);
    });
    report(ErrMsg, QStringLiteral("ReadValues"));
}

void ctlSensorNV::ShowEnumControls(bool TextMode)
{
    for (QWidget *widget :
        { static_cast<QWidget *>(ui->lblOver), static_cast<QWidget *>(ui->lblDef), static_cast<QWidget *>(ui->lblSendD),
            static_cast<QWidget *>(ui->txtOver), static_cast<QWidget *>(ui->txtDefault) })
        widget->setVisible(TextMode);
    ui->cboOverride->setVisible(!TextMode);
    ui->cboDefault->setVisible(!TextMode);
    // The captions name the fields shown beside them.
    for (const auto &[caption, field] :
        { std::pair { ui->lblOverride, TextMode ? static_cast<QWidget *>(ui->txtOver) : ui->cboOverride },
            std::pair { ui->lblDefault, TextMode ? static_cast<QWidget *>(ui->txtDefault) : ui->cboDefault } }) {
        if (caption->buddy() != field)
            caption->setBuddy(field);
    }
}

bool ctlSensorNV::FillEnumCombos(const DeviceAccess::EnumCollectionPtr &EnumCollection, QString &ErrMsg)
{
    const bool overrideFilled = MKorvane::FillComboFromCollection(ui->cboOverride, EnumCollection, ErrMsg);
    const bool defaultFilled = MKorvane::FillComboFromCollection(ui->cboDefault, EnumCollection, ErrMsg);
    return overrideFilled && defaultFilled;
}

void ctlSensorNV::ShowSendDelta(bool Visible)
{
    const bool appears = Visible && ui->lblSendDelta->isHidden();
    ui->lblSendDelta->setVisible(Visible);
    if (appears)
        fitCaptionColumn(); // its caption may need more room than the others
    ui->txtSend->setVisible(Visible);
    ui->lblSendD->setVisible(Visible);
}

void ctlSensorNV::ClearPreferedTypesList()
{
    for (int i = mcolPreferredTypes.Count(); i >= 1; --i)
        mcolPreferredTypes.Remove(i);
}

void ctlSensorNV::AddPreferedType(const QString &TypeName, qint16 Index)
{
    auto info = std::make_shared<CTypeInfo>();
    info->setTypeName(TypeName);
    info->setIndex(Index);
    mcolPreferredTypes.Add(info);
}

void ctlSensorNV::FillTypeList(const QString &, qint16)
{
    // Accepted for the host; the control does not offer a type list.
}

void ctlSensorNV::OpenChangeType()
{
    // The control never changes the type itself: only the busy frame and its report remain.
    QString ErrMsg;
    MKorvane::tryStep(
        [&] {
            if (!mblnLoading)
                MKorvane::setMousePointer(MKorvane::vbHourglass);
        },
        [&ErrMsg](qint32 number, const QString &description) { MKorvane::AppendFailure(ErrMsg, number, description); });
    MKorvane::setMousePointer(MKorvane::vbDefault);
    report(ErrMsg, QStringLiteral("OpenChangeType"));
}

void ctlSensorNV::setMesureUnit(qint16 MesureUnitIndex)
{
    MKorvane::setMesureUnit(MesureUnitIndex);
    // Before NodeObject there is no variable: the system is only stored. Nothing here reports.
    DeviceAccess::NetworkVariablePtr NV;
    MKorvane::skipOnFailure([&] { NV = MKorvane::GetFirstNetworkVariable(mobjNode); });
    if (!NV)
        return;
    QString ignored;
    MKorvane::skipOnFailure([&] { LoadNvType(NV, ignored); });
    MKorvane::skipOnFailure([&] { ReadValues(); });
    MKorvane::skipOnFailure([] { MKorvane::DoEvents(); });
}

void ctlSensorNV::UpdateSetpointOffSet(bool Value)
{
    if (!mblnInitialized)
        return;
    mblnSetpointOffset = Value;
    ReadValues();
}

bool ctlSensorNV::GetNVTypeFormatName(const DeviceAccess::NetworkVariablePtr &NetworkVariable, qint16 MesureUnitIndex,
    QString &LongFormat, QString &ErrMsg)
{
    DeviceAccess::TypeTreeNodePtr node;
    QString programId;
    QString unitText;
    qint32 typeIndex = 0;
    qint32 baseKind = 0;
    return MKorvane::GetNvTypeFormat(
        NetworkVariable, MesureUnitIndex, node, programId, LongFormat, unitText, typeIndex, baseKind, ErrMsg);
}
