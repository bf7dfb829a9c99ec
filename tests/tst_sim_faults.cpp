// SPDX-License-Identifier: MIT
// The simulated network's test controls and its file: the call log, injected faults,
// latency, resource-handle bookkeeping, load errors that name the place, and saving
// that never leaves a half-written database.
#include "device/sim/SimErrors.h"
#include "support/SimFixture.h"
#include "support/SimTestCase.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QTest>
#include <csignal>
#include <sys/resource.h>

using namespace DeviceAccess;

namespace {

const QString Controller = QStringLiteral("HWI-Controller 1");

// Replaces (or with an empty replacement removes) the value at a "/"-separated path.
QJsonValue edited(const QJsonValue &value, QStringList path, const QByteArray &replacement)
{
    const QString step = path.takeFirst();
    const QJsonValue inner = QJsonDocument::fromJson("[" + replacement + "]").array().at(0);
    if (value.isArray()) {
        QJsonArray array = value.toArray();
        array[step.toInt()] = path.isEmpty() ? inner : edited(array.at(step.toInt()), path, replacement);
        return array;
    }
    QJsonObject object = value.toObject();
    if (path.isEmpty() && replacement.isEmpty())
        object.remove(step);
    else
        object[step] = path.isEmpty() ? inner : edited(object.value(step), path, replacement);
    return object;
}

} // namespace

class TestSimFaults : public TestSupport::SimTestCase
{
    Q_OBJECT

private slots:
    void callLog();
    void failedWritesAreNoted();
    void faults_data();
    void faults();
    void faultComesBeforeTheEffect();
    void latency();
    void handleBookkeeping();
    void loadErrorsNameThePlace_data();
    void loadErrorsNameThePlace();
    void saveAndReload();
    void failedSaveKeepsTheOldFile();

private:
    ConfigPropertyPtr cp(const QString &name)
    {
        return (*sim)->block(Controller, QStringLiteral("HwInput[0]"))->ConfigProperties()->Item(name);
    }
};

void TestSimFaults::callLog()
{
    Sim::Network &net = *sim->network();
    const ConfigPropertyPtr min = cp(QStringLiteral("SCPTminRnge"));
    net.clearCallLog();
    min->setFormat(QStringLiteral("SNVT_temp_p#US"));
    min->setValueText(QStringLiteral("41"));
    resourceCatalog().CloseCatalog(resourceCatalog().OpenCatalog(true, QString()));

    const auto log = [&] {
        QStringList lines;
        for (const Sim::CallRecord &call : net.callLog())
            lines << call.operation + QLatin1Char('(') + call.arguments.join(QLatin1Char('|')) + QLatin1Char(')');
        return lines;
    };
    QCOMPARE(log(),
        (QStringList { "ConfigProperty.setFormat(SCPTminRnge|SNVT_temp_p#US)",
            "ConfigProperty.setValueText(SCPTminRnge|41)", "ResourceCatalog.OpenCatalog(True|)",
            "ResourceCatalog.CloseCatalog(1)" }));

    // Host-side lookups and test access are not device calls; switched-off logging records nothing.
    net.block(Controller, QStringLiteral("HwInput[1]"));
    net.storedCpText(Controller, QStringLiteral("HwInput[0]"), QStringLiteral("SCPTminRnge"));
    net.setLogging(false);
    min->ValueText();
    QCOMPARE(net.callCount(), 4);
    net.setLogging(true);
    min->ValueText();
    QCOMPARE(net.callCount(QStringLiteral("ConfigProperty.ValueText")), 1);
    net.clearCallLog();
    QVERIFY(net.callLog().isEmpty());
}

void TestSimFaults::failedWritesAreNoted()
{
    Sim::Network &net = *sim->network();
    const ConfigPropertyPtr min = cp(QStringLiteral("SCPTminRnge"));
    net.failOperation(QStringLiteral("ConfigProperty.setValueText"), 77, true, QStringLiteral("SCPTminRnge"));
    net.clearCallLog();
    QVERIFY_THROWS_EXCEPTION(DeviceError, min->setValueText(QStringLiteral("5"))); // injected
    QVERIFY_THROWS_EXCEPTION(DeviceError, min->setValueText(QStringLiteral("abc"))); // refused
    min->setValueText(QStringLiteral("5"));
    QVERIFY_THROWS_EXCEPTION(DeviceError, min->setFormat(QStringLiteral("SNVT_temp_p#EU")));
    min->ValueText();
    QList<qint32> errors;
    for (const Sim::CallRecord &call : net.callLog())
        errors << call.error;
    QCOMPARE(errors, (QList<qint32> { 77, Sim::Errors::InvalidValueText, 0, Sim::Errors::UnknownFormat, 0 }));
    QVERIFY(!net.callLog().at(1).errorDescription.isEmpty());
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

void TestSimFaults::faultComesBeforeTheEffect()
{
    const ConfigPropertyPtr min = cp(QStringLiteral("SCPTminRnge"));
    const auto stored = [&] { return (*sim)->storedCpText(Controller, QStringLiteral("HwInput[0]"), min->Name()); };
    for (const char *operation : { "ConfigProperty.setValueText", "ConfigProperty.setFormat" })
        (*sim)->failOperation(QLatin1String(operation), Sim::Errors::InjectedFault, true);

    QVERIFY_THROWS_EXCEPTION(DeviceError, min->setFormat(QStringLiteral("SNVT_temp_p#US")));
    QVERIFY_THROWS_EXCEPTION(DeviceError, min->setValueText(QStringLiteral("5")));
    QCOMPARE(min->Format(), QString());
    QCOMPARE(stored(), QStringLiteral("0.0"));

    min->setValueText(QStringLiteral("5")); // the faults were for one call each
    QCOMPARE(stored(), QStringLiteral("5.0"));
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
    (*sim)->setCatalogAvailable(false);
    QCOMPARE(catalog.OpenCatalog(true, QString()), 0);
    QCOMPARE((*sim)->openHandleCount(), 0);
}

void TestSimFaults::loadErrorsNameThePlace_data()
{
    QTest::addColumn<QString>("path"); // "/"-separated; "(half)": cut the text short; "(file)": no such file
    QTest::addColumn<QByteArray>("replacement"); // JSON text; empty = remove the key
    QTest::addColumn<QString>("expected"); // the message after "<file>: "; "*" stands for any text
    const auto row = [](const char *name, const char *path, const QByteArray &replacement, const char *expected) {
        QTest::newRow(name) << path << replacement << expected;
    };

    row("no such file", "(file)", "", "cannot be read: *");
    row("truncated", "(half)", "", "line *, column * (offset *): *");
    row("wrong type", "devices/0/commissioned", "\"yes\"",
        "devices[0].commissioned: expected true or false, found a string");
    row("missing field", "devices/0/programId", "", "devices[0]: missing \"programId\"");
    row("misspelt key", "devices/0/comissioned", "true", "devices[0].comissioned: unknown key");
    row("version", "formatVersion", "2", "formatVersion: unsupported format version 2; this library reads version 1");
    row("out of range", "devices/0/blocks/0/cps/SCPTminRnge", "500",
        "devices[0].blocks[0].cps.SCPTminRnge: 500 lies outside the range -273.17 to 327.66");
    row("text the format refuses", "devices/0/blocks/2/cps/SCPTminRnge", "\"0.0\"",
        "devices[0].blocks[2].cps.SCPTminRnge: The text '0.0' *: 2 fields are needed*");
    row("short table", "devices/0/blocks/0/cps/UCPTtransTable", "\"1 2 3\"",
        "devices[0].blocks[0].cps.UCPTtransTable: 3 fields where at least 32 are needed");
    row("unknown property", "devices/0/blocks/0/cps/SCPTnothing", "1",
        "devices[0].blocks[0].cps.SCPTnothing: unknown property type 'SCPTnothing'");
    row("unknown nv type", "devices/0/blocks/0/nvs/0/cps/SCPTnvType", "\"90 00 A5 3D 0A 04 04 10 0 7\"",
        "devices[0].blocks[0].nvs[0].value: scope 0 has no network-variable type of index 7");
    row("format of unknown type", "resourceSets/0/formats/0/type", "\"SNVT_nothing\"",
        "resourceSets[0].formats[0].type: no type 'SNVT_nothing' *");
    row("bad format locale", "system/formatLocale", "2", "system.formatLocale: expected 0 (SI) or 1 (US), found 2");
    row("member beyond 32 bits", "resourceSets/0/types/9/members/OC_STANDBY", "1e20",
        "resourceSets[0].types[9].members.OC_STANDBY: a member's value is a whole number*");
    row("bad program ID", "devices/1/programId", "\"90-00\"",
        "devices[1].programId: a program ID is 16 hexadecimal digits, found '90-00'");
    row("scope without a resource set", "devices/0/scope", "7",
        "devices[0].scope: no resource set of scope 7 for program ID 9000A53D0A040410");
    row("large whole number", "devices/0/state", "3000000000",
        "devices[0].state: expected a whole number from -2147483648 to 2147483647, found 3000000000");
    row("large value", "devices/0/blocks/0/cps/SCPTminRnge", "100000",
        "devices[0].blocks[0].cps.SCPTminRnge: 100000 lies outside the range -273.17 to 327.66");
}

void TestSimFaults::loadErrorsNameThePlace()
{
    QFETCH(QString, path);
    QFETCH(QByteArray, replacement);
    QFETCH(QString, expected);
    QFile file(sim->databasePath());
    QVERIFY(file.open(QIODevice::ReadOnly));
    QByteArray json = file.readAll();
    QString source = QStringLiteral("sample.json");
    try {
        if (path == QLatin1String("(file)")) {
            source = sim->tempPath() + QStringLiteral("/gone/network.json");
            Sim::Network::load(source);
        } else {
            if (path == QLatin1String("(half)"))
                json.truncate(json.size() / 2);
            else
                json = QJsonDocument(
                    edited(QJsonDocument::fromJson(json).object(), path.split('/'), replacement).toObject())
                           .toJson();
            Sim::Network::fromJson(json, source);
        }
        QFAIL("the database was taken");
    } catch (const Sim::LoadError &error) {
        QStringList parts = (source + QStringLiteral(": ") + expected).split(QLatin1Char('*'));
        for (QString &part : parts)
            part = QRegularExpression::escape(part);
        const QRegularExpression pattern(QRegularExpression::anchoredPattern(parts.join(QStringLiteral(".*"))));
        QVERIFY2(pattern.match(error.message()).hasMatch(), qPrintable(error.message()));
    }
}

void TestSimFaults::saveAndReload()
{
    (*sim)->block(Controller, QStringLiteral("HwInput[2]"))->NetworkVariables()->Item(1)->setName("nvoDoorContact");
    (*sim)->setStoredCpText(
        Controller, QStringLiteral("HwInput[0]"), QStringLiteral("SCPTminRnge"), QStringLiteral("-3.75"));
    (*sim)->setFormatLocale(1);
    const QByteArray before = (*sim)->toJson();
    (*sim)->save();

    QVERIFY2(sim->reload(), qPrintable(sim->errorString()));
    QCOMPARE((*sim)->formatLocale(), qint16(1));
    QCOMPARE((*sim)->toJson(), before); // the name, the full stored precision and the locale all came back

    auto memory = Sim::Network::fromJson(before, QStringLiteral("memory"));
    QVERIFY_THROWS_EXCEPTION(Sim::LoadError, memory->save());
}

// The disk refuses the write half-way: the old file stays as it was, with nothing beside it.
void TestSimFaults::failedSaveKeepsTheOldFile()
{
    const QDir dir(sim->tempPath());
    const QString target = dir.filePath(QStringLiteral("old.json"));
    const QByteArray old("{\"old\": true}\n");
    QFile file(target);
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(old) == old.size());
    file.close();
    const QStringList filesBefore = dir.entryList(QDir::Files | QDir::Hidden);

    // A file-size limit fails the write after the first bytes, for root as for anyone.
    rlimit saved {};
    getrlimit(RLIMIT_FSIZE, &saved);
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 4096;
    setrlimit(RLIMIT_FSIZE, &small);
    QString message;
    try {
        (*sim)->save(target);
    } catch (const Sim::LoadError &error) {
        message = error.message();
    }
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previousHandler);

    QVERIFY2(message.startsWith(target + QStringLiteral(": cannot be written")), qPrintable(message));
    QCOMPARE(dir.entryList(QDir::Files | QDir::Hidden), filesBefore);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), old);
}

QTEST_GUILESS_MAIN(TestSimFaults)
#include "tst_sim_faults.moc"
