// SPDX-License-Identifier: MIT
// Handing a control the objects of one input, in the order the controls expect them:
// System, DeviceObject, DeviceProgID, then DRFScope and Choice for the hardware
// control, MesureUnit, NodeObject.
#pragma once

#include <QString>

class ctlSensorHardware;
class ctlSensorNV;

namespace Sim {
class Network;
}

namespace Host {

struct InputRef
{
    QString device;
    QString block;
    bool operator==(const InputRef &other) const { return device == other.device && block == other.block; }
};

// Device-library failures pass to the caller (DeviceAccess::Failure).
void handOver(ctlSensorHardware &control, Sim::Network &network, const InputRef &input, const QString &choice,
    qint16 measurementSystem);
void handOver(ctlSensorNV &control, Sim::Network &network, const InputRef &input, qint16 measurementSystem);

} // namespace Host
