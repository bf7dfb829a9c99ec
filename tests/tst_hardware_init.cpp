// SPDX-License-Identifier: MIT
// Initialising the hardware control: the lists built from the catalog's enumerations
// (interpretations per Choice, thermistor types per object version) and how failures
// during initialisation are reported and passed over.
#include "tst_hardware_harness.h"

#include "device/DeviceAccess.h"
#include "shared/ProcessState.h"

using namespace HardwareTest;

// The items of a list as "text=item data,...", or as "item data,...".
static QString items(const QComboBox *list, bool withText = true)
{
    QStringList result;
    for (int i = 0; i < list->count(); ++i)
        result << (withText ? list->itemText(i) + "=" : QString()) + list->itemData(i).toString();
    return result.join(',');
}

class tst_hardware_init : public QObject
{
    Q_OBJECT

private slots:
    void interpretationsOffered_data()
    {
        QTest::addColumn<QString>("choice");
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("offered"); // "text=item data,..."
        const auto row = [](const char *choice, const char *stored, const QString &offered) {
            QTest::addRow("%s / %s", choice, stored) << choice << stored << offered;
        };
        // Each number of a Choice text stands for one interpretation.
        row("2", "LINEAR", "LINEAR=1");
        row("2,3,7", "LINEAR", "LINEAR=1,TRANS_TABLE=2,SETPOINT_OFFSET=6");
        row("2,3,5", "LINEAR", "LINEAR=1,TRANS_TABLE=2,MULTI_LEVEL=4");
        row("2,3,4,6", "LINEAR", "LINEAR=1,TRANS_TABLE=2,DIGITAL=3,STD_THERMISTOR=5");
        row("2", "DIGITAL", "LINEAR=1");
        row("2", " LINEAR ", "LINEAR=1");
        // The text is compared whole, not parsed: anything else offers every interpretation.
        const QString all = "DISCONNECTED=0,LINEAR=1,TRANS_TABLE=2,DIGITAL=3,MULTI_LEVEL=4,STD_THERMISTOR=5,"
                            "SETPOINT_OFFSET=6";
        for (const char *choice : { "", "2, 3", "3,2" })
            row(choice, "DIGITAL", all);
    }

    // A stored interpretation that the list does not offer (blanks aside) is a change: a write
    // without an edit stores the one shown instead; otherwise nothing is written.
    void interpretationsOffered()
    {
        QFETCH(QString, choice);
        QFETCH(QString, stored);
        QFETCH(QString, offered);
        Harness h;
        QVERIFY(h.open(1, SnvtTempP, "UCPTinputSignalInterpretation=" + stored, MEASUREMENT_SYSTEM_SI, choice));
        QCOMPARE(items(h.combo("cboInput")), offered);
        const bool notListed = !offered.contains(stored.trimmed() + "=");
        QCOMPARE(h.control->ValueChanged(), notListed);
        h.sim->clearCallLog();
        QCOMPARE(h.control->WriteValue(), false);
        QCOMPARE(h.sim->callCount() > 0, notListed);
        QCOMPARE(h.stored("UCPTinputSignalInterpretation"), notListed ? offered.section('=', 0, 0) : stored.trimmed());
    }

    void failuresAreReportedAndPassedOver_data()
    {
        QTest::addColumn<QString>("operation");
        QTest::addColumn<bool>("once");
        QTest::addColumn<QString>("messages"); // reported by ZovezuVavevaInit, in order
        const char *enumeration = "TypeService.GetEnumCollection";
        // Each failure on its own, at once: with no open catalog the look-up and the closing fail too.
        QTest::newRow("catalog cannot be opened")
            << "ResourceCatalog.OpenCatalog" << true << "Injected|The handle 0 is not open.|The handle 0 is not open.";
        // No interpretations: their list cannot be built, the rest goes on.
        QTest::newRow("interpretations missing") << enumeration << true << "Injected|Object variable not set";
        // No signal types: no list is built and nothing read, yet the control ends initialised.
        QTest::newRow("every enumeration missing") << enumeration << false << "Injected|Injected|Injected";
    }

    void failuresAreReportedAndPassedOver()
    {
        QFETCH(QString, operation);
        QFETCH(bool, once);
        QFETCH(QString, messages);
        const bool valuesRead = once; // only when the signal types fail too is nothing read
        Harness h;
        QVERIFY(h.open(1, SnvtTempP, {}, MEASUREMENT_SYSTEM_SI, "", false));
        // Before initialisation a unit system is only stored.
        h.sim->clearCallLog();
        h.control->setMesureUnit(MEASUREMENT_SYSTEM_US);
        QCOMPARE(h.sim->callCount(), 0);
        h.control->setMesureUnit(MEASUREMENT_SYSTEM_SI);
        h.sim->failOperation(operation, DeviceAccess::DeviceError::ObjectErrorBase + 12, once, QString(), "Injected");
        h.control->ZovezuVavevaInit();

        QCOMPARE(h.events.join('|'), "ZovezuVavevaInit 16: " + messages.split('|').join("|ZovezuVavevaInit 16: "));
        QCOMPARE(h.seams.messageCount(), h.events.size());
        QCOMPARE(h.seams.messages().first().title, QStringLiteral("Hardware Properties ZovezuVavevaInit"));
        QCOMPARE(h.combo("cboTherm")->count() > 0, valuesRead);
        QCOMPARE(h.shown("txtMin").isEmpty(), !valuesRead);
        QVERIFY(!h.control->ValueChanged());
        // Initialised in every case: a new unit system reads the values again.
        h.sim->clearFaults();
        h.sim->clearCallLog();
        h.control->setMesureUnit(MEASUREMENT_SYSTEM_US);
        QVERIFY(h.sim->callCount() > 0);
    }

    void withoutDeviceLibrary_data()
    {
        QTest::addColumn<QString>("operation");
        QTest::addColumn<QString>("reported"); // the one report the host sees, or none
        for (const char *operation : { "ZovezuVavevaInit", "FillHardwareValues" })
            QTest::newRow(operation) << operation << QString(operation) + " 16: No device library is installed.";
        QTest::newRow("WriteValue after an edit") << "WriteValue" << QString();
    }

    // However many device calls fail for want of a library, one public operation makes one report.
    void withoutDeviceLibrary()
    {
        QFETCH(QString, operation);
        QFETCH(QString, reported);
        Harness h;
        QVERIFY(h.open(1, SnvtTempP, {}, MEASUREMENT_SYSTEM_SI, "", operation != "ZovezuVavevaInit"));
        h.events.clear();
        DeviceAccess::install(nullptr);
        if (operation == "ZovezuVavevaInit")
            h.control->ZovezuVavevaInit();
        else if (operation == "FillHardwareValues")
            h.control->FillHardwareValues();
        else {
            QVERIFY(h.edit("txtMin", "5"));
            QCOMPARE(h.control->WriteValue(), false);
        }
        QCOMPARE(h.events, reported.isEmpty() ? QStringList() : QStringList { reported });
        QCOMPARE(h.seams.messageCount(), h.events.size());
    }

    void signalTypesPerInterpretation_data()
    {
        QTest::addColumn<QStringList>("chosen"); // in turn, after the read
        QTest::addColumn<QString>("offered"); // "text=item data,..."; "hidden" when the list is not shown
        QTest::addColumn<QString>("stored"); // the signal type stored
        QTest::addColumn<QString>("selected");
        const QString all = QStringLiteral("RESISTANCE=0,VOLTAGE_0_10V=1,MILIAMPS_4_20MA=2");
        const QString r = QStringLiteral("RESISTANCE");
        QTest::newRow("LINEAR") << QStringList { "LINEAR" } << all << r << r;
        QTest::newRow("STD_THERMISTOR: the first type only")
            << QStringList { "STD_THERMISTOR" } << "RESISTANCE=0" << r << r;
        // The one type a thermistor offers is selected, though another type is stored.
        QTest::newRow("STD_THERMISTOR on a mA input: its one type selected")
            << QStringList { "STD_THERMISTOR" } << "RESISTANCE=0"
            << "MILIAMPS_4_20MA" << r;
        QTest::newRow("SETPOINT_OFFSET keeps one type")
            << QStringList { "STD_THERMISTOR", "SETPOINT_OFFSET" } << "RESISTANCE=0" << r << r;
        QTest::newRow("SETPOINT_OFFSET keeps three") << QStringList { "LINEAR", "SETPOINT_OFFSET" } << all << r << r;
        QTest::newRow("DISCONNECTED hides the list") << QStringList { "DISCONNECTED" } << "hidden" << r << r;
    }

    void signalTypesPerInterpretation()
    {
        QFETCH(QStringList, chosen);
        QFETCH(QString, offered);
        QFETCH(QString, stored);
        QFETCH(QString, selected);
        Harness h;
        QVERIFY(h.open(1, SnvtTempP, "UCPTinputSignalInterpretation=TRANS_TABLE;UCPTinputSignalType=" + stored));
        for (const QString &interpretation : chosen)
            QVERIFY2(h.choose(interpretation), qPrintable(interpretation));
        QComboBox *list = h.combo("cboSignal");
        QCOMPARE(list->isHidden() ? QStringLiteral("hidden") : items(list), offered);
        if (!list->isHidden())
            QCOMPARE(list->currentText(), selected);
    }

    void objectVersionRoundsToEven_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<int>("version");
        QTest::addColumn<QString>("thermistorTypes"); // item data: the list follows the version
        // Positions 1, 2, 3, 4, 7, 8, 13, 25 (version 2) or 1, 3, 4, 8, 13, 25 of an enumeration from 0.
        const QString second = "0,1,2,3,6,7,12,24";
        QTest::newRow("1.5 rounds up") << "1.5" << 2 << second;
        QTest::newRow("2.5 rounds down") << "2.5" << 2 << second;
        QTest::newRow("1.4") << "1.4" << 1 << "0,2,3,7,12,24";
    }

    // The block's version arrives through the control's NodeObject, as a host hands it over.
    void objectVersionRoundsToEven()
    {
        QFETCH(QString, stored);
        QFETCH(int, version);
        QFETCH(QString, thermistorTypes);
        Harness h;
        QVERIFY(h.open(1, SnvtTempP, "SCPTobjMajVer=" + stored));
        QCOMPARE(int(MKorvane::ObjMajorVersion()), version);
        QCOMPARE(items(h.combo("cboTherm"), false), thermistorTypes);
    }
};

QTEST_MAIN(tst_hardware_init)
#include "tst_hardware_init.moc"
