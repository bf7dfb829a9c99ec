// SPDX-License-Identifier: MIT
// Initialising the hardware control: the lists built from the catalog's
// enumerations (interpretations per Choice, thermistor types per object
// version) and how failures during initialisation are reported and passed over.
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
    // Each number of a Choice text stands for one interpretation; the text is
    // compared whole, not parsed: anything else offers every interpretation. A
    // stored interpretation that the list does not offer (blanks aside) is a
    // change: a write without an edit stores the one shown instead; otherwise
    // nothing is written.
    void interpretationsOffered()
    {
        const QString all = "DISCONNECTED=0,LINEAR=1,TRANS_TABLE=2,DIGITAL=3,MULTI_"
                            "LEVEL=4,STD_THERMISTOR=5,"
                            "SETPOINT_OFFSET=6";
        for (const auto &[choice, stored, offered] : { std::tuple { "2", "LINEAR", QString("LINEAR=1") },
                 { "2,3,7", "LINEAR", "LINEAR=1,TRANS_TABLE=2,SETPOINT_OFFSET=6" },
                 { "2,3,5", "LINEAR", "LINEAR=1,TRANS_TABLE=2,MULTI_LEVEL=4" },
                 { "2,3,4,6", "LINEAR", "LINEAR=1,TRANS_TABLE=2,DIGITAL=3,STD_THERMISTOR=5" },
                 { "2", "DIGITAL", "LINEAR=1" }, { "2", " LINEAR ", "LINEAR=1" }, { "", "DIGITAL", all },
                 { "2, 3", "DIGITAL", all }, { "3,2", "DIGITAL", all } }) {
            const auto named = TestSupport::failureNamesRow(QStringLiteral("%1 / %2").arg(choice, stored));
            Harness h;
            QVERIFY(h.open(1, SnvtTempP, QStringLiteral("UCPTinputSignalInterpretation=") + stored,
                MEASUREMENT_SYSTEM_SI, choice));
            QCOMPARE(items(h.combo("cboInput")), offered);
            const bool notListed = !offered.contains(QString(stored).trimmed() + "=");
            QCOMPARE(h.control->ValueChanged(), notListed);
            h.sim->clearCallLog();
            QCOMPARE(h.control->WriteValue(), false);
            QCOMPARE(h.sim->callCount() > 0, notListed);
            QCOMPARE(h.stored("UCPTinputSignalInterpretation"),
                notListed ? offered.section('=', 0, 0) : QString(stored).trimmed());
        }
    }

    // Each failure is reported at once and initialisation goes on; the control
    // ends initialised.
    void failuresAreReportedAndPassedOver()
    {
        // With no open catalog the look-up and the closing fail too. Without
        // interpretations their list cannot be built; without any enumeration no
        // list is built and nothing read.
        for (const auto &[operation, once, messages] :
            { std::tuple {
                  "ResourceCatalog.OpenCatalog", true, "Injected|The handle 0 is not open.|The handle 0 is not open." },
                { "TypeService.GetEnumCollection", true, "Injected|Object variable not set" },
                { "TypeService.GetEnumCollection", false, "Injected|Injected|Injected" } }) {
            const auto named = TestSupport::failureNamesRow(QStringLiteral("%1 once %2").arg(operation).arg(once));
            Harness h;
            QVERIFY(h.open(1, SnvtTempP, {}, MEASUREMENT_SYSTEM_SI, "", false));
            // Before initialisation a unit system is only stored.
            h.sim->clearCallLog();
            h.control->setMesureUnit(MEASUREMENT_SYSTEM_US);
            QCOMPARE(h.sim->callCount(), 0);
            h.control->setMesureUnit(MEASUREMENT_SYSTEM_SI);
            h.sim->failOperation(
                operation, DeviceAccess::DeviceError::ObjectErrorBase + 12, once, QString(), "Injected");
            h.control->ZovezuVavevaInit();

            QCOMPARE(h.events.join('|'),
                "ZovezuVavevaInit 16: " + QString(messages).split('|').join("|ZovezuVavevaInit 16: "));
            QCOMPARE(h.seams.messageCount(), h.events.size());
            QCOMPARE(h.seams.messages().first().title, QStringLiteral("Hardware Properties ZovezuVavevaInit"));
            // Only when the signal types fail too is nothing read.
            QCOMPARE(h.combo("cboTherm")->count() > 0, once);
            QCOMPARE(h.shown("txtMin").isEmpty(), !once);
            QVERIFY(!h.control->ValueChanged());
            // Initialised in every case: a new unit system reads the values again.
            h.sim->clearFaults();
            h.sim->clearCallLog();
            h.control->setMesureUnit(MEASUREMENT_SYSTEM_US);
            QVERIFY(h.sim->callCount() > 0);
        }
    }

    // However many device calls fail for want of a library, one public operation
    // makes one report (none from a write after an edit).
    void withoutDeviceLibrary()
    {
        for (const QString operation : { "ZovezuVavevaInit", "FillHardwareValues", "WriteValue" }) {
            const auto named = TestSupport::failureNamesRow(operation);
            Harness h;
            QVERIFY(h.open(1, SnvtTempP, {}, MEASUREMENT_SYSTEM_SI, "", operation != "ZovezuVavevaInit"));
            h.events.clear();
            DeviceAccess::install(nullptr);
            if (operation == "ZovezuVavevaInit")
                h.control->ZovezuVavevaInit();
            else if (operation == "FillHardwareValues")
                h.control->FillHardwareValues();
            else
                QVERIFY(h.edit("txtMin", "5") && !h.control->WriteValue());
            QCOMPARE(h.events,
                operation == "WriteValue" ? QStringList()
                                          : QStringList { operation + " 16: No device library is installed." });
            QCOMPARE(h.seams.messageCount(), h.events.size());
        }
    }

    // The signal types offered after the interpretations chosen in turn, and the
    // one selected.
    void signalTypesPerInterpretation()
    {
        const QString all = QStringLiteral("RESISTANCE=0,VOLTAGE_0_10V=1,MILIAMPS_4_20MA=2");
        // A thermistor offers only the first type, selected though another type is
        // stored; set-point offset keeps the list as it was; DISCONNECTED hides it.
        for (const auto &[chosen, offered, stored] : { std::tuple { QStringList { "LINEAR" }, all, "RESISTANCE" },
                 { { "STD_THERMISTOR" }, "RESISTANCE=0", "RESISTANCE" },
                 { { "STD_THERMISTOR" }, "RESISTANCE=0", "MILIAMPS_4_20MA" },
                 { { "STD_THERMISTOR", "SETPOINT_OFFSET" }, "RESISTANCE=0", "RESISTANCE" },
                 { { "LINEAR", "SETPOINT_OFFSET" }, all, "RESISTANCE" },
                 { { "DISCONNECTED" }, "hidden", "RESISTANCE" } }) {
            const auto named = TestSupport::failureNamesRow(chosen.join(',') + ", stored " + stored);
            Harness h;
            QVERIFY(h.open(1, SnvtTempP,
                QStringLiteral("UCPTinputSignalInterpretation=TRANS_TABLE;"
                               "UCPTinputSignalType=")
                    + stored));
            for (const QString &interpretation : chosen)
                QVERIFY2(h.choose(interpretation), qPrintable(interpretation));
            QComboBox *list = h.combo("cboSignal");
            QCOMPARE(list->isHidden() ? QStringLiteral("hidden") : items(list), offered);
            if (!list->isHidden())
                QCOMPARE(list->currentText(), QStringLiteral("RESISTANCE"));
        }
    }

    // The block's version arrives through the control's NodeObject, as a host
    // hands it over, rounded half to even; the thermistor list follows it:
    // positions 1, 2, 3, 4, 7, 8, 13, 25 (version 2) or 1, 3, 4, 8, 13, 25 of an
    // enumeration from 0.
    void objectVersionRoundsToEven()
    {
        const QString second = "0,1,2,3,6,7,12,24";
        for (const auto &[stored, version, thermistorTypes] :
            { std::tuple { "1.5", 2, second }, { "2.5", 2, second }, { "1.4", 1, "0,2,3,7,12,24" } }) {
            const auto named = TestSupport::failureNamesRow(stored);
            Harness h;
            QVERIFY(h.open(1, SnvtTempP, QStringLiteral("SCPTobjMajVer=") + stored));
            QCOMPARE(int(MKorvane::ObjMajorVersion()), version);
            QCOMPARE(items(h.combo("cboTherm"), false), thermistorTypes);
        }
    }
};

QTEST_MAIN(tst_hardware_init)
#include "tst_hardware_init.moc"
