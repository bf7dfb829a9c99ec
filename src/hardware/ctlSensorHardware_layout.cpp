// SPDX-License-Identifier: MIT
// ctlSensorHardware: the layout that depends on the selected signal interpretation —
// which widgets are visible, where the range, offset and increment widgets sit, the
// range captions and the unit captions.
#include "hardware/ctlSensorHardware.h"
#include "hardware/ctlSensorHardware_p.h"
#include "ui_ctlSensorHardware.h"

#include "shared/MKorvane.h"

#include <algorithm>
#include <initializer_list>
#include <utility>
#include <vector>

using namespace HardwareControl;

namespace {

// Assignments of one property to several widgets where only the last one per widget
// counts, kept in the order of those last assignments. A procedure that first resets
// widgets and then places some of them elsewhere thus changes each widget once, and a
// widget that ends where it was does not move at all.
template<typename T> class LastAssignments
{
public:
    void set(QWidget *widget, T value)
    {
        m_items.erase(std::remove_if(m_items.begin(), m_items.end(),
                          [widget](const std::pair<QWidget *, T> &item) { return item.first == widget; }),
            m_items.end());
        m_items.push_back({ widget, value });
    }
    T value(const QWidget *widget, T current) const
    {
        for (const auto &item : m_items) {
            if (item.first == widget)
                return item.second;
        }
        return current;
    }
    const std::vector<std::pair<QWidget *, T>> &items() const { return m_items; }

private:
    std::vector<std::pair<QWidget *, T>> m_items;
};

} // namespace

void ctlSensorHardware::watchScreenChanges()
{
    mScreen = new MKorvane::ScreenChanges(this);
    mScreen->watch({ ui->Frame1, ui->txtMin, ui->cboTherm, ui->txtValue, ui->cmdValue, ui->txtSelector, ui->txtMax,
        ui->cboInput, ui->chkReverse, ui->cboSignal, ui->txtOff, ui->cmdTable, ui->cboMin, ui->cboMax, ui->lblValue,
        ui->lblSelectorUnit, ui->lblSelector, ui->lblTherm, ui->lblMax, ui->lblMin, ui->lblOff, ui->lblUnitOffset,
        ui->lblUnitMaxRange, ui->lblSignal, ui->lblReverse, ui->lblCboSignal, ui->lblUnitMinRange });
}

void ctlSensorHardware::showNow(QWidget *widget, bool visible)
{
    // Shows or hides a widget and lets the user see the change at once; a widget that is
    // already so is left alone, and without a change there is nothing to show.
    MKorvane::skipOnFailure([&] {
        if (widget->isHidden() != visible)
            return;
        widget->setVisible(visible);
        mScreen->pause();
    });
}

void ctlSensorHardware::moveNow(QWidget *widget, int top)
{
    // Moves a widget to a new top (in twips) and lets the user see the change at once.
    // A hidden widget moves unseen: no pause.
    if (topTwips(widget) == top)
        return;
    setTopTwips(widget, top);
    mScreen->pause();
}

void ctlSensorHardware::captionNow(QLabel *label, const QString &caption)
{
    // Captions are set without a pause; the next pause shows them.
    if (setCaption(label, caption))
        mScreen->note(label);
}

void ctlSensorHardware::ShowHardwareControls(bool ShowSignalLabel, bool ShowInput, bool ShowMinLabel, bool ShowMin,
    bool ShowMaxLabel, bool ShowMax, bool ShowOffset, bool ShowReverseLabel, bool ShowReverse, bool ShowThermLabel,
    bool ShowTherm, bool ShowTable)
{
    // Everything governed is hidden first and then shown as the flags say. The widgets
    // take only their final state, so one that stays visible never blinks.
    LastAssignments<bool> shown;
    for (QWidget *widget : { static_cast<QWidget *>(ui->cboInput), static_cast<QWidget *>(ui->cboTherm),
             static_cast<QWidget *>(ui->txtOff), static_cast<QWidget *>(ui->chkReverse),
             static_cast<QWidget *>(ui->cmdTable), static_cast<QWidget *>(ui->txtSelector),
             static_cast<QWidget *>(ui->lblSignal), static_cast<QWidget *>(ui->lblTherm),
             static_cast<QWidget *>(ui->lblMin), static_cast<QWidget *>(ui->lblMax),
             static_cast<QWidget *>(ui->lblReverse) })
        shown.set(widget, false);

    shown.set(ui->lblSignal, ShowSignalLabel);
    shown.set(ui->cboInput, ShowInput);
    shown.set(ui->lblMin, ShowMinLabel);
    shown.set(ui->lblMax, ShowMaxLabel);
    shown.set(ui->lblReverse, ShowReverseLabel);
    shown.set(ui->chkReverse, ShowReverse);
    shown.set(ui->lblTherm, ShowThermLabel);
    shown.set(ui->cboTherm, ShowTherm);
    shown.set(ui->cmdTable, ShowTable);

    // Enumerated formats choose their range from lists instead of typing it.
    shown.set(ui->txtMin, ShowMin && !mblnIsEnumFormat);
    shown.set(ui->cboMin, ShowMin && mblnIsEnumFormat);
    shown.set(ui->txtMax, ShowMax && !mblnIsEnumFormat);
    shown.set(ui->cboMax, ShowMax && mblnIsEnumFormat);

    // Enumerations and structures other than the switch type have no offset.
    bool offsetVisible = false;
    if (ShowOffset)
        offsetVisible
            = !(mblnIsEnumFormat || (mlngFieldType == DeviceAccess::BaseKindStructure && mlngTypeIndex != 95));
    shown.set(ui->lblOff, offsetVisible);
    shown.set(ui->txtOff, offsetVisible);
    shown.set(ui->lblUnitOffset, offsetVisible);

    // No pauses here: the caller's next pause shows the result.
    for (const auto &[widget, visible] : shown.items())
        widget->setVisible(visible);
}

void ctlSensorHardware::ReInitializeDisplayStrings(const QString &RangeUnit, const QString &OffsetUnit)
{
    MKorvane::tryStep(
        [&] {
            captionNow(ui->lblUnitOffset, OffsetUnit);
            captionNow(ui->lblUnitMaxRange, RangeUnit);
            captionNow(ui->lblUnitMinRange, RangeUnit);
            captionNow(ui->lblValue, RangeUnit);
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
    // The default places first, then the interpretation's own. The moves are collected
    // and each widget goes straight to its last place, with a pause after each real
    // move: a digital input's range fields never visit their linear places on the way.
    LastAssignments<int> tops;
    tops.set(ui->lblOff, 360);
    tops.set(ui->txtOff, 585);
    tops.set(ui->lblUnitOffset, 675);
    tops.set(ui->txtMax, 1200);
    tops.set(ui->txtMin, 1800);
    tops.set(ui->cboMax, tops.value(ui->txtMax, topTwips(ui->txtMax)));
    tops.set(ui->cboMin, tops.value(ui->txtMin, topTwips(ui->txtMin)));
    tops.set(ui->lblMax, 960);
    tops.set(ui->lblMin, 1560);

    // A digital input recaptions the labels at once; they still grow for the default
    // captions on the way, so their widths do not depend on the path taken. Only a caption
    // that differs from the one shown before counts as a change on screen.
    const QString maxBefore = ui->lblMax->text();
    const QString minBefore = ui->lblMin->text();
    setCaption(ui->lblMax, MKorvane::GetLanguageString(QStringLiteral("Max. Value")));
    setCaption(ui->lblMin, MKorvane::GetLanguageString(QStringLiteral("Min. Value")));

    const QString interpretation = ui->cboInput->currentText();
    if (interpretation == Linear) {
        tops.set(ui->lblUnitMinRange, 1860);
    } else if (interpretation == TransTable) {
        tops.set(ui->cmdTable, 2280);
    } else if (interpretation == Digital) {
        // The maximum becomes the ON value and sits above the minimum, the OFF value.
        tops.set(ui->txtMax, 585);
        tops.set(ui->txtMin, 1200);
        tops.set(ui->cboMax, tops.value(ui->txtMax, topTwips(ui->txtMax)));
        tops.set(ui->cboMin, tops.value(ui->txtMin, topTwips(ui->txtMin)));
        tops.set(ui->lblMax, 360);
        tops.set(ui->lblMin, 960);
        setCaption(ui->lblMax, MKorvane::GetLanguageString(QStringLiteral("ON Value")));
        setCaption(ui->lblMin, MKorvane::GetLanguageString(QStringLiteral("OFF Value")));
    } else if (interpretation == StdThermistor) {
        tops.set(ui->lblTherm, 2160);
        tops.set(ui->cboTherm, 2400);
    } else if (interpretation == MultiLevel) {
        // The increment takes the top row and the offset moves down one row.
        tops.set(ui->lblSelector, 360);
        tops.set(ui->txtSelector, 600);
        tops.set(ui->lblSelectorUnit, 720);
        tops.set(ui->lblOff, 960);
        tops.set(ui->txtOff, 1200);
        tops.set(ui->lblUnitOffset, 1320);
        tops.set(ui->cmdTable, 2280);
    }

    if (ui->lblMax->text() != maxBefore)
        mScreen->note(ui->lblMax);
    if (ui->lblMin->text() != minBefore)
        mScreen->note(ui->lblMin);
    for (const auto &[widget, top] : tops.items())
        moveNow(widget, top);
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
