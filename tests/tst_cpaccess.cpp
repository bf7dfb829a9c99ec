// SPDX-License-Identifier: MIT
// Configuration properties as text: writing with the format set only when it differs
// and always put back, quiet device errors, widgets bound to properties with their
// messages and tooltips, the combo search, the device-state check and the CP names.
#include "device/sim/SimModel.h"
#include "shared/CpAccess.h"
#include "shared/DeviceState.h"
#include "shared/ProcessState.h"
#include "shared/Seams.h"
#include "shared/Strings.h"
#include "support/SeamRecorder.h"
#include "support/SimFixture.h"

#include <QComboBox>
#include <QLineEdit>
#include <QtTest>

using namespace MKorvane;

namespace {

const QString NetworkFile = QStringLiteral("mkorvane-network.json");
const QString Device = QStringLiteral("Controller");
constexpr qint32 Refused = DeviceAccess::DeviceError::ObjectErrorBase + 61;
constexpr qint32 Quiet5030 = DeviceAccess::DeviceError::QuietNumber5030;
constexpr qint32 Quiet1026 = DeviceAccess::DeviceError::QuietNumber1026;

// The calls on one property, as "method argument".
QStringList cpCalls(const TestSupport::SimFixture &sim, const QString &cpName)
{
    QStringList calls;
    for (const Sim::CallRecord &call : sim->callLog()) {
        if (!call.operation.startsWith(QLatin1String("ConfigProperty.")) || call.arguments.value(0) != cpName)
            continue;
        calls << (call.operation.mid(15) + QLatin1Char(' ') + call.arguments.mid(1).join(QLatin1Char(' '))).trimmed();
    }
    return calls;
}

DeviceAccess::ConfigPropertyPtr blockCp(TestSupport::SimFixture &sim, const QString &block, const QString &name)
{
    return sim->block(Device, block)->ConfigProperties()->Item(name);
}

// A device outside any network: its parent is a database object without a parent.
class Orphan : public DeviceAccess::Object
{
public:
    DeviceAccess::ObjectPtr Parent() const override { return nullptr; }
    qint32 ObjectKind() const override { return DeviceAccess::ObjectKindOther5; }
};

class LoneDevice : public DeviceAccess::AppDevice
{
public:
    DeviceAccess::ObjectPtr Parent() const override { return std::make_shared<Orphan>(); }
    qint32 ObjectKind() const override { return DeviceAccess::ObjectKindAppDevice; }
    bool Commissioned() const override { return true; }
    QString Name() const override { return QStringLiteral("Lone"); }
    qint32 State() const override { return StateConfiguredOnline; }
};

} // namespace

class tst_cpaccess : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { resetForTests(); }

    void writeCpValue_data();
    void writeCpValue();
    void writeNothing();
    void readCpValue_data();
    void readCpValue();
    void readIntoWidget_data();
    void readIntoWidget();
    void selectComboText_data();
    void selectComboText();
    void checkDeviceState_data();
    void checkDeviceState();
    void cpNamesFollowTheVersion_data();
    void cpNamesFollowTheVersion();
};

void tst_cpaccess::writeCpValue_data()
{
    QTest::addColumn<QString>("current");
    QTest::addColumn<QString>("format");
    QTest::addColumn<QString>("value");
    QTest::addColumn<int>("faultNumber");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<QString>("errMsg");
    QTest::addColumn<QStringList>("calls");
    QTest::addColumn<QString>("formatAfter");
    QTest::addColumn<QString>("stored");

    const QString us = QStringLiteral("SNVT_temp_p#US");
    const QStringList setAndRestore { "Format", "setFormat " + us, "setValueText 77", "setFormat" };
    QTest::newRow("format differs: set, then default again")
        << "" << us << "77" << 0 << true << "earlier" << setAndRestore << ""
        << "25.0";
    QTest::newRow("same format: untouched")
        << us << us << "77" << 0 << true << "earlier" << QStringList { "Format", "setValueText 77" } << us << "25.0";
    QTest::newRow("default format: untouched")
        << ""
        << ""
        << "21" << 0 << true << "earlier" << QStringList { "Format", "setValueText 21" } << ""
        << "21.0";
    // Case counts: the format is set, and the default comes back, not the previous one.
    QTest::newRow("same name, other case")
        << "snvt_temp_p#us" << us << "77" << 0 << true << "earlier" << setAndRestore << ""
        << "25.0";
    QTest::newRow("text refused, format still restored")
        << "" << us << "warm" << 0 << false
        << "earlier\r\nThe text 'warm' is not a valid value in the format SNVT_temp_p#US."
        << QStringList { "Format", "setFormat " + us, "setValueText warm", "setFormat" } << ""
        << "20.0";
    QTest::newRow("quiet 5030 counts as written")
        << "" << us << "77" << int(Quiet5030) << true << "earlier" << setAndRestore << ""
        << "20.0";
    QTest::newRow("quiet 1026 counts as written")
        << "" << us << "77" << int(Quiet1026) << true << "earlier" << setAndRestore << ""
        << "20.0";
    QTest::newRow("device failure") << "" << us << "77" << int(Refused) << false << "earlier\r\nrefused"
                                    << setAndRestore << ""
                                    << "20.0";
    QTest::newRow("device failure, same format") << us << us << "77" << int(Refused) << false << "earlier\r\nrefused"
                                                 << QStringList { "Format", "setValueText 77" } << us << "20.0";
    QTest::newRow("unknown format is not restored")
        << ""
        << "SNVT_bogus"
        << "77" << 0 << false << "earlier\r\nThe format 'SNVT_bogus' was not found."
        << QStringList { "Format", "setFormat SNVT_bogus" } << ""
        << "20.0";
}

void tst_cpaccess::writeCpValue()
{
    QFETCH(QString, current);
    QFETCH(QString, format);
    QFETCH(QString, value);
    QFETCH(int, faultNumber);
    QFETCH(bool, ok);
    QFETCH(QString, errMsg);
    QFETCH(QStringList, calls);
    QFETCH(QString, formatAfter);
    QFETCH(QString, stored);

    TestSupport::SimFixture sim(NetworkFile);
    QVERIFY2(sim.isLoaded(), qPrintable(sim.errorString()));
    const auto cp = blockCp(sim, "Temp", "SCPTminRnge");
    cp->setFormat(current);
    if (faultNumber)
        sim->failOperation("ConfigProperty.setValueText", faultNumber, false, QString(), "refused");
    sim->clearCallLog();

    QString gotErr = QStringLiteral("earlier");
    QCOMPARE(WriteCpValue(cp, format, value, gotErr), ok);
    QCOMPARE(gotErr, errMsg);
    QCOMPARE(cpCalls(sim, "SCPTminRnge"), calls);
    sim->clearFaults();
    QCOMPARE(cp->Format(), formatAfter);
    QCOMPARE(sim->storedCpText(Device, "Temp", "SCPTminRnge"), stored);
}

void tst_cpaccess::writeNothing()
{
    TestSupport::SimFixture sim(NetworkFile);
    QVERIFY2(sim.isLoaded(), qPrintable(sim.errorString()));
    QString errMsg = QStringLiteral("earlier");
    QVERIFY(!WriteCpValue(nullptr, "SNVT_temp_p#SI", "1", errMsg));
    QCOMPARE(errMsg, QStringLiteral("earlier\r\nConfigProperty is nothing."));

    // A failure of the restore is the caller's concern too.
    const auto cp = blockCp(sim, "Temp", "SCPTminRnge");
    sim->clearCallLog();
    sim->failCall(4, Refused, QStringLiteral("restore refused"));
    errMsg.clear();
    QVERIFY(!WriteCpValue(cp, "SNVT_temp_p#US", "77", errMsg));
    QCOMPARE(errMsg, QStringLiteral("restore refused"));
    QCOMPARE(cpCalls(sim, "SCPTminRnge").last(), QStringLiteral("setFormat"));
}

void tst_cpaccess::readCpValue_data()
{
    QTest::addColumn<int>("faultNumber");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("errMsg");

    QTest::newRow("read") << 0 << true << "20.0"
                          << "earlier";
    QTest::newRow("failure") << int(Refused) << false << "before"
                             << "earlier\r\nrefused";
    QTest::newRow("quiet 5030") << int(Quiet5030) << false << "before"
                                << "earlier";
    QTest::newRow("quiet 1026") << int(Quiet1026) << false << "before"
                                << "earlier";
}

void tst_cpaccess::readCpValue()
{
    QFETCH(int, faultNumber);
    QFETCH(bool, ok);
    QFETCH(QString, value);
    QFETCH(QString, errMsg);

    TestSupport::SimFixture sim(NetworkFile);
    QVERIFY2(sim.isLoaded(), qPrintable(sim.errorString()));
    if (faultNumber)
        sim->failOperation("ConfigProperty.ValueText", faultNumber, false, QString(), "refused");
    QString gotValue = QStringLiteral("before");
    QString gotErr = QStringLiteral("earlier");
    QCOMPARE(ReadCpValue(blockCp(sim, "Temp", "SCPTminRnge"), "SCPTminRnge", gotValue, gotErr), ok);
    QCOMPARE(gotValue, value);
    QCOMPARE(gotErr, errMsg);

    // No property at all is a failure with a text.
    gotErr.clear();
    QVERIFY(!ReadCpValue(nullptr, QString(), gotValue, gotErr));
    QCOMPARE(gotErr, QStringLiteral("Object variable not set"));
}

void tst_cpaccess::readIntoWidget_data()
{
    QTest::addColumn<QString>("cpName");
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("format");
    QTest::addColumn<int>("faultNumber");
    QTest::addColumn<bool>("german");
    QTest::addColumn<int>("comboIndex");
    QTest::addColumn<QString>("boxText");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("toolTip");

    const QString signal = QStringLiteral("UCPTinputSignalType");
    const QString absolute = QStringLiteral("#9000A53D0A040410[3].UCPTinputSignalType");
    QTest::newRow("value selects its item") << signal << "" << absolute << 0 << false << 2 << "RESISTANCE"
                                            << ""
                                            << "Format name: UCPTinputSignalType";
    QTest::newRow("leading blanks") << "SCPTobjMajVer"
                                    << "  MILIAMPS_4_20MA"
                                    << "SCPTobjMajVer" << 0 << false << 1 << "  MILIAMPS_4_20MA"
                                    << ""
                                    << "Format name: SCPTobjMajVer";
    QTest::newRow("no match keeps the selection") << "SCPTobjMajVer"
                                                  << "CURRENT"
                                                  << "" << 0 << false << 0 << "CURRENT"
                                                  << ""
                                                  << "Format name: ";
    QTest::newRow("translated tooltip") << signal << "" << absolute << 0 << true << 2 << "RESISTANCE"
                                        << ""
                                        << "Formatname: UCPTinputSignalType";
    QTest::newRow("read fails") << signal << "" << absolute << int(Refused) << false << -1 << ""
                                << "Error: refused\r\n(Reading UCPTinputSignalType Value)"
                                << "Format name: UCPTinputSignalType";
    QTest::newRow("quiet read failure still shows") << signal << ""
                                                    << "SNVT_temp_p#SI" << int(Quiet5030) << false << -1 << ""
                                                    << "Error: \r\n(Reading UCPTinputSignalType Value)"
                                                    << "Format name: SNVT_temp_p#SI";
}

void tst_cpaccess::readIntoWidget()
{
    QFETCH(QString, cpName);
    QFETCH(QString, stored);
    QFETCH(QString, format);
    QFETCH(int, faultNumber);
    QFETCH(bool, german);
    QFETCH(int, comboIndex);
    QFETCH(QString, boxText);
    QFETCH(QString, message);
    QFETCH(QString, toolTip);

    TestSupport::SimFixture sim(NetworkFile);
    QVERIFY2(sim.isLoaded(), qPrintable(sim.errorString()));
    if (!stored.isEmpty())
        sim->model().device(Device)->block("Temp")->cp(cpName)->value.text = stored;
    if (german) {
        sim->setLanguage(QStringLiteral("de"));
        LoadLanguageStrings();
    }
    if (faultNumber)
        sim->failOperation("ConfigProperty.ValueText", faultNumber, false, QString(), "refused");
    const auto cp = blockCp(sim, "Temp", cpName);
    TestSupport::SeamRecorder seams;

    QComboBox combo;
    combo.addItems({ "VOLTAGE_0_10V", "MILIAMPS_4_20MA", "RESISTANCE" });
    combo.setCurrentIndex(0);
    ReadCpValueToComboBox(&combo, cp, format);
    QCOMPARE(combo.currentIndex(), comboIndex);
    QCOMPARE(combo.toolTip(), toolTip);

    QLineEdit box(QStringLiteral("old"));
    ReadCpValueToTextBox(&box, cp, format);
    QCOMPARE(box.text(), boxText);
    QCOMPARE(box.toolTip(), toolTip);

    if (message.isEmpty()) {
        QCOMPARE(seams.messageCount(), 0);
        return;
    }
    QCOMPARE(seams.messageTexts(), QStringList({ message, message }));
    QCOMPARE(seams.messages().at(0).title, QStringLiteral("Sensor ReadCpValueToComboBox"));
    QCOMPARE(seams.messages().at(1).title, QStringLiteral("Sensor ReadCpValueToTextBox"));
    QCOMPARE(seams.messages().at(0).style, vbCritical);
}

void tst_cpaccess::selectComboText_data()
{
    QTest::addColumn<QStringList>("items");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("index");

    const QStringList items { "Alpha", "beta", "ALPHA", "Gamma" };
    // The search starts after the first item and comes back to it last.
    QTest::newRow("second match wins") << items << "alpha" << 2;
    QTest::newRow("case ignored") << items << "BETA" << 1;
    QTest::newRow("last") << items << "gamma" << 3;
    QTest::newRow("first only") << QStringList { "Alpha", "beta" } << "ALPHA" << 0;
    QTest::newRow("single item") << QStringList { "x" } << "X" << 0;
    QTest::newRow("no partial match") << items << "Alph" << -1;
    QTest::newRow("blanks count") << items << " beta" << -1;
    QTest::newRow("empty text") << items << "" << -1;
    QTest::newRow("empty list") << QStringList {} << "beta" << -1;
}

void tst_cpaccess::selectComboText()
{
    QFETCH(QStringList, items);
    QFETCH(QString, text);
    QFETCH(int, index);

    QComboBox combo;
    combo.addItems(items);
    const int before = items.isEmpty() ? -1 : items.size() - 1;
    combo.setCurrentIndex(before);
    QCOMPARE(FindComboText(&combo, text), index);
    QCOMPARE(SelectComboText(&combo, text), index >= 0);
    QCOMPARE(combo.currentIndex(), index >= 0 ? index : before);
}

void tst_cpaccess::checkDeviceState_data()
{
    QTest::addColumn<QString>("change");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<QString>("errMsg");
    QTest::addColumn<bool>("systemFound");

    QTest::newRow("ready") << "" << true << "earlier" << true;
    QTest::newRow("not commissioned") << "uncommissioned" << false
                                      << "earlier\r\nThe device 'Controller' is not commissioned!" << false;
    QTest::newRow("not configured on line")
        << "state 3" << false << "earlier\r\nThe device 'Controller' is not Config Online!" << false;
    QTest::newRow("network off") << "mode 1" << false << "earlier\r\nThe network is OffNet!" << true;
    QTest::newRow("system given") << "given" << true << "earlier" << true;
    QTest::newRow("device failure") << "fault" << false << "earlier" << false;
    QTest::newRow("no system in the chain") << "lone" << true << "earlier" << false;
    QTest::newRow("no device") << "none" << false << "earlier" << false;
}

void tst_cpaccess::checkDeviceState()
{
    QFETCH(QString, change);
    QFETCH(bool, ok);
    QFETCH(QString, errMsg);
    QFETCH(bool, systemFound);

    TestSupport::SimFixture sim(NetworkFile);
    QVERIFY2(sim.isLoaded(), qPrintable(sim.errorString()));
    DeviceAccess::AppDevicePtr device = sim->device(Device);
    DeviceAccess::SystemPtr system;
    if (change == QLatin1String("uncommissioned"))
        sim->model().device(Device)->commissioned = false;
    else if (change == QLatin1String("state 3"))
        sim->model().device(Device)->state = 3;
    else if (change == QLatin1String("mode 1"))
        sim->model().system.networkMode = 1;
    else if (change == QLatin1String("given"))
        system = sim->system();
    else if (change == QLatin1String("fault"))
        sim->failOperation("AppDevice.State", Refused);
    else if (change == QLatin1String("lone"))
        device = std::make_shared<LoneDevice>();
    else if (change == QLatin1String("none"))
        device = nullptr;
    sim->clearCallLog();

    TestSupport::SeamRecorder seams;
    QString gotErr = QStringLiteral("earlier");
    QCOMPARE(CheckDeviceState(system, device, gotErr), ok);
    QCOMPARE(gotErr, errMsg);
    QCOMPARE(bool(system), systemFound);
    QCOMPARE(seams.messageCount(), 0);
    if (change == QLatin1String("given"))
        QCOMPARE(sim->callCount("AppDevice.Parent"), 0);
}

void tst_cpaccess::cpNamesFollowTheVersion_data()
{
    QTest::addColumn<QList<int>>("versions");
    QTest::addColumn<QStringList>("names");

    QTest::newRow("version 1") << QList<int> { 1 } << QStringList { "SCPToffset", "UCPTioOptions", "UCPTstepLevel" };
    QTest::newRow("version 2") << QList<int> { 2 } << QStringList { "UCPToffset", "UCPThwInOptions", "" };
    QTest::newRow("3 keeps the previous")
        << QList<int> { 1, 3 } << QStringList { "SCPToffset", "UCPTioOptions", "UCPTstepLevel" };
    QTest::newRow("0 keeps the previous") << QList<int> { 2, 0 } << QStringList { "UCPToffset", "UCPThwInOptions", "" };
    QTest::newRow("2 after 1") << QList<int> { 1, 2 } << QStringList { "UCPToffset", "UCPThwInOptions", "" };
    QTest::newRow("nothing known yet") << QList<int> { 0 } << QStringList { "", "", "" };
}

void tst_cpaccess::cpNamesFollowTheVersion()
{
    QFETCH(QList<int>, versions);
    QFETCH(QStringList, names);
    for (int version : versions) {
        setObjMajorVersion(qint16(version));
        InitCpNames();
    }
    QCOMPARE(QStringList({ OffsetCpName(), OptionsCpName(), StepLevelCpName() }), names);
}

QTEST_MAIN(tst_cpaccess)
#include "tst_cpaccess.moc"
