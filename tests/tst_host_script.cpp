// SPDX-License-Identifier: MIT
// Scripted runs of the host: every example script runs against a copy of the sample
// network and checks its own expectations; scripts that fail an expectation, stop at a
// refused write or hold a line that is not a command show what they report. The
// splitting of a line into words is checked on its own.
#include "script/ScriptParser.h"
#include "script/ScriptRunner.h"
#include "support/ScriptedHost.h"
#include "support/TableRow.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>
#include <sys/stat.h>

using TestSupport::row;

class tst_host_script : public QObject
{
    Q_OBJECT

    struct Run
    {
        int exitCode = -1;
        QList<QJsonObject> lines;
        QString errors;
    };

    // Runs vqhost on a copy of the sample network (with its input-type defaults beside it).
    static Run runScript(const QTemporaryDir &dir, const QString &script)
    {
        QProcess host;
        TestSupport::startHost(host, dir, { QStringLiteral("--script"), script, TestSupport::prepareHostFolder(dir) });
        Run run;
        if (!TestSupport::finishHost(host))
            return run;
        run.exitCode = host.exitStatus() == QProcess::NormalExit ? host.exitCode() : -1;
        run.errors = QString::fromUtf8(host.readAllStandardError());
        for (const QByteArray &line : host.readAllStandardOutput().split('\n')) {
            const QJsonDocument document = QJsonDocument::fromJson(line);
            if (!line.isEmpty())
                run.lines << (document.isObject() ? document.object()
                                                  : QJsonObject { { "unparsable", QString::fromUtf8(line) } });
        }
        return run;
    }

    static QList<int> linesWithResult(const Run &run, const QString &result)
    {
        QList<int> numbers;
        for (const QJsonObject &line : run.lines) {
            if (line.value(QStringLiteral("result")).toString() == result)
                numbers << line.value(QStringLiteral("line")).toInt();
        }
        return numbers;
    }

private slots:
    void scripts_data()
    {
        QTest::addColumn<QString>("script");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QList<int>>("failed");
        QTest::addColumn<QList<int>>("skipped");
        QTest::addColumn<QString>("errorLine"); // what stderr must say
        QTest::addColumn<bool>("untouched"); // the database file stays as it was

        const QDir examples(QStringLiteral(VQ_EXAMPLES_DIR));
        const QStringList names = examples.entryList({ QStringLiteral("*.vqs") }, QDir::Files, QDir::Name);
        QVERIFY2(names.size() >= 3, "the example scripts are missing");
        for (const QString &name : names)
            QTest::newRow(qPrintable(name)) << examples.filePath(name) << 0 << QList<int>() << QList<int>()
                                            << QStringLiteral("commands, all succeeded") << false;
        const QString data = QStringLiteral(VQ_TEST_DATA_DIR "/");
        QTest::newRow("failed expectation, the script goes on")
            << data + QStringLiteral("script-failing-expectation.vqs") << 1 << QList<int> { 6 } << QList<int>()
            << QStringLiteral("line 6: expected txtMin to read \"5.000\", found \"0.000\"") << true;
        QTest::newRow("refused write stops the script")
            << data + QStringLiteral("script-stops.vqs") << 1 << QList<int> { 6 } << QList<int> { 7, 8, 9 }
            << QStringLiteral("stopped at line 6, 3 more not run") << false;
        QTest::newRow("a line that is not a command runs nothing")
            << data + QStringLiteral("script-syntax-error.vqs") << 2 << QList<int> { 5 } << QList<int>()
            << QStringLiteral("nothing was run: line 5: the quote opened at column 12 is not closed") << true;
    }

    void scripts()
    {
        QFETCH(QString, script);
        QFETCH(int, exitCode);
        QFETCH(QList<int>, failed);
        QFETCH(QList<int>, skipped);
        QFETCH(QString, errorLine);
        QFETCH(bool, untouched);
        QTemporaryDir dir;
        const Run run = runScript(dir, script);
        QVERIFY2(run.errors.contains(errorLine), qPrintable(run.errors));
        QCOMPARE(run.exitCode, exitCode);
        QCOMPARE(linesWithResult(run, QStringLiteral("failed")), failed);
        QCOMPARE(linesWithResult(run, QStringLiteral("skipped")), skipped);

        QFile file(script);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QList<Host::ScriptLine> commands = Host::parseScript(QString::fromUtf8(file.readAll()));
        if (exitCode != 2) {
            // The database of the command line opens first (line 0), then one line per command in order.
            QList<int> expected { 0 };
            for (const Host::ScriptLine &command : commands)
                expected << command.number;
            QList<int> printed;
            for (const QJsonObject &line : run.lines)
                printed << line.value(QStringLiteral("line")).toInt(-1);
            QCOMPARE(printed, expected);
        }
        for (const QJsonObject &line : run.lines) {
            for (const char *key : { "command", "result", "detail", "messages" })
                QVERIFY2(line.contains(QLatin1String(key)), qPrintable(QJsonDocument(line).toJson()));
            const QJsonArray messages = line.value(QStringLiteral("messages")).toArray();
            const QString result = line.value(QStringLiteral("result")).toString();
            // Every OK reports per control in the messages.
            if (line.value(QStringLiteral("command")).toString() == QLatin1String("ok")
                && result != QLatin1String("skipped"))
                QVERIFY2(QJsonDocument(messages).toJson().contains("hardware side"),
                    qPrintable(QJsonDocument(line).toJson()));
            // A dialog that needs a user is cancelled and recorded with the click that opened it.
            if (line.value(QStringLiteral("command")).toString() == QLatin1String("click cmdTable"))
                QVERIFY2(QJsonDocument(messages).toJson(QJsonDocument::Compact).contains("\"source\":\"dialog\""),
                    qPrintable(QJsonDocument(line).toJson()));
            // A failed expectation names what it expected and what it found.
            if (result == QLatin1String("failed")
                && line.value(QStringLiteral("command")).toString().startsWith(QLatin1String("expect")))
                QVERIFY(line.contains(QStringLiteral("expected")) && line.contains(QStringLiteral("found")));
        }
        if (script.endsWith(QLatin1String("script-stops.vqs"))) {
            const QJsonArray messages = run.lines.value(4).value(QStringLiteral("messages")).toArray();
            QVERIFY2(QJsonDocument(messages).toJson(QJsonDocument::Compact).contains("\"severity\":\"critical\""),
                qPrintable(QJsonDocument(messages).toJson()));
        }
        if (untouched) {
            QFile sample(QStringLiteral(VQ_DATA_DIR "/sample-network.json"));
            QFile copy(dir.filePath(QStringLiteral("net.json")));
            QVERIFY(sample.open(QIODevice::ReadOnly) && copy.open(QIODevice::ReadOnly));
            QVERIFY(sample.readAll() == copy.readAll());
        }
    }

    // The line that ends a run: singular and plural, a placeholder in a name kept as it is.
    void summaryLine()
    {
        const auto line = [](int run, const QStringList &failures, const QString &script) {
            Host::ScriptRunSummary summary;
            summary.run = run;
            summary.failures = failures;
            return summary.text(script);
        };
        QCOMPARE(line(1, {}, "a.vqs"), "vqhost: a.vqs: 1 command, all succeeded");
        QCOMPARE(line(3, {}, "a.vqs"), "vqhost: a.vqs: 3 commands, all succeeded");
        QCOMPARE(line(1, { "line 2: x" }, "a.vqs"), "vqhost: a.vqs: 1 of 1 command failed: line 2: x");
        QCOMPARE(line(4, { "line 3: %2" }, "%1.vqs"), "vqhost: %1.vqs: 1 of 4 commands failed: line 3: %2");
    }

    void words_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QStringList>("words"); // empty: refused with a reason
        const auto row = [](const char *name, const QString &line, const QStringList &words) {
            QTest::newRow(name) << line << words;
        };
        row("plain, blanks around", "  set\ttxtOff 2.5 ", { "set", "txtOff", "2.5" });
        row("quoted with blanks", "input \"HWI-Controller 1\" \"HwInput[3]\"",
            { "input", "HWI-Controller 1", "HwInput[3]" });
        row("escapes and empty", "set a \"say \\\"hi\\\" \\\\\" \"\"", { "set", "a", "say \"hi\" \\", "" });
        row("comment after, # inside a word and quotes", "expect x a#b \"#1\" # note", { "expect", "x", "a#b", "#1" });
        row("unclosed quote", "set x \"abc", {});
        row("quote glued after", "set x \"a\"b", {});
        row("quote inside a word", "set x a\"b\"", {});
    }

    void words()
    {
        QFETCH(QString, line);
        QFETCH(QStringList, words);
        const bool error = words.isEmpty();
        QStringList split;
        QString why;
        QCOMPARE(Host::splitWords(line, split, &why), !error);
        QCOMPARE(why.isEmpty(), !error);
        if (!error)
            QCOMPARE(split, words);
    }

    void scriptText_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("commands"); // the commands read, with the text accepted
        QTest::addColumn<QString>("error"); // what is found and where; empty: accepted
        const QString ends = "; a script's lines end in LF or CR LF",
                      utf8 = " a script is read as UTF-8: save it as UTF-8";
        const QString utf16 = "the script is UTF-16 text;" + utf8;
        row("LF", QByteArray("open\nreload\n"), 2, QString());
        row("CR LF and a byte-order mark", QByteArray("\xEF\xBB\xBFopen\r\nreload\r\n"), 2, QString());
        row("text beyond ASCII", QByteArray("set txtName \"F\xC3\xBChler \xE2\x82\xAC\"\n"), 1, QString());
        row("CR alone", QByteArray("open\rreload\r"), 0,
            "the lines end in a carriage return (CR) alone, as on a classic Mac" + ends);
        row("one CR alone among LF", QByteArray("open\nreload\rset a b\n"), 0,
            "a carriage return (CR) alone at line 2, column 7" + ends);
        row("UTF-16 with a mark", QByteArray("\xFF\xFEo\0p\0e\0n\0\n\0", 12), 0, utf16);
        row("UTF-16 big-endian without a mark", QByteArray("\0o\0p\0e\0n\0\n", 10), 0, utf16);
        row("UTF-32", QByteArray("\xFF\xFE\0\0o\0\0\0", 8), 0, "the script is UTF-32 text;" + utf8);
        row("NUL", QByteArray("open\nreload\0\n", 13), 0,
            QString("a NUL byte at line 2, column 7: the script is not a text file"));
        row("Latin-1", QByteArray("open\nset txtName F\xFChler\n"), 0,
            "the byte 0xfc at line 2, column 14 is not UTF-8;" + utf8);
        row("overlong form", QByteArray("set a \xC0\xAF\n"), 0,
            "the byte 0xc0 at line 1, column 7 is not UTF-8;" + utf8);
    }

    // A script in another encoding or with other line ends is refused with what was found,
    // instead of being read as one long line or as words full of NULs.
    void scriptText()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(int, commands);
        QFETCH(QString, error);
        QString text;
        QString why;
        QCOMPARE(Host::decodeScript(bytes, text, &why), error.isEmpty());
        QCOMPARE(why, error);
        if (error.isEmpty())
            QCOMPARE(Host::parseScript(text).size(), commands);
    }

    void unreadableScript_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("error"); // after "vqhost: cannot read the script <path>: "
        const QString regular = QStringLiteral("it is %1, and a script is a regular file");
        row("a device", "/dev/zero", regular.arg("a device"));
        row("a FIFO", "fifo", regular.arg("a FIFO (named pipe)"));
        row("a folder", "folder", regular.arg("a folder"));
        row("too large", "large", QString("it holds more than 16777216 bytes (16 MiB), more than a script may"));
        row("UTF-16", "utf16", QString("the script is UTF-16 text; a script is read as UTF-8: save it as UTF-8"));
    }

    // What is not a script file is refused at once with exit code 2, without waiting on a
    // FIFO or reading a device that never ends.
    void unreadableScript()
    {
        QFETCH(QString, kind);
        QFETCH(QString, error);
        QTemporaryDir dir;
        QString path = kind.startsWith(QLatin1Char('/')) ? kind : dir.filePath(QStringLiteral("script.vqs"));
        if (kind == QLatin1String("fifo"))
            QVERIFY(::mkfifo(QFile::encodeName(path).constData(), 0600) == 0);
        if (kind == QLatin1String("folder"))
            QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("script.vqs")));
        if (kind == QLatin1String("large") || kind == QLatin1String("utf16")) {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            if (kind == QLatin1String("large"))
                QVERIFY(file.resize(Host::MaxScriptSize + 1));
            else
                file.write(QByteArray("\xFF\xFEo\0p\0e\0n\0\n\0", 12));
        }
        const Run run = runScript(dir, path);
        QCOMPARE(run.exitCode, 2);
        QCOMPARE(run.errors.trimmed(), QStringLiteral("vqhost: cannot read the script %1: %2").arg(path, error));
        QVERIFY(run.lines.isEmpty());
    }
};

QTEST_GUILESS_MAIN(tst_host_script)
#include "tst_host_script.moc"
