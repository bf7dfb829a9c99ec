// SPDX-License-Identifier: MIT
// The network variable's type from SCPTnvType (both layouts, damaged texts) and its
// resolution through the resource catalog: format with and without per-system variants,
// the absolute prefix, unit texts, failures on the way, and that every catalog,
// type-file and language-file handle is closed again. The functional block's object major
// version and its first network variable.
#include "device/sim/SimModel.h"
#include "shared/DeviceState.h"
#include "shared/Formats.h"
#include "shared/Numbers.h"
#include "shared/ProcessState.h"
#include "support/SeamRecorder.h"
#include "support/SimFixture.h"
#include "support/SimTestCase.h"

#include <QtTest>

using namespace MKorvane;

namespace {
const QString ProgramId = QStringLiteral("9000A53D0A040410");
const QString StandardPrefix = QStringLiteral("#9000A53D0A040410[0].");
const QString UserPrefix = QStringLiteral("#9000A53D0A040410[3].");
constexpr qint32 Refused = DeviceAccess::DeviceError::ObjectErrorBase + 61;
} // namespace

class tst_formats : public TestSupport::SimTestCase
{
    Q_OBJECT

public:
    tst_formats()
        : SimTestCase(QStringLiteral("mkorvane-network.json"))
    {
    }

private slots:
    void parseNvTypeValue_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("parsed"); // "programId scope index", or the error
        const auto row = [](const char *name, const QString &text, const QString &parsed) {
            QTest::newRow(name) << text << parsed;
        };
        row("plain", "90 00 A5 3D 0A 04 04 10 0 105", ProgramId + " 0 105");
        row("plain, one-digit bytes", "9 0 A5 3D A 4 4 1 3 81", "0900A53D0A040401 3 81");
        row("labelled, one-digit bytes", "PID 90:0:A5:3D:A:4:4:10 ,  Scope 12 , Index 1", ProgramId + " 12 1");
        row("empty", "", "The value of NV Type is not valid.");
        row("plain, truncated", "90 00 A5 3D 0A 04 04 10 0", "Subscript out of range");
        row("labelled, truncated", "PID 90:00:A5", "Subscript out of range");
        row("not a number", "90 00 A5 3D 0A 04 04 10 x 105", "Type mismatch");
        row("index too large", "90 00 A5 3D 0A 04 04 10 0 99999999999", "Overflow");
        row("overlong", "90 00 A5 3D 0A 04 04 10 0 105" + QString(" 1").repeated(100000), ProgramId + " 0 105");
    }
    void parseNvTypeValue()
    {
        QFETCH(QString, text);
        QFETCH(QString, parsed);
        qint32 scope = -1, index = -1;
        QString id, errMsg = QStringLiteral("earlier");
        const bool ok = ParseNvTypeValue(text, scope, id, index, errMsg);
        QCOMPARE(ok ? QString("%1 %2 %3").arg(id).arg(scope).arg(index) : errMsg, ok ? parsed : "earlier\r\n" + parsed);
        if (ok)
            QCOMPARE(errMsg, QStringLiteral("earlier"));
    }
    void resolution_data()
    {
        QTest::addColumn<QString>("block");
        QTest::addColumn<QString>("change"); // nvType=<text>, fail=<operation>, quiet=<operation>, or a named case
        QTest::addColumn<int>("system");
        QTest::addColumn<QString>("longFormat"); // empty: the resolution fails with errMsg
        QTest::addColumn<QString>("unitText");
        QTest::addColumn<QString>("errMsg");
        const auto row = [](const char *name, const char *block, const QString &change, int system,
                             const QString &longFormat, const QString &unit, const QString &errMsg) {
            QTest::newRow(name) << block << change << system << longFormat << unit << errMsg;
        };
        const QString tempUs = StandardPrefix + "SNVT_temp_p#US";
        row("variants, SI", "Temp", "", 0, StandardPrefix + "SNVT_temp_p#SI", "°C", "");
        row("variants, US", "Temp", "", 1, tempUs, "°F", "");
        row("no variants", "Level", "", 1, StandardPrefix + "SNVT_lev_percent", "%", "");
        // No US variant listed: the bare name.
        row("US falls back to the bare name", "Pressure", "", 1, StandardPrefix + "SNVT_press_p", "Pa", "");
        row("user type, own scope", "Raw", "", 1, UserPrefix + "UNVT_raw", "counts", "");
        row("absolute name, no second prefix", "Absolute", "", 0, UserPrefix + "UNVT_abs", "counts", "");
        row("no format", "Count", "", 0, "", "", "Cannot find out the format definition: SNVT_count");
        row("no such type", "Temp", "nvType=90 00 A5 3D 0A 04 04 10 0 250", 0, "", "",
            "Failed to get the TreeNode object with programId: 9000A53D0A040410, scope: 0 and TypeIndex: 250.");
        row("CP text fails", "Temp", "fail=ConfigProperty.ValueText", 1, "", "", "refused");
        // Without the type the format lookup runs with an empty name and finds nothing.
        row("tree node fails", "Temp", "fail=TypeService.GetTreeNode", 1, "", "",
            "refused\r\nCannot find out the format definition: ");
        row("find format fails", "Temp", "fail=FormatCatalog.FindFormat", 1, "", "", "refused");
        row("quiet failure", "Temp", "quiet=FormatCatalog.FindFormat", 1, "", "", "");
        row("no catalog", "Temp", "no catalog", 1, "", "", "Cannot open DRF catalog!");
        // A language-file problem never fails the resolution; the unit text is then empty.
        row("language file fails", "Temp", "fail=LanguageFileService.OpenLanguageFile", 1, tempUs, "", "");
        row("no language file", "Temp", "no language file", 1, tempUs, "", "");
    }
    void resolution()
    {
        QFETCH(QString, block);
        QFETCH(QString, change);
        QFETCH(int, system);
        QFETCH(QString, longFormat);
        QFETCH(QString, unitText);
        QFETCH(QString, errMsg);

        const QString operation = change.section('=', 1);
        if (change.startsWith("nvType="))
            (*sim)->model().device("Controller")->block(block)->nvs.front()->cp("SCPTnvType")->value.text = operation;
        else if (change.startsWith("fail="))
            (*sim)->failOperation(operation, Refused, false, QString(), "refused");
        else if (change.startsWith("quiet="))
            (*sim)->failOperation(operation, DeviceAccess::DeviceError::QuietNumber5030);
        else if (change == "no catalog")
            (*sim)->setCatalogAvailable(false); // the catalog answers with handle 0
        else if (change == "no language file")
            for (const auto &set : (*sim)->model().resourceSets)
                set->languageFile.clear();
        TestSupport::SeamRecorder seams;
        DeviceAccess::TypeTreeNodePtr node;
        QString programId, gotFormat, gotUnit = QStringLiteral("stale"), gotErr;
        qint32 typeIndex = -1, baseKind = -1;
        const auto nv = GetFirstNetworkVariable((*sim)->block(QStringLiteral("Controller"), block));
        const bool ok
            = GetNvTypeFormat(nv, qint16(system), node, programId, gotFormat, gotUnit, typeIndex, baseKind, gotErr);
        QCOMPARE(ok, !longFormat.isEmpty());
        QCOMPARE(gotErr, errMsg);
        if (ok)
            QCOMPARE(QStringList({ programId, gotFormat, gotUnit }), QStringList({ ProgramId, longFormat, unitText }));
        if (!change.startsWith("nvType=") && change.contains('='))
            QVERIFY2((*sim)->callCount(operation) > 0, "the fault was never reached");
        QVERIFY2((*sim)->openHandleCount() == 0, qPrintable((*sim)->openHandles().join(", ")));
        QCOMPARE(seams.messageCount(), 0);
    }
    void typeFileClosedInEveryCase_data()
    {
        QTest::addColumn<int>("scope");
        QTest::addColumn<QString>("fault"); // an operation that fails
        QTest::addColumn<bool>("found");
        QTest::newRow("node found") << 0 << "" << true;
        QTest::newRow("no type file: handle 0") << 7 << "" << false;
        QTest::newRow("node lookup fails") << 0 << "TypeService.GetTreeNode" << false;
    }
    // The handle that the type-file lookup gave is closed last, whatever happened in between.
    void typeFileClosedInEveryCase()
    {
        QFETCH(int, scope);
        QFETCH(QString, fault);
        QFETCH(bool, found);
        if (!fault.isEmpty())
            (*sim)->failOperation(fault, Refused);
        (*sim)->clearCallLog();
        DeviceAccess::TypeTreeNodePtr node;
        QString errMsg;
        GetTypeTreeNode(ProgramId, scope, 105, node, errMsg);
        QCOMPARE(bool(node), found);

        const auto &log = (*sim)->callLog();
        QVERIFY(!log.isEmpty());
        QCOMPARE(log.last().operation, QStringLiteral("ResourceCatalog.CloseResourceFile"));
        QCOMPARE((*sim)->callCount("ResourceCatalog.CloseResourceFile"), 1);
        // The handle closed is the one the node was asked from.
        QString asked;
        for (const Sim::CallRecord &call : log) {
            if (call.operation == "TypeService.GetTreeNode")
                asked = call.arguments.value(0);
        }
        QCOMPARE(log.last().arguments.value(0), asked);
        QCOMPARE(asked == QStringLiteral("0"), scope == 7);
        QCOMPARE((*sim)->openHandleCount(), 0);
    }
    void unitTextFailures_data()
    {
        QTest::addColumn<QString>("languageFile"); // "set": the resource set's own
        QTest::addColumn<int>("nodeType"); // 0: no type-tree node
        QTest::addColumn<QString>("unitText");
        QTest::addColumn<QString>("errMsg");
        const auto row = [](const char *name, const QString &file, int node, const QString &unit, const QString &err) {
            QTest::newRow(name) << file << node << unit << err;
        };
        row("no language file", "", 105, "", "No DRF language was found!");
        row("file that does not open", "C:\\missing.enu", 105, "", "Cannot open language file 'C:\\missing.enu'!");
        row("neither format nor node", "set", 0, "", "No valid  language was found!");
        row("node without unit", "set", 109, "", "Language Unit Index was not valid!");
        row("node with unit", "set", 105, "°C", "");
    }
    void unitTextFailures()
    {
        QFETCH(QString, languageFile);
        QFETCH(int, nodeType);
        QFETCH(QString, unitText);
        QFETCH(QString, errMsg);
        QString typeFile, formatFile, setLanguageFile, gotErr;
        QVERIFY(GetDrfFileNames(ProgramId, 0, typeFile, formatFile, setLanguageFile, gotErr));
        DeviceAccess::TypeTreeNodePtr node;
        if (nodeType)
            QVERIFY(GetTypeTreeNode(ProgramId, 0, nodeType, node, gotErr) && node);
        QString gotUnit = QStringLiteral("stale");
        const bool ok
            = GetFormatUnitText(languageFile == "set" ? setLanguageFile : languageFile, nullptr, node, gotUnit, gotErr);
        QCOMPARE(ok, errMsg.isEmpty());
        QCOMPARE(gotUnit, unitText);
        QCOMPARE(gotErr, errMsg);
        QCOMPARE((*sim)->openHandleCount(), 0);
    }

    // The block's object major version: its leading number (halves round to even), 0 on any failure.
    void objMajorVersion_data()
    {
        QTest::addColumn<QString>("block");
        QTest::addColumn<QString>("stored"); // empty: the file's value; "fault": the device fails
        QTest::addColumn<double>("version");
        QTest::addColumn<int>("rounded");
        const auto row = [](const char *name, const char *block, const char *stored, double version, int rounded) {
            QTest::newRow(name) << block << stored << version << rounded;
        };
        row("2", "Temp", "", 2.0, 2);
        row("1", "NoNv", "", 1.0, 1);
        row("1.5 rounds up to even", "Temp", "1.5", 1.5, 2);
        row("2.5 rounds down to even", "Temp", "2.5", 2.5, 2);
        row("blanks and text after", "Temp", "  3 (rev B)", 3.0, 3);
        row("no number", "Temp", "v2", 0.0, 0);
        row("missing property", "NoVersion", "", 0.0, 0);
        row("device failure", "Temp", "fault", 0.0, 0);
    }
    void objMajorVersion()
    {
        QFETCH(QString, block);
        QFETCH(QString, stored);
        QFETCH(double, version);
        QFETCH(int, rounded);
        if (stored == QLatin1String("fault"))
            (*sim)->failOperation("ConfigProperty.ValueText", Refused);
        else if (!stored.isEmpty())
            (*sim)->model().device("Controller")->block(block)->cp(QStringLiteral("SCPTobjMajVer"))->value.text
                = stored;
        const double got = GetObjMajorVersion((*sim)->block(QStringLiteral("Controller"), block)->ConfigProperties());
        QCOMPARE(got, version);
        QCOMPARE(int(RoundToInteger(got)), rounded);
        QCOMPARE(GetObjMajorVersion(nullptr), 0.0);
    }
    // The first of the block's variables; a block without any, or no block, fails.
    void firstNetworkVariable()
    {
        const auto first = [&](const char *block) {
            return GetFirstNetworkVariable(block ? (*sim)->block(QStringLiteral("Controller"), block) : nullptr);
        };
        QCOMPARE(first("Temp")->Name(), QStringLiteral("nvoTemp"));
        QVERIFY_THROWS_EXCEPTION(DeviceAccess::Failure, first("NoNv"));
        try {
            first(nullptr);
            QFAIL("no failure without a block");
        } catch (const DeviceAccess::Failure &failure) {
            QCOMPARE(failure.number(), int(DeviceAccess::RuntimeError::ObjectNotSet));
            QCOMPARE(failure.description(), QStringLiteral("Object variable not set"));
        }
    }
};

QTEST_MAIN(tst_formats)
#include "tst_formats.moc"
