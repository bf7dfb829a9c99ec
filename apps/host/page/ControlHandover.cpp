// SPDX-License-Identifier: MIT
// Handing the controls their device objects.
#include "ControlHandover.h"

#include "device/sim/SimNetwork.h"
#include "hardware/ctlSensorHardware.h"
#include "network/ctlSensorNV.h"

namespace Host {

void handOver(ctlSensorHardware &control, Sim::Network &network, const InputRef &input, const QString &choice,
    qint16 measurementSystem)
{
    control.setSystem(network.system());
    control.setDeviceObject(network.device(input.device));
    control.setDeviceProgID(network.programId(input.device));
    control.setDRFScope(network.scope(input.device));
    control.setChoice(choice);
    control.setMesureUnit(measurementSystem);
    control.setNodeObject(network.block(input.device, input.block));
}

void handOver(ctlSensorNV &control, Sim::Network &network, const InputRef &input, qint16 measurementSystem)
{
    control.setSystem(network.system());
    control.setDeviceObject(network.device(input.device));
    control.setDeviceProgID(network.programId(input.device));
    control.setMesureUnit(measurementSystem);
    control.setNodeObject(network.block(input.device, input.block));
}

} // namespace Host
