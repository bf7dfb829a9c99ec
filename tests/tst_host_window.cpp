// SPDX-License-Identifier: MIT
// The host window driven through its widgets, offscreen: what OK and Apply report per
// control, the read-back after a write, a failed save, the set-point-offset relay and the
// send delta seen in the call log, a block the network side cannot show, the Tab order.
#include "device/sim/SimModel.h"
#include "script/ScriptParser.h"
#include "script/ScriptRunner.h"
#include "support/HostTestCase.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QDialog>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QListWidget>
#include <QPushButton>
#include <QTextStream>

using namespace Host;

class tst_host_window : public TestSupport::HostTestCase
{
    Q_OBJECT

    // The control a field belongs to.
    static QString controlOf(QWidget *w)
    {
        while (w && !w->objectName().startsWith(QLatin1String("ctlSensor")))
            w = w->parentWidget();
        return w ? w->objectName() : QString();
    }
    QPushButton *applyButton() const { return window->findChild<QPushButton *>(QStringLiteral("hostApply")); }
    QComboBox *interpretations() const
    {
        return window->hardwareControl()->findChild<QComboBox *>(QStringLiteral("cboInput"));
    }
    // Send times belong to the variable.
    QString stored(const QString &cp, const QString &block = QStringLiteral("HwInput[0]")) const
    {
        return storedText(block, cp, cp.endsWith(QLatin1String("SendTime")));
    }

private slots:
    // Apply says per control what happened. Every property written is read back: a device that
    // stores another value is reported in the units shown, and the field then shows what it
    // holds. A refused edit stays, and OK (Enter) writes it once fixed.
    void applyReportsEachControl_data()
    {
        QTest::addColumn<QString>("block");
        QTest::addColumn<int>("units");
        QTest::addColumn<QString>("name"); // the field edited
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("cp"); // the property it stores
        QTest::addColumn<QString>("instead"); // what the device stores instead (SI), or nothing
        QTest::addColumn<QStringList>("log"); // lines of the Messages pane, each as they start
        QTest::addColumn<QString>("shown"); // the field afterwards, or not checked
        QTest::addColumn<QString>("fixed"); // typed after a refusal, then Enter; stored
        const auto row
            = [](const char *name, const char *block, int units, const char *field, const char *text, const char *cp,
                  const char *instead, const QStringList &log, const char *shown = "", const char *fixed = "") {
                  QTest::newRow(name) << block << units << field << text << cp << instead << log << shown << fixed;
              };
        const QString hw = QStringLiteral("HwInput[0], hardware side: "),
                      nv = QStringLiteral("HwInput[0], network side: ");
        row("offset", "HwInput[0]", 0, "txtOff", "1.5", "UCPToffset", "", { hw + "written", nv + "nothing to write" });
        row("heartbeat", "HwInput[0]", 0, "txtHeart", "120", "SCPTmaxSendTime", "",
            { hw + "nothing to write", nv + "written" });
        // A structure other than the switch type has no send delta to write: its network
        // side still counts as written.
        row("heartbeat, no send delta", "HwInput[12]", 0, "txtHeart", "120", "SCPTmaxSendTime", "",
            { "HwInput[12], hardware side: nothing to write",
                "HwInput[12], network side: written (this type has no send delta to write)" });
        row("min refused", "HwInput[0]", 0, "txtMin", "abc", "SCPTminRnge", "",
            { hw + "not written: ", nv + "nothing to write", "Hardware side, writing HwInput[0]: " }, "", "2");
        row("heartbeat refused", "HwInput[0]", 0, "txtHeart", "often", "SCPTmaxSendTime", "",
            { hw + "nothing to write", nv + "not written: ", "Network side, writing HwInput[0]: " }, "", "90");
        row("maximum as sent", "HwInput[0]", 0, "txtMax", "30", "SCPTmaxRnge", "", { hw + "written\n" }, "30.0");
        row("maximum read back, SI", "HwInput[0]", 0, "txtMax", "30", "SCPTmaxRnge", "22.8",
            { hw + "written, but the device reports 22.8 for Max. Value (sent: 30)\n" }, "22.8");
        row("maximum read back, US", "HwInput[0]", 1, "txtMax", "86", "SCPTmaxRnge", "22.8",
            { hw + "written, but the device reports 73.0 for Max. Value (sent: 86)\n" }, "73.0");
        row("heartbeat read back", "HwInput[0]", 0, "txtHeart", "120", "SCPTmaxSendTime", "90",
            { nv + "written, but the device reports 90.0 for Heartbeat (sent: 120)\n" }, "90.0");
    }
    void applyReportsEachControl()
    {
        QFETCH(QString, block);
        QFETCH(int, units);
        QFETCH(QString, name);
        QFETCH(QString, text);
        QFETCH(QString, cp);
        QFETCH(QString, instead);
        QFETCH(QStringList, log);
        QFETCH(QString, shown);
        QFETCH(QString, fixed);
        QVERIFY(window->setMeasurementSystem(qint16(units)));
        QVERIFY(window->selectInput(Controller, block));
        const QString before = stored(cp, block);
        if (!instead.isEmpty())
            window->network()->storeDifferentValue(
                Controller, block, cp, instead, cp.endsWith(QLatin1String("SendTime")));
        QVERIFY(!window->isWindowModified());
        pageWidget(name)->setText(text);
        QVERIFY(window->isWindowModified());
        applyButton()->click();
        const QString written = window->logText() + QLatin1Char('\n');
        for (const QString &line : std::as_const(log))
            QVERIFY2(written.contains(line), qPrintable(line + QStringLiteral("\nin\n") + written));
        QVERIFY(!written.contains(QLatin1String("style"))); // internal names stay in the detail
        QCOMPARE(window->isWindowModified(), !fixed.isEmpty());
        if (!shown.isEmpty())
            QCOMPARE(pageWidget(name)->text(), shown);
        if (fixed.isEmpty()) {
            QCOMPARE(window->lastWrite().verified(), instead.isEmpty());
            if (instead.isEmpty() && units == 0)
                QVERIFY(stored(cp, block).toDouble() == text.toDouble());
            return;
        }
        QCOMPARE(stored(cp), before);
        QCOMPARE(pageWidget(name)->text(), text); // the edit stays
        pageWidget(name)->setText(fixed);
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
        QVERIFY(interpretations()->findText(stored) < 0);
        const QString line
            = QStringLiteral("Hardware side, opening %1: The stored interpretation %2 is not offered for "
                             "this input; OK will store %3")
                  .arg(block, stored, interpretations()->currentText());
        QVERIFY2(window->logText().contains(line), qPrintable(window->logText()));
        QVERIFY(!window->isWindowModified());

        window->network()->clearCallLog();
        QTest::mouseClick(window->findChild<QPushButton *>(QStringLiteral("hostOk")), Qt::LeftButton);
        QCOMPARE(window->network()->callCount(QStringLiteral("ConfigProperty.setValueText")), 0);
        QCOMPARE(this->stored(cp, block), stored);
        QVERIFY(window->logText().endsWith(block + QStringLiteral(": nothing to write.")));

        window->show();
        interpretations()->setCurrentIndex(interpretations()->findText(chosen));
        QVERIFY(window->isWindowModified());
        QTest::mouseClick(applyButton(), Qt::LeftButton);
        QCOMPARE(this->stored(cp, block), chosen);
    }

    // Read back with the device as it is, every input in both unit systems reports what was
    // sent: the comparison knows each format's texts (members, structures, tables, decimals).
    // And on every input the Tab key follows the columns.
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
        // The whole hardware side is written when Reverse is ticked; the network side for a heartbeat.
        auto reverse = window->hardwareControl()->findChild<QAbstractButton *>(QStringLiteral("chkReverse"));
        if (reverse->isVisibleTo(window->hardwareControl()))
            QTest::mouseClick(reverse, Qt::LeftButton);
        pageWidget(QStringLiteral("txtHeart"))->setText(QStringLiteral("75"));
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
        const Host::ScriptRunSummary summary
            = Host::ScriptRunner(*window, stream)
                  .run(Host::parseScript(QStringLiteral("input HwInput[0]\nset txtMax 30\nset txtOff 1.5\nok\n")),
                      sim->databasePath(), false);
        stream.flush();
        const QJsonObject ok
            = QJsonDocument::fromJson(out.split(QLatin1Char('\n'), Qt::SkipEmptyParts).last().toUtf8()).object();
        QCOMPARE(ok.value(QStringLiteral("command")).toString(), QStringLiteral("ok"));
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
        pageWidget(QStringLiteral("txtOff"))->setText(QStringLiteral("1.5"));
        QVERIFY(!window->apply());
        QCOMPARE(seams.modalCount(), 1);
        QVERIFY(window->logText().contains(QLatin1String("The database was not saved")));
        QCOMPARE(seams.messageCount(), 1);
        QCOMPARE(pageWidget(QStringLiteral("txtOff"))->text(), QStringLiteral("1.5"));
        QVERIFY(window->isWindowModified());
    }

    // The set-point-offset mode goes from the hardware side to the network side: the
    // override is shown and written in the difference format.
    void setpointOffsetUsesDifferences_data()
    {
        QTest::addColumn<QString>("input");
        QTest::addColumn<QString>("chosen"); // interpretation chosen after opening, empty for none
        QTest::addColumn<QString>("format");
        // clang-format off
        QTest::newRow("offset input") << "HwInput[10]" << "" << "SNVT_temp#US_diff";
        QTest::newRow("offset left") << "HwInput[10]" << "LINEAR" << "SNVT_temp#US";
        QTest::newRow("linear input") << "HwInput[4]" << "" << "SNVT_temp_p#US";
        QTest::newRow("offset chosen") << "HwInput[4]" << "SETPOINT_OFFSET" << "SNVT_temp_p#US_diff";
        // clang-format on
    }
    void setpointOffsetUsesDifferences()
    {
        QFETCH(QString, input);
        QFETCH(QString, chosen);
        QFETCH(QString, format);
        window->setMeasurementSystem(MEASUREMENT_SYSTEM_US);
        QVERIFY(window->selectInput(Controller, input));
        if (!chosen.isEmpty())
            interpretations()->setCurrentIndex(interpretations()->findText(chosen));
        QLineEdit *override = window->networkControl()->findChild<QLineEdit *>("txtOver");
        QCOMPARE(override->toolTip().section(QStringLiteral(": "), 1), format);
        override->setText(QStringLiteral("2"));
        window->network()->clearCallLog();
        window->apply();
        QStringList read;
        for (const Sim::CallRecord &call : window->network()->callLog()) {
            if (call.operation == QLatin1String("ConfigProperty.setFormat") && call.arguments.value(1).endsWith("_diff")
                && call.arguments.first() != QLatin1String("SCPTsndDelta")) // a difference in every mode
                read << call.arguments.first() + QLatin1Char(' ') + call.arguments.value(1).section('.', 1);
        }
        const QStringList wanted { "UCPTdefaultValue " + format, "SCPTovrValue " + format };
        QVERIFY2(format.endsWith(QLatin1String("_diff")) ? read.contains(wanted.first()) && read.contains(wanted.last())
                                                         : read.isEmpty(),
            qPrintable(read.join('\n')));
    }

    // The network control tells whether it writes the send delta; the page takes its True
    // for "written" exactly where the control wrote everything but that.
    void sendDeltaWrittenAsTheControlSays_data()
    {
        QTest::addColumn<QString>("input");
        QTest::addColumn<bool>("writes");
        // clang-format off
        QTest::newRow("temperature") << "HwInput[0]" << true;
        QTest::newRow("switch structure") << "HwInput[2]" << true;
        QTest::newRow("enumeration") << "HwInput[3]" << true;
        QTest::newRow("set-point structure") << "HwInput[12]" << false;
        // clang-format on
    }
    void sendDeltaWrittenAsTheControlSays()
    {
        QFETCH(QString, input);
        QFETCH(bool, writes);
        QVERIFY(window->selectInput(Controller, input));
        QCOMPARE(window->networkControl()->WritesSendDelta(), writes);
        pageWidget(QStringLiteral("txtHeart"))->setText(QStringLiteral("30"));
        window->network()->clearCallLog();
        window->apply();
        bool sendDeltaWritten = false;
        for (const Sim::CallRecord &call : window->network()->callLog())
            sendDeltaWritten |= call.operation.startsWith(QLatin1String("ConfigProperty.set"))
                && call.arguments.value(0) == QLatin1String("SCPTsndDelta");
        QCOMPARE(sendDeltaWritten, writes);
        QCOMPARE(window->lastWrite().network.state, ControlOutcome::Written);
        QCOMPARE(window->lastWrite().network.text().contains(QLatin1String("no send delta")), !writes);
    }

    void aBlockWithoutNetworkVariableIsReported()
    {
        TestSupport::SeamRecorder seams; // the hardware side's boxes are recorded, not shown
        window->network()->model().device(Controller)->block(QStringLiteral("HwInput[1]"))->nvs.clear();
        window->selectInput(Controller, QStringLiteral("HwInput[1]"));
        QVERIFY2(window->logText().contains(QStringLiteral("Network side, opening HwInput[1]: cannot show the input")),
            qPrintable(window->logText()));
    }

    // Input types are offered only with their defaults file beside the database. (Applying
    // them: tst_host_preview and tst_host_journey.)
    void inputTypesNeedTheDefaultsFile()
    {
        const auto types = window->findChild<QComboBox *>(QStringLiteral("hostInputType"));
        QVERIFY(!types->isEnabled());
        QVERIFY(QDir(sim->tempPath()).mkpath(QStringLiteral("CommonFiles")));
        QVERIFY(QFile::copy(QStringLiteral(VQ_DATA_DIR "/CommonFiles/InputDefaultValues.ini"),
            sim->tempPath() + QStringLiteral("/CommonFiles/InputDefaultValues.ini")));
        QVERIFY(window->reloadDatabase());
        QCOMPARE(types->count(), 7);
        QVERIFY(types->isEnabled());
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
};

QTEST_MAIN(tst_host_window)
#include "tst_host_window.moc"
