// SPDX-License-Identifier: MIT
// The hardware control's layout per signal interpretation: which widgets show, where
// the range, offset and increment widgets sit, range captions and unit captions, on
// blocks of object versions 1 and 2 of the sample network.
#include "tst_hardware_harness.h"

#include <QMap>

using namespace HardwareTest;

namespace {

const QStringList linearWidgets = {
    "cboInput",
    "cboSignal",
    "cmdValue",
    "lblCboSignal",
    "lblMax",
    "lblMin",
    "lblOff",
    "lblSignal",
    "lblUnitMaxRange",
    "lblUnitMinRange",
    "lblUnitOffset",
    "lblValue",
    "txtMax",
    "txtMin",
    "txtOff",
    "txtValue",
};

QStringList sorted(QStringList list)
{
    list.sort();
    return list;
}

QStringList plus(QStringList list, const QStringList &more)
{
    list.append(more);
    return sorted(list);
}

// "name=top;name=top" with tops in twips.
QMap<QString, int> topsFrom(const QString &list)
{
    QMap<QString, int> tops;
    for (const QString &pair : list.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        const QStringList parts = pair.split(QLatin1Char('='));
        tops.insert(parts.at(0), parts.at(1).toInt());
    }
    return tops;
}

} // namespace

class tst_hardware_layout : public QObject
{
    Q_OBJECT

private slots:
    void designTimeForm();
    void interpretationLayout_data();
    void interpretationLayout();
    void digitalThenLinearRestoresCaptionsAndPositions();
    void enumerationFormatChoosesRangeFromLists();
    void offsetUnit_data();
    void offsetUnit();
};

void tst_hardware_layout::designTimeForm()
{
    Harness h;
    QVERIFY2(h.sim.isLoaded(), qPrintable(h.sim.errorString()));
    h.control = std::make_unique<ctlSensorHardware>();

    auto *frame = h.control->findChild<QGroupBox *>(QStringLiteral("Frame1"));
    QVERIFY(frame);
    QCOMPARE(frame->geometry(), QRect(0, 0, 465, 193));
    QCOMPARE(frame->title(), QStringLiteral("Hardware Properties"));
    for (const QString &name : allWidgetNames()) {
        QWidget *widget = h.widget(name);
        QVERIFY2(widget, qPrintable(name));
        QCOMPARE(widget->parentWidget(), frame);
    }
    QCOMPARE(h.widget("cboMin")->geometry(), QRect(2880 / 15, 1800 / 15, 2055 / 15, 315 / 15));
    QCOMPARE(h.widget("txtSelector")->geometry(), QRect(2880 / 15, 2400 / 15, 735 / 15, 315 / 15));
    // Captions keep their place and grow to their text when the face needs more room.
    QLabel *unit = h.label("lblSelectorUnit");
    QCOMPARE(QRect(unit->x(), unit->y(), 0, unit->height()), QRect(3690 / 15, 2490 / 15, 0, 195 / 15));
    QVERIFY(unit->width() >= 330 / 15);
    for (const char *caption : { "lblSignal", "lblOff", "lblMax", "lblMin", "lblCboSignal", "lblTherm" })
        QVERIFY2(h.label(caption)->width() >= h.label(caption)->sizeHint().width(), caption);
    QCOMPARE(h.widget<QPushButton>("cmdValue")->text(), QStringLiteral("Get Value"));
    QCOMPARE(h.label("lblSignal")->text(), QStringLiteral("Input Signal Interpretation"));

    QLineEdit *value = h.box("txtValue");
    QVERIFY(value->isReadOnly());
    QCOMPARE(value->palette().color(QPalette::Base), value->palette().color(QPalette::Button));
}

void tst_hardware_layout::interpretationLayout_data()
{
    QTest::addColumn<int>("version");
    QTest::addColumn<QString>("interpretation");
    QTest::addColumn<QStringList>("visible");
    QTest::addColumn<QString>("tops");
    QTest::addColumn<QString>("maxCaption");
    QTest::addColumn<QString>("minCaption");

    const QString rangeTops = "lblOff=360;txtOff=585;lblUnitOffset=675;lblMax=960;txtMax=1200;cboMax=1200;"
                              "lblMin=1560;txtMin=1800;cboMin=1800";
    const QStringList digital = { "cboInput", "cboSignal", "chkReverse", "cmdValue", "lblCboSignal", "lblMax", "lblMin",
        "lblReverse", "lblSignal", "txtMax", "txtMin", "txtValue" };
    for (int version : { 1, 2 }) {
        const QByteArray v = "v" + QByteArray::number(version) + " ";
        QTest::newRow(v + "LINEAR") << version << "LINEAR" << sorted(linearWidgets)
                                    << rangeTops + ";lblUnitMinRange=1860"
                                    << "Max. Value"
                                    << "Min. Value";
        QTest::newRow(v + "TRANS_TABLE") << version << "TRANS_TABLE" << plus(linearWidgets, { "cmdTable" })
                                         << rangeTops + ";cmdTable=2280"
                                         << "Max. Value"
                                         << "Min. Value";
        QTest::newRow(v + "DIGITAL") << version << "DIGITAL" << sorted(digital)
                                     << "lblMax=360;txtMax=585;cboMax=585;lblMin=960;txtMin=1200;cboMin=1200"
                                     << "ON Value"
                                     << "OFF Value";
        QTest::newRow(v + "STD_THERMISTOR")
            << version << "STD_THERMISTOR" << plus(linearWidgets, { "lblTherm", "cboTherm" })
            << rangeTops + ";lblTherm=2160;cboTherm=2400"
            << "Max. Value"
            << "Min. Value";
        QTest::newRow(v + "SETPOINT_OFFSET")
            << version << "SETPOINT_OFFSET" << sorted(linearWidgets) << rangeTops << "Max. Value"
            << "Min. Value";
        QTest::newRow(v + "DISCONNECTED")
            << version << "DISCONNECTED" << sorted({ "lblSignal", "cboInput" }) << QString() << QString() << QString();
    }
    // Version 1 sets the increment and the multi-level value in the offset box; version 2 uses the table.
    QTest::newRow("v1 MULTI_LEVEL") << 1 << "MULTI_LEVEL"
                                    << sorted({ "cboInput", "cboSignal", "cmdValue", "lblCboSignal", "lblOff",
                                           "lblSelector", "lblSelectorUnit", "lblSignal", "lblUnitOffset", "txtOff",
                                           "txtSelector", "txtValue" })
                                    << "lblSelector=360;txtSelector=600;lblSelectorUnit=720;lblOff=960;txtOff=1200;"
                                       "lblUnitOffset=1320;cmdTable=2280"
                                    << "Max. Value"
                                    << "Min. Value";
    QTest::newRow("v2 MULTI_LEVEL") << 2 << "MULTI_LEVEL"
                                    << sorted({ "cboInput", "cboSignal", "cmdTable", "cmdValue", "lblCboSignal",
                                           "lblSignal", "txtValue" })
                                    << "cmdTable=2280"
                                    << "Max. Value"
                                    << "Min. Value";
}

void tst_hardware_layout::interpretationLayout()
{
    QFETCH(int, version);
    QFETCH(QString, interpretation);
    QFETCH(QStringList, visible);
    QFETCH(QString, tops);
    QFETCH(QString, maxCaption);
    QFETCH(QString, minCaption);

    Harness h;
    QVERIFY2(h.sim.isLoaded(), qPrintable(h.sim.errorString()));
    const BlockRef block = findBlock(*h.sim.network(), version, SnvtTempP);
    QVERIFY2(block.isValid(), "the sample network has a temperature input of this version");
    h.place(block);
    QVERIFY(h.choose(interpretation));

    QCOMPARE(h.visibleWidgets(), visible);
    QCOMPARE(h.seams.messageTexts(), QStringList());
    const QMap<QString, int> expectedTops = topsFrom(tops);
    for (auto it = expectedTops.cbegin(); it != expectedTops.cend(); ++it)
        QCOMPARE(QString("%1 y=%2").arg(it.key()).arg(h.widget(it.key())->y()),
            QString("%1 y=%2").arg(it.key()).arg(it.value() / 15));
    if (!maxCaption.isEmpty()) {
        QCOMPARE(h.label("lblMax")->text(), maxCaption);
        QCOMPARE(h.label("lblMin")->text(), minCaption);
    }
    // The live-value box is shown for every interpretation that is connected.
    if (interpretation != "DISCONNECTED") {
        QVERIFY(!h.label("lblSignal")->isHidden());
        QVERIFY(!h.widget("cmdValue")->isHidden());
    }
}

void tst_hardware_layout::digitalThenLinearRestoresCaptionsAndPositions()
{
    Harness h;
    const BlockRef block = findBlock(*h.sim.network(), 1, SnvtTempP);
    QVERIFY(block.isValid());
    h.place(block);
    QVERIFY(h.choose("DIGITAL"));
    QCOMPARE(h.widget("txtMax")->y(), 585 / 15);
    QCOMPARE(h.label("lblMin")->text(), QStringLiteral("OFF Value"));

    QVERIFY(h.choose("LINEAR"));
    QCOMPARE(h.label("lblMax")->text(), QStringLiteral("Max. Value"));
    QCOMPARE(h.label("lblMin")->text(), QStringLiteral("Min. Value"));
    QCOMPARE(h.widget("txtMax")->y(), 1200 / 15);
    QCOMPARE(h.widget("txtMin")->y(), 1800 / 15);
    QCOMPARE(h.widget("lblMax")->y(), 960 / 15);
    QCOMPARE(h.widget("lblMin")->y(), 1560 / 15);
    QCOMPARE(h.visibleWidgets(), sorted(linearWidgets));
}

void tst_hardware_layout::enumerationFormatChoosesRangeFromLists()
{
    Harness h;
    const BlockRef block = findBlock(*h.sim.network(), 1, SnvtOccupancy);
    QVERIFY(block.isValid());
    h.place(block);
    QVERIFY(h.choose("LINEAR"));

    QStringList visible = h.visibleWidgets();
    QVERIFY(visible.contains("cboMin") && visible.contains("cboMax"));
    for (const char *hidden :
        { "txtMin", "txtMax", "lblOff", "txtOff", "lblUnitOffset", "lblUnitMinRange", "lblUnitMaxRange", "lblValue" })
        QVERIFY2(!visible.contains(hidden), hidden);
    // An enumerated live value needs room for a member name.
    QCOMPARE(h.widget("txtValue")->width(), 1905 / 15);
    QVERIFY(h.combo("cboMin")->count() > 0);
    QVERIFY(h.combo("cboMin")->currentIndex() >= 0);
}

void tst_hardware_layout::offsetUnit_data()
{
    QTest::addColumn<int>("version");
    QTest::addColumn<int>("typeIndex");
    QTest::addColumn<bool>("percent");

    QTest::newRow("switch v1: the format's unit") << 1 << SnvtSwitch << false;
    QTest::newRow("switch v2: percent") << 2 << SnvtSwitch << true;
    QTest::newRow("temperature v2: the format's unit") << 2 << SnvtTempP << false;
}

void tst_hardware_layout::offsetUnit()
{
    QFETCH(int, version);
    QFETCH(int, typeIndex);
    QFETCH(bool, percent);

    Harness h;
    const BlockRef block = findBlock(*h.sim.network(), version, typeIndex);
    if (!block.isValid())
        QSKIP("the sample network has no such block");
    h.place(block);
    QVERIFY(h.choose("LINEAR"));

    const QString rangeUnit = h.label("lblUnitMaxRange")->text();
    QCOMPARE(h.label("lblUnitMinRange")->text(), rangeUnit);
    QCOMPARE(h.label("lblValue")->text(), rangeUnit);
    if (percent)
        QCOMPARE(h.label("lblUnitOffset")->text(), QStringLiteral("percent"));
    else
        QCOMPARE(h.label("lblUnitOffset")->text(), rangeUnit);
    if (typeIndex == SnvtTempP)
        QVERIFY(!rangeUnit.isEmpty());
}

QTEST_MAIN(tst_hardware_layout)
#include "tst_hardware_layout.moc"
