// SPDX-License-Identifier: MIT
// ctlSensorNV: reading the network variable's five configuration properties into the
// widgets, each in the format that fits the type, the units and the set-point-offset mode.
#include "network/ctlSensorNV.h"
#include "ui_ctlSensorNV.h"

#include "shared/MKorvane.h"

namespace {
const QString SignedShortFormat = QStringLiteral("UCPTsignedShort");
}

void ctlSensorNV::FillValue()
{
    ReadValues();
}

void ctlSensorNV::ReadValues()
{
    const int previousPointer = MKorvane::MousePointer();
    MKorvane::setMousePointer(MKorvane::vbHourglass);
    mblnLoading = true;
    QString ErrMsg;

    // The first failure skips the remaining reads; the flags and the pointer are restored all the same.
    MKorvane::tryStep(
        [&] {
            // Offsets of a numeric variable are differences; an enumeration has no such mode.
            const QString F = mblnIsEnum || !mblnSetpointOffset ? mstrNvFormat : mstrDeltaFormat;
            const DeviceAccess::ConfigPropertiesPtr CPS = nvCps();
            MKorvane::ReadCpValueToTextBox(
                ui->txtDefault, MKorvane::deref(CPS).Item(QStringLiteral("UCPTdefaultValue")), F);
            MKorvane::ReadCpValueToTextBox(ui->txtOver, CPS->Item(QStringLiteral("SCPTovrValue")), F);
            if (mblnIsEnum) {
                MKorvane::SelectComboText(ui->cboDefault, ui->txtDefault->text().trimmed());
                MKorvane::SelectComboText(ui->cboOverride, ui->txtOver->text().trimmed());
                MKorvane::ReadCpValueToTextBox(
                    ui->txtSend, CPS->Item(QStringLiteral("SCPTsndDelta")), SignedShortFormat);
                ui->cboDefault->setToolTip(ui->txtDefault->toolTip());
                ui->cboOverride->setToolTip(ui->txtOver->toolTip());
            } else {
                MKorvane::ReadCpValueToTextBox(ui->txtSend, CPS->Item(QStringLiteral("SCPTsndDelta")), mstrDeltaFormat);
            }
            ShowSendDelta(!(MKorvane::IsUnsupportedStructure(mlngBaseKind, mlngTypeIndex) || mblnIsEnum));
            MKorvane::ReadCpValueToTextBox(
                ui->txtThrottle, CPS->Item(QStringLiteral("SCPTminSendTime")), QStringLiteral("SCPTminSendTime"));
            MKorvane::ReadCpValueToTextBox(
                ui->txtHeart, CPS->Item(QStringLiteral("SCPTmaxSendTime")), QStringLiteral("SCPTmaxSendTime"));
        },
        [&ErrMsg](qint32 number, const QString &description) { MKorvane::AppendFailure(ErrMsg, number, description); });

    mblnLoading = false;
    mblnValueChanged = false;
    MKorvane::setMousePointer(previousPointer);
    report(ErrMsg, QStringLiteral("ReadValues"));
}
