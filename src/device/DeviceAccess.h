// SPDX-License-Identifier: MIT
// The library's one entry to the device library: a host installs one implementation
// once; each service is created from it on first use and kept for the process.
#pragma once

#include "device/Failure.h"
#include "device/Objects.h"
#include "device/Resources.h"
#include "device/Services.h"

namespace DeviceAccess {

// What an implementation of the device library provides: a factory per service.
class Implementation
{
public:
    virtual ~Implementation() = default;
    virtual std::shared_ptr<ResourceCatalog> createResourceCatalog() = 0;
    virtual std::shared_ptr<TypeService> createTypeService() = 0;
    virtual std::shared_ptr<FormatCatalog> createFormatCatalog() = 0;
    virtual std::shared_ptr<FormatService> createFormatService() = 0;
    virtual std::shared_ptr<LanguageService> createLanguageService() = 0;
    virtual std::shared_ptr<LanguageFileService> createLanguageFileService() = 0;
};

// Installs the implementation and forgets the services created from the previous one.
void install(std::shared_ptr<Implementation> implementation);
std::shared_ptr<Implementation> installed();
// Throws the DeviceError that every service throws while no implementation is installed, so that
// a public operation can stop at its start with one report instead of one per device call.
void requireInstalled();

// The process-wide services. Each throws DeviceError when no implementation is installed.
ResourceCatalog &resourceCatalog();
TypeService &typeService();
FormatCatalog &formatCatalog();
FormatService &formatService();
LanguageService &languageService();
LanguageFileService &languageFileService();

} // namespace DeviceAccess
