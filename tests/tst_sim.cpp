// SPDX-License-Identifier: MIT
// The simulated network's values and resources: one stored value read and written in
// every format of the sample's types, refused texts, the catalog, types, formats,
// enumerations, the language tables and the parent chain.
#include "device/sim/SimErrors.h"
#include "device/sim/SimNetwork.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QTest>
#include <stdexcept>

using namespace DeviceAccess;

namespace {

const QString Controller = QStringLiteral("HWI-Controller 1");
const QString ProgramId = QStringLiteral("9000A53D0A040410");

std::shared_ptr<Sim::Network> sample()
{
    return Sim::Network::load(QStringLiteral(VQ_DATA_DIR "/sample-network.json"));
}

ConfigPropertyPtr cpOf(Sim::Network &net, const QString &block, const QString &name, bool nvCp)
{
    const LonMarkObjectPtr object = net.block(Controller, block);
    const ConfigPropertiesPtr cps
        = nvCp ? object->NetworkVariables()->Item(1)->ConfigProperties() : object->ConfigProperties();
    return cps->Item(name);
}

} // namespace

class TestSim : public QObject
{
    Q_OBJECT

private slots:
    void readInFormat_data();
    void readInFormat();
    void writeInFormat_data();
    void writeInFormat();
    void refusedTextChangesNothing_data();
    void refusedTextChangesNothing();
    void networkVariableValue();
    void formatLocale_data();
    void formatLocale();
    void changingNvTypeRefitsInheritingValues();
    void enumerations_data();
    void enumerations();
    void treeNodes_data();
    void treeNodes();
    void formatNamesAndDefinitions();
    void formatRanges_data();
    void formatRanges();
    void formatObjectConverts();
    void germanKeepsEveryPlaceholder();
    void languageSwitch();
    void parentChain();
    void documentedExampleLoads();
};

void TestSim::readInFormat_data()
{
    QTest::addColumn<QString>("block");
    QTest::addColumn<QString>("cp");
    QTest::addColumn<bool>("nvCp");
    QTest::addColumn<QString>("format");
    QTest::addColumn<QString>("expected");

    const QString abs = QStringLiteral("#9000A53D0A040410[0].");
    QTest::newRow("temp_p default") << "HwInput[0]"
                                    << "SCPTovrValue" << true << ""
                                    << "21.5";
    QTest::newRow("temp_p SI") << "HwInput[0]"
                               << "SCPTovrValue" << true << "SNVT_temp_p#SI"
                               << "21.5";
    QTest::newRow("temp_p US") << "HwInput[0]"
                               << "SCPTovrValue" << true << "SNVT_temp_p#US"
                               << "70.7";
    QTest::newRow("temp_p US_diff") << "HwInput[0]"
                                    << "SCPTovrValue" << true << "SNVT_temp_p#US_diff"
                                    << "38.7";
    QTest::newRow("temp_p absolute") << "HwInput[0]"
                                     << "SCPTovrValue" << true << abs + "SNVT_temp_p#US"
                                     << "70.7";
    QTest::newRow("temp_p bare type") << "HwInput[0]"
                                      << "SCPTovrValue" << true << "SNVT_temp_p"
                                      << "21.5";
    QTest::newRow("temp US") << "HwInput[10]"
                             << "SCPTmaxRnge" << false << "SNVT_temp#US"
                             << "41.0";
    QTest::newRow("temp US_diff") << "HwInput[10]"
                                  << "SCPTmaxRnge" << false << "SNVT_temp#US_diff"
                                  << "9.0";
    QTest::newRow("temp_f US") << "HwInput[11]"
                               << "SCPTmaxRnge" << false << "SNVT_temp_f#US"
                               << "82.4";
    QTest::newRow("temp_f US_diff") << "HwInput[11]"
                                    << "SCPTmaxRnge" << false << "SNVT_temp_f#US_diff"
                                    << "50.4";
    QTest::newRow("lev_percent") << "HwInput[1]"
                                 << "SCPTovrValue" << true << "SNVT_lev_percent"
                                 << "50.000";
    QTest::newRow("switch") << "HwInput[2]"
                            << "SCPTmaxRnge" << false << abs + "SNVT_switch"
                            << "100.0 1";
    QTest::newRow("press SI") << "HwInput[8]"
                              << "SCPTmaxRnge" << false << "SNVT_press#SI"
                              << "1000.0";
    QTest::newRow("press US psi") << "HwInput[8]"
                                  << "SCPTmaxRnge" << false << "SNVT_press#US"
                                  << "145.04";
    QTest::newRow("ppm") << "HwInput[9]"
                         << "SCPTovrValue" << true << "SNVT_ppm"
                         << "800";
    QTest::newRow("occupancy") << "HwInput[3]"
                               << "SCPTovrValue" << true << "SNVT_occupancy"
                               << "OC_NUL";
    QTest::newRow("occupancy as number") << "HwInput[3]"
                                         << "SCPTsndDelta" << true << "UCPTsignedShort"
                                         << "0";
    QTest::newRow("interpretation") << "HwInput[10]"
                                    << "UCPTinputSignalInterpretation" << false << "UCPTinputSignalInterpretation"
                                    << "SETPOINT_OFFSET";
    QTest::newRow("thermistor") << "HwInput[4]"
                                << "UCPTthermistorType" << false << "UCPTthermistorType"
                                << "PT1000";
    QTest::newRow("heartbeat") << "HwInput[9]"
                               << "SCPTmaxSendTime" << true << "SCPTmaxSendTime"
                               << "300.0";
    QTest::newRow("offset v2 raw SI") << "HwInput[0]"
                                      << "UCPToffset" << false << "UCPToffset"
                                      << "0.5";
    QTest::newRow("offset v1 by own name") << "HwInput[4]"
                                           << "SCPToffset" << false << "SCPToffset"
                                           << "-1.0";
    QTest::newRow("offset v1 US_diff") << "HwInput[4]"
                                       << "SCPToffset" << false << "SNVT_temp_p#US_diff"
                                       << "-1.8";
    QTest::newRow("object version") << "HwInput[4]"
                                    << "SCPTobjMajVer" << false << ""
                                    << "1";
    QTest::newRow("nvType labelled") << "HwInput[2]"
                                     << "SCPTnvType" << true << ""
                                     << "PID 90:00:A5:3D:0A:04:04:10, Scope 0, Index 95";
}

void TestSim::readInFormat()
{
    QFETCH(QString, block);
    QFETCH(QString, cp);
    QFETCH(bool, nvCp);
    QFETCH(QString, format);
    QFETCH(QString, expected);
    auto net = sample();
    const ConfigPropertyPtr prop = cpOf(*net, block, cp, nvCp);
    prop->setFormat(format);
    QCOMPARE(prop->Format(), format);
    QCOMPARE(prop->ValueText(), expected);
}

void TestSim::writeInFormat_data()
{
    QTest::addColumn<QString>("block");
    QTest::addColumn<QString>("cp");
    QTest::addColumn<bool>("nvCp");
    QTest::addColumn<QString>("format");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("stored"); // in the default format
    QTest::addColumn<QString>("reread"); // in the format written with

    QTest::newRow("temp_p US") << "HwInput[0]"
                               << "SCPTminRnge" << false << "SNVT_temp_p#US"
                               << "70.7"
                               << "21.5"
                               << "70.7";
    QTest::newRow("temp_p US rounds to 0.01 C") << "HwInput[0]"
                                                << "SCPTminRnge" << false << "SNVT_temp_p#US"
                                                << "70"
                                                << "21.1"
                                                << "70.0";
    QTest::newRow("temp_p US_diff") << "HwInput[0]"
                                    << "SCPTminRnge" << false << "SNVT_temp_p#US_diff"
                                    << "9"
                                    << "5.0"
                                    << "9.0";
    QTest::newRow("temp_p SI lowest") << "HwInput[0]"
                                      << "SCPTminRnge" << false << "SNVT_temp_p#SI"
                                      << "-273.17"
                                      << "-273.2"
                                      << "-273.2";
    QTest::newRow("temp US") << "HwInput[10]"
                             << "SCPTmaxRnge" << false << "SNVT_temp#US"
                             << "41"
                             << "5.0"
                             << "41.0";
    QTest::newRow("temp_f US_diff") << "HwInput[11]"
                                    << "SCPTovrValue" << true << "SNVT_temp_f#US_diff"
                                    << "-9"
                                    << "-5.0"
                                    << "-9.0";
    QTest::newRow("press US") << "HwInput[8]"
                              << "SCPTmaxRnge" << false << "SNVT_press#US"
                              << "14.5"
                              << "100.0"
                              << "14.50";
    QTest::newRow("lev_percent resolution") << "HwInput[1]"
                                            << "SCPTovrValue" << true << "SNVT_lev_percent"
                                            << " 12.3456 "
                                            << "12.345"
                                            << "12.345";
    QTest::newRow("switch half steps") << "HwInput[2]"
                                       << "SCPTovrValue" << true << "SNVT_switch"
                                       << "50.3  1"
                                       << "50.5 1"
                                       << "50.5 1";
    QTest::newRow("occupancy any case") << "HwInput[3]"
                                        << "SCPTovrValue" << true << "SNVT_occupancy"
                                        << "oc_standby"
                                        << "OC_STANDBY"
                                        << "OC_STANDBY";
    QTest::newRow("occupancy by value") << "HwInput[3]"
                                        << "UCPTdefaultValue" << true << "SNVT_occupancy"
                                        << "2"
                                        << "OC_BYPASS"
                                        << "OC_BYPASS";
    QTest::newRow("occupancy send delta 0") << "HwInput[3]"
                                            << "SCPTsndDelta" << true << "UCPTsignedShort"
                                            << "0"
                                            << "OC_OCCUPIED"
                                            << "0";
    QTest::newRow("thermistor") << "HwInput[0]"
                                << "UCPTthermistorType" << false << "UCPTthermistorType"
                                << "NI1000"
                                << "NI1000"
                                << "NI1000";
    QTest::newRow("throttle") << "HwInput[0]"
                              << "SCPTminSendTime" << true << "SCPTminSendTime"
                              << "2.5"
                              << "2.5"
                              << "2.5";
    QTest::newRow("offset v2 raw") << "HwInput[0]"
                                   << "UCPToffset" << false << "UCPToffset"
                                   << "-0.25"
                                   << "-0.25"
                                   << "-0.25";
    const QString table = QStringLiteral("0 1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16 17 18 19 20 21 22 23 24 25 26 27 28 "
                                         "29 30.5 -31");
    QTest::newRow("transfer table") << "HwInput[0]"
                                    << "UCPTtransTable" << false << "UCPTtransTable" << table << table << table;
    QTest::newRow("options v1") << "HwInput[4]"
                                << "UCPTioOptions" << false << "UCPTioOptions"
                                << "1 0 0 0 0 0 0 1"
                                << "1 0 0 0 0 0 0 1"
                                << "1 0 0 0 0 0 0 1";
}

void TestSim::writeInFormat()
{
    QFETCH(QString, block);
    QFETCH(QString, cp);
    QFETCH(bool, nvCp);
    QFETCH(QString, format);
    QFETCH(QString, text);
    QFETCH(QString, stored);
    QFETCH(QString, reread);
    auto net = sample();
    const ConfigPropertyPtr prop = cpOf(*net, block, cp, nvCp);
    prop->setFormat(format);
    prop->setValueText(text);
    QCOMPARE(net->storedCpText(Controller, block, cp, nvCp), stored);
    QCOMPARE(prop->ValueText(), reread);
}

void TestSim::refusedTextChangesNothing_data()
{
    QTest::addColumn<QString>("block");
    QTest::addColumn<QString>("cp");
    QTest::addColumn<bool>("nvCp");
    QTest::addColumn<QString>("format");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("error");

    using namespace Sim::Errors;
    QTest::newRow("word") << "HwInput[0]"
                          << "SCPTminRnge" << false << "SNVT_temp_p#SI"
                          << "abc" << InvalidValueText;
    QTest::newRow("empty") << "HwInput[0]"
                           << "SCPTminRnge" << false << "SNVT_temp_p#SI"
                           << "" << InvalidValueText;
    QTest::newRow("decimal comma") << "HwInput[0]"
                                   << "SCPTminRnge" << false << "SNVT_temp_p#SI"
                                   << "21,5" << InvalidValueText;
    QTest::newRow("above range") << "HwInput[0]"
                                 << "SCPTminRnge" << false << "SNVT_temp_p#SI"
                                 << "327.7" << ValueOutOfRange;
    QTest::newRow("below range in US") << "HwInput[0]"
                                       << "SCPTminRnge" << false << "SNVT_temp_p#US"
                                       << "-460" << ValueOutOfRange;
    QTest::newRow("switch one field") << "HwInput[2]"
                                      << "SCPTovrValue" << true << "SNVT_switch"
                                      << "100" << InvalidValueText;
    QTest::newRow("switch above 100") << "HwInput[2]"
                                      << "SCPTovrValue" << true << "SNVT_switch"
                                      << "101 1" << ValueOutOfRange;
    QTest::newRow("no such member") << "HwInput[3]"
                                    << "SCPTovrValue" << true << "SNVT_occupancy"
                                    << "OC_AWAY" << InvalidValueText;
    QTest::newRow("number not a member") << "HwInput[3]"
                                         << "SCPTsndDelta" << true << "UCPTsignedShort"
                                         << "5" << ValueOutOfRange;
    QTest::newRow("signed short range") << "HwInput[0]"
                                        << "SCPTsndDelta" << true << "UCPTsignedShort"
                                        << "128" << ValueOutOfRange;
    QTest::newRow("interpretation") << "HwInput[0]"
                                    << "UCPTinputSignalInterpretation" << false << "UCPTinputSignalInterpretation"
                                    << "LINEAR_2" << InvalidValueText;
    QTest::newRow("table of 31") << "HwInput[0]"
                                 << "UCPTtransTable" << false << "UCPTtransTable"
                                 << "0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0" << InvalidValueText;
    QTest::newRow("table with two blanks")
        << "HwInput[0]"
        << "UCPTtransTable" << false << "UCPTtransTable"
        << "0  0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0" << InvalidValueText;
    QTest::newRow("options of 7") << "HwInput[0]"
                                  << "UCPThwInOptions" << false << "UCPThwInOptions"
                                  << "0 0 0 0 0 0 0" << InvalidValueText;
    QTest::newRow("structure in number format") << "HwInput[2]"
                                                << "SCPTovrValue" << true << "SNVT_temp_p#SI"
                                                << "21.5" << FormatDoesNotFit;
    QTest::newRow("unknown format") << "HwInput[0]"
                                    << "SCPTminRnge" << false << "SNVT_temp_p#EU"
                                    << "1" << UnknownFormat;
    QTest::newRow("unknown nv type") << "HwInput[0]"
                                     << "SCPTnvType" << true << "SCPTnvType"
                                     << "90 00 A5 3D 0A 04 04 10 0 999" << UnknownResource;
}

void TestSim::refusedTextChangesNothing()
{
    QFETCH(QString, block);
    QFETCH(QString, cp);
    QFETCH(bool, nvCp);
    QFETCH(QString, format);
    QFETCH(QString, text);
    QFETCH(int, error);
    auto net = sample();
    const QString before = net->storedCpText(Controller, block, cp, nvCp);
    const ConfigPropertyPtr prop = cpOf(*net, block, cp, nvCp);
    try {
        prop->setFormat(format);
        prop->setValueText(text);
        QFAIL("the text was taken");
    } catch (const DeviceError &refusal) {
        QCOMPARE(refusal.number(), error);
        QVERIFY(!refusal.isQuiet());
        QVERIFY(!refusal.description().isEmpty());
    }
    QCOMPARE(net->storedCpText(Controller, block, cp, nvCp), before);
}

void TestSim::networkVariableValue()
{
    auto net = sample();
    const NetworkVariablePtr nv = net->block(Controller, QStringLiteral("HwInput[0]"))->NetworkVariables()->Item(1);
    QCOMPARE(nv->ValueText(), QStringLiteral("21.5"));
    nv->setFormat(QStringLiteral("#9000A53D0A040410[0].SNVT_temp_p#US"));
    QCOMPARE(nv->ValueText(), QStringLiteral("70.7"));
    nv->setName(QStringLiteral("nvoLobbyTemp"));
    QCOMPARE(nv->Name(), QStringLiteral("nvoLobbyTemp"));
    QCOMPARE(nv->ProgrammaticName(), QStringLiteral("nvoHwInput[0]"));
    QVERIFY_THROWS_EXCEPTION(DeviceError, nv->setName(QStringLiteral("  ")));
    QCOMPARE(nv->Name(), QStringLiteral("nvoLobbyTemp"));
    // The single-digit layout of SCPTnvType names the same program ID with leading zeros.
    const NetworkVariablePtr percent
        = net->block(Controller, QStringLiteral("HwInput[1]"))->NetworkVariables()->Item(1);
    QCOMPARE(percent->ValueText(), QStringLiteral("45.500"));
    // A variable's default format follows the format locale as a property's does.
    nv->setFormat(QString());
    net->setFormatLocale(1);
    QCOMPARE(nv->ValueText(), QStringLiteral("70.7"));
    QVERIFY_THROWS_EXCEPTION(std::invalid_argument, net->setFormatLocale(2));
    QCOMPARE(net->formatLocale(), qint16(1));
}

void TestSim::formatLocale_data()
{
    QTest::addColumn<bool>("fromFile"); // the locale comes from the database file, else from setFormatLocale
    QTest::addColumn<int>("locale");
    QTest::addColumn<QString>("block");
    QTest::addColumn<QString>("cp");
    QTest::addColumn<QString>("format");
    QTest::addColumn<QString>("text"); // written first unless empty
    QTest::addColumn<QString>("expected"); // ValueText in the format
    QTest::addColumn<QString>("stored"); // the test access: SI default in every locale

    const QString room = QStringLiteral("HwInput[0]");
    QTest::newRow("SI default") << false << 0 << room << "SCPTmaxRnge"
                                << ""
                                << ""
                                << "50.0"
                                << "50.0";
    QTest::newRow("US default") << false << 1 << room << "SCPTmaxRnge"
                                << ""
                                << ""
                                << "122.0"
                                << "50.0";
    QTest::newRow("US default from the file") << true << 1 << room << "SCPTmaxRnge"
                                              << ""
                                              << ""
                                              << "122.0"
                                              << "50.0";
    QTest::newRow("SI default write") << false << 0 << room << "SCPTminRnge"
                                      << ""
                                      << "50"
                                      << "50.0"
                                      << "50.0";
    QTest::newRow("US default write") << false << 1 << room << "SCPTminRnge"
                                      << ""
                                      << "50"
                                      << "50.0"
                                      << "10.0";
    QTest::newRow("US, SI named") << false << 1 << room << "SCPTmaxRnge"
                                  << "SNVT_temp_p#SI"
                                  << ""
                                  << "50.0"
                                  << "50.0";
    QTest::newRow("US, bare type name is SI") << false << 1 << room << "SCPTmaxRnge"
                                              << "SNVT_temp_p"
                                              << ""
                                              << "50.0"
                                              << "50.0";
    QTest::newRow("US, difference named") << false << 1 << room << "SCPTmaxRnge"
                                          << "SNVT_temp_p#US_diff"
                                          << ""
                                          << "90.0"
                                          << "50.0";
    QTest::newRow("US, SI write named") << false << 1 << room << "SCPTminRnge"
                                        << "SNVT_temp_p#SI"
                                        << "-5"
                                        << "-5.0"
                                        << "-5.0";
    QTest::newRow("US pressure default") << false << 1 << "HwInput[8]"
                                         << "SCPTmaxRnge"
                                         << ""
                                         << ""
                                         << "145.04"
                                         << "1000.0";
    QTest::newRow("US, type without variants") << false << 1 << room << "UCPToffset"
                                               << ""
                                               << ""
                                               << "0.5"
                                               << "0.5";
}

void TestSim::formatLocale()
{
    QFETCH(bool, fromFile);
    QFETCH(int, locale);
    QFETCH(QString, block);
    QFETCH(QString, cp);
    QFETCH(QString, format);
    QFETCH(QString, text);
    QFETCH(QString, expected);
    QFETCH(QString, stored);
    std::shared_ptr<Sim::Network> net;
    if (fromFile) {
        QFile file(QStringLiteral(VQ_DATA_DIR "/sample-network.json"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QJsonObject root = QJsonDocument::fromJson(file.readAll()).object();
        QJsonObject system = root.value(QStringLiteral("system")).toObject();
        system.insert(QStringLiteral("formatLocale"), locale);
        root.insert(QStringLiteral("system"), system);
        net = Sim::Network::fromJson(QJsonDocument(root).toJson(), QStringLiteral("us.json"));
    } else {
        net = sample();
        net->setFormatLocale(qint16(locale));
    }
    QCOMPARE(net->formatLocale(), qint16(locale));
    const ConfigPropertyPtr prop = cpOf(*net, block, cp, false);
    prop->setFormat(format);
    if (!text.isEmpty())
        prop->setValueText(text);
    QCOMPARE(prop->ValueText(), expected);
    QCOMPARE(net->storedCpText(Controller, block, cp), stored);
}

void TestSim::changingNvTypeRefitsInheritingValues()
{
    auto net = sample();
    const QString block = QStringLiteral("HwInput[0]");
    // Percent keeps 0..50 (it fits), the override of 21.5 too; a switch cannot hold them.
    cpOf(*net, block, QStringLiteral("SCPTnvType"), true)->setValueText(QStringLiteral("90 00 A5 3D 0A 04 04 10 0 81"));
    QCOMPARE(net->storedCpText(Controller, block, QStringLiteral("SCPTmaxRnge")), QStringLiteral("50.000"));
    cpOf(*net, block, QStringLiteral("SCPTnvType"), true)
        ->setValueText(QStringLiteral("PID 90:00:A5:3D:0A:04:04:10, Scope 0, Index 95"));
    QCOMPARE(net->storedCpText(Controller, block, QStringLiteral("SCPTmaxRnge")), QStringLiteral("0.0 0"));
    QCOMPARE(net->storedCpText(Controller, block, QStringLiteral("SCPTovrValue"), true), QStringLiteral("0.0 0"));
}

void TestSim::enumerations_data()
{
    QTest::addColumn<int>("scope");
    QTest::addColumn<int>("index");
    QTest::addColumn<int>("lowest");
    QTest::addColumn<int>("highest");
    QTest::addColumn<QStringList>("names"); // empty = no collection

    QTest::newRow("interpretations 0..6") << 3 << 17 << 0 << 6
                                          << QStringList { "DISCONNECTED", "LINEAR", "TRANS_TABLE", "DIGITAL",
                                                 "MULTI_LEVEL", "STD_THERMISTOR", "SETPOINT_OFFSET" };
    QTest::newRow("interpretations with setpoint")
        << 3 << 17 << 5 << 7 << QStringList { "STD_THERMISTOR", "SETPOINT_OFFSET", "SETPOINT" };
    QTest::newRow("signal types") << 3 << 16 << 0 << 2
                                  << QStringList { "VOLTAGE_0_10V", "MILIAMPS_4_20MA", "RESISTANCE" };
    QTest::newRow("occupancy in value order")
        << 0 << 109 << -1 << 3 << QStringList { "OC_NUL", "OC_OCCUPIED", "OC_UNOCCUPIED", "OC_BYPASS", "OC_STANDBY" };
    QTest::newRow("unknown index") << 3 << 99 << 0 << 6 << QStringList();
    QTest::newRow("scope without set") << 2 << 17 << 0 << 6 << QStringList();
    QTest::newRow("not an enumeration") << 0 << 105 << 0 << 6 << QStringList();
}

void TestSim::enumerations()
{
    QFETCH(int, scope);
    QFETCH(int, index);
    QFETCH(int, lowest);
    QFETCH(int, highest);
    QFETCH(QStringList, names);
    auto net = sample();
    DeviceAccess::install(net->implementation());
    const EnumCollectionPtr members = typeService().GetEnumCollection(ProgramId, scope, index, lowest, highest);
    if (names.isEmpty()) {
        QVERIFY(!members);
        return;
    }
    QVERIFY(members);
    QStringList got;
    qint32 previous = lowest - 1;
    for (const EnumMemberPtr &member : *members) {
        got.append(member->Name());
        QVERIFY(member->Index() > previous);
        previous = member->Index();
    }
    QCOMPARE(got, names);
}

void TestSim::treeNodes_data()
{
    QTest::addColumn<int>("scope");
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("name"); // empty = no node
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("unitIndex");

    QTest::newRow("SNVT_temp_p") << 0 << 105 << "SNVT_temp_p" << 5 << 1;
    QTest::newRow("SNVT_temp") << 0 << 39 << "SNVT_temp" << 6 << 1;
    QTest::newRow("SNVT_temp_f") << 0 << 63 << "SNVT_temp_f" << 12 << 1;
    QTest::newRow("SNVT_switch") << 0 << 95 << "SNVT_switch" << 9 << 3;
    QTest::newRow("SNVT_lev_percent") << 0 << 81 << "SNVT_lev_percent" << 5 << 3;
    QTest::newRow("SNVT_press") << 0 << 30 << "SNVT_press" << 5 << 4;
    QTest::newRow("SNVT_ppm") << 0 << 29 << "SNVT_ppm" << 6 << 6;
    QTest::newRow("SNVT_occupancy") << 0 << 109 << "SNVT_occupancy" << 7 << 0;
    QTest::newRow("no such index") << 0 << 4711 << "" << 0 << 0;
    QTest::newRow("device set") << 3 << 18 << "hwInputType_t" << 7 << 0;
}

void TestSim::treeNodes()
{
    QFETCH(int, scope);
    QFETCH(int, index);
    QFETCH(QString, name);
    QFETCH(int, kind);
    QFETCH(int, unitIndex);
    auto net = sample();
    DeviceAccess::install(net->implementation());
    const qint32 catalog = resourceCatalog().OpenCatalog(true, QString());
    const QString path = resourceCatalog().GetTypeFilePath(catalog, ProgramId, scope, true, 0);
    resourceCatalog().CloseCatalog(catalog);
    const qint32 file = typeService().OpenTypeFileHandle(path);
    QVERIFY(file != 0);
    const TypeTreeNodePtr node = typeService().GetTreeNode(file, ProgramId, index);
    resourceCatalog().CloseResourceFile(file);
    QCOMPARE(net->openHandleCount(), 0);
    if (name.isEmpty()) {
        QVERIFY(!node);
        return;
    }
    QVERIFY(node);
    QCOMPARE(node->Name(), name);
    QCOMPARE(node->Kind(), kind);
    QCOMPARE(node->UnitIndex(), unitIndex);
    if (kind == BaseKindEnumeration) {
        // The node says where its members are, so GetEnumCollection finds them.
        QCOMPARE(node->Scope(), double(scope));
        QCOMPARE(node->TypeIndex(), double(index));
        QVERIFY(typeService().GetEnumCollection(ProgramId, qRound(node->Scope()), qRound(node->TypeIndex()),
            qRound(node->LowestValue()), qRound(node->HighestValue())));
    } else {
        QCOMPARE(node->LowestValue(), 0.0);
    }
}

void TestSim::formatNamesAndDefinitions()
{
    auto net = sample();
    DeviceAccess::install(net->implementation());
    const qint32 catalog = resourceCatalog().OpenCatalog(true, QString());
    const QString standard = resourceCatalog().GetFormatFilePath(catalog, ProgramId, 0);
    const QString own = resourceCatalog().GetFormatFilePath(catalog, ProgramId, 3);
    const QString language = resourceCatalog().GetLanguageFilePath(catalog, ProgramId, 0, 0);
    resourceCatalog().CloseCatalog(catalog);

    QStringList names;
    bool variants = false;
    formatCatalog().GetFormatNames(standard, QStringLiteral("SNVT_temp_p"), names, variants);
    QCOMPARE(names, (QStringList { "SNVT_temp_p#SI", "SNVT_temp_p#US", "SNVT_temp_p#US_diff" }));
    QVERIFY(variants);
    formatCatalog().GetFormatNames(standard, QStringLiteral("SNVT_switch"), names, variants);
    QCOMPARE(names, QStringList { "SNVT_switch" });
    QVERIFY(!variants);
    formatCatalog().GetFormatNames(own, QStringLiteral("SNVT_temp_p"), names, variants);
    QVERIFY(names.isEmpty());

    const FormatDefinitionPtr us = formatCatalog().FindFormat(standard, QStringLiteral("SNVT_temp_p#US"));
    QVERIFY(us);
    QCOMPARE(formatCatalog().FindFormat(standard, QStringLiteral("#9000A53D0A040410[0].SNVT_temp_p#US"))->UnitIndex(),
        us->UnitIndex());
    QVERIFY(!formatCatalog().FindFormat(own, QStringLiteral("SNVT_temp_p#US")));
    QVERIFY_THROWS_EXCEPTION(
        DeviceError, formatCatalog().FindFormat(QStringLiteral("C:\\nowhere.fmt"), QStringLiteral("x")));

    const qint32 texts = languageFileService().OpenLanguageFile(language);
    QVERIFY(texts != 0);
    QCOMPARE(languageFileService().GetLanguageText(texts, us->UnitIndex()), QStringLiteral("°F"));
    QVERIFY_THROWS_EXCEPTION(DeviceError, languageFileService().GetLanguageText(texts, 999));
    resourceCatalog().CloseResourceFile(texts);
    QCOMPARE(languageFileService().OpenLanguageFile(QStringLiteral("C:\\missing.ENU")), 0);
    QCOMPARE(net->openHandleCount(), 0);
}

void TestSim::formatRanges_data()
{
    QTest::addColumn<QString>("format");
    QTest::addColumn<bool>("exists");
    QTest::addColumn<double>("minimum");
    QTest::addColumn<double>("maximum");

    QTest::newRow("temp_p SI") << "SNVT_temp_p#SI" << true << -273.17 << 327.66;
    QTest::newRow("temp_p US") << "#9000A53D0A040410[0].SNVT_temp_p#US" << true << -459.706 << 621.788;
    QTest::newRow("press US") << "SNVT_press#US" << true << -475.2597 << 475.2452;
    QTest::newRow("occupancy") << "SNVT_occupancy" << true << -1.0 << 3.0;
    QTest::newRow("switch") << "SNVT_switch" << false << 0.0 << 0.0;
    QTest::newRow("table") << "UCPTtransTable" << false << 0.0 << 0.0;
}

void TestSim::formatRanges()
{
    QFETCH(QString, format);
    QFETCH(bool, exists);
    QFETCH(double, minimum);
    QFETCH(double, maximum);
    auto net = sample();
    DeviceAccess::install(net->implementation());
    QString errMsg;
    double low = 0;
    double high = 0;
    bool has = !exists;
    formatCatalog().GetFormatInfo(ProgramId, format, errMsg, nullptr)->GetRangeNode()->GetRange(low, high, has);
    QCOMPARE(has, exists);
    QVERIFY(errMsg.isEmpty());
    if (exists) {
        QVERIFY(qAbs(low - minimum) < 1e-3);
        QVERIFY(qAbs(high - maximum) < 1e-3);
    }
}

void TestSim::formatObjectConverts()
{
    auto net = sample();
    DeviceAccess::install(net->implementation());
    const QString diff = QStringLiteral("#9000A53D0A040410[0].SNVT_temp_p#US_diff");
    const FormatObjectPtr format = formatService().GetFormat(diff, ProgramId);
    QCOMPARE(format->ConvertToDisplay(0.5, diff), 0.9);
    QCOMPARE(format->ConvertFromDisplay(0.9, diff), 0.5);
    QCOMPARE(format->ConvertToDisplay(21.5, QStringLiteral("SNVT_temp_p#US")), 70.7);
    QCOMPARE(format->ConvertFromDisplay(14.50377377, QStringLiteral("SNVT_press#US")), 100.0);
    QCOMPARE(format->ConvertToDisplay(-1.0, QString()), -1.8); // its own format
    QVERIFY_THROWS_EXCEPTION(DeviceError, formatService().GetFormat(QStringLiteral("SNVT_nothing"), ProgramId));
}

void TestSim::germanKeepsEveryPlaceholder()
{
    auto net = sample();
    DeviceAccess::install(net->implementation());
    QCOMPARE(languageService().GetApplicationStrings(QStringLiteral("VkZovezuVaveva"))->Count(), 0);
    net->setLanguage(QStringLiteral("de"));
    const StringCollectionPtr german = languageService().GetApplicationStrings(QStringLiteral("VkZovezuVaveva"));
    QVERIFY(german->Count() > 50);
    QCOMPARE(german->Item(QStringLiteral("CANNOT OPEN DRF CATALOG!")),
        QStringLiteral("Der DRF-Katalog kann nicht geöffnet werden!"));
    QVERIFY(german->Contains(QStringLiteral("NO VALID  LANGUAGE WAS FOUND!")));
    QVERIFY(german->Contains(QStringLiteral("INPUT VALUE\r\n(%S1%)")));

    // Every translation keeps the placeholders of its English key, in any order.
    const QRegularExpression placeholder(QStringLiteral("%[sS]\\d?%"));
    const QString source = QString::fromUtf8([] {
        QFile file(QStringLiteral(VQ_DATA_DIR "/sample-network.json"));
        file.open(QIODevice::ReadOnly);
        return file.readAll();
    }());
    int checked = 0;
    auto placeholders = [&](const QString &text) {
        QStringList found;
        for (auto it = placeholder.globalMatch(text); it.hasNext();)
            found.append(it.next().captured().toLower());
        found.sort();
        return found;
    };
    const QJsonObject strings = QJsonDocument::fromJson(source.toUtf8())
                                    .object()[QStringLiteral("languages")]
                                    .toArray()
                                    .at(1)
                                    .toObject()[QStringLiteral("strings")]
                                    .toObject()[QStringLiteral("VkZovezuVaveva")]
                                    .toObject();
    for (auto it = strings.begin(); it != strings.end(); ++it) {
        QCOMPARE(placeholders(it.value().toString()), placeholders(it.key()));
        ++checked;
    }
    QCOMPARE(checked, german->Count());
}

void TestSim::languageSwitch()
{
    auto net = sample();
    DeviceAccess::install(net->implementation());
    QCOMPARE(net->languages(), (QStringList { "en", "de" }));
    const QDateTime before = languageService().GetStringsChangeTime();
    QCOMPARE(languageService().GetFontName(), QStringLiteral("MS Sans Serif"));
    net->setLanguage(QStringLiteral("de"));
    QVERIFY(languageService().GetStringsChangeTime() > before);
    QCOMPARE(languageService().GetFontName(), QStringLiteral("Arial"));
    QCOMPARE(languageService().GetFontCharset(), qint16(0));

    // Unit texts follow the language; a text missing in it comes in English.
    const qint32 catalog = resourceCatalog().OpenCatalog(true, QString());
    const QString standard = resourceCatalog().GetLanguageFilePath(catalog, ProgramId, 0, 0);
    const QString own = resourceCatalog().GetLanguageFilePath(catalog, ProgramId, 0, 3);
    resourceCatalog().CloseCatalog(catalog);
    qint32 texts = languageFileService().OpenLanguageFile(standard);
    QCOMPARE(languageFileService().GetLanguageText(texts, 7), QStringLiteral("s"));
    resourceCatalog().CloseResourceFile(texts);
    texts = languageFileService().OpenLanguageFile(own);
    QCOMPARE(languageFileService().GetLanguageText(texts, 3), QStringLiteral("K Ohm"));
    resourceCatalog().CloseResourceFile(texts);

    QVERIFY_THROWS_EXCEPTION(std::invalid_argument, net->setLanguage(QStringLiteral("fr")));
    QCOMPARE(net->language(), QStringLiteral("de"));
}

void TestSim::parentChain()
{
    auto net = sample();
    const LonMarkObjectPtr block = net->block(Controller, QStringLiteral("HwInput[0]"));
    const ConfigPropertyPtr nvCp = block->NetworkVariables()->Item(1)->ConfigProperties()->Item(1);
    ObjectPtr step = nvCp->Parent();
    QList<qint32> kinds;
    while (step) {
        kinds.append(step->ObjectKind());
        step = step->Parent();
    }
    QCOMPARE(kinds,
        (QList<qint32> { ObjectKindNetworkVariable, ObjectKindLonMarkObject, ObjectKindAppDevice, ObjectKindSystem }));
    QCOMPARE(block->ConfigProperties()->Item(1)->Parent()->ObjectKind(), qint32(ObjectKindLonMarkObject));
    QCOMPARE(net->system()->NetworkMode(), qint32(System::NetworkModeAttached));

    const AppDevicePtr spare = net->device(QStringLiteral("hwi-controller 2"));
    QVERIFY(spare && !spare->Commissioned());
    QVERIFY(!net->device(QStringLiteral("HWI-Controller 9")));
    QVERIFY(!net->block(Controller, QStringLiteral("HwInput[99]")));
    QVERIFY_THROWS_EXCEPTION(DeviceError, block->ConfigProperties()->Item(QStringLiteral("SCPTnothing")));
    QVERIFY_THROWS_EXCEPTION(DeviceError, block->NetworkVariables()->Item(2));
}

void TestSim::documentedExampleLoads()
{
    QFile page(QStringLiteral(VQ_DATA_DIR "/../docs/network-database.md"));
    QVERIFY(page.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(page.readAll());
    const qsizetype start
        = text.indexOf(QStringLiteral("```json\n{"), text.indexOf(QStringLiteral("## A complete example")));
    QVERIFY(start > 0);
    const qsizetype end = text.indexOf(QStringLiteral("```"), start + 7);
    const QByteArray json = text.mid(start + 7, end - start - 7).toUtf8();

    auto net = Sim::Network::fromJson(json, QStringLiteral("example"));
    const QString device = QStringLiteral("Bench Controller");
    QCOMPARE(net->storedCpText(device, QStringLiteral("HwInput[0]"), QStringLiteral("SCPTovrValue"), true),
        QStringLiteral("21.5"));
    const NetworkVariablePtr nv = net->block(device, QStringLiteral("HwInput[0]"))->NetworkVariables()->Item(1);
    nv->setFormat(QStringLiteral("SNVT_temp_p#US"));
    QCOMPARE(nv->ValueText(), QStringLiteral("70.7"));
    QCOMPARE(Sim::Network::fromJson(net->toJson(), QStringLiteral("again"))->toJson(), net->toJson());
}

QTEST_GUILESS_MAIN(TestSim)
#include "tst_sim.moc"
