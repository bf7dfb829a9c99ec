// SPDX-License-Identifier: MIT
// The network control after ZovezuVavevaInit: the widgets that fit the variable's type,
// the formats every value is read in, what a malformed network does to it, its captions
// and fonts, and the type and unit entry points of the host.
#include "tst_network_harness.h"

#include <QSignalSpy>

using namespace NetworkTest;

namespace {
const QStringList ValueWidgets = { "txtOver", "txtDefault", "lblOver", "lblDef", "cboOverride", "cboDefault",
    "lblSendDelta", "txtSend", "lblSendD", "cmdChange" };
}

class tst_network_init : public QObject
{
    Q_OBJECT

private slots:
    void layoutFollowsType_data();
    void layoutFollowsType();
    void enumListsSelectOnlyAMatch();
    void readFormats_data();
    void readFormats();
    void malformedNetworkNeverStopsTheControl_data();
    void malformedNetworkNeverStopsTheControl();
    void captionsAndFonts_data();
    void captionsAndFonts();
    void entryPointsBeforeAndBesideInit();
};

void tst_network_init::layoutFollowsType_data()
{
    QTest::addColumn<QString>("block");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("visible");
    QTest::addColumn<QString>("unit"); // beside override, default and send delta

    const QString text = "txtOver txtDefault lblOver lblDef";
    QTest::newRow("number") << Temperature << "SNVT_temp_p#SI" << text + " lblSendDelta txtSend lblSendD"
                            << "°C";
    QTest::newRow("switch structure sends deltas") << Switch << "SNVT_switch" << text + " lblSendDelta txtSend lblSendD"
                                                   << "%";
    QTest::newRow("other structure sends none") << Setpoints << "SNVT_temp_setpt" << text << "°C";
    QTest::newRow("enumeration") << Occupancy << "SNVT_occupancy"
                                 << "cboOverride cboDefault"
                                 << "";
}

void tst_network_init::layoutFollowsType()
{
    QFETCH(QString, block);
    QFETCH(QString, title);
    QFETCH(QString, visible);
    QFETCH(QString, unit);

    Harness h;
    h.open(block);
    QCOMPARE(h.events, QStringList());
    QCOMPARE(h.shown("lblTitle"), title);
    QCOMPARE(h.visible(ValueWidgets), visible);
    for (const char *label : { "lblOver", "lblDef", "lblSendD" })
        QCOMPARE(h.shown(label), unit);
    // The device's user name, not the programmatic one.
    QCOMPARE(h.shown("txtHwInputNVName"), h.sim->block(h.device, block)->NetworkVariables()->Item(1)->Name());
    QVERIFY(!h.shown("txtHwInputNVName").startsWith("nvoHwInput"));
    QVERIFY(!h.control->ValueChanged());
}

void tst_network_init::enumListsSelectOnlyAMatch()
{
    Harness h;
    // The override cannot be read: its list keeps nothing selected, the default list shows the stored member.
    h.sim->failOperation("ConfigProperty.ValueText", 0x80040000 + 7, true, "SCPTovrValue", "busy");
    h.open(Occupancy);
    QComboBox *over = h.combo("cboOverride");
    QCOMPARE(over->currentIndex(), -1);
    QCOMPARE(h.shown("cboDefault"), QStringLiteral("OC_UNOCCUPIED"));
    QCOMPARE(over->count(), h.combo("cboDefault")->count());
    QCOMPARE(over->itemData(over->findText("OC_STANDBY")).toInt(), 3);
    QCOMPARE(h.seams.messageCount(), 1); // the failed read shows its own box
    QVERIFY(!h.control->ValueChanged());

    // A host's name shows instead of the device's.
    h.control->setLcaHwInputNVName("nvoLobbyPresence");
    h.control->ZovezuVavevaInit();
    QCOMPARE(h.shown("txtHwInputNVName"), QStringLiteral("nvoLobbyPresence"));
    QCOMPARE(h.shown("cboOverride"), QStringLiteral("OC_NUL"));
}

void tst_network_init::readFormats_data()
{
    QTest::addColumn<QString>("block");
    QTest::addColumn<qint16>("unit");
    QTest::addColumn<bool>("switchUnitAfterInit");
    QTest::addColumn<bool>("setpointOffset");
    QTest::addColumn<QString>("formats"); // override, default, send delta, throttle, heartbeat
    QTest::addColumn<QString>("overrideShown");

    const qint16 SI = MEASUREMENT_SYSTEM_SI;
    const qint16 US = MEASUREMENT_SYSTEM_US;
    const QString times = " SCPTminSendTime SCPTmaxSendTime";
    QTest::newRow("SI") << Temperature << SI << false << false << "SNVT_temp_p#SI SNVT_temp_p#SI SNVT_temp_p#SI" + times
                        << "21.5";
    QTest::newRow("US, send delta as a difference")
        << Temperature << US << false << false << "SNVT_temp_p#US SNVT_temp_p#US SNVT_temp_p#US_diff" + times << "70.7";
    QTest::newRow("switched to US after init")
        << Temperature << US << true << false << "SNVT_temp_p#US SNVT_temp_p#US SNVT_temp_p#US_diff" + times << "70.7";
    QTest::newRow("US set-point offset") << Temperature << US << false << true
                                         << "SNVT_temp_p#US_diff SNVT_temp_p#US_diff SNVT_temp_p#US_diff" + times
                                         << "70.7";
    QTest::newRow("enumeration ignores the offset mode")
        << Occupancy << US << false << true << "SNVT_occupancy SNVT_occupancy UCPTsignedShort" + times << "OC_NUL";
}

void tst_network_init::readFormats()
{
    QFETCH(QString, block);
    QFETCH(qint16, unit);
    QFETCH(bool, switchUnitAfterInit);
    QFETCH(bool, setpointOffset);
    QFETCH(QString, formats);
    QFETCH(QString, overrideShown);

    Harness h;
    // The host keeps the database's format locale with the control's units.
    h.sim->setFormatLocale(unit);
    h.open(block, switchUnitAfterInit ? qint16(MEASUREMENT_SYSTEM_SI) : unit);
    if (switchUnitAfterInit)
        h.control->setMesureUnit(unit);
    h.control->UpdateSetpointOffSet(setpointOffset);
    QStringList read;
    for (const char *field : { "txtOver", "txtDefault", "txtSend", "txtThrottle", "txtHeart" })
        read << h.readFormat(field);
    QCOMPARE(read.join(' '), formats);
    QCOMPARE(h.shown(h.widget("txtOver")->isHidden() ? "cboOverride" : "txtOver"), overrideShown);
    QCOMPARE(h.events, QStringList());
    QVERIFY(!h.control->ValueChanged());
}

void tst_network_init::malformedNetworkNeverStopsTheControl_data()
{
    QTest::addColumn<QString>("block");
    QTest::addColumn<QString>("typeText"); // stored as SCPTnvType; empty: as in the file
    QTest::addColumn<QString>("failingOperation"); // empty: none
    QTest::addColumn<QString>("reports"); // function names of the MessageEvents
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("heartbeat");

    // clang-format off
    QTest::newRow("missing override property") << NoOverride << "" << "" << "ReadValues" << "SNVT_temp_p#SI" << "";
    QTest::newRow("no properties") << NoProperties << "" << "" << "ReadValues ZovezuVavevaInit" << "Label1" << "";
    QTest::newRow("unknown type") << Temperature << "90 00 A5 3D 0A 04 04 10 0 250" << "" << "ZovezuVavevaInit" << "Label1" << "60.0";
    QTest::newRow("malformed type text") << Temperature << "PID 90:00:ZZ, Scope x, Index" << "" << "ZovezuVavevaInit" << "Label1" << "60.0";
    QTest::newRow("type text unreadable") << Temperature << "" << "ConfigProperty.ValueText:SCPTnvType" << "ZovezuVavevaInit" << "Label1" << "60.0";
    QTest::newRow("heartbeat unreadable") << Temperature << "" << "ConfigProperty.ValueText:SCPTmaxSendTime" << "" << "SNVT_temp_p#SI" << "";
    // The variable itself failing ends the call: the host sees the failure.
    QTest::newRow("name unreadable") << Temperature << "" << "NetworkVariable.Name" << "" << "Label1" << "";
    // clang-format on
}

void tst_network_init::malformedNetworkNeverStopsTheControl()
{
    QFETCH(QString, block);
    QFETCH(QString, typeText);
    QFETCH(QString, failingOperation);
    QFETCH(QString, reports);
    QFETCH(QString, title);
    QFETCH(QString, heartbeat);

    Harness h;
    if (!typeText.isEmpty())
        h.sim->setStoredCpText(h.device, block, "SCPTnvType", typeText, true);
    if (!failingOperation.isEmpty())
        h.sim->failOperation(
            failingOperation.section(':', 0, 0), 0x80040000 + 99, true, failingOperation.section(':', 1), "damaged");
    try {
        h.open(block);
    } catch (const DeviceAccess::Failure &failure) {
        // Only a failure outside the reads may reach the host as the call's failure.
        QCOMPARE(failingOperation, QStringLiteral("NetworkVariable.Name"));
    }
    QStringList functions;
    for (const QString &event : h.events)
        functions << event.section(' ', 2, 2);
    functions.sort();
    QCOMPARE(functions.join(' '), reports);
    for (const QString &event : h.events)
        QVERIFY2(event.startsWith("Network Variable ") && event.contains(" 16: "), qPrintable(event));
    QCOMPARE(h.shown("lblTitle"), title);
    QCOMPARE(h.shown("txtHeart"), heartbeat);
    // Loading ended: the user's edits count.
    QVERIFY(!h.control->ValueChanged());
    h.box("txtSend")->setText("3");
    QVERIFY(h.control->ValueChanged());
}

void tst_network_init::captionsAndFonts_data()
{
    QTest::addColumn<QString>("language");
    QTest::addColumn<QString>("captions");
    QTest::addColumn<QString>("face");

    QTest::newRow("English, empty table") << "en"
                                          << "Network Variable|Change Type|Type :|Name :|Override Value|Default "
                                             "Value|Send Delta|Throttle|Heartbeat|sec|sec"
                                          << "MS Sans Serif";
    QTest::newRow("German") << "de"
                            << "Netzwerkvariable|Typ ändern|Typ :|Name :|Übersteuerungswert|Standardwert|Sendedelta|"
                               "Mindestsendeintervall|Lebenszeichen|s|s"
                            << "Arial";
}

void tst_network_init::captionsAndFonts()
{
    QFETCH(QString, language);
    QFETCH(QString, captions);
    QFETCH(QString, face);

    Harness h;
    h.sim->setLanguage(language);
    h.control = h.create();
    const QStringList named = { "fraNV", "cmdChange", "lblType", "lblName", "lblOverride", "lblDefault", "lblSendDelta",
        "lblThrottle", "lblHeartbeat", "lblUnit_0", "lblUnit_1" };
    QStringList shown;
    for (const QString &name : named) {
        QWidget *w = h.widget(name);
        shown << h.shown(name);
        QCOMPARE(name + ' ' + w->font().family(), name + ' ' + face);
        QCOMPARE(name + (w->font().bold() ? " bold" : ""),
            name + (name == "fraNV" || name == "lblType" || name == "lblName" ? " bold" : ""));
    }
    QCOMPARE(shown.join('|'), captions);
    // Fields and the type and unit captions keep the design face.
    for (const char *kept : { "txtOver", "cboDefault", "txtHwInputNVName", "lblTitle", "lblOver" })
        QCOMPARE(h.widget(kept)->font().family(), QStringLiteral("MS Sans Serif"));
    QCOMPARE(h.shown("lblTitle"), QStringLiteral("Label1"));
    QCOMPARE(h.events, QStringList());
}

void tst_network_init::entryPointsBeforeAndBesideInit()
{
    Harness h;
    h.sim->setFormatLocale(MEASUREMENT_SYSTEM_US);
    h.control = h.create();
    QSignalSpy typeChanges(h.control.get(), &ctlSensorNV::OnChangeType);
    h.sim->clearCallLog();
    h.control->setMesureUnit(MEASUREMENT_SYSTEM_US); // before NodeObject: stored, nothing read
    QCOMPARE(h.sim->callCount(), 0);
    QCOMPARE(h.control->MesureUnit(), qint16(MEASUREMENT_SYSTEM_US));

    h.control->UpdateSetpointOffSet(true); // before init: forgotten
    h.block = Temperature;
    h.control->setNodeObject(h.sim->block(h.device, Temperature));
    h.control->ZovezuVavevaInit();
    QCOMPARE(h.readFormat("txtOver"), QStringLiteral("SNVT_temp_p#US"));
    QVERIFY(h.widget("cmdChange")->isHidden());

    // Another variable's format is answered without touching what the control shows.
    QString format;
    QString ErrMsg;
    QVERIFY(h.control->GetNVTypeFormatName(
        h.sim->block(h.device, Occupancy)->NetworkVariables()->Item(1), MEASUREMENT_SYSTEM_US, format, ErrMsg));
    QVERIFY2(format.endsWith("].SNVT_occupancy"), qPrintable(format));
    QCOMPARE(ErrMsg, QString());
    QCOMPARE(h.shown("lblTitle"), QStringLiteral("SNVT_temp_p#US"));
    QCOMPARE(h.visible({ "txtOver", "cboOverride" }), QStringLiteral("txtOver"));

    // Preferred types are only held; the type command only shows the busy pointer.
    h.control->ClearPreferedTypesList();
    for (qint16 i : { 105, 109, 95 })
        h.control->AddPreferedType(QStringLiteral("type %1").arg(i), i);
    QCOMPARE(h.control->PreferredTypes().Count(), 3);
    QCOMPARE(h.control->PreferredTypes().Item(3)->Index(), qint16(95));
    h.control->ClearPreferedTypesList();
    QCOMPARE(h.control->PreferredTypes().Count(), 0);
    h.seams.clear();
    h.control->OpenChangeType();
    QCOMPARE(h.seams.currentPointer(), 0);
    QCOMPARE(h.events, QStringList());
    QCOMPARE(typeChanges.count(), 0);
}

QTEST_MAIN(tst_network_init)
#include "tst_network_init.moc"
