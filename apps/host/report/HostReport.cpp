// SPDX-License-Identifier: MIT
// Building and printing the headless report.
#include "HostReport.h"

#include "device/sim/SimNetwork.h"
#include "shared/MKorvane.h"

#include <QTextStream>

namespace Host {

namespace {

UnitReading readInput(const DeviceAccess::NetworkVariablePtr &nv, qint16 measurementSystem, InputReport &input)
{
    UnitReading reading;
    DeviceAccess::TypeTreeNodePtr node;
    QString programId;
    QString longFormat;
    qint32 typeIndex = -1;
    qint32 baseKind = 0;
    QString errMsg;
    if (!MKorvane::GetNvTypeFormat(
            nv, measurementSystem, node, programId, longFormat, reading.unit, typeIndex, baseKind, errMsg)) {
        reading.error = errMsg.isEmpty() ? QStringLiteral("the format cannot be resolved") : errMsg;
        return reading;
    }
    input.typeIndex = typeIndex;
    input.baseKind = baseKind;
    if (node)
        MKorvane::skipOnFailure([&] { input.typeName = node->Name(); });
    // A format that resolved with a notice (no format object) still gets read.
    QString notices = errMsg;
    errMsg.clear();
    MKorvane::AdjustFormatForUnits(longFormat, measurementSystem, reading.diffFormat, reading.format, errMsg);
    reading.read = MKorvane::ReadNvValue(nv, reading.format, reading.value, errMsg);
    if (!reading.read)
        reading.error = errMsg;
    if (!notices.isEmpty())
        reading.error = reading.error.isEmpty() ? notices : notices + QStringLiteral("\r\n") + reading.error;
    return reading;
}

InputReport readBlock(const DeviceAccess::LonMarkObjectPtr &block, const QString &blockName)
{
    InputReport input;
    input.block = blockName;
    DeviceAccess::NetworkVariablePtr nv;
    const bool found = MKorvane::tryStep(
        [&] {
            nv = MKorvane::GetFirstNetworkVariable(block);
            input.variable = nv->Name();
        },
        [&](qint32, const QString &description) { input.error = description; });
    if (!found)
        return input;
    input.si = readInput(nv, MEASUREMENT_SYSTEM_SI, input);
    input.us = readInput(nv, MEASUREMENT_SYSTEM_US, input);
    return input;
}

QString oneLine(QString text)
{
    return text.replace(QStringLiteral("\r\n"), QStringLiteral(" / "));
}

void printReading(QTextStream &out, const char *system, const UnitReading &reading)
{
    out << "      " << system << ": ";
    if (!reading.format.isEmpty()) {
        out << "format " << reading.format;
        if (reading.diffFormat != reading.format)
            out << " (differences " << MKorvane::StripFormatPrefix(reading.diffFormat) << ")";
        out << ", unit \"" << reading.unit << "\", value " << reading.value;
        if (!reading.error.isEmpty())
            out << " -- " << oneLine(reading.error);
    } else {
        out << "not readable: " << oneLine(reading.error);
    }
    out << "\n";
}

} // namespace

const DeviceReport *NetworkReport::device(const QString &name) const
{
    for (const DeviceReport &d : devices) {
        if (d.name.compare(name, Qt::CaseInsensitive) == 0)
            return &d;
    }
    return nullptr;
}

const InputReport *NetworkReport::input(const QString &deviceName, const QString &blockName) const
{
    const DeviceReport *d = device(deviceName);
    if (!d)
        return nullptr;
    for (const InputReport &i : d->inputs) {
        if (i.block.compare(blockName, Qt::CaseInsensitive) == 0)
            return &i;
    }
    return nullptr;
}

QStringList NetworkReport::unreadInputs() const
{
    QStringList unread;
    for (const DeviceReport &d : devices) {
        for (const InputReport &i : d.inputs) {
            if (!i.error.isEmpty() || !i.si.read || !i.us.read)
                unread << d.name + QStringLiteral(" / ") + i.block;
        }
    }
    return unread;
}

NetworkReport buildReport(Sim::Network &network)
{
    DeviceAccess::install(network.implementation());
    MKorvane::LoadLanguageStrings();

    NetworkReport report;
    const QStringList deviceNames = network.deviceNames();
    for (const QString &deviceName : deviceNames) {
        DeviceReport device;
        device.name = deviceName;
        device.programId = network.programId(deviceName);
        device.scope = network.scope(deviceName);
        DeviceAccess::SystemPtr system = network.system();
        QString errMsg;
        device.configurable = MKorvane::CheckDeviceState(system, network.device(deviceName), errMsg);
        if (!device.configurable) {
            // The check fails silently on a device-library failure; say so rather than nothing.
            device.reason = errMsg.isEmpty() ? QStringLiteral("the device state cannot be read") : errMsg;
            device.unreadInputs = network.blockNames(deviceName);
        } else {
            const QStringList blockNames = network.blockNames(deviceName);
            for (const QString &blockName : blockNames)
                device.inputs << readBlock(network.block(deviceName, blockName), blockName);
        }
        report.devices << device;
    }
    return report;
}

QString formatReport(const NetworkReport &report)
{
    QString text;
    QTextStream out(&text);
    for (const DeviceReport &device : report.devices) {
        out << "Device \"" << device.name << "\" (program ID " << device.programId << ", scope " << device.scope
            << ")\n";
        if (!device.configurable) {
            out << "  cannot be configured: " << oneLine(device.reason) << "\n";
            continue;
        }
        if (device.inputs.isEmpty())
            out << "  no hardware inputs\n";
        for (const InputReport &input : device.inputs) {
            out << "  Input \"" << input.block << "\"";
            if (!input.error.isEmpty()) {
                out << ": " << oneLine(input.error) << "\n";
                continue;
            }
            out << ", variable " << input.variable << ", NV type " << input.typeIndex;
            if (!input.typeName.isEmpty())
                out << " " << input.typeName;
            out << " (base kind " << input.baseKind << ")\n";
            printReading(out, "SI", input.si);
            printReading(out, "US", input.us);
        }
    }
    return text;
}

} // namespace Host
