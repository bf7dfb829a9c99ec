// SPDX-License-Identifier: MIT
// The simulated network's test controls: the call log, injected faults, latency and
// resource-handle bookkeeping.
#include "device/sim/SimErrors.h"
#include "support/SimFixture.h"
#include "support/SimTestCase.h"

#include <QElapsedTimer>
#include <QTest>

using namespace DeviceAccess;

namespace {

const QString Controller = QStringLiteral("HWI-Controller 1");

} // namespace

class TestSimFaults : public TestSupport::SimTestCase
{
    Q_OBJECT

private slots:
    void callLog();
    void faults_data();
    void faults();
    void propertyStoresAnotherValue();
    void latency();
    void handleBookkeeping();

private:
    ConfigPropertyPtr cp(const QString &name)
    {
        return (*sim)->block(Controller, QStringLiteral("HwInput[0]"))->ConfigProperties()->Item(name);
    }
};

// Every device call is logged with its arguments, failed ones (injected or refused) with
// their error; an injected fault comes before the call's effect.
void TestSimFaults::callLog()
{
    Sim::Network &net = *sim->network();
    const ConfigPropertyPtr min = cp(QStringLiteral("SCPTminRnge"));
    const auto stored
        = [&] { return net.storedCpText(Controller, QStringLiteral("HwInput[0]"), QStringLiteral("SCPTminRnge")); };
    net.failOperation(QStringLiteral("ConfigProperty.setFormat"), 77, true);
    net.failOperation(QStringLiteral("ConfigProperty.setValueText"), 78, true, QStringLiteral("SCPTminRnge"));
    net.clearCallLog();
    QVERIFY_THROWS_EXCEPTION(DeviceError, min->setFormat(QStringLiteral("SNVT_temp_p#US"))); // injected
    QVERIFY_THROWS_EXCEPTION(DeviceError, min->setValueText(QStringLiteral("41"))); // injected
    QCOMPARE(min->Format(), QString());
    QCOMPARE(stored(), QStringLiteral("0.0"));
    min->setFormat(QStringLiteral("SNVT_temp_p#US")); // the faults were for one call each
    QVERIFY_THROWS_EXCEPTION(DeviceError, min->setValueText(QStringLiteral("abc"))); // refused
    min->setValueText(QStringLiteral("41"));
    QCOMPARE(stored(), QStringLiteral("5.0"));
    QVERIFY_THROWS_EXCEPTION(DeviceError, min->setFormat(QStringLiteral("SNVT_temp_p#EU")));
    resourceCatalog().CloseCatalog(resourceCatalog().OpenCatalog(true, QString()));

    QStringList log;
    for (const Sim::CallRecord &call : net.callLog()) {
        log << call.operation + QLatin1Char('(') + call.arguments.join(QLatin1Char('|')) + QLatin1Char(')')
                + (call.error ? QStringLiteral(" %1").arg(call.error) : QString());
        QCOMPARE(call.errorDescription.isEmpty(), call.error == 0);
    }
    QCOMPARE(log,
        (QStringList { "ConfigProperty.setFormat(SCPTminRnge|SNVT_temp_p#US) 77",
            "ConfigProperty.setValueText(SCPTminRnge|41) 78", "ConfigProperty.Format(SCPTminRnge)",
            "ConfigProperty.setFormat(SCPTminRnge|SNVT_temp_p#US)",
            QStringLiteral("ConfigProperty.setValueText(SCPTminRnge|abc) %1").arg(Sim::Errors::InvalidValueText),
            "ConfigProperty.setValueText(SCPTminRnge|41)",
            QStringLiteral("ConfigProperty.setFormat(SCPTminRnge|SNVT_temp_p#EU) %1").arg(Sim::Errors::UnknownFormat),
            "ResourceCatalog.OpenCatalog(True|)", "ResourceCatalog.CloseCatalog(1)" }));

    // Host-side lookups and test access are not device calls; switched-off logging records nothing.
    net.block(Controller, QStringLiteral("HwInput[1]"));
    net.setLogging(false);
    min->ValueText();
    QCOMPARE(net.callCount(), 9);
    net.setLogging(true);
    min->ValueText();
    QCOMPARE(net.callCount(QStringLiteral("ConfigProperty.ValueText")), 1);
    net.clearCallLog();
    QVERIFY(net.callLog().isEmpty());
}

void TestSimFaults::faults_data()
{
    QTest::addColumn<int>("nth"); // > 0: failCall, < 0: failFromCall(-nth), 0: failOperation
    QTest::addColumn<QString>("operation");
    QTest::addColumn<QString>("objectName");
    QTest::addColumn<bool>("once");
    QTest::addColumn<QString>("description"); // empty: the default one names the operation
    QTest::addColumn<QString>("failed"); // one mark per read of min, max, min, max
    const auto row = [](const char *name, int nth, const char *operation, const char *objectName, bool once,
                         const char *description, const char *failed) {
        QTest::newRow(name) << nth << operation << objectName << once << description << failed;
    };

    const char *read = "ConfigProperty.ValueText";
    row("next call", 1, "", "", true, "link down", "x---");
    row("third call", 3, "", "", true, "link down", "--x-");
    row("from the second call on", -2, "", "", false, "link down", "-xxx");
    row("operation, persistent", 0, read, "", false, "", "xxxx");
    row("operation, once", 0, read, "", true, "cable cut", "x---");
    row("object, persistent", 0, read, "SCPTmaxRnge", false, "", "-x-x");
    row("object, once", 0, read, "SCPTmaxRnge", true, "", "-x--");
    row("object in other case", 0, read, "scptmaxrnge", false, "", "-x-x");
    row("another operation", 0, "ConfigProperty.setValueText", "", false, "", "----");
}

void TestSimFaults::faults()
{
    QFETCH(int, nth);
    QFETCH(QString, operation);
    QFETCH(QString, objectName);
    QFETCH(bool, once);
    QFETCH(QString, description);
    QFETCH(QString, failed);
    const ConfigPropertyPtr min = cp(QStringLiteral("SCPTminRnge"));
    const ConfigPropertyPtr max = cp(QStringLiteral("SCPTmaxRnge"));
    const qint32 number = DeviceError::QuietNumber5030; // any number goes, the quiet ones too
    if (nth > 0)
        (*sim)->failCall(nth, number, description);
    else if (nth < 0)
        (*sim)->failFromCall(-nth, number, description);
    else
        (*sim)->failOperation(operation, number, once, objectName, description);

    QString marks;
    for (const ConfigPropertyPtr &prop : { min, max, min, max }) {
        try {
            prop->ValueText();
            marks += QLatin1Char('-');
        } catch (const DeviceError &error) {
            marks += QLatin1Char('x');
            QCOMPARE(error.number(), number);
            QVERIFY(
                description.isEmpty() ? error.description().contains(operation) : error.description() == description);
        }
    }
    QCOMPARE(marks, failed);
    QCOMPARE((*sim)->callCount(QStringLiteral("ConfigProperty.ValueText")), 4); // failed calls are logged too
    (*sim)->clearFaults();
    QCOMPARE(min->ValueText(), QStringLiteral("0.0"));
}

// A device that reports another value than it was sent: the write is taken (and logged
// without an error), the property keeps the injected value in every format.
void TestSimFaults::propertyStoresAnotherValue()
{
    Sim::Network &net = *sim->network();
    const ConfigPropertyPtr max = cp(QStringLiteral("SCPTmaxRnge"));
    const ConfigPropertyPtr min = cp(QStringLiteral("SCPTminRnge"));
    const QString block = QStringLiteral("HwInput[0]");
    QVERIFY_THROWS_EXCEPTION(
        std::invalid_argument, net.storeDifferentValue(Controller, block, max->Name(), QStringLiteral("warm")));
    net.storeDifferentValue(Controller, block, max->Name(), QStringLiteral("22.8"));
    max->setFormat(QStringLiteral("SNVT_temp_p#US"));
    net.clearCallLog();
    max->setValueText(QStringLiteral("86"));
    QCOMPARE(max->ValueText(), QStringLiteral("73.0"));
    QCOMPARE(net.callLog().first().error, 0);
    QVERIFY_THROWS_EXCEPTION(DeviceError, max->setValueText(QStringLiteral("abc"))); // still checked
    min->setValueText(QStringLiteral("4.5")); // other properties store what they are sent
    QCOMPARE(net.storedCpText(Controller, block, min->Name()), QStringLiteral("4.5"));
    net.clearFaults();
    max->setValueText(QStringLiteral("86"));
    QCOMPARE(net.storedCpText(Controller, block, max->Name()), QStringLiteral("30.0"));
}

void TestSimFaults::latency()
{
    (*sim)->setLatency(std::chrono::milliseconds(30));
    QElapsedTimer timer;
    timer.start();
    (*sim)->device(Controller)->State();
    QVERIFY(timer.elapsed() >= 30);
}

void TestSimFaults::handleBookkeeping()
{
    ResourceCatalog &catalog = resourceCatalog();
    const QString programId = (*sim)->programId(Controller);
    const qint32 handle = catalog.OpenCatalog(true, QString());
    QVERIFY(handle != 0);
    const QString typeFile = catalog.GetTypeFilePath(handle, programId, 0, true, 0);
    QCOMPARE(catalog.GetTypeFilePath(handle, programId, 7, true, 0), QString()); // no set of that scope
    const qint32 types = typeService().OpenTypeFileHandle(typeFile);
    QCOMPARE((*sim)->openHandleCount(), 2);
    QVERIFY((*sim)->openHandles().join(QLatin1Char('\n')).contains(typeFile));

    // A handle of the wrong kind, or one never given out, is refused and nothing closes.
    QVERIFY_THROWS_EXCEPTION(DeviceError, catalog.CloseResourceFile(handle));
    QVERIFY_THROWS_EXCEPTION(DeviceError, catalog.CloseCatalog(types));
    QVERIFY_THROWS_EXCEPTION(DeviceError, catalog.CloseResourceFile(4711));
    QCOMPARE((*sim)->openHandleCount(), 2);

    // Every handle closes once; afterwards it is unknown.
    catalog.CloseCatalog(handle);
    catalog.CloseResourceFile(types);
    catalog.CloseResourceFile(0); // a failed open gave 0: harmless
    QCOMPARE((*sim)->openHandleCount(), 0);
    QVERIFY_THROWS_EXCEPTION(DeviceError, catalog.CloseResourceFile(types));
    QVERIFY_THROWS_EXCEPTION(DeviceError, typeService().GetTreeNode(types, programId, 105));

    // Paths the catalog does not know open nothing.
    QCOMPARE(typeService().OpenTypeFileHandle(QStringLiteral("C:\\LonWorks\\Types\\OTHER.TYP")), 0);
    QCOMPARE(catalog.OpenCatalog(true, QStringLiteral("D:\\elsewhere.cat")), 0);
}

QTEST_GUILESS_MAIN(TestSimFaults)
#include "tst_sim_faults.moc"
