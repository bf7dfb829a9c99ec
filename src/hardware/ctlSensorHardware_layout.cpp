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
    LastAssignments() { m_items.reserve(32); } // a layout governs about 25 widgets
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

// A layout is applied without pauses (see ScreenChanges): the user sees it whole, at the
// next pause of the handler that asked for it or when the host's event loop next runs.

void ctlSensorHardware::showWidget(QWidget *widget, bool visible)
{
    // A widget that is already so is left alone.
    MKorvane::skipOnFailure([&] {
        if (widget->isHidden() == visible)
            widget->setVisible(visible);
    });
}

void ctlSensorHardware::moveWidget(QWidget *widget, int top)
{
    // To a new top in twips; a widget already there does not move.
    if (topTwips(widget) != top)
        setTopTwips(widget, top);
}

void ctlSensorHardware::recaption(QLabel *label, const QString &caption)
{
    // The next pause shows a caption that changed.
    if (MKorvane::setCaption(label, caption))
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
    // A range caption names the field shown under it (the list for enumerated formats).
    for (const auto &[caption, field] :
        { std::pair { ui->lblMin, mblnIsEnumFormat ? static_cast<QWidget *>(ui->cboMin) : ui->txtMin },
            std::pair { ui->lblMax, mblnIsEnumFormat ? static_cast<QWidget *>(ui->cboMax) : ui->txtMax } }) {
        if (caption->buddy() != field)
            caption->setBuddy(field);
    }

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
            recaption(ui->lblUnitOffset, OffsetUnit);
            recaption(ui->lblUnitMaxRange, RangeUnit);
            recaption(ui->lblUnitMinRange, RangeUnit);
            recaption(ui->lblValue, RangeUnit);
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
    // and each widget goes straight to its last place: a digital input's range fields
    // never visit their linear places on the way. The range captions, too, are set once,
    // to the interpretation's own.
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

    QString maxCaption = QStringLiteral("Max. Value");
    QString minCaption = QStringLiteral("Min. Value");

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
        maxCaption = QStringLiteral("ON Value");
        minCaption = QStringLiteral("OFF Value");
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

    recaption(ui->lblMax, MKorvane::GetLanguageString(maxCaption));
    recaption(ui->lblMin, MKorvane::GetLanguageString(minCaption));
    for (const auto &[widget, top] : tops.items())
        moveWidget(widget, top);
}

void ctlSensorHardware::ShowInterpretationLayout(QString &Unit, QString &OffsetUnit)
{
    // Every step that fails is skipped; nothing is reported from here. A handler that the
    // layout raises (the signal list given its stored type) does not pause either.
    const MKorvane::ScreenChanges::Hold hold(mScreen);
    const MKorvane::CaptionBatch captions; // each label grows once, for its final caption
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
            showWidget(label, !digital && !mblnIsEnumFormat);
        for (QWidget *widget : selectorWidgets)
            showWidget(widget, false);
        showWidget(ui->cboSignal, true);
        showWidget(ui->lblCboSignal, true);
        step([&] { SetSignalCombo(interpretation); });
        step([&] { ArrangeRangeControls(); });
    } else if (interpretation == MultiLevel) {
        step([&] {
            ShowHardwareControls(true, true, false, false, false, false, version1, false, false, false, false, false);
        });
        showWidget(ui->lblUnitOffset, version1);
        showWidget(ui->lblUnitMinRange, false);
        showWidget(ui->lblUnitMaxRange, false);
        showWidget(ui->lblValue, false);
        // Version 1 sets the increment here; version 2 keeps its levels in the transfer table.
        for (QWidget *widget : selectorWidgets)
            showWidget(widget, version1);
        showWidget(ui->cboSignal, true);
        showWidget(ui->lblCboSignal, true);
        showWidget(ui->cmdTable, MKorvane::ObjMajorVersion() == 2);
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
            showWidget(widget, false);
        step([&] { SetSignalCombo(interpretation); });
    }
    step([&] { ShowValueButton(); });
}
