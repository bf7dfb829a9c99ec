// SPDX-License-Identifier: MIT
// The fault sweep: each operation runs on a fresh copy of a simulated network without a fault
// (counting its device calls), then once per call with that call failing, alone or with every
// call after it, with an ordinary error number and with each of the two quiet ones. Every run
// ends without a crash, a forbidden exception, a hang or runaway device calls, no control still
// loading; reports only what the operation may, no quiet number where it keeps those quiet, one
// failure at most once, no report over and over; leaves the intended values in the saved
// database except where a failing call may have kept one (old or intended value); and tells of
// a write lost to an ordinary failure. The intended values come from each operation's edits.
#include "defaults/CInputDefaultValues.h"
#include "device/sim/SimErrors.h"
#include "device/sim/SimNetwork.h"
#include "hardware/ctlSensorHardware.h"
#include "hardware/fTable.h"
#include "network/ctlSensorNV.h"
#include "shared/ProcessStateTesting.h"
#include "support/SeamRecorder.h"
#include "support/SimFixture.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSet>
#include <QTest>
#include <algorithm>
#include <csignal>
#include <cstring>
#include <functional>
#include <type_traits>
#include <unistd.h>

using DeviceAccess::DeviceError;
using TestSupport::MessageRecord;
using TestSupport::SeamRecorder;

namespace {

const QString Controller = QStringLiteral("HWI-Controller 1");
// Blocks of the sample network, and one of tests/data/network-nv.json.
const QString Version1Linear = QStringLiteral("HwInput[4]"); // SNVT_temp_p, version 1, LINEAR
const QString SetpointOffset = QStringLiteral("HwInput[10]"); // SNVT_temp, version 2, SETPOINT_OFFSET
const QString Temperature = QStringLiteral("HwInput[0]"); // SNVT_temp_p
// The reads of the hardware control: the message boxes of a property that cannot be read.
const QStringList ReadBoxes { "Sensor ReadCpValueToComboBox/16", "Sensor ReadCpValueToTextBox/16" };
// A run that takes longer hangs (generous: sanitizer builds are slow).
constexpr unsigned RunTimeLimit = 30;

// What a run that does not end reports: it names the run.
char hangReport[1024];
void onHang(int)
{
    (void)!write(STDERR_FILENO, hangReport, strlen(hangReport));
    _exit(EXIT_FAILURE);
}

struct Fault
{
    int call = 0; // the first failing device call of the operation, from 1; 0: the clean run
    bool onward = false; // every later call fails as well
    qint32 number = 0;
    bool isQuiet() const { return DeviceError::isQuiet(number); }
    // Recognisable in whatever the run reports.
    QString description() const
    {
        return QStringLiteral("Injected failure #%1%2.").arg(call).arg(onward ? " onward" : "");
    }
};

// One thing a run told: a control's MessageEvent, a message box, or a line of an error text
// handed back to the caller (such lines are not restricted).
struct Report
{
    QString kind; // "event", "message box", "error line"
    QString source; // the function name, the box's title, the procedure that handed the text back
    qint32 style = 0;
    QString text;
    QString signature() const { return source + '/' + QString::number(style); }
    QString describe() const { return kind + ' ' + signature() + ": \"" + QString(text).replace("\r\n", " / ") + '"'; }
};

struct Outcome
{
    QStringList failures; // broken rules found while running
    int calls = 0;
    bool loading = false, failedResult = false;
    QVector<Report> reports;
    QMap<QString, QString> saved;
};

// Two stored texts hold the same value: equal, or blank-separated numbers equal as numbers.
bool sameValue(const QString &a, const QString &b)
{
    const QStringList x = a.split(' ', Qt::SkipEmptyParts), y = b.split(' ', Qt::SkipEmptyParts);
    if (a == b || x.isEmpty() || x.size() != y.size())
        return a == b;
    for (int i = 0; i < x.size(); ++i) {
        bool xNumber = false, yNumber = false;
        const double u = x.at(i).toDouble(&xNumber), v = y.at(i).toDouble(&yNumber);
        if (x.at(i) != y.at(i) && !(xNumber && yNumber && qAbs(u - v) <= 1e-9 * qMax(1.0, qAbs(u))))
            return false;
    }
    return true;
}

// Every property of every block, its first variable's properties and name, as the database stores
// them: "device/block/NAME", "device/block/nv/NAME", "device/block/nv name".
QMap<QString, QString> databaseValues(Sim::Network &network)
{
    QMap<QString, QString> values;
    network.setLogging(false);
    for (const QString &device : network.deviceNames()) {
        for (const QString &block : network.blockNames(device)) {
            const QString prefix = device + '/' + block + '/';
            const auto insert = [&](const DeviceAccess::ConfigPropertiesPtr &cps, bool nv) {
                for (qint32 i = 1; i <= cps->Count(); ++i) {
                    const QString name = cps->Item(i)->Name();
                    values.insert(prefix + (nv ? "nv/" : "") + name, network.storedCpText(device, block, name, nv));
                }
            };
            const DeviceAccess::LonMarkObjectPtr object = network.block(device, block);
            insert(object->ConfigProperties(), false);
            if (object->NetworkVariables()->Count() < 1)
                continue;
            values.insert(prefix + "nv name", object->NetworkVariables()->Item(1)->Name());
            insert(object->NetworkVariables()->Item(1)->ConfigProperties(), true);
        }
    }
    network.setLogging(true);
    return values;
}

// An operation to sweep; its functions run with the run's network installed.
struct SweepOperation
{
    SweepOperation(
        const QString &name = QString(), const QString &block = QString(), const QString &database = QString())
        : name(name)
        , block(block)
        , database(database)
    {
    }
    QString name, block, database; // database: a file of tests/data; empty: the sample network
    std::function<void(Sim::Network &)> arrange; // once: the stored state the operation starts from
    std::function<void(Sim::Network &)> prepare; // every run, no fault yet: the controls and the user's edits
    std::function<void()> act; // the operation under the fault
    std::function<void()> finish; // after the fault is cleared (the write after an editor's OK)
    std::function<QString()> check; // a complaint right after the operation, or nothing
    std::function<bool(const Sim::CallRecord &)> mayLeaveLoading; // a failing call that may leave a control loading
    QStringList reports; // what it may report, "source/style" ("ReadValues/16")
    QMultiMap<qint32, QString> quietReports; // those that may tell of a quiet number, by number
    bool mayThrow = false; // a failure may reach the host as the call's failure
    // Intended values of the block: "NAME" for its properties, "nv/NAME" for its variable's,
    // "nv name" for the variable's name. Every other value stays.
    QMap<QString, QString> intended;
    bool lookupsSkipTheRest = false; // a failing look-up of a property by name skips every later write
    QStringList mayStay; // may keep their old value whichever call fails, and hold any value after a 5030
    bool mustTellLoss = false; // a lost write is reported, or the result says so
};

} // namespace
Q_DECLARE_METATYPE(SweepOperation)

class TestFaultSweep : public QObject
{
    Q_OBJECT

private slots:
    void sweep_data();
    void sweep()
    {
        QFETCH(SweepOperation, op);
        std::signal(SIGALRM, onHang);
        const QStringList violations = run(op);
        qInfo("%s: %lld device calls failed in turn", qPrintable(op.name), static_cast<long long>(m_cleanCalls.size()));
        QVERIFY2(violations.isEmpty(), qPrintable(violations.join('\n')));
    }

private:
    QString faultLabel(const Fault &fault) const
    {
        const Sim::CallRecord call = m_cleanCalls.value(fault.call - 1);
        if (fault.call == 0)
            return QStringLiteral("clean run");
        return QStringLiteral("call %1 of %2 %4(%5) failing %6 with %7 number %3")
            .arg(fault.call)
            .arg(m_cleanCalls.size())
            .arg(fault.number - DeviceError::ObjectErrorBase)
            .arg(call.operation, call.arguments.join('|'), fault.onward ? "from then on" : "once",
                fault.isQuiet() ? "quiet" : "ordinary");
    }
    QStringList run(const SweepOperation &op)
    {
        const QString path = op.database.isEmpty() ? TestSupport::SimFixture::sampleNetworkPath()
                                                   : TestSupport::SimFixture::testDataPath(op.database);
        QByteArray database; // the state the operation starts from, stored once
        try {
            const std::shared_ptr<Sim::Network> network = Sim::Network::load(path);
            if (op.arrange)
                op.arrange(*network);
            database = network->toJson();
            m_original = databaseValues(*network);
        } catch (const std::exception &error) {
            return { op.name + ": cannot arrange the database: " + QString::fromLocal8Bit(error.what()) };
        }
        m_cleanCalls.clear();
        QStringList violations = judge(op, Fault(), runOnce(op, Fault(), database, path));
        if (m_cleanCalls.isEmpty())
            violations << op.name + ": the clean run made no device call";
        for (int call = 1; violations.isEmpty() && call <= m_cleanCalls.size(); ++call) {
            for (const bool onward : { false, true }) {
                // An ordinary error number and the two quiet ones.
                for (const qint32 number :
                    { Sim::Errors::InjectedFault, DeviceError::QuietNumber5030, DeviceError::QuietNumber1026 }) {
                    const Fault fault { call, onward, number };
                    violations << judge(op, fault, runOnce(op, fault, database, path));
                }
            }
        }
        return violations;
    }

    Outcome runOnce(const SweepOperation &op, const Fault &fault, const QByteArray &database, const QString &path)
    {
        m_run = Outcome();
        const std::shared_ptr<Sim::Network> network = Sim::Network::fromJson(database, path);
        DeviceAccess::install(network->implementation());
        MKorvane::resetForTests();
        m_seams = std::make_unique<SeamRecorder>();
        const auto guarded = [&](const char *what, const std::function<void()> &step, bool failureAllowed) {
            try {
                step();
            } catch (const DeviceAccess::Failure &failure) {
                if (!failureAllowed)
                    m_run.failures << QStringLiteral("%1 threw \"%2\"").arg(what, failure.description());
            } catch (const std::exception &error) {
                m_run.failures << QStringLiteral("%1 threw %2").arg(what, QString::fromLocal8Bit(error.what()));
            }
        };

        qstrncpy(hangReport,
            qPrintable(QStringLiteral("FAIL!  : fault sweep: %1, %2 did not end within %3 s: a hang\n")
                           .arg(op.name, faultLabel(fault))
                           .arg(RunTimeLimit)),
            sizeof hangReport);
        alarm(RunTimeLimit);
        guarded(
            "preparing", [&] { op.prepare(*network); }, false);
        if (m_run.failures.isEmpty()) {
            m_seams->clear();
            network->clearCallLog();
            if (fault.onward)
                network->failFromCall(fault.call, fault.number, fault.description());
            else if (fault.call > 0)
                network->failCall(fault.call, fault.number, fault.description());
            guarded("the operation", op.act, op.mayThrow);
            network->clearFaults();
            m_run.calls = network->callCount();
            if (fault.call == 0)
                m_cleanCalls = network->callLog();
            m_run.loading
                = (hardwareControl && hardwareControl->IsLoading()) || (networkControl && networkControl->IsLoading());
            const QString complaint = op.check ? op.check() : QString();
            if (!complaint.isEmpty())
                m_run.failures << complaint;
            for (const MessageRecord &box : m_seams->messages())
                m_run.reports.append(Report { "message box", box.title, box.style, box.text });
            const qsizetype told = m_run.reports.size(); // what the finish tells is not judged
            if (op.finish)
                guarded("finishing", op.finish, false);
            m_run.reports.resize(told);
        }
        alarm(0);

        // What reached the database, as saved and loaded again (most runs save one of a few texts).
        try {
            const QByteArray text = network->toJson();
            if (!m_savedValues.contains(text))
                m_savedValues.insert(text, databaseValues(*Sim::Network::fromJson(text, path)));
            m_run.saved = m_savedValues.value(text);
        } catch (const Sim::LoadError &error) {
            m_run.failures << "the database cannot be saved and loaded: " + error.message();
        }
        hardwareControl.reset();
        networkControl.reset();
        inputDefaults.reset();
        m_seams.reset();
        DeviceAccess::install(nullptr);
        MKorvane::resetForTests();
        return m_run;
    }

    QStringList judge(const SweepOperation &op, const Fault &fault, const Outcome &outcome) const
    {
        QStringList complaints = outcome.failures;
        const int cleanCount = m_cleanCalls.size();
        // The failing calls of the clean run.
        const QVector<Sim::CallRecord> failing
            = fault.call > 0 ? m_cleanCalls.mid(fault.call - 1, fault.onward ? -1 : 1) : QVector<Sim::CallRecord>();
        if (fault.call > 0 && outcome.calls > 2 * cleanCount + 20)
            complaints << QStringLiteral("ran away: %1 device calls where the clean run made %2")
                              .arg(outcome.calls)
                              .arg(cleanCount);
        if (outcome.loading && !(op.mayLeaveLoading && std::any_of(failing.begin(), failing.end(), op.mayLeaveLoading)))
            complaints << QStringLiteral("a control is still loading");

        // Reports.
        int told = 0;
        QMap<QString, int> made;
        for (const Report &report : outcome.reports) {
            ++made[report.describe()];
            const bool tellsOfFault = fault.call > 0 && report.text.contains(fault.description());
            told += tellsOfFault ? 1 : 0;
            if (fault.call == 0)
                complaints << "reported without a fault: " + report.describe();
            else if (tellsOfFault && fault.isQuiet()) {
                if (!op.quietReports.values(fault.number).contains(report.signature()))
                    complaints << "told of the quiet number: " + report.describe();
            } else if (report.kind != "error line" && !op.reports.contains(report.signature()))
                complaints << "a report it may not make: " + report.describe();
        }
        if (!fault.onward && told > 1)
            complaints << QStringLiteral("told of one failure %1 times").arg(told);
        // On a write a quiet number means the device took it: no failure, as nothing is said.
        if (fault.isQuiet() && !fault.onward && failing.value(0).operation.section('.', 1).startsWith("set")
            && outcome.failedResult)
            complaints << QStringLiteral("a quiet number on a write counted as a failure");
        // A failure may have a consequence or two that tell the same (a closing after a failed
        // opening), but not one per item of a list.
        for (auto it = made.cbegin(); it != made.cend() && !fault.onward; ++it) {
            if (it.value() > 2)
                complaints << QStringLiteral("made the same report %1 times: %2").arg(it.value()).arg(it.key());
        }

        // The database: intended values, except what the failing calls may have kept from being written.
        QSet<QString> mayKeep; // property names (and "nv name") that may hold their old value
        for (int i = 0; i < failing.size(); ++i) {
            const Sim::CallRecord &call = failing.at(i);
            bool isPosition = false;
            call.arguments.value(1).toInt(&isPosition);
            if (call.operation == "NetworkVariable.setName")
                mayKeep << "nv name";
            else if (call.operation.startsWith("ConfigProperty."))
                mayKeep << call.arguments.value(0);
            else if (call.operation == "ConfigProperties.Item" && !op.lookupsSkipTheRest && !isPosition)
                mayKeep << call.arguments.value(1);
            else { // any later write
                for (const Sim::CallRecord &later : m_cleanCalls.mid(fault.call + i)) {
                    if (later.operation == "ConfigProperty.setValueText"
                        || later.operation == "NetworkVariable.setName")
                        mayKeep << (later.operation.endsWith("setName") ? "nv name" : later.arguments.value(0));
                }
            }
        }
        const QString prefix = Controller + '/' + op.block + '/';
        bool lost = false;
        QMap<QString, QString> every = m_original; // every key, before and after
        every.insert(outcome.saved);
        for (const QString &key : every.keys()) {
            const QString relative = key.startsWith(prefix) ? key.mid(prefix.size()) : QString();
            const QString old = m_original.value(key, "(none)");
            const QString intended = op.intended.value(relative, old);
            const QString actual = outcome.saved.value(key, "(none)");
            if (outcome.saved.isEmpty() || sameValue(actual, intended))
                continue;
            lost = true;
            const QString name = relative.startsWith("nv/") ? relative.mid(3) : relative;
            const bool mayStay = mayKeep.contains(name) || (fault.call > 0 && op.mayStay.contains(relative));
            if ((fault.number == DeviceError::QuietNumber5030 && op.mayStay.contains(relative))
                || (mayStay && sameValue(actual, old)))
                continue;
            complaints << QStringLiteral("%1 holds \"%2\" where \"%3\" was intended (it held \"%4\")")
                              .arg(key, actual, intended, old);
        }
        if (lost && op.mustTellLoss && fault.call > 0 && !fault.isQuiet() && outcome.reports.isEmpty()
            && !outcome.failedResult)
            complaints << QStringLiteral("a write was lost without a word");
        for (QString &complaint : complaints)
            complaint.prepend(op.name + ", " + faultLabel(fault) + ": ");
        return complaints;
    }

    // Each line of an error text handed back by `procedure`.
    void reportLines(const QString &procedure, const QString &ErrMsg)
    {
        for (const QString &line : ErrMsg.split("\r\n", Qt::SkipEmptyParts))
            m_run.reports.append(Report { "error line", procedure, 0, line });
    }
    // Hands a block to a new control the way a host does; its MessageEvents are taken (no box follows).
    template<typename Control>
    void open(std::unique_ptr<Control> &control, Sim::Network &net, const QString &block, qint16 unit, bool init = true)
    {
        control = std::make_unique<Control>();
        connect(control.get(), &Control::MessageEvent, control.get(),
            [this](const QString &Message, const QString &, const QString &Function, qint32 Type, bool &IsReceived) {
                IsReceived = true;
                m_run.reports.append(Report { "event", Function, Type, Message });
            });
        control->setSystem(net.system());
        control->setDeviceObject(net.device(Controller));
        control->setDeviceProgID(net.programId(Controller));
        if constexpr (std::is_same_v<Control, ctlSensorHardware>)
            control->setDRFScope(net.scope(Controller));
        control->setMesureUnit(unit);
        control->setNodeObject(net.block(Controller, block));
        if (init)
            control->ZovezuVavevaInit();
    }
    // Types into text boxes of a control: "name=text".
    static void type(QWidget *control, const QStringList &edits)
    {
        for (const QString &edit : edits)
            control->findChild<QLineEdit *>(edit.section('=', 0, 0))->setText(edit.section('=', 1));
    }

    std::unique_ptr<ctlSensorHardware> hardwareControl;
    std::unique_ptr<ctlSensorNV> networkControl;
    std::unique_ptr<CInputDefaultValues> inputDefaults;
    std::unique_ptr<SeamRecorder> m_seams;
    QVector<Sim::CallRecord> m_cleanCalls;
    QMap<QString, QString> m_original;
    QHash<QByteArray, QMap<QString, QString>> m_savedValues; // by the saved text
    Outcome m_run;
};

void TestFaultSweep::sweep_data()
{
    QTest::addColumn<SweepOperation>("op");
    // Each row named so that it can be run alone (tst_fault_sweep sweep:"hardware Get Value").
    const auto add = [](const SweepOperation &op) { QTest::newRow(qPrintable(op.name)) << op; };
    const auto opened = [this](const QString &block, qint16 unit, bool init = true) {
        return [=](Sim::Network &net) { open(hardwareControl, net, block, unit, init); };
    };
    // US set-point offsets take the conversions: the range minus 32, the offset through the format.
    const auto usFormats = [](Sim::Network &net) { net.setFormatLocale(MEASUREMENT_SYSTEM_US); };

    SweepOperation op { "hardware ZovezuVavevaInit", Version1Linear };
    op.prepare = opened(Version1Linear, MEASUREMENT_SYSTEM_SI, false);
    op.act = [this] { hardwareControl->ZovezuVavevaInit(); };
    op.reports = QStringList { "ZovezuVavevaInit/16", "FillHardwareValues/16", "ReadValues/16", "SetSignalCombo/16" }
        + ReadBoxes;
    // Without the signal types, the lists are not built and no value is read: the control
    // stays loading until the next FillHardwareValues.
    op.mayLeaveLoading = [](const Sim::CallRecord &call) {
        return call.operation == QLatin1String("TypeService.GetEnumCollection") && call.arguments.value(2) == "16";
    };
    add(op);

    op = { "hardware FillHardwareValues, US set-point offset", SetpointOffset };
    op.arrange = usFormats;
    op.prepare = opened(SetpointOffset, MEASUREMENT_SYSTEM_US);
    op.act = [this] { hardwareControl->FillHardwareValues(); };
    op.reports = QStringList { "FillHardwareValues/16", "ReadValues/16", "SetSignalCombo/16" } + ReadBoxes;
    add(op);

    op = { "hardware Get Value", Version1Linear };
    op.prepare = opened(Version1Linear, MEASUREMENT_SYSTEM_SI);
    op.act = [this] { hardwareControl->findChild<QPushButton *>("cmdValue")->click(); };
    op.reports = QStringList { "cmdValue_Click/16" };
    // The live value, or "N/A" when it cannot be read.
    op.check = [this] {
        const QString shown = hardwareControl->findChild<QLineEdit *>("txtValue")->text();
        return shown == "45.5" || shown == "N/A" ? QString() : QStringLiteral("Get Value shows \"%1\"").arg(shown);
    };
    add(op);

    const auto write = [this](SweepOperation &op) {
        op.act = [this] { m_run.failedResult = hardwareControl->WriteValue(); };
        op.reports = QStringList { "WriteValue/16" };
        // An unexpected failure numbered 5030 is told as information, 1026 as any other failure.
        op.quietReports.insert(DeviceError::QuietNumber5030, "WriteValue/64");
        op.quietReports.insert(DeviceError::QuietNumber1026, "WriteValue/16");
        op.mustTellLoss = true;
    };
    op = { "hardware WriteValue", Version1Linear };
    op.prepare = [this, open = opened(Version1Linear, MEASUREMENT_SYSTEM_SI)](Sim::Network &net) {
        open(net);
        hardwareControl->findChild<QCheckBox *>("chkReverse")->click(); // stored: reverse
        hardwareControl->findChild<QComboBox *>("cboSignal")->setCurrentText("MILIAMPS_4_20MA");
        hardwareControl->findChild<QComboBox *>("cboTherm")->setCurrentText("PT100");
        type(hardwareControl.get(), { "txtSelector=3", "txtMin=-10", "txtMax=60", "txtOff=1.5" });
    };
    write(op);
    op.intended = { { "UCPTioOptions", "0 0 0 0 0 0 0 0" }, { "UCPTinputSignalType", "MILIAMPS_4_20MA" },
        { "UCPTthermistorType", "PT100" }, { "UCPTstepLevel", "3" }, { "SCPTminRnge", "-10" }, { "SCPTmaxRnge", "60" },
        { "SCPToffset", "1.5" } };
    add(op);

    // The range goes back as typed in the difference format (a typed difference is stored as
    // that difference, not plus 32), the offset through the format.
    op = { "hardware WriteValue, US set-point offset", SetpointOffset };
    op.arrange = usFormats;
    op.prepare = [this, open = opened(SetpointOffset, MEASUREMENT_SYSTEM_US)](Sim::Network &net) {
        open(net);
        hardwareControl->findChild<QCheckBox *>("chkReverse")->click();
        type(hardwareControl.get(), { "txtMin=36", "txtMax=45", "txtOff=9" }); // °F differences: 20, 25, 5 °C
    };
    write(op);
    op.intended = { { "UCPThwInOptions", "1 0 0 0 0 0 0 0" }, { "SCPTminRnge", "20" }, { "SCPTmaxRnge", "25" },
        { "UCPToffset", "5" } };
    add(op);

    // The editor in US units: outputs are shown in °F and stored in °C.
    op = { "hardware fTable OK", Version1Linear };
    op.arrange = [](Sim::Network &net) {
        net.setFormatLocale(MEASUREMENT_SYSTEM_US);
        net.setStoredCpText(Controller, Version1Linear, "UCPTinputSignalInterpretation", "TRANS_TABLE");
    };
    op.prepare = opened(Version1Linear, MEASUREMENT_SYSTEM_US);
    QStringList shown, stored;
    for (int r = 0; r < 16; ++r) {
        shown << QString::number(r) << QString::number(-4 + 18 * r); // -20 °C and then 10 °C steps
        stored << QString::number(r) << QString::number(-20 + 10 * r);
    }
    op.act = [this, shown] {
        m_seams->setModalDriver([shown](QDialog &dialog) {
            for (int k = 0; k < fTable::CellCount; ++k)
                dialog.findChild<QLineEdit *>(QStringLiteral("txtTable_%1").arg(k))->setText(shown.at(k));
            dialog.findChild<QPushButton *>(QStringLiteral("cmdOK"))->click();
            if (dialog.result() != QDialog::Accepted) // a failed OK leaves the form open
                dialog.findChild<QPushButton *>(QStringLiteral("cmdCancel"))->click();
            return dialog.result();
        });
        hardwareControl->findChild<QPushButton *>("cmdTable")->click();
    };
    op.finish = [this] { hardwareControl->WriteValue(); };
    // A failure while the form fills its cells or captions is a plain box without a title;
    // one on OK a critical box, and the form stays open (Cancel then keeps the stored table).
    op.reports = QStringList { "/0", "Sensor Configuration/16", "cmdTable_Click/16" };
    op.quietReports.insert(DeviceError::QuietNumber1026, "Sensor Configuration/16");
    op.intended = { { "UCPTtransTable", stored.join(' ') } };
    op.mayStay = QStringList { "UCPTtransTable" }; // and after a 5030 any value: an output stored as shown
    add(op);

    // The network control on a block of tests/data/network-nv.json.
    const auto network = [](const QString &name) {
        SweepOperation op { name, Temperature, QStringLiteral("network-nv.json") };
        op.reports = QStringList { "ReadValues/16" };
        op.mustTellLoss = true;
        return op;
    };
    op = network("network ZovezuVavevaInit");
    op.prepare = [this](Sim::Network &net) { open(networkControl, net, Temperature, MEASUREMENT_SYSTEM_SI, false); };
    op.act = [this] { networkControl->ZovezuVavevaInit(); };
    op.reports << "ZovezuVavevaInit/16"
               << "Sensor ReadCpValueToTextBox/16";
    op.mayThrow = true; // a block without its variable fails the call to the host
    add(op);

    op = network("network WriteValue");
    op.prepare = [this](Sim::Network &net) {
        open(networkControl, net, Temperature, MEASUREMENT_SYSTEM_SI);
        networkControl->setAllowChangeNvName(true);
        type(networkControl.get(),
            { "txtDefault=18.5", "txtOver=23", "txtSend=0.4", "txtThrottle=2", "txtHeart=90",
                "txtHwInputNVName=nvoRenamed" });
    };
    op.act = [this] { m_run.failedResult = networkControl->WriteValue(); };
    op.intended = { { "nv/UCPTdefaultValue", "18.5" }, { "nv/SCPTovrValue", "23" }, { "nv/SCPTsndDelta", "0.4" },
        { "nv/SCPTminSendTime", "2" }, { "nv/SCPTmaxSendTime", "90" }, { "nv name", "nvoRenamed" } };
    op.lookupsSkipTheRest = true; // a failure outside the single writes skips the rest
    add(op);

    for (const bool save : { true, false }) {
        const QString procedure = save ? "SaveLcaHwInputNVName" : "ResetLcaHwInputNVName";
        op = network("network " + procedure);
        op.prepare = [this](Sim::Network &net) { open(networkControl, net, Temperature, MEASUREMENT_SYSTEM_SI); };
        op.act = [this, save, procedure] {
            QString errMsg;
            m_run.failedResult = !(save ? networkControl->SaveLcaHwInputNVName(errMsg, "nvoRenamed")
                                        : networkControl->ResetLcaHwInputNVName(errMsg));
            reportLines(procedure, errMsg);
        };
        op.intended = { { "nv name", save ? "nvoRenamed" : "nvoHwInput[0]" } };
        add(op);
    }

    op = { "WriteDefaultValues", Version1Linear };
    // The variable is renamed first, so that its reset shows.
    op.arrange = [](Sim::Network &net) {
        net.setLogging(false);
        net.block(Controller, Version1Linear)->NetworkVariables()->Item(1)->setName("nvoSomething");
        net.setLogging(true);
    };
    // The project's defaults file (CommonFiles beside the plugin's folder).
    op.prepare = [this](Sim::Network &net) {
        inputDefaults = std::make_unique<CInputDefaultValues>();
        QString path = QStringLiteral(VQ_DATA_DIR "/Plugin"), errMsg;
        inputDefaults->ChargeInputDefaultValues(
            path, net.programId(Controller), net.scope(Controller), 19, 0, 7, errMsg);
        if (!errMsg.isEmpty())
            throw std::runtime_error(errMsg.toStdString());
        inputDefaults->setHardwareInputObject(net.block(Controller, Version1Linear));
    };
    op.act = [this] {
        QString errMsg;
        m_run.failedResult = !inputDefaults->WriteDefaultValues("Room_Temp_NTC10k", QString(), errMsg);
        reportLines("WriteDefaultValues", errMsg);
    };
    op.intended = { { "UCPTinputSignalInterpretation", "STD_THERMISTOR" }, { "UCPTinputSignalType", "RESISTANCE" },
        { "UCPTthermistorType", "NTC_10K_TYPE2" }, { "SCPTminRnge", "0" }, { "SCPTmaxRnge", "50" },
        { "SCPToffset", "0" }, { "nv/SCPTovrValue", "21" }, { "nv/UCPTdefaultValue", "21" },
        { "nv/SCPTsndDelta", "0.3" }, { "nv/SCPTminSendTime", "10" }, { "nv/SCPTmaxSendTime", "300" },
        { "nv name", "nvoHwInput[4]" } };
    op.mustTellLoss = true;
    add(op);
}

QTEST_MAIN(TestFaultSweep)
#include "tst_fault_sweep.moc"
