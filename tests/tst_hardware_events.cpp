// SPDX-License-Identifier: MIT
// The hardware control's reactions to the user: change flags, the signal-type unit,
// the transfer-table editor, numeric checks on leaving a box, key forwarding to the
// host, and re-translation after a language change.
#include "tst_hardware_harness.h"

#include "device/sim/SimModel.h"

#include <QDialog>

using namespace HardwareTest;

class tst_hardware_events : public QObject
{
    Q_OBJECT

private slots:
    void editMarksChanged_data();
    void editMarksChanged();
    void signalTypeSetsUnit_data();
    void signalTypeSetsUnit();
    void transferTableEditor_data();
    void transferTableEditor();
    void leavingBoxValidates_data();
    void leavingBoxValidates();
    void keyDownOncePerKey_data();
    void keyDownOncePerKey();
    void languageChangeRetranslates();
};

void tst_hardware_events::editMarksChanged_data()
{
    QTest::addColumn<int>("typeIndex");
    QTest::addColumn<QString>("widget");

    for (const char *box : { "txtMin", "txtMax", "txtSelector", "txtValue", "txtOff" })
        QTest::newRow(box) << SnvtTempP << box;
    for (const char *combo : { "cboTherm", "cboSignal" })
        QTest::newRow(combo) << SnvtTempP << combo;
    QTest::newRow("chkReverse") << SnvtTempP << "chkReverse";
    QTest::newRow("cboMin") << SnvtOccupancy << "cboMin";
    QTest::newRow("cboMax") << SnvtOccupancy << "cboMax";
}

void tst_hardware_events::editMarksChanged()
{
    QFETCH(int, typeIndex);
    QFETCH(QString, widget);

    Harness h;
    QVERIFY2(h.sim.isLoaded(), qPrintable(h.sim.errorString()));
    const BlockRef block = findBlock(*h.sim.network(), 1, typeIndex);
    QVERIFY(block.isValid());
    h.ref = block;
    h.store("UCPTinputSignalInterpretation", "LINEAR");
    h.place(block);
    QVERIFY(!h.control->ValueChanged());

    QWidget *target = h.widget(widget);
    if (auto *box = qobject_cast<QLineEdit *>(target)) {
        box->setText(box->text() + "1");
    } else if (auto *combo = qobject_cast<QComboBox *>(target)) {
        QVERIFY(combo->count() > 1);
        combo->setCurrentIndex((combo->currentIndex() + 1) % combo->count());
    } else {
        auto *check = qobject_cast<QCheckBox *>(target);
        check->setChecked(!check->isChecked());
    }
    QVERIFY(h.control->ValueChanged());
    // The host confirms without writing: the control forgets the edit.
    h.control->setNoChangeButOKPress(false);
    QVERIFY(!h.control->ValueChanged());
}

void tst_hardware_events::signalTypeSetsUnit_data()
{
    QTest::addColumn<QString>("interpretation");
    QTest::addColumn<QString>("signalType");
    QTest::addColumn<QString>("unit");
    QTest::addColumn<bool>("offsetUnitFollows");

    QTest::newRow("linear resistance") << "LINEAR"
                                       << "RESISTANCE"
                                       << "K Ohm" << false;
    QTest::newRow("linear current") << "LINEAR"
                                    << "MILIAMPS_4_20MA"
                                    << "mA" << false;
    QTest::newRow("multi-level voltage") << "MULTI_LEVEL"
                                         << "VOLTAGE_0_10V"
                                         << "V" << true;
}

void tst_hardware_events::signalTypeSetsUnit()
{
    QFETCH(QString, interpretation);
    QFETCH(QString, signalType);
    QFETCH(QString, unit);
    QFETCH(bool, offsetUnitFollows);

    Harness h;
    const BlockRef block = findBlock(*h.sim.network(), 1, SnvtTempP);
    QVERIFY(block.isValid());
    h.ref = block;
    h.store("UCPTinputSignalInterpretation", interpretation);
    h.store("UCPTinputSignalType", signalType == "VOLTAGE_0_10V" ? "RESISTANCE" : "VOLTAGE_0_10V");
    h.place(block);
    const QString offsetUnit = h.label("lblUnitOffset")->text();
    const int doEventsBefore = h.seams.doEventsCount();

    QComboBox *signal = h.combo("cboSignal");
    signal->setCurrentIndex(signal->findText(signalType));
    QCOMPARE(h.label("lblSelectorUnit")->text(), unit);
    QCOMPARE(h.label("lblUnitOffset")->text(), offsetUnitFollows ? unit : offsetUnit);
    QVERIFY(h.seams.doEventsCount() > doEventsBefore);
    QVERIFY(h.control->ValueChanged());
}

void tst_hardware_events::transferTableEditor_data()
{
    QTest::addColumn<bool>("confirm");
    QTest::addColumn<bool>("tableWritten");

    QTest::newRow("OK writes the edited table") << true << true;
    QTest::newRow("Cancel keeps the table") << false << false;
}

void tst_hardware_events::transferTableEditor()
{
    QFETCH(bool, confirm);
    QFETCH(bool, tableWritten);

    Harness h;
    const BlockRef block = findBlock(*h.sim.network(), 1, SnvtTempP);
    QVERIFY(block.isValid());
    h.ref = block;
    h.store("UCPTinputSignalInterpretation", "TRANS_TABLE");
    h.store("UCPTinputSignalType", "RESISTANCE");
    h.place(block);
    QCOMPARE(h.label("lblSelectorUnit")->text(), QStringLiteral("K Ohm"));
    QVERIFY(!h.control->ValueChanged());

    QStringList table = h.stored("UCPTtransTable").split(' ');
    QString inputLabel;
    QString shownFirstOutput;
    QString outputTip;
    h.seams.setModalDriver([&](QDialog &editor) {
        inputLabel = editor.findChild<QLabel *>("lblResis")->text();
        auto *output = editor.findChild<QLineEdit *>("txtTable_1");
        shownFirstOutput = output->text();
        outputTip = output->toolTip();
        output->setText("7");
        editor.findChild<QPushButton *>(confirm ? "cmdOK" : "cmdCancel")->click();
        return editor.result();
    });
    h.widget<QPushButton>("cmdTable")->click();

    QCOMPARE(h.seams.modalCount(), 1);
    // A resistance in kilo-ohms is entered in ohms.
    QVERIFY2(inputLabel.contains("(Ohm)"), qPrintable(inputLabel));
    QCOMPARE(shownFirstOutput, table.at(1));
    // The editor checks outputs against the range of the network variable's type.
    QCOMPARE(outputTip, QStringLiteral("Value in [-273.17, 327.66]"));
    // Cancel too counts as a change.
    QVERIFY(h.control->ValueChanged());

    h.sim->clearCallLog();
    QCOMPARE(h.control->WriteValue(), false);
    table[1] = "7";
    QCOMPARE(h.calls("ConfigProperty.setValueText", "UCPTtransTable").size(), tableWritten ? 1 : 0);
    if (tableWritten)
        QCOMPARE(h.stored("UCPTtransTable"), table.join(' '));
    QVERIFY(h.events.isEmpty());
}

void tst_hardware_events::leavingBoxValidates_data()
{
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("refused");

    QTest::newRow("increment not numeric") << "txtSelector"
                                           << "abc" << true;
    QTest::newRow("increment empty") << "txtSelector"
                                     << "" << true;
    QTest::newRow("increment numeric") << "txtSelector"
                                       << "3" << false;
    QTest::newRow("live value numeric") << "txtValue"
                                        << "21.5" << false;
    QTest::newRow("live value not available") << "txtValue"
                                              << "N/A" << true;
}

void tst_hardware_events::leavingBoxValidates()
{
    QFETCH(QString, box);
    QFETCH(QString, text);
    QFETCH(bool, refused);

    Harness h;
    const BlockRef block = findBlock(*h.sim.network(), 1, SnvtTempP);
    QVERIFY(block.isValid());
    h.ref = block;
    h.store("UCPTinputSignalInterpretation", "MULTI_LEVEL");
    h.place(block);
    h.control->show();
    h.control->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(h.control.get()));

    QLineEdit *leaving = h.box(box);
    leaving->setText(text);
    leaving->setFocus(Qt::TabFocusReason);
    QTRY_VERIFY(leaving->hasFocus());
    h.seams.clear();

    h.widget("cboInput")->setFocus(Qt::TabFocusReason);
    QTest::qWait(20);
    if (refused) {
        QCOMPARE(h.seams.messageTexts(), QStringList { "Invalid value for this field" });
        QTRY_VERIFY(leaving->hasFocus());
        QCOMPARE(leaving->text(), text);
    } else {
        QCOMPARE(h.seams.messageCount(), 0);
        QVERIFY(h.widget("cboInput")->hasFocus());
    }
}

void tst_hardware_events::keyDownOncePerKey_data()
{
    QTest::addColumn<QString>("target");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<int>("keyCode");
    QTest::addColumn<int>("shift");

    const QStringList targets = { "cboInput", "cboMax", "cboMin", "cboSignal", "cboTherm", "chkReverse", "cmdTable",
        "cmdValue", "txtMax", "txtMin", "txtOff", "txtSelector", "txtValue", "" };
    for (const QString &target : targets) {
        const QByteArray name = target.isEmpty() ? QByteArray("the control") : target.toLatin1();
        // F5 is left unused by every child and travels on to the control.
        QTest::newRow(name + " F5") << target << int(Qt::Key_F5) << int(Qt::NoModifier) << 116 << 0;
        QTest::newRow(name + " Shift+A") << target << int(Qt::Key_A) << int(Qt::ShiftModifier) << 65 << 1;
        QTest::newRow(name + " Ctrl+Alt+Delete")
            << target << int(Qt::Key_Delete) << int(Qt::ControlModifier | Qt::AltModifier) << 46 << 6;
    }
}

void tst_hardware_events::keyDownOncePerKey()
{
    QFETCH(QString, target);
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(int, keyCode);
    QFETCH(int, shift);

    Harness h;
    const BlockRef block = findBlock(*h.sim.network(), 1, SnvtTempP);
    QVERIFY(block.isValid());
    h.place(block);
    QVector<QPair<int, int>> keys;
    QObject::connect(
        h.control.get(), &ctlSensorHardware::KeyDown, h.control.get(),
        [&](qint16 &KeyCode, qint16 &Shift) {
            keys.append({ KeyCode, Shift });
        },
        Qt::DirectConnection);

    QWidget *receiver = target.isEmpty() ? h.control.get() : h.widget(target);
    QVERIFY(receiver);
    // The modifier keys go down first and are forwarded as keys of their own (16, 17, 18).
    const auto check = [&] {
        QVector<QPair<int, int>> forKey;
        for (const auto &k : keys) {
            if (k.first == keyCode)
                forKey.append(k);
            else
                QVERIFY2(k.first >= 16 && k.first <= 18, qPrintable(QString::number(k.first)));
        }
        QCOMPARE(forKey, (QVector<QPair<int, int>> { { keyCode, shift } }));
    };
    QTest::keyClick(receiver, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    check();
    keys.clear();
    QTest::keyClick(receiver, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    check();
}

void tst_hardware_events::languageChangeRetranslates()
{
    Harness h;
    const BlockRef block = findBlock(*h.sim.network(), 1, SnvtTempP);
    QVERIFY(block.isValid());
    h.ref = block;
    h.store("UCPTinputSignalInterpretation", "LINEAR");
    h.place(block);
    h.combo("cboSignal")->setCurrentIndex(h.combo("cboSignal")->findText("RESISTANCE"));
    QCOMPARE(h.label("lblSelectorUnit")->text(), QStringLiteral("K Ohm"));
    QVERIFY(h.sim->languages().contains("de"));

    h.sim->setLanguage("de");
    h.control->ReInitializeStrings();
    QCOMPARE(h.control->findChild<QGroupBox *>("Frame1")->title(), QStringLiteral("Hardware-Eigenschaften"));
    QCOMPARE(h.widget<QPushButton>("cmdValue")->text(), QStringLiteral("Wert lesen"));
    QCOMPARE(h.label("lblMax")->text(), QStringLiteral("Max. Wert"));
    QCOMPARE(h.label("lblSignal")->text(), QStringLiteral("Auswertung des Eingangssignals"));
    // The increment unit goes back to the translated design caption until the next signal-type click.
    QCOMPARE(h.label("lblSelectorUnit")->text(), QStringLiteral("Ohm"));
    QCOMPARE(h.label("lblSelectorUnit")->font().family(), QStringLiteral("Arial"));
    QVERIFY(h.events.isEmpty());

    // The live value that cannot be read now says so in German.
    h.sim->model().device(block.device)->commissioned = false;
    h.control->FillHardwareValues();
    QCOMPARE(h.box("txtValue")->text(), QStringLiteral("k. A."));
}

QTEST_MAIN(tst_hardware_events)
#include "tst_hardware_events.moc"
