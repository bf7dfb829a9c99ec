// SPDX-License-Identifier: MIT
// The host window driven through its widgets, offscreen: what OK and Apply report per
// control, a failed save, the unsaved-changes question on every path that would drop
// edits, the set-point-offset relay seen in the call log and a second view's override.
#include "HostWindow.h"
#include "UnsavedQuestion.h"
#include "device/sim/SimNetwork.h"
#include "support/SeamRecorder.h"
#include "support/SimFixture.h"

#include <QAction>
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTreeWidget>

using namespace Host;

class tst_host_window : public QObject
{
    Q_OBJECT

    const QString Controller = QStringLiteral("HWI-Controller 1");
    std::unique_ptr<TestSupport::SimFixture> sim;
    std::unique_ptr<HostWindow> window;
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

private slots:
    void init()
    {
        sim = std::make_unique<TestSupport::SimFixture>();
        window = std::make_unique<HostWindow>();
        window->setReproducible(true);
        window->show();
        QVERIFY(window->openDatabase(sim->databasePath()));
        asked.clear();
        setUnsavedQuestion([this](QWidget *, const QString &what) {
            asked << what;
            return answer;
        });
    }
    void cleanup()
    {
        setUnsavedQuestion({});
        window.reset();
        sim.reset();
    }

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

    void failedSaveKeepsTheEdits()
    {
        TestSupport::SeamRecorder seams;
        // A folder where the file was: the save cannot replace it.
        QVERIFY(QFile::remove(sim->databasePath()));
        QVERIFY(QDir().mkpath(sim->databasePath() + QStringLiteral("/blocked")));
        field(QStringLiteral("txtOff"))->setText(QStringLiteral("1.5"));
        QVERIFY(!window->apply());
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
        QTest::keyClicks(typed, QStringLiteral("21.5"));
        QVERIFY(!raised.isEmpty());
        QCOMPARE(to->findChild<QLineEdit *>(QStringLiteral("txtOver"))->text(), QStringLiteral("21.5"));
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
