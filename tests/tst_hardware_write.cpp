// SPDX-License-Identifier: MIT
// Writing a hardware input back: nothing without an edit, the US differential range,
// the reverse flag, the multi-level value, the offset rules per format, and a device
// failure at every single call of a write.
#include "tst_hardware_harness.h"

using namespace HardwareTest;

namespace {

// The values that setValueText was given for one property, in order.
QStringList writtenValues(const Harness &h, const QString &cpName)
{
    QStringList values;
    for (const QStringList &arguments : h.calls("ConfigProperty.setValueText", cpName))
        values.append(arguments.value(1));
    return values;
}

QStringList formatsSet(const Harness &h, const QString &cpName)
{
    QStringList formats;
    for (const QStringList &arguments : h.calls("ConfigProperty.setFormat", cpName))
        formats.append(arguments.value(1));
    return formats;
}

// The properties of the version-1 temperature input that the edit below changes.
const QStringList editedProperties = { "UCPTioOptions", "UCPTinputSignalInterpretation", "UCPTinputSignalType",
    "UCPTthermistorType", "UCPTstepLevel", "SCPTminRnge", "SCPTmaxRnge", "SCPToffset" };

// Changes every property that a write of a linear-like input touches.
void editEverything(Harness &h)
{
    h.widget<QCheckBox>("chkReverse")->setChecked(!h.widget<QCheckBox>("chkReverse")->isChecked());
    QVERIFY(h.choose("TRANS_TABLE"));
    QComboBox *signal = h.combo("cboSignal");
    signal->setCurrentIndex((signal->currentIndex() + 1) % signal->count());
    QComboBox *therm = h.combo("cboTherm");
    therm->setCurrentIndex((therm->currentIndex() + 1) % therm->count());
    h.box("txtSelector")->setText("3");
    h.box("txtMin")->setText("-10");
    h.box("txtMax")->setText("70");
    h.box("txtOff")->setText("1.5");
}

} // namespace

class tst_hardware_write : public QObject
{
    Q_OBJECT

private slots:
    void nothingWrittenWithoutAnEdit();
    void usDifferentialRange_data();
    void usDifferentialRange();
    void reverseFlag_data();
    void reverseFlag();
    void multiLevelValueGoesIntoTheTable();
    void offsetByFormat_data();
    void offsetByFormat();
    void offsetVersion2Conversion_data();
    void offsetVersion2Conversion();
    void damagedTextCannotTakeTheValue_data();
    void damagedTextCannotTakeTheValue();
    void quietFailureIsInformation();
    void failureAtEveryCall();
};

void tst_hardware_write::nothingWrittenWithoutAnEdit()
{
    Harness h;
    QVERIFY2(h.sim.isLoaded(), qPrintable(h.sim.errorString()));
    const BlockRef block = findBlock(*h.sim.network(), 1, SnvtTempP);
    QVERIFY(block.isValid());
    h.place(block);
    QVERIFY(!h.control->ValueChanged());
    h.sim->clearCallLog();

    QCOMPARE(h.control->WriteValue(), false);
    QCOMPARE(h.sim->callCount(), 0);
    QVERIFY(h.events.isEmpty());
    QCOMPARE(h.seams.messageCount(), 0);
}

void tst_hardware_write::usDifferentialRange_data()
{
    QTest::addColumn<QString>("typedMin");
    QTest::addColumn<QString>("typedMax");
    QTest::addColumn<QStringList>("writtenMin");
    QTest::addColumn<QStringList>("writtenMax");
    QTest::addColumn<QString>("message");

    QTest::newRow("both numeric") << "9"
                                  << "18" << QStringList { "41" } << QStringList { "50" } << QString();
    QTest::newRow("minimum not numeric") << "abc"
                                         << "18" << QStringList() << QStringList { "50" } << "Min Value is invalid.";
    QTest::newRow("both not numeric") << "abc"
                                      << "" << QStringList() << QStringList()
                                      << "Min Value is invalid.\r\nMax Value is invalid.";
}

// In set-point-offset mode the limits are shown 32 degrees below the difference format's
// reading; a write adds them back.
void tst_hardware_write::usDifferentialRange()
{
    QFETCH(QString, typedMin);
    QFETCH(QString, typedMax);
    QFETCH(QStringList, writtenMin);
    QFETCH(QStringList, writtenMax);
    QFETCH(QString, message);

    Harness h;
    const BlockRef block = findBlock(*h.sim.network(), 1, SnvtTempP);
    QVERIFY(block.isValid());
    h.ref = block;
    h.store("UCPTinputSignalInterpretation", "SETPOINT_OFFSET");
    h.store("SCPTminRnge", "41");
    h.store("SCPTmaxRnge", "50");
    h.place(block, MEASUREMENT_SYSTEM_US);
    QCOMPARE(h.box("txtMin")->text(), QStringLiteral("9.0"));
    h.box("txtMin")->setText(typedMin);
    h.box("txtMax")->setText(typedMax);
    h.sim->clearCallLog();

    QCOMPARE(h.control->WriteValue(), false);
    QCOMPARE(writtenValues(h, "SCPTminRnge"), writtenMin);
    QCOMPARE(writtenValues(h, "SCPTmaxRnge"), writtenMax);
    for (const QString &format : formatsSet(h, "SCPTminRnge") + formatsSet(h, "SCPTmaxRnge"))
        QVERIFY(format.isEmpty() || format.endsWith("SNVT_temp_p#US_diff"));
    // The properties after the range are written whatever became of it.
    QCOMPARE(writtenValues(h, "SCPToffset").size(), 1);

    if (message.isEmpty()) {
        QVERIFY(h.events.isEmpty());
    } else {
        QCOMPARE(h.events.size(), 1);
        QCOMPARE(h.events.first().message, message);
        QCOMPARE(h.events.first().functionName, QStringLiteral("WriteValue"));
        QCOMPARE(h.events.first().typeIndex, 16);
        QCOMPARE(h.seams.messages().last().title, QStringLiteral("Hardware Properties WriteValue"));
    }
}

void tst_hardware_write::reverseFlag_data()
{
    QTest::addColumn<int>("version");
    QTest::addColumn<QString>("options");
    QTest::addColumn<bool>("reverse");
    QTest::addColumn<QString>("written");

    QTest::newRow("v1 ticked") << 1 << "2 3 4 5 6 7 8 0" << true << "2 3 4 5 6 7 8 1";
    QTest::newRow("v1 cleared") << 1 << "2 3 4 5 6 7 8 1 9" << false << "2 3 4 5 6 7 8 0 9";
    QTest::newRow("v2 ticked") << 2 << "0 3 4 5 6 7 8 9" << true << "1 3 4 5 6 7 8 9";
    QTest::newRow("v2 cleared") << 2 << "1 3 4 5 6 7 8 1" << false << "0 3 4 5 6 7 8 1";
}

void tst_hardware_write::reverseFlag()
{
    QFETCH(int, version);
    QFETCH(QString, options);
    QFETCH(bool, reverse);
    QFETCH(QString, written);

    Harness h;
    const BlockRef block = findBlock(*h.sim.network(), version, SnvtTempP);
    QVERIFY(block.isValid());
    h.ref = block;
    const QString optionsName = version == 1 ? "UCPTioOptions" : "UCPThwInOptions";
    h.store(optionsName, options);
    h.store("UCPTinputSignalInterpretation", "LINEAR");
    h.place(block);
    QCOMPARE(h.widget<QCheckBox>("chkReverse")->isChecked(), !reverse);
    h.widget<QCheckBox>("chkReverse")->setChecked(reverse);
    h.sim->clearCallLog();

    QCOMPARE(h.control->WriteValue(), false);
    QCOMPARE(writtenValues(h, optionsName), QStringList { written });
    QCOMPARE(h.stored(optionsName), written);
    QVERIFY2(h.events.isEmpty(), qPrintable(h.events.value(0).message));
}

void tst_hardware_write::multiLevelValueGoesIntoTheTable()
{
    Harness h;
    const BlockRef block = findBlock(*h.sim.network(), 1, SnvtTempP);
    QVERIFY(block.isValid());
    h.ref = block;
    h.store("UCPTinputSignalInterpretation", "MULTI_LEVEL");
    QStringList table = h.stored("UCPTtransTable").split(' ');
    QCOMPARE(table.size(), 32);
    h.place(block);
    h.box("txtOff")->setText("5");
    h.sim->clearCallLog();

    QCOMPARE(h.control->WriteValue(), false);
    table[30] = "5";
    QCOMPARE(writtenValues(h, "UCPTtransTable"), QStringList { table.join(' ') });
    QCOMPARE(writtenValues(h, "SCPToffset"), QStringList());
    QVERIFY(h.events.isEmpty());
}

void tst_hardware_write::offsetByFormat_data()
{
    QTest::addColumn<QString>("database");
    QTest::addColumn<int>("version");
    QTest::addColumn<int>("typeIndex");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QStringList>("written");
    QTest::addColumn<QString>("format");

    QTest::newRow("temperature v1: the typed offset")
        << "" << 1 << SnvtTempP << "1.5" << QStringList { "1.5" } << "SNVT_temp_p#SI";
    QTest::newRow("temperature v2: the property's own format")
        << "" << 2 << SnvtTempP << "1.5" << QStringList { "1.5" } << "UCPToffset";
    QTest::newRow("enumeration v1: always 0")
        << "" << 1 << SnvtOccupancy << "1.5" << QStringList { "0" } << "UCPTsignedShort";
    QTest::newRow("switch structure v1: written") << "" << 1 << SnvtSwitch << "1.5 0" << QStringList { "1.5 0" } << "";
    QTest::newRow("other structure v1: not written")
        << "hardware-structure.json" << 1 << 106 << "1 1 1 1 1 1" << QStringList() << "";
}

void tst_hardware_write::offsetByFormat()
{
    QFETCH(QString, database);
    QFETCH(int, version);
    QFETCH(int, typeIndex);
    QFETCH(QString, typed);
    QFETCH(QStringList, written);
    QFETCH(QString, format);

    Harness h(database);
    QVERIFY2(h.sim.isLoaded(), qPrintable(h.sim.errorString()));
    const BlockRef block = findBlock(*h.sim.network(), version, typeIndex);
    QVERIFY(block.isValid());
    h.ref = block;
    h.store("UCPTinputSignalInterpretation", "LINEAR");
    h.place(block);
    h.box("txtOff")->setText(typed);
    h.sim->clearCallLog();

    QCOMPARE(h.control->WriteValue(), false);
    QVERIFY2(h.events.isEmpty(), qPrintable(h.events.value(0).message));
    const QString offsetName = version == 1 ? "SCPToffset" : "UCPToffset";
    QCOMPARE(writtenValues(h, offsetName), written);
    if (!format.isEmpty())
        QVERIFY2(formatsSet(h, offsetName).value(0).endsWith(format), qPrintable(formatsSet(h, offsetName).join(',')));
}

void tst_hardware_write::offsetVersion2Conversion_data()
{
    QTest::addColumn<int>("unit");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("stored");

    // Version 2 keeps the offset in SI base units; in the US system it is shown as a US difference.
    QTest::newRow("SI: as stored") << int(MEASUREMENT_SYSTEM_SI) << "0.5"
                                   << "0.7"
                                   << "0.7";
    QTest::newRow("US: converted both ways") << int(MEASUREMENT_SYSTEM_US) << "0.9"
                                             << "1.8"
                                             << "1";
}

void tst_hardware_write::offsetVersion2Conversion()
{
    QFETCH(int, unit);
    QFETCH(QString, shown);
    QFETCH(QString, typed);
    QFETCH(QString, stored);

    Harness h;
    const BlockRef block = findBlock(*h.sim.network(), 2, SnvtTempP);
    QVERIFY(block.isValid());
    h.ref = block;
    h.store("UCPTinputSignalInterpretation", "LINEAR");
    h.store("UCPToffset", "0.5");
    h.place(block, qint16(unit));
    QCOMPARE(h.box("txtOff")->text(), shown);
    QCOMPARE(h.box("txtOff")->toolTip(), QStringLiteral("Format name: UCPToffset"));

    h.box("txtOff")->setText(typed);
    QCOMPARE(h.control->WriteValue(), false);
    QCOMPARE(h.stored("UCPToffset").toDouble(), stored.toDouble());
    QVERIFY(h.events.isEmpty());
}

void tst_hardware_write::damagedTextCannotTakeTheValue_data()
{
    QTest::addColumn<QString>("cp");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("interpretation");

    QTest::newRow("options of three fields") << "UCPTioOptions"
                                             << "0 0 1"
                                             << "LINEAR";
    QTest::newRow("table of twenty fields") << "UCPTtransTable"
                                            << "0 1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16 17 18 19"
                                            << "MULTI_LEVEL";
}

// A device text too short for the field to be written is a critical failure of that
// step; the damaged property stays as it was and the other steps still run.
void tst_hardware_write::damagedTextCannotTakeTheValue()
{
    QFETCH(QString, cp);
    QFETCH(QString, text);
    QFETCH(QString, interpretation);

    Harness h;
    const BlockRef block = findBlock(*h.sim.network(), 1, SnvtTempP);
    QVERIFY(block.isValid());
    h.ref = block;
    h.store("UCPTinputSignalInterpretation", interpretation);
    h.place(block);
    h.store(cp, text);
    h.box("txtSelector")->setText("4");
    h.events.clear();
    h.seams.clear();

    QCOMPARE(h.control->WriteValue(), true);
    QCOMPARE(h.events.size(), 1);
    QCOMPARE(h.events.first().message, QStringLiteral("Subscript out of range"));
    QCOMPARE(h.events.first().typeIndex, 16);
    QCOMPARE(h.seams.messages().last().title, QStringLiteral("Hardware Properties WriteValue"));
    QCOMPARE(h.stored(cp), text);
    QCOMPARE(h.stored("UCPTstepLevel"), QStringLiteral("4"));
}

// The quiet number 5030 on an unexpected failure is information for the host only.
void tst_hardware_write::quietFailureIsInformation()
{
    Harness h;
    const BlockRef block = findBlock(*h.sim.network(), 1, SnvtTempP);
    QVERIFY(block.isValid());
    h.place(block);
    h.box("txtMin")->setText("-10");
    h.sim->failOperation(
        "ConfigProperties.Item", DeviceAccess::DeviceError::QuietNumber5030, true, block.block, "Quiet failure");
    h.sim->clearCallLog();
    // The first property looked up is the options property.
    QCOMPARE(h.control->WriteValue(), false);

    QVERIFY(h.events.size() >= 1);
    QCOMPARE(h.events.first().message, QStringLiteral("Quiet failure"));
    QCOMPARE(h.events.first().typeIndex, 64);
    QCOMPARE(h.events.first().functionName, QStringLiteral("WriteValue"));
    for (const TestSupport::MessageRecord &box : h.seams.messages())
        QVERIFY(box.text != QStringLiteral("Quiet failure"));
    // The rest of the write went on.
    QCOMPARE(writtenValues(h, "SCPTminRnge"), QStringList { "-10" });
}

// A device failure at any one call of a write is reported, the control stays usable,
// and only the property whose read or write failed keeps its old value.
void tst_hardware_write::failureAtEveryCall()
{
    const BlockRef block = [] {
        TestSupport::SimFixture sim;
        return findBlock(*sim.network(), 1, SnvtTempP);
    }();
    QVERIFY(block.isValid());

    QMap<QString, QString> oldValues;
    QMap<QString, QString> newValues;
    QVector<Sim::CallRecord> recorded;
    {
        Harness h;
        h.ref = block;
        for (const QString &cp : editedProperties)
            oldValues.insert(cp, h.stored(cp));
        h.place(block);
        editEverything(h);
        h.sim->clearCallLog();
        QCOMPARE(h.control->WriteValue(), false);
        QVERIFY(h.events.isEmpty());
        recorded = h.sim->callLog();
        for (const QString &cp : editedProperties) {
            newValues.insert(cp, h.stored(cp));
            QVERIFY2(newValues.value(cp) != oldValues.value(cp), qPrintable(cp));
        }
    }
    QVERIFY(recorded.size() > 10);

    const qint32 number = DeviceAccess::DeviceError::ObjectErrorBase + 77;
    for (int k = 1; k <= recorded.size(); ++k) {
        const Sim::CallRecord &call = recorded.at(k - 1);
        const QString where = QString("call %1: %2(%3)").arg(k).arg(call.operation, call.arguments.join(", "));
        const QString description = "Injected at " + where;

        Harness h;
        h.place(block);
        editEverything(h);
        h.sim->clearCallLog();
        h.sim->failCall(k, number, description);
        const bool result = h.control->WriteValue();
        QVERIFY2(h.sim->callLog().size() >= k, qPrintable(where));
        QCOMPARE(h.sim->callLog().at(k - 1).operation, call.operation);

        // Reported: a lookup of a property is an unexpected failure (critical, at once,
        // result True); everything else is collected and reported once at the end.
        const bool lookup = call.operation == "ConfigProperties.Item";
        const QString cpName = lookup ? call.arguments.value(1) : call.arguments.value(0);
        const bool unexpected = lookup && cpName != "SCPToffset";
        QCOMPARE(result, unexpected);
        bool seen = false;
        for (const MessageEventRecord &event : h.events) {
            QCOMPARE(event.functionName, QStringLiteral("WriteValue"));
            QCOMPARE(event.modulename, QStringLiteral("Hardware Properties"));
            QCOMPARE(event.typeIndex, 16);
            seen = seen || event.message.contains(description);
        }
        QVERIFY2(seen, qPrintable(where));
        QVERIFY2(!h.seams.messages().isEmpty(), qPrintable(where));
        QCOMPARE(h.seams.messages().last().title, QStringLiteral("Hardware Properties WriteValue"));

        // Saved: only the property concerned keeps its old value. A failure while putting
        // the property back into its default format comes after its value was written.
        h.sim->save();
        const std::shared_ptr<Sim::Network> saved = Sim::Network::load(h.sim.databasePath());
        const bool restoringFormat = call.operation == "ConfigProperty.setFormat" && call.arguments.value(1).isEmpty();
        for (const QString &cp : editedProperties) {
            const QString value = saved->storedCpText(block.device, block.block, cp);
            const bool keepsOld = cp.compare(cpName, Qt::CaseInsensitive) == 0 && !restoringFormat;
            QVERIFY2(value == (keepsOld ? oldValues.value(cp) : newValues.value(cp)),
                qPrintable(QString("%1: %2 is %3").arg(where, cp, value)));
        }

        // Still usable: the edit is still pending and a second write goes through quietly.
        QVERIFY(h.control->ValueChanged());
        h.events.clear();
        QCOMPARE(h.control->WriteValue(), false);
        QVERIFY2(h.events.isEmpty(), qPrintable(where));
    }
}

QTEST_MAIN(tst_hardware_write)
#include "tst_hardware_write.moc"
