// SPDX-License-Identifier: MIT
// Shared by the hardware-control tests: a control placed on a simulated network the way
// a host places it, with its events recorded, and lookups of blocks and widgets.
#pragma once

#include "hardware/ctlSensorHardware.h"
#include "support/SeamRecorder.h"
#include "support/SimFixture.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <memory>

namespace HardwareTest {

// Every child widget of the control by name.
inline const QStringList &allWidgetNames()
{
    static const QStringList names = {
        QStringLiteral("txtMin"),
        QStringLiteral("cboTherm"),
        QStringLiteral("txtValue"),
        QStringLiteral("cmdValue"),
        QStringLiteral("txtSelector"),
        QStringLiteral("txtMax"),
        QStringLiteral("cboInput"),
        QStringLiteral("chkReverse"),
        QStringLiteral("cboSignal"),
        QStringLiteral("txtOff"),
        QStringLiteral("cmdTable"),
        QStringLiteral("cboMin"),
        QStringLiteral("cboMax"),
        QStringLiteral("lblValue"),
        QStringLiteral("lblSelectorUnit"),
        QStringLiteral("lblSelector"),
        QStringLiteral("lblTherm"),
        QStringLiteral("lblMax"),
        QStringLiteral("lblMin"),
        QStringLiteral("lblOff"),
        QStringLiteral("lblUnitOffset"),
        QStringLiteral("lblUnitMaxRange"),
        QStringLiteral("lblSignal"),
        QStringLiteral("lblReverse"),
        QStringLiteral("lblCboSignal"),
        QStringLiteral("lblUnitMinRange"),
    };
    return names;
}

struct BlockRef
{
    QString device;
    QString block;
    bool isValid() const { return !block.isEmpty(); }
};

// Type indexes of the standard network-variable types used by the tests.
constexpr int SnvtLevPercent = 81;
constexpr int SnvtSwitch = 95;
constexpr int SnvtTempP = 105;
constexpr int SnvtOccupancy = 109;

// The type index that a SCPTnvType text names, in either of its layouts.
inline int typeIndexOf(const QString &nvType)
{
    if (nvType.startsWith(QLatin1String("PID"))) {
        const QStringList groups = nvType.split(QLatin1Char(','));
        return groups.size() > 2 ? groups.at(2).trimmed().split(QLatin1Char(' ')).value(1).toInt() : -1;
    }
    return nvType.split(QLatin1Char(' ')).value(9, QStringLiteral("-1")).toInt();
}

// The first block of the network with that object major version and network-variable type.
inline BlockRef findBlock(Sim::Network &network, int version, int typeIndex)
{
    for (const QString &device : network.deviceNames()) {
        for (const QString &block : network.blockNames(device)) {
            const int blockVersion = network.storedCpText(device, block, QStringLiteral("SCPTobjMajVer")).toInt();
            const int blockType = typeIndexOf(network.storedCpText(device, block, QStringLiteral("SCPTnvType"), true));
            if (blockVersion == version && blockType == typeIndex)
                return { device, block };
        }
    }
    return {};
}

struct MessageEventRecord
{
    QString message;
    QString modulename;
    QString functionName;
    qint32 typeIndex = 0;
};

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
    BlockRef ref;
    QVector<MessageEventRecord> events;
    QVector<bool> setpointEvents;
    // When true, the host takes every message (IsReceived = True): no box is shown.
    bool hostTakesMessages = false;

    // Creates the control and hands it the block the way a host does; ZovezuVavevaInit
    // only when `init` is true.
    void place(const BlockRef &block, qint16 measurementSystem = MEASUREMENT_SYSTEM_SI,
        const QString &choice = QString(), bool init = true)
    {
        ref = block;
        control = std::make_unique<ctlSensorHardware>();
        QObject::connect(
            control.get(), &ctlSensorHardware::MessageEvent, control.get(),
            [this](const QString &Message, const QString &Modulename, const QString &FunctionName, qint32 TypeIndex,
                bool &IsReceived) {
                events.append({ Message, Modulename, FunctionName, TypeIndex });
                IsReceived = hostTakesMessages;
            },
            Qt::DirectConnection);
        QObject::connect(
            control.get(), &ctlSensorHardware::OnSetpointOffSetEvent, control.get(),
            [this](bool &IsSetpointOffSet) { setpointEvents.append(IsSetpointOffSet); }, Qt::DirectConnection);
        control->setDeviceProgID(sim->programId(block.device));
        control->setDRFScope(sim->scope(block.device));
        control->setChoice(choice);
        control->setMesureUnit(measurementSystem);
        control->setSystem(sim->system());
        control->setDeviceObject(sim->device(block.device));
        control->setNodeObject(sim->block(block.device, block.block));
        if (init)
            control->ZovezuVavevaInit();
    }

    template<typename T = QWidget> T *widget(const QString &name) const { return control->findChild<T *>(name); }
    QLineEdit *box(const QString &name) const { return widget<QLineEdit>(name); }
    QComboBox *combo(const QString &name) const { return widget<QComboBox>(name); }
    QLabel *label(const QString &name) const { return widget<QLabel>(name); }

    // Picks an interpretation the way a user does; false when the list does not offer it.
    bool choose(const QString &interpretation) const
    {
        QComboBox *input = combo(QStringLiteral("cboInput"));
        const int index = input->findText(interpretation, Qt::MatchExactly | Qt::MatchCaseSensitive);
        if (index < 0)
            return false;
        input->setCurrentIndex(index);
        return true;
    }

    QString stored(const QString &cpName, bool nvCp = false) const
    {
        return sim->storedCpText(ref.device, ref.block, cpName, nvCp);
    }
    void store(const QString &cpName, const QString &text) const
    {
        sim->setStoredCpText(ref.device, ref.block, cpName, text);
    }

    // The names of the widgets that the layout shows.
    QStringList visibleWidgets() const
    {
        QStringList visible;
        for (const QString &name : allWidgetNames()) {
            if (!widget(name)->isHidden())
                visible.append(name);
        }
        visible.sort();
        return visible;
    }

    // The device calls of one operation ("ConfigProperty.setValueText") on one property.
    QVector<QStringList> calls(const QString &operation, const QString &objectName = QString()) const
    {
        QVector<QStringList> found;
        for (const Sim::CallRecord &call : sim->callLog()) {
            if (call.operation == operation && (objectName.isEmpty() || call.arguments.value(0) == objectName))
                found.append(call.arguments);
        }
        return found;
    }
};

} // namespace HardwareTest
