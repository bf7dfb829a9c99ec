// SPDX-License-Identifier: MIT
// Opening the network database that the host works on: the file the user named, or
// the working copy of the sample network.
#pragma once

#include "DatabaseStamp.h"

#include <QString>
#include <memory>

namespace Sim {
class Network;
}

namespace Host {

struct OpenResult
{
    std::shared_ptr<Sim::Network> network;
    QString path; // the file that was (or was to be) loaded
    QString error; // why it could not be loaded
    DatabaseStamp stamp; // the file as it was loaded
};

// path empty: the working copy (made from the sample on first use, or afresh with reset).
OpenResult openNetwork(const QString &path, bool reset);

} // namespace Host
