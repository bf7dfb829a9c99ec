// SPDX-License-Identifier: MIT
// The simulated network's values: one stored value read and written in every format of
// the sample's types and in either format locale, refused texts, the network variable's
// type, format ranges and conversions, snapshots and the language switch; the test
// controls; and the sample network as the controls meet it.
#include "device/sim/SimErrors.h"
#include "device/sim/SimResolve.h"
#include "device/sim/SimValues.h"
#include "shared/Formats.h"
#include "shared/MKorvane.h"
#include "support/SimFixture.h"
#include "support/SimTestCase.h"

#include <QElapsedTimer>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QTest>
#include <algorithm>
#include <stdexcept>
#include <tuple>

using namespace DeviceAccess;

namespace {

const QString Controller = QStringLiteral("HWI-Controller 1");
const QString ProgramId = QStringLiteral("9000A53D0A040410");
const QString Abs = QStringLiteral("#9000A53D0A040410[0].");

// A property of the sample's first controller: "<input>/<name>" on the block (HwInput[<input>]),
// "<input>/nv/<name>" on its first network variable.
struct Place
{
    explicit Place(const QString &text)
        : parts(text.split(QLatin1Char('/')))
        , block(QStringLiteral("HwInput[%1]").arg(parts.first()))
        , cp(parts.last())
        , nv(parts.size() == 3)
    {
    }
    ConfigPropertyPtr in(Sim::Network &net) const
    {
        const LonMarkObjectPtr object = net.block(Controller, block);
        return (nv ? object->NetworkVariables()->Item(1)->ConfigProperties() : object->ConfigProperties())->Item(cp);
    }
    QString stored(const Sim::Network &net) const { return net.storedCpText(Controller, block, cp, nv); }

    QStringList parts;
    QString block;
    QString cp;
    bool nv;
};

} // namespace

class TestSim : public TestSupport::SimTestCase
{
    Q_OBJECT

private slots:
    void convert_data();
    void convert();
    void shownNumbersKeepTwelveDigits_data();
    void shownNumbersKeepTwelveDigits();
    void networkVariable();
    void changingNvTypeRefitsInheritingValues();
    void nvTypeTextAsTheLibraryReadsIt_data();
    void nvTypeTextAsTheLibraryReadsIt();
    void formatNamePrefix_data();
    void formatNamePrefix();
    void enumCollectionIsTheCallersOwn();
    void formatRanges_data();
    void formatRanges();
    void formatObjectConverts();
    void languageSwitch();
    void snapshotRestoresExactly();
    void callLog();
    void faults_data();
    void faults();
    void propertyStoresAnotherValue();
    void latency();
    void handleBookkeeping();
    void sampleInputs_data();
    void sampleInputs();

private:
    Sim::Network &net() { return *sim->network(); }
    ConfigPropertyPtr cp(const QString &name)
    {
        return (*sim)->block(Controller, QStringLiteral("HwInput[0]"))->ConfigProperties()->Item(name);
    }
};

// A write in a format, then the stored text and the text shown; or a refused write.
void TestSim::convert_data()
{
    QTest::addColumn<bool>("us"); // the format locale: SI, or US
    QTest::addColumn<QString>("place");
    QTest::addColumn<QString>("format");
    QTest::addColumn<QString>("write"); // empty: only read the file's value
    QTest::addColumn<QString>("stored"); // afterwards, by the test access: SI default in every locale
    QTest::addColumn<QString>("shown"); // afterwards, in the format
    QTest::addColumn<int>("error"); // the write is refused with this error, and nothing changes
    const auto rowIn = [](bool us) {
        return
            [us](const char *name, const char *place, const QString &format, const char *write, const char *stored,
                const char *shown) { QTest::newRow(name) << us << place << format << write << stored << shown << 0; };
    };
    const auto row = rowIn(false);
    const auto us = rowIn(true);
    const auto refused = [](const char *name, const char *place, const char *format, const QString &text, int error) {
        QTest::newRow(name) << false << place << format << text << QString() << QString() << error;
    };

    // Read: the same stored 21.5 in every variant and spelling of the format.
    row("temp_p default", "0/nv/SCPTovrValue", "", "", "21.5", "21.5");
    row("temp_p bare type is SI", "0/nv/SCPTovrValue", "SNVT_temp_p", "", "21.5", "21.5");
    row("temp_p US absolute", "0/nv/SCPTovrValue", Abs + "SNVT_temp_p#US", "", "21.5", "70.7");
    row("temp_p US_diff", "0/nv/SCPTovrValue", "SNVT_temp_p#US_diff", "", "21.5", "38.7");
    row("nvType labelled", "2/nv/SCPTnvType", "", "", "PID 90:00:A5:3D:0A:04:04:10, Scope 0, Index 95",
        "PID 90:00:A5:3D:0A:04:04:10, Scope 0, Index 95");
    row("structure field by field", "12/nv/SCPTovrValue", "SNVT_temp_setpt#US", "", "23.0 25.0 27.0 20.0 18.0 15.0",
        "73.4 77.0 80.6 68.0 64.4 59.0");

    // Write, then read back: stored in SI at the type's resolution.
    row("temp_p US to 0.01 C", "0/SCPTminRnge", "SNVT_temp_p#US", "70", "21.1", "70.0");
    row("temp_p SI lowest", "0/SCPTminRnge", "SNVT_temp_p#SI", "-273.17", "-273.2", "-273.2");
    row("press US psi", "8/SCPTmaxRnge", "SNVT_press#US", "14.5", "100.0", "14.50");
    row("lev_percent resolution", "1/nv/SCPTovrValue", "SNVT_lev_percent", " 12.3456 ", "12.345", "12.345");
    row("switch half steps", "2/nv/SCPTovrValue", "SNVT_switch", "50.3  1", "50.5 1", "50.5 1");
    row("structure fields written", "12/nv/SCPTovrValue", "SNVT_temp_setpt#US", "68 68 77 50 50 32",
        "20.0 20.0 25.0 10.0 10.0 0.0", "68.0 68.0 77.0 50.0 50.0 32.0");
    row("occupancy any case", "3/nv/SCPTovrValue", "SNVT_occupancy", "oc_standby", "OC_STANDBY", "OC_STANDBY");
    row("occupancy by value", "3/nv/UCPTdefaultValue", "SNVT_occupancy", "2", "OC_BYPASS", "OC_BYPASS");
    row("occupancy as number", "3/nv/SCPTsndDelta", "UCPTsignedShort", "0", "OC_OCCUPIED", "0");
    row("offset v1 US_diff", "4/SCPToffset", "SNVT_temp_p#US_diff", "0.9", "0.5", "0.9");
    row("options v1", "4/UCPTioOptions", "UCPTioOptions", "1 0 0 0 0 0 0 1", "1 0 0 0 0 0 0 1", "1 0 0 0 0 0 0 1");
    const char *table = "0 1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16 17 18 19 20 21 22 23 24 25 26 27 28 29 30.5 -31";
    row("transfer table", "0/UCPTtransTable", "UCPTtransTable", table, table, table);

    // In the US locale a format left empty is the US variant, a difference where the property holds one.
    us("US default", "0/SCPTmaxRnge", "", "", "50.0", "122.0");
    us("US default write", "0/SCPTminRnge", "", "50", "10.0", "50.0");
    us("US, SI write named", "0/SCPTminRnge", "SNVT_temp_p#SI", "-5", "-5.0", "-5.0");
    us("US, type without variants", "0/UCPToffset", "", "", "0.5", "0.5");
    us("US, offset is a difference", "4/SCPToffset", "", "", "-1.0", "-1.8");
    us("US, send delta is a difference", "0/nv/SCPTsndDelta", "", "0.9", "0.5", "0.9");

    // Refused texts.
    using namespace Sim::Errors;
    refused("empty", "0/SCPTminRnge", "SNVT_temp_p#SI", "", InvalidValueText);
    refused("decimal comma", "0/SCPTminRnge", "SNVT_temp_p#SI", "21,5", InvalidValueText);
    refused("above range", "0/SCPTminRnge", "SNVT_temp_p#SI", "327.7", ValueOutOfRange);
    refused("below range in US", "0/SCPTminRnge", "SNVT_temp_p#US", "-460", ValueOutOfRange);
    refused("switch one field", "2/nv/SCPTovrValue", "SNVT_switch", "100", InvalidValueText);
    refused("switch above 100", "2/nv/SCPTovrValue", "SNVT_switch", "101 1", ValueOutOfRange);
    refused("no such member", "3/nv/SCPTovrValue", "SNVT_occupancy", "OC_AWAY", InvalidValueText);
    refused("number not a member", "3/nv/SCPTsndDelta", "UCPTsignedShort", "5", ValueOutOfRange);
    refused("member number beyond 32 bits", "3/nv/SCPTovrValue", "SNVT_occupancy", "1e20", InvalidValueText);
    refused("table of 31", "0/UCPTtransTable", "UCPTtransTable", QStringLiteral(" 0").repeated(31).mid(1),
        InvalidValueText);
    refused("structure in number format", "2/nv/SCPTovrValue", "SNVT_temp_p#SI", "21.5", FormatDoesNotFit);
    refused("unknown format", "0/SCPTminRnge", "SNVT_temp_p#EU", "1", UnknownFormat);
    refused("unknown nv type", "0/nv/SCPTnvType", "SCPTnvType", "90 00 A5 3D 0A 04 04 10 0 999", UnknownResource);
}

void TestSim::convert()
{
    QFETCH(bool, us);
    QFETCH(QString, place);
    QFETCH(QString, format);
    QFETCH(QString, write);
    QFETCH(QString, stored);
    QFETCH(QString, shown);
    QFETCH(int, error);
    net().setFormatLocale(us ? 1 : 0);
    const Place where(place);
    const ConfigPropertyPtr prop = where.in(net());
    if (error) {
        const QString before = where.stored(net());
        try {
            prop->setFormat(format);
            prop->setValueText(write);
            QFAIL("the text was taken");
        } catch (const DeviceError &refusal) {
            QCOMPARE(refusal.number(), error);
            QVERIFY(!refusal.isQuiet());
            QVERIFY(!refusal.description().isEmpty());
        }
        QCOMPARE(where.stored(net()), before);
        return;
    }
    prop->setFormat(format);
    QCOMPARE(prop->Format(), format);
    if (!write.isEmpty())
        prop->setValueText(write);
    QCOMPARE(where.stored(net()), stored);
    QCOMPARE(prop->ValueText(), shown);
}

// A number shown in a format keeps the twelve significant digits the device keeps:
// the noise of binary arithmetic goes, whole numbers of up to twelve digits stay exact,
// longer ones round. The reference is the text of twelve digits read back.
void TestSim::shownNumbersKeepTwelveDigits_data()
{
    QTest::addColumn<double>("stored");
    QTest::addColumn<double>("scale");
    QTest::addColumn<double>("offset");
    QTest::newRow("binary noise") << 0.1 << 1.0 << 0.2;
    QTest::newRow("Fahrenheit") << 21.1 << 1.8 << 32.0;
    QTest::newRow("twelve-digit whole number") << 999999999999.0 << 1.0 << 0.0;
    QTest::newRow("thirteen-digit whole number") << 1000000000001.0 << 1.0 << 0.0;
    QTest::newRow("half below 10^12") << -123456789012.5 << 1.0 << 0.0;
    QTest::newRow("beyond exact integers") << 9007199254740993.0 << 3.0 << 0.0;
    QTest::newRow("tiny") << 1.234567890123456e-300 << 1.0 << 0.0;
    QTest::newRow("negative zero") << -0.0 << 1.0 << 0.0;
}

void TestSim::shownNumbersKeepTwelveDigits()
{
    QFETCH(double, stored);
    QFETCH(double, scale);
    QFETCH(double, offset);
    Sim::FormatDef format;
    format.scale = scale;
    format.offset = offset;
    const double expected = QString::number(stored * scale + offset, 'g', 12).toDouble();
    QCOMPARE(QString::number(Sim::toDisplay(stored, format), 'g', 17), QString::number(expected, 'g', 17));
}

void TestSim::networkVariable()
{
    const NetworkVariablePtr nv = net().block(Controller, QStringLiteral("HwInput[0]"))->NetworkVariables()->Item(1);
    // Its default format follows the format locale as a property's does.
    net().setFormatLocale(1);
    QCOMPARE(nv->ValueText(), QStringLiteral("70.7"));
    QVERIFY_THROWS_EXCEPTION(std::invalid_argument, net().setFormatLocale(2));
    QCOMPARE(net().formatLocale(), qint16(1));

    nv->setName(QStringLiteral("nvoLobbyTemp"));
    QVERIFY_THROWS_EXCEPTION(DeviceError, nv->setName(QStringLiteral("  ")));
    QCOMPARE(nv->Name(), QStringLiteral("nvoLobbyTemp"));
    QCOMPARE(nv->ProgrammaticName(), QStringLiteral("nvoHwInput[0]"));

    // The file's single-digit SCPTnvType ("90 0 A5 3D A 4 4 10 0 81") names the same program ID.
    QCOMPARE(net().block(Controller, QStringLiteral("HwInput[1]"))->NetworkVariables()->Item(1)->ValueText(),
        QStringLiteral("45.500"));
    QVERIFY_THROWS_EXCEPTION(DeviceError, nv->ConfigProperties()->Item(QStringLiteral("SCPTnothing")));
}

void TestSim::changingNvTypeRefitsInheritingValues()
{
    const Place nvType(QStringLiteral("0/nv/SCPTnvType"));
    const Place max(QStringLiteral("0/SCPTmaxRnge"));
    // Percent keeps 0..50 (it fits), a switch cannot hold them; both layouts are written.
    nvType.in(net())->setValueText(QStringLiteral("90 0 A5 3D A 4 4 10 0 81"));
    QCOMPARE(max.stored(net()), QStringLiteral("50.000"));
    nvType.in(net())->setValueText(QStringLiteral("PID 90:00:A5:3D:0A:04:04:10, Scope 0, Index 95"));
    QCOMPARE(max.stored(net()), QStringLiteral("0.0 0"));
    QCOMPARE(Place(QStringLiteral("0/nv/SCPTovrValue")).stored(net()), QStringLiteral("0.0 0"));
}

void TestSim::nvTypeTextAsTheLibraryReadsIt_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("plain") << "90 00 A5 3D 0A 04 04 10 0 105" << true;
    QTest::newRow("labelled, one short byte") << "PID 9,i 0,x 105" << true;
    QTest::newRow("plain, fields after the index") << "90 00 A5 3D 0A 04 04 10 0 105 7 x" << true;
    QTest::newRow("plain, index rounded") << "90 00 A5 3D 0A 04 04 10 0 104.6" << true;
    QTest::newRow("plain, two blanks") << "90 00 A5 3D 0A 04 04 10 0  105" << false;
    QTest::newRow("labelled, two blanks") << "PID 90:00:A5:3D:0A:04:04:10, Scope  0, Index 105" << false;
    QTest::newRow("labelled, no index") << "PID 90:00:A5:3D:0A:04:04:10, Scope 0" << false;
    QTest::newRow("empty") << "" << false;
}

// The device takes exactly the SCPTnvType texts that the library's ParseNvTypeValue reads.
void TestSim::nvTypeTextAsTheLibraryReadsIt()
{
    QFETCH(QString, text);
    QFETCH(bool, accepted);
    qint32 scope = 0, index = 0;
    QString programId, errMsg;
    QCOMPARE(MKorvane::ParseNvTypeValue(text, scope, programId, index, errMsg), accepted);
    const Place nvType(QStringLiteral("0/nv/SCPTnvType"));
    bool written = true;
    try {
        nvType.in(net())->setValueText(text);
    } catch (const DeviceError &) {
        written = false;
    }
    QCOMPARE(written, accepted);
    QCOMPARE(nvType.stored(net()), accepted ? text : QStringLiteral("90 00 A5 3D 0A 04 04 10 0 105"));
}

void TestSim::formatNamePrefix_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("absolute");
    QTest::addColumn<QString>("programId");
    QTest::addColumn<int>("scope");
    QTest::addColumn<QString>("name");
    const auto bare
        = [](const char *row, const QString &text) { QTest::newRow(row) << text << false << "" << 0 << text; };
    QTest::newRow("absolute") << "#9000a53d0a040410[3].SNVT_temp_p#SI" << true << "9000A53D0A040410" << 3
                              << "SNVT_temp_p#SI";
    QTest::newRow("negative scope") << "#AbC[-2].x" << true << "ABC" << -2 << "x";
    QTest::newRow("empty name") << "#ABC[3]." << true << "ABC" << 3 << "";
    QTest::newRow("name beyond ASCII") << "#ABC[1].temp °F" << true << "ABC" << 1 << "temp °F";
    bare("no program ID", "#[3].x");
    bare("no scope", "#ABC[].x");
    bare("sign without digits", "#ABC[-].x");
    bare("not hexadecimal", "#ABG[3].x");
    bare("no dot", "#ABC[3]x");
    bare("line break in the name", "#ABC[3].a\nb");
    bare("bare name", "SNVT_temp_p");
}

// Absolute format names, "#<program ID>[<scope>].<name>", split alike whether or not their
// text is plain ASCII.
void TestSim::formatNamePrefix()
{
    QFETCH(QString, text);
    const Sim::FormatName split = Sim::splitFormatName(text);
    QTEST(split.absolute, "absolute");
    QTEST(split.programId, "programId");
    QTEST(int(split.scope), "scope");
    QTEST(split.name, "name");
}

// Each call hands out a collection of its own: what one caller removes, the next still gets.
void TestSim::enumCollectionIsTheCallersOwn()
{
    const auto members = [&] {
        return typeService().GetEnumCollection((*sim)->programId(Controller), (*sim)->scope(Controller), 16, 0, 2);
    };
    const EnumCollectionPtr first = members();
    QVERIFY(first && first->Count() > 1);
    const int count = first->Count();
    const QString firstName = first->Item(1)->Name();
    first->Remove(1);
    const EnumCollectionPtr second = members();
    QCOMPARE(second->Count(), count);
    QCOMPARE(second->Item(1)->Name(), firstName);
    QVERIFY(second->Contains(firstName));
    QVERIFY(!first->Contains(firstName));
}

void TestSim::formatRanges_data()
{
    QTest::addColumn<QString>("format");
    QTest::addColumn<bool>("exists");
    QTest::addColumn<double>("minimum");
    QTest::addColumn<double>("maximum");

    QTest::newRow("temp_p US") << Abs + "SNVT_temp_p#US" << true << -459.706 << 621.788;
    QTest::newRow("press US") << "SNVT_press#US" << true << -475.2597 << 475.2452;
    QTest::newRow("occupancy") << "SNVT_occupancy" << true << -1.0 << 3.0;
    QTest::newRow("switch") << "SNVT_switch" << false << 0.0 << 0.0;
}

void TestSim::formatRanges()
{
    QFETCH(QString, format);
    QFETCH(bool, exists);
    QFETCH(double, minimum);
    QFETCH(double, maximum);
    QString errMsg;
    double low = 0, high = 0;
    bool has = !exists;
    formatCatalog().GetFormatInfo(ProgramId, format, errMsg, nullptr)->GetRangeNode()->GetRange(low, high, has);
    QCOMPARE(has, exists);
    QVERIFY(errMsg.isEmpty());
    if (exists)
        QVERIFY2(qAbs(low - minimum) < 1e-3 && qAbs(high - maximum) < 1e-3,
            qPrintable(QString("%1 to %2").arg(low).arg(high)));
}

void TestSim::formatObjectConverts()
{
    const QString diff = Abs + QStringLiteral("SNVT_temp_p#US_diff");
    const FormatObjectPtr format = formatService().GetFormat(diff, ProgramId);
    QCOMPARE(format->ConvertToDisplay(0.5, diff), 0.9);
    QCOMPARE(format->ConvertFromDisplay(0.9, diff), 0.5);
    QCOMPARE(format->ConvertToDisplay(-1.0, QString()), -1.8); // its own format
    QCOMPARE(format->ConvertFromDisplay(14.50377377, QStringLiteral("SNVT_press#US")), 100.0);
    QVERIFY_THROWS_EXCEPTION(DeviceError, formatService().GetFormat(QStringLiteral("SNVT_nothing"), ProgramId));
}

void TestSim::languageSwitch()
{
    const QString app = QStringLiteral("VkZovezuVaveva");
    QCOMPARE(net().languages(), (QStringList { "en", "de" }));
    // (Change times of switches back to back: tst_units, loadLanguageStringsOnlyAfterAChange.)
    net().setLanguage(QStringLiteral("de"));
    QVERIFY_THROWS_EXCEPTION(std::invalid_argument, net().setLanguage(QStringLiteral("fr")));
    QCOMPARE(net().language(), QStringLiteral("de"));

    const StringCollectionPtr german = languageService().GetApplicationStrings(app);
    QCOMPARE(german->Item(QStringLiteral("CANNOT OPEN DRF CATALOG!")),
        QStringLiteral("Der DRF-Katalog kann nicht geöffnet werden!"));
    // Every translation of the sample keeps the placeholders of its English key, in any order.
    const QJsonObject strings = QJsonDocument::fromJson(net().toJson())["languages"][1]["strings"][app].toObject();
    const auto placeholders = [](const QString &text) {
        QStringList found;
        for (auto it = QRegularExpression(QStringLiteral("%[sS]\\d?%")).globalMatch(text); it.hasNext();)
            found.append(it.next().captured().toLower());
        found.sort();
        return found;
    };
    for (auto it = strings.begin(); it != strings.end(); ++it)
        QCOMPARE(placeholders(it.value().toString()), placeholders(it.key()));
    QCOMPARE(german->Count(), strings.size());

    // Unit texts follow the language ("sec" is "s"); one missing in it comes in English.
    const qint32 catalog = resourceCatalog().OpenCatalog(true, QString());
    for (const auto &[scope, unit, expected] : { std::tuple(0, 7, "s"), std::tuple(3, 3, "K Ohm") }) {
        const qint32 texts = languageFileService().OpenLanguageFile(
            resourceCatalog().GetLanguageFilePath(catalog, ProgramId, 0, scope));
        QCOMPARE(languageFileService().GetLanguageText(texts, unit), QString::fromUtf8(expected));
        resourceCatalog().CloseResourceFile(texts);
    }
    resourceCatalog().CloseCatalog(catalog);
}

// A snapshot puts back every stored value, the run-time formats and the variable's name
// and type (whose change refits other values), but not the journal.
void TestSim::snapshotRestoresExactly()
{
    const Place min(QStringLiteral("0/SCPTminRnge"));
    const ConfigPropertyPtr prop = min.in(net());
    const NetworkVariablePtr nv = net().block(Controller, min.block)->NetworkVariables()->Item(1);
    const QByteArray before = net().toJson();
    const QVector<Sim::PropertyReading> readings = net().readings(Controller, min.block);
    const QString nvText = nv->ValueText();
    const Sim::Snapshot snapshot = net().snapshot();

    prop->setFormat(QStringLiteral("SNVT_temp_p#US"));
    prop->setValueText(QStringLiteral("41"));
    Place(QStringLiteral("0/nv/SCPTnvType")).in(net())->setValueText(QStringLiteral("90 0 A5 3D A 4 4 10 0 95"));
    nv->setName(QStringLiteral("nvoRenamed"));
    QVERIFY(net().toJson() != before);

    net().restore(snapshot);
    QCOMPARE(net().toJson(), before);
    QCOMPARE(net().readings(Controller, min.block), readings);
    QCOMPARE(prop->Format(), QString());
    QCOMPARE(nv->ValueText(), nvText);
    QCOMPARE(net().callCount(QStringLiteral("NetworkVariable.setName")), 1);
    QVERIFY_THROWS_EXCEPTION(std::invalid_argument, TestSupport::SimFixture().network()->restore(snapshot));
}

// The test controls: the call log, injected faults, latency and resource-handle bookkeeping.
// Every device call is logged with its arguments, failed ones (injected or refused) with
// their error; an injected fault comes before the call's effect.
void TestSim::callLog()
{
    Sim::Network &net = *sim->network();
    const ConfigPropertyPtr min = cp(QStringLiteral("SCPTminRnge"));
    const auto stored
        = [&] { return net.storedCpText(Controller, QStringLiteral("HwInput[0]"), QStringLiteral("SCPTminRnge")); };
    net.failOperation(QStringLiteral("ConfigProperty.setFormat"), 77, true);
    net.failOperation(QStringLiteral("ConfigProperty.setValueText"), 78, true, QStringLiteral("SCPTminRnge"));
    net.clearCallLog();
    QVERIFY_THROWS_EXCEPTION(DeviceError, min->setFormat(QStringLiteral("SNVT_temp_p#US"))); // injected
    QVERIFY_THROWS_EXCEPTION(DeviceError, min->setValueText(QStringLiteral("41"))); // injected
    QCOMPARE(min->Format(), QString());
    QCOMPARE(stored(), QStringLiteral("0.0"));
    min->setFormat(QStringLiteral("SNVT_temp_p#US")); // the faults were for one call each
    QVERIFY_THROWS_EXCEPTION(DeviceError, min->setValueText(QStringLiteral("abc"))); // refused
    min->setValueText(QStringLiteral("41"));
    QCOMPARE(stored(), QStringLiteral("5.0"));
    QVERIFY_THROWS_EXCEPTION(DeviceError, min->setFormat(QStringLiteral("SNVT_temp_p#EU")));
    resourceCatalog().CloseCatalog(resourceCatalog().OpenCatalog(true, QString()));

    QStringList log;
    for (const Sim::CallRecord &call : net.callLog()) {
        log << call.operation + QLatin1Char('(') + call.arguments.join(QLatin1Char('|')) + QLatin1Char(')')
                + (call.error ? QStringLiteral(" %1").arg(call.error) : QString());
        QCOMPARE(call.errorDescription.isEmpty(), call.error == 0);
    }
    QCOMPARE(log,
        (QStringList { "ConfigProperty.setFormat(SCPTminRnge|SNVT_temp_p#US) 77",
            "ConfigProperty.setValueText(SCPTminRnge|41) 78", "ConfigProperty.Format(SCPTminRnge)",
            "ConfigProperty.setFormat(SCPTminRnge|SNVT_temp_p#US)",
            QStringLiteral("ConfigProperty.setValueText(SCPTminRnge|abc) %1").arg(Sim::Errors::InvalidValueText),
            "ConfigProperty.setValueText(SCPTminRnge|41)",
            QStringLiteral("ConfigProperty.setFormat(SCPTminRnge|SNVT_temp_p#EU) %1").arg(Sim::Errors::UnknownFormat),
            "ResourceCatalog.OpenCatalog(True|)", "ResourceCatalog.CloseCatalog(1)" }));

    // Host-side lookups and test access are not device calls; switched-off logging records nothing.
    net.block(Controller, QStringLiteral("HwInput[1]"));
    net.setLogging(false);
    min->ValueText();
    QCOMPARE(net.callCount(), 9);
    net.setLogging(true);
    min->ValueText();
    QCOMPARE(net.callCount(QStringLiteral("ConfigProperty.ValueText")), 1);
    net.clearCallLog();
    QVERIFY(net.callLog().isEmpty());
}

void TestSim::faults_data()
{
    QTest::addColumn<int>("nth"); // > 0: failCall, < 0: failFromCall(-nth), 0: failOperation
    QTest::addColumn<QString>("operation");
    QTest::addColumn<QString>("objectName");
    QTest::addColumn<bool>("once");
    QTest::addColumn<QString>("description"); // empty: the default one names the operation
    QTest::addColumn<QString>("failed"); // one mark per read of min, max, min, max
    const auto row = [](const char *name, int nth, const char *operation, const char *objectName, bool once,
                         const char *description, const char *failed) {
        QTest::newRow(name) << nth << operation << objectName << once << description << failed;
    };

    const char *read = "ConfigProperty.ValueText";
    row("next call", 1, "", "", true, "link down", "x---");
    row("third call", 3, "", "", true, "link down", "--x-");
    row("from the second call on", -2, "", "", false, "link down", "-xxx");
    row("operation, persistent", 0, read, "", false, "", "xxxx");
    row("operation, once", 0, read, "", true, "cable cut", "x---");
    row("object, persistent", 0, read, "SCPTmaxRnge", false, "", "-x-x");
    row("object, once", 0, read, "SCPTmaxRnge", true, "", "-x--");
    row("object in other case", 0, read, "scptmaxrnge", false, "", "-x-x");
    row("another operation", 0, "ConfigProperty.setValueText", "", false, "", "----");
}

void TestSim::faults()
{
    QFETCH(int, nth);
    QFETCH(QString, operation);
    QFETCH(QString, objectName);
    QFETCH(bool, once);
    QFETCH(QString, description);
    QFETCH(QString, failed);
    const ConfigPropertyPtr min = cp(QStringLiteral("SCPTminRnge"));
    const ConfigPropertyPtr max = cp(QStringLiteral("SCPTmaxRnge"));
    const qint32 number = DeviceError::QuietNumber5030; // any number goes, the quiet ones too
    if (nth > 0)
        (*sim)->failCall(nth, number, description);
    else if (nth < 0)
        (*sim)->failFromCall(-nth, number, description);
    else
        (*sim)->failOperation(operation, number, once, objectName, description);

    QString marks;
    for (const ConfigPropertyPtr &prop : { min, max, min, max }) {
        try {
            prop->ValueText();
            marks += QLatin1Char('-');
        } catch (const DeviceError &error) {
            marks += QLatin1Char('x');
            QCOMPARE(error.number(), number);
            QVERIFY(
                description.isEmpty() ? error.description().contains(operation) : error.description() == description);
        }
    }
    QCOMPARE(marks, failed);
    QCOMPARE((*sim)->callCount(QStringLiteral("ConfigProperty.ValueText")), 4); // failed calls are logged too
    (*sim)->clearFaults();
    QCOMPARE(min->ValueText(), QStringLiteral("0.0"));
}

// A device that reports another value than it was sent: the write is taken (and logged
// without an error), the property keeps the injected value in every format.
void TestSim::propertyStoresAnotherValue()
{
    Sim::Network &net = *sim->network();
    const ConfigPropertyPtr max = cp(QStringLiteral("SCPTmaxRnge"));
    const ConfigPropertyPtr min = cp(QStringLiteral("SCPTminRnge"));
    const QString block = QStringLiteral("HwInput[0]");
    QVERIFY_THROWS_EXCEPTION(
        std::invalid_argument, net.storeDifferentValue(Controller, block, max->Name(), QStringLiteral("warm")));
    net.storeDifferentValue(Controller, block, max->Name(), QStringLiteral("22.8"));
    max->setFormat(QStringLiteral("SNVT_temp_p#US"));
    net.clearCallLog();
    max->setValueText(QStringLiteral("86"));
    QCOMPARE(max->ValueText(), QStringLiteral("73.0"));
    QCOMPARE(net.callLog().first().error, 0);
    QVERIFY_THROWS_EXCEPTION(DeviceError, max->setValueText(QStringLiteral("abc"))); // still checked
    min->setValueText(QStringLiteral("4.5")); // other properties store what they are sent
    QCOMPARE(net.storedCpText(Controller, block, min->Name()), QStringLiteral("4.5"));
    net.clearFaults();
    max->setValueText(QStringLiteral("86"));
    QCOMPARE(net.storedCpText(Controller, block, max->Name()), QStringLiteral("30.0"));
}

void TestSim::latency()
{
    (*sim)->setLatency(std::chrono::milliseconds(30));
    QElapsedTimer timer;
    timer.start();
    (*sim)->device(Controller)->State();
    QVERIFY(timer.elapsed() >= 30);
}

void TestSim::handleBookkeeping()
{
    ResourceCatalog &catalog = resourceCatalog();
    const QString programId = (*sim)->programId(Controller);
    const qint32 handle = catalog.OpenCatalog(true, QString());
    QVERIFY(handle != 0);
    const QString typeFile = catalog.GetTypeFilePath(handle, programId, 0, true, 0);
    QCOMPARE(catalog.GetTypeFilePath(handle, programId, 7, true, 0), QString()); // no set of that scope
    const qint32 types = typeService().OpenTypeFileHandle(typeFile);
    QCOMPARE((*sim)->openHandleCount(), 2);
    QVERIFY((*sim)->openHandles().join(QLatin1Char('\n')).contains(typeFile));

    // A handle of the wrong kind, or one never given out, is refused and nothing closes.
    QVERIFY_THROWS_EXCEPTION(DeviceError, catalog.CloseResourceFile(handle));
    QVERIFY_THROWS_EXCEPTION(DeviceError, catalog.CloseCatalog(types));
    QVERIFY_THROWS_EXCEPTION(DeviceError, catalog.CloseResourceFile(4711));
    QCOMPARE((*sim)->openHandleCount(), 2);

    // Every handle closes once; afterwards it is unknown.
    catalog.CloseCatalog(handle);
    catalog.CloseResourceFile(types);
    catalog.CloseResourceFile(0); // a failed open gave 0: harmless
    QCOMPARE((*sim)->openHandleCount(), 0);
    QVERIFY_THROWS_EXCEPTION(DeviceError, catalog.CloseResourceFile(types));
    QVERIFY_THROWS_EXCEPTION(DeviceError, typeService().GetTreeNode(types, programId, 105));

    // Paths the catalog does not know open nothing.
    QCOMPARE(typeService().OpenTypeFileHandle(QStringLiteral("C:\\LonWorks\\Types\\OTHER.TYP")), 0);
    QCOMPARE(catalog.OpenCatalog(true, QStringLiteral("D:\\elsewhere.cat")), 0);
}

// The sample network as the network-variable control meets it: every input's variable
// carries its five properties, readable in the default format of either locale and in
// every format the control reads or writes them with; every input looks like a real one.
// One row per block of the sample and measurement system.
void TestSim::sampleInputs_data()
{
    QTest::addColumn<QString>("device");
    QTest::addColumn<QString>("block");
    QTest::addColumn<qint16>("system");
    TestSupport::SimFixture sample;
    QVERIFY(sample.isLoaded());
    for (const QString &device : sample->deviceNames()) {
        for (const QString &block : sample->blockNames(device)) {
            for (qint16 system : { 0, 1 })
                QTest::addRow("%s/%s/%s", qPrintable(device), qPrintable(block), system ? "US" : "SI")
                    << device << block << system;
        }
    }
}

void TestSim::sampleInputs()
{
    QFETCH(QString, device);
    QFETCH(QString, block);
    QFETCH(qint16, system);
    // What an engineer expects of an input: a thermistor is a resistance input, and that is
    // the one signal type the control offers it (the first of the enumeration); default and
    // override lie in the range; a transfer table's inputs ascend.
    const auto stored
        = [&](const char *cp, bool nvCp = false) { return (*sim)->storedCpText(device, block, cp, nvCp); };

    if (stored("UCPTinputSignalInterpretation") == QLatin1String("STD_THERMISTOR")) {
        const EnumCollectionPtr types
            = typeService().GetEnumCollection((*sim)->programId(device), (*sim)->scope(device), 16, 0, 2);
        QVERIFY(types && types->Count() > 0);
        QCOMPARE(stored("UCPTinputSignalType"), QStringLiteral("RESISTANCE"));
        QCOMPARE(types->Item(1)->Name(), QStringLiteral("RESISTANCE"));
    }

    const QStringList range { stored("SCPTminRnge"), stored("SCPTmaxRnge") };
    const QStringList values { stored("SCPTovrValue", true), stored("UCPTdefaultValue", true) };
    if (std::all_of(range.begin(), range.end(), MKorvane::IsNumeric)) {
        QVERIFY(MKorvane::Val(range[0]) < MKorvane::Val(range[1]));
        for (const QString &value : values) {
            if (MKorvane::IsNumeric(value))
                QVERIFY2(
                    MKorvane::Val(range[0]) <= MKorvane::Val(value) && MKorvane::Val(value) <= MKorvane::Val(range[1]),
                    qPrintable(value + " outside " + range.join("..")));
        }
    }

    const QStringList table = stored("UCPTtransTable").split(' ', Qt::SkipEmptyParts);
    QCOMPARE(table.size(), 32);
    for (int r = 1; r < 16; ++r)
        QVERIFY2(MKorvane::Val(table[2 * r - 2]) < MKorvane::Val(table[2 * r]), qPrintable(table.join(' ')));

    (*sim)->setFormatLocale(system);
    const NetworkVariablePtr nv = MKorvane::GetFirstNetworkVariable((*sim)->block(device, block));
    // What the control derives from the variable's type in this measurement system.
    TypeTreeNodePtr node;
    QString programId, longFormat, unit, errMsg, nvFormat, deltaFormat;
    qint32 typeIndex = -1, baseKind = 0;
    QVERIFY(MKorvane::GetNvTypeFormat(nv, system, node, programId, longFormat, unit, typeIndex, baseKind, errMsg));
    MKorvane::AdjustFormatForUnits(longFormat, system, deltaFormat, nvFormat, errMsg);
    QVERIFY2(errMsg.isEmpty(), qPrintable(errMsg));

    // The five properties -> the formats each is read or written with besides its default one.
    const bool isEnum = baseKind == BaseKindEnumeration;
    const QStringList value = isEnum ? QStringList { nvFormat } : QStringList { nvFormat, deltaFormat };
    const QMap<QString, QStringList> formats { { "SCPTovrValue", value }, { "UCPTdefaultValue", value },
        { "SCPTsndDelta", { isEnum ? QStringLiteral("UCPTsignedShort") : deltaFormat } },
        { "SCPTminSendTime", { "SCPTminSendTime" } }, { "SCPTmaxSendTime", { "SCPTmaxSendTime" } } };
    const ConfigPropertiesPtr cps = nv->ConfigProperties();
    for (const QString &name : formats.keys()) {
        for (const QString &format : QStringList { QString() } + formats.value(name)) {
            QString text;
            const bool read = MKorvane::tryStep(
                [&] {
                    const ConfigPropertyPtr cp = cps->Item(name);
                    cp->setFormat(format);
                    text = cp->ValueText();
                    cp->setValueText(text); // what the control shows it can write back
                    cp->setFormat(QString());
                },
                [&](qint32, const QString &description) { text = description; });
            QVERIFY2(read && !text.trimmed().isEmpty(), qPrintable(name + " in '" + format + "': " + text));
        }
    }
}

QTEST_GUILESS_MAIN(TestSim)
#include "tst_sim.moc"
