// SPDX-License-Identifier: MIT
// The functional block's object major version (leading number, rounding halves to
// even, 0 on any failure) and its first network variable.
#include "device/sim/SimModel.h"
#include "shared/DeviceState.h"
#include "shared/Numbers.h"
#include "shared/ProcessState.h"
#include "support/SimFixture.h"

#include <QtTest>

using namespace MKorvane;

namespace {

const QString NetworkFile = QStringLiteral("mkorvane-network.json");
const QString Device = QStringLiteral("Controller");

} // namespace

class tst_devicestate : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { resetForTests(); }

    void objMajorVersion_data();
    void objMajorVersion();
    void firstNetworkVariable_data();
    void firstNetworkVariable();
};

void tst_devicestate::objMajorVersion_data()
{
    QTest::addColumn<QString>("block");
    QTest::addColumn<QString>("stored"); // empty: the file's value
    QTest::addColumn<bool>("fault");
    QTest::addColumn<double>("version");
    QTest::addColumn<int>("rounded");
    const auto row = [](const char *name, const char *block, const char *stored, bool fault, double version,
                         int rounded) { QTest::newRow(name) << block << stored << fault << version << rounded; };

    row("2", "Temp", "", false, 2.0, 2);
    row("1", "NoNv", "", false, 1.0, 1);
    row("1.5 rounds up to even", "Temp", "1.5", false, 1.5, 2);
    row("2.5 rounds down to even", "Temp", "2.5", false, 2.5, 2);
    row("blanks and text after", "Temp", "  3 (rev B)", false, 3.0, 3);
    row("no number", "Temp", "v2", false, 0.0, 0);
    row("missing property", "NoVersion", "", false, 0.0, 0);
    row("device failure", "Temp", "", true, 0.0, 0);
}

void tst_devicestate::objMajorVersion()
{
    QFETCH(QString, block);
    QFETCH(QString, stored);
    QFETCH(bool, fault);
    QFETCH(double, version);
    QFETCH(int, rounded);

    TestSupport::SimFixture sim(NetworkFile);
    QVERIFY2(sim.isLoaded(), qPrintable(sim.errorString()));
    if (!stored.isEmpty())
        sim->model().device(Device)->block(block)->cp(QStringLiteral("SCPTobjMajVer"))->value.text = stored;
    if (fault)
        sim->failOperation("ConfigProperty.ValueText", DeviceAccess::DeviceError::ObjectErrorBase + 61);
    const double got = GetObjMajorVersion(sim->block(Device, block)->ConfigProperties());
    QCOMPARE(got, version);
    QCOMPARE(int(RoundToInteger(got)), rounded);
    QCOMPARE(GetObjMajorVersion(nullptr), 0.0);
}

void tst_devicestate::firstNetworkVariable_data()
{
    QTest::addColumn<QString>("block"); // empty: no block at all
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("errorNumber"); // -1: any failure
    // clang-format off
    QTest::newRow("first of two") << "Temp" << "nvoTemp" << 0;
    QTest::newRow("no variables") << "NoNv" << "" << -1;
    QTest::newRow("no block") << "" << "" << int(DeviceAccess::RuntimeError::ObjectNotSet);
    // clang-format on
}

void tst_devicestate::firstNetworkVariable()
{
    QFETCH(QString, block);
    QFETCH(QString, name);
    QFETCH(int, errorNumber);

    TestSupport::SimFixture sim(NetworkFile);
    QVERIFY2(sim.isLoaded(), qPrintable(sim.errorString()));
    const DeviceAccess::LonMarkObjectPtr object = block.isEmpty() ? nullptr : sim->block(Device, block);
    try {
        const DeviceAccess::NetworkVariablePtr nv = GetFirstNetworkVariable(object);
        QVERIFY2(errorNumber == 0, "expected a failure");
        QVERIFY(nv);
        QCOMPARE(nv->Name(), name);
    } catch (const DeviceAccess::Failure &failure) {
        QVERIFY2(errorNumber != 0, qPrintable(failure.description()));
        if (errorNumber > 0) {
            QCOMPARE(failure.number(), errorNumber);
            QCOMPARE(failure.description(), QStringLiteral("Object variable not set"));
        }
    }
}

QTEST_MAIN(tst_devicestate)
#include "tst_devicestate.moc"
