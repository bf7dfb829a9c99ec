// SPDX-License-Identifier: MIT
// Other writers of the database: a program that changes the file while the host has it
// open (the host asks before it saves: reload, overwrite, save as), a second host (it
// opens read-only), a host that died holding the lock, and two scripted hosts at once,
// neither of which may lose the other's edit.
#include "device/sim/SimNetwork.h"
#include "script/ScriptParser.h"
#include "script/ScriptRunner.h"
#include "shared/Seams.h"
#include "support/ScriptedHost.h"
#include "support/SeamRecorder.h"
#include "support/TableRow.h"
#include "window/HostWindow.h"
#include "window/UnsavedQuestion.h"

#include <QAbstractButton>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QMessageBox>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextStream>
#include <QtTest>

using namespace Host;
using TestSupport::row;

namespace {

const QString Controller = QStringLiteral("HWI-Controller 1");
const QString Input = QStringLiteral("HwInput[0]");

QByteArray contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QString stored(const QString &path, const QString &cp, const QString &block = Input)
{
    try {
        return Sim::Network::load(path)->storedCpText(Controller, block, cp);
    } catch (const Sim::LoadError &error) {
        return error.message();
    }
}

// Clicks the button of that name in a dialog "shown" through the modal seam.
int click(QDialog &dialog, const QString &button)
{
    if (auto *found = button.isEmpty() ? nullptr : dialog.findChild<QAbstractButton *>(button))
        found->click();
    return dialog.result();
}

} // namespace

class tst_host_other_writers : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> dir;
    QString database;
    QString outside; // the database as another program changes it: another maximum

    // Another program writes the file in place, as a copy over it does.
    void writeFromOutside(const QString &from = QString()) const
    {
        QCOMPARE(QProcess::execute(QStringLiteral("cp"), { from.isEmpty() ? outside : from, database }), 0);
    }
    // Starts a scripted host that sets the offset of that input and confirms.
    void startScript(QProcess &host, const QString &block, const QString &name) const
    {
        QFile file(dir->filePath(name));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(QStringLiteral("input \"HWI-Controller 1\" \"%1\"\nset txtOff 2.5\nok\n").arg(block).toUtf8());
        file.close();
        TestSupport::startHost(host, *dir, { QStringLiteral("--script"), file.fileName(), database });
    }
    static QString finish(QProcess &host)
    {
        TestSupport::finishHost(host);
        return QString::fromUtf8(host.readAllStandardOutput() + host.readAllStandardError());
    }

private slots:
    void init()
    {
        dir = std::make_unique<QTemporaryDir>();
        QVERIFY(dir->isValid());
        database = TestSupport::prepareHostFolder(*dir);
        outside = dir->filePath(QStringLiteral("outside.json"));
        const auto changed = Sim::Network::load(database);
        changed->setStoredCpText(Controller, Input, QStringLiteral("SCPTmaxRnge"), QStringLiteral("77"));
        changed->save(outside);
    }
    void cleanup() { dir.reset(); }

    // The window asks before it saves over a file another program changed; each answer
    // keeps what it promises. A file written again with the same bytes is no change.
    void changedFileIsNotOverwrittenUnasked_data()
    {
        QTest::addColumn<QString>("answer"); // the button clicked; empty: the question is closed
        QTest::addColumn<QString>("field"); // edited: the offset, or the maximum the other program changes too
        // sameBytes: the outside writer writes what is there already; asked; saved: apply() saved;
        // ours, theirs: the edit, the outside maximum is in the file afterwards; shownTheirs: the
        // window shows the outside maximum; pending: the edit waits in the field, not written.
        QTest::addColumn<QString>("outcome");
        QTest::addColumn<QString>("log");
        row("reload", "changedReload", "txtOff", "asked theirs shownTheirs pending",
            "your edits are back in the fields, not written yet: ");
        row("reload, same field changed", "changedReload", "txtMax", "asked theirs shownTheirs",
            "edits not kept, as the other program changed the same fields");
        row("overwrite", "changedOverwrite", "txtOff", "asked saved ours", "Saved net.json");
        row("save as", "changedSaveAs", "txtOff", "asked saved theirs", "the window now works on mine.json");
        row("closed", "", "txtOff", "asked theirs pending",
            "changed by another program since it was opened; not saved");
        row("same bytes, new time", "changedReload", "txtOff", "sameBytes saved ours", "Saved net.json");
    }
    void changedFileIsNotOverwrittenUnasked()
    {
        QFETCH(QString, answer);
        QFETCH(QString, field);
        QFETCH(QString, outcome);
        QFETCH(QString, log);
        const QStringList flags = outcome.split(QLatin1Char(' '));
        const bool asked = flags.contains("asked"), pending = flags.contains("pending");
        bool saved = flags.contains("saved");
        const QString typed = field == QLatin1String("txtOff") ? QStringLiteral("1.5") : QStringLiteral("90");
        const QString cp
            = field == QLatin1String("txtOff") ? QStringLiteral("UCPToffset") : QStringLiteral("SCPTmaxRnge");
        const QString max = QStringLiteral("SCPTmaxRnge");
        const QString mine = dir->filePath(QStringLiteral("mine.json"));
        const QString copy = dir->filePath(QStringLiteral("copy.json"));
        QVERIFY(QFile::copy(database, copy));
        TestSupport::SeamRecorder seams;
        QStringList dialogs;
        seams.setModalDriver([&](QDialog &dialog) {
            dialogs << dialog.objectName();
            if (auto *files = qobject_cast<QFileDialog *>(&dialog)) {
                files->selectFile(mine);
                return int(QDialog::Accepted);
            }
            return click(dialog, answer);
        });
        HostWindow window;
        window.setReproducible(true);
        window.show();
        QVERIFY(window.openDatabase(database));
        QVERIFY(window.selectInput(Controller, Input));
        const auto text
            = [&window](const QString &name) { return window.page()->findChild<QLineEdit *>(name)->text(); };
        window.page()->findChild<QLineEdit *>(field)->setText(typed);
        QTest::qWait(20); // a later modification time
        writeFromOutside(flags.contains("sameBytes") ? copy : QString());
        QCOMPARE(window.apply(), saved);
        QCOMPARE(dialogs.contains(QStringLiteral("hostFileChanged")), asked);
        QCOMPARE(dialogs.contains(QStringLiteral("hostSaveDatabaseAs")), answer == QLatin1String("changedSaveAs"));
        QTRY_VERIFY2(window.logText().contains(log), qPrintable(window.logText()));
        QCOMPARE(stored(database, cp).toDouble() == typed.toDouble(), flags.contains("ours"));
        QCOMPARE(stored(database, max) == QLatin1String("77.0"), flags.contains("theirs"));
        QCOMPARE(window.currentInput(), Input);
        QCOMPARE(text(QStringLiteral("txtMax")).toDouble() == 77, flags.contains("shownTheirs"));
        QCOMPARE(window.isWindowModified(), pending);
        if (answer == QLatin1String("changedSaveAs")) {
            QCOMPARE(stored(mine, cp).toDouble(), typed.toDouble());
            QCOMPARE(window.databasePath(), mine);
            QVERIFY(window.windowTitle().contains(QLatin1String("mine.json")));
        }
        // Only what was typed comes back or is named as not kept, not what the control wrote with it.
        if (asked && answer == QLatin1String("changedReload"))
            QCOMPARE(window.logText().contains(QLatin1String("edits not kept")), !pending);
        // Edits typed again after a reload go onto the file as the other program left it.
        if (pending && answer == QLatin1String("changedReload")) {
            QCOMPARE(text(field), typed);
            QVERIFY(window.apply());
            QCOMPARE(stored(database, cp).toDouble(), typed.toDouble());
            QCOMPARE(stored(database, max), QStringLiteral("77.0"));
            saved = true;
        }
        // The window's own save is no change: the next one goes through unasked, to the
        // file the window works on now.
        if (saved) {
            dialogs.clear();
            QVERIFY(window.saveDatabase());
            QVERIFY(dialogs.isEmpty());
        }
    }

    // A script cannot answer: the save fails, names the file, and the outside edit stays.
    void scriptStopsAtAChangedFile()
    {
        HostWindow window;
        window.setReproducible(true);
        window.show();
        QString output;
        QTextStream out(&output);
        ScriptRunner runner(window, out);
        // The outside program writes while the script is asked about its edits; it answers write.
        bool written = false;
        setUnsavedQuestion([&](QWidget *, const QString &) {
            written = true;
            writeFromOutside();
            return UnsavedAnswer::Write;
        });
        const ScriptRunSummary summary = runner.run(parseScript(QStringLiteral("input \"HWI-Controller 1\" "
                                                                               "\"HwInput[0]\"\nset txtOff 1.5\n"
                                                                               "input \"HwInput[1]\"\nok\n")),
            database, false);
        setUnsavedQuestion({});
        QVERIFY(written);
        QCOMPARE(summary.failures.size(), 1);
        QVERIFY2(summary.failures.first().startsWith(QLatin1String("line 3:")), qPrintable(summary.failures.first()));
        QVERIFY2(output.contains(database + QStringLiteral(" was changed by another program")), qPrintable(output));
        QCOMPARE(contents(database), contents(outside));
    }

    // A second host is told; it may look but not save. Closed, it opens nothing.
    void secondWindowOpensReadOnly_data()
    {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<bool>("opened");
        QTest::newRow("read-only") << "openReadOnly" << true;
        QTest::newRow("closed") << "" << false;
    }
    void secondWindowOpensReadOnly()
    {
        QFETCH(QString, answer);
        QFETCH(bool, opened);
        HostWindow first;
        QVERIFY(first.openDatabase(database));
        TestSupport::SeamRecorder seams;
        QString question;
        seams.setModalDriver([&](QDialog &dialog) {
            if (auto *box = qobject_cast<QMessageBox *>(&dialog))
                question = box->text();
            return click(dialog, answer);
        });
        HostWindow second;
        second.setReproducible(true);
        QCOMPARE(second.openDatabase(database), opened);
        QVERIFY2(question.startsWith(QStringLiteral("Another host has %1 open").arg(database)), qPrintable(question));
        QCOMPARE(second.readOnly(), opened);
        QCOMPARE(second.windowTitle().contains(QLatin1String("read-only")), opened);
        if (!opened)
            return;
        QVERIFY(second.selectInput(Controller, Input));
        second.page()->findChild<QLineEdit *>(QStringLiteral("txtOff"))->setText(QStringLiteral("1.5"));
        const QByteArray before = contents(database);
        QVERIFY(!second.apply());
        QCOMPARE(contents(database), before);
        QVERIFY(seams.messageTexts().join(QString()).contains(QLatin1String("is open read-only")));
        // Once the first host has gone on to another file, opening again takes the lock.
        QVERIFY(first.openDatabase(outside));
        second.discard();
        QVERIFY(second.reloadDatabase());
        QVERIFY(!second.readOnly());
        QVERIFY(!second.windowTitle().contains(QLatin1String("read-only")));
    }

    // Two processes: a host window holds the database; a script on it runs read-only and
    // its save fails naming the file. Killed, the window leaves a lock that is recognised
    // as stale: the next script saves.
    void secondProcessIsToldAndStaleLockIsTaken()
    {
        QProcess window;
        TestSupport::startHost(window, *dir, { database }, QStringLiteral("offscreen"));
        const QString lock = QFileInfo(database).canonicalFilePath() + QStringLiteral(".lock");
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(lock), 60000);
        const QByteArray before = contents(database);
        QProcess host;
        startScript(host, Input, QStringLiteral("edit.vqs"));
        const QString refused = finish(host);
        QCOMPARE(host.exitCode(), 1);
        QVERIFY2(refused.contains(QLatin1String("read-only: another host has it open")), qPrintable(refused));
        QVERIFY2(refused.contains(database + QStringLiteral(" is open read-only")), qPrintable(refused));
        QCOMPARE(contents(database), before);

        window.kill();
        window.waitForFinished();
        QVERIFY(QFile::exists(lock)); // left behind
        startScript(host, Input, QStringLiteral("edit.vqs"));
        const QString saved = finish(host);
        QVERIFY2(host.exitCode() == 0, qPrintable(saved));
        QCOMPARE(stored(database, QStringLiteral("UCPToffset")), QStringLiteral("2.5"));
        QVERIFY(!QFile::exists(lock));
    }

    // Two scripted hosts started together, each editing its own input: whichever saves
    // keeps its edit, and one that could not save says so and fails. Nothing is lost
    // silently.
    void twoScriptsAtOnceLoseNoEdit_data()
    {
        QTest::addColumn<int>("round");
        for (int round = 1; round <= 3; ++round)
            QTest::addRow("round %d", round) << round;
    }
    void twoScriptsAtOnceLoseNoEdit()
    {
        const QStringList blocks { QStringLiteral("HwInput[0]"), QStringLiteral("HwInput[1]") };
        QProcess hosts[2];
        for (int i = 0; i < 2; ++i)
            startScript(hosts[i], blocks.at(i), QStringLiteral("edit%1.vqs").arg(i));
        const QString outputs[2] = { finish(hosts[0]), finish(hosts[1]) };
        int saved = 0;
        for (int i = 0; i < 2; ++i) {
            const bool kept = stored(database, QStringLiteral("UCPToffset"), blocks.at(i)) == QLatin1String("2.5");
            if (hosts[i].exitCode() == 0) {
                ++saved;
                QVERIFY2(
                    kept, qPrintable(QStringLiteral("%1 reported success, but its edit is gone").arg(blocks.at(i))));
            } else {
                QCOMPARE(hosts[i].exitCode(), 1);
                QVERIFY2(outputs[i].contains(database), qPrintable(outputs[i]));
            }
        }
        QVERIFY(saved >= 1);
    }
};

QTEST_MAIN(tst_host_other_writers)
#include "tst_host_other_writers.moc"
