// SPDX-License-Identifier: MIT
// Opening the network database.
#include "HostSession.h"

#include "DatabaseLocation.h"
#include "device/sim/SimNetwork.h"

namespace Host {

OpenResult openNetwork(const QString &path, bool reset)
{
    OpenResult result;
    result.path = path.isEmpty() ? workingCopyPath(reset, &result.error) : path;
    if (result.path.isEmpty())
        return result;
    try {
        result.network = Sim::Network::load(result.path);
    } catch (const Sim::LoadError &error) {
        result.error = error.message();
    } catch (const std::exception &error) {
        result.error = QString::fromLocal8Bit(error.what());
    }
    return result;
}

} // namespace Host
