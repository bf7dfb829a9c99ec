// SPDX-License-Identifier: MIT
// Format names for the measurement system, the numeric helpers, the numeric check of
// typed values, signal units and an enumeration list from the catalog.
#include "device/sim/SimModel.h"
#include "shared/Formats.h"
#include "shared/Numbers.h"
#include "shared/ProcessState.h"
#include "shared/Seams.h"
#include "shared/Units.h"
#include "support/SeamRecorder.h"
#include "support/SimFixture.h"

#include <QComboBox>
#include <QtTest>

using namespace MKorvane;

namespace {

const QString Prefix = QStringLiteral("#9FFFFF0501840460[3].");

} // namespace

class tst_units : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { resetForTests(); }

    void splitFormatName_data();
    void splitFormatName();
    void adjustFormatForUnits_data();
    void adjustFormatForUnits();
    void isNumeric_data();
    void isNumeric();
    void roundToInteger_data();
    void roundToInteger();
    void validateNumeric_data();
    void validateNumeric();
    void signalUnit_data();
    void signalUnit();
    void enumCollectionFillsCombo();
};

void tst_units::splitFormatName_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("prefix");
    QTest::addColumn<QString>("base");
    QTest::addColumn<QString>("suffix");

    QTest::newRow("empty") << ""
                           << ""
                           << ""
                           << "";
    QTest::newRow("bare") << "SNVT_temp_p"
                          << ""
                          << "SNVT_temp_p"
                          << "";
    QTest::newRow("suffix") << "SNVT_temp_p#US"
                            << ""
                            << "SNVT_temp_p"
                            << "#US";
    QTest::newRow("absolute") << Prefix + "SNVT_temp_p#US" << Prefix << "SNVT_temp_p"
                              << "#US";
    QTest::newRow("absolute, no suffix") << Prefix + "SNVT_lev_percent" << Prefix << "SNVT_lev_percent"
                                         << "";
    // The prefix ends at the first "." and its own "#" does not start the suffix.
    QTest::newRow("two dots") << "#A[1].x.y#SI"
                              << "#A[1]."
                              << "x.y"
                              << "#SI";
    QTest::newRow("suffix from first #") << "t#US#diff"
                                         << ""
                                         << "t"
                                         << "#US#diff";
    QTest::newRow("only #") << "#"
                            << ""
                            << ""
                            << "#";
}

void tst_units::splitFormatName()
{
    QFETCH(QString, name);
    QFETCH(QString, prefix);
    QFETCH(QString, base);
    QFETCH(QString, suffix);
    QString gotPrefix = "stale", gotBase = "stale", gotSuffix = "stale";
    QVERIFY(SplitFormatName(name, gotPrefix, gotBase, gotSuffix));
    QCOMPARE(gotPrefix, prefix);
    QCOMPARE(gotBase, base);
    QCOMPARE(gotSuffix, suffix);
}

void tst_units::adjustFormatForUnits_data()
{
    QTest::addColumn<QString>("format");
    QTest::addColumn<int>("system");
    QTest::addColumn<QString>("longFormat");
    QTest::addColumn<QString>("diffFormat");

    QTest::newRow("SI stays SI") << "SNVT_temp_p#SI" << 0 << "SNVT_temp_p#SI"
                                 << "SNVT_temp_p#SI";
    QTest::newRow("SI to US, temperature") << "SNVT_temp_p#SI" << 1 << "SNVT_temp_p#US"
                                           << "SNVT_temp_p#US_diff";
    QTest::newRow("US to SI") << "SNVT_temp#US" << 0 << "SNVT_temp#SI"
                              << "SNVT_temp#SI";
    QTest::newRow("lower-case suffix") << "SNVT_temp_p#us" << 0 << "SNVT_temp_p#SI"
                                       << "SNVT_temp_p#SI";
    QTest::newRow("diff suffix is a plain one") << "SNVT_temp_p#US_DIFF" << 1 << "SNVT_temp_p#US"
                                                << "SNVT_temp_p#US_diff";
    QTest::newRow("diff suffix in SI") << "SNVT_temp_f#US_diff" << 0 << "SNVT_temp_f#SI"
                                       << "SNVT_temp_f#SI";
    QTest::newRow("temp_f in US") << "SNVT_temp_f#SI" << 1 << "SNVT_temp_f#US"
                                  << "SNVT_temp_f#US_diff";
    QTest::newRow("no suffix keeps none") << "SNVT_lev_percent" << 1 << "SNVT_lev_percent"
                                          << "SNVT_lev_percent";
    QTest::newRow("other suffix stays") << "SNVT_temp_p#XX" << 1 << "SNVT_temp_p#XX"
                                        << "SNVT_temp_p#XX";
    QTest::newRow("non-temperature in US") << "SNVT_press#SI" << 1 << "SNVT_press#US"
                                           << "SNVT_press#US";
    // Only the three exact type names get a difference format.
    QTest::newRow("similar name") << "SNVT_temp_diff_p#SI" << 1 << "SNVT_temp_diff_p#US"
                                  << "SNVT_temp_diff_p#US";
    QTest::newRow("absolute, US") << Prefix + "SNVT_temp_p#SI" << 1 << Prefix + "SNVT_temp_p#US"
                                  << Prefix + "SNVT_temp_p#US_diff";
    QTest::newRow("absolute, SI") << Prefix + "SNVT_temp#US" << 0 << Prefix + "SNVT_temp#SI" << Prefix + "SNVT_temp#SI";
    QTest::newRow("empty") << "" << 1 << ""
                           << "";
}

void tst_units::adjustFormatForUnits()
{
    QFETCH(QString, format);
    QFETCH(int, system);
    QFETCH(QString, longFormat);
    QFETCH(QString, diffFormat);
    QString gotDiff, gotLong, errMsg;
    QVERIFY(AdjustFormatForUnits(format, qint16(system), gotDiff, gotLong, errMsg));
    QCOMPARE(gotLong, longFormat);
    QCOMPARE(gotDiff, diffFormat);
    QVERIFY(errMsg.isEmpty());
}

void tst_units::isNumeric_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("numeric");
    QTest::addColumn<double>("value");

    QTest::newRow("integer") << "42" << true << 42.0;
    QTest::newRow("decimal") << "21.5" << true << 21.5;
    QTest::newRow("blanks") << "  7.5  " << true << 7.5;
    QTest::newRow("exponent") << "1e3" << true << 1000.0;
    QTest::newRow("empty") << "" << false << 0.0;
    QTest::newRow("letters") << "abc" << false << 0.0;
    QTest::newRow("trailing text") << "12abc" << false << 0.0;
    QTest::newRow("infinity") << "inf" << false << 0.0;
    QTest::newRow("not a number") << "nan" << false << 0.0;
}

void tst_units::isNumeric()
{
    QFETCH(QString, text);
    QFETCH(bool, numeric);
    QFETCH(double, value);
    QCOMPARE(IsNumeric(text), numeric);
    QCOMPARE(Val(text), value);
}

void tst_units::roundToInteger_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<int>("rounded");
    QTest::addColumn<bool>("overflow");

    QTest::newRow("1.5 to even 2") << 1.5 << 2 << false;
    QTest::newRow("2.5 to even 2") << 2.5 << 2 << false;
    QTest::newRow("-0.5 to 0") << -0.5 << 0 << false;
    QTest::newRow("upper limit") << 32767.0 << 32767 << false;
    QTest::newRow("lower limit") << -32768.4 << -32768 << false;
    QTest::newRow("above") << 32767.5 << 0 << true;
    QTest::newRow("below") << -32769.0 << 0 << true;
    QTest::newRow("infinite") << qInf() << 0 << true;
}

void tst_units::roundToInteger()
{
    QFETCH(double, value);
    QFETCH(int, rounded);
    QFETCH(bool, overflow);
    try {
        const qint16 result = RoundToInteger(value);
        QVERIFY2(!overflow, "expected an overflow");
        QCOMPARE(int(result), rounded);
    } catch (const DeviceAccess::RuntimeError &error) {
        QVERIFY2(overflow, qPrintable(error.description()));
        QCOMPARE(error.number(), 6);
        QCOMPARE(error.description(), QStringLiteral("Overflow"));
    }
}

void tst_units::validateNumeric_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("valid");

    QTest::newRow("number") << "12.5" << true;
    QTest::newRow("blanks around") << " 3 " << true;
    QTest::newRow("empty") << "" << false;
    QTest::newRow("text") << "twelve" << false;
    QTest::newRow("comma list") << "1,2,3" << false;
}

void tst_units::validateNumeric()
{
    QFETCH(QString, text);
    QFETCH(bool, valid);
    TestSupport::SeamRecorder seams;
    QCOMPARE(ValidateNumeric(text), valid);
    if (valid) {
        QCOMPARE(seams.messageCount(), 0);
        return;
    }
    QCOMPARE(seams.messageCount(), 1);
    QCOMPARE(seams.messages().first().text, QStringLiteral("Invalid value for this field"));
    QCOMPARE(seams.messages().first().style, vbOKOnly);
    QCOMPARE(seams.messages().first().title, QString());
}

void tst_units::signalUnit_data()
{
    QTest::addColumn<QString>("signal");
    QTest::addColumn<QString>("unit");

    QTest::newRow("voltage") << "VOLTAGE_0_10V"
                             << "V";
    QTest::newRow("current") << "MILIAMPS_4_20MA"
                             << "mA";
    QTest::newRow("resistance") << "RESISTANCE"
                                << "K Ohm";
    QTest::newRow("lower case") << "resistance"
                                << "";
    QTest::newRow("blank around") << " RESISTANCE"
                                  << "";
    QTest::newRow("other") << "DIGITAL"
                           << "";
    QTest::newRow("empty") << ""
                           << "";
}

void tst_units::signalUnit()
{
    QFETCH(QString, signal);
    QFETCH(QString, unit);
    QCOMPARE(GetSignalUnit(signal), unit);
}

void tst_units::enumCollectionFillsCombo()
{
    TestSupport::SimFixture sim(QStringLiteral("mkorvane-network.json"));
    QVERIFY2(sim.isLoaded(), qPrintable(sim.errorString()));
    DeviceAccess::TypeTreeNodePtr node;
    QString errMsg;
    QVERIFY(GetTypeTreeNode(QStringLiteral("9000A53D0A040410"), 0, 109, node, errMsg));
    QVERIFY(node);

    sim->clearCallLog();
    bool isEnum = false;
    DeviceAccess::EnumCollectionPtr members;
    QVERIFY(GetFormatEnumCollection(node, QStringLiteral("9000A53D0A040410"), isEnum, members, errMsg));
    QVERIFY(isEnum);
    QVERIFY(members);
    QCOMPARE(sim->callCount("TypeService.GetEnumCollection"), 1);
    for (const Sim::CallRecord &call : sim->callLog()) {
        if (call.operation == QLatin1String("TypeService.GetEnumCollection"))
            QCOMPARE(call.arguments, QStringList({ "9000A53D0A040410", "0", "109", "-1", "3" }));
    }

    QComboBox combo;
    combo.addItem(QStringLiteral("left over"));
    QVERIFY(FillComboFromCollection(&combo, members, errMsg));
    QStringList texts;
    QVariantList data;
    for (int i = 0; i < combo.count(); ++i) {
        texts << combo.itemText(i);
        data << combo.itemData(i, Qt::UserRole);
    }
    QCOMPARE(texts, QStringList({ "OC_NUL", "OC_OCCUPIED", "OC_UNOCCUPIED", "OC_BYPASS", "OC_STANDBY" }));
    QCOMPARE(data, QVariantList({ -1, 0, 1, 2, 3 }));
    QVERIFY(errMsg.isEmpty());

    // No collection empties the list.
    QVERIFY(FillComboFromCollection(&combo, nullptr, errMsg));
    QCOMPARE(combo.count(), 0);
    QVERIFY(errMsg.isEmpty());
}

QTEST_MAIN(tst_units)
#include "tst_units.moc"
