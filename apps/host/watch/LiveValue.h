// SPDX-License-Identifier: MIT
// The live value of one input, read the way the hardware control's "Get Value" reads it:
// the device-state check, then the block's first network variable in the input's
// format for the units shown (the difference format for a set-point offset).
#pragma once

#include "device/DeviceAccess.h"
#include "page/ControlHandover.h"

#include <QCoreApplication>
#include <QString>

namespace Sim {
class Network;
}

namespace Host {

struct LiveReading
{
    bool ok = false;
    double value = 0;
    QString text; // as the device library shows it
    QString problem; // why there is no value (ok false)
};

class LiveValue
{
    Q_DECLARE_TR_FUNCTIONS(Host::LiveValue)

public:
    // Resolves the format once; a failure shows in every reading. Device failures do not pass.
    LiveValue(Sim::Network &network, const InputRef &input, qint16 measurementSystem, bool setpointOffset);

    QString unit() const { return m_unit; }
    LiveReading read() const;

private:
    DeviceAccess::SystemPtr m_system;
    DeviceAccess::AppDevicePtr m_device;
    DeviceAccess::LonMarkObjectPtr m_block;
    QString m_format;
    QString m_unit;
    QString m_problem;
};

} // namespace Host
