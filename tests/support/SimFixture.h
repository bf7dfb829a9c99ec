// SPDX-License-Identifier: MIT
// A simulated network for one test: a private copy of a database file in a temporary
// folder, loaded and installed as the device library, with the process-wide state of
// the library reset. Create one per test function (in init()) and drop it in cleanup().
#pragma once

#include "device/sim/SimNetwork.h"
#include "shared/ProcessStateTesting.h"
#include "support/SeamRecorder.h"

#include <QString>
#include <QTemporaryDir>
#include <memory>

namespace TestSupport {

class SimFixture
{
public:
    // fileName empty: the sample network of the project's data folder; otherwise a file
    // of tests/data (or an absolute path).
    explicit SimFixture(const QString &fileName = QString());
    ~SimFixture();
    SimFixture(const SimFixture &) = delete;
    SimFixture &operator=(const SimFixture &) = delete;

    // False when the copy or the load failed; errorString() says why.
    bool isLoaded() const { return bool(m_network); }
    QString errorString() const { return m_error; }

    std::shared_ptr<Sim::Network> network() const { return m_network; }
    Sim::Network *operator->() const { return m_network.get(); }

    // The temporary folder and the database copy inside it.
    QString tempPath() const { return m_dir.path(); }
    QString databasePath() const { return m_databasePath; }

    // Loads the copy again (after a save) and installs it; the library state is reset.
    bool reload();

    // Convenience for the common case: the first device of the network and its first block.
    QString firstDeviceName() const;
    QString firstBlockName() const;
    DeviceAccess::AppDevicePtr firstDevice() const;
    DeviceAccess::LonMarkObjectPtr firstBlock() const;

    // Where the shared test databases live.
    static QString sampleNetworkPath();
    static QString testDataPath(const QString &fileName);

private:
    bool loadCopy();

    QTemporaryDir m_dir;
    QString m_databasePath;
    std::shared_ptr<Sim::Network> m_network;
    QString m_error;
};

} // namespace TestSupport
