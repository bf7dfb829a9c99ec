// SPDX-License-Identifier: MIT
// The network-database objects of the simulated network: thin views on the model's
// nodes that log every call and pass it through fault injection first.
#pragma once

#include "device/Objects.h"
#include "device/sim/SimCore.h"

namespace Sim {

DeviceAccess::SystemPtr makeSystem(const CorePtr &core);
DeviceAccess::AppDevicePtr makeDevice(const CorePtr &core, DeviceNode *node);
DeviceAccess::LonMarkObjectPtr makeBlock(const CorePtr &core, BlockNode *node);
DeviceAccess::NetworkVariablePtr makeNetworkVariable(const CorePtr &core, NvNode *node);
DeviceAccess::ConfigPropertyPtr makeConfigProperty(const CorePtr &core, CpNode *node);

// The stored value of a property as text in its SI default format, and back (unlogged),
// whatever the network's format locale. Text-like values are taken as they are, so tests
// can give a device odd texts.
QString defaultText(const NetworkModel &model, const CpNode &cp);
void setDefaultText(const NetworkModel &model, CpNode &cp, const QString &text);

} // namespace Sim
