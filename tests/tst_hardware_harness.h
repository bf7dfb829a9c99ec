// SPDX-License-Identifier: MIT
// Shared by the hardware-control tests: a control placed on a block of a simulated
// network the way a host places it, with its events and the device calls recorded.
#pragma once

#include "hardware/ctlSensorHardware.h"
#include "support/SeamRecorder.h"
#include "support/SimFixture.h"
#include "support/TableRow.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <functional>
#include <memory>
#include <tuple>

namespace HardwareTest {

// Type indexes of the standard network-variable types in the test networks.
constexpr int SnvtSwitch = 95;
constexpr int SnvtTempP = 105;
constexpr int SnvtOccupancy = 109;

// "name=text;name=text" as pairs, in order.
inline QVector<QPair<QString, QString>> pairs(const QString &list)
{
    QVector<QPair<QString, QString>> result;
    for (const QString &pair : list.split(QLatin1Char(';'), Qt::SkipEmptyParts))
        result.append({ pair.section(QLatin1Char('='), 0, 0), pair.section(QLatin1Char('='), 1) });
    return result;
}

class Harness
{
public:
    explicit Harness(const QString &databaseFile = QString())
        : sim(databaseFile)
    {
    }

    TestSupport::SimFixture sim;
    TestSupport::SeamRecorder seams;
    std::unique_ptr<ctlSensorHardware> control;
    QString device;
    QString block;
    QStringList events; // MessageEvent as "FunctionName TypeIndex: Message"
    QString setpointEvents; // OnSetpointOffSetEvent as "1" (entered) or "0" (left) each

    // Stores `cps` ("name=text;...") in the first block of that object version and network-variable
    // type, then hands the block to a new control the way a host does. False: no such block.
    bool open(int version, int typeIndex = SnvtTempP, const QString &cps = QString(),
        qint16 unit = MEASUREMENT_SYSTEM_SI, const QString &choice = QString(), bool init = true)
    {
        // The type text ends with the type index in either of its layouts.
        for (const QString &d : sim.isLoaded() ? sim->deviceNames() : QStringList()) {
            for (const QString &b : sim->blockNames(d)) {
                if (block.isEmpty() && sim->storedCpText(d, b, QStringLiteral("SCPTobjMajVer")).toInt() == version
                    && sim->storedCpText(d, b, QStringLiteral("SCPTnvType"), true).section(' ', -1).toInt()
                        == typeIndex)
                    std::tie(device, block) = std::tie(d, b);
            }
        }
        if (block.isEmpty())
            return false;
        for (const auto &cp : pairs(cps))
            sim->setStoredCpText(device, block, cp.first, cp.second);
        control = std::make_unique<ctlSensorHardware>();
        QObject::connect(control.get(), &ctlSensorHardware::MessageEvent, control.get(),
            [this](const QString &Message, const QString &, const QString &FunctionName, qint32 TypeIndex, bool &) {
                events.append(QStringLiteral("%1 %2: %3").arg(FunctionName).arg(TypeIndex).arg(Message));
            });
        QObject::connect(control.get(), &ctlSensorHardware::OnSetpointOffSetEvent, control.get(),
            [this](bool &IsSetpointOffSet) { setpointEvents += IsSetpointOffSet ? '1' : '0'; });
        control->setDeviceProgID(sim->programId(device));
        control->setDRFScope(sim->scope(device));
        control->setChoice(choice);
        control->setMesureUnit(unit);
        control->setSystem(sim->system());
        control->setDeviceObject(sim->device(device));
        control->setNodeObject(sim->block(device, block));
        if (init)
            control->ZovezuVavevaInit();
        return true;
    }

    template<typename T = QWidget> T *widget(const QString &name) const { return control->findChild<T *>(name); }
    QComboBox *combo(const QString &name) const { return widget<QComboBox>(name); }
    QCheckBox *reverse() const { return widget<QCheckBox>(QStringLiteral("chkReverse")); }
    QString stored(const QString &cpName) const { return sim->storedCpText(device, block, cpName); }

    // What a widget shows: a caption, a box's or a list's text, "1" or "0" for the reverse flag.
    QString shown(const QString &name) const
    {
        if (auto *label = widget<QLabel>(name))
            return label->text();
        if (auto *box = widget<QLineEdit>(name))
            return box->text();
        if (QComboBox *list = combo(name))
            return list->currentText();
        return reverse()->isChecked() ? QStringLiteral("1") : QStringLiteral("0");
    }

    // Changes a widget the way a user does; false when a list does not offer the value.
    bool edit(const QString &name, const QString &value) const
    {
        if (auto *box = widget<QLineEdit>(name))
            box->setText(value);
        else if (QComboBox *list = combo(name))
            list->setCurrentIndex(list->findText(value, Qt::MatchExactly | Qt::MatchCaseSensitive));
        else
            reverse()->setChecked(value == QLatin1String("1"));
        return shown(name) == value;
    }
    bool choose(const QString &interpretation) const { return edit(QStringLiteral("cboInput"), interpretation); }

    // Opens the table editor, runs `inside` on it and closes it with `button`.
    void editTable(const QString &button = QStringLiteral("cmdOK"), const std::function<void(QDialog &)> &inside = {})
    {
        seams.setModalDriver([&](QDialog &editor) {
            if (inside)
                inside(editor);
            editor.findChild<QPushButton *>(button)->click();
            return editor.result();
        });
        widget<QPushButton>(QStringLiteral("cmdTable"))->click();
    }

    // The first argument after the property's name of each device call `operation` on that property.
    QStringList calls(
        const QString &cpName, const QString &operation = QStringLiteral("ConfigProperty.setValueText")) const
    {
        QStringList values;
        for (const Sim::CallRecord &call : sim->callLog()) {
            if (call.operation == operation && call.arguments.value(0) == cpName)
                values.append(call.arguments.value(1));
        }
        return values;
    }
};

// The inputs the walks over a control's widgets (their names, their colours) open: version 2
// in each interpretation and signal type, version 1 with a number and an enumeration, a switch.
inline void addWalkRows()
{
    QTest::addColumn<int>("version");
    QTest::addColumn<int>("typeIndex");
    QTest::addColumn<QString>("cps");
    const auto row = [](int version, int type, const char *interpretation, const char *signal, const char *name) {
        QTest::newRow(name) << version << type
                            << QStringLiteral("UCPTinputSignalInterpretation=%1;UCPTinputSignalType=%2")
                                   .arg(QLatin1String(interpretation), QLatin1String(signal));
    };
    row(2, SnvtTempP, "LINEAR", "VOLTAGE_0_10V", "v2 LINEAR, voltage");
    row(2, SnvtTempP, "LINEAR", "RESISTANCE", "v2 LINEAR, resistance");
    row(2, SnvtTempP, "LINEAR", "MILIAMPS_4_20MA", "v2 LINEAR, current");
    row(2, SnvtTempP, "STD_THERMISTOR", "RESISTANCE", "v2 STD_THERMISTOR");
    row(2, SnvtTempP, "TRANS_TABLE", "VOLTAGE_0_10V", "v2 TRANS_TABLE");
    row(2, SnvtTempP, "DIGITAL", "RESISTANCE", "v2 DIGITAL");
    row(2, SnvtTempP, "SETPOINT_OFFSET", "RESISTANCE", "v2 SETPOINT_OFFSET");
    row(1, SnvtTempP, "MULTI_LEVEL", "RESISTANCE", "v1 MULTI_LEVEL");
    row(1, SnvtOccupancy, "LINEAR", "VOLTAGE_0_10V", "v1 enumeration LINEAR");
    row(2, SnvtSwitch, "LINEAR", "VOLTAGE_0_10V", "v2 switch LINEAR");
}

// Opens and shows the control on the input of the current row of addWalkRows().
inline bool openWalkRow(Harness &h)
{
    QFETCH(int, version);
    QFETCH(int, typeIndex);
    QFETCH(QString, cps);
    if (!h.open(version, typeIndex, cps))
        return false;
    h.control->show();
    return true;
}

} // namespace HardwareTest
