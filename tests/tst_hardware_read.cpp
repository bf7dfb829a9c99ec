// SPDX-License-Identifier: MIT
// Reading a hardware input into the control: unit conversions of the range in
// set-point-offset mode, the reverse flag, the multi-level value, interpretations the
// host does not offer, the live value, and damaged device texts.
#include "tst_hardware_harness.h"

#include "device/sim/SimModel.h"

using namespace HardwareTest;

class tst_hardware_read : public QObject
{
    Q_OBJECT

private slots:
    void usSetpointOffsetRangeIsShownAsAbsoluteDifference();
    void setpointOffsetEvents();
    void reverseFlag_data();
    void reverseFlag();
    void multiLevelValueComesFromTheTable_data();
    void multiLevelValueComesFromTheTable();
    void interpretationNotOffered_data();
    void interpretationNotOffered();
    void measurementSystemBeforeAndAfterInit();
    void liveValueUnreadableShowsNA();
    void damagedDeviceTexts_data();
    void damagedDeviceTexts();
};

void tst_hardware_read::usSetpointOffsetRangeIsShownAsAbsoluteDifference()
{
    Harness h;
    QVERIFY2(h.sim.isLoaded(), qPrintable(h.sim.errorString()));
    const BlockRef block = findBlock(*h.sim.network(), 1, SnvtTempP);
    QVERIFY(block.isValid());
    h.ref = block;
    // The range texts as the device gives them.
    h.store("UCPTinputSignalInterpretation", "SETPOINT_OFFSET");
    h.store("SCPTminRnge", "41");
    h.store("SCPTmaxRnge", "50");
    h.place(block, MEASUREMENT_SYSTEM_US);

    QCOMPARE(h.combo("cboInput")->currentText(), QStringLiteral("SETPOINT_OFFSET"));
    QCOMPARE(h.box("txtMin")->text(), QStringLiteral("9.0"));
    QCOMPARE(h.box("txtMax")->text(), QStringLiteral("18.0"));
    QVERIFY(h.box("txtMin")->toolTip().endsWith("SNVT_temp_p#US_diff"));
    // The nested read of the stored set-point-offset mode tells the host once.
    QCOMPARE(h.setpointEvents, QVector<bool> { true });
    QVERIFY(!h.control->ValueChanged());
    QVERIFY(h.events.isEmpty());
}

void tst_hardware_read::setpointOffsetEvents()
{
    Harness h;
    const BlockRef block = findBlock(*h.sim.network(), 2, SnvtTempP);
    QVERIFY(block.isValid());
    h.ref = block;
    h.store("UCPTinputSignalInterpretation", "LINEAR");
    h.place(block, MEASUREMENT_SYSTEM_US);
    QVERIFY(h.setpointEvents.isEmpty());
    const QString absoluteMin = h.box("txtMin")->text();

    QVERIFY(h.choose("SETPOINT_OFFSET"));
    QCOMPARE(h.setpointEvents, QVector<bool> { true });
    // Read again in the difference format, shown 32 degrees lower.
    QVERIFY(h.box("txtMin")->toolTip().endsWith("#US_diff"));
    QVERIFY(h.box("txtValue")->toolTip().endsWith("#US_diff"));

    QVERIFY(h.choose("LINEAR"));
    QCOMPARE(h.setpointEvents, (QVector<bool> { true, false }));
    QCOMPARE(h.box("txtMin")->text(), absoluteMin);
    QVERIFY(h.box("txtMin")->toolTip().endsWith("#US"));

    QVERIFY(h.choose("TRANS_TABLE"));
    QVERIFY(h.choose("DIGITAL"));
    QCOMPARE(h.setpointEvents.size(), 2);
    QVERIFY(h.control->ValueChanged());
}

void tst_hardware_read::reverseFlag_data()
{
    QTest::addColumn<int>("version");
    QTest::addColumn<QString>("options");
    QTest::addColumn<bool>("reverse");

    QTest::newRow("v1, field 7 set") << 1 << "0 0 0 0 0 0 0 1" << true;
    QTest::newRow("v1, field 0 set") << 1 << "1 0 0 0 0 0 0 0" << false;
    QTest::newRow("v2, field 7 set") << 2 << "0 0 0 0 0 0 0 1" << false;
    QTest::newRow("v2, field 0 set") << 2 << "1 0 0 0 0 0 0 0" << true;
}

void tst_hardware_read::reverseFlag()
{
    QFETCH(int, version);
    QFETCH(QString, options);
    QFETCH(bool, reverse);

    Harness h;
    const BlockRef block = findBlock(*h.sim.network(), version, SnvtTempP);
    QVERIFY(block.isValid());
    h.ref = block;
    h.store(version == 1 ? "UCPTioOptions" : "UCPThwInOptions", options);
    h.place(block);
    QCOMPARE(h.widget<QCheckBox>("chkReverse")->isChecked(), reverse);
    QVERIFY(h.events.isEmpty());
}

void tst_hardware_read::multiLevelValueComesFromTheTable_data()
{
    QTest::addColumn<QString>("storedInterpretation");
    QTest::addColumn<QString>("shown");

    QTest::newRow("stored multi-level: field 30") << "MULTI_LEVEL"
                                                  << "3";
    // The value belongs to the stored interpretation; another one on screen starts at 0.
    QTest::newRow("stored linear: 0") << "LINEAR"
                                      << "0";
}

void tst_hardware_read::multiLevelValueComesFromTheTable()
{
    QFETCH(QString, storedInterpretation);
    QFETCH(QString, shown);

    Harness h;
    const BlockRef block = findBlock(*h.sim.network(), 1, SnvtTempP);
    QVERIFY(block.isValid());
    h.ref = block;
    QStringList table;
    for (int i = 0; i < 32; ++i)
        table.append(QString::number(i == 30 ? 3 : i));
    h.store("UCPTtransTable", table.join(' '));
    h.store("UCPTinputSignalInterpretation", storedInterpretation);
    h.place(block);
    if (storedInterpretation != "MULTI_LEVEL")
        QVERIFY(h.choose("MULTI_LEVEL"));

    QCOMPARE(h.box("txtOff")->text(), shown);
    QVERIFY(h.events.isEmpty());
}

void tst_hardware_read::interpretationNotOffered_data()
{
    QTest::addColumn<QString>("choice");
    QTest::addColumn<QString>("stored");
    QTest::addColumn<bool>("changed");

    QTest::newRow("all offered") << ""
                                 << "DIGITAL" << false;
    QTest::newRow("unparsed choice offers all") << "3, 2"
                                                << "DIGITAL" << false;
    QTest::newRow("linear only, stored digital") << "2"
                                                 << "DIGITAL" << true;
    QTest::newRow("linear only, stored linear") << "2"
                                                << "LINEAR" << false;
}

void tst_hardware_read::interpretationNotOffered()
{
    QFETCH(QString, choice);
    QFETCH(QString, stored);
    QFETCH(bool, changed);

    Harness h;
    const BlockRef block = findBlock(*h.sim.network(), 1, SnvtTempP);
    QVERIFY(block.isValid());
    h.ref = block;
    h.store("UCPTinputSignalInterpretation", stored);
    h.place(block, MEASUREMENT_SYSTEM_SI, choice);

    QCOMPARE(h.control->ValueChanged(), changed);
    if (choice == "2") {
        QCOMPARE(h.combo("cboInput")->count(), 1);
        QCOMPARE(h.combo("cboInput")->itemText(0), QStringLiteral("LINEAR"));
        QCOMPARE(h.combo("cboInput")->currentIndex(), 0);
    }
    // Without an edit, only an interpretation that is not offered is written (as the one shown).
    h.sim->clearCallLog();
    QCOMPARE(h.control->WriteValue(), false);
    QCOMPARE(h.sim->callCount() > 0, changed);
    QCOMPARE(h.stored("UCPTinputSignalInterpretation"), changed ? QStringLiteral("LINEAR") : stored);
}

void tst_hardware_read::measurementSystemBeforeAndAfterInit()
{
    Harness h;
    const BlockRef block = findBlock(*h.sim.network(), 1, SnvtTempP);
    QVERIFY(block.isValid());
    h.ref = block;
    h.store("UCPTinputSignalInterpretation", "LINEAR");
    h.place(block, MEASUREMENT_SYSTEM_SI, QString(), false);
    // Before initialisation the unit system is only stored.
    h.sim->clearCallLog();
    h.control->setMesureUnit(MEASUREMENT_SYSTEM_US);
    h.control->setMesureUnit(MEASUREMENT_SYSTEM_SI);
    QCOMPARE(h.sim->callCount(), 0);

    h.control->ZovezuVavevaInit();
    const double celsius = h.box("txtValue")->text().toDouble();
    QVERIFY(h.box("txtValue")->toolTip().endsWith("SNVT_temp_p#SI"));

    // Afterwards every value is read again in the new units.
    h.sim->clearCallLog();
    h.control->setMesureUnit(MEASUREMENT_SYSTEM_US);
    QVERIFY(h.sim->callCount() > 0);
    QVERIFY(h.box("txtValue")->toolTip().endsWith("SNVT_temp_p#US"));
    QCOMPARE(h.box("txtValue")->text().toDouble(), celsius * 1.8 + 32);
    QVERIFY(!h.control->ValueChanged());
    QVERIFY(h.events.isEmpty());
}

void tst_hardware_read::liveValueUnreadableShowsNA()
{
    Harness h;
    const BlockRef block = findBlock(*h.sim.network(), 1, SnvtTempP);
    QVERIFY(block.isValid());
    h.sim->model().device(block.device)->commissioned = false;
    h.place(block);
    // Nothing is reported while reading ...
    QCOMPARE(h.box("txtValue")->text(), QStringLiteral("N/A"));
    QVERIFY(h.events.isEmpty());

    // ... but "Get Value" says why.
    h.widget<QPushButton>("cmdValue")->click();
    QCOMPARE(h.events.size(), 1);
    QCOMPARE(h.events.first().functionName, QStringLiteral("cmdValue_Click"));
    QVERIFY(h.events.first().message.contains("is not commissioned"));
    QCOMPARE(h.seams.messages().last().title, QStringLiteral("Hardware Properties cmdValue_Click"));
}

void tst_hardware_read::damagedDeviceTexts_data()
{
    QTest::addColumn<QString>("cp");
    QTest::addColumn<bool>("nvCp");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("interpretation");
    QTest::addColumn<QString>("procedure");
    QTest::addColumn<QString>("message");
    QTest::addColumn<bool>("offsetReadable");

    QTest::newRow("options of three fields") << "UCPTioOptions" << false << "0 0 1"
                                             << "LINEAR"
                                             << "ReadValues"
                                             << "Subscript out of range" << true;
    // The table is read once per control, so the damaged one must be there from the start.
    QTest::newRow("table of twenty fields")
        << "UCPTtransTable" << false << "0 1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16 17 18 19"
        << "MULTI_LEVEL"
        << "ReadValues"
        << "Subscript out of range" << true;
    QTest::newRow("type text with a scope that is no number")
        << "SCPTnvType" << true << "PID 80:00:00:00:00:00:00:00, scope x, index y"
        << "LINEAR"
        << "FillHardwareValues"
        << "" << false;
}

// A damaged text leaves the widgets as a sound read would fill them (or as they were),
// is reported once, and the control stays usable: loading has ended, so an edit marks it changed.
void tst_hardware_read::damagedDeviceTexts()
{
    QFETCH(QString, cp);
    QFETCH(bool, nvCp);
    QFETCH(QString, text);
    QFETCH(QString, interpretation);
    QFETCH(QString, procedure);
    QFETCH(QString, message);
    QFETCH(bool, offsetReadable);

    Harness h;
    const BlockRef block = findBlock(*h.sim.network(), 1, SnvtTempP);
    QVERIFY(block.isValid());
    h.ref = block;
    h.store("UCPTinputSignalInterpretation", interpretation);
    h.store("UCPTioOptions", "0 0 0 0 0 0 0 1");
    const QString offset = h.stored("SCPToffset");
    const bool fromStart = cp == "UCPTtransTable";
    if (fromStart)
        h.sim->setStoredCpText(block.device, block.block, cp, text, nvCp);
    h.place(block);
    if (!fromStart) {
        QVERIFY(h.events.isEmpty());
        h.sim->setStoredCpText(block.device, block.block, cp, text, nvCp);
        h.control->FillHardwareValues();
    }

    QCOMPARE(h.events.size(), 1);
    QCOMPARE(h.events.first().functionName, procedure);
    QCOMPARE(h.events.first().typeIndex, 16);
    QVERIFY2(h.events.first().message.contains(message), qPrintable(h.events.first().message));
    QCOMPARE(h.seams.messages().last().title, "Hardware Properties " + procedure);
    // The reverse flag read before (or with sound options) stays ticked. The offset box shows
    // the offset, unless the damage makes the offset itself unreadable: then it is empty.
    QVERIFY(h.widget<QCheckBox>("chkReverse")->isChecked());
    if (offsetReadable)
        QCOMPARE(h.box("txtOff")->text().toDouble(), offset.toDouble());
    else
        QCOMPARE(h.box("txtOff")->text(), QString());

    QVERIFY(!h.control->ValueChanged());
    h.box("txtMin")->setText("12");
    QVERIFY(h.control->ValueChanged());
}

QTEST_MAIN(tst_hardware_read)
#include "tst_hardware_read.moc"
