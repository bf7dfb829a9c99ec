// SPDX-License-Identifier: MIT
// The network variable's type from SCPTnvType (both layouts, damaged texts) and its
// resolution through the resource catalog: format with and without per-system
// variants, the absolute prefix, unit texts, failures at every step, and that every
// catalog, type-file and language-file handle is closed again.
#include "device/sim/SimModel.h"
#include "shared/DeviceState.h"
#include "shared/Formats.h"
#include "shared/ProcessState.h"
#include "shared/Strings.h"
#include "support/SeamRecorder.h"
#include "support/SimFixture.h"

#include <QtTest>

using namespace MKorvane;

namespace {

const QString NetworkFile = QStringLiteral("mkorvane-network.json");
const QString Device = QStringLiteral("Controller");
const QString ProgramId = QStringLiteral("9000A53D0A040410");
const QString StandardPrefix = QStringLiteral("#9000A53D0A040410[0].");
const QString UserPrefix = QStringLiteral("#9000A53D0A040410[3].");
constexpr qint32 Refused = DeviceAccess::DeviceError::ObjectErrorBase + 61;

struct Resolution
{
    bool ok = false;
    DeviceAccess::TypeTreeNodePtr node;
    QString programId, longFormat, unitText, errMsg;
    qint32 typeIndex = -1;
    qint32 baseKind = -1;
};

Resolution resolve(TestSupport::SimFixture &sim, const QString &block, qint16 system)
{
    Resolution r;
    const auto nv = GetFirstNetworkVariable(sim->block(Device, block));
    r.ok
        = GetNvTypeFormat(nv, system, r.node, r.programId, r.longFormat, r.unitText, r.typeIndex, r.baseKind, r.errMsg);
    return r;
}

Sim::CpNode *nvTypeNode(TestSupport::SimFixture &sim, const QString &block)
{
    return sim->model().device(Device)->block(block)->nvs.front()->cp(QStringLiteral("SCPTnvType"));
}

} // namespace

class tst_formats : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { resetForTests(); }

    void parseNvTypeValue_data();
    void parseNvTypeValue();
    void resolution_data();
    void resolution();
    void resolutionCallsInOrder();
    void failuresCloseEveryHandle_data();
    void failuresCloseEveryHandle();
    void languageFileProblemsDoNotFail_data();
    void languageFileProblemsDoNotFail();
    void damagedNvTypeText_data();
    void damagedNvTypeText();
};

void tst_formats::parseNvTypeValue_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<QString>("programId");
    QTest::addColumn<int>("scope");
    QTest::addColumn<int>("typeIndex");
    QTest::addColumn<QString>("error");

    QTest::newRow("plain") << "90 00 A5 3D 0A 04 04 10 0 105" << true << ProgramId << 0 << 105 << "";
    QTest::newRow("plain, single digits") << "9 0 A5 3D A 4 4 1 3 81" << true << "0900A53D0A040401" << 3 << 81 << "";
    QTest::newRow("plain, case kept") << "9f ff ff 05 01 84 04 60 3 2" << true << "9fffff0501840460" << 3 << 2 << "";
    QTest::newRow("plain, further fields ignored")
        << "90 00 A5 3D 0A 04 04 10 0 105 7 x y" << true << ProgramId << 0 << 105 << "";
    QTest::newRow("plain, long byte keeps its end")
        << "190 00 A5 3D 0A 04 04 10 0 105" << true << ProgramId << 0 << 105 << "";
    QTest::newRow("labelled") << "PID 90:00:A5:3D:0A:04:04:10, Scope 0, Index 105" << true << ProgramId << 0 << 105
                              << "";
    QTest::newRow("labelled, single digits")
        << "PID 90:0:A5:3D:A:4:4:10, Scope 3, Index 1" << true << ProgramId << 3 << 1 << "";
    QTest::newRow("labelled, blanks around groups")
        << "PID 90:00:A5:3D:0A:04:04:10 ,  Scope 12 ,   Index 7  " << true << ProgramId << 12 << 7 << "";

    QTest::newRow("empty") << "" << false << "" << 0 << 0 << "The value of NV Type is not valid.";
    QTest::newRow("blank") << " " << false << "" << 0 << 0 << "Subscript out of range";
    QTest::newRow("plain, no index") << "90 00 A5 3D 0A 04 04 10 0" << false << "" << 0 << 0
                                     << "Subscript out of range";
    QTest::newRow("plain, bytes only") << "90 00 A5 3D" << false << "" << 0 << 0 << "Subscript out of range";
    QTest::newRow("plain, scope not a number")
        << "90 00 A5 3D 0A 04 04 10 x 105" << false << "" << 0 << 0 << "Type mismatch";
    QTest::newRow("plain, index not a number")
        << "90 00 A5 3D 0A 04 04 10 0 %s" << false << "" << 0 << 0 << "Type mismatch";
    QTest::newRow("plain, index too large")
        << "90 00 A5 3D 0A 04 04 10 0 99999999999" << false << "" << 0 << 0 << "Overflow";
    // Fields are separated by single blanks: a double blank shifts them.
    QTest::newRow("plain, double blank shifts fields")
        << "90  00 A5 3D 0A 04 04 10 0 105" << true << "900000A53D0A0404" << 10 << 0 << "";
    QTest::newRow("labelled, truncated") << "PID 90:00:A5" << false << "" << 0 << 0 << "Subscript out of range";
    QTest::newRow("labelled, no words") << "PID, Scope 0, Index 105" << false << "" << 0 << 0
                                        << "Subscript out of range";
    QTest::newRow("labelled, no index value")
        << "PID 90:00, Scope 0, Index" << false << "" << 0 << 0 << "Subscript out of range";
    QTest::newRow("labelled, index not a number")
        << "PID 90:00, Scope 0, Index five" << false << "" << 0 << 0 << "Type mismatch";
    // Only an exact "PID" selects the labelled layout.
    QTest::newRow("lower-case pid") << "pid 90:00:A5:3D:0A:04:04:10, Scope 0, Index 105" << false << "" << 0 << 0
                                    << "Subscript out of range";
    QTest::newRow("overlong") << QString("90 00 A5 3D 0A 04 04 10 0 105") + QString(" 1").repeated(200000) << true
                              << ProgramId << 0 << 105 << "";
    QTest::newRow("overlong field") << QString("9").repeated(100000) << false << "" << 0 << 0
                                    << "Subscript out of range";
}

void tst_formats::parseNvTypeValue()
{
    QFETCH(QString, text);
    QFETCH(bool, ok);
    QFETCH(QString, programId);
    QFETCH(int, scope);
    QFETCH(int, typeIndex);
    QFETCH(QString, error);

    qint32 gotScope = -1, gotIndex = -1;
    QString gotId;
    QString errMsg = QStringLiteral("earlier");
    QCOMPARE(ParseNvTypeValue(text, gotScope, gotId, gotIndex, errMsg), ok);
    if (ok) {
        QCOMPARE(gotId, programId);
        QCOMPARE(gotScope, scope);
        QCOMPARE(gotIndex, typeIndex);
        QCOMPARE(errMsg, QStringLiteral("earlier"));
    } else {
        QCOMPARE(errMsg, QStringLiteral("earlier\r\n") + error);
    }
}

void tst_formats::resolution_data()
{
    QTest::addColumn<QString>("block");
    QTest::addColumn<int>("system");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<QString>("longFormat");
    QTest::addColumn<QString>("unitText");
    QTest::addColumn<int>("typeIndex");
    QTest::addColumn<int>("baseKind");
    QTest::addColumn<QString>("errMsg");

    QTest::newRow("variants, SI") << "Temp" << 0 << true << StandardPrefix + "SNVT_temp_p#SI"
                                  << "°C" << 105 << 5 << "";
    QTest::newRow("variants, US") << "Temp" << 1 << true << StandardPrefix + "SNVT_temp_p#US"
                                  << "°F" << 105 << 5 << "";
    QTest::newRow("no variants, labelled") << "Level" << 1 << true << StandardPrefix + "SNVT_lev_percent"
                                           << "%" << 81 << 5 << "";
    QTest::newRow("SI variant beside the bare name") << "Pressure" << 0 << true << StandardPrefix + "SNVT_press_p#SI"
                                                     << "kPa" << 113 << 3 << "";
    // No US variant listed: the bare name.
    QTest::newRow("US falls back to the bare name") << "Pressure" << 1 << true << StandardPrefix + "SNVT_press_p"
                                                    << "Pa" << 113 << 3 << "";
    QTest::newRow("no unit anywhere") << "Flow" << 0 << true << StandardPrefix + "SNVT_flow"
                                      << "" << 15 << 6 << "";
    QTest::newRow("user type, own scope") << "Raw" << 1 << true << UserPrefix + "UNVT_raw"
                                          << "counts" << 1 << 3 << "";
    QTest::newRow("absolute name, no second prefix") << "Absolute" << 0 << true << UserPrefix + "UNVT_abs"
                                                     << "counts" << 2 << 3 << "";
    QTest::newRow("no format") << "Count" << 0 << false << ""
                               << "" << 8 << 6 << "Cannot find out the format definition: SNVT_count";
}

void tst_formats::resolution()
{
    QFETCH(QString, block);
    QFETCH(int, system);
    QFETCH(bool, ok);
    QFETCH(QString, longFormat);
    QFETCH(QString, unitText);
    QFETCH(int, typeIndex);
    QFETCH(int, baseKind);
    QFETCH(QString, errMsg);

    TestSupport::SimFixture sim(NetworkFile);
    QVERIFY2(sim.isLoaded(), qPrintable(sim.errorString()));
    TestSupport::SeamRecorder seams;
    const Resolution r = resolve(sim, block, qint16(system));
    QCOMPARE(r.ok, ok);
    QCOMPARE(r.errMsg, errMsg);
    QCOMPARE(r.programId, ProgramId);
    QCOMPARE(r.typeIndex, typeIndex);
    QCOMPARE(r.baseKind, baseKind);
    QVERIFY(r.node);
    if (ok) {
        QCOMPARE(r.longFormat, longFormat);
        QCOMPARE(r.unitText, unitText);
    }
    QCOMPARE(sim->openHandleCount(), 0);
    QCOMPARE(seams.messageCount(), 0);
}

void tst_formats::resolutionCallsInOrder()
{
    TestSupport::SimFixture sim(NetworkFile);
    QVERIFY2(sim.isLoaded(), qPrintable(sim.errorString()));
    const auto nv = GetFirstNetworkVariable(sim->block(Device, "Temp"));
    sim->clearCallLog();
    Resolution r;
    QVERIFY(GetNvTypeFormat(nv, 0, r.node, r.programId, r.longFormat, r.unitText, r.typeIndex, r.baseKind, r.errMsg));

    QStringList calls;
    for (const Sim::CallRecord &call : sim->callLog()) {
        static const QStringList services { "ResourceCatalog.", "TypeService.", "FormatCatalog.",
            "LanguageFileService." };
        const bool service = std::any_of(
            services.cbegin(), services.cend(), [&](const QString &s) { return call.operation.startsWith(s); });
        if (!service)
            continue;
        QString entry = call.operation.section(QLatin1Char('.'), 1);
        if (call.operation == QLatin1String("ResourceCatalog.GetTypeFilePath"))
            entry += QLatin1Char(' ') + call.arguments.mid(3).join(QLatin1Char(' '));
        if (call.operation == QLatin1String("ResourceCatalog.OpenCatalog"))
            entry += QLatin1Char(' ') + call.arguments.join(QLatin1Char('|'));
        calls << entry;
    }
    const QStringList expected {
        "OpenCatalog True|",
        "GetTypeFilePath True 0",
        "GetFormatFilePath",
        "GetLanguageFilePath",
        "CloseCatalog",
        "OpenCatalog True|",
        "GetTypeFilePath False 0",
        "CloseCatalog",
        "OpenTypeFileHandle",
        "GetTreeNode",
        "CloseResourceFile",
        "GetFormatNames",
        "FindFormat",
        "OpenLanguageFile",
        "GetLanguageText",
        "CloseResourceFile",
    };
    QCOMPARE(calls, expected);
}

void tst_formats::failuresCloseEveryHandle_data()
{
    QTest::addColumn<QString>("operation");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<QString>("errMsg");
    QTest::addColumn<int>("number");

    const QString refused = QStringLiteral("refused");
    QTest::newRow("CP item") << "ConfigProperties.Item" << false << refused << int(Refused);
    QTest::newRow("CP text") << "ConfigProperty.ValueText" << false << refused << int(Refused);
    QTest::newRow("type file path") << "ResourceCatalog.GetTypeFilePath" << false << refused << int(Refused);
    QTest::newRow("format file path") << "ResourceCatalog.GetFormatFilePath" << false << refused << int(Refused);
    QTest::newRow("language file path") << "ResourceCatalog.GetLanguageFilePath" << false << refused << int(Refused);
    // Without the type the format lookup runs with an empty name and finds nothing.
    QTest::newRow("type file open") << "TypeService.OpenTypeFileHandle" << false
                                    << refused + "\r\nCannot find out the format definition: " << int(Refused);
    QTest::newRow("tree node") << "TypeService.GetTreeNode" << false
                               << refused + "\r\nCannot find out the format definition: " << int(Refused);
    QTest::newRow("node name") << "TypeTreeNode.Name" << false << refused << int(Refused);
    QTest::newRow("format names") << "FormatCatalog.GetFormatNames" << false << refused << int(Refused);
    QTest::newRow("find format") << "FormatCatalog.FindFormat" << false << refused << int(Refused);
    QTest::newRow("language file open") << "LanguageFileService.OpenLanguageFile" << true << "" << int(Refused);
    QTest::newRow("language text") << "LanguageFileService.GetLanguageText" << true << "" << int(Refused);
    QTest::newRow("format unit index") << "FormatDefinition.UnitIndex" << true << "" << int(Refused);
    QTest::newRow("catalog cannot be opened")
        << "ResourceCatalog.OpenCatalog" << false << "Cannot open DRF catalog!" << 0;
    // The quiet numbers of the device library never show, not even as a failure.
    QTest::newRow("quiet, find format") << "FormatCatalog.FindFormat" << false << ""
                                        << int(DeviceAccess::DeviceError::QuietNumber5030);
    QTest::newRow("quiet, CP text") << "ConfigProperty.ValueText" << false << ""
                                    << int(DeviceAccess::DeviceError::QuietNumber1026);
}

void tst_formats::failuresCloseEveryHandle()
{
    QFETCH(QString, operation);
    QFETCH(bool, ok);
    QFETCH(QString, errMsg);
    QFETCH(int, number);

    TestSupport::SimFixture sim(NetworkFile);
    QVERIFY2(sim.isLoaded(), qPrintable(sim.errorString()));
    if (number == 0) // the catalog answers with handle 0
        sim->setCatalogAvailable(false);
    else
        sim->failOperation(operation, number, false, QString(), "refused");
    const Resolution r = resolve(sim, "Temp", 0);
    QCOMPARE(r.ok, ok);
    QCOMPARE(r.errMsg, errMsg);
    QVERIFY2(sim->callCount(operation) > 0, "the fault was never reached");
    QVERIFY2(sim->openHandleCount() == 0, qPrintable(sim->openHandles().join(", ")));
    if (ok)
        QCOMPARE(r.longFormat, StandardPrefix + "SNVT_temp_p#SI");
}

void tst_formats::languageFileProblemsDoNotFail_data()
{
    QTest::addColumn<QString>("operation");
    QTest::addColumn<bool>("noLanguageFile");

    QTest::newRow("open refused") << "LanguageFileService.OpenLanguageFile" << false;
    QTest::newRow("text refused") << "LanguageFileService.GetLanguageText" << false;
    QTest::newRow("no language file") << "" << true;
}

void tst_formats::languageFileProblemsDoNotFail()
{
    QFETCH(QString, operation);
    QFETCH(bool, noLanguageFile);

    TestSupport::SimFixture sim(NetworkFile);
    QVERIFY2(sim.isLoaded(), qPrintable(sim.errorString()));
    if (!operation.isEmpty())
        sim->failOperation(operation, Refused);
    if (noLanguageFile) {
        for (const auto &set : sim->model().resourceSets)
            set->languageFile.clear();
    }
    Resolution r;
    r.unitText = QStringLiteral("stale");
    const auto nv = GetFirstNetworkVariable(sim->block(Device, "Temp"));
    QVERIFY(GetNvTypeFormat(nv, 1, r.node, r.programId, r.longFormat, r.unitText, r.typeIndex, r.baseKind, r.errMsg));
    QCOMPARE(r.unitText, QString());
    QCOMPARE(r.errMsg, QString());
    QCOMPARE(r.longFormat, StandardPrefix + "SNVT_temp_p#US");
    QCOMPARE(sim->openHandleCount(), 0);
}

void tst_formats::damagedNvTypeText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("german");
    QTest::addColumn<QString>("errMsg");

    QTest::newRow("empty") << "" << false << "The value of NV Type is not valid.";
    QTest::newRow("empty, translated") << "" << true << "Der Wert des NV-Typs ist ungültig.";
    QTest::newRow("truncated") << "90 00 A5 3D 0A" << false << "Subscript out of range";
    QTest::newRow("index not a number") << "90 00 A5 3D 0A 04 04 10 0 x" << false << "Type mismatch";
    QTest::newRow("no such type")
        << "90 00 A5 3D 0A 04 04 10 0 250" << false
        << "Failed to get the TreeNode object with programId: 9000A53D0A040410, scope: 0 and TypeIndex: 250.";
    QTest::newRow("no format, translated")
        << "90 00 A5 3D 0A 04 04 10 0 8" << true << "Formatdefinition nicht gefunden: SNVT_count";
}

void tst_formats::damagedNvTypeText()
{
    QFETCH(QString, text);
    QFETCH(bool, german);
    QFETCH(QString, errMsg);

    TestSupport::SimFixture sim(NetworkFile);
    QVERIFY2(sim.isLoaded(), qPrintable(sim.errorString()));
    if (german) {
        sim->setLanguage(QStringLiteral("de"));
        LoadLanguageStrings();
    }
    nvTypeNode(sim, "Temp")->value.text = text;
    TestSupport::SeamRecorder seams;
    const Resolution r = resolve(sim, "Temp", 0);
    QVERIFY(!r.ok);
    QCOMPARE(r.errMsg, errMsg);
    QCOMPARE(sim->openHandleCount(), 0);
    QCOMPARE(seams.messageCount(), 0);
}

QTEST_MAIN(tst_formats)
#include "tst_formats.moc"
