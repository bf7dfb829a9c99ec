// SPDX-License-Identifier: MIT
// Shared by the network-control tests: a control placed on one block of the test network
// the way a host places it, with its events and the device calls recorded.
#pragma once

#include "network/ctlSensorNV.h"
#include "shared/Enumerations.h"
#include "support/SeamRecorder.h"
#include "support/SimFixture.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <memory>

namespace NetworkTest {

// Blocks of tests/data/network-nv.json by their output network variable.
inline const QString Temperature = QStringLiteral("HwInput[0]"); // SNVT_temp_p
inline const QString Switch = QStringLiteral("HwInput[2]"); // SNVT_switch, a structure that sends deltas
inline const QString Occupancy = QStringLiteral("HwInput[3]"); // SNVT_occupancy, an enumeration
inline const QString Setpoints = QStringLiteral("HwInput[12]"); // SNVT_temp_setpt, another structure
inline const QString NoOverride = QStringLiteral("HwInput[20]"); // lacks SCPTovrValue
inline const QString NoProperties = QStringLiteral("HwInput[21]"); // has no properties at all

struct Harness
{
    // The test network by default; an empty name gives the sample network of the project.
    explicit Harness(const QString &database = QStringLiteral("network-nv.json"))
        : sim(database)
    {
    }
    TestSupport::SimFixture sim;
    TestSupport::SeamRecorder seams;
    std::unique_ptr<ctlSensorNV> control;
    const QString device = QStringLiteral("HWI-Controller 1");
    QStringList events; // MessageEvent as "Modulename FunctionName TypeIndex: Message"
    QStringList valueEvents; // ValueChangeEvent as "ClassId ObjectName=NewValue"

    // A new control with its events recorded; with a block, handed that block in the host's order.
    void open(const QString &block = QString(), qint16 unit = MEASUREMENT_SYSTEM_SI)
    {
        control = std::make_unique<ctlSensorNV>();
        QObject::connect(control.get(), &ctlSensorNV::MessageEvent, control.get(),
            [this](const QString &Message, const QString &Module, const QString &Function, qint32 Type, bool &) {
                events << QStringLiteral("%1 %2 %3: %4").arg(Module, Function).arg(Type).arg(Message);
            });
        QObject::connect(control.get(), &ctlSensorNV::ValueChangeEvent, control.get(),
            [this](const QString &NewValue, qint16 ClassId, const QString &ObjectName) {
                valueEvents << QStringLiteral("%1 %2=%3").arg(ClassId).arg(ObjectName, NewValue);
            });
        if (block.isEmpty())
            return;
        control->setSystem(sim->system());
        control->setDeviceObject(sim->device(device));
        control->setDeviceProgID(sim->programId(device));
        control->setMesureUnit(unit);
        control->setNodeObject(sim->block(device, block));
        control->ZovezuVavevaInit();
    }

    template<typename T = QWidget> T *widget(const QString &name) const { return control->findChild<T *>(name); }
    DeviceAccess::NetworkVariablePtr nv(const QString &block) const
    {
        return sim->block(device, block)->NetworkVariables()->Item(1);
    }

    // A caption, a box's or button's text, a list's selected text.
    QString shown(const QString &name) const
    {
        const QWidget *shown = widget(name);
        for (const char *property : { "text", "title", "currentText" }) {
            if (shown->property(property).isValid())
                return shown->property(property).toString();
        }
        return QString();
    }

    // Changes a box or chooses in a list as a user does, in this control or another one.
    void edit(const QString &name, const QString &text, QWidget *in = nullptr) const
    {
        QWidget *target = (in ? in : control.get())->findChild<QWidget *>(name);
        if (auto *list = qobject_cast<QComboBox *>(target))
            list->setCurrentIndex(list->findText(text));
        else
            qobject_cast<QLineEdit *>(target)->setText(text);
    }

    // The names among `names` that are not hidden.
    QString visible(const QStringList &names) const
    {
        QStringList result;
        for (const QString &name : names) {
            if (!widget(name)->isHidden())
                result << name;
        }
        return result.join(' ');
    }

    // The format a field was read in, from its tool tip.
    QString readFormat(const QString &name) const { return widget(name)->toolTip().section(QStringLiteral(": "), 1); }

    // Every value written, as "property@format=text" (format empty: the property's default).
    QStringList writes() const
    {
        QMap<QString, QString> format;
        QStringList result;
        for (const Sim::CallRecord &call : sim->callLog()) {
            const QString cp = call.arguments.value(0);
            if (call.operation == QLatin1String("ConfigProperty.setFormat"))
                format[cp] = call.arguments.value(1).section(QLatin1Char('.'), -1);
            else if (call.operation == QLatin1String("ConfigProperty.setValueText"))
                result << cp + QLatin1Char('@') + format.value(cp) + QLatin1Char('=') + call.arguments.value(1);
        }
        return result;
    }
};

// The inputs the walks over the control's widgets (their names, their colours) open.
inline void addWalkRows()
{
    QTest::addColumn<QString>("block");
    QTest::addColumn<qint16>("unit");
    QTest::addColumn<bool>("nameEditable");
    const qint16 si = MEASUREMENT_SYSTEM_SI;
    QTest::newRow("temperature") << Temperature << si << false;
    QTest::newRow("temperature, US") << Temperature << qint16(MEASUREMENT_SYSTEM_US) << false;
    QTest::newRow("temperature, name editable") << Temperature << si << true;
    QTest::newRow("enumeration") << Occupancy << si << false;
    QTest::newRow("switch") << Switch << si << false;
    QTest::newRow("set points") << Setpoints << si << false;
    QTest::newRow("no override") << NoOverride << si << false;
}

// Opens and shows the control on the input of the current row of addWalkRows().
inline void openWalkRow(Harness &h)
{
    QFETCH(QString, block);
    QFETCH(qint16, unit);
    QFETCH(bool, nameEditable);
    h.open(block, unit);
    h.control->setAllowChangeNvName(nameEditable);
    h.control->show();
}

} // namespace NetworkTest
