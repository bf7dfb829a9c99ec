// SPDX-License-Identifier: MIT
// Format names for the measurement system, the number helpers, the numeric check of
// typed values and an enumeration list from the catalog.
#include "device/sim/SimModel.h"
#include "shared/Formats.h"
#include "shared/Numbers.h"
#include "shared/ProcessState.h"
#include "shared/Seams.h"
#include "shared/Units.h"
#include "support/SeamRecorder.h"
#include "support/SimFixture.h"

#include <QComboBox>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QtTest>

using namespace MKorvane;

namespace {

const QString Prefix = QStringLiteral("#9FFFFF0501840460[3].");

// An enumeration that no resource set defines.
struct UnknownEnumeration : DeviceAccess::TypeTreeNode
{
    qint32 Kind() const override { return DeviceAccess::BaseKindEnumeration; }
    QString Name() const override { return QStringLiteral("UNVT_gone"); }
    qint32 UnitIndex() const override { return 0; }
    double Scope() const override { return 3; }
    double TypeIndex() const override { return 77; }
    double LowestValue() const override { return 0; }
    double HighestValue() const override { return 2; }
};

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
    void numbers_data();
    void numbers();
    void validateNumeric();
    void enumCollectionFillsCombo();
    void signalUnit_data();
    void signalUnit();
};

void tst_units::splitFormatName_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QStringList>("parts");

    QTest::newRow("empty") << "" << QStringList { "", "", "" };
    QTest::newRow("bare") << "SNVT_temp_p" << QStringList { "", "SNVT_temp_p", "" };
    QTest::newRow("absolute") << Prefix + "SNVT_temp_p#US" << QStringList { Prefix, "SNVT_temp_p", "#US" };
    // The prefix ends at the first "." and its own "#" does not start the suffix.
    QTest::newRow("two dots") << "#A[1].x.y#SI" << QStringList { "#A[1].", "x.y", "#SI" };
    QTest::newRow("suffix from the first #") << "t#US#diff" << QStringList { "", "t", "#US#diff" };
}

void tst_units::splitFormatName()
{
    QFETCH(QString, name);
    QFETCH(QStringList, parts);
    QString prefix = "stale", base = "stale", suffix = "stale";
    QVERIFY(SplitFormatName(name, prefix, base, suffix));
    QCOMPARE(QStringList({ prefix, base, suffix }), parts);
}

void tst_units::adjustFormatForUnits_data()
{
    QTest::addColumn<QString>("format");
    QTest::addColumn<int>("system");
    QTest::addColumn<QString>("longFormat");
    QTest::addColumn<QString>("diffFormat");

    QTest::newRow("SI to US, temperature") << "SNVT_temp_p#SI" << 1 << "SNVT_temp_p#US"
                                           << "SNVT_temp_p#US_diff";
    QTest::newRow("lower-case US to SI") << "SNVT_temp#us" << 0 << "SNVT_temp#SI"
                                         << "SNVT_temp#SI";
    QTest::newRow("diff suffix is a plain one") << "SNVT_temp_f#US_DIFF" << 1 << "SNVT_temp_f#US"
                                                << "SNVT_temp_f#US_diff";
    QTest::newRow("no suffix keeps none") << "SNVT_temp_p" << 1 << "SNVT_temp_p"
                                          << "SNVT_temp_p";
    QTest::newRow("other suffix stays") << "SNVT_temp_p#XX" << 0 << "SNVT_temp_p#XX"
                                        << "SNVT_temp_p#XX";
    // Only the three exact type names get a difference format.
    QTest::newRow("similar name") << "SNVT_temp_diff_p#SI" << 1 << "SNVT_temp_diff_p#US"
                                  << "SNVT_temp_diff_p#US";
    QTest::newRow("absolute") << Prefix + "SNVT_temp_p#SI" << 1 << Prefix + "SNVT_temp_p#US"
                              << Prefix + "SNVT_temp_p#US_diff";
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
}

// Texts to numbers and back, in a locale that would group digits if asked to.
void tst_units::numbers_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("numeric");
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("shortest"); // NumberText(value)

    QTest::newRow("blanks around") << "  7.5  " << true << 7.5 << "7.5";
    QTest::newRow("exponent") << "1e3" << true << 1000.0 << "1000";
    QTest::newRow("100000 written out") << "100000" << true << 100000.0 << "100000";
    QTest::newRow("0.0001 written out") << "0.0001" << true << 0.0001 << "0.0001";
    QTest::newRow("negative") << "-2.25" << true << -2.25 << "-2.25";
    QTest::newRow("just below 1e15") << "999999999999999" << true << 999999999999999.0 << "999999999999999";
    QTest::newRow("1e15 as exponent") << "1e15" << true << 1e15 << "1E+15";
    QTest::newRow("below 1e-4 as exponent") << "0.00005" << true << 0.00005 << "5E-05";
    QTest::newRow("empty") << "" << false << 0.0 << "0";
    QTest::newRow("trailing text") << "12abc" << false << 0.0 << "0";
}

void tst_units::numbers()
{
    QFETCH(QString, text);
    QFETCH(bool, numeric);
    QFETCH(double, value);
    QFETCH(QString, shortest);

    const QLocale previous;
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    const auto restore = qScopeGuard([&] { QLocale::setDefault(previous); });
    QCOMPARE(IsNumeric(text), numeric);
    QCOMPARE(Val(text), value);
    QCOMPARE(NumberText(value), shortest);
    QCOMPARE(Val(shortest), value);
}

void tst_units::validateNumeric()
{
    TestSupport::SeamRecorder seams;
    QVERIFY(ValidateNumeric(" 12.5 "));
    QCOMPARE(seams.messageCount(), 0);
    QVERIFY(!ValidateNumeric(""));
    QVERIFY(!ValidateNumeric("twelve"));
    QCOMPARE(seams.messageTexts(), QStringList(2, "Invalid value for this field"));
    QCOMPARE(seams.messages().first().style, vbOKOnly);
    QCOMPARE(seams.messages().first().title, QString());
}

void tst_units::enumCollectionFillsCombo()
{
    TestSupport::SimFixture sim(QStringLiteral("mkorvane-network.json"));
    QVERIFY2(sim.isLoaded(), qPrintable(sim.errorString()));
    const QString programId = QStringLiteral("9000A53D0A040410");
    DeviceAccess::TypeTreeNodePtr node;
    QString errMsg;
    QVERIFY(GetTypeTreeNode(programId, 0, 109, node, errMsg));

    sim->clearCallLog();
    bool isEnum = false;
    DeviceAccess::EnumCollectionPtr members;
    QVERIFY(GetFormatEnumCollection(node, programId, isEnum, members, errMsg));
    QVERIFY(isEnum);
    // The node's fields are read one after the other, in this order, before the members are asked for.
    QStringList calls;
    for (const Sim::CallRecord &call : sim->callLog())
        calls << call.operation + "(" + call.arguments.join(',') + ")";
    QCOMPARE(calls.filter(QRegularExpression("Scope|TypeIndex|Value|GetEnumCollection")),
        QStringList({ "TypeTreeNode.Scope(SNVT_occupancy)", "TypeTreeNode.TypeIndex(SNVT_occupancy)",
            "TypeTreeNode.LowestValue(SNVT_occupancy)", "TypeTreeNode.HighestValue(SNVT_occupancy)",
            "TypeService.GetEnumCollection(" + programId + ",0,109,-1,3)" }));

    // Filling selects nothing and raises no change, though Qt selects a first item added.
    QComboBox combo;
    combo.addItem(QStringLiteral("left over"));
    QSignalSpy changes(&combo, &QComboBox::currentIndexChanged);
    QVERIFY(FillComboFromCollection(&combo, members, errMsg));
    QStringList items;
    for (int i = 0; i < combo.count(); ++i)
        items << combo.itemText(i) + QLatin1Char('=') + combo.itemData(i, Qt::UserRole).toString();
    QCOMPARE(items, QStringList({ "OC_NUL=-1", "OC_OCCUPIED=0", "OC_UNOCCUPIED=1", "OC_BYPASS=2", "OC_STANDBY=3" }));
    QCOMPARE(combo.currentIndex(), -1);
    QCOMPARE(changes.count(), 0);
    QVERIFY(errMsg.isEmpty());

    // An enumeration node whose members the catalog does not know.
    QVERIFY(!GetFormatEnumCollection(std::make_shared<UnknownEnumeration>(), programId, isEnum, members, errMsg));
    QCOMPARE(errMsg, QStringLiteral("Failed to find out enum collection for foramt: UNVT_gone."));
}

void tst_units::signalUnit_data()
{
    QTest::addColumn<QString>("signalType");
    QTest::addColumn<QString>("unit");
    QTest::newRow("voltage") << "VOLTAGE_0_10V"
                             << "V";
    QTest::newRow("current") << "MILIAMPS_4_20MA"
                             << "mA";
    QTest::newRow("resistance") << "RESISTANCE"
                                << "K Ohm";
    QTest::newRow("letter case counts") << "resistance"
                                        << "";
    QTest::newRow("blanks count") << " VOLTAGE_0_10V"
                                  << "";
    QTest::newRow("none selected") << ""
                                   << "";
}

void tst_units::signalUnit()
{
    QFETCH(QString, signalType);
    QFETCH(QString, unit);
    QCOMPARE(GetSignalUnit(signalType), unit);
}

QTEST_MAIN(tst_units)
#include "tst_units.moc"
