// SPDX-License-Identifier: MIT
// Configuration properties as text: writing with the format set only when it differs
// and always put back, quiet device errors, widgets bound to properties with their
// messages, the combo search, the device-state check and the CP names.
#include "device/Collection.h"
#include "device/sim/SimModel.h"
#include "shared/CpAccess.h"
#include "shared/ProcessState.h"
#include "shared/Seams.h"
#include "shared/Strings.h"
#include "support/SeamRecorder.h"
#include "support/SimFixture.h"
#include "support/SimTestCase.h"
#include "support/TableRow.h"

#include <QComboBox>
#include <QLineEdit>
#include <QtTest>

using namespace MKorvane;

namespace {

const QString Device = QStringLiteral("Controller");
constexpr qint32 Refused = DeviceAccess::DeviceError::ObjectErrorBase + 61;

// The calls on one property, as "method argument".
QStringList cpCalls(const TestSupport::SimFixture &sim, const QString &cpName)
{
    QStringList calls;
    for (const Sim::CallRecord &call : sim->callLog()) {
        if (call.operation.startsWith(QLatin1String("ConfigProperty.")) && call.arguments.value(0) == cpName)
            calls
                << (call.operation.mid(15) + QLatin1Char(' ') + call.arguments.mid(1).join(QLatin1Char(' '))).trimmed();
    }
    return calls;
}

// A device whose parent chain holds no system: kinds 5 and 99, then the end.
struct Link : DeviceAccess::Object
{
    Link(qint32 kind, DeviceAccess::ObjectPtr parent)
        : kind(kind)
        , parent(std::move(parent))
    {
    }
    DeviceAccess::ObjectPtr Parent() const override { return parent; }
    qint32 ObjectKind() const override { return kind; }
    qint32 kind;
    DeviceAccess::ObjectPtr parent;
};
struct OrphanDevice : DeviceAccess::AppDevice
{
    DeviceAccess::ObjectPtr Parent() const override
    {
        return std::make_shared<Link>(5, std::make_shared<Link>(99, nullptr));
    }
    qint32 ObjectKind() const override { return 7; }
    bool Commissioned() const override { return true; }
    QString Name() const override { return QStringLiteral("Orphan"); }
    qint32 State() const override { return StateConfiguredOnline; }
};

DeviceAccess::ConfigPropertyPtr tempCp(TestSupport::SimFixture &sim, const QString &name)
{
    return sim->block(Device, QStringLiteral("Temp"))->ConfigProperties()->Item(name);
}

} // namespace

class tst_cpaccess : public TestSupport::SimTestCase
{
    Q_OBJECT

public:
    tst_cpaccess()
        : SimTestCase(QStringLiteral("mkorvane-network.json"))
    {
    }

private slots:
    void writeCpValue_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("format");
        QTest::addColumn<QString>("current");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("faultNumber");
        QTest::addColumn<QString>("error"); // empty: written
        QTest::addColumn<bool>("formatSet");
        QTest::addColumn<QString>("written");
        QTest::addColumn<QString>("stored");
        const auto row = [](const char *name, const char *locale, const char *current, const char *typed, int fault,
                             const QString &error, bool formatSet, const char *written, const char *stored) {
            const QString format = QLatin1String(locale[0] == 'd' ? "SNVT_temp_p#SI" : "SNVT_temp_p#US");
            QTest::newRow(name) << locale << format << current << typed << fault
                                << (error.contains('%') ? error.arg(typed, format) : error) << formatSet << written
                                << stored;
        };
        const char *us = "SNVT_temp_p#US";
        const QString refused = "The text '%1' is not a valid value in the format %2.";
        row("format differs", "en_US", "", "77", 0, "", true, "77", "25.0");
        row("same format", "en_US", us, "77", 0, "", false, "77", "25.0");
        // The comparison is exact: another case is another format.
        row("same name, other case", "en_US", "snvt_temp_p#us", "77", 0, "", true, "77", "25.0");
        row("text refused", "en_US", "", "warm", 0, refused, true, "warm", "20.0");
        row("quiet 5030", "en_US", "", "77", DeviceAccess::DeviceError::QuietNumber5030, "", true, "77", "20.0");
        row("quiet 1026", "en_US", us, "77", DeviceAccess::DeviceError::QuietNumber1026, "", false, "77", "20.0");
        row("device failure", "en_US", "", "77", Refused, "refused", true, "77", "20.0");
        // A number typed with the user's decimal comma reaches the device in the C locale; any
        // other text goes as typed, and the device says what it refuses.
        row("German decimal comma", "de_DE", "", " 21,5 ", 0, "", true, "21.5", "21.5");
        row("German, C-locale number", "de_DE", "", "21.5", 0, "", true, "21.5", "21.5");
        row("German, grouped: as typed", "de_DE", "", "1.021,5", 0, refused, true, "1.021,5", "20.0");
        row("English, grouped: as typed", "en_US", "", "1,021.5", 0, refused, true, "1,021.5", "20.0");
    }
    void writeCpValue()
    {
        QFETCH(QString, locale);
        QFETCH(QString, format);
        QFETCH(QString, current);
        QFETCH(QString, typed);
        QFETCH(int, faultNumber);
        QFETCH(QString, error);
        QFETCH(bool, formatSet);
        QFETCH(QString, written);
        QFETCH(QString, stored);
        const QLocale previous;
        QLocale::setDefault(QLocale(locale));
        const auto restore = qScopeGuard([&] { QLocale::setDefault(previous); });
        const auto cp = tempCp(*sim, "SCPTminRnge");
        cp->setFormat(current);
        if (faultNumber)
            (*sim)->failOperation("ConfigProperty.setValueText", faultNumber, false, QString(), "refused");
        (*sim)->clearCallLog();

        QLineEdit box(typed);
        QString gotErr = QStringLiteral("earlier");
        QCOMPARE(WriteControlTextToCp(&box, cp, format, gotErr), error.isEmpty());
        QCOMPARE(gotErr, error.isEmpty() ? QStringLiteral("earlier") : "earlier\r\n" + error);
        QCOMPARE(box.text(), typed);
        // A changed format goes back to the default (empty), not to the previous one.
        const QStringList calls = formatSet
            ? QStringList { "Format", "setFormat " + format, "setValueText " + written, "setFormat" }
            : QStringList { "Format", "setValueText " + written };
        QCOMPARE(cpCalls(*sim, "SCPTminRnge"), calls);
        (*sim)->clearFaults();
        QCOMPARE((*sim)->storedCpText(Device, "Temp", "SCPTminRnge"), stored);

        gotErr = QStringLiteral("earlier");
        QVERIFY(!WriteCpValue(nullptr, format, written, gotErr));
        QCOMPARE(gotErr, QStringLiteral("earlier\r\nConfigProperty is nothing."));
    }

    void readIntoWidget_data()
    {
        QTest::addColumn<QString>("cpName");
        QTest::addColumn<int>("faultNumber");
        QTest::addColumn<int>("comboIndex");
        QTest::addColumn<QString>("boxText");
        QTest::addColumn<QString>("message");
        // The tool tip names the format after the first ".", or the whole name without one.
        QTest::addColumn<QString>("format"); // "format name|the name in the tool tip"
        const auto row
            = [](const char *name, const char *cp, int fault, int index, const char *box, const char *msg,
                  const char *format) { QTest::newRow(name) << cp << fault << index << box << msg << format; };
        const char *signal = "UCPTinputSignalType";
        const char *typed = "#9000A53D0A040410[3].UCPTinputSignalType|UCPTinputSignalType";
        row("value selects its item", signal, 0, 2, "RESISTANCE", "", typed);
        row("no match keeps the selection", "SCPTobjMajVer", 0, 0, "2", "", "a.b.c|b.c");
        row("read fails", signal, Refused, -1, "", "Error: refused\r\n(Reading UCPTinputSignalType Value)",
            "SNVT_temp_p#US|SNVT_temp_p#US");
        row("quiet failure still shows", signal, DeviceAccess::DeviceError::QuietNumber1026, -1, "",
            "Error: \r\n(Reading UCPTinputSignalType Value)", typed);
    }

    void readIntoWidget()
    {
        QFETCH(QString, cpName);
        QFETCH(int, faultNumber);
        QFETCH(int, comboIndex);
        QFETCH(QString, boxText);
        QFETCH(QString, message);
        QFETCH(QString, format);

        if (faultNumber)
            (*sim)->failOperation("ConfigProperty.ValueText", faultNumber, false, QString(), "refused");
        const auto cp = tempCp(*sim, cpName);
        TestSupport::SeamRecorder seams;

        QComboBox combo;
        combo.addItems({ "VOLTAGE_0_10V", "MILIAMPS_4_20MA", "RESISTANCE" });
        combo.setCurrentIndex(0);
        ReadCpValueToComboBox(&combo, cp, format.section('|', 0, 0));
        QCOMPARE(combo.currentIndex(), comboIndex);
        QLineEdit box(QStringLiteral("old"));
        ReadCpValueToTextBox(&box, cp, format.section('|', 0, 0));
        QCOMPARE(box.text(), boxText);
        QCOMPARE(box.toolTip(), "Format name: " + format.section('|', 1));
        QCOMPARE(combo.toolTip(), box.toolTip());

        QStringList shown, expected;
        for (const auto &record : seams.messages())
            shown << record.title + QLatin1Char('|') + record.text;
        if (!message.isEmpty())
            expected << "Sensor ReadCpValueToComboBox|" + message << "Sensor ReadCpValueToTextBox|" + message;
        QCOMPARE(shown, expected);
    }

    // The search starts after the first item, ignores case and comes back to the first last.
    void selectComboText()
    {
        QComboBox combo;
        combo.addItems({ "Alpha", "beta", "ALPHA" });
        QVERIFY(SelectComboText(&combo, "alpha"));
        QCOMPARE(combo.currentIndex(), 2);
        combo.removeItem(2);
        QVERIFY(SelectComboText(&combo, "ALPHA"));
        QCOMPARE(combo.currentIndex(), 0);
        combo.setCurrentIndex(1);
        QVERIFY(!SelectComboText(&combo, "Alph"));
        QCOMPARE(combo.currentIndex(), 1);
    }

    // A box or list given what it shows already is left alone; anything else takes the new
    // state exactly as setText or a rebuild by addItem would give it.
    void unchangedWidgetsStay()
    {
        // The user's edit of the box before (empty: none), the text given, whether the box may
        // take it anew, the list's new items (each with its position as value), whether rebuilt.
        const std::tuple<QString, QString, bool, QStringList, bool> rows[]
            = { { "", "21.5", false, { "LINEAR", "DIGITAL" }, false },
                  { "", "22", true, { "DIGITAL", "LINEAR" }, true }, { "21.5", "21.5", true, { "LINEAR" }, true },
                  { "9", "21.5", true, {}, true } };
        for (const auto &[typed, given, laidOut, items, rebuilt] : rows) {
            const auto named = TestSupport::failureNamesRow(typed + " -> " + given + ": " + items.join(", "));
            QLineEdit box;
            box.setText(QStringLiteral("21.5"));
            if (!typed.isEmpty()) {
                box.selectAll();
                box.insert(typed); // as the user types: modified, with something to undo
            }
            QSignalSpy cursorMoves(&box, &QLineEdit::cursorPositionChanged);
            QSignalSpy texts(&box, &QLineEdit::textChanged);
            MKorvane::SetBoxText(&box, given);
            QCOMPARE(box.text(), given);
            QVERIFY(!box.isModified() && !box.isUndoAvailable());
            QCOMPARE(box.cursorPosition(), int(given.size()));
            if (!laidOut)
                QVERIFY(cursorMoves.isEmpty() && texts.isEmpty());

            QComboBox list;
            list.addItem(QStringLiteral("LINEAR"), 0);
            list.addItem(QStringLiteral("DIGITAL"), 1);
            QVector<std::pair<QString, qint32>> wanted;
            for (int i = 0; i < items.size(); ++i)
                wanted.append({ items.at(i), i });
            QSignalSpy inserted(list.model(), &QAbstractItemModel::rowsInserted);
            QSignalSpy removed(list.model(), &QAbstractItemModel::rowsRemoved);
            QSignalSpy reset(list.model(), &QAbstractItemModel::modelReset);
            MKorvane::SetComboItems(&list, wanted);
            QCOMPARE(list.count(), int(items.size()));
            for (int i = 0; i < items.size(); ++i)
                QVERIFY(list.itemText(i) == items.at(i) && list.itemData(i) == QVariant(i));
            QCOMPARE(inserted.size() + removed.size() + reset.size() > 0, rebuilt);
            QVERIFY(inserted.size() <= 1); // all items in one insertion
        }
    }

    void checkDeviceState_data()
    {
        QTest::addColumn<QString>("change");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<QString>("errMsg");
        const auto row = [](const char *change, bool ok, const QString &error) {
            QTest::newRow(change) << change << ok << (error.isEmpty() ? "earlier" : "earlier\r\n" + error);
        };
        row("ready", true, "");
        row("uncommissioned", false, "The device 'Controller' is not commissioned!");
        row("state 3", false, "The device 'Controller' is not Config Online!");
        row("mode 1", false, "The network is OffNet!");
        row("given", true, ""); // a system given
        row("orphan", true, ""); // no system in the parent chain
    }

    void checkDeviceState()
    {
        QFETCH(QString, change);
        QFETCH(bool, ok);
        QFETCH(QString, errMsg);

        DeviceAccess::AppDevicePtr device = (*sim)->device(Device);
        DeviceAccess::SystemPtr system;
        if (change == QLatin1String("uncommissioned"))
            (*sim)->model().device(Device)->commissioned = false;
        else if (change == QLatin1String("state 3"))
            (*sim)->model().device(Device)->state = 3;
        else if (change == QLatin1String("mode 1"))
            (*sim)->model().system.networkMode = 1;
        else if (change == QLatin1String("given"))
            system = (*sim)->system();
        else if (change == QLatin1String("orphan"))
            device = std::make_shared<OrphanDevice>();
        (*sim)->clearCallLog();

        TestSupport::SeamRecorder seams;
        QString gotErr = QStringLiteral("earlier");
        QCOMPARE(CheckDeviceState(system, device, gotErr), ok);
        QCOMPARE(gotErr, errMsg);
        QCOMPARE(seams.messageCount(), 0);
        // A system given is used as it is; otherwise it is found from the device.
        if (change == QLatin1String("given"))
            QCOMPARE((*sim)->callCount("AppDevice.Parent"), 0);
        else if (change == QLatin1String("orphan"))
            QVERIFY(!system);
        else if (ok || change == QLatin1String("mode 1"))
            QVERIFY(system);
    }

    // Keys are found whatever their letter case, also after removals move the items behind them.
    // A short collection compares its keys in turn, a long one hashes them: both behave alike.
    void collectionKeys_data()
    {
        QTest::addColumn<int>("size");
        QTest::newRow("short") << 8;
        QTest::newRow("long") << 40;
    }

    void collectionKeys()
    {
        QFETCH(int, size);
        DeviceAccess::Collection<int> items;
        const auto number = [&](auto &&call) {
            try {
                call();
                return 0;
            } catch (const DeviceAccess::RuntimeError &error) {
                return int(error.number());
            }
        };
        for (int i = 1; i <= size; ++i)
            items.Add(i, QStringLiteral("Key%1").arg(i));
        items.Add(size + 1); // no key
        QCOMPARE(number([&] { items.Add(0, QStringLiteral("kEY7")); }), 457);
        items.Remove(3);
        items.Remove(QStringLiteral("KEY6"));
        QCOMPARE(items.Count(), size - 1);
        QCOMPARE(items.Item(QStringLiteral("key4")), 4);
        QCOMPARE(items.Item(QStringLiteral("KEY%1").arg(size)), size);
        QCOMPARE(items.Item(items.Count()), size + 1);
        QVERIFY(!items.Contains(QStringLiteral("key3")) && !items.Contains(QString()));
        QCOMPARE(number([&] { items.Item(QStringLiteral("key6")); }), 5);
        items.Add(3, QStringLiteral("key3")); // a removed key is free again
        QCOMPARE(items.Item(QStringLiteral("KEY3")), 3);
    }

    void cpNamesFollowTheVersion()
    {
        // Version 1 and 2 have names of their own; any other version keeps the names it finds.
        QStringList names;
        for (qint16 version : { 1, 3, 2, 0, 1 }) {
            setObjMajorVersion(version);
            InitCpNames();
            names << QString("%1: %2 %3 %4").arg(version).arg(OffsetCpName(), OptionsCpName(), StepLevelCpName());
        }
        QCOMPARE(names,
            QStringList({ "1: SCPToffset UCPTioOptions UCPTstepLevel", "3: SCPToffset UCPTioOptions UCPTstepLevel",
                "2: UCPToffset UCPThwInOptions ", "0: UCPToffset UCPThwInOptions ",
                "1: SCPToffset UCPTioOptions UCPTstepLevel" }));
    }
};

QTEST_MAIN(tst_cpaccess)
#include "tst_cpaccess.moc"
