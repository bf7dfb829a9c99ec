// SPDX-License-Identifier: MIT
// The process-wide services of the simulated device library.
#pragma once

#include "device/Services.h"
#include "device/sim/SimCore.h"

namespace Sim {

std::shared_ptr<DeviceAccess::ResourceCatalog> makeResourceCatalog(const CorePtr &core);
std::shared_ptr<DeviceAccess::TypeService> makeTypeService(const CorePtr &core);
std::shared_ptr<DeviceAccess::FormatCatalog> makeFormatCatalog(const CorePtr &core);
std::shared_ptr<DeviceAccess::FormatService> makeFormatService(const CorePtr &core);
std::shared_ptr<DeviceAccess::LanguageService> makeLanguageService(const CorePtr &core);
std::shared_ptr<DeviceAccess::LanguageFileService> makeLanguageFileService(const CorePtr &core);

} // namespace Sim
