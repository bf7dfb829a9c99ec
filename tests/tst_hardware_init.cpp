// SPDX-License-Identifier: MIT
// Initialising the hardware control: the lists built from the catalog's enumerations
// (interpretations per Choice, thermistor types per object version, signal types per
// interpretation) and how failures during initialisation are reported and passed over.
#include "tst_hardware_harness.h"

using namespace HardwareTest;

namespace {

// The interpretations of the sample's catalog, by 1-based position (values 0..6).
const QStringList interpretations
    = { "DISCONNECTED", "LINEAR", "TRANS_TABLE", "DIGITAL", "MULTI_LEVEL", "STD_THERMISTOR", "SETPOINT_OFFSET" };

QStringList itemTexts(const QComboBox *combo)
{
    QStringList texts;
    for (int i = 0; i < combo->count(); ++i)
        texts.append(combo->itemText(i));
    return texts;
}

} // namespace

class tst_hardware_init : public QObject
{
    Q_OBJECT

private slots:
    void interpretationsOffered_data();
    void interpretationsOffered();
    void thermistorTypes_data();
    void thermistorTypes();
    void signalTypesFollowInterpretation_data();
    void signalTypesFollowInterpretation();
    void failuresAreReportedAndPassedOver_data();
    void failuresAreReportedAndPassedOver();
};

void tst_hardware_init::interpretationsOffered_data()
{
    QTest::addColumn<QString>("choice");
    QTest::addColumn<QList<int>>("positions");

    QTest::newRow("2") << "2" << QList<int> { 2 };
    QTest::newRow("2,3,6") << "2,3,6" << QList<int> { 2, 3, 6 };
    QTest::newRow("2,3,7") << "2,3,7" << QList<int> { 2, 3, 7 };
    QTest::newRow("2,3") << "2,3" << QList<int> { 2, 3 };
    QTest::newRow("2,4") << "2,4" << QList<int> { 2, 4 };
    QTest::newRow("4") << "4" << QList<int> { 4 };
    QTest::newRow("2,3,5") << "2,3,5" << QList<int> { 2, 3, 5 };
    QTest::newRow("5") << "5" << QList<int> { 5 };
    QTest::newRow("2,3,4,6") << "2,3,4,6" << QList<int> { 2, 3, 4, 6 };
    QTest::newRow("empty: all") << "" << QList<int> { 1, 2, 3, 4, 5, 6, 7 };
    QTest::newRow("blanks: all") << "2, 3" << QList<int> { 1, 2, 3, 4, 5, 6, 7 };
    QTest::newRow("other order: all") << "3,2" << QList<int> { 1, 2, 3, 4, 5, 6, 7 };
}

void tst_hardware_init::interpretationsOffered()
{
    QFETCH(QString, choice);
    QFETCH(QList<int>, positions);

    Harness h;
    QVERIFY2(h.sim.isLoaded(), qPrintable(h.sim.errorString()));
    const BlockRef block = findBlock(*h.sim.network(), 1, SnvtTempP);
    QVERIFY(block.isValid());
    h.place(block, MEASUREMENT_SYSTEM_SI, choice);

    const QComboBox *input = h.combo("cboInput");
    QStringList expected;
    for (int position : positions)
        expected.append(interpretations.at(position - 1));
    QCOMPARE(itemTexts(input), expected);
    // Item data is the enumeration value: position - 1 in this catalog.
    for (int i = 0; i < positions.size(); ++i)
        QCOMPARE(input->itemData(i).toInt(), positions.at(i) - 1);
    QCOMPARE(h.control->ColEnumSignal()->Count(), 7);
}

void tst_hardware_init::thermistorTypes_data()
{
    QTest::addColumn<int>("version");
    QTest::addColumn<QList<int>>("values");

    // Positions 1, 2, 3, 4, 7, 8, 13, 25 and 1, 3, 4, 8, 13, 25 of an enumeration that starts at 0.
    QTest::newRow("version 2: eight types") << 2 << QList<int> { 0, 1, 2, 3, 6, 7, 12, 24 };
    QTest::newRow("version 1: six types") << 1 << QList<int> { 0, 2, 3, 7, 12, 24 };
}

void tst_hardware_init::thermistorTypes()
{
    QFETCH(int, version);
    QFETCH(QList<int>, values);

    Harness h;
    const BlockRef block = findBlock(*h.sim.network(), version, SnvtTempP);
    QVERIFY(block.isValid());
    h.place(block);

    const QComboBox *therm = h.combo("cboTherm");
    QList<int> shown;
    for (int i = 0; i < therm->count(); ++i)
        shown.append(therm->itemData(i).toInt());
    QCOMPARE(shown, values);
    QCOMPARE(therm->itemText(0), QStringLiteral("NTC_10K_TYPE2"));
    QCOMPARE(therm->itemText(therm->count() - 1), QStringLiteral("LG_NI1000"));
}

void tst_hardware_init::signalTypesFollowInterpretation_data()
{
    QTest::addColumn<QString>("interpretation");
    QTest::addColumn<QStringList>("signalTypes");
    QTest::addColumn<bool>("visible");

    const QStringList all = { "VOLTAGE_0_10V", "MILIAMPS_4_20MA", "RESISTANCE" };
    QTest::newRow("linear: all") << "LINEAR" << all << true;
    QTest::newRow("thermistor: the first only") << "STD_THERMISTOR" << QStringList { "VOLTAGE_0_10V" } << true;
    // Set-point offset keeps what the list held before (the thermistor's single type).
    QTest::newRow("set-point offset: unchanged") << "SETPOINT_OFFSET" << QStringList { "VOLTAGE_0_10V" } << true;
    QTest::newRow("disconnected: hidden, unchanged") << "DISCONNECTED" << QStringList { "VOLTAGE_0_10V" } << false;
}

void tst_hardware_init::signalTypesFollowInterpretation()
{
    QFETCH(QString, interpretation);
    QFETCH(QStringList, signalTypes);
    QFETCH(bool, visible);

    Harness h;
    const BlockRef block = findBlock(*h.sim.network(), 1, SnvtTempP);
    QVERIFY(block.isValid());
    h.place(block);
    QVERIFY(h.choose("STD_THERMISTOR"));
    QVERIFY(h.choose(interpretation));

    const QComboBox *signal = h.combo("cboSignal");
    QCOMPARE(itemTexts(signal), signalTypes);
    QCOMPARE(signal->itemData(0).toInt(), 0);
    QCOMPARE(!signal->isHidden(), visible);
}

void tst_hardware_init::failuresAreReportedAndPassedOver_data()
{
    QTest::addColumn<QString>("operation");
    QTest::addColumn<bool>("once");
    QTest::addColumn<QStringList>("messages");
    QTest::addColumn<bool>("valuesRead");

    const QString injected = "Injected";
    // Each failure on its own line, at once: the look-up and the closing with no open catalog fail too.
    QTest::newRow("catalog cannot be opened")
        << "ResourceCatalog.OpenCatalog" << true
        << QStringList { injected, "The handle 0 is not open.", "The handle 0 is not open." } << true;
    // No interpretations: their list cannot be built, the rest goes on.
    QTest::newRow("interpretations missing")
        << "TypeService.GetEnumCollection" << true << QStringList { injected, "Object variable not set" } << true;
    // No signal types: nothing is built or read, yet the control ends initialised.
    QTest::newRow("every enumeration missing")
        << "TypeService.GetEnumCollection" << false << QStringList { injected, injected, injected } << false;
}

void tst_hardware_init::failuresAreReportedAndPassedOver()
{
    QFETCH(QString, operation);
    QFETCH(bool, once);
    QFETCH(QStringList, messages);
    QFETCH(bool, valuesRead);

    Harness h;
    const BlockRef block = findBlock(*h.sim.network(), 1, SnvtTempP);
    QVERIFY(block.isValid());
    h.place(block, MEASUREMENT_SYSTEM_SI, QString(), false);
    h.sim->failOperation(operation, DeviceAccess::DeviceError::ObjectErrorBase + 12, once, QString(), "Injected");
    h.control->ZovezuVavevaInit();

    QStringList reported;
    for (const MessageEventRecord &event : h.events) {
        QCOMPARE(event.functionName, QStringLiteral("ZovezuVavevaInit"));
        QCOMPARE(event.typeIndex, 16);
        reported.append(event.message);
    }
    QCOMPARE(reported.join(" / "), messages.join(" / "));
    QCOMPARE(h.seams.messageCount(), messages.size());
    QCOMPARE(h.seams.messages().first().title, QStringLiteral("Hardware Properties ZovezuVavevaInit"));
    // The hourglass is shown while initialising and the pointer restored afterwards.
    QVERIFY(h.seams.pointerSequence().contains(11));
    QCOMPARE(h.seams.currentPointer(), 0);

    QCOMPARE(h.box("txtMin")->text().isEmpty(), !valuesRead);
    QVERIFY(!h.control->ValueChanged());
    // Initialised in every case: a new unit system reads the values again.
    h.sim->clearFaults();
    h.sim->clearCallLog();
    h.control->setMesureUnit(MEASUREMENT_SYSTEM_US);
    QVERIFY(h.sim->callCount() > 0);
}

QTEST_MAIN(tst_hardware_init)
#include "tst_hardware_init.moc"
