// SPDX-License-Identifier: MIT
/// @file
/// The functional block's network variable and object major version.
#pragma once

#include "vqzovezuvaveva_export.h"

#include "device/DeviceAccess.h"

namespace MKorvane {

/// Item 1 of the block's network variables; throws when there is no block or no variable.
VQ_EXPORT DeviceAccess::NetworkVariablePtr GetFirstNetworkVariable(const DeviceAccess::LonMarkObjectPtr &block);

/// The number at the start of "SCPTobjMajVer"; 0 on any failure.
VQ_EXPORT double GetObjMajorVersion(const DeviceAccess::ConfigPropertiesPtr &cps);

} // namespace MKorvane
