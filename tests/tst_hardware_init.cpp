// SPDX-License-Identifier: MIT
// Initialising the hardware control: the lists built from the catalog's enumerations
// (interpretations per Choice, thermistor types per object version) and how failures
// during initialisation are reported and passed over.
#include "tst_hardware_harness.h"

using namespace HardwareTest;

class tst_hardware_init : public QObject
{
    Q_OBJECT

private slots:
    void interpretationsOffered_data();
    void interpretationsOffered();
    void thermistorTypes();
    void failuresAreReportedAndPassedOver_data();
    void failuresAreReportedAndPassedOver();
};

void tst_hardware_init::interpretationsOffered_data()
{
    QTest::addColumn<QString>("choice");
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("offered"); // "text=item data,..."

    const auto row = [](const char *choice, const char *stored, const QString &offered) {
        QTest::newRow(qPrintable(QString("%1 / %2").arg(choice, stored))) << choice << stored << offered;
    };
    row("2", "LINEAR", "LINEAR=1");
    row("2,3,6", "LINEAR", "LINEAR=1,TRANS_TABLE=2,STD_THERMISTOR=5");
    row("2,3,7", "LINEAR", "LINEAR=1,TRANS_TABLE=2,SETPOINT_OFFSET=6");
    row("2,3", "LINEAR", "LINEAR=1,TRANS_TABLE=2");
    row("2,4", "LINEAR", "LINEAR=1,DIGITAL=3");
    row("4", "LINEAR", "DIGITAL=3");
    row("2,3,5", "LINEAR", "LINEAR=1,TRANS_TABLE=2,MULTI_LEVEL=4");
    row("5", "LINEAR", "MULTI_LEVEL=4");
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
void tst_hardware_init::interpretationsOffered()
{
    QFETCH(QString, choice);
    QFETCH(QString, stored);
    QFETCH(QString, offered);

    Harness h;
    QVERIFY(h.open(1, SnvtTempP, "UCPTinputSignalInterpretation=" + stored, MEASUREMENT_SYSTEM_SI, choice));
    QStringList items;
    for (int i = 0; i < h.combo("cboInput")->count(); ++i)
        items << h.combo("cboInput")->itemText(i) + "=" + h.combo("cboInput")->itemData(i).toString();
    QCOMPARE(items.join(','), offered);
    const bool notListed = !offered.contains(stored.trimmed() + "=");
    QCOMPARE(h.control->ValueChanged(), notListed);
    h.sim->clearCallLog();
    QCOMPARE(h.control->WriteValue(), false);
    QCOMPARE(h.sim->callCount() > 0, notListed);
    QCOMPARE(h.stored("UCPTinputSignalInterpretation"), notListed ? offered.section('=', 0, 0) : stored.trimmed());
}

void tst_hardware_init::thermistorTypes()
{
    // Positions 1, 2, 3, 4, 7, 8, 13, 25 (version 2) or 1, 3, 4, 8, 13, 25 of an enumeration from 0.
    for (const QString expected : { "v2: 0,1,2,3,6,7,12,24", "v1: 0,2,3,7,12,24" }) {
        Harness h;
        QVERIFY(h.open(expected.mid(1, 1).toInt()));
        QStringList values;
        for (int i = 0; i < h.combo("cboTherm")->count(); ++i)
            values.append(h.combo("cboTherm")->itemData(i).toString());
        QCOMPARE(expected.left(4) + values.join(','), expected);
    }
}

void tst_hardware_init::failuresAreReportedAndPassedOver_data()
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

void tst_hardware_init::failuresAreReportedAndPassedOver()
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

QTEST_MAIN(tst_hardware_init)
#include "tst_hardware_init.moc"
