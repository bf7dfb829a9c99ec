// SPDX-License-Identifier: MIT
// The installed implementation and the services created from it on first use.
#include "device/DeviceAccess.h"

namespace DeviceAccess {
namespace {

struct Installed
{
    std::shared_ptr<Implementation> implementation;
    std::shared_ptr<ResourceCatalog> resourceCatalog;
    std::shared_ptr<TypeService> typeService;
    std::shared_ptr<FormatCatalog> formatCatalog;
    std::shared_ptr<FormatService> formatService;
    std::shared_ptr<LanguageService> languageService;
    std::shared_ptr<LanguageFileService> languageFileService;
};

Installed &state()
{
    static Installed installed;
    return installed;
}

Implementation &implementation()
{
    if (!state().implementation)
        throw DeviceError(DeviceError::ObjectErrorBase + 1, QStringLiteral("No device library is installed."));
    return *state().implementation;
}

template<typename Service, typename Create> Service &service(std::shared_ptr<Service> &slot, Create create)
{
    if (!slot)
        slot = (implementation().*create)();
    if (!slot)
        throw DeviceError(
            DeviceError::ObjectErrorBase + 1, QStringLiteral("The device library offers no such service."));
    return *slot;
}

} // namespace

void install(std::shared_ptr<Implementation> implementation)
{
    state() = Installed { std::move(implementation), {}, {}, {}, {}, {}, {} };
}

std::shared_ptr<Implementation> installed()
{
    return state().implementation;
}

void requireInstalled()
{
    implementation();
}

ResourceCatalog &resourceCatalog()
{
    return service(state().resourceCatalog, &Implementation::createResourceCatalog);
}

TypeService &typeService()
{
    return service(state().typeService, &Implementation::createTypeService);
}

FormatCatalog &formatCatalog()
{
    return service(state().formatCatalog, &Implementation::createFormatCatalog);
}

FormatService &formatService()
{
    return service(state().formatService, &Implementation::createFormatService);
}

LanguageService &languageService()
{
    return service(state().languageService, &Implementation::createLanguageService);
}

LanguageFileService &languageFileService()
{
    return service(state().languageFileService, &Implementation::createLanguageFileService);
}

} // namespace DeviceAccess
