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
        // The stamp must describe the bytes loaded: a file that changes while it loads is
        // loaded again.
        for (int attempt = 0; attempt < 3; ++attempt) {
            result.stamp = DatabaseStamp::ofFile(result.path);
            result.network = Sim::Network::load(result.path);
            if (result.stamp.sameLook(DatabaseStamp::lookOf(result.path)))
                break;
        }
    } catch (const Sim::LoadError &error) {
        // The callers name the file; the message would name it a second time.
        const QString prefix = result.path + QStringLiteral(": ");
        result.error = error.message().startsWith(prefix) ? error.message().mid(prefix.size()) : error.message();
    } catch (const std::exception &error) {
        result.error = QString::fromLocal8Bit(error.what());
    }
    return result;
}

} // namespace Host
