// SPDX-License-Identifier: MIT
// ctlSensorNV: the network variable's name (held for the host, reset to the programmatic
// name, saved), whether the user may edit it, and the override value kept in step with
// the host and, through it, with other controls showing the same override.
#include "network/ctlSensorNV.h"
#include "ui_ctlSensorNV.h"

#include "shared/MKorvane.h"
#include "shared/ThemeColors_p.h"

namespace {
constexpr qint16 OverrideClassId = 26;
const QString OverrideObjectName = QStringLiteral("Override");
const QString NamePrefix = QStringLiteral("VkZovezuVaveva.");

// Names the network variable. The two quiet numbers mean the device took the name as it is.
void assignName(const DeviceAccess::NetworkVariablePtr &NV, const QString &name)
{
    try {
        MKorvane::deref(NV).setName(name);
    } catch (const DeviceAccess::DeviceError &error) {
        if (!error.isQuiet())
            throw;
    }
}
} // namespace

void ctlSensorNV::setLcaHwInputNVName(const QString &Name)
{
    mstrLcaHwInputNVName = Name;
}

bool ctlSensorNV::ResetLcaHwInputNVName(QString &ErrorMsg)
{
    return MKorvane::tryStep(
        [&] {
            const DeviceAccess::NetworkVariablePtr NV = MKorvane::GetFirstNetworkVariable(mobjNode);
            mstrLcaHwInputNVName = MKorvane::deref(NV).ProgrammaticName();
            assignName(NV, mstrLcaHwInputNVName);
        },
        [&ErrorMsg](qint32 number, const QString &description) {
            MKorvane::AppendFailure(
                ErrorMsg, number, NamePrefix + QStringLiteral("ResetLcaHwInputNVName : ") + description);
        });
}

bool ctlSensorNV::SaveLcaHwInputNVName(QString &ErrorMsg, const QString &NewLcaHwInputNVName)
{
    const QString prefix = NamePrefix + QStringLiteral("SaveLcaHwInputNVName : ");
    bool saved = false;
    MKorvane::tryStep(
        [&] {
            const DeviceAccess::NetworkVariablePtr NV = MKorvane::GetFirstNetworkVariable(mobjNode);
            if (!NewLcaHwInputNVName.isEmpty())
                mstrLcaHwInputNVName = NewLcaHwInputNVName;
            if (mstrLcaHwInputNVName.isEmpty()) {
                // Not translated: the host matches this text.
                MKorvane::AppendErrMsg(ErrorMsg, prefix + QStringLiteral(" The nvoHwInput's name cannot be empty."));
                return;
            }
            assignName(NV, mstrLcaHwInputNVName);
            saved = true;
        },
        [&](qint32 number, const QString &description) {
            MKorvane::AppendFailure(ErrorMsg, number, prefix + description);
        });
    return saved;
}

void ctlSensorNV::setAllowChangeNvName(bool Value)
{
    mblnAllowChangeNvName = Value;
    ui->txtHwInputNVName->setReadOnly(!Value);
    // A locked name takes the panel's background, so it reads as part of the panel; an
    // editable one the field colour of the theme.
    MKorvane::TakeParentRole(ui->txtHwInputNVName, QPalette::Base, Value ? QPalette::NoRole : QPalette::Window);
}

void ctlSensorNV::ValueChange(const QString &NewValue, qint16 ClassId, const QString &ObjectName)
{
    if (ClassId != OverrideClassId || ObjectName != OverrideObjectName)
        return;
    // Loading keeps the change from echoing back to the host.
    mblnLoading = true;
    if (mblnIsEnum) {
        if (NewValue.compare(ui->cboOverride->currentText(), Qt::CaseInsensitive) != 0) {
            MKorvane::SelectComboText(ui->cboOverride, NewValue);
            mblnValueChanged = true;
        }
    } else if (NewValue.compare(ui->txtOver->text(), Qt::CaseInsensitive) != 0) {
        ui->txtOver->setText(NewValue);
        mblnValueChanged = true;
    }
    mblnLoading = false;
}

void ctlSensorNV::setOverrideValue(const QString &Value)
{
    // Not a load: a real change marks the control and reaches the host like a user's edit.
    ui->txtOver->setText(Value);
}

QString ctlSensorNV::OverrideValue() const
{
    return ui->txtOver->text();
}

void ctlSensorNV::raiseOverrideChange(const QString &NewValue)
{
    if (mblnLoading)
        return;
    mblnValueChanged = true;
    emit ValueChangeEvent(NewValue, OverrideClassId, OverrideObjectName);
}
