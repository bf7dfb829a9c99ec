// SPDX-License-Identifier: MIT
// The simulated network's test controls and its file: the call log, injected faults,
// latency, resource-handle bookkeeping, load errors that name the place, and saving
// that never leaves a half-written database.
#include "device/sim/SimErrors.h"
#include "device/sim/SimNetwork.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>
#include <sys/resource.h>

using namespace DeviceAccess;

namespace {

const QString Controller = QStringLiteral("HWI-Controller 1");
const QString SamplePath = QStringLiteral(VQ_DATA_DIR "/sample-network.json");

QByteArray sampleJson()
{
    QFile file(SamplePath);
    file.open(QIODevice::ReadOnly);
    return file.readAll();
}

// Replaces (or with an empty replacement removes) the value at a "/"-separated path.
QJsonValue edited(const QJsonValue &value, QStringList path, const QByteArray &replacement)
{
    const QString step = path.takeFirst();
    const QJsonValue inner = QJsonDocument::fromJson("[" + replacement + "]").array().at(0);
    if (value.isArray()) {
        QJsonArray array = value.toArray();
        const int index = step.toInt();
        array[index] = path.isEmpty() ? inner : edited(array.at(index), path, replacement);
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

class TestSimFaults : public QObject
{
    Q_OBJECT

private slots:
    void callLogRecordsEveryOperation();
    void faults_data();
    void faults();
    void faultComesBeforeTheEffect();
    void latency();
    void handleBookkeeping();
    void loadErrorsNameThePlace_data();
    void loadErrorsNameThePlace();
    void unreadableFile();
    void saveAndReload();
    void failedSaveKeepsTheOldFile_data();
    void failedSaveKeepsTheOldFile();
};

void TestSimFaults::callLogRecordsEveryOperation()
{
    auto net = Sim::Network::load(SamplePath);
    DeviceAccess::install(net->implementation());
    const ConfigPropertyPtr cp
        = net->block(Controller, QStringLiteral("HwInput[0]"))->ConfigProperties()->Item(QStringLiteral("SCPTminRnge"));
    net->clearCallLog();
    cp->setFormat(QStringLiteral("SNVT_temp_p#US"));
    cp->setValueText(QStringLiteral("41"));
    resourceCatalog().CloseCatalog(resourceCatalog().OpenCatalog(true, QString()));

    QCOMPARE(net->callCount(), 4);
    QCOMPARE(net->callLog().at(0).operation, QStringLiteral("ConfigProperty.setFormat"));
    QCOMPARE(net->callLog().at(0).arguments, (QStringList { "SCPTminRnge", "SNVT_temp_p#US" }));
    QCOMPARE(net->callLog().at(1).arguments, (QStringList { "SCPTminRnge", "41" }));
    QCOMPARE(net->callLog().at(2).arguments, (QStringList { "True", "" }));
    QCOMPARE(net->callCount(QStringLiteral("ResourceCatalog.CloseCatalog")), 1);

    // Host-side lookups and test access are not device calls; switched-off logging records nothing.
    net->block(Controller, QStringLiteral("HwInput[1]"));
    net->storedCpText(Controller, QStringLiteral("HwInput[0]"), QStringLiteral("SCPTminRnge"));
    net->setLogging(false);
    cp->ValueText();
    QCOMPARE(net->callCount(), 4);
    net->setLogging(true);
    cp->ValueText();
    QCOMPARE(net->callCount(QStringLiteral("ConfigProperty.ValueText")), 1);
    net->clearCallLog();
    QVERIFY(net->callLog().isEmpty());
}

void TestSimFaults::faults_data()
{
    QTest::addColumn<int>("nth"); // > 0: failCall, else failOperation
    QTest::addColumn<QString>("operation");
    QTest::addColumn<QString>("objectName");
    QTest::addColumn<bool>("once");
    QTest::addColumn<QString>("failed"); // one mark per read of min, max, min, max

    QTest::newRow("second call") << 2 << ""
                                 << "" << true << "-x--";
    QTest::newRow("next call") << 1 << ""
                               << "" << true << "x---";
    QTest::newRow("operation, persistent") << 0 << "ConfigProperty.ValueText"
                                           << "" << false << "xxxx";
    QTest::newRow("operation, once") << 0 << "ConfigProperty.ValueText"
                                     << "" << true << "x---";
    QTest::newRow("object, persistent") << 0 << "ConfigProperty.ValueText"
                                        << "SCPTmaxRnge" << false << "-x-x";
    QTest::newRow("object, once") << 0 << "ConfigProperty.ValueText"
                                  << "SCPTmaxRnge" << true << "-x--";
    QTest::newRow("object in other case") << 0 << "ConfigProperty.ValueText"
                                          << "scptmaxrnge" << false << "-x-x";
    QTest::newRow("another operation") << 0 << "ConfigProperty.setValueText"
                                       << "" << false << "----";
}

void TestSimFaults::faults()
{
    QFETCH(int, nth);
    QFETCH(QString, operation);
    QFETCH(QString, objectName);
    QFETCH(bool, once);
    QFETCH(QString, failed);
    auto net = Sim::Network::load(SamplePath);
    const ConfigPropertiesPtr cps = net->block(Controller, QStringLiteral("HwInput[0]"))->ConfigProperties();
    const ConfigPropertyPtr min = cps->Item(QStringLiteral("SCPTminRnge"));
    const ConfigPropertyPtr max = cps->Item(QStringLiteral("SCPTmaxRnge"));
    const qint32 number = DeviceError::QuietNumber5030; // any number goes, the quiet ones too
    if (nth > 0)
        net->failCall(nth, number, QStringLiteral("link down"));
    else
        net->failOperation(operation, number, once, objectName);

    QString marks;
    for (const ConfigPropertyPtr &cp : { min, max, min, max }) {
        try {
            cp->ValueText();
            marks += QLatin1Char('-');
        } catch (const DeviceError &error) {
            marks += QLatin1Char('x');
            QCOMPARE(error.number(), number);
            QVERIFY(error.description().contains(nth > 0 ? QStringLiteral("link down") : operation));
        }
    }
    QCOMPARE(marks, failed);
    QCOMPARE(net->callCount(QStringLiteral("ConfigProperty.ValueText")), 4); // failed calls are logged too
    net->clearFaults();
    QCOMPARE(min->ValueText(), QStringLiteral("0.0"));
}

void TestSimFaults::faultComesBeforeTheEffect()
{
    auto net = Sim::Network::load(SamplePath);
    const QString block = QStringLiteral("HwInput[0]");
    const LonMarkObjectPtr object = net->block(Controller, block);
    const ConfigPropertyPtr cp = object->ConfigProperties()->Item(QStringLiteral("SCPTminRnge"));
    const NetworkVariablePtr nv = object->NetworkVariables()->Item(1);
    net->failOperation(QStringLiteral("ConfigProperty.setValueText"), Sim::Errors::InjectedFault, true);
    net->failOperation(QStringLiteral("ConfigProperty.setFormat"), Sim::Errors::InjectedFault, true);
    net->failOperation(QStringLiteral("NetworkVariable.setName"), Sim::Errors::InjectedFault, true);

    QVERIFY_THROWS_EXCEPTION(DeviceError, cp->setFormat(QStringLiteral("SNVT_temp_p#US")));
    QVERIFY_THROWS_EXCEPTION(DeviceError, cp->setValueText(QStringLiteral("5")));
    QVERIFY_THROWS_EXCEPTION(DeviceError, nv->setName(QStringLiteral("nvoOther")));
    QCOMPARE(cp->Format(), QString());
    QCOMPARE(net->storedCpText(Controller, block, QStringLiteral("SCPTminRnge")), QStringLiteral("0.0"));
    QCOMPARE(nv->Name(), QStringLiteral("nvoRoomTemp"));

    cp->setValueText(QStringLiteral("5")); // the faults were for one call each
    QCOMPARE(net->storedCpText(Controller, block, QStringLiteral("SCPTminRnge")), QStringLiteral("5.0"));
}

void TestSimFaults::latency()
{
    auto net = Sim::Network::load(SamplePath);
    const AppDevicePtr device = net->device(Controller);
    net->setLatency(std::chrono::milliseconds(30));
    QElapsedTimer timer;
    timer.start();
    device->State();
    QVERIFY(timer.elapsed() >= 30);
    net->setLatency(std::chrono::microseconds(0));
    timer.restart();
    device->State();
    QVERIFY(timer.elapsed() < 30);
}

void TestSimFaults::handleBookkeeping()
{
    auto net = Sim::Network::load(SamplePath);
    DeviceAccess::install(net->implementation());
    ResourceCatalog &catalog = resourceCatalog();
    const QString programId = net->programId(Controller);

    const qint32 handle = catalog.OpenCatalog(true, QString());
    QVERIFY(handle != 0);
    const QString typeFile = catalog.GetTypeFilePath(handle, programId, 0, true, 0);
    const QString languageFile = catalog.GetLanguageFilePath(handle, programId, 0, 0);
    QCOMPARE(catalog.GetTypeFilePath(handle, programId, 7, true, 0), QString()); // no set of that scope
    const qint32 types = typeService().OpenTypeFileHandle(typeFile);
    const qint32 texts = languageFileService().OpenLanguageFile(languageFile);
    QCOMPARE(net->openHandleCount(), 3);
    QVERIFY(net->openHandles().join(QLatin1Char('\n')).contains(typeFile));

    // A handle of the wrong kind is refused and stays open.
    QVERIFY_THROWS_EXCEPTION(DeviceError, catalog.CloseResourceFile(handle));
    QVERIFY_THROWS_EXCEPTION(DeviceError, catalog.CloseCatalog(types));
    QVERIFY_THROWS_EXCEPTION(DeviceError, typeService().GetTreeNode(texts, programId, 105));
    QCOMPARE(net->openHandleCount(), 3);

    catalog.CloseCatalog(handle);
    catalog.CloseResourceFile(types);
    catalog.CloseResourceFile(texts);
    catalog.CloseResourceFile(0); // nothing was opened: harmless
    QCOMPARE(net->openHandleCount(), 0);
    QVERIFY_THROWS_EXCEPTION(DeviceError, catalog.CloseCatalog(handle));
    QVERIFY_THROWS_EXCEPTION(DeviceError, catalog.GetTypeFilePath(handle, programId, 0, true, 0));
    QVERIFY_THROWS_EXCEPTION(DeviceError, typeService().GetTreeNode(types, programId, 105));

    // Paths the catalog does not know open nothing.
    QCOMPARE(typeService().OpenTypeFileHandle(QStringLiteral("C:\\LonWorks\\Types\\OTHER.TYP")), 0);
    QCOMPARE(typeService().OpenTypeFileHandle(QString()), 0);
    QCOMPARE(catalog.OpenCatalog(true, QStringLiteral("D:\\elsewhere.cat")), 0);
    const qint32 named = catalog.OpenCatalog(true, QStringLiteral("c:\\lonworks\\types\\LDRF.CAT"));
    QVERIFY(named != 0);
    catalog.CloseCatalog(named);
    net->setCatalogAvailable(false);
    QCOMPARE(catalog.OpenCatalog(true, QString()), 0);
    QCOMPARE(net->openHandleCount(), 0);
}

void TestSimFaults::loadErrorsNameThePlace_data()
{
    QTest::addColumn<QString>("path"); // "/"-separated; empty = cut the text short
    QTest::addColumn<QByteArray>("replacement"); // JSON text; empty = remove the key
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("truncated") << "" << QByteArray() << QStringList { "sample.json: line ", ", column " };
    QTest::newRow("wrong type") << "devices/0/commissioned" << QByteArray("\"yes\"")
                                << QStringList { "devices[0].commissioned: expected true or false, found a string" };
    QTest::newRow("missing field") << "devices/0/programId" << QByteArray()
                                   << QStringList { "devices[0]: missing \"programId\"" };
    QTest::newRow("misspelt key") << "devices/0/comissioned" << QByteArray("true")
                                  << QStringList { "devices[0].comissioned: unknown key" };
    QTest::newRow("not an object") << "system" << QByteArray("[]")
                                   << QStringList { "system: expected an object, found an array" };
    QTest::newRow("version") << "formatVersion" << QByteArray("2")
                             << QStringList { "formatVersion: unsupported format version 2" };
    QTest::newRow("no version") << "formatVersion" << QByteArray()
                                << QStringList { "(top level): missing \"formatVersion\"" };
    QTest::newRow("out of range") << "devices/0/blocks/0/cps/SCPTminRnge" << QByteArray("500")
                                  << QStringList { "devices[0].blocks[0].cps.SCPTminRnge: 500 lies outside" };
    QTest::newRow("text the format refuses") << "devices/0/blocks/2/cps/SCPTminRnge" << QByteArray("\"0.0\"")
                                             << QStringList { "devices[0].blocks[2].cps.SCPTminRnge: ", "2 fields" };
    QTest::newRow("no such member") << "devices/0/blocks/0/cps/UCPTinputSignalInterpretation"
                                    << QByteArray("\"LINEAR2\"")
                                    << QStringList { "cps.UCPTinputSignalInterpretation: ", "'LINEAR2'" };
    QTest::newRow("short table") << "devices/0/blocks/0/cps/UCPTtransTable" << QByteArray("\"1 2 3\"")
                                 << QStringList { "cps.UCPTtransTable: 3 fields where at least 32" };
    QTest::newRow("unknown property") << "devices/0/blocks/0/cps/SCPTnothing" << QByteArray("1")
                                      << QStringList { "cps.SCPTnothing: unknown property type 'SCPTnothing'" };
    QTest::newRow("unknown nv type") << "devices/0/blocks/0/nvs/0/cps/SCPTnvType"
                                     << QByteArray("\"90 00 A5 3D 0A 04 04 10 0 7\"")
                                     << QStringList { "devices[0].blocks[0].nvs[0].value: ", "index 7" };
    QTest::newRow("format of unknown type") << "resourceSets/0/formats/0/type" << QByteArray("\"SNVT_nothing\"")
                                            << QStringList { "resourceSets[0].formats[0].type: no type" };
    QTest::newRow("unknown format locale") << "system/formatLocale" << QByteArray("2")
                                           << QStringList { "system.formatLocale: expected 0 (SI) or 1 (US), found 2" };
    QTest::newRow("bad program ID") << "devices/1/programId" << QByteArray("\"90-00\"")
                                    << QStringList { "devices[1].programId: a program ID is 16 hexadecimal digits" };
}

void TestSimFaults::loadErrorsNameThePlace()
{
    QFETCH(QString, path);
    QFETCH(QByteArray, replacement);
    QFETCH(QStringList, expected);
    QByteArray json = sampleJson();
    if (path.isEmpty())
        json.truncate(json.size() / 2);
    else
        json = QJsonDocument(
            edited(QJsonDocument::fromJson(json).object(), path.split(QLatin1Char('/')), replacement).toObject())
                   .toJson();
    try {
        Sim::Network::fromJson(json, QStringLiteral("sample.json"));
        QFAIL("the database was taken");
    } catch (const Sim::LoadError &error) {
        QVERIFY2(error.message().startsWith(QStringLiteral("sample.json: ")), qPrintable(error.message()));
        for (const QString &part : expected)
            QVERIFY2(error.message().contains(part), qPrintable(error.message()));
    }
}

void TestSimFaults::unreadableFile()
{
    const QString missing = QStringLiteral("/nonexistent/folder/network.json");
    QVERIFY_THROWS_EXCEPTION(Sim::LoadError, Sim::Network::load(missing));
    try {
        Sim::Network::load(missing);
    } catch (const Sim::LoadError &error) {
        QVERIFY(error.message().startsWith(missing + QStringLiteral(": cannot be read")));
    }
}

void TestSimFaults::saveAndReload()
{
    QTemporaryDir dir;
    const QString copy = dir.filePath(QStringLiteral("network.json"));
    QVERIFY(QFile::copy(SamplePath, copy));
    auto net = Sim::Network::load(copy);
    const LonMarkObjectPtr block = net->block(Controller, QStringLiteral("HwInput[2]"));
    const ConfigPropertyPtr max = block->ConfigProperties()->Item(QStringLiteral("SCPTmaxRnge"));
    max->setValueText(QStringLiteral("75.5 1"));
    block->NetworkVariables()->Item(1)->setName(QStringLiteral("nvoDoorContact"));
    net->setStoredCpText(
        Controller, QStringLiteral("HwInput[0]"), QStringLiteral("SCPTminRnge"), QStringLiteral("-3.75"));
    net->setFormatLocale(1);
    net->save();

    auto reloaded = Sim::Network::load(copy);
    QCOMPARE(reloaded->storedCpText(Controller, QStringLiteral("HwInput[2]"), QStringLiteral("SCPTmaxRnge")),
        QStringLiteral("75.5 1"));
    QCOMPARE(reloaded->block(Controller, QStringLiteral("HwInput[2]"))->NetworkVariables()->Item(1)->Name(),
        QStringLiteral("nvoDoorContact"));
    QCOMPARE(reloaded->formatLocale(), qint16(1));
    // The full stored precision survives, not only what the default format shows.
    const ConfigPropertyPtr min = reloaded->block(Controller, QStringLiteral("HwInput[0]"))
                                      ->ConfigProperties()
                                      ->Item(QStringLiteral("SCPTminRnge"));
    min->setFormat(QStringLiteral("SNVT_temp_p#US_diff"));
    QCOMPARE(min->ValueText(), QStringLiteral("-6.8")); // -3.75 * 1.8 = -6.75
    QCOMPARE(reloaded->toJson(), net->toJson());

    auto memory = Sim::Network::fromJson(sampleJson(), QStringLiteral("memory"));
    QVERIFY_THROWS_EXCEPTION(Sim::LoadError, memory->save());
}

void TestSimFaults::failedSaveKeepsTheOldFile_data()
{
    QTest::addColumn<bool>("missingFolder"); // else: the disk refuses the write half-way
    QTest::newRow("missing folder") << true;
    QTest::newRow("write refused") << false;
}

void TestSimFaults::failedSaveKeepsTheOldFile()
{
    QFETCH(bool, missingFolder);
    QTemporaryDir dir;
    const QString target = missingFolder ? dir.filePath(QStringLiteral("gone/network.json"))
                                         : dir.filePath(QStringLiteral("network.json"));
    const QByteArray old("{\"old\": true}\n");
    if (!missingFolder) {
        QFile file(target);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(old);
    }
    auto net = Sim::Network::load(SamplePath);

    // A file-size limit fails the write after the first bytes, for root as for anyone.
    rlimit saved {};
    getrlimit(RLIMIT_FSIZE, &saved);
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    if (!missingFolder) {
        rlimit small = saved;
        small.rlim_cur = 4096;
        setrlimit(RLIMIT_FSIZE, &small);
    }
    QString message;
    try {
        net->save(target);
    } catch (const Sim::LoadError &error) {
        message = error.message();
    }
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previousHandler);

    QVERIFY2(message.startsWith(target + QStringLiteral(": cannot be written")), qPrintable(message));
    if (missingFolder) {
        QVERIFY(!QFile::exists(target));
    } else {
        QFile file(target);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), old);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList { "network.json" });
    }
}

QTEST_GUILESS_MAIN(TestSimFaults)
#include "tst_sim_faults.moc"
