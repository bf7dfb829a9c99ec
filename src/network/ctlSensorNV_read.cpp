// SPDX-License-Identifier: MIT
// ctlSensorNV: reading the network variable's five configuration properties into the
// widgets, each in the format that fits the type, the units and the set-point-offset mode.
#include "network/ctlSensorNV.h"
#include "ui_ctlSensorNV.h"

#include "shared/MKorvane.h"

#include <QLocale>

namespace {
const QString SignedShortFormat = QStringLiteral("UCPTsignedShort");

// The digits after the decimal point of a device's value text ("33.80" has 2).
int decimalsOf(const QString &text)
{
    const qsizetype point = text.indexOf(QLatin1Char('.'));
    int decimals = 0;
    for (qsizetype i = point + 1; point >= 0 && i < text.size() && text.at(i).isDigit(); ++i)
        ++decimals;
    return decimals;
}

// A temperature the device gave in its absolute US format, shown as the degrees Fahrenheit
// above 0 °F: the difference format it is written back in has no 32-degree shift. Device
// texts are in the C locale, and so is the number shown, as every other value of the
// control; it has no more decimals than the text read ("33.8" shows 1.8).
void ShowAsFahrenheitDifference(QLineEdit *box)
{
    const QLocale c = QLocale::c();
    const QString text = box->text().trimmed();
    bool numeric = false;
    const double absolute = c.toDouble(text, &numeric);
    if (!numeric)
        return;
    double difference = c.toDouble(c.toString(absolute - 32, 'f', decimalsOf(text)));
    if (difference == 0)
        difference = 0; // no "-0"
    box->setText(c.toString(difference, 'f', QLocale::FloatingPointShortest));
}
} // namespace

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
            // The read gives the US temperature's absolute format whatever F names; the write
            // takes the difference format, so the box shows the difference that is written.
            if (MKorvane::MesureUnit() == MEASUREMENT_SYSTEM_US && !mblnIsEnum && mblnSetpointOffset
                && mstrDeltaFormat.contains(QStringLiteral("#US_diff"), Qt::CaseSensitive)) {
                ShowAsFahrenheitDifference(ui->txtDefault);
                ShowAsFahrenheitDifference(ui->txtOver);
            }
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
