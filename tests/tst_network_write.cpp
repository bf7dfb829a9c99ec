// SPDX-License-Identifier: MIT
// The network control writing back: which values go out, in the format they were read in,
// the result the host gets, a refused value among them, the name procedures, the override
// exchange between two controls through a host, and keys forwarded to the host.
#include "tst_network_harness.h"

#include <QScopeGuard>

using namespace NetworkTest;

class tst_network_write : public QObject
{
    Q_OBJECT

    // Opens a block in a row's mode: the units ("SI", "US", of the database's format as well),
    // "+" the set-point offset mode, "*" the units switched after init.
    static void open(Harness &h, const QString &block, const QString &mode)
    {
        const qint16 unit = mode.startsWith("US") ? MEASUREMENT_SYSTEM_US : MEASUREMENT_SYSTEM_SI;
        h.sim->setFormatLocale(unit);
        h.open(block, mode.contains('*') ? qint16(MEASUREMENT_SYSTEM_SI) : unit);
        h.control->setMesureUnit(unit);
        h.control->UpdateSetpointOffSet(mode.contains('+'));
    }

private slots:
    void writes_data()
    {
        QTest::addColumn<QString>("block"); // "sample:" for the project's sample network
        QTest::addColumn<QString>("mode"); // as open() takes it; "~": read again after the edit; " de": a German user
        QTest::addColumn<QString>("stored"); // default|override|send delta in °C and K; empty: as in the file
        QTest::addColumn<QString>("shown"); // default|override|send delta; empty: not compared
        QTest::addColumn<QString>(
            "edit"); // "widget=text"; empty: NoChangeButOKPress; "!CP": that, CP refused; "-": nothing
        QTest::addColumn<bool>("result");
        QTest::addColumn<QString>("told"); // the one MessageEvent's message; empty: none
        QTest::addColumn<QString>(
            "written"); // default, override, send delta (throttle, heartbeat follow); empty: no call
        const QString refused = "device refused",
                      siAsRead
            = "UCPTdefaultValue@SNVT_temp_p#SI=20.0|SCPTovrValue@SNVT_temp_p#SI=21.5|SCPTsndDelta@SNVT_temp_p#SI=0.5";
        // clang-format off
        QTest::newRow("no change, no device call") << Temperature << "SI" << "" << "" << "-" << false << "" << "";
        // Reading again (for the offset mode) drops the edit: nothing the user did not type is written.
        QTest::newRow("an edit read over") << Temperature << "SI~" << "" << "" << "txtDefault=19.5" << false << "" << "";
        QTest::newRow("OK without a change") << Temperature << "SI" << "" << "" << "" << false << "" << siAsRead;
        QTest::newRow("US") << Temperature << "US" << "" << "" << "txtSend=1.8" << false << "" << "UCPTdefaultValue@SNVT_temp_p#US=68.0|SCPTovrValue@SNVT_temp_p#US=70.7|SCPTsndDelta@SNVT_temp_p#US_diff=1.8";
        QTest::newRow("to US after init") << Temperature << "US*" << "" << "" << "" << false << "" << "UCPTdefaultValue@SNVT_temp_p#US=68.0|SCPTovrValue@SNVT_temp_p#US=70.7|SCPTsndDelta@SNVT_temp_p#US_diff=0.9";
        QTest::newRow("send delta: 1 K shows 1.8, 3.6 typed is 2 K") << Temperature << "US" << "20|21.5|1" << "68.0|70.7|1.8" << "txtSend=3.6" << false << "" << "UCPTdefaultValue@SNVT_temp_p#US=68.0|SCPTovrValue@SNVT_temp_p#US=70.7|SCPTsndDelta@SNVT_temp_p#US_diff=3.6";
        // A set-point offset's override and default, read in the absolute °F of the database's
        // format locale, show as °F differences (no more decimals than read) and go back as such.
        QTest::newRow("US set-point offset, default kept as the difference shown") << Temperature << "US+" << "" << "36|38.7|0.9" << "txtOver=2.5" << false << "" << "UCPTdefaultValue@SNVT_temp_p#US_diff=36|SCPTovrValue@SNVT_temp_p#US_diff=2.5|SCPTsndDelta@SNVT_temp_p#US_diff=0.9";
        QTest::newRow("0 °C shows 0") << "sample:HwInput[10]" << "US+" << "" << "0|0|0.2" << "txtHeart=120" << false << "" << "UCPTdefaultValue@SNVT_temp#US_diff=0|SCPTovrValue@SNVT_temp#US_diff=0|SCPTsndDelta@SNVT_temp#US_diff=0.2|SCPTminSendTime@SCPTminSendTime=0.0|SCPTmaxSendTime@SCPTmaxSendTime=120";
        QTest::newRow("no more decimals than read, below 0 too") << Temperature << "US+" << "1|-5|1" << "1.8|-9|1.8" << "txtThrottle=5" << false << "" << "UCPTdefaultValue@SNVT_temp_p#US_diff=1.8|SCPTovrValue@SNVT_temp_p#US_diff=-9|SCPTsndDelta@SNVT_temp_p#US_diff=1.8|SCPTminSendTime@SCPTminSendTime=5|SCPTmaxSendTime@SCPTmaxSendTime=60.0";
        QTest::newRow("German user, device numbers") << Temperature << "US+ de" << "" << "36|38.7|0.9" << "txtHeart=120" << false << "" << "UCPTdefaultValue@SNVT_temp_p#US_diff=36|SCPTovrValue@SNVT_temp_p#US_diff=38.7|SCPTsndDelta@SNVT_temp_p#US_diff=0.9|SCPTminSendTime@SCPTminSendTime=0.0|SCPTmaxSendTime@SCPTmaxSendTime=120";
        QTest::newRow("SI set-point offset") << Temperature << "SI+" << "" << "20.0|21.5|0.5" << "txtHeart=120" << false << "" << "UCPTdefaultValue@SNVT_temp_p#SI=20.0|SCPTovrValue@SNVT_temp_p#SI=21.5|SCPTsndDelta@SNVT_temp_p#SI=0.5|SCPTminSendTime@SCPTminSendTime=0.0|SCPTmaxSendTime@SCPTmaxSendTime=120";
        QTest::newRow("enumeration ignores the offset mode") << Occupancy << "US+" << "" << "" << "cboDefault=OC_STANDBY" << false << "" << "UCPTdefaultValue@SNVT_occupancy=OC_STANDBY|SCPTovrValue@SNVT_occupancy=OC_NUL|SCPTsndDelta@UCPTsignedShort=0";
        QTest::newRow("switch structure") << Switch << "SI" << "" << "" << "txtSend=1.0 0" << false << "" << "UCPTdefaultValue@SNVT_switch=0.0 0|SCPTovrValue@SNVT_switch=100.0 1|SCPTsndDelta@SNVT_switch=1.0 0";
        // Not every write succeeded: this structure takes no send delta. (A structure's values go back as read.)
        QTest::newRow("other structure") << Setpoints << "SI" << "" << "" << "" << true << "" << "UCPTdefaultValue@SNVT_temp_setpt=%1|SCPTovrValue@SNVT_temp_setpt=%2";
        QTest::newRow("malformed number") << Temperature << "SI" << "" << "" << "txtOver=2,5x" << true << "The text '2,5x' is not a valid value in the format SNVT_temp_p#SI." << "UCPTdefaultValue@SNVT_temp_p#SI=20.0|SCPTovrValue@SNVT_temp_p#SI=2,5x|SCPTsndDelta@SNVT_temp_p#SI=0.5";
        // Whichever value the device refuses, the host learns that not everything was written and
        // is told once; the enumeration's lists as the number's boxes. (tst_fault_sweep fails each call.)
        QTest::newRow("default refused") << Temperature << "SI" << "" << "" << "!UCPTdefaultValue" << true << refused << siAsRead;
        QTest::newRow("override refused") << Temperature << "SI" << "" << "" << "!SCPTovrValue" << true << refused << siAsRead;
        QTest::newRow("enumerated default refused") << Occupancy << "SI" << "" << "" << "!UCPTdefaultValue" << true << refused << "UCPTdefaultValue@SNVT_occupancy=OC_UNOCCUPIED|SCPTovrValue@SNVT_occupancy=OC_NUL|SCPTsndDelta@UCPTsignedShort=0";
        QTest::newRow("enumerated override refused") << Occupancy << "SI" << "" << "" << "!SCPTovrValue" << true << refused << "UCPTdefaultValue@SNVT_occupancy=OC_UNOCCUPIED|SCPTovrValue@SNVT_occupancy=OC_NUL|SCPTsndDelta@UCPTsignedShort=0";
        // clang-format on
    }
    void writes()
    {
        QFETCH(QString, block);
        QFETCH(QString, mode);
        QFETCH(QString, stored);
        QFETCH(QString, shown);
        QFETCH(QString, edit);
        QFETCH(bool, result);
        QFETCH(QString, told);
        QFETCH(QString, written);
        const QLocale userLocale;
        QLocale::setDefault(QLocale(mode.endsWith(" de") ? "de" : "en"));
        const auto restoreLocale = qScopeGuard([&] { QLocale::setDefault(userLocale); });
        Harness h(block.startsWith("sample:") ? QString() : QStringLiteral("network-nv.json"));
        block = block.section(':', -1);
        const QStringList cps = { "UCPTdefaultValue", "SCPTovrValue", "SCPTsndDelta" };
        for (int i = 0; i < cps.size() && !stored.isEmpty(); ++i)
            h.sim->setStoredCpText(h.device, block, cps[i], stored.section('|', i, i), true);
        open(h, block, mode);
        if (!shown.isEmpty())
            QCOMPARE(QStringList({ h.shown("txtDefault"), h.shown("txtOver"), h.shown("txtSend") }).join('|'), shown);
        QVERIFY(!h.control->ValueChanged());
        written.replace("%1", h.shown("txtDefault")).replace("%2", h.shown("txtOver"));
        if (edit.startsWith('!'))
            h.sim->failOperation("ConfigProperty.setValueText", 0x80040000 + 77, false, edit.mid(1), "device refused");
        if (edit.isEmpty() || edit.startsWith('!'))
            h.control->setNoChangeButOKPress(true);
        else if (edit != "-")
            h.edit(edit.section('=', 0, 0), edit.section('=', 1));
        if (mode.contains('~'))
            h.control->UpdateSetpointOffSet(true);
        h.sim->clearCallLog();
        QCOMPARE(h.control->WriteValue(), result);
        const QString sendTimes = "|SCPTminSendTime@SCPTminSendTime=0.0|SCPTmaxSendTime@SCPTmaxSendTime=60.0";
        QCOMPARE(h.writes().join('|'), written + (written.isEmpty() || written.contains("SendTime@") ? "" : sendTimes));
        QCOMPARE(h.events, told.isEmpty() ? QStringList() : QStringList { "Network Variable ReadValues 16: " + told });
        QCOMPARE(h.sim->callCount() == 0, written.isEmpty());
        if (written.isEmpty())
            return;
        // The name goes back too, and every property is left in its default format.
        QCOMPARE(h.sim->callCount("NetworkVariable.setName"), 1);
        QCOMPARE(h.sim->callCount("ConfigProperty.setFormat"), 2 * h.sim->callCount("ConfigProperty.setValueText"));
        QVERIFY(h.control->ValueChanged());
    }

    void nameProcedures_data()
    {
        QTest::addColumn<QString>("call"); // "save", "save:<new name>" or "reset"
        QTest::addColumn<QString>("held"); // LcaHwInputNVName before the call
        QTest::addColumn<QString>("errorBefore");
        QTest::addColumn<QString>("errorAfter"); // empty: the call succeeds; "name refused" by the device
        QTest::addColumn<QString>("deviceName"); // empty: unchanged
        const QString empty = "VkZovezuVaveva.SaveLcaHwInputNVName :  The nvoHwInput's name cannot be empty.";
        // clang-format off
        QTest::newRow("save nothing") << "save" << "" << "" << empty << "";
        QTest::newRow("save nothing after a message") << "save" << "" << "earlier" << "earlier\r\n" + empty << "";
        QTest::newRow("save the held name") << "save" << "nvoHall" << "" << "" << "nvoHall";
        QTest::newRow("save a new name") << "save:nvoLobby" << "nvoHall" << "" << "" << "nvoLobby";
        QTest::newRow("save refused") << "save" << "nvoHall" << "" << "VkZovezuVaveva.SaveLcaHwInputNVName : name refused" << "";
        QTest::newRow("reset") << "reset" << "nvoHall" << "" << "" << "nvoHwInput[0]";
        QTest::newRow("reset refused") << "reset" << "nvoHall" << "x" << "x\r\nVkZovezuVaveva.ResetLcaHwInputNVName : name refused" << "";
        // clang-format on
    }
    void nameProcedures()
    {
        QFETCH(QString, call);
        QFETCH(QString, held);
        QFETCH(QString, errorBefore);
        QFETCH(QString, errorAfter);
        QFETCH(QString, deviceName);
        Harness h;
        h.open(Temperature);
        const QString original = h.nv(Temperature)->Name();
        QVERIFY(original != h.nv(Temperature)->ProgrammaticName());
        h.control->setLcaHwInputNVName(held);
        if (errorAfter.endsWith("name refused"))
            h.sim->failOperation("NetworkVariable.setName", 0x80040000 + 77, false, QString(), "name refused");
        QString ErrorMsg = errorBefore;
        const bool ok = call == "reset" ? h.control->ResetLcaHwInputNVName(ErrorMsg)
                                        : h.control->SaveLcaHwInputNVName(ErrorMsg, call.section(':', 1));
        QCOMPARE(ok, errorAfter.isEmpty());
        QCOMPARE(ErrorMsg, errorAfter);
        h.sim->clearFaults();
        QCOMPARE(h.nv(Temperature)->Name(), deviceName.isEmpty() ? original : deviceName);
        if (ok)
            QCOMPARE(h.control->LcaHwInputNVName(), deviceName);
        QCOMPARE(h.shown("txtHwInputNVName"), original); // the user name, and the box is the user's
        QCOMPARE(h.events, QStringList());
    }

    void overrideExchange_data()
    {
        QTest::addColumn<QString>("block");
        QTest::addColumn<QString>(
            "change"); // typed or chosen in the first control, or "ClassId ObjectName=value" the host passes the second
        QTest::addColumn<QString>("secondShows");
        // clang-format off
        QTest::newRow("typed value") << Temperature << "23.5" << "23.5";
        QTest::newRow("chosen member") << Occupancy << "OC_BYPASS" << "OC_BYPASS";
        QTest::newRow("letter case only is no change") << Occupancy << "26 Override=oc_nul" << "OC_NUL";
        QTest::newRow("another class") << Temperature << "22 Override=30" << "21.5";
        QTest::newRow("object name in lower case") << Temperature << "26 override=30" << "21.5";
        // clang-format on
    }
    void overrideExchange()
    {
        QFETCH(QString, block);
        QFETCH(QString, change);
        const QString userEdit = change.contains('=') ? QString() : change;
        QFETCH(QString, secondShows);
        Harness h;
        h.open(block);
        const std::unique_ptr<ctlSensorNV> first = std::move(h.control);
        h.open(block);
        ctlSensorNV *second = h.control.get();
        // The test host relays each control's override to the other one.
        connect(first.get(), &ctlSensorNV::ValueChangeEvent, second, &ctlSensorNV::ValueChange);
        connect(second, &ctlSensorNV::ValueChangeEvent, first.get(), &ctlSensorNV::ValueChange);
        const QString field = block == Occupancy ? "cboOverride" : "txtOver";
        if (!userEdit.isEmpty())
            h.edit(field, userEdit, first.get());
        else
            second->ValueChange(
                change.section('=', 1), change.section(' ', 0, 0).toShort(), change.section(' ', 1).section('=', 0, 0));
        QCOMPARE(h.shown(field), secondShows);
        QCOMPARE(second->ValueChanged(), !userEdit.isEmpty());
        QCOMPARE(first->ValueChanged(), !userEdit.isEmpty());
        // Only the user's edit is announced: no echo back.
        QCOMPARE(h.valueEvents, userEdit.isEmpty() ? QStringList() : QStringList { "26 Override=" + userEdit });
        // The exchange over, the user's own edit in the second control counts and is announced.
        const QString own = block == Occupancy ? "OC_STANDBY" : "19";
        h.valueEvents.clear();
        h.edit(field, own, second);
        QVERIFY(second->ValueChanged());
        QCOMPARE(h.valueEvents, QStringList { "26 Override=" + own });
    }

    void keyDownOncePerKey()
    {
        Harness h;
        h.open(Temperature);
        QStringList keys;
        connect(h.control.get(), &ctlSensorNV::KeyDown, h.control.get(),
            [&](qint16 &KeyCode, qint16 &Shift) { keys << QStringLiteral("%1/%2").arg(KeyCode).arg(Shift); });
        for (const char *target : { "cboDefault", "cboOverride", "cmdChange", "txtDefault", "txtHeart",
                 "txtHwInputNVName", "txtOver", "txtSend", "txtThrottle", "" }) {
            keys.clear();
            QWidget *widget = *target ? h.widget(target) : h.control.get();
            QTest::keyClick(widget, Qt::Key_A, Qt::ShiftModifier);
            QTest::keyClick(widget, Qt::Key_F5);
            QCOMPARE(target + (": " + keys.join(' ')), target + QStringLiteral(": 16/1 65/1 116/0"));
        }
    }
};

QTEST_MAIN(tst_network_write)
#include "tst_network_write.moc"
