// SPDX-License-Identifier: MIT
// Display strings and messages: the placeholder builder, the table lookup, the reload
// rule of the language service, the ErrMsg appending rule and the reporting to the host.
#include "shared/ProcessState.h"
#include "shared/Seams.h"
#include "shared/Strings.h"
#include "support/SeamRecorder.h"
#include "support/SimFixture.h"

#include <QtTest>

using namespace MKorvane;

namespace {

const QString Builder = QStringLiteral("Messages GetStrings");

void installTable(const QList<QPair<QString, QString>> &entries)
{
    auto table = std::make_shared<DeviceAccess::StringCollection>();
    for (const auto &entry : entries)
        table->Add(entry.second, entry.first);
    processState().displayStrings = table;
}

} // namespace

class tst_strings : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { resetForTests(); }

    void getStrings_data()
    {
        QTest::addColumn<QString>("message");
        QTest::addColumn<QVariantList>("params");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<QStringList>("boxTitles");

        const auto row = [](const char *name, const char *message, const QVariantList &params, const char *expected,
                             const QStringList &boxTitles = {}) {
            QTest::newRow(name) << message << params << expected << boxTitles;
        };

        row("numbered, any order", "%s3%-%s1%-%s2%", { "a", 2, "c" }, "c-a-2");
        row("positional, upper-case S", "%s% then %S%", { "a", "b" }, "a then b");
        row("no parameters keep the placeholder", "definition: %s%", {}, "definition: %s%");
        row("bare %s keeps the text after", "value %sunit", { "5" }, "value 5unit");
        // Pieces after the last parameter's placeholder are not used.
        row("more placeholders than parameters", "%s% of %s%", { "a" }, "a of ");
        row("fewer placeholders than parameters", "only %s%", { "a", "b" }, "only a", { Builder });
        row("number above the parameters", "x %s9% y", { "a" }, "x ", { Builder });
        row("number too large for the index", "<%s40000%>", { "a" }, "<", { "GetIndexOrder", Builder });
    }

    void getStrings()
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
        }
        QCOMPARE(titles, boxTitles);
    }

    // Keys are trimmed and upper-cased; parameters go through the table too.
    void translation()
    {
        installTable({ { "FORMAT NAME", "Formatname" }, { "CANNOT OPEN '%S%'!", "'%s%' nicht lesbar!" },
            { "%S2% BEFORE %S1%", "%s1% nach %s2%" } });
        QCOMPARE(GetLanguageString("  format name  "), QStringLiteral("Formatname"));
        QCOMPARE(GetLanguageString("  Not In Table "), QStringLiteral("  Not In Table "));
        QCOMPARE(GetStrings("Cannot open '%s%'!", { " format name " }), QStringLiteral("'Formatname' nicht lesbar!"));
        // The translation decides the order of the numbered placeholders.
        QCOMPARE(GetStrings("%s2% before %s1%", { "a", "b" }), QStringLiteral("a nach b"));
    }

    void loadLanguageStringsOnlyAfterAChange()
    {
        TestSupport::SimFixture sim(QStringLiteral("mkorvane-network.json"));
        QVERIFY2(sim.isLoaded(), qPrintable(sim.errorString()));
        sim->setLanguage(QStringLiteral("de"));
        sim->setStringsChangeTime(QDateTime::currentDateTime().addSecs(-60));
        sim->clearCallLog();
        const auto fetches = [&] { return sim->callCount("LanguageService.GetApplicationStrings"); };

        LoadLanguageStrings();
        QCOMPARE(GetLanguageString("format name"), QStringLiteral("Formatname"));
        LoadLanguageStrings();
        QCOMPARE(fetches(), 1);

        // Two switches back to back, then two loads: the first load fetches, the second not.
        sim->setLanguage(QStringLiteral("en"));
        sim->setLanguage(QStringLiteral("de"));
        LoadLanguageStrings();
        LoadLanguageStrings();
        QCOMPARE(fetches(), 2);

        sim->setStringsChangeTime(QDateTime::currentDateTime().addSecs(3600));
        LoadLanguageStrings();
        QCOMPARE(fetches(), 3);

        // A failing service keeps the table it had, quietly.
        sim->setStringsChangeTime(QDateTime::currentDateTime().addSecs(7200));
        sim->failOperation("LanguageService.GetApplicationStrings", DeviceAccess::DeviceError::ObjectErrorBase + 77);
        TestSupport::SeamRecorder seams;
        LoadLanguageStrings();
        QCOMPARE(GetLanguageString("format name"), QStringLiteral("Formatname"));
        QCOMPARE(seams.messageCount(), 0);
    }

    // Lines are joined by CR LF; an empty first line leaves nothing to join to.
    void appendErrMsg_data()
    {
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<QString>("expected");
        QTest::newRow("three") << QStringList { "a", "b", "c" } << "a\r\nb\r\nc";
        QTest::newRow("first empty") << QStringList { "", "b" } << "b";
        QTest::newRow("later empty") << QStringList { "a", "" } << "a\r\n";
    }

    void appendErrMsg()
    {
        QFETCH(QStringList, lines);
        QFETCH(QString, expected);
        QString errMsg;
        for (const QString &line : lines)
            AppendErrMsg(errMsg, line);
        QCOMPARE(errMsg, expected);
    }

    // A non-empty ErrMsg raises the event; the box comes only when the host leaves it.
    void reportError()
    {
        TestSupport::SeamRecorder seams;
        QStringList raised;
        bool hostTakesIt = true;
        const auto raise = [&](const QString &message, const QString &module, const QString &function, qint32 style,
                               bool &isReceived) {
            raised << QStringLiteral("%1|%2|%3|%4|%5").arg(message, module, function).arg(style).arg(isReceived);
            isReceived = hostTakesIt;
        };
        ReportError("a\r\nb", "Hardware Properties", "ReadValues", raise);
        ReportError("", "Hardware Properties", "ReadValues", raise);
        QCOMPARE(seams.messageCount(), 0);
        hostTakesIt = false;
        ReportError("a\r\nb", "Hardware Properties", "ReadValues", raise);
        QCOMPARE(raised, QStringList(2, "a\r\nb|Hardware Properties|ReadValues|16|0"));
        QCOMPARE(seams.messageTexts(), QStringList { "a\r\nb" });
        QCOMPARE(seams.messages().first().title, QStringLiteral("Hardware Properties ReadValues"));
        QCOMPARE(seams.messages().first().style, vbCritical);
    }
};

QTEST_MAIN(tst_strings)
#include "tst_strings.moc"
