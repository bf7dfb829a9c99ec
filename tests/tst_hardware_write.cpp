// SPDX-License-Identifier: MIT
// Writing a hardware input back, each case after reading it: nothing without an edit,
// the US differential range, the reverse flag, the multi-level value, the offset per
// format, damaged device texts, and a device failure at every single call of a write.
#include "tst_hardware_harness.h"

#include <QDialog>

using namespace HardwareTest;

namespace {

// The properties of the version-1 temperature input that editEverything() changes.
const QStringList editedProperties = { "UCPTioOptions", "UCPTinputSignalInterpretation", "UCPTinputSignalType",
    "UCPTthermistorType", "UCPTstepLevel", "SCPTminRnge", "SCPTmaxRnge", "SCPToffset" };

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
};

} // namespace

Q_DECLARE_METATYPE(Write)

class tst_hardware_write : public QObject
{
    Q_OBJECT

private slots:
    void writeBack_data();
    void writeBack();
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

    // US set-point-offset limits are shown 32 below the difference format's reading; a write adds 32.
    const QString usRange = "UCPTinputSignalInterpretation=SETPOINT_OFFSET;SCPTminRnge=41;SCPTmaxRnge=50";
    QTest::newRow("US differential range") << Write { 1, t, us, usRange, "", "txtMin=9.0;txtMax=18.0",
        "txtMin=9;txtMax=18", "SCPTminRnge=41;SCPTmaxRnge=50;SCPToffset=*",
        "SCPTminRnge=SNVT_temp_p#US_diff;SCPTmaxRnge=SNVT_temp_p#US_diff" };
    // An invalid limit is not written; the other limit and the later properties still are.
    QTest::newRow("US differential, minimum invalid") << Write { 1, t, us, usRange, "", "", "txtMin=abc;txtMax=18",
        "SCPTminRnge=;SCPTmaxRnge=50;SCPToffset=*", "SCPTmaxRnge=SNVT_temp_p#US_diff", "Min Value is invalid." };
    // The reverse flag is field 7 on version 1 and field 0 on version 2; the other field holds a decoy.
    const QString v1 = linear + ";UCPTioOptions=";
    const QString v2 = linear + ";UCPThwInOptions=";
    QTest::newRow("v1 reverse ticked") << Write { 1, t, si, v1 + "1 3 4 5 6 7 8 0", "", "chkReverse=0", "chkReverse=1",
        "UCPTioOptions=1 3 4 5 6 7 8 1" };
    QTest::newRow("v1 reverse cleared") << Write { 1, t, si, v1 + "0 3 4 5 6 7 8 1 9", "", "chkReverse=1",
        "chkReverse=0", "UCPTioOptions=0 3 4 5 6 7 8 0 9" };
    QTest::newRow("v2 reverse ticked") << Write { 2, t, si, v2 + "0 3 4 5 6 7 8 1", "", "chkReverse=0", "chkReverse=1",
        "UCPThwInOptions=1 3 4 5 6 7 8 1" };

    // On version 1 the offset box shows and edits field 30 of the table; it belongs to the stored
    // interpretation, so another one on screen starts at 0.
    const QString multiLevel = "UCPTtransTable=" + table("3") + ";UCPTinputSignalInterpretation=";
    const QString written = "UCPTtransTable=" + table("5") + ";SCPToffset=";
    QTest::newRow("v1 multi-level stored")
        << Write { 1, t, si, multiLevel + "MULTI_LEVEL", "", "txtOff=3", "txtOff=5", written };
    QTest::newRow("v1 multi-level chosen")
        << Write { 1, t, si, multiLevel + "LINEAR", "MULTI_LEVEL", "txtOff=0", "txtOff=5", written };

    // The offset per format and version; version 2 keeps SI base units, shown as US differences.
    QTest::newRow("v1 temperature offset")
        << Write { 1, t, si, linear, "", "", "txtOff=1.5", "SCPToffset=1.5", "SCPToffset=SNVT_temp_p#SI" };
    QTest::newRow("v2 temperature offset, US") << Write { 2, t, us, linear + ";UCPToffset=0.5", "", "txtOff=0.9",
        "txtOff=1.8", "UCPToffset=1", "UCPToffset=UCPToffset" };
    QTest::newRow("v1 enumeration offset: always 0")
        << Write { 1, SnvtOccupancy, si, linear, "", "", "txtOff=1.5", "SCPToffset=0", "SCPToffset=UCPTsignedShort" };
    QTest::newRow("structure other than the switch: no offset")
        << Write { 1, 106, si, linear, "", "", "txtOff=1 1 1 1 1 1", "SCPToffset=", "", "", "hardware-structure.json" };
}

void tst_hardware_write::writeBack()
{
    QFETCH(Write, c);
    Harness h(c.database);
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
    // Version 1 edited everywhere, about to write with call k failing (0: none).
    const auto edited = [](Harness &h, int k, qint32 number, const QString &description) {
        QVERIFY(h.open(1));
        editEverything(h);
        h.sim->clearCallLog();
        if (k > 0)
            h.sim->failCall(k, number, description);
    };
    QMap<QString, QString> oldValues, newValues;
    QVector<Sim::CallRecord> recorded;
    {
        Harness h;
        edited(h, 0, 0, QString());
        for (const QString &cp : editedProperties)
            oldValues.insert(cp, h.stored(cp));
        QCOMPARE(h.control->WriteValue(), false);
        QVERIFY(h.events.isEmpty());
        recorded = h.sim->callLog();
        for (const QString &cp : editedProperties) {
            newValues.insert(cp, h.stored(cp));
            QVERIFY2(newValues.value(cp) != oldValues.value(cp), qPrintable(cp));
        }
    }
    QVERIFY(recorded.size() > 10);

    for (int k = 1; k <= recorded.size(); ++k) {
        const Sim::CallRecord &call = recorded.at(k - 1);
        const QString where = QString("call %1: %2(%3)").arg(k).arg(call.operation, call.arguments.join(", "));
        Harness h;
        edited(h, k, DeviceAccess::DeviceError::ObjectErrorBase + 77, "Injected at " + where);
        const bool result = h.control->WriteValue();
        QCOMPARE(h.sim->callLog().value(k - 1).operation, call.operation);

        // A failed look-up of a property is unexpected (reported at once, result True);
        // the offset step and every other failure are collected and reported once at the end.
        const bool lookup = call.operation == "ConfigProperties.Item";
        const QString cpName = call.arguments.value(lookup ? 1 : 0);
        QCOMPARE(result, lookup && cpName != "SCPToffset");
        for (const QString &event : h.events)
            QVERIFY2(event.startsWith("WriteValue 16: "), qPrintable(event));
        QVERIFY2(h.events.join('\n').contains("Injected at " + where), qPrintable(where));
        if (!lookup)
            QCOMPARE(h.events.size(), 1);
        QCOMPARE(h.seams.messages().last().title, QStringLiteral("Hardware Properties WriteValue"));

        // A failure while putting the property back into its default format comes after its value was written.
        h.sim->save();
        const std::shared_ptr<Sim::Network> saved = Sim::Network::load(h.sim.databasePath());
        const bool restoringFormat = call.operation == "ConfigProperty.setFormat" && call.arguments.value(1).isEmpty();
        for (const QString &cp : editedProperties) {
            const QString value = saved->storedCpText(h.device, h.block, cp);
            const bool keepsOld = cp.compare(cpName, Qt::CaseInsensitive) == 0 && !restoringFormat;
            QVERIFY2(value == (keepsOld ? oldValues : newValues).value(cp),
                qPrintable(QString("%1: %2 is %3").arg(where, cp, value)));
        }

        // Still usable: the edit is still pending and a second write goes through quietly.
        QVERIFY(h.control->ValueChanged());
        h.events.clear();
        QCOMPARE(h.control->WriteValue(), false);
        QVERIFY2(h.events.isEmpty(), qPrintable(where));
    }

    // The look-up of the signal type failing with a quiet number.
    const auto typeLookup = std::find_if(recorded.cbegin(), recorded.cend(), [](const Sim::CallRecord &call) {
        return call.operation == "ConfigProperties.Item" && call.arguments.value(1) == "UCPTinputSignalType";
    });
    Harness h;
    edited(h, int(typeLookup - recorded.cbegin()) + 1, DeviceAccess::DeviceError::QuietNumber5030, "Busy for now");
    QCOMPARE(h.control->WriteValue(), false);
    QCOMPARE(h.events, QStringList({ "WriteValue 64: Busy for now", "WriteValue 16: ConfigProperty is nothing." }));
    QCOMPARE(h.seams.messageCount(), 1);
    QCOMPARE(h.seams.messages().first().style, 16);
    QCOMPARE(h.stored("UCPTinputSignalType"), oldValues.value("UCPTinputSignalType"));
    QCOMPARE(h.stored("UCPTinputSignalInterpretation"), newValues.value("UCPTinputSignalInterpretation"));
}

QTEST_MAIN(tst_hardware_write)
#include "tst_hardware_write.moc"
