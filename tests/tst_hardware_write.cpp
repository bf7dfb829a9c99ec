// SPDX-License-Identifier: MIT
// Writing a hardware input back, each case after reading it: nothing without an edit,
// the US differential range, the reverse flag, the multi-level value, the offset per
// format, the order of the writes, damaged device texts and a device failure in a write.
#include "tst_hardware_harness.h"

#include <QLocale>
#include <QScopeGuard>

using namespace HardwareTest;

namespace {

// A version-1 transfer table whose multi-level value (field 30) is `level`.
QString table(const QString &level)
{
    QStringList fields;
    for (int i = 0; i < 32; ++i)
        fields.append(i == 30 ? level : QString::number(i));
    return fields.join(' ');
}

// Changes every property that WriteValue writes for a transfer-table input.
void editEverything(Harness &h)
{
    h.reverse()->toggle();
    QVERIFY(h.choose("TRANS_TABLE"));
    for (QComboBox *list : { h.combo("cboSignal"), h.combo("cboTherm") })
        list->setCurrentIndex((list->currentIndex() + 1) % list->count());
    for (const auto &[box, text] : pairs("txtSelector=3;txtMin=-10;txtMax=70;txtOff=1.5"))
        h.edit(box, text);
}

struct Write
{
    int version;
    int typeIndex;
    int unit;
    QString stored {}; // "cp=text;..." on the device before the read
    QString choose {}; // an interpretation the user picks after the read
    QString shown {}; // "widget=text;..." after the read
    QString edits {}; // "widget=text;..."
    QString written {}; // "cp=text;...": the text written, "" none, "*" any one
    QString formats {}; // "cp=suffix;...": of the first format set on the property
    QString message {}; // what WriteValue reports
    QString database {}; // a file of the test data, or the sample network
    QString after {}; // "cp=text;...": stored afterwards (SI)
    bool german = false; // the user's locale is German, with decimal commas
};

} // namespace

Q_DECLARE_METATYPE(Write)

class tst_hardware_write : public QObject
{
    Q_OBJECT

private slots:
    void writeBack_data();
    void writeBack();
    void offsetShownAsTyped();
    void tableConfirmedWithoutEdit();
    void writeOrder();
    void damagedDeviceTexts();
    void failedCall();
};

void tst_hardware_write::writeBack_data()
{
    QTest::addColumn<Write>("c");
    const int t = SnvtTempP;
    const int si = MEASUREMENT_SYSTEM_SI;
    const int us = MEASUREMENT_SYSTEM_US;
    const QString linear = "UCPTinputSignalInterpretation=LINEAR";

    // US set-point-offset limits (5 K and 10 K) read 41.0 and 50.0 as Fahrenheit temperatures and show
    // 32 less, as differences in °F; a typed difference is written as it is in the difference format
    // (no longer plus 32, which moved the untouched minimum from 5 K to 22.8 K).
    const QString usRange = "UCPTinputSignalInterpretation=SETPOINT_OFFSET;SCPTminRnge=5;SCPTmaxRnge=10";
    const QString diffFormats = "SCPTminRnge=SNVT_temp_p#US_diff;SCPTmaxRnge=SNVT_temp_p#US_diff";
    QTest::newRow("US differential range, written as the difference shown (not plus 32)")
        << Write { 1, t, us, usRange, "", "txtMin=9.0;txtMax=18.0", "txtMax=7.2",
               "SCPTminRnge=9.0;SCPTmaxRnge=7.2;SCPToffset=*", diffFormats, "", "", "SCPTminRnge=5.0;SCPTmaxRnge=4.0" };
    // An invalid limit is not written; the other limit and the later properties still are.
    QTest::newRow("US differential, minimum invalid") << Write { 1, t, us, usRange, "", "", "txtMin=abc;txtMax=18",
        "SCPTminRnge=;SCPTmaxRnge=18;SCPToffset=*", "SCPTmaxRnge=SNVT_temp_p#US_diff", "Min Value is invalid." };
    // The reverse flag is field 7 on version 1 and field 0 on version 2; the other field holds a decoy.
    const QString v1 = linear + ";UCPTioOptions=";
    const QString v2 = linear + ";UCPThwInOptions=";
    QTest::newRow("v1 reverse ticked") << Write { 1, t, si, v1 + "1 3 4 5 6 7 8 0", "", "chkReverse=0", "chkReverse=1",
        "UCPTioOptions=1 3 4 5 6 7 8 1" };
    QTest::newRow("v1 reverse cleared") << Write { 1, t, si, v1 + "0 3 4 5 6 7 8 1 9", "", "chkReverse=1",
        "chkReverse=0", "UCPTioOptions=0 3 4 5 6 7 8 0 9" };
    QTest::newRow("v2 reverse ticked") << Write { 2, t, si, v2 + "0 3 4 5 6 7 8 1", "", "chkReverse=0", "chkReverse=1",
        "UCPThwInOptions=1 3 4 5 6 7 8 1" };

    // On version 1 the offset box shows and edits field 30 of the table. It shows what that field
    // holds also when another interpretation is stored (no longer 0, which a confirm then stored
    // over row 16's input).
    const QString multiLevel = "UCPTtransTable=" + table("3") + ";UCPTinputSignalInterpretation=";
    const QString written = "UCPTtransTable=" + table("5") + ";SCPToffset=";
    QTest::newRow("v1 multi-level stored")
        << Write { 1, t, si, multiLevel + "MULTI_LEVEL", "", "txtOff=3", "txtOff=5", written };
    QTest::newRow("v1 multi-level chosen, shows the stored field (not 0)")
        << Write { 1, t, si, multiLevel + "LINEAR", "MULTI_LEVEL", "txtOff=3", "txtOff=5", written };
    QTest::newRow("v1 multi-level chosen, untouched") << Write { 1, t, si, multiLevel + "LINEAR", "MULTI_LEVEL",
        "txtOff=3", "chkReverse=1", "UCPTtransTable=" + table("3") };

    // The offset per format and version; version 2 keeps SI base units, shown as US differences.
    QTest::newRow("v1 temperature offset")
        << Write { 1, t, si, linear, "", "", "txtOff=1.5", "SCPToffset=1.5", "SCPToffset=SNVT_temp_p#SI" };
    QTest::newRow("v2 temperature offset, US") << Write { 2, t, us, linear + ";UCPToffset=0.5", "", "txtOff=0.9",
        "txtOff=1.8", "UCPToffset=1", "UCPToffset=UCPToffset" };
    QTest::newRow("v1 enumeration offset: always 0")
        << Write { 1, SnvtOccupancy, si, linear, "", "", "txtOff=1.5", "SCPToffset=0", "SCPToffset=UCPTsignedShort" };
    QTest::newRow("structure other than the switch: no offset")
        << Write { 1, 106, si, linear, "", "", "txtOff=1 1 1 1 1 1", "SCPToffset=", "", "", "hardware-structure.json" };

    // An enumerated input writes 0 as its offset, but not over a stored one that the user left alone.
    QTest::newRow("v1 enumeration offset left alone: not written")
        << Write { 1, SnvtOccupancy, si, linear + ";SCPToffset=OC_UNOCCUPIED", "", "txtOff=OC_UNOCCUPIED",
               "chkReverse=1", "SCPToffset=", "", "", "", "SCPToffset=OC_UNOCCUPIED" };
    // The reverse field is replaced only when the box says otherwise: only "1" ticks it.
    QTest::newRow("v1 reverse field 2 left alone")
        << Write { 1, t, si, v1 + "0 0 0 0 0 0 0 2", "", "chkReverse=0", "txtMin=1", "UCPTioOptions=0 0 0 0 0 0 0 2" };
    // A stored thermistor type that the version's list does not offer selects nothing; nothing is written.
    QTest::newRow("v1 thermistor type not offered: not written")
        << Write { 1, t, si, linear + ";UCPTthermistorType=NTC_10K_TYPE3", "", "cboTherm=", "txtMin=1",
               "UCPTthermistorType=", "", "", "", "UCPTthermistorType=NTC_10K_TYPE3" };
    // Picking a thermistor for a current input selects the one signal type a thermistor has.
    QTest::newRow("STD_THERMISTOR chosen on a mA input")
        << Write { 1, t, si, linear + ";UCPTinputSignalType=MILIAMPS_4_20MA", "STD_THERMISTOR", "cboSignal=RESISTANCE",
               "", "UCPTinputSignalInterpretation=STD_THERMISTOR;UCPTinputSignalType=RESISTANCE", "", "", "",
               "UCPTinputSignalInterpretation=STD_THERMISTOR;UCPTinputSignalType=RESISTANCE" };

    // The user's locale is German: texts show decimal commas, the device gets C-locale numbers.
    const auto german = [&](const char *name, Write w) {
        w.german = true;
        QTest::newRow(name) << w;
    };
    german("German, v2 US offset untouched",
        { 2, t, us, linear + ";UCPToffset=0.5", "", "txtOff=0,9", "chkReverse=1", "UCPToffset=0.5", "", "", "",
            "UCPToffset=0.5" });
    german("German, v2 US offset typed",
        { 2, t, us, linear + ";UCPToffset=0.5", "", "", "txtOff=1,8", "UCPToffset=1", "", "", "", "UCPToffset=1" });
    german("German, v1 offset typed",
        { 1, t, si, linear, "", "", "txtOff=0,5", "SCPToffset=0.5", "", "", "", "SCPToffset=0.5" });
    german("German, US differential range",
        { 1, t, us, usRange, "", "txtMin=9,0;txtMax=18,0", "txtMax=7,2", "SCPTminRnge=9;SCPTmaxRnge=7.2", diffFormats,
            "", "", "SCPTminRnge=5.0;SCPTmaxRnge=4.0" });
    german("German, v1 multi-level typed",
        { 1, t, si, multiLevel + "MULTI_LEVEL", "", "txtOff=3", "txtOff=2,5", "UCPTtransTable=" + table("2.5") });
    german("German, increment typed",
        { 1, t, si, linear, "", "", "txtSelector=3,0", "UCPTstepLevel=3", "", "", "", "UCPTstepLevel=3" });
}

void tst_hardware_write::writeBack()
{
    QFETCH(Write, c);
    const QLocale previous;
    const auto restore = qScopeGuard([&] { QLocale::setDefault(previous); });
    QLocale::setDefault(c.german ? QLocale(QLocale::German, QLocale::Germany) : QLocale(QLocale::English));
    Harness h(c.database);
    // As a host sets US units: the measurement system and the database's format locale.
    h.sim->setFormatLocale(qint16(c.unit));
    QVERIFY(h.open(c.version, c.typeIndex, c.stored, qint16(c.unit)));
    QVERIFY(c.choose.isEmpty() || h.choose(c.choose));
    for (const auto &[widget, text] : pairs(c.shown))
        QCOMPARE(widget + "=" + h.shown(widget), widget + "=" + text);
    for (const auto &[widget, text] : pairs(c.edits))
        h.edit(widget, text);
    h.sim->clearCallLog();

    QCOMPARE(h.control->WriteValue(), false);
    for (const auto &[cp, text] : pairs(c.written)) {
        const QStringList values = h.calls(cp);
        if (text == "*")
            QCOMPARE(cp + " written " + QString::number(values.size()), cp + " written 1");
        else
            QCOMPARE(cp + "=" + values.join('|'), cp + "=" + text);
    }
    for (const auto &[cp, suffix] : pairs(c.formats)) {
        const QStringList set = h.calls(cp, "ConfigProperty.setFormat");
        QVERIFY2(set.value(0).endsWith(suffix), qPrintable(cp + ": " + set.join(',')));
    }
    QCOMPARE(h.events, c.message.isEmpty() ? QStringList() : QStringList { "WriteValue 16: " + c.message });
    for (const auto &[cp, text] : pairs(c.after))
        QCOMPARE(cp + "=" + h.stored(cp), cp + "=" + text);
}

// A typed offset shows as typed when the input is read again (1.9, not 1.90000000001), and a
// confirm without an edit then leaves it as stored. Version 2 keeps the offset in kelvin, shown
// in US units as °F differences (more numbers of the shortest exact text: tst_units).
void tst_hardware_write::offsetShownAsTyped()
{
    for (const auto &[version, unit, typed] : { std::tuple { 2, int(MEASUREMENT_SYSTEM_US), "1.9" }, { 2, 1, "-3.7" },
             { 2, 1, "0.05" }, { 2, 0, "1.9" }, { 1, 1, "1.9" } }) {
        const auto named
            = TestSupport::failureNamesRow(QStringLiteral("v%1, unit %2, %3").arg(version).arg(unit).arg(typed));
        Harness h;
        h.sim->setFormatLocale(qint16(unit));
        QVERIFY(h.open(version, SnvtTempP, "UCPTinputSignalInterpretation=LINEAR", qint16(unit)));
        QVERIFY(h.edit("txtOff", typed));
        QCOMPARE(h.control->WriteValue(), false);
        const QString offsetCp = version == 2 ? "UCPToffset" : "SCPToffset";
        const QString stored = h.stored(offsetCp);
        h.control->FillHardwareValues();
        QCOMPARE(h.shown("txtOff"), QString(typed));
        h.control->setNoChangeButOKPress(true);
        QCOMPARE(h.control->WriteValue(), false);
        QCOMPARE(h.stored(offsetCp), stored);
        QCOMPARE(h.events, QStringList());
    }
}

// The table editor opened and closed with OK without an edit stores the table as it was: row 16's
// input shows what is stored (on version 1 it is also the multi-level value, and says so), and
// outputs shown in °F go back as the stored Celsius texts.
void tst_hardware_write::tableConfirmedWithoutEdit()
{
    QStringList fields;
    for (int r = 0; r < 16; ++r)
        fields << QString::number(r) << QString::number(21.1666666667 + r, 'g', 12);
    fields[30] = "15.5";
    for (int row = 0; row < 8; ++row) {
        const int version = 1 + row / 4;
        const int unit = row / 2 % 2;
        const QString stored = row % 2 ? "TRANS_TABLE" : "LINEAR";
        const auto named = TestSupport::failureNamesRow(
            QStringLiteral("v%1, unit %2, %3 stored").arg(version).arg(unit).arg(stored));
        Harness h;
        h.sim->setFormatLocale(qint16(unit));
        QVERIFY(h.open(version, SnvtTempP,
            "UCPTinputSignalInterpretation=" + stored + ";UCPTtransTable=" + fields.join(' '), qint16(unit)));
        QVERIFY(stored == "TRANS_TABLE" || h.choose("TRANS_TABLE"));
        QStringList shown; // row 16's input, its output and the input's tool tip
        h.editTable("cmdOK", [&](QDialog &editor) {
            for (int k : { 30, 31 })
                shown << editor.findChild<QLineEdit *>(QStringLiteral("txtTable_%1").arg(k))->text();
            shown << editor.findChild<QLineEdit *>("txtTable_30")->toolTip();
        });
        QCOMPARE(shown,
            QStringList({ "15.5", unit ? "97.1" : "36.1666666667",
                version == 1 ? "This input is also the multi-level value." : "" }));
        QCOMPARE(h.control->WriteValue(), false);
        QCOMPARE(h.stored("UCPTtransTable"), fields.join(' '));
        QCOMPARE(h.stored("UCPTinputSignalInterpretation"), QStringLiteral("TRANS_TABLE"));
        QCOMPARE(h.events, QStringList());
    }
}

// Options, interpretation, signal type, thermistor type, increment (version 1 only), the range,
// then the table (after an edit confirmed with OK) and the offset as the interpretation asks.
void tst_hardware_write::writeOrder()
{
    const QStringList first { "UCPTioOptions", "UCPTinputSignalInterpretation", "UCPTinputSignalType",
        "UCPTthermistorType", "UCPTstepLevel", "SCPTminRnge", "SCPTmaxRnge" };
    const QStringList second { "UCPThwInOptions", "UCPTinputSignalInterpretation", "UCPTinputSignalType",
        "UCPTthermistorType", "SCPTminRnge", "SCPTmaxRnge" };
    for (const auto &[version, interpretation, tableConfirmed, last] :
        { std::tuple { 1, "LINEAR", false, QStringList { "SCPToffset" } }, { 2, "LINEAR", false, { "UCPToffset" } },
            { 1, "TRANS_TABLE", false, { "SCPToffset" } },
            { 1, "TRANS_TABLE", true, { "UCPTtransTable", "SCPToffset" } },
            { 2, "TRANS_TABLE", true, { "UCPTtransTable", "UCPToffset" } },
            { 1, "MULTI_LEVEL", false, { "UCPTtransTable" } }, { 2, "MULTI_LEVEL", true, { "UCPTtransTable" } },
            { 2, "MULTI_LEVEL", false, {} } }) {
        const auto named = TestSupport::failureNamesRow(
            QStringLiteral("v%1 %2, table confirmed %3").arg(version).arg(interpretation).arg(tableConfirmed));
        Harness h;
        QVERIFY(h.open(version, SnvtTempP, QStringLiteral("UCPTinputSignalInterpretation=") + interpretation));
        if (tableConfirmed)
            h.editTable();
        h.edit("txtMin", "1");
        h.sim->clearCallLog();
        QCOMPARE(h.control->WriteValue(), false);
        QStringList written;
        for (const Sim::CallRecord &call : h.sim->callLog()) {
            if (call.operation == "ConfigProperty.setValueText")
                written << call.arguments.value(0);
        }
        QCOMPARE(written, (version == 1 ? first : second) + last);
        QCOMPARE(h.events, QStringList());
    }
}

// A damaged text leaves the widgets as they were or as a sound read fills them, is reported once by
// the procedure named, and loading ends: an edit afterwards marks the control changed.
void tst_hardware_write::damagedDeviceTexts()
{
    for (const auto &[cp, text, procedure] : { std::tuple { "UCPTioOptions", "0 0 1", "ReadValues" },
             { "UCPTtransTable", "0 1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16 17 18 19", "ReadValues" },
             { "SCPTnvType", "PID 80:00:00:00:00:00:00:00, scope x, index y", "FillHardwareValues" } }) {
        const auto named = TestSupport::failureNamesRow(cp);
        const bool typeReadable = QLatin1String(cp) != "SCPTnvType";
        // The table is read once per control, so a damaged one must be there from the start.
        const bool fromStart = QLatin1String(cp) == "UCPTtransTable";
        Harness h;
        QVERIFY(h.open(1, SnvtTempP,
            "UCPTioOptions=0 0 0 0 0 0 0 1;UCPTinputSignalInterpretation="
                + (fromStart ? QStringLiteral("MULTI_LEVEL;%1=%2").arg(cp, text) : "LINEAR")));
        const QString offset = h.stored("SCPToffset");
        if (!fromStart) {
            QVERIFY(h.events.isEmpty());
            h.sim->setStoredCpText(h.device, h.block, cp, text, !typeReadable);
            h.control->FillHardwareValues();
        }
        QCOMPARE(h.events.size(), 1);
        QVERIFY2(h.events.first().startsWith(procedure + QStringLiteral(" 16: ")), qPrintable(h.events.first()));
        QCOMPARE(h.seams.messages().last().title, QStringLiteral("Hardware Properties ") + procedure);
        QCOMPARE(h.shown("chkReverse"), QStringLiteral("1"));
        // Without a type the offset format is unknown and the offset cannot be read.
        if (typeReadable)
            QCOMPARE(h.shown("txtOff").toDouble(), offset.toDouble());
        else
            QCOMPARE(h.shown("txtOff"), QString());
        QVERIFY(!h.control->ValueChanged());
        h.edit("txtSelector", "4");
        QVERIFY(h.control->ValueChanged());
        if (!typeReadable)
            continue;
        // A text too short to take the value: a critical failure of that step only.
        h.events.clear();
        QCOMPARE(h.control->WriteValue(), true);
        QCOMPARE(h.events, QStringList { "WriteValue 16: Subscript out of range" });
        QCOMPARE(h.stored(cp), QString(text));
        QCOMPARE(h.stored("UCPTstepLevel"), QStringLiteral("4"));
    }
}

// A device failure in a write is reported with the procedure's title, only the property whose
// look-up or write failed keeps its old value, and the control stays usable. Every call failing
// in turn is swept in tst_fault_sweep ("hardware WriteValue"), which judges what is stored.
void tst_hardware_write::failedCall()
{
    QVector<Sim::CallRecord> recorded;
    {
        Harness clean;
        QVERIFY(clean.open(1));
        editEverything(clean);
        clean.sim->clearCallLog();
        QCOMPARE(clean.control->WriteValue(), false);
        recorded = clean.sim->callLog();
    }
    const int injected = DeviceAccess::DeviceError::ObjectErrorBase + 77;
    const QString nothing = "WriteValue 16: ConfigProperty is nothing.";
    // The first call of `operation` naming `cp` fails. A failed look-up is told at once, critical
    // (result True), then the write without its property; a failed write is collected and told at
    // the end; a quiet number only as information, without a box and without changing the result.
    for (const auto &[operation, cp, number, result, events] :
        { std::tuple { "ConfigProperties.Item", "SCPTmaxRnge", injected, true,
              QStringList { "WriteValue 16: Failed", nothing } },
            { "ConfigProperty.setValueText", "SCPTmaxRnge", injected, false, { "WriteValue 16: Failed" } },
            { "ConfigProperties.Item", "UCPTinputSignalType", int(DeviceAccess::DeviceError::QuietNumber5030), false,
                { "WriteValue 64: Failed", nothing } } }) {
        const auto named = TestSupport::failureNamesRow(QStringLiteral("%1 %2 %3").arg(operation, cp).arg(number));
        // Structured bindings cannot be captured before C++20: named copies are.
        const auto call = std::find_if(recorded.cbegin(), recorded.cend(),
            [op = QLatin1String(operation), property = QString::fromLatin1(cp)](
                const Sim::CallRecord &c) { return c.operation == op && c.arguments.contains(property); });
        QVERIFY(call != recorded.cend());
        Harness h;
        QVERIFY(h.open(1));
        editEverything(h);
        const QString before = h.stored(cp);
        h.sim->clearCallLog();
        h.sim->failCall(int(call - recorded.cbegin()) + 1, number, "Failed");
        QCOMPARE(h.control->WriteValue(), result);
        QCOMPARE(h.events, events);
        QCOMPARE(h.seams.messageCount(), events.filter(" 16: ").size());
        QCOMPARE(h.seams.messages().last().title, QStringLiteral("Hardware Properties WriteValue"));
        QCOMPARE(h.stored(cp), before);
        QCOMPARE(h.stored("UCPTinputSignalInterpretation"), QStringLiteral("TRANS_TABLE"));
        // Still usable: the edit is still pending and a second write goes through quietly.
        QVERIFY(h.control->ValueChanged());
        h.events.clear();
        QCOMPARE(h.control->WriteValue(), false);
        QCOMPARE(h.events, QStringList());
    }
}

QTEST_MAIN(tst_hardware_write)
#include "tst_hardware_write.moc"
