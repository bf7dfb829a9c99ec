// SPDX-License-Identifier: MIT
// The hardware control's layout per signal interpretation on blocks of object versions
// 1 and 2: which widgets show, where the range, offset and increment widgets sit, the
// range captions, the unit captions, and the set-point-offset event.
#include "tst_hardware_harness.h"

using namespace HardwareTest;

namespace {

struct Layout
{
    int version;
    int typeIndex;
    QString before {}; // an interpretation chosen first, or none
    QString interpretation {};
    QString visible {}; // names of the widgets shown
    QString tops {}; // "name=top ..." in twips
    QString captions {}; // lblMax/lblMin
    QString units {}; // range unit/offset unit, for the unit labels shown
    QString setpointEvents {}; // "1" entered, "0" left set-point offset
};

// The widgets shown for a linear input, and the default tops of the range and offset widgets.
const QString linear = "cboInput cboSignal cmdValue lblCboSignal lblMax lblMin lblOff lblSignal lblUnitMaxRange "
                       "lblUnitMinRange lblUnitOffset lblValue txtMax txtMin txtOff txtValue";
const QString rangeTops = "lblOff=360 txtOff=585 lblUnitOffset=675 lblMax=960 txtMax=1200 cboMax=1200 lblMin=1560 "
                          "txtMin=1800 cboMin=1800";
const QString range = "Max. Value/Min. Value";

} // namespace

Q_DECLARE_METATYPE(Layout)

class tst_hardware_layout : public QObject
{
    Q_OBJECT

private slots:
    void interpretationLayout_data();
    void interpretationLayout();
};

void tst_hardware_layout::interpretationLayout_data()
{
    QTest::addColumn<Layout>("layout");
    const int t = SnvtTempP;
    for (int v : { 1, 2 }) {
        const QByteArray n = "v" + QByteArray::number(v) + " ";
        const QString linearTops = rangeTops + " lblUnitMinRange=1860";
        QTest::newRow(n + "LINEAR") << Layout { v, t, "", "LINEAR", linear, linearTops, range, "°C/°C" };
        QTest::newRow(n + "TRANS_TABLE") << Layout { v, t, "", "TRANS_TABLE", linear + " cmdTable",
            rangeTops + " cmdTable=2280", range, "°C/°C" };
        QTest::newRow(n + "DIGITAL") << Layout { v, t, "", "DIGITAL",
            "cboInput cboSignal chkReverse cmdValue lblCboSignal lblMax lblMin lblReverse lblSignal txtMax txtMin "
            "txtValue",
            "lblMax=360 txtMax=585 cboMax=585 lblMin=960 txtMin=1200 cboMin=1200", "ON Value/OFF Value" };
        QTest::newRow(n + "STD_THERMISTOR") << Layout { v, t, "", "STD_THERMISTOR", linear + " lblTherm cboTherm",
            rangeTops + " lblTherm=2160 cboTherm=2400", range, "°C/°C" };
        QTest::newRow(n + "SETPOINT_OFFSET")
            << Layout { v, t, "", "SETPOINT_OFFSET", linear, rangeTops, range, "°C/°C", "1" };
        QTest::newRow(n + "DISCONNECTED") << Layout { v, t, "", "DISCONNECTED", "cboInput lblSignal" };
        // Leaving the digital layout restores the range captions and positions; leaving
        // set-point offset tells the host.
        QTest::newRow(n + "DIGITAL then LINEAR")
            << Layout { v, t, "DIGITAL", "LINEAR", linear, linearTops, range, "°C/°C" };
        QTest::newRow(n + "SETPOINT_OFFSET then LINEAR")
            << Layout { v, t, "SETPOINT_OFFSET", "LINEAR", linear, linearTops, range, "°C/°C", "10" };
    }
    // Version 1 keeps the increment and the multi-level value in the offset box; version 2 uses the table.
    QTest::newRow("v1 MULTI_LEVEL") << Layout { 1, t, "", "MULTI_LEVEL",
        "cboInput cboSignal cmdValue lblCboSignal lblOff lblSelector lblSelectorUnit lblSignal lblUnitOffset txtOff "
        "txtSelector txtValue",
        "lblSelector=360 txtSelector=600 lblSelectorUnit=720 lblOff=960 txtOff=1200 lblUnitOffset=1320 cmdTable=2280",
        range, "/K Ohm" };
    QTest::newRow("v2 MULTI_LEVEL") << Layout { 2, t, "", "MULTI_LEVEL",
        "cboInput cboSignal cmdTable cmdValue lblCboSignal lblSignal txtValue", "cmdTable=2280", range };
    // An enumeration chooses its range from lists and has neither offset nor units.
    QTest::newRow("v1 enumeration LINEAR") << Layout { 1, SnvtOccupancy, "", "LINEAR",
        "cboInput cboMax cboMin cboSignal cmdValue lblCboSignal lblMax lblMin lblSignal txtValue", rangeTops, range };
    // A switch offset is a percentage on version 2, in the format's unit on version 1.
    QTest::newRow("v1 switch LINEAR") << Layout { 1, SnvtSwitch, "", "LINEAR", linear, rangeTops, range, "%/%" };
    QTest::newRow("v2 switch LINEAR") << Layout { 2, SnvtSwitch, "", "LINEAR", linear, rangeTops, range, "%/percent" };
}

void tst_hardware_layout::interpretationLayout()
{
    QFETCH(Layout, layout);
    Harness h;
    QVERIFY(h.open(layout.version, layout.typeIndex, "UCPTinputSignalType=RESISTANCE"));
    h.setpointEvents.clear();
    QVERIFY(layout.before.isEmpty() || h.choose(layout.before));
    QVERIFY(h.choose(layout.interpretation));
    QCOMPARE(h.setpointEvents, layout.setpointEvents);

    QStringList visible = layout.visible.split(' ');
    QStringList shown;
    for (QWidget *child : h.widget("Frame1")->findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
        if (!child->isHidden())
            shown.append(child->objectName());
    }
    visible.sort();
    shown.sort();
    QCOMPARE(shown, visible);
    for (const QString &top : layout.tops.split(' ', Qt::SkipEmptyParts)) {
        const QString name = top.section('=', 0, 0);
        QCOMPARE(name + "=" + QString::number(h.widget(name)->y() * 15), top);
    }
    if (!layout.captions.isEmpty())
        QCOMPARE(h.shown("lblMax") + "/" + h.shown("lblMin"), layout.captions);
    for (const QString &label : QStringList { "lblUnitMaxRange", "lblUnitMinRange", "lblValue", "lblUnitOffset" }) {
        const int field = label == "lblUnitOffset" ? 1 : 0;
        if (!h.widget(label)->isHidden())
            QCOMPARE(label + ": " + h.shown(label), label + ": " + layout.units.section('/', field, field));
    }
    QCOMPARE(h.seams.messageTexts(), QStringList());
}

QTEST_MAIN(tst_hardware_layout)
#include "tst_hardware_layout.moc"
