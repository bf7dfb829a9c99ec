// SPDX-License-Identifier: MIT
// Writing a hardware input back, each case after reading it: nothing without an edit,
// the US differential range, the reverse flag, the multi-level value, the offset per
// format, damaged device texts, and a device failure at every single call of a write.
#include "tst_hardware_harness.h"

#include <QDialog>
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
    for (const auto &box : pairs("txtSelector=3;txtMin=-10;txtMax=70;txtOff=1.5"))
        h.edit(box.first, box.second);
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
    void offsetShownAsTyped_data();
    void offsetShownAsTyped();
    void tableConfirmedWithoutEdit_data();
    void tableConfirmedWithoutEdit();
    void writeOrder_data();
    void writeOrder();
    void damagedDeviceTexts_data();
    void damagedDeviceTexts();
    void failureAtEveryCall();
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
    for (const auto &widget : pairs(c.shown))
        QCOMPARE(widget.first + "=" + h.shown(widget.first), widget.first + "=" + widget.second);
    for (const auto &widget : pairs(c.edits))
        h.edit(widget.first, widget.second);
    h.sim->clearCallLog();

    QCOMPARE(h.control->WriteValue(), false);
    for (const auto &cp : pairs(c.written)) {
        const QStringList values = h.calls(cp.first);
        if (cp.second == "*")
            QCOMPARE(cp.first + " written " + QString::number(values.size()), cp.first + " written 1");
        else
            QCOMPARE(cp.first + "=" + values.join('|'), cp.first + "=" + cp.second);
    }
    for (const auto &cp : pairs(c.formats)) {
        const QStringList set = h.calls(cp.first, "ConfigProperty.setFormat");
        QVERIFY2(set.value(0).endsWith(cp.second), qPrintable(cp.first + ": " + set.join(',')));
    }
    QCOMPARE(h.events, c.message.isEmpty() ? QStringList() : QStringList { "WriteValue 16: " + c.message });
    for (const auto &cp : pairs(c.after))
        QCOMPARE(cp.first + "=" + h.stored(cp.first), cp.first + "=" + cp.second);
}

void tst_hardware_write::offsetShownAsTyped_data()
{
    QTest::addColumn<int>("version");
    QTest::addColumn<int>("unit");
    QTest::addColumn<QString>("typed");
    // Version 2 keeps the offset in kelvin; in US units it is shown converted to °F differences.
    for (const char *typed : { "1.9", "0.1", "-3.7", "12.34", "0.05" })
        QTest::addRow("v2 US %s", typed) << 2 << int(MEASUREMENT_SYSTEM_US) << typed;
    QTest::newRow("v2 SI 1.9") << 2 << int(MEASUREMENT_SYSTEM_SI) << "1.9";
    QTest::newRow("v1 US 1.9") << 1 << int(MEASUREMENT_SYSTEM_US) << "1.9";
}

// A typed offset shows as typed when the input is read again (1.9, not 1.90000000001), and a
// confirm without an edit then leaves it as stored.
void tst_hardware_write::offsetShownAsTyped()
{
    QFETCH(int, version);
    QFETCH(int, unit);
    QFETCH(QString, typed);
    Harness h;
    h.sim->setFormatLocale(qint16(unit));
    QVERIFY(h.open(version, SnvtTempP, "UCPTinputSignalInterpretation=LINEAR", qint16(unit)));
    QVERIFY(h.edit("txtOff", typed));
    QCOMPARE(h.control->WriteValue(), false);
    const QString offsetCp = version == 2 ? "UCPToffset" : "SCPToffset";
    const QString stored = h.stored(offsetCp);

    h.control->FillHardwareValues();
    QCOMPARE(h.shown("txtOff"), typed);
    h.control->setNoChangeButOKPress(true);
    QCOMPARE(h.control->WriteValue(), false);
    QCOMPARE(h.stored(offsetCp), stored);
    QCOMPARE(h.events, QStringList());
}

void tst_hardware_write::tableConfirmedWithoutEdit_data()
{
    QTest::addColumn<int>("version");
    QTest::addColumn<int>("unit");
    QTest::addColumn<QString>("storedInterpretation");
    for (int version : { 1, 2 }) {
        for (int unit : { 0, 1 }) {
            for (const char *stored : { "LINEAR", "TRANS_TABLE" })
                QTest::addRow("v%d %s, %s stored", version, unit ? "US" : "SI", stored) << version << unit << stored;
        }
    }
}

// The table editor opened and closed with OK without an edit stores the table as it was: row 16's
// input shows what is stored (on version 1 it is also the multi-level value, and says so), and
// outputs shown in °F go back as the stored Celsius texts.
void tst_hardware_write::tableConfirmedWithoutEdit()
{
    QFETCH(int, version);
    QFETCH(int, unit);
    QFETCH(QString, storedInterpretation);
    QStringList fields;
    for (int r = 0; r < 16; ++r)
        fields << QString::number(r) << QString::number(21.1666666667 + r, 'g', 12);
    fields[30] = "15.5";
    Harness h;
    h.sim->setFormatLocale(qint16(unit));
    QVERIFY(h.open(version, SnvtTempP,
        "UCPTinputSignalInterpretation=" + storedInterpretation + ";UCPTtransTable=" + fields.join(' '), qint16(unit)));
    QVERIFY(storedInterpretation == "TRANS_TABLE" || h.choose("TRANS_TABLE"));

    QStringList shown;
    QString lastInputTip;
    h.seams.setModalDriver([&](QDialog &editor) {
        for (int k : { 30, 31 })
            shown << editor.findChild<QLineEdit *>(QStringLiteral("txtTable_%1").arg(k))->text();
        lastInputTip = editor.findChild<QLineEdit *>("txtTable_30")->toolTip();
        editor.findChild<QPushButton *>("cmdOK")->click();
        return editor.result();
    });
    h.widget<QPushButton>("cmdTable")->click();
    QCOMPARE(shown, QStringList({ "15.5", unit ? "97.1" : "36.1666666667" }));
    QCOMPARE(lastInputTip, version == 1 ? QStringLiteral("This input is also the multi-level value.") : QString());

    QCOMPARE(h.control->WriteValue(), false);
    QCOMPARE(h.stored("UCPTtransTable"), fields.join(' '));
    QCOMPARE(h.stored("UCPTinputSignalInterpretation"), QStringLiteral("TRANS_TABLE"));
    QCOMPARE(h.events, QStringList());
}

void tst_hardware_write::writeOrder_data()
{
    QTest::addColumn<int>("version");
    QTest::addColumn<QString>("interpretation");
    QTest::addColumn<bool>("tableConfirmed"); // an edit of the table confirmed with OK
    QTest::addColumn<QStringList>("order"); // the properties written, in this order

    // Options, interpretation, signal type, thermistor type, increment (version 1 only), the range,
    // then the table and the offset as the interpretation asks.
    const QStringList first { "UCPTioOptions", "UCPTinputSignalInterpretation", "UCPTinputSignalType",
        "UCPTthermistorType", "UCPTstepLevel", "SCPTminRnge", "SCPTmaxRnge" };
    const QStringList second { "UCPThwInOptions", "UCPTinputSignalInterpretation", "UCPTinputSignalType",
        "UCPTthermistorType", "SCPTminRnge", "SCPTmaxRnge" };
    const auto row = [&](int v, const char *interpretation, bool confirmed, const QStringList &last) {
        QTest::addRow("v%d %s%s", v, interpretation, confirmed ? ", confirmed" : "")
            << v << interpretation << confirmed << (v == 1 ? first : second) + last;
    };
    row(1, "LINEAR", false, { "SCPToffset" });
    row(2, "LINEAR", false, { "UCPToffset" });
    row(1, "TRANS_TABLE", false, { "SCPToffset" });
    row(1, "TRANS_TABLE", true, { "UCPTtransTable", "SCPToffset" });
    row(2, "TRANS_TABLE", true, { "UCPTtransTable", "UCPToffset" });
    row(1, "MULTI_LEVEL", false, { "UCPTtransTable" });
    row(2, "MULTI_LEVEL", true, { "UCPTtransTable" });
    row(2, "MULTI_LEVEL", false, {});
}

void tst_hardware_write::writeOrder()
{
    QFETCH(int, version);
    QFETCH(QString, interpretation);
    QFETCH(bool, tableConfirmed);
    QFETCH(QStringList, order);

    Harness h;
    QVERIFY(h.open(version, SnvtTempP, "UCPTinputSignalInterpretation=" + interpretation));
    if (tableConfirmed) {
        h.seams.setModalDriver([](QDialog &editor) {
            editor.findChild<QPushButton *>("cmdOK")->click();
            return editor.result();
        });
        h.widget<QPushButton>("cmdTable")->click();
    }
    h.edit("txtMin", "1");
    h.sim->clearCallLog();
    QCOMPARE(h.control->WriteValue(), false);
    QStringList written;
    for (const Sim::CallRecord &call : h.sim->callLog()) {
        if (call.operation == "ConfigProperty.setValueText")
            written << call.arguments.value(0);
    }
    QCOMPARE(written, order);
    QCOMPARE(h.events, QStringList());
}

void tst_hardware_write::damagedDeviceTexts_data()
{
    QTest::addColumn<QString>("cp");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("procedure"); // that reports the damage

    const auto row
        = [](const char *cp, const char *text, const char *procedure) { QTest::newRow(cp) << cp << text << procedure; };
    row("UCPTioOptions", "0 0 1", "ReadValues");
    row("UCPTtransTable", "0 1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16 17 18 19", "ReadValues");
    row("SCPTnvType", "PID 80:00:00:00:00:00:00:00, scope x, index y", "FillHardwareValues");
}

// A damaged text leaves the widgets as they were or as a sound read fills them, is
// reported once, and loading ends: an edit afterwards marks the control changed.
void tst_hardware_write::damagedDeviceTexts()
{
    QFETCH(QString, cp);
    QFETCH(QString, text);
    QFETCH(QString, procedure);
    const bool typeReadable = cp != "SCPTnvType";

    Harness h;
    // The table is read once per control, so a damaged one must be there from the start.
    const bool fromStart = cp == "UCPTtransTable";
    QVERIFY(h.open(1, SnvtTempP,
        "UCPTioOptions=0 0 0 0 0 0 0 1;UCPTinputSignalInterpretation="
            + (fromStart ? "MULTI_LEVEL;" + cp + "=" + text : "LINEAR")));
    const QString offset = h.stored("SCPToffset");
    if (!fromStart) {
        QVERIFY(h.events.isEmpty());
        h.sim->setStoredCpText(h.device, h.block, cp, text, cp == "SCPTnvType");
        h.control->FillHardwareValues();
    }

    QCOMPARE(h.events.size(), 1);
    QVERIFY2(h.events.first().startsWith(procedure + " 16: "), qPrintable(h.events.first()));
    QCOMPARE(h.seams.messages().last().title, "Hardware Properties " + procedure);
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
        return;

    // A text too short to take the value: a critical failure of that step only.
    h.events.clear();
    QCOMPARE(h.control->WriteValue(), true);
    QCOMPARE(h.events, QStringList { "WriteValue 16: Subscript out of range" });
    QCOMPARE(h.stored(cp), text);
    QCOMPARE(h.stored("UCPTstepLevel"), QStringLiteral("4"));
}

// A device failure at any one call of a write is reported, the control stays usable,
// and in the saved database only the property whose read or write failed keeps its old value.
// A quiet number is only told to the host as information, without a box and without changing
// the result; the property that could not be had fails in its own step, reported at the end.
void tst_hardware_write::failureAtEveryCall()
{
    // Every call failing in turn is swept in tst_fault_sweep ("hardware WriteValue"), which
    // judges what is stored and that a loss is told. Here: the texts, the box's title and the
    // result of a failed look-up (unexpected: result True) and of a failed write (collected).
    QVector<Sim::CallRecord> recorded;
    {
        Harness h;
        QVERIFY(h.open(1));
        editEverything(h);
        h.sim->clearCallLog();
        QCOMPARE(h.control->WriteValue(), false);
        recorded = h.sim->callLog();
    }
    // Version 1 edited everywhere, about to write with the first call of `operation` naming `cp` failing.
    const auto edited
        = [&](Harness &h, const QString &operation, const QString &cp, qint32 number, const QString &description) {
              const auto call = std::find_if(recorded.cbegin(), recorded.cend(),
                  [&](const Sim::CallRecord &c) { return c.operation == operation && c.arguments.contains(cp); });
              QVERIFY(call != recorded.cend());
              QVERIFY(h.open(1));
              editEverything(h);
              h.sim->clearCallLog();
              h.sim->failCall(int(call - recorded.cbegin()) + 1, number, description);
          };
    for (const char *operation : { "ConfigProperties.Item", "ConfigProperty.setValueText" }) {
        Harness h;
        edited(h, operation, "SCPTmaxRnge", DeviceAccess::DeviceError::ObjectErrorBase + 77, "Injected");
        const bool lookup = QLatin1String(operation) == QLatin1String("ConfigProperties.Item");
        QCOMPARE(h.control->WriteValue(), lookup);
        // A failed look-up is told at once, and the write without its property after it.
        QCOMPARE(h.events.join('|'),
            QStringLiteral("WriteValue 16: Injected") + (lookup ? "|WriteValue 16: ConfigProperty is nothing." : ""));
        QCOMPARE(h.seams.messages().last().title, QStringLiteral("Hardware Properties WriteValue"));
        // Still usable: the edit is still pending and a second write goes through quietly.
        QVERIFY(h.control->ValueChanged());
        h.events.clear();
        QCOMPARE(h.control->WriteValue(), false);
        QVERIFY(h.events.isEmpty());
    }

    // The look-up of the signal type failing with a quiet number: told as information, then
    // the write that had no property.
    Harness h;
    edited(
        h, "ConfigProperties.Item", "UCPTinputSignalType", DeviceAccess::DeviceError::QuietNumber5030, "Busy for now");
    const QString typeBefore = h.stored("UCPTinputSignalType");
    QCOMPARE(h.control->WriteValue(), false);
    QCOMPARE(h.events, QStringList({ "WriteValue 64: Busy for now", "WriteValue 16: ConfigProperty is nothing." }));
    QCOMPARE(h.seams.messageCount(), 1);
    QCOMPARE(h.seams.messages().first().style, 16);
    QCOMPARE(h.stored("UCPTinputSignalType"), typeBefore);
    QCOMPARE(h.stored("UCPTinputSignalInterpretation"), QStringLiteral("TRANS_TABLE"));
}

QTEST_MAIN(tst_hardware_write)
#include "tst_hardware_write.moc"
