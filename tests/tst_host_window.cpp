// SPDX-License-Identifier: MIT
// The host window driven through its widgets, offscreen: what OK and Apply report per
// control, a failed save, the unsaved-changes question on every path that would drop
// edits, the set-point-offset relay seen in the call log and a second view's override.
#include "device/sim/SimNetwork.h"
#include "script/ScriptParser.h"
#include "script/ScriptRunner.h"
#include "support/HostTestCase.h"
#include "support/SeamRecorder.h"
#include "support/SimFixture.h"
#include "window/HostWindow.h"
#include "window/UnsavedQuestion.h"

#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTest>
#include <QTextStream>
#include <QTreeWidget>

using namespace Host;

class tst_host_window : public TestSupport::HostTestCase
{
    Q_OBJECT

    const QString Controller = QStringLiteral("HWI-Controller 1");
    QStringList asked;
    UnsavedAnswer answer = UnsavedAnswer::Stay;

    QLineEdit *field(const QString &name) const
    {
        const QWidget *page = window->page();
        return page ? page->findChild<QLineEdit *>(name) : nullptr;
    }
    // The control a field belongs to.
    static QString controlOf(QWidget *w)
    {
        while (w && !w->objectName().startsWith(QLatin1String("ctlSensor")))
            w = w->parentWidget();
        return w ? w->objectName() : QString();
    }
    QPushButton *applyButton() const { return window->findChild<QPushButton *>(QStringLiteral("hostApply")); }
    QString stored(const QString &cp, const QString &block = QStringLiteral("HwInput[0]")) const
    {
        const bool nvCp = cp.endsWith(QLatin1String("SendTime")); // send times belong to the variable
        return Sim::Network::load(sim->databasePath())->storedCpText(Controller, block, cp, nvCp);
    }

protected:
    void afterWindow() override
    {
        asked.clear();
        setUnsavedQuestion([this](QWidget *, const QString &what) {
            asked << what;
            return answer;
        });
    }

private slots:
    void confirmReportsEachControl_data()
    {
        QTest::addColumn<QString>("block");
        QTest::addColumn<QString>("name"); // the field edited
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("hardware"); // how each control's outcome starts
        QTest::addColumn<QString>("network");
        QTest::addColumn<QString>("fixed"); // typed after a refusal, then Enter; stored
        const auto row = [](const char *name, const char *block, const char *field, const char *text,
                             const char *hardware, const char *network, const char *fixed = "") {
            QTest::newRow(name) << block << field << text << hardware << network << fixed;
        };
        row("offset", "HwInput[0]", "txtOff", "1.5", "written", "nothing to write");
        row("heartbeat", "HwInput[0]", "txtHeart", "120", "nothing to write", "written");
        // A structure other than the switch type has no send delta to write: its network
        // side still counts as written.
        row("heartbeat, no send delta", "HwInput[12]", "txtHeart", "120", "nothing to write",
            "written (this type has no send delta to write)");
        row("min refused", "HwInput[0]", "txtMin", "abc", "not written: ", "nothing to write", "2");
        row("heartbeat refused", "HwInput[0]", "txtHeart", "often", "nothing to write", "not written: ", "90");
    }
    void confirmReportsEachControl()
    {
        QFETCH(QString, block);
        QFETCH(QString, name);
        QFETCH(QString, text);
        QFETCH(QString, hardware);
        QFETCH(QString, network);
        QFETCH(QString, fixed);
        const QString cp = name == QLatin1String("txtOff") ? QStringLiteral("UCPToffset")
            : name == QLatin1String("txtMin")              ? QStringLiteral("SCPTminRnge")
                                                           : QStringLiteral("SCPTmaxSendTime");
        QVERIFY(window->selectInput(Controller, block));
        const QString before = stored(cp, block);
        QVERIFY(!window->isWindowModified());
        field(name)->setText(text);
        QVERIFY(window->isWindowModified());
        applyButton()->click();
        const QString log = window->logText();
        QVERIFY2(log.contains(block + QStringLiteral(", hardware side: ") + hardware), qPrintable(log));
        QVERIFY2(log.contains(block + QStringLiteral(", network side: ") + network), qPrintable(log));
        QCOMPARE(window->isWindowModified(), !fixed.isEmpty());
        if (fixed.isEmpty()) {
            QVERIFY(stored(cp, block).toDouble() == text.toDouble());
            return;
        }
        // The refusal reads as the side and the action; internal names stay in the detail.
        const QString side = hardware.startsWith(QLatin1String("not written")) ? "Hardware" : "Network";
        QVERIFY2(log.contains(side + QStringLiteral(" side, writing HwInput[0]: ")), qPrintable(log));
        QVERIFY(!log.contains(QLatin1String("style")));
        QCOMPARE(stored(cp), before);
        QCOMPARE(field(name)->text(), text); // the edit stays
        field(name)->setText(fixed);
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        QTest::keyClick(window.get(), Qt::Key_Return);
        QVERIFY(!window->isWindowModified());
        QVERIFY(!window->isVisible()); // OK closes after everything was written and saved
        QVERIFY(stored(cp).toDouble() == fixed.toDouble());
    }

    // A stored interpretation the control's list does not offer is said when the input
    // opens and is no edit: OK without an edit writes nothing. Choosing an interpretation
    // writes it.
    void interpretationNotOfferedIsKept_data()
    {
        QTest::addColumn<QString>("block");
        QTest::addColumn<int>("offer"); // the host's interpretation offer (hostChoice)
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("chosen"); // then picked by the user
        QTest::newRow("not in the device's list") << "HwInput[11]" << 0 << "SETPOINT"
                                                  << "LINEAR";
        QTest::newRow("not in the host's offer") << "HwInput[3]" << 5 << "MULTI_LEVEL"
                                                 << "DIGITAL";
    }
    void interpretationNotOfferedIsKept()
    {
        QFETCH(QString, block);
        QFETCH(int, offer);
        QFETCH(QString, stored);
        QFETCH(QString, chosen);
        const QString cp = QStringLiteral("UCPTinputSignalInterpretation");
        window->findChild<QComboBox *>(QStringLiteral("hostChoice"))->setCurrentIndex(offer);
        QVERIFY(window->selectInput(Controller, block));
        auto list = window->hardwareControl()->findChild<QComboBox *>(QStringLiteral("cboInput"));
        QVERIFY(list->findText(stored) < 0);
        const QString line
            = QStringLiteral("Hardware side, opening %1: The stored interpretation %2 is not offered for "
                             "this input; OK will store %3")
                  .arg(block, stored, list->currentText());
        QVERIFY2(window->logText().contains(line), qPrintable(window->logText()));
        QVERIFY(!window->isWindowModified());

        window->network()->clearCallLog();
        QTest::mouseClick(window->findChild<QPushButton *>(QStringLiteral("hostOk")), Qt::LeftButton);
        QCOMPARE(window->network()->callCount(QStringLiteral("ConfigProperty.setValueText")), 0);
        QCOMPARE(this->stored(cp, block), stored);
        QVERIFY(window->logText().endsWith(block + QStringLiteral(": nothing to write.")));

        window->show();
        list = window->hardwareControl()->findChild<QComboBox *>(QStringLiteral("cboInput"));
        list->setCurrentIndex(list->findText(chosen));
        QVERIFY(window->isWindowModified());
        QTest::mouseClick(applyButton(), Qt::LeftButton);
        QCOMPARE(this->stored(cp, block), chosen);
    }

    // The sample's tables of enumerated inputs lie within the enumeration's range: the
    // editor opened and closed with OK takes them, and Apply stores them unchanged.
    void enumeratedTablesPassTheEditor_data()
    {
        QTest::addColumn<QString>("block");
        QTest::newRow("version 2") << "HwInput[3]";
        QTest::newRow("version 1") << "HwInput[7]";
    }
    void enumeratedTablesPassTheEditor()
    {
        QFETCH(QString, block);
        TestSupport::SeamRecorder seams;
        seams.setModalDriver([](QDialog &dialog) {
            dialog.show();
            QTest::mouseClick(dialog.findChild<QPushButton *>(QStringLiteral("cmdOK")), Qt::LeftButton);
            return dialog.result();
        });
        QVERIFY(window->selectInput(Controller, block));
        const QString table = stored(QStringLiteral("UCPTtransTable"), block);
        QTest::mouseClick(
            window->hardwareControl()->findChild<QPushButton *>(QStringLiteral("cmdTable")), Qt::LeftButton);
        QCOMPARE(seams.modalCount(), 1);
        QVERIFY2(seams.messageTexts().isEmpty(), qPrintable(seams.messageTexts().join(QLatin1Char('\n'))));
        QTest::mouseClick(applyButton(), Qt::LeftButton);
        QVERIFY2(!window->logText().contains(QLatin1String("not written")), qPrintable(window->logText()));
        QCOMPARE(stored(QStringLiteral("UCPTtransTable"), block), table);
    }

    // After Apply every property written is read back; a device that stores another value
    // is reported per control in the units shown, and the fields then show what it holds.
    void writtenValuesAreReadBack_data()
    {
        QTest::addColumn<int>("units");
        QTest::addColumn<QString>("name"); // the field typed into
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("cp"); // the property that stores another value, or none
        QTest::addColumn<QString>("instead"); // what it stores (SI)
        QTest::addColumn<QString>("outcome"); // the line of the Messages pane
        QTest::addColumn<QString>("shown"); // the field afterwards
        const auto row = [](const char *name, int units, const char *field, const char *text, const char *cp,
                             const char *instead, const char *outcome, const char *shown) {
            QTest::newRow(name) << units << field << text << cp << instead << outcome << shown;
        };
        row("as sent", 0, "txtMax", "30", "", "", "HwInput[0], hardware side: written", "30.0");
        row("maximum, SI", 0, "txtMax", "30", "SCPTmaxRnge", "22.8",
            "HwInput[0], hardware side: written, but the device reports 22.8 for Max. Value (sent: 30)", "22.8");
        row("maximum, US", 1, "txtMax", "86", "SCPTmaxRnge", "22.8",
            "HwInput[0], hardware side: written, but the device reports 73.0 for Max. Value (sent: 86)", "73.0");
        row("heartbeat", 0, "txtHeart", "120", "SCPTmaxSendTime", "90",
            "HwInput[0], network side: written, but the device reports 90.0 for Heartbeat (sent: 120)", "90.0");
    }
    void writtenValuesAreReadBack()
    {
        QFETCH(int, units);
        QFETCH(QString, name);
        QFETCH(QString, text);
        QFETCH(QString, cp);
        QFETCH(QString, instead);
        QFETCH(QString, outcome);
        QFETCH(QString, shown);
        QVERIFY(window->setMeasurementSystem(qint16(units)));
        if (!cp.isEmpty())
            window->network()->storeDifferentValue(
                Controller, QStringLiteral("HwInput[0]"), cp, instead, cp.endsWith(QLatin1String("SendTime")));
        field(name)->setText(text);
        QTest::mouseClick(applyButton(), Qt::LeftButton);
        const QStringList log = window->logText().split(QLatin1Char('\n'));
        QVERIFY2(log.contains(outcome), qPrintable(window->logText()));
        QCOMPARE(field(name)->text(), shown);
        QVERIFY(!window->isWindowModified());
        QCOMPARE(window->lastWrite().verified(), cp.isEmpty());
    }

    // Read back with the device as it is, every input in both unit systems reports what was
    // sent: the comparison knows each format's texts (members, structures, tables, decimals).
    void everyInputReadsBackWhatWasSent_data()
    {
        QTest::addColumn<QString>("block");
        QTest::addColumn<int>("units");
        for (int i = 0; i < 13; ++i) {
            for (int units : { 0, 1 })
                QTest::addRow("HwInput[%d] %s", i, units ? "US" : "SI")
                    << QStringLiteral("HwInput[%1]").arg(i) << units;
        }
    }
    void everyInputReadsBackWhatWasSent()
    {
        QFETCH(QString, block);
        QFETCH(int, units);
        QVERIFY(window->setMeasurementSystem(qint16(units)));
        QVERIFY(window->selectInput(Controller, block));
        // The whole hardware side is written when Reverse is ticked; the network side for a heartbeat.
        auto reverse = window->hardwareControl()->findChild<QAbstractButton *>(QStringLiteral("chkReverse"));
        if (reverse->isVisibleTo(window->hardwareControl()))
            QTest::mouseClick(reverse, Qt::LeftButton);
        field(QStringLiteral("txtHeart"))->setText(QStringLiteral("75"));
        QTest::mouseClick(applyButton(), Qt::LeftButton);
        const PageOutcome &written = window->lastWrite();
        QVERIFY(!written.network.readBack.isEmpty());
        QVERIFY2(written.verified(), qPrintable(written.hardware.text() + QLatin1Char('\n') + written.network.text()));
    }

    // A script's ok carries the same read-back: the command fails with what the device
    // reports, and its line lists every property read back with what was sent.
    void scriptOkCarriesTheReadBack()
    {
        // The script opens its database afresh; the fault goes into each network it opens.
        const Sim::Network *injected = nullptr;
        connect(window->findChild<QListWidget *>(QStringLiteral("hostLog"))->model(), &QAbstractItemModel::rowsInserted,
            this, [&] {
                if (window->network() && window->network().get() != injected) {
                    injected = window->network().get();
                    window->network()->storeDifferentValue(Controller, QStringLiteral("HwInput[0]"),
                        QStringLiteral("SCPTmaxRnge"), QStringLiteral("22.8"));
                }
            });
        QString out;
        QTextStream stream(&out);
        Host::ScriptRunner runner(*window, stream);
        const Host::ScriptRunSummary summary
            = runner.run(Host::parseScript(QStringLiteral("input HwInput[0]\nset txtMax 30\nset txtOff 1.5\nok\n")),
                sim->databasePath(), false);
        stream.flush();
        QJsonObject ok;
        for (const QString &line : out.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
            const QJsonObject object = QJsonDocument::fromJson(line.toUtf8()).object();
            if (object.value(QStringLiteral("command")).toString() == QLatin1String("ok"))
                ok = object;
        }
        QCOMPARE(ok.value(QStringLiteral("result")).toString(), QStringLiteral("failed"));
        QCOMPARE(ok.value(QStringLiteral("detail")).toString(),
            QStringLiteral("HwInput[0]: written, but the device reports 22.8 for Max. Value (sent: 30)"));
        QStringList readBack;
        for (const QJsonValue &item : ok.value(QStringLiteral("readBack")).toArray())
            readBack << QStringLiteral("%1 %2 %3 %4 %5")
                            .arg(item[QStringLiteral("side")].toString(), item[QStringLiteral("property")].toString(),
                                item[QStringLiteral("sent")].toString(), item[QStringLiteral("reported")].toString())
                            .arg(item[QStringLiteral("same")].toBool() ? "same" : "differs");
        QVERIFY2(readBack.contains(QStringLiteral("hardware SCPTmaxRnge 30 22.8 differs"))
                && readBack.contains(QStringLiteral("hardware UCPToffset 1.5 1.5 same")),
            qPrintable(readBack.join(QLatin1Char('\n'))));
        QCOMPARE(summary.failures.size(), 1);
    }

    void failedSaveKeepsTheEdits()
    {
        TestSupport::SeamRecorder seams;
        // A folder where the file was: the save cannot replace it. The file is no longer
        // what was loaded, so the host asks first; overwriting is what then fails.
        QVERIFY(QFile::remove(sim->databasePath()));
        QVERIFY(QDir().mkpath(sim->databasePath() + QStringLiteral("/blocked")));
        seams.setModalDriver([](QDialog &dialog) {
            if (auto *overwrite = dialog.findChild<QAbstractButton *>(QStringLiteral("changedOverwrite")))
                overwrite->click();
            return dialog.result();
        });
        field(QStringLiteral("txtOff"))->setText(QStringLiteral("1.5"));
        QVERIFY(!window->apply());
        QCOMPARE(seams.modalCount(), 1);
        QVERIFY(window->logText().contains(QLatin1String("The database was not saved")));
        QCOMPARE(seams.messageCount(), 1);
        QCOMPARE(field(QStringLiteral("txtOff"))->text(), QStringLiteral("1.5"));
        QVERIFY(window->isWindowModified());
    }

    void pendingEditsAreAskedFor_data()
    {
        QTest::addColumn<QString>("action");
        QTest::addColumn<int>("answer");
        for (const char *action : { "input", "units", "open", "reload", "quit", "choice" }) {
            for (const auto a : { UnsavedAnswer::Stay, UnsavedAnswer::Discard, UnsavedAnswer::Write })
                QTest::addRow("%s %d", action, int(a)) << action << int(a);
        }
    }
    void pendingEditsAreAskedFor()
    {
        QFETCH(QString, action);
        QFETCH(int, answer);
        this->answer = UnsavedAnswer(answer);
        const QString before = stored(QStringLiteral("UCPToffset"));
        field(QStringLiteral("txtOff"))->setText(QStringLiteral("1.5"));
        auto tree = window->findChild<QTreeWidget *>(QStringLiteral("hostTree"));
        if (action == QLatin1String("input"))
            tree->setCurrentItem(tree->topLevelItem(0)->child(1));
        else if (action == QLatin1String("units"))
            window->findChild<QComboBox *>(QStringLiteral("hostUnits"))->setCurrentIndex(1);
        else if (action == QLatin1String("open"))
            window->openDatabase(sim->databasePath());
        else if (action == QLatin1String("choice"))
            window->findChild<QComboBox *>(QStringLiteral("hostChoice"))->setCurrentIndex(2);
        else if (action == QLatin1String("quit"))
            window->close();
        for (QAction *reload : window->findChildren<QAction *>()) {
            if (action == QLatin1String("reload") && reload->text() == QLatin1String("&Reload"))
                reload->trigger();
        }
        QCOMPARE(asked.size(), 1);
        if (this->answer == UnsavedAnswer::Stay) {
            QCOMPARE(field(QStringLiteral("txtOff"))->text(), QStringLiteral("1.5"));
            QCOMPARE(window->currentInput(), QStringLiteral("HwInput[0]"));
            QVERIFY(window->isWindowModified() && window->isVisible());
        }
        QCOMPARE(stored(QStringLiteral("UCPToffset")) == QStringLiteral("1.5"),
            this->answer == UnsavedAnswer::Write && before != QStringLiteral("1.5"));
    }

    void setpointOffsetUsesDifferences()
    {
        window->setMeasurementSystem(MEASUREMENT_SYSTEM_US);
        QVERIFY(window->selectInput(Controller, QStringLiteral("HwInput[4]")));
        auto interpretation = window->hardwareControl()->findChild<QComboBox *>(QStringLiteral("cboInput"));
        interpretation->setCurrentIndex(interpretation->findText(QStringLiteral("SETPOINT_OFFSET")));
        window->networkControl()->findChild<QLineEdit *>("txtOver")->setText(QStringLiteral("2"));
        window->network()->clearCallLog();
        window->apply();
        QStringList read;
        for (const Sim::CallRecord &call : window->network()->callLog()) {
            if (call.operation == QLatin1String("ConfigProperty.setFormat")
                && call.arguments.value(1).endsWith("_diff"))
                read << call.arguments.first() + QLatin1Char(' ') + call.arguments.value(1).section('.', 1);
        }
        QVERIFY2(
            read.contains("UCPTdefaultValue SNVT_temp_p#US_diff") && read.contains("SCPTovrValue SNVT_temp_p#US_diff"),
            qPrintable(read.join('\n')));
    }

    void overrideReachesTheOtherView_data()
    {
        QTest::addColumn<bool>("typedInView");
        QTest::newRow("page to view") << false;
        QTest::newRow("view to page") << true;
    }
    void overrideReachesTheOtherView()
    {
        QFETCH(bool, typedInView);
        NetworkView *view = window->openSecondView();
        QVERIFY(view);
        ctlSensorNV *from = typedInView ? view->control() : window->networkControl();
        ctlSensorNV *to = typedInView ? window->networkControl() : view->control();
        QSignalSpy raised(from, &ctlSensorNV::ValueChangeEvent);
        QSignalSpy echoed(to, &ctlSensorNV::ValueChangeEvent);
        auto typed = from->findChild<QLineEdit *>(QStringLiteral("txtOver"));
        typed->selectAll();
        QTest::keyClicks(typed, QStringLiteral("22.5")); // the stored override is 21.5
        QVERIFY(!raised.isEmpty());
        QCOMPARE(to->findChild<QLineEdit *>(QStringLiteral("txtOver"))->text(), QStringLiteral("22.5"));
        QCOMPARE(echoed.count(), 0);
        QVERIFY(window->isWindowModified());
    }

    // Defaults of an input type reach both controls and the saved database; without the
    // file beside the database there is nothing to offer.
    void inputTypeDefaults()
    {
        const auto types = window->findChild<QComboBox *>(QStringLiteral("hostInputType"));
        QVERIFY(!types->isEnabled());
        QVERIFY(QDir(sim->tempPath()).mkpath(QStringLiteral("CommonFiles")));
        QVERIFY(QFile::copy(QStringLiteral(VQ_DATA_DIR "/CommonFiles/InputDefaultValues.ini"),
            sim->tempPath() + QStringLiteral("/CommonFiles/InputDefaultValues.ini")));
        QVERIFY(window->reloadDatabase());
        QCOMPARE(types->count(), 7);
        QVERIFY(types->isEnabled());

        types->setCurrentText(QStringLiteral("SUPPLY_TEMP_PT1000"));
        // The button asks first (what would change); Yes writes.
        TestSupport::SeamRecorder seams;
        seams.setModalDriver([](QDialog &question) {
            question.findChild<QPushButton *>(QStringLiteral("hostDefaultsYes"))->click();
            return question.result();
        });
        window->findChild<QPushButton *>(QStringLiteral("hostApplyDefaults"))->click();
        QCOMPARE(seams.modalCount(), 1);
        QCOMPARE(field(QStringLiteral("txtMax"))->text(), QStringLiteral("120.0"));
        QCOMPARE(field(QStringLiteral("txtOver"))->text(), QStringLiteral("45.0"));
        QCOMPARE(field(QStringLiteral("txtHeart"))->text(), QStringLiteral("300.0"));
        QCOMPARE(stored(QStringLiteral("SCPTmaxSendTime")), QStringLiteral("300.0"));
        QCOMPARE(stored(QStringLiteral("UCPTthermistorType")), QStringLiteral("PT1000"));
        QVERIFY2(window->logText().endsWith(QStringLiteral("HwInput[0]: the defaults of SUPPLY_TEMP_PT1000 were "
                                                           "written.\nSaved sample-network.json")),
            qPrintable(window->logText()));
        QVERIFY(!window->isWindowModified());
    }

    void inputsOfADeviceNotConfigurableCannotBeChosen()
    {
        const QTreeWidgetItem *device = window->findChild<QTreeWidget *>(QStringLiteral("hostTree"))->topLevelItem(1);
        QVERIFY(device->text(1).contains(QLatin1String("not commissioned")));
        QVERIFY(!(device->child(0)->flags() & Qt::ItemIsEnabled));
        QCOMPARE(device->child(0)->toolTip(0), QStringLiteral("Cannot be chosen: ") + device->text(1));
        QVERIFY(!window->selectInput(device->text(0), device->child(0)->text(0)));
        QCOMPARE(window->currentInput(), QStringLiteral("HwInput[0]"));
        QCOMPARE(window->currentDevice(), Controller);
    }

    void hostTextsFollowTheLanguage_data()
    {
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("units"); // the label of the units, with its mnemonic
        QTest::addColumn<QString>("apply");
        // clang-format off
        QTest::newRow("de") << "de" << "&Einheiten" << QString::fromUtf8("Ü&bernehmen");
        QTest::newRow("back to en") << "en" << "&Units" << "&Apply";
        // clang-format on
    }
    void hostTextsFollowTheLanguage()
    {
        QFETCH(QString, code);
        QFETCH(QString, units);
        QFETCH(QString, apply);
        if (code == QLatin1String("en"))
            window->setLanguage(QStringLiteral("de"));
        window->findChild<QComboBox *>(QStringLiteral("hostLanguage"))->setCurrentText(code);
        auto form = window->findChild<QComboBox *>(QStringLiteral("hostUnits"))->parentWidget();
        const auto labels = form->findChildren<QLabel *>();
        QVERIFY(std::any_of(labels.begin(), labels.end(), [&](QLabel *l) { return l->text() == units; }));
        QCOMPARE(applyButton()->text(), apply);
        // The pictures of the documentation are taken reproducibly: no folder of this machine.
        QVERIFY2(!window->statusBar()->currentMessage().contains(sim->tempPath()),
            qPrintable(window->statusBar()->currentMessage()));
    }

    void tabOrderFollowsTheColumns_data()
    {
        QTest::addColumn<int>("input");
        for (int i = 0; i < 13; ++i)
            QTest::addRow("HwInput[%d]", i) << i;
    }
    void tabOrderFollowsTheColumns()
    {
        QFETCH(int, input);
        QVERIFY(window->selectInput(Controller, QStringLiteral("HwInput[%1]").arg(input)));
        QWidget *page = window->page();
        QList<QWidget *> chain;
        for (QWidget *w = page->nextInFocusChain(); w != page; w = w->nextInFocusChain()) {
            if (page->isAncestorOf(w) && w->isVisibleTo(page) && w->isEnabled() && (w->focusPolicy() & Qt::TabFocus))
                chain << w;
        }
        // Reading order: the hardware control before the network control; in each, a step
        // goes down, or up into a column wholly to the right, never back to the left.
        const auto rect = [page](QWidget *w) { return QRect(w->mapTo(page, QPoint()), w->size()); };
        for (int i = 1; i < chain.size(); ++i) {
            const QRect a = rect(chain[i - 1]), b = rect(chain[i]);
            const bool forward = controlOf(chain[i - 1]) != controlOf(chain[i])
                ? controlOf(chain[i - 1]) == QLatin1String("ctlSensorHardware")
                : b.right() > a.left() && (b.top() >= a.top() || b.left() >= a.right());
            QVERIFY2(forward, qPrintable(chain[i - 1]->objectName() + " -> " + chain[i]->objectName()));
        }
    }
};

QTEST_MAIN(tst_host_window)
#include "tst_host_window.moc"
