// SPDX-License-Identifier: MIT
// Format names for the measurement system, the number helpers with the numeric check of
// typed values, and an enumeration list from the catalog.
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

    // A name splits into prefix (up to the first "."), base name and suffix (from the first "#"
    // after the prefix); the suffix follows the measurement system, with a difference format
    // for exactly three temperature types.
    void formatNames_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("system");
        QTest::addColumn<QString>("parts"); // prefix|base|suffix
        QTest::addColumn<QString>("longFormat");
        QTest::addColumn<QString>("diffFormat");
        const auto row
            = [](const QString &name, int system, const char *parts, const QString &full, const QString &diff) {
                  QTest::addRow("%s %d", qPrintable(name), system) << name << system << parts << full << diff;
              };
        row("", 1, "||", "", "");
        row("SNVT_temp_p", 1, "|SNVT_temp_p|", "SNVT_temp_p", "SNVT_temp_p");
        row(Prefix + "SNVT_temp_p#SI", 1, "#9FFFFF0501840460[3].|SNVT_temp_p|#SI", Prefix + "SNVT_temp_p#US",
            Prefix + "SNVT_temp_p#US_diff");
        row("#A[1].x.y#SI", 1, "#A[1].|x.y|#SI", "#A[1].x.y#US", "#A[1].x.y#US");
        row("t#US#diff", 0, "|t|#US#diff", "t#US#diff", "t#US#diff");
        row("SNVT_temp#us", 0, "|SNVT_temp|#us", "SNVT_temp#SI", "SNVT_temp#SI");
        row("SNVT_temp_f#US_DIFF", 1, "|SNVT_temp_f|#US_DIFF", "SNVT_temp_f#US", "SNVT_temp_f#US_diff");
        row("SNVT_temp_diff_p#SI", 1, "|SNVT_temp_diff_p|#SI", "SNVT_temp_diff_p#US", "SNVT_temp_diff_p#US");
    }
    void formatNames()
    {
        QFETCH(QString, name);
        QFETCH(int, system);
        QFETCH(QString, parts);
        QFETCH(QString, longFormat);
        QFETCH(QString, diffFormat);
        QString prefix = "stale", base = "stale", suffix = "stale", gotDiff, gotLong, errMsg;
        QVERIFY(SplitFormatName(name, prefix, base, suffix));
        QCOMPARE(prefix + "|" + base + "|" + suffix, parts);
        QVERIFY(AdjustFormatForUnits(name, qint16(system), gotDiff, gotLong, errMsg));
        QCOMPARE(gotLong, longFormat);
        QCOMPARE(gotDiff, diffFormat);
    }
    // Texts to numbers and back, in a locale that would group digits if asked to; a typed text
    // that is not a number is refused with a plain box. Under a decimal comma a number the
    // device wrote (a point) still reads as that number.
    void numbers_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("numeric");
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("shortest"); // NumberText(value)
        const auto row
            = [](const char *text, bool numeric, double value, const char *shortest, const char *locale = "en_US") {
                  QTest::addRow("%s '%s'", locale, text) << locale << text << numeric << value << shortest;
              };
        row("  7.5  ", true, 7.5, "7.5");
        row("1e3", true, 1000.0, "1000");
        row("100000", true, 100000.0, "100000");
        row("0.0001", true, 0.0001, "0.0001");
        row("999999999999999", true, 999999999999999.0, "999999999999999");
        row("1e15", true, 1e15, "1E+15");
        row("0.00005", true, 0.00005, "5E-05");
        row("", false, 0.0, "0");
        row("12abc", false, 0.0, "0");
        row("0.5", true, 0.5, "0,5", "de_DE");
        row("-12.25", true, -12.25, "-12,25", "de_DE");
        row("7,5", true, 7.5, "7,5", "de_DE");
    }
    void numbers()
    {
        QFETCH(QString, locale);
        QFETCH(QString, text);
        QFETCH(bool, numeric);
        QFETCH(double, value);
        QFETCH(QString, shortest);
        const QLocale previous;
        QLocale::setDefault(QLocale(locale));
        const auto restore = qScopeGuard([&] { QLocale::setDefault(previous); });
        QCOMPARE(IsNumeric(text), numeric);
        QCOMPARE(Val(text), value);
        QCOMPARE(NumberText(value), shortest);
        QCOMPARE(Val(shortest), value);
        TestSupport::SeamRecorder seams;
        QCOMPARE(ValidateNumeric(text), numeric);
        QCOMPARE(seams.messageTexts(), numeric ? QStringList() : QStringList { "Invalid value for this field" });
        for (const auto &box : seams.messages())
            QVERIFY(box.style == vbOKOnly && box.title.isEmpty());
    }
    // What the user sees follows the user's locale; what goes to the device is in the C locale,
    // and a number typed with the user's decimal comma reaches the device with a point.
    void deviceNumbers_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("device"); // DeviceValueText(typed)
        QTest::addColumn<QString>("shown"); // the device's number as German shows it; empty: not a number
        QTest::addColumn<QString>("written"); // the device's number from DeviceNumberText
        const auto row = [](const char *typed, const char *device, const char *shown, const char *written) {
            QTest::addRow("'%s'", typed) << typed << device << shown << written;
        };
        row("0,5", "0.5", "0,5", "0.5");
        row(" -1,25 ", "-1.25", "-1,25", "-1.25");
        row("100000,5", "100000.5", "100000,5", "100000.5");
        // A plain C-locale number goes as typed, even one that German would read with grouping.
        row("1.5", "1.5", "1,5", "1.5");
        row("1.500", "1.500", "1,5", "1.5");
        row("1e15", "1e15", "1E+15", "1e+15");
        // Anything else goes as typed: a grouped number, a name, a structure.
        row("1.234,5", "1.234,5", "", "");
        row("LINEAR", "LINEAR", "", "");
        row("1 2", "1 2", "", "");
    }
    void deviceNumbers()
    {
        QFETCH(QString, typed);
        QFETCH(QString, device);
        QFETCH(QString, shown);
        QFETCH(QString, written);
        const QLocale previous;
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        const auto restore = qScopeGuard([&] { QLocale::setDefault(previous); });
        QCOMPARE(DeviceValueText(typed), device);
        double value = 0;
        QCOMPARE(ParseDeviceNumber(device, value), !shown.isEmpty());
        if (shown.isEmpty())
            return;
        QCOMPARE(NumberText(value), shown);
        QCOMPARE(DeviceNumberText(value), written);
    }
    // A converted value shows with the fewest digits that convert back to the stored value
    // exactly; a device that keeps 12 significant digits (as the simulated one does) gives
    // the noise that this removes.
    void shortestExactText_data()
    {
        QTest::addColumn<double>("stored"); // as the device keeps it
        QTest::addColumn<double>("scale"); // shown = stored * scale + offset
        QTest::addColumn<double>("offset");
        QTest::addColumn<bool>("twelveDigits"); // the device's conversions keep 12 digits
        QTest::addColumn<QString>("shown");
        const auto twelve = [](double v) { return QString::number(v, 'g', 12).toDouble(); };
        const auto row = [&](const char *name, double shownValue, double scale, double offset, const char *shown) {
            QTest::newRow(name) << twelve((shownValue - offset) / scale) << scale << offset << true << shown;
        };
        row("US difference 1.9", 1.9, 1.8, 0, "1.9");
        row("US difference -3.7", -3.7, 1.8, 0, "-3.7");
        row("US difference 0.05", 0.05, 1.8, 0, "0.05");
        row("US temperature 70.1", 70.1, 1.8, 32, "70.1");
        row("US temperature 70.123", 70.123, 1.8, 32, "70.123");
        row("SI 1.9", 1.9, 1, 0, "1.9");
        // A device that converts in full precision: a third of a kelvin is 0.6 °F.
        QTest::newRow("full precision, a third") << 1.0 / 3 << 1.8 << 0.0 << false << "0.6";
        // No text of up to 15 digits gives 0.30000000000000004 back: rounded to 15 digits.
        QTest::newRow("no exact text: 15 digits") << 0.1 + 0.2 << 1.0 << 0.0 << false << "0.3";
    }
    void shortestExactText()
    {
        QFETCH(double, stored);
        QFETCH(double, scale);
        QFETCH(double, offset);
        QFETCH(bool, twelveDigits);
        QFETCH(QString, shown);
        const auto kept = [&](double v) { return twelveDigits ? QString::number(v, 'g', 12).toDouble() : v; };
        const auto toStored = [&](double value) { return kept((value - offset) / scale); };
        QCOMPARE(ShortestExactText(kept(stored * scale + offset), stored, toStored), shown);
    }

    void enumCollectionFillsCombo()
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
        QCOMPARE(
            items, QStringList({ "OC_NUL=-1", "OC_OCCUPIED=0", "OC_UNOCCUPIED=1", "OC_BYPASS=2", "OC_STANDBY=3" }));
        QCOMPARE(combo.currentIndex(), -1);
        QCOMPARE(changes.count(), 0);
        QVERIFY(errMsg.isEmpty());

        // An enumeration node whose members the catalog does not know.
        QVERIFY(!GetFormatEnumCollection(std::make_shared<UnknownEnumeration>(), programId, isEnum, members, errMsg));
        QCOMPARE(errMsg, QStringLiteral("Failed to find out enum collection for foramt: UNVT_gone."));
    }
    // Exact texts only: another letter case, blanks or nothing selected give no unit.
    void signalUnit()
    {
        const QStringList types { "VOLTAGE_0_10V", "MILIAMPS_4_20MA", "RESISTANCE", "resistance", " VOLTAGE_0_10V",
            "" };
        QStringList units;
        for (const QString &type : types)
            units << type + "=" + GetSignalUnit(type);
        QCOMPARE(units,
            QStringList({ "VOLTAGE_0_10V=V", "MILIAMPS_4_20MA=mA", "RESISTANCE=K Ohm",
                "resistance=", " VOLTAGE_0_10V=", "=" }));
    }
};

QTEST_MAIN(tst_units)
#include "tst_units.moc"
