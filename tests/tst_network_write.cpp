// SPDX-License-Identifier: MIT
// The network control writing back: which values go out in which format, the result the
// host gets, failures of single writes, the name procedures, the override exchange
// between two controls through a host, and keys forwarded to the host.
#include "tst_network_harness.h"

using namespace NetworkTest;

namespace {
constexpr qint32 DeviceFailure = 0x80040000 + 77;
}

class tst_network_write : public QObject
{
    Q_OBJECT

private slots:
    void writes_data();
    void writes();
    void oneFailedWriteLeavesTheOthers_data();
    void oneFailedWriteLeavesTheOthers();
    void nameProcedures_data();
    void nameProcedures();
    void overrideExchange_data();
    void overrideExchange();
    void keyDownOncePerKey();
};

void tst_network_write::writes_data()
{
    QTest::addColumn<QString>("block");
    QTest::addColumn<qint16>("unit");
    QTest::addColumn<bool>("setpointOffset");
    QTest::addColumn<QString>("edit"); // "widget=text"; empty: NoChangeButOKPress; "-": nothing at all
    QTest::addColumn<bool>("result");
    QTest::addColumn<QStringList>("written");

    const QString times = "SCPTminSendTime@SCPTminSendTime=0.0|SCPTmaxSendTime@SCPTmaxSendTime=60.0";
    const auto list = [&](const QString &values) { return (values + '|' + times).split('|'); };
    const qint16 SI = MEASUREMENT_SYSTEM_SI;
    const qint16 US = MEASUREMENT_SYSTEM_US;
    QTest::newRow("no change, no device call") << Temperature << SI << false << "-" << false << QStringList();
    QTest::newRow("OK without a change writes everything")
        << Temperature << SI << false << "" << false
        << list("UCPTdefaultValue@SNVT_temp_p#SI=20.0|SCPTovrValue@SNVT_temp_p#SI=21.5|"
                "SCPTsndDelta@SNVT_temp_p#SI=0.5");
    QTest::newRow("US, send delta as a difference")
        << Temperature << US << false << "txtSend=1.8" << false
        << list("UCPTdefaultValue@SNVT_temp_p#US=68.0|SCPTovrValue@SNVT_temp_p#US=70.7|"
                "SCPTsndDelta@SNVT_temp_p#US_diff=1.8");
    QTest::newRow("US set-point offset")
        << Temperature << US << true << "txtOver=2.5" << false
        << list("UCPTdefaultValue@SNVT_temp_p#US_diff=68.0|SCPTovrValue@SNVT_temp_p#US_diff=2.5|"
                "SCPTsndDelta@SNVT_temp_p#US_diff=0.9");
    QTest::newRow("enumeration sends no delta")
        << Occupancy << SI << true << "cboDefault=OC_STANDBY" << false
        << list("UCPTdefaultValue@SNVT_occupancy=OC_STANDBY|SCPTovrValue@SNVT_occupancy=OC_NUL|"
                "SCPTsndDelta@UCPTsignedShort=0");
    QTest::newRow("switch structure") << Switch << SI << false << "txtSend=1.0 0" << false
                                      << list("UCPTdefaultValue@SNVT_switch=0.0 0|SCPTovrValue@SNVT_switch=100.0 1|"
                                              "SCPTsndDelta@SNVT_switch=1.0 0");
    // Not every write succeeded: this structure takes no send delta.
    QTest::newRow("other structure") << Setpoints << SI << false << "" << true
                                     << list("UCPTdefaultValue@SNVT_temp_setpt=%1|SCPTovrValue@SNVT_temp_setpt=%2");
    QTest::newRow("malformed number") << Temperature << SI << false << "txtOver=2,5x" << true
                                      << list("UCPTdefaultValue@SNVT_temp_p#SI=20.0|SCPTovrValue@SNVT_temp_p#SI=2,5x|"
                                              "SCPTsndDelta@SNVT_temp_p#SI=0.5");
}

void tst_network_write::writes()
{
    QFETCH(QString, block);
    QFETCH(qint16, unit);
    QFETCH(bool, setpointOffset);
    QFETCH(QString, edit);
    QFETCH(bool, result);
    QFETCH(QStringList, written);

    Harness h;
    h.sim->setFormatLocale(unit);
    h.open(block, unit);
    h.control->UpdateSetpointOffSet(setpointOffset);
    // A structure's values are written back as they were read.
    written.replaceInStrings("%1", h.shown("txtDefault")).replaceInStrings("%2", h.shown("txtOver"));
    if (edit.isEmpty())
        h.control->setNoChangeButOKPress(true);
    else if (edit != "-") {
        const QString name = edit.section('=', 0, 0);
        const QString text = edit.section('=', 1);
        if (QComboBox *list = h.combo(name))
            list->setCurrentIndex(list->findText(text));
        else
            h.box(name)->setText(text);
    }
    h.sim->clearCallLog();
    QCOMPARE(h.control->WriteValue(), result);
    QCOMPARE(h.writes(), written);
    if (edit == "-") {
        QCOMPARE(h.sim->callCount(), 0);
        return;
    }
    // The name goes back too, and every property is left in its default format.
    QCOMPARE(h.sim->callCount("NetworkVariable.setName"), 1);
    QCOMPARE(h.sim->callCount("ConfigProperty.setFormat"), 2 * h.sim->callCount("ConfigProperty.setValueText"));
    QCOMPARE(h.events.size(), result && block == Temperature ? 1 : 0);
    for (const QString &event : h.events)
        QVERIFY2(event.startsWith("Network Variable ReadValues 16: "), qPrintable(event));
    QVERIFY(h.control->ValueChanged());
}

void tst_network_write::oneFailedWriteLeavesTheOthers_data()
{
    QTest::addColumn<QString>("failing");
    for (const char *cp : { "UCPTdefaultValue", "SCPTovrValue", "SCPTsndDelta", "SCPTminSendTime", "SCPTmaxSendTime" })
        QTest::newRow(cp) << cp;
}

void tst_network_write::oneFailedWriteLeavesTheOthers()
{
    QFETCH(QString, failing);

    const QStringList cps
        = { "UCPTdefaultValue", "SCPTovrValue", "SCPTsndDelta", "SCPTminSendTime", "SCPTmaxSendTime" };
    const QStringList edits = { "19.5", "22", "1", "5", "120" };
    QStringList before;
    {
        Harness h;
        h.open(Temperature);
        for (const QString &cp : cps)
            before << h.stored(cp);
        const QStringList boxes = { "txtDefault", "txtOver", "txtSend", "txtThrottle", "txtHeart" };
        for (int i = 0; i < boxes.size(); ++i)
            h.box(boxes[i])->setText(edits[i]);
        h.box("txtHwInputNVName")->setText("nvoLobbyTemp");
        h.sim->failOperation("ConfigProperty.setValueText", DeviceFailure, false, failing, "device refused");
        h.sim->clearCallLog();
        QVERIFY(h.control->WriteValue());
        QCOMPARE(h.sim->callCount("ConfigProperty.setValueText"), 5);
        QCOMPARE(h.events, QStringList { "Network Variable ReadValues 16: device refused" });
        h.sim->clearFaults();
        h.sim->save();
        QVERIFY(h.sim.reload());
        QStringList after;
        for (const QString &cp : cps)
            after << h.stored(cp);
        // Only the failing property keeps its old value; the name is saved.
        for (int i = 0; i < cps.size(); ++i) {
            if (cps[i] == failing)
                QCOMPARE(after[i], before[i]);
            else
                QCOMPARE(after[i].toDouble(), edits[i].toDouble());
        }
        QCOMPARE(
            h.sim->block(h.device, Temperature)->NetworkVariables()->Item(1)->Name(), QStringLiteral("nvoLobbyTemp"));
    }
}

void tst_network_write::nameProcedures_data()
{
    QTest::addColumn<QString>("procedure"); // "save" or "reset"
    QTest::addColumn<QString>("held"); // LcaHwInputNVName before the call
    QTest::addColumn<QString>("newName");
    QTest::addColumn<QString>("errorBefore");
    QTest::addColumn<bool>("failSetName");
    QTest::addColumn<bool>("result");
    QTest::addColumn<QString>("errorAfter");
    QTest::addColumn<QString>("deviceName"); // empty: unchanged

    const QString empty = "VkZovezuVaveva.SaveLcaHwInputNVName :  The nvoHwInput's name cannot be empty.";
    QTest::newRow("save nothing") << "save"
                                  << ""
                                  << ""
                                  << "" << false << false << empty << "";
    QTest::newRow("save nothing after a message") << "save"
                                                  << ""
                                                  << ""
                                                  << "earlier" << false << false << "earlier\r\n" + empty << "";
    QTest::newRow("save the held name") << "save"
                                        << "nvoHall"
                                        << ""
                                        << "" << false << true << ""
                                        << "nvoHall";
    QTest::newRow("save a new name") << "save"
                                     << "nvoHall"
                                     << "nvoLobby"
                                     << "" << false << true << ""
                                     << "nvoLobby";
    QTest::newRow("save refused") << "save"
                                  << "nvoHall"
                                  << ""
                                  << "" << true << false << "VkZovezuVaveva.SaveLcaHwInputNVName : name refused"
                                  << "";
    QTest::newRow("reset") << "reset"
                           << "nvoHall"
                           << ""
                           << "" << false << true << ""
                           << "nvoHwInput[0]";
    QTest::newRow("reset refused") << "reset"
                                   << "nvoHall"
                                   << ""
                                   << "x" << true << false << "x\r\nVkZovezuVaveva.ResetLcaHwInputNVName : name refused"
                                   << "";
}

void tst_network_write::nameProcedures()
{
    QFETCH(QString, procedure);
    QFETCH(QString, held);
    QFETCH(QString, newName);
    QFETCH(QString, errorBefore);
    QFETCH(bool, failSetName);
    QFETCH(bool, result);
    QFETCH(QString, errorAfter);
    QFETCH(QString, deviceName);

    Harness h;
    h.open(Temperature);
    const DeviceAccess::NetworkVariablePtr nv = h.sim->block(h.device, Temperature)->NetworkVariables()->Item(1);
    const QString original = nv->Name();
    const QString shownBefore = h.shown("txtHwInputNVName");
    h.control->setLcaHwInputNVName(held);
    if (failSetName)
        h.sim->failOperation("NetworkVariable.setName", DeviceFailure, false, QString(), "name refused");
    QString ErrorMsg = errorBefore;
    const bool ok = procedure == "save" ? h.control->SaveLcaHwInputNVName(ErrorMsg, newName)
                                        : h.control->ResetLcaHwInputNVName(ErrorMsg);
    QCOMPARE(ok, result);
    QCOMPARE(ErrorMsg, errorAfter);
    h.sim->clearFaults();
    QCOMPARE(nv->Name(), deviceName.isEmpty() ? original : deviceName);
    if (ok)
        QCOMPARE(h.control->LcaHwInputNVName(), deviceName);
    QCOMPARE(h.shown("txtHwInputNVName"), shownBefore); // the box is the user's
    QCOMPARE(h.events, QStringList());
}

void tst_network_write::overrideExchange_data()
{
    QTest::addColumn<QString>("block");
    QTest::addColumn<QString>("userEdit"); // typed or chosen in the first control
    QTest::addColumn<QString>("relayed"); // what the host then passes: "ClassId ObjectName=value"; empty: the event
    QTest::addColumn<QString>("secondShows");
    QTest::addColumn<bool>("secondChanged");

    QTest::newRow("typed value reaches the other") << Temperature << "23.5"
                                                   << ""
                                                   << "23.5" << true;
    QTest::newRow("chosen member reaches the other") << Occupancy << "OC_BYPASS"
                                                     << ""
                                                     << "OC_BYPASS" << true;
    QTest::newRow("letter case only is no change") << Occupancy << ""
                                                   << "26 Override=oc_nul"
                                                   << "OC_NUL" << false;
    QTest::newRow("another class") << Temperature << ""
                                   << "22 Override=30"
                                   << "21.5" << false;
    QTest::newRow("object name in lower case") << Temperature << ""
                                               << "26 override=30"
                                               << "21.5" << false;
}

void tst_network_write::overrideExchange()
{
    QFETCH(QString, block);
    QFETCH(QString, userEdit);
    QFETCH(QString, relayed);
    QFETCH(QString, secondShows);
    QFETCH(bool, secondChanged);

    Harness h;
    h.open(block);
    std::unique_ptr<ctlSensorNV> first = std::move(h.control);
    h.open(block);
    ctlSensorNV *second = h.control.get();
    // The test host relays each control's override to the other one.
    QObject::connect(first.get(), &ctlSensorNV::ValueChangeEvent, second, &ctlSensorNV::ValueChange);
    QObject::connect(second, &ctlSensorNV::ValueChangeEvent, first.get(), &ctlSensorNV::ValueChange);

    const bool isEnum = block == Occupancy;
    if (!userEdit.isEmpty()) {
        if (isEnum) {
            auto *list = first->findChild<QComboBox *>("cboOverride");
            list->setCurrentIndex(list->findText(userEdit));
        } else {
            first->findChild<QLineEdit *>("txtOver")->setText(userEdit);
        }
        QVERIFY(first->ValueChanged());
    } else {
        second->ValueChange(
            relayed.section('=', 1), relayed.section(' ', 0, 0).toShort(), relayed.section(' ', 1).section('=', 0, 0));
    }
    QCOMPARE(h.shown(isEnum ? "cboOverride" : "txtOver"), secondShows);
    QCOMPARE(second->ValueChanged(), secondChanged);
    // Only the first control's user edit was announced: no echo back.
    QCOMPARE(h.valueEvents, userEdit.isEmpty() ? QStringList() : QStringList { "26 Override=" + userEdit });
    if (!userEdit.isEmpty() && !isEnum)
        QCOMPARE(second->OverrideValue(), userEdit);
}

void tst_network_write::keyDownOncePerKey()
{
    Harness h;
    h.open(Temperature);
    h.control->setAllowChangeNvName(true);
    QStringList keys;
    QObject::connect(h.control.get(), &ctlSensorNV::KeyDown, h.control.get(),
        [&](qint16 &KeyCode, qint16 &Shift) { keys.append(QStringLiteral("%1/%2").arg(KeyCode).arg(Shift)); });
    for (const char *target : { "cboDefault", "cboOverride", "cmdChange", "txtDefault", "txtHeart", "txtHwInputNVName",
             "txtOver", "txtSend", "txtThrottle", "" }) {
        QWidget *receiver = *target ? h.widget(target) : h.control.get();
        keys.clear();
        QTest::keyClick(receiver, Qt::Key_A, Qt::ShiftModifier);
        QCOMPARE(target + (": " + keys.join(' ')), target + QStringLiteral(": 16/1 65/1"));
        keys.clear();
        QTest::keyClick(receiver, Qt::Key_F5);
        QCOMPARE(target + (": " + keys.join(' ')), target + QStringLiteral(": 116/0"));
    }
}

QTEST_MAIN(tst_network_write)
#include "tst_network_write.moc"
