// SPDX-License-Identifier: MIT
// The base of a test object whose every test function starts on a fresh copy of a
// simulated network (`sim`: the sample network, or the database file named at
// construction), loaded and installed, and drops it afterwards with the library's
// process-wide state reset. A test object adds its own set-up and tear-down in prepare()
// and finish() instead of repeating init() and cleanup().
#pragma once

#include "shared/ProcessStateTesting.h"
#include "support/SimFixture.h"

#include <QObject>
#include <QTest>
#include <memory>

namespace TestSupport {

class SimTestCase : public QObject
{
    Q_OBJECT

public:
    // databaseFile as for SimFixture: empty for the sample network.
    explicit SimTestCase(const QString &databaseFile = QString())
        : m_databaseFile(databaseFile)
    {
    }

protected:
    std::unique_ptr<SimFixture> sim;

    // After the network is loaded, before each test function; a failed QVERIFY here skips it.
    virtual void prepare() { }
    // After each test function, before the network is dropped.
    virtual void finish() { }

private slots:
    void init()
    {
        sim = std::make_unique<SimFixture>(m_databaseFile);
        QVERIFY2(sim->isLoaded(), qPrintable(sim->errorString()));
        prepare();
    }
    void cleanup()
    {
        finish();
        sim.reset();
        MKorvane::resetForTests();
    }

private:
    QString m_databaseFile;
};

} // namespace TestSupport
