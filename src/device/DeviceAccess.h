// SPDX-License-Identifier: MIT
/// @file
/// The library's one entry to the device library: a host installs one implementation
/// once; each service is created from it on first use and kept for the process.
#pragma once

#include "vqzovezuvaveva_export.h"

#include "device/Failure.h"
#include "device/Objects.h"
#include "device/Resources.h"
#include "device/Services.h"

namespace DeviceAccess {

/// What an implementation of the device library provides: a factory per service.
class VQ_EXPORT Implementation
{
public:
    virtual ~Implementation() = default;
    /// Factories of the six services, each called once, on the first use of its service after
    /// install(); the library keeps the result for the process. May throw DeviceError, which
    /// reaches the caller of the service accessor.
    /// @{
    virtual std::shared_ptr<ResourceCatalog> createResourceCatalog() = 0;
    virtual std::shared_ptr<TypeService> createTypeService() = 0;
    virtual std::shared_ptr<FormatCatalog> createFormatCatalog() = 0;
    virtual std::shared_ptr<FormatService> createFormatService() = 0;
    virtual std::shared_ptr<LanguageService> createLanguageService() = 0;
    virtual std::shared_ptr<LanguageFileService> createLanguageFileService() = 0;
    ///@}
};

/// Installs the implementation and forgets the services created from the previous one.
VQ_EXPORT void install(std::shared_ptr<Implementation> implementation);
/// The implementation installed last; nullptr before the first install().
VQ_EXPORT std::shared_ptr<Implementation> installed();
/// Throws the DeviceError that every service throws while no implementation is installed, so that
/// a public operation can stop at its start with one report instead of one per device call.
VQ_EXPORT void requireInstalled();

/// The process-wide services. Each throws DeviceError when no implementation is installed.
/// @{
VQ_EXPORT ResourceCatalog &resourceCatalog();
VQ_EXPORT TypeService &typeService();
VQ_EXPORT FormatCatalog &formatCatalog();
VQ_EXPORT FormatService &formatService();
VQ_EXPORT LanguageService &languageService();
VQ_EXPORT LanguageFileService &languageFileService();
///@}

} // namespace DeviceAccess
