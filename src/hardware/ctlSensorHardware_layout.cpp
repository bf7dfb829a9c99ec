// SPDX-License-Identifier: MIT
// ctlSensorHardware: the layout that depends on the selected signal interpretation —
// which widgets are visible, where the range, offset and increment widgets sit, the
// range captions and the unit captions.
#include "hardware/ctlSensorHardware.h"
#include "hardware/ctlSensorHardware_p.h"
#include "ui_ctlSensorHardware.h"

#include "shared/MKorvane.h"

#include <initializer_list>

using namespace HardwareControl;

namespace {

// Shows or hides a widget and lets the user see the change at once.
void showNow(QWidget *widget, bool visible)
{
    MKorvane::skipOnFailure([&] {
        widget->setVisible(visible);
        MKorvane::DoEvents();
    });
}

// Moves a widget to a new top (in twips) and lets the user see the change at once.
void moveNow(QWidget *widget, int top)
{
    setTopTwips(widget, top);
    MKorvane::DoEvents();
}

} // namespace

void ctlSensorHardware::ShowHardwareControls(bool ShowSignalLabel, bool ShowInput, bool ShowMinLabel, bool ShowMin,
    bool ShowMaxLabel, bool ShowMax, bool ShowOffset, bool ShowReverseLabel, bool ShowReverse, bool ShowThermLabel,
    bool ShowTherm, bool ShowTable)
{
    for (QWidget *widget : { static_cast<QWidget *>(ui->cboInput), static_cast<QWidget *>(ui->cboTherm),
             static_cast<QWidget *>(ui->txtOff), static_cast<QWidget *>(ui->chkReverse),
             static_cast<QWidget *>(ui->cmdTable), static_cast<QWidget *>(ui->txtSelector),
             static_cast<QWidget *>(ui->lblSignal), static_cast<QWidget *>(ui->lblTherm),
             static_cast<QWidget *>(ui->lblMin), static_cast<QWidget *>(ui->lblMax),
             static_cast<QWidget *>(ui->lblReverse) })
        widget->setVisible(false);

    ui->lblSignal->setVisible(ShowSignalLabel);
    ui->cboInput->setVisible(ShowInput);
    ui->lblMin->setVisible(ShowMinLabel);
    ui->lblMax->setVisible(ShowMaxLabel);
    ui->lblReverse->setVisible(ShowReverseLabel);
    ui->chkReverse->setVisible(ShowReverse);
    ui->lblTherm->setVisible(ShowThermLabel);
    ui->cboTherm->setVisible(ShowTherm);
    ui->cmdTable->setVisible(ShowTable);

    // Enumerated formats choose their range from lists instead of typing it.
    ui->txtMin->setVisible(ShowMin && !mblnIsEnumFormat);
    ui->cboMin->setVisible(ShowMin && mblnIsEnumFormat);
    ui->txtMax->setVisible(ShowMax && !mblnIsEnumFormat);
    ui->cboMax->setVisible(ShowMax && mblnIsEnumFormat);

    // Enumerations and structures other than the switch type have no offset.
    bool offsetVisible = false;
    if (ShowOffset)
        offsetVisible
            = !(mblnIsEnumFormat || (mlngFieldType == DeviceAccess::BaseKindStructure && mlngTypeIndex != 95));
    ui->lblOff->setVisible(offsetVisible);
    ui->txtOff->setVisible(offsetVisible);
    ui->lblUnitOffset->setVisible(offsetVisible);
}

void ctlSensorHardware::ReInitializeDisplayStrings(const QString &RangeUnit, const QString &OffsetUnit)
{
    MKorvane::tryStep(
        [&] {
            setCaption(ui->lblUnitOffset, OffsetUnit);
            setCaption(ui->lblUnitMaxRange, RangeUnit);
            setCaption(ui->lblUnitMinRange, RangeUnit);
            setCaption(ui->lblValue, RangeUnit);
        },
        [this](
            qint32, const QString &description) { report(description, QStringLiteral("ReInitializeDisplayStrings")); });
}

void ctlSensorHardware::ShowValueButton()
{
    const bool visible = ui->cboInput->currentText() != Disconnected;
    ui->cmdValue->setVisible(visible);
    ui->txtValue->setVisible(visible);
}

void ctlSensorHardware::ArrangeRangeControls()
{
    moveNow(ui->lblOff, 360);
    moveNow(ui->txtOff, 585);
    moveNow(ui->lblUnitOffset, 675);
    moveNow(ui->txtMax, 1200);
    moveNow(ui->txtMin, 1800);
    moveNow(ui->cboMax, topTwips(ui->txtMax));
    moveNow(ui->cboMin, topTwips(ui->txtMin));
    moveNow(ui->lblMax, 960);
    moveNow(ui->lblMin, 1560);

    setCaption(ui->lblMax, MKorvane::GetLanguageString(QStringLiteral("Max. Value")));
    setCaption(ui->lblMin, MKorvane::GetLanguageString(QStringLiteral("Min. Value")));

    const QString interpretation = ui->cboInput->currentText();
    if (interpretation == Linear) {
        moveNow(ui->lblUnitMinRange, 1860);
    } else if (interpretation == TransTable) {
        moveNow(ui->cmdTable, 2280);
    } else if (interpretation == Digital) {
        // The maximum becomes the ON value and sits above the minimum, the OFF value.
        moveNow(ui->txtMax, 585);
        moveNow(ui->txtMin, 1200);
        moveNow(ui->cboMax, topTwips(ui->txtMax));
        moveNow(ui->cboMin, topTwips(ui->txtMin));
        moveNow(ui->lblMax, 360);
        moveNow(ui->lblMin, 960);
        setCaption(ui->lblMax, MKorvane::GetLanguageString(QStringLiteral("ON Value")));
        setCaption(ui->lblMin, MKorvane::GetLanguageString(QStringLiteral("OFF Value")));
    } else if (interpretation == StdThermistor) {
        moveNow(ui->lblTherm, 2160);
        moveNow(ui->cboTherm, 2400);
    } else if (interpretation == MultiLevel) {
        // The increment takes the top row and the offset moves down one row.
        moveNow(ui->lblSelector, 360);
        moveNow(ui->txtSelector, 600);
        moveNow(ui->lblSelectorUnit, 720);
        moveNow(ui->lblOff, 960);
        moveNow(ui->txtOff, 1200);
        moveNow(ui->lblUnitOffset, 1320);
        moveNow(ui->cmdTable, 2280);
    }
}

void ctlSensorHardware::ShowInterpretationLayout(QString &Unit, QString &OffsetUnit)
{
    // Every step that fails is skipped; nothing is reported from here.
    const auto step = [](auto &&operation) { MKorvane::skipOnFailure(operation); };
    const QString interpretation = ui->cboInput->currentText();
    const bool version1 = MKorvane::ObjMajorVersion() == 1;

    const auto unitLabels = { ui->lblUnitOffset, ui->lblUnitMinRange, ui->lblUnitMaxRange, ui->lblValue };
    const auto selectorWidgets = { static_cast<QWidget *>(ui->lblSelector), static_cast<QWidget *>(ui->lblSelectorUnit),
        static_cast<QWidget *>(ui->txtSelector) };

    if (interpretation == Linear || interpretation == TransTable || interpretation == StdThermistor
        || interpretation == SetpointOffset || interpretation == Digital) {
        const bool digital = interpretation == Digital;
        const bool table = interpretation == TransTable;
        const bool thermistor = interpretation == StdThermistor;
        step([&] {
            ShowHardwareControls(
                true, true, true, true, true, true, !digital, digital, digital, thermistor, thermistor, table);
        });
        step([&] { ReInitializeDisplayStrings(Unit, OffsetUnit); });
        // ON/OFF values carry no unit; enumerated values neither.
        for (QLabel *label : unitLabels)
            showNow(label, !digital && !mblnIsEnumFormat);
        for (QWidget *widget : selectorWidgets)
            showNow(widget, false);
        showNow(ui->cboSignal, true);
        showNow(ui->lblCboSignal, true);
        step([&] { SetSignalCombo(interpretation); });
        step([&] { ArrangeRangeControls(); });
    } else if (interpretation == MultiLevel) {
        step([&] {
            ShowHardwareControls(true, true, false, false, false, false, version1, false, false, false, false, false);
        });
        showNow(ui->lblUnitOffset, version1);
        showNow(ui->lblUnitMinRange, false);
        showNow(ui->lblUnitMaxRange, false);
        showNow(ui->lblValue, false);
        // Version 1 sets the increment here; version 2 keeps its levels in the transfer table.
        for (QWidget *widget : selectorWidgets)
            showNow(widget, version1);
        showNow(ui->cboSignal, true);
        showNow(ui->lblCboSignal, true);
        showNow(ui->cmdTable, MKorvane::ObjMajorVersion() == 2);
        step([&] { SetSignalCombo(interpretation); });
        step([&] { ArrangeRangeControls(); });
    } else if (interpretation == Disconnected) {
        step([&] {
            ShowHardwareControls(true, true, false, false, false, false, false, false, false, false, false, false);
        });
        for (QWidget *widget : { static_cast<QWidget *>(ui->lblUnitOffset), static_cast<QWidget *>(ui->lblUnitMinRange),
                 static_cast<QWidget *>(ui->lblUnitMaxRange), static_cast<QWidget *>(ui->lblSelector),
                 static_cast<QWidget *>(ui->lblSelectorUnit), static_cast<QWidget *>(ui->txtSelector),
                 static_cast<QWidget *>(ui->cboSignal), static_cast<QWidget *>(ui->lblCboSignal),
                 static_cast<QWidget *>(ui->lblValue) })
            showNow(widget, false);
        step([&] { SetSignalCombo(interpretation); });
    }
    step([&] { ShowValueButton(); });
}
