// SPDX-License-Identifier: MIT
// Display strings and messages: the placeholder builder (positional and numbered,
// malformed templates), the table lookup, the reload rule of the language service,
// the ErrMsg appending rule and the reporting of errors to the host.
#include "device/sim/SimModel.h"
#include "shared/ProcessState.h"
#include "shared/Seams.h"
#include "shared/Strings.h"
#include "support/SeamRecorder.h"
#include "support/SimFixture.h"

#include <QtTest>

using namespace MKorvane;

namespace {

const QString Builder = QStringLiteral("Messages GetStrings");
const QString IndexOrder = QStringLiteral("GetIndexOrder");

void installTable(const QList<QPair<QString, QString>> &entries)
{
    auto table = std::make_shared<DeviceAccess::StringCollection>();
    for (const auto &entry : entries)
        table->Add(entry.second, entry.first);
    processState().displayStrings = table;
}

struct RaisedEvent
{
    QString message, module, function;
    qint32 style = 0;
    int count = 0;
};

} // namespace

class tst_strings : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { resetForTests(); }

    void getStrings_data();
    void getStrings();
    void getStringsTranslatesMessageAndParameters();
    void getLanguageString_data();
    void getLanguageString();
    void overlongTemplate();
    void loadLanguageStrings();
    void loadLanguageStringsKeepsTableOnFailure();
    void appendErrMsg_data();
    void appendErrMsg();
    void reportError_data();
    void reportError();
    void busyPointerRestoresThePrevious();
};

void tst_strings::getStrings_data()
{
    QTest::addColumn<QString>("message");
    QTest::addColumn<QVariantList>("params");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<QStringList>("boxTitles");

    const QStringList none;
    QTest::newRow("file name between quotes")
        << "Cannot open language file '%s%'!" << QVariantList { "/res/lang/enu.lng" }
        << "Cannot open language file '/res/lang/enu.lng'!" << none;
    QTest::newRow("numbered, in order")
        << "Failed to get the TreeNode object with programId: %s1%, scope: %s2% and TypeIndex: %s3%."
        << QVariantList { "9FFFFF0501840460", 3, 105 }
        << "Failed to get the TreeNode object with programId: 9FFFFF0501840460, scope: 3 and TypeIndex: 105." << none;
    QTest::newRow("second before first") << "%s2% before %s1%" << QVariantList { "a", "b" } << "b before a" << none;
    QTest::newRow("numbered reverse of three") << "%s3%-%s2%-%s1%" << QVariantList { 1, 2, 3 } << "3-2-1" << none;
    QTest::newRow("same parameter twice") << "%s1% and %s1%" << QVariantList { "x", "y" } << "x and x" << none;
    QTest::newRow("positional") << "%s% then %s%" << QVariantList { "a", "b" } << "a then b" << none;
    QTest::newRow("upper-case S") << "[%S%]" << QVariantList { "v" } << "[v]" << none;
    QTest::newRow("no parameters keep the placeholder")
        << "Cannot find out the format definition: %s%" << QVariantList {}
        << "Cannot find out the format definition: %s%" << none;
    QTest::newRow("fraction parameter") << "v=%s%" << QVariantList { 1.5 } << "v=1.5" << none;
    QTest::newRow("bare %s keeps the text after") << "value %sunit" << QVariantList { "5" } << "value 5unit" << none;
    QTest::newRow("digits without closing percent") << "%s1 apples" << QVariantList { "a" } << "a1 apples" << none;
    QTest::newRow("truncated at the end") << "abc %s" << QVariantList { "x" } << "abc x" << none;
    // Pieces after the last parameter's placeholder are not used.
    QTest::newRow("more placeholders than parameters") << "%s% of %s%" << QVariantList { "a" } << "a of " << none;
    QTest::newRow("fewer placeholders than parameters")
        << "only %s%" << QVariantList { "a", "b" } << "only a" << QStringList { Builder };
    QTest::newRow("no placeholder with a parameter")
        << "plain text" << QVariantList { "a" } << "plain text" << QStringList { Builder };
    QTest::newRow("empty message") << "" << QVariantList { "a" } << "" << QStringList { Builder };
    QTest::newRow("number above the parameters")
        << "x %s9% y" << QVariantList { "a" } << "x " << QStringList { Builder };
    QTest::newRow("number zero") << "x %s0% y" << QVariantList { "a" } << "x " << QStringList { Builder };
    QTest::newRow("second piece bad") << "%s1%,%s4%" << QVariantList { "a", "b" } << "a," << QStringList { Builder };
    QTest::newRow("number too large for the index")
        << "<%s99999999999%>" << QVariantList { "a" } << "<" << QStringList { IndexOrder, Builder };
}

void tst_strings::getStrings()
{
    QFETCH(QString, message);
    QFETCH(QVariantList, params);
    QFETCH(QString, expected);
    QFETCH(QStringList, boxTitles);

    TestSupport::SeamRecorder seams;
    QCOMPARE(GetStrings(message, params), expected);
    QStringList titles;
    for (const auto &box : seams.messages()) {
        titles << box.title;
        QCOMPARE(box.style, vbCritical);
        QVERIFY(!box.text.isEmpty());
    }
    QCOMPARE(titles, boxTitles);
}

void tst_strings::getStringsTranslatesMessageAndParameters()
{
    installTable({ { "CANNOT OPEN LANGUAGE FILE '%S%'!", "Sprachdatei '%s%' nicht lesbar!" }, { "SCOPE", "Bereich" },
        { "%S2% BEFORE %S1%", "%s1% nach %s2%" } });
    TestSupport::SeamRecorder seams;
    QCOMPARE(GetStrings("Cannot open language file '%s%'!", { " scope " }),
        QStringLiteral("Sprachdatei 'Bereich' nicht lesbar!"));
    QCOMPARE(GetStrings("Cannot open language file '%s%'!", { "a.lng" }),
        QStringLiteral("Sprachdatei 'a.lng' nicht lesbar!"));
    // The translation decides the order of the numbered placeholders.
    QCOMPARE(GetStrings("%s2% before %s1%", { "a", "b" }), QStringLiteral("a nach b"));
    QCOMPARE(seams.messageCount(), 0);
}

void tst_strings::getLanguageString_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");

    QTest::newRow("exact key") << "FORMAT NAME"
                               << "Formatname";
    QTest::newRow("blanks and lower case") << "  format name  "
                                           << "Formatname";
    QTest::newRow("mixed case") << "Format Name"
                                << "Formatname";
    QTest::newRow("missing keeps blanks and case") << "  Not In Table "
                                                   << "  Not In Table ";
    QTest::newRow("inner blanks matter") << "Format  name"
                                         << "Format  name";
    QTest::newRow("empty") << ""
                           << "";
    QTest::newRow("blank") << "   "
                           << "   ";
}

void tst_strings::getLanguageString()
{
    QFETCH(QString, text);
    QFETCH(QString, expected);
    installTable({ { "FORMAT NAME", "Formatname" }, { "NOT IN TABLE!", "wrong" } });
    QCOMPARE(GetLanguageString(text), expected);
}

void tst_strings::overlongTemplate()
{
    TestSupport::SeamRecorder seams;
    QString message;
    for (int i = 0; i < 20000; ++i)
        message += QStringLiteral("%s%s9%%S");
    const QString result = GetStrings(message, { "a", "b", "c" });
    QVERIFY(result.size() < 100);
    // The second piece names parameter 9 of 3.
    QCOMPARE(seams.messageCount(), 1);
    QCOMPARE(seams.messages().first().title, Builder);
}

void tst_strings::loadLanguageStrings()
{
    TestSupport::SimFixture sim(QStringLiteral("mkorvane-network.json"));
    QVERIFY2(sim.isLoaded(), qPrintable(sim.errorString()));

    // A language whose table translates something, and one of its entries.
    QString key, value;
    for (const QString &code : sim->languages()) {
        const Sim::LanguageDef *language = sim->model().languageDef(code);
        QVERIFY(language);
        const auto strings = language->applications.value(ApplicationName);
        for (auto it = strings.cbegin(); it != strings.cend() && key.isEmpty(); ++it) {
            if (it.value() != it.key() && !it.key().contains(QLatin1Char('%'))) {
                key = it.key();
                value = it.value();
                sim->setLanguage(code);
            }
        }
    }
    QVERIFY2(!key.isEmpty(), "the sample network translates nothing");
    const QString english = QStringLiteral(" ") + key.toLower() + QStringLiteral(" ");
    sim->setStringsChangeTime(QDateTime::currentDateTime().addSecs(-60));
    sim->clearCallLog();

    QCOMPARE(GetLanguageString(english), english);
    LoadLanguageStrings();
    QCOMPARE(GetLanguageString(english), value);
    QCOMPARE(sim->callCount("LanguageService.GetApplicationStrings"), 1);
    QCOMPARE(sim->callLog().last().arguments.value(0), ApplicationName);

    LoadLanguageStrings();
    QCOMPARE(sim->callCount("LanguageService.GetStringsChangeTime"), 2);
    QCOMPARE(sim->callCount("LanguageService.GetApplicationStrings"), 1);

    // A change after the last load fetches the table again.
    sim->setStringsChangeTime(QDateTime::currentDateTime().addSecs(3600));
    LoadLanguageStrings();
    QCOMPARE(sim->callCount("LanguageService.GetApplicationStrings"), 2);
    QCOMPARE(GetLanguageString(english), value);

    // A change before the last load does not.
    sim->setStringsChangeTime(QDateTime::currentDateTime().addSecs(-3600));
    LoadLanguageStrings();
    QCOMPARE(sim->callCount("LanguageService.GetApplicationStrings"), 2);
}

void tst_strings::loadLanguageStringsKeepsTableOnFailure()
{
    TestSupport::SimFixture sim(QStringLiteral("mkorvane-network.json"));
    QVERIFY2(sim.isLoaded(), qPrintable(sim.errorString()));
    installTable({ { "FORMAT NAME", "Formatname" } });
    TestSupport::SeamRecorder seams;

    for (const char *operation : { "LanguageService.GetStringsChangeTime", "LanguageService.GetApplicationStrings" }) {
        sim->clearFaults();
        sim->failOperation(operation, DeviceAccess::DeviceError::ObjectErrorBase + 77);
        LoadLanguageStrings();
        QCOMPARE(GetLanguageString("Format name"), QStringLiteral("Formatname"));
    }
    QCOMPARE(seams.messageCount(), 0);

    // Without any device library the texts stay as they are.
    DeviceAccess::install(nullptr);
    resetForTests();
    LoadLanguageStrings();
    QCOMPARE(GetLanguageString("Format name"), QStringLiteral("Format name"));
}

void tst_strings::appendErrMsg_data()
{
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QString>("expected");

    QTest::newRow("one") << QStringList { "a" } << "a";
    QTest::newRow("two") << QStringList { "a", "b" } << "a\r\nb";
    QTest::newRow("three") << QStringList { "a", "b", "c" } << "a\r\nb\r\nc";
    QTest::newRow("first empty") << QStringList { "", "b" } << "b";
    QTest::newRow("later empty") << QStringList { "a", "" } << "a\r\n";
}

void tst_strings::appendErrMsg()
{
    QFETCH(QStringList, lines);
    QFETCH(QString, expected);
    QString errMsg;
    for (const QString &line : lines)
        AppendErrMsg(errMsg, line);
    QCOMPARE(errMsg, expected);

    // Failures follow the same rule, but the two quiet numbers leave no line.
    QString failures;
    AppendFailure(failures, DeviceAccess::DeviceError::QuietNumber5030, "quiet");
    AppendFailure(failures, DeviceAccess::DeviceError::QuietNumber1026, "quiet");
    for (const QString &line : lines)
        AppendFailure(failures, DeviceAccess::DeviceError::ObjectErrorBase + 1, line);
    QCOMPARE(failures, expected);
}

void tst_strings::reportError_data()
{
    QTest::addColumn<QString>("errMsg");
    QTest::addColumn<bool>("hostTakesIt");
    QTest::addColumn<int>("events");
    QTest::addColumn<int>("boxes");

    QTest::newRow("host takes it") << "line 1\r\nline 2" << true << 1 << 0;
    QTest::newRow("host leaves it") << "line 1\r\nline 2" << false << 1 << 1;
    QTest::newRow("nothing to report") << "" << false << 0 << 0;
}

void tst_strings::reportError()
{
    QFETCH(QString, errMsg);
    QFETCH(bool, hostTakesIt);
    QFETCH(int, events);
    QFETCH(int, boxes);

    TestSupport::SeamRecorder seams;
    RaisedEvent raised;
    auto raise
        = [&](const QString &message, const QString &module, const QString &function, qint32 style, bool &isReceived) {
              QVERIFY(!isReceived);
              raised = { message, module, function, style, raised.count + 1 };
              isReceived = hostTakesIt;
          };
    ReportError(errMsg, "Hardware Properties", "ReadValues", raise);
    QCOMPARE(raised.count, events);
    QCOMPARE(seams.messageCount(), boxes);
    if (events) {
        QCOMPARE(raised.message, errMsg);
        QCOMPARE(raised.module, QStringLiteral("Hardware Properties"));
        QCOMPARE(raised.function, QStringLiteral("ReadValues"));
        QCOMPARE(raised.style, 16);
    }
    if (boxes) {
        QCOMPARE(seams.messages().first().text, errMsg);
        QCOMPARE(seams.messages().first().style, vbCritical);
        QCOMPARE(seams.messages().first().title, QStringLiteral("Hardware Properties ReadValues"));
    }

    // An information message without the box fallback.
    seams.clear();
    QCOMPARE(RaiseMessage("note", "Network Variable", "cmdValue_Click", vbInformation, raise, false), hostTakesIt);
    QCOMPARE(raised.style, vbInformation);
    QCOMPARE(seams.messageCount(), 0);
}

void tst_strings::busyPointerRestoresThePrevious()
{
    TestSupport::SeamRecorder seams;
    {
        BusyPointer outer;
        QCOMPARE(seams.currentPointer(), vbHourglass);
        {
            BusyPointer inner;
        }
        // The inner one gives back the hourglass, not the default.
        QCOMPARE(seams.currentPointer(), vbHourglass);
    }
    QCOMPARE(seams.pointerSequence(), QVector<int>({ vbHourglass, vbHourglass, vbHourglass, vbDefault }));
}

QTEST_MAIN(tst_strings)
#include "tst_strings.moc"
