// SPDX-License-Identifier: MIT
// Format names for the measurement system, the number helpers with the numeric check of
// typed values, an enumeration list from the catalog; display strings and messages: the
// placeholder builder, the table lookup, the reload rule of the language service, the ErrMsg
// appending rule and the reporting to the host.
#include "device/sim/SimModel.h"
#include "shared/Formats.h"
#include "shared/Numbers.h"
#include "shared/ProcessState.h"
#include "shared/Seams.h"
#include "shared/Strings.h"
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
const QString Builder = QStringLiteral("Messages GetStrings");

void installTable(const QList<QPair<QString, QString>> &entries)
{
    auto table = std::make_shared<DeviceAccess::StringCollection>();
    for (const auto &entry : entries)
        table->Add(entry.second, entry.first);
    processState().displayStrings = table;
}

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
    // for exactly three temperature types. Each row: name, system, "prefix|base|suffix", long
    // format, difference format.
    void formatNames()
    {
        const QStringList rows = { "|1|||||", "SNVT_temp_p|1||SNVT_temp_p||SNVT_temp_p|SNVT_temp_p",
            Prefix + "SNVT_temp_p#SI|1|" + Prefix + "|SNVT_temp_p|#SI|" + Prefix + "SNVT_temp_p#US|" + Prefix
                + "SNVT_temp_p#US_diff",
            "#A[1].x.y#SI|1|#A[1].|x.y|#SI|#A[1].x.y#US|#A[1].x.y#US", "t#US#diff|0||t|#US#diff|t#US#diff|t#US#diff",
            "SNVT_temp#us|0||SNVT_temp|#us|SNVT_temp#SI|SNVT_temp#SI",
            "SNVT_temp_f#US_DIFF|1||SNVT_temp_f|#US_DIFF|SNVT_temp_f#US|SNVT_temp_f#US_diff",
            "SNVT_temp_diff_p#SI|1||SNVT_temp_diff_p|#SI|SNVT_temp_diff_p#US|SNVT_temp_diff_p#US" };
        QStringList got;
        for (const QString &row : rows) {
            const QString name = row.section('|', 0, 0);
            QString prefix = "stale", base = "stale", suffix = "stale", diff, full, errMsg;
            QVERIFY(SplitFormatName(name, prefix, base, suffix));
            QVERIFY(AdjustFormatForUnits(name, qint16(row.section('|', 1, 1).toInt()), diff, full, errMsg));
            got << QStringList { name, row.section('|', 1, 1), prefix, base, suffix, full, diff }.join('|');
        }
        QCOMPARE(got, rows);
    }
    // Texts to numbers and back, in a locale that would group digits if asked to; a typed text
    // that is not a number is refused with a plain box. Under a decimal comma a number the
    // device wrote (a point) still reads as that number.
    void numbers()
    {
        const std::tuple<const char *, const char *, bool, double, const char *> rows[]
            = { { "en_US", "  7.5  ", true, 7.5, "7.5" }, { "en_US", "1e3", true, 1000.0, "1000" },
                  { "en_US", "100000", true, 100000.0, "100000" }, { "en_US", "0.0001", true, 0.0001, "0.0001" },
                  { "en_US", "999999999999999", true, 999999999999999.0, "999999999999999" },
                  { "en_US", "1e15", true, 1e15, "1E+15" }, { "en_US", "0.00005", true, 0.00005, "5E-05" },
                  { "en_US", "", false, 0.0, "0" }, { "en_US", "12abc", false, 0.0, "0" },
                  { "de_DE", "0.5", true, 0.5, "0,5" }, { "de_DE", "-12.25", true, -12.25, "-12,25" },
                  { "de_DE", "7,5", true, 7.5, "7,5" } };
        const QLocale previous;
        const auto restore = qScopeGuard([&] { QLocale::setDefault(previous); });
        for (const auto &[locale, text, numeric, value, shortest] : rows) {
            QLocale::setDefault(QLocale(locale));
            const QString row = QStringLiteral("%1 '%2'").arg(locale, text);
            QVERIFY2(IsNumeric(text) == numeric && Val(text) == value, qPrintable(row));
            QVERIFY2(
                NumberText(value) == shortest && Val(shortest) == value, qPrintable(row + ": " + NumberText(value)));
            TestSupport::SeamRecorder seams;
            QVERIFY2(ValidateNumeric(text) == numeric, qPrintable(row));
            QCOMPARE(seams.messageTexts(), numeric ? QStringList() : QStringList { "Invalid value for this field" });
            for (const auto &box : seams.messages())
                QVERIFY(box.style == vbOKOnly && box.title.isEmpty());
        }
    }
    // What the user sees follows the user's locale; what goes to the device is in the C locale,
    // and a number typed with the user's decimal comma reaches the device with a point. Each
    // row: typed, DeviceValueText(typed), the device's number as German shows it (empty: not a
    // number) and as DeviceNumberText writes it.
    void deviceNumbers()
    {
        const QStringList rows
            = { "0,5|0.5|0,5|0.5", " -1,25 |-1.25|-1,25|-1.25", "100000,5|100000.5|100000,5|100000.5",
                  // A plain C-locale number goes as typed, even one that German would read with grouping.
                  "1.5|1.5|1,5|1.5", "1.500|1.500|1,5|1.5", "1e15|1e15|1E+15|1e+15",
                  // Anything else goes as typed: a grouped number, a name, a structure.
                  "1.234,5|1.234,5||", "LINEAR|LINEAR||", "1 2|1 2||" };
        const QLocale previous;
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        const auto restore = qScopeGuard([&] { QLocale::setDefault(previous); });
        QStringList got;
        for (const QString &row : rows) {
            const QString typed = row.section('|', 0, 0), device = DeviceValueText(typed);
            double value = 0;
            const bool number = ParseDeviceNumber(device, value);
            got << QStringList { typed, device, number ? NumberText(value) : "", number ? DeviceNumberText(value) : "" }
                       .join('|');
        }
        QCOMPARE(got, rows);
    }
    // A converted value shows with the fewest digits that convert back to the stored value
    // exactly; a device that keeps 12 significant digits (as the simulated one does) gives
    // the noise that this removes.
    void shortestExactText()
    {
        const auto twelve = [](double v) { return QString::number(v, 'g', 12).toDouble(); };
        // shown, scale and offset (shown = stored * scale + offset), the text
        const std::tuple<double, double, double, const char *> rows[]
            = { { 1.9, 1.8, 0, "1.9" }, { -3.7, 1.8, 0, "-3.7" }, { 0.05, 1.8, 0, "0.05" }, { 70.1, 1.8, 32, "70.1" },
                  { 70.123, 1.8, 32, "70.123" }, { 1.9, 1, 0, "1.9" } };
        for (const auto &[shown, scale, offset, text] : rows) {
            const double stored = twelve((shown - offset) / scale);
            const auto toStored
                = [&, offset = offset, scale = scale](double value) { return twelve((value - offset) / scale); };
            QCOMPARE(ShortestExactText(twelve(stored * scale + offset), stored, toStored), QLatin1String(text));
        }
        // A device that converts in full precision: a third of a kelvin is 0.6 °F.
        QCOMPARE(ShortestExactText(1.0 / 3 * 1.8, 1.0 / 3, [](double v) { return v / 1.8; }), QStringLiteral("0.6"));
        // No text of up to 15 digits gives 0.30000000000000004 back: rounded to 15 digits.
        QCOMPARE(ShortestExactText(0.1 + 0.2, 0.1 + 0.2, [](double v) { return v; }), QStringLiteral("0.3"));
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
        QStringList units;
        for (const char *type :
            { "VOLTAGE_0_10V", "MILIAMPS_4_20MA", "RESISTANCE", "resistance", " VOLTAGE_0_10V", "" })
            units << GetSignalUnit(QLatin1String(type));
        QCOMPARE(units, QStringList({ "V", "mA", "K Ohm", "", "", "" }));
    }

    // Each row: the message, its parameters, the text built and the titles of the boxes shown.
    void getStrings()
    {
        const std::tuple<const char *, QVariantList, const char *, QStringList> rows[] = {
            { "%s3%-%s1%-%s2%", { "a", 2, "c" }, "c-a-2", {} }, // numbered, any order
            { "%s% then %S%", { "a", "b" }, "a then b", {} }, // positional, upper-case S
            { "definition: %s%", {}, "definition: %s%", {} }, // no parameters keep the placeholder
            { "value %sunit", { "5" }, "value 5unit", {} }, // a bare %s keeps the text after
            // Pieces after the last parameter's placeholder are not used.
            { "%s% of %s%", { "a" }, "a of ", {} }, { "only %s%", { "a", "b" }, "only a", { Builder } },
            { "x %s9% y", { "a" }, "x ", { Builder } }, // a number above the parameters
            { "<%s40000%>", { "a" }, "<", { "GetIndexOrder", Builder } } // too large for the index
        };
        for (const auto &[message, params, expected, boxTitles] : rows) {
            TestSupport::SeamRecorder seams;
            QCOMPARE(GetStrings(message, params), QLatin1String(expected));
            QStringList titles;
            for (const auto &box : seams.messages()) {
                titles << box.title;
                QCOMPARE(box.style, vbCritical);
            }
            QCOMPARE(titles, boxTitles);
        }
    }

    // Keys are trimmed and upper-cased; parameters go through the table too.
    void translation()
    {
        installTable({ { "FORMAT NAME", "Formatname" }, { "CANNOT OPEN '%S%'!", "'%s%' nicht lesbar!" },
            { "%S2% BEFORE %S1%", "%s1% nach %s2%" } });
        QCOMPARE(GetLanguageString("  format name  "), QStringLiteral("Formatname"));
        QCOMPARE(GetLanguageString("  Not In Table "), QStringLiteral("  Not In Table "));
        QCOMPARE(GetStrings("Cannot open '%s%'!", { " format name " }), QStringLiteral("'Formatname' nicht lesbar!"));
        // The translation decides the order of the numbered placeholders.
        QCOMPARE(GetStrings("%s2% before %s1%", { "a", "b" }), QStringLiteral("a nach b"));
    }

    void loadLanguageStringsOnlyAfterAChange()
    {
        TestSupport::SimFixture sim(QStringLiteral("mkorvane-network.json"));
        QVERIFY2(sim.isLoaded(), qPrintable(sim.errorString()));
        sim->setLanguage(QStringLiteral("de"));
        sim->setStringsChangeTime(QDateTime::currentDateTime().addSecs(-60));
        sim->clearCallLog();
        const auto fetches = [&] { return sim->callCount("LanguageService.GetApplicationStrings"); };

        LoadLanguageStrings();
        QCOMPARE(GetLanguageString("format name"), QStringLiteral("Formatname"));
        LoadLanguageStrings();
        QCOMPARE(fetches(), 1);

        // Two switches back to back, then two loads: the first load fetches, the second not.
        sim->setLanguage(QStringLiteral("en"));
        sim->setLanguage(QStringLiteral("de"));
        LoadLanguageStrings();
        LoadLanguageStrings();
        QCOMPARE(fetches(), 2);

        sim->setStringsChangeTime(QDateTime::currentDateTime().addSecs(3600));
        LoadLanguageStrings();
        QCOMPARE(fetches(), 3);

        // A failing service keeps the table it had, quietly.
        sim->setStringsChangeTime(QDateTime::currentDateTime().addSecs(7200));
        sim->failOperation("LanguageService.GetApplicationStrings", DeviceAccess::DeviceError::ObjectErrorBase + 77);
        TestSupport::SeamRecorder seams;
        LoadLanguageStrings();
        QCOMPARE(GetLanguageString("format name"), QStringLiteral("Formatname"));
        QCOMPARE(seams.messageCount(), 0);
    }

    // Lines are joined by CR LF; an empty first line leaves nothing to join to.
    void appendErrMsg()
    {
        QStringList joined;
        for (const QStringList &lines :
            { QStringList { "a", "b", "c" }, QStringList { "", "b" }, QStringList { "a", "" } }) {
            QString errMsg;
            for (const QString &line : lines)
                AppendErrMsg(errMsg, line);
            joined << errMsg;
        }
        QCOMPARE(joined, QStringList({ "a\r\nb\r\nc", "b", "a\r\n" }));
    }

    // A non-empty ErrMsg raises the event; the box comes only when the host leaves it.
    void reportError()
    {
        TestSupport::SeamRecorder seams;
        QStringList raised;
        bool hostTakesIt = true;
        const auto raise = [&](const QString &message, const QString &module, const QString &function, qint32 style,
                               bool &isReceived) {
            raised << QStringLiteral("%1|%2|%3|%4|%5").arg(message, module, function).arg(style).arg(isReceived);
            isReceived = hostTakesIt;
        };
        ReportError("a\r\nb", "Hardware Properties", "ReadValues", raise);
        ReportError("", "Hardware Properties", "ReadValues", raise);
        QCOMPARE(seams.messageCount(), 0);
        hostTakesIt = false;
        ReportError("a\r\nb", "Hardware Properties", "ReadValues", raise);
        QCOMPARE(raised, QStringList(2, "a\r\nb|Hardware Properties|ReadValues|16|0"));
        QCOMPARE(seams.messageTexts(), QStringList { "a\r\nb" });
        QCOMPARE(seams.messages().first().title, QStringLiteral("Hardware Properties ReadValues"));
        QCOMPARE(seams.messages().first().style, vbCritical);
    }
};

QTEST_MAIN(tst_units)
#include "tst_units.moc"
