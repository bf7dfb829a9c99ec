// SPDX-License-Identifier: MIT
// The functional block's network variable and object major version.
#include "shared/DeviceState.h"

#include "shared/Checked.h"
#include "shared/Numbers.h"
#include "shared/Steps.h"

namespace MKorvane {

DeviceAccess::NetworkVariablePtr GetFirstNetworkVariable(const DeviceAccess::LonMarkObjectPtr &block)
{
    DeviceAccess::NetworkVariablePtr nv = deref(deref(block).NetworkVariables()).Item(1);
    deref(nv);
    return nv;
}

double GetObjMajorVersion(const DeviceAccess::ConfigPropertiesPtr &cps)
{
    double version = 0;
    skipOnFailure([&] {
        const DeviceAccess::ConfigPropertyPtr cp = deref(cps).Item(QStringLiteral("SCPTobjMajVer"));
        version = LeadingNumber(deref(cp).ValueText());
    });
    return version;
}

} // namespace MKorvane
