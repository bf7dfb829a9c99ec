// SPDX-License-Identifier: MIT
// The base of a test object whose every test function starts on a fresh copy of the
// sample network (`sim`), loaded and installed, and drops it afterwards.
#pragma once

#include "support/SimFixture.h"

#include <QObject>
#include <QTest>
#include <memory>

namespace TestSupport {

class SimTestCase : public QObject
{
    Q_OBJECT

protected:
    std::unique_ptr<SimFixture> sim;

private slots:
    void init()
    {
        sim = std::make_unique<SimFixture>();
        QVERIFY2(sim->isLoaded(), qPrintable(sim->errorString()));
    }
    void cleanup() { sim.reset(); }
};

} // namespace TestSupport
