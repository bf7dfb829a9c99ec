// SPDX-License-Identifier: MIT
// The network control after ZovezuVavevaInit: the widgets that fit the variable's type,
// what a malformed network does to it, its captions, and the unit and set-point-offset
// switches before init.
#include "tst_network_harness.h"

#include <QSignalSpy>

using namespace NetworkTest;

class tst_network_init : public QObject
{
    Q_OBJECT

private slots:
    // The widgets that fit the variable's type; a malformed network never stops the control.
    void opening_data()
    {
        QTest::addColumn<QString>("block");
        QTest::addColumn<QString>("damage"); // "SCPTnvType=<text>" stored, or "operation:object" failing once
        QTest::addColumn<QString>("reports"); // function names of the MessageEvents, sorted
        QTest::addColumn<QString>("shown"); // title, override, heartbeat, unit beside override, default and send delta
        QTest::addColumn<QString>("visible");
        const QString text = "txtOver txtDefault lblOver lblDef", delta = " lblSendDelta txtSend lblSendD";
        // clang-format off
        QTest::newRow("number") << Temperature << "" << "" << "SNVT_temp_p#SI|21.5|60.0|°C" << text + delta;
        QTest::newRow("switch structure sends deltas") << Switch << "" << "" << "SNVT_switch|100.0 1|60.0|%" << text + delta;
        QTest::newRow("other structure sends none") << Setpoints << "" << "" << "SNVT_temp_setpt|0.0 0.0 0.0 0.0 0.0 0.0|60.0|°C" << text;
        QTest::newRow("enumeration") << Occupancy << "" << "" << "SNVT_occupancy|OC_NUL|60.0|" << "cboOverride cboDefault";
        QTest::newRow("missing override property") << NoOverride << "" << "ReadValues" << "SNVT_temp_p#SI|||°C" << text + delta;
        QTest::newRow("no properties") << NoProperties << "" << "ReadValues ZovezuVavevaInit" << "Label1|||" << text + delta;
        QTest::newRow("unknown type") << Temperature << "SCPTnvType=90 00 A5 3D 0A 04 04 10 0 250" << "ZovezuVavevaInit" << "Label1||60.0|" << text + delta;
        QTest::newRow("malformed type text") << Temperature << "SCPTnvType=PID 90:00:ZZ, Scope x, Index" << "ZovezuVavevaInit" << "Label1||60.0|" << text + delta;
        QTest::newRow("type unreadable") << Temperature << "ConfigProperty.ValueText:SCPTnvType" << "ZovezuVavevaInit" << "Label1|21.5|60.0|" << text + delta;
        // The control's own box for a failed read; the remaining reads go on.
        QTest::newRow("override unreadable") << Temperature << "ConfigProperty.ValueText:SCPTovrValue" << "" << "SNVT_temp_p#SI||60.0|°C" << text + delta;
        QTest::newRow("enumerated override unreadable") << Occupancy << "ConfigProperty.ValueText:SCPTovrValue" << "" << "SNVT_occupancy||60.0|" << "cboOverride cboDefault";
        // The variable itself failing ends the call (the host sees the failure) with the new control untouched.
        QTest::newRow("name unreadable") << Temperature << "NetworkVariable.Name:" << "" << "Label1|||" << text + delta + " cmdChange";
        // clang-format on
    }

    void opening()
    {
        QFETCH(QString, block);
        QFETCH(QString, damage);
        QFETCH(QString, reports);
        QFETCH(QString, shown);
        QFETCH(QString, visible);
        Harness h;
        if (damage.startsWith("SCPTnvType="))
            h.sim->setStoredCpText(h.device, block, "SCPTnvType", damage.section('=', 1), true);
        else if (!damage.isEmpty())
            h.sim->failOperation(damage.section(':', 0, 0), 0x80040000 + 99, true, damage.section(':', 1), "damaged");
        try {
            h.open(block);
        } catch (const DeviceAccess::Failure &) {
            QCOMPARE(damage, QStringLiteral("NetworkVariable.Name:"));
        }
        QStringList functions;
        for (const QString &event : h.events) {
            QVERIFY2(event.startsWith("Network Variable ") && event.contains(" 16: "), qPrintable(event));
            functions << event.section(' ', 2, 2);
        }
        functions.sort();
        QCOMPARE(functions.join(' '), reports);
        const QString override = block == Occupancy ? "cboOverride" : "txtOver";
        QCOMPARE(
            QStringList({ h.shown("lblTitle"), h.shown(override), h.shown("txtHeart"), h.shown("lblOver") }).join('|'),
            shown);
        for (const char *label : { "lblDef", "lblSendD" })
            QCOMPARE(h.shown(label), h.shown("lblOver"));
        // An unresolved type keeps a new control's text boxes; the empty lists stay hidden. (An
        // enumeration's list selects nothing until a value matches: the override shows empty.)
        QCOMPARE(h.visible({ "txtOver", "txtDefault", "lblOver", "lblDef", "cboOverride", "cboDefault", "lblSendDelta",
                     "txtSend", "lblSendD", "cmdChange" }),
            visible);
        QCOMPARE(h.seams.currentPointer(), 0);
        // Loading ended: the user's edits count.
        QVERIFY(!h.control->ValueChanged());
        h.edit("txtSend", "3");
        QVERIFY(h.control->ValueChanged());
    }

    // The captions in the user's language; a failing font lookup ends InitStrings with one
    // report, the two quiet numbers are not told.
    void strings_data()
    {
        QTest::addColumn<QString>("language");
        QTest::addColumn<qint32>("failing"); // the font lookup's number; 0: none
        QTest::addColumn<QString>("captions");
        QTest::addColumn<QString>("face");
        QTest::addColumn<QStringList>("events");
        const QString english = "Network Variable|Change Type|Type :|Name :|Override Value|Default Value|Send "
                                "Delta|Throttle|Heartbeat|sec|sec";
        const QStringList told { "Network Variable InitStrings 16: font lost" };
        // clang-format off
        QTest::newRow("English, empty table") << "en" << 0 << english << "MS Sans Serif" << QStringList();
        QTest::newRow("German") << "de" << 0 << "Netzwerkvariable|Typ ändern|Typ :|Name :|Übersteuerungswert|Standardwert|Sendedelta|Mindestsendeintervall|Lebenszeichen|s|s" << "Arial" << QStringList();
        QTest::newRow("font lost") << "en" << DeviceAccess::DeviceError::ObjectErrorBase + 77 << english << "MS Sans Serif" << told;
        QTest::newRow("quiet 5030") << "en" << DeviceAccess::DeviceError::QuietNumber5030 << english << "MS Sans Serif" << QStringList();
        QTest::newRow("quiet 1026") << "en" << DeviceAccess::DeviceError::QuietNumber1026 << english << "MS Sans Serif" << QStringList();
        // clang-format on
    }

    void strings()
    {
        QFETCH(QString, language);
        QFETCH(qint32, failing);
        QFETCH(QString, captions);
        QFETCH(QString, face);
        QFETCH(QStringList, events);
        Harness h;
        h.sim->setLanguage(language);
        h.open(failing ? Temperature : QString());
        if (failing) {
            h.sim->failOperation("LanguageService.GetFontName", failing, true, QString(), "font lost");
            h.control->ReInitializeStrings();
        }
        QStringList shown;
        for (const char *name : { "fraNV", "cmdChange", "lblType", "lblName", "lblOverride", "lblDefault",
                 "lblSendDelta", "lblThrottle", "lblHeartbeat", "lblUnit_0", "lblUnit_1" }) {
            shown << h.shown(name);
            QCOMPARE(name + (' ' + h.widget(name)->font().family()), name + (' ' + face));
        }
        QCOMPARE(shown.join('|'), captions);
        // The control asks for its frame's room; tst_layout_languages checks the captions have theirs.
        QCOMPARE(h.control->sizeHint().width(), h.widget("fraNV")->width());
        QCOMPARE(h.events, events);
        QCOMPARE(h.seams.messageCount(), events.size()); // the test host leaves it to the control's box
    }

    void switchesBeforeInit()
    {
        Harness h;
        h.sim->setFormatLocale(MEASUREMENT_SYSTEM_US);
        h.open();
        QSignalSpy typeChanges(h.control.get(), &ctlSensorNV::OnChangeType);
        h.sim->clearCallLog();
        h.control->setMesureUnit(MEASUREMENT_SYSTEM_US); // before NodeObject: stored, nothing read
        QCOMPARE(h.sim->callCount(), 0);
        h.control->UpdateSetpointOffSet(true); // before init: forgotten
        h.control->setNodeObject(h.sim->block(h.device, Temperature));
        h.control->ZovezuVavevaInit();
        QCOMPARE(h.readFormat("txtOver"), QStringLiteral("SNVT_temp_p#US"));
        QCOMPARE(h.readFormat("txtSend"), QStringLiteral("SNVT_temp_p#US_diff")); // a delta is a difference
        // Another variable's format is answered without touching what the control shows.
        QString format, ErrMsg;
        QVERIFY(h.control->GetNVTypeFormatName(h.nv(Occupancy), MEASUREMENT_SYSTEM_US, format, ErrMsg));
        QVERIFY2(format.endsWith("].SNVT_occupancy"), qPrintable(format));
        QCOMPARE(h.shown("lblTitle"), QStringLiteral("SNVT_temp_p#US"));
        QCOMPARE(h.visible({ "txtOver", "cboOverride" }), QStringLiteral("txtOver"));
        h.control->OpenChangeType();
        QCOMPARE(h.seams.currentPointer(), 0);
        QCOMPARE(h.events, QStringList());
        QCOMPARE(typeChanges.count(), 0);
    }
};

QTEST_MAIN(tst_network_init)
#include "tst_network_init.moc"
