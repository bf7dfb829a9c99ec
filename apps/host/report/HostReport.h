// SPDX-License-Identifier: MIT
// The headless report: for every hardware input of every device of a network, its
// network-variable type, format, unit and current value in SI and in US units, all
// found through the library's shared module as the controls find them.
#pragma once

#include <QString>
#include <QStringList>
#include <QVector>

namespace Sim {
class Network;
}

namespace Host {

// One input read in one measurement system.
struct UnitReading
{
    QString format; // absolute format name for absolute values
    QString diffFormat; // the format for differences (offsets)
    QString unit;
    QString value;
    QString error; // what went wrong, empty when all went well
    bool read = false; // the value was read (a notice may come with it)
};

// One field of a control as the page shows it in both measurement systems.
struct ShownValue
{
    QString control; // "hardware" or "network"
    QString field; // the widget's object name
    QString caption;
    QString si;
    QString siUnit;
    QString us;
    QString usUnit;
};

struct InputReport
{
    QString block;
    QString variable; // the block's first network variable
    QString typeName; // empty when the type tree has no node
    qint32 typeIndex = -1;
    qint32 baseKind = 0;
    UnitReading si;
    UnitReading us;
    QString error; // the input could not be read at all
    QVector<ShownValue> fields; // what both controls show (addShownFields)
    QStringList messages; // what the controls raised while showing the input
};

struct DeviceReport
{
    QString name;
    QString programId;
    qint32 scope = 0;
    bool configurable = false;
    QString reason; // why it cannot be configured (the device-state check's message)
    QVector<InputReport> inputs;
    QStringList unreadInputs; // the blocks of a device that cannot be configured
};

struct NetworkReport
{
    QVector<DeviceReport> devices;
    const DeviceReport *device(const QString &name) const;
    const InputReport *input(const QString &deviceName, const QString &blockName) const;
    // Inputs of configurable devices that could not be read in both systems, "device / input"
    // each. A device that cannot be configured is a state the report tells, not a failure.
    QStringList unreadInputs() const;
};

// Installs the network as the device library and reads every input. The measurement
// system of the process is left as it was.
NetworkReport buildReport(Sim::Network &network);

// The report as readable text, one block per device.
QString formatReport(const NetworkReport &report);

} // namespace Host
