// SPDX-License-Identifier: MIT
// The fault sweep: the runs, the watchdog that turns a hang into a failure with a name,
// and the rules each run is judged by.
#include "support/FaultSweep.h"

#include "device/DeviceAccess.h"
#include "device/sim/SimErrors.h"
#include "shared/ProcessStateTesting.h"
#include "support/SimFixture.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QSet>
#include <QTemporaryDir>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <thread>

namespace TestSupport {

namespace {

using DeviceAccess::DeviceError;

// A run that takes longer than this hangs (generous: sanitizer builds are slow).
constexpr std::chrono::seconds RunTimeLimit(30);
// The most times one failure may make the same report.
constexpr int MaxRepeats = 2;
// A listing longer than this ends with a count of the rest.
constexpr int MaxListed = 200;

QString numberName(qint32 number)
{
    return QStringLiteral("%1 number %2")
        .arg(DeviceError::isQuiet(number) ? QStringLiteral("quiet") : QStringLiteral("ordinary"))
        .arg(number - DeviceError::ObjectErrorBase);
}

QString describeCall(const Sim::CallRecord &call)
{
    return call.operation + QLatin1Char('(') + call.arguments.join(QLatin1Char('|')) + QLatin1Char(')');
}

// Two stored texts hold the same value: equal, or blank-separated numbers equal as numbers.
bool sameValue(const QString &a, const QString &b)
{
    const QStringList x = a.split(QLatin1Char(' '), Qt::SkipEmptyParts),
                      y = b.split(QLatin1Char(' '), Qt::SkipEmptyParts);
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
    const bool logging = network.logging();
    network.setLogging(false);
    for (const QString &device : network.deviceNames()) {
        for (const QString &block : network.blockNames(device)) {
            const QString prefix = device + QLatin1Char('/') + block + QLatin1Char('/');
            const auto insert = [&](const DeviceAccess::ConfigPropertiesPtr &cps, bool nv) {
                for (qint32 i = 1; i <= cps->Count(); ++i) {
                    const QString name = cps->Item(i)->Name();
                    values.insert(prefix + (nv ? QStringLiteral("nv/") : QString()) + name,
                        network.storedCpText(device, block, name, nv));
                }
            };
            const DeviceAccess::LonMarkObjectPtr object = network.block(device, block);
            insert(object->ConfigProperties(), false);
            if (object->NetworkVariables()->Count() < 1)
                continue;
            const DeviceAccess::NetworkVariablePtr nv = object->NetworkVariables()->Item(1);
            values.insert(prefix + QStringLiteral("nv name"), nv->Name());
            insert(nv->ConfigProperties(), true);
        }
    }
    network.setLogging(logging);
    return values;
}

QString faultLabel(const SweepFault &fault, const QVector<Sim::CallRecord> &calls)
{
    if (fault.call == 0)
        return QStringLiteral("clean run");
    return QStringLiteral("call %1 of %2 %3 failing %4 with %5")
        .arg(fault.call)
        .arg(calls.size())
        .arg(describeCall(calls.value(fault.call - 1)),
            fault.onward ? QStringLiteral("from then on") : QStringLiteral("once"), numberName(fault.number));
}

} // namespace

QString SweepReport::describe() const
{
    static const char *const kinds[] = { "event", "message box", "error line" };
    QString shown = text;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral(" / "));
    return QStringLiteral("%1 %2 (style %3): \"%4\"").arg(QLatin1String(kinds[kind]), source).arg(style).arg(shown);
}

// Turns a run that does not end into a failure that names the run.
struct FaultSweep::Watchdog
{
    ~Watchdog()
    {
        watch(QByteArray("(stop)"));
        thread.join();
    }
    // The run that is under way; empty: none.
    void watch(const QByteArray &what)
    {
        std::lock_guard<std::mutex> lock(mutex);
        running = what;
        wake.notify_all();
    }

    std::mutex mutex;
    std::condition_variable wake;
    QByteArray running;
    std::thread thread { [this] {
        std::unique_lock<std::mutex> lock(mutex);
        while (running != "(stop)") {
            const QByteArray watched = running;
            if (!wake.wait_for(lock, RunTimeLimit, [&] { return running != watched; }) && !watched.isEmpty()) {
                std::fprintf(stderr, "FAIL!  : fault sweep: %s did not end within %lld s: a hang\n",
                    watched.constData(), static_cast<long long>(RunTimeLimit.count()));
                std::fflush(stderr);
                std::_Exit(EXIT_FAILURE);
            }
        }
    } };
};

struct FaultSweep::Outcome
{
    QStringList failures; // broken rules found while running
    int calls = 0;
    bool loading = false;
    QVector<SweepReport> reports;
    bool failedResult = false;
    QMap<QString, QString> saved;
};

FaultSweep::FaultSweep(const QString &databaseFile)
    : m_databaseFile(databaseFile.isEmpty() ? SimFixture::sampleNetworkPath() : SimFixture::testDataPath(databaseFile))
    , m_watchdog(std::make_unique<Watchdog>())
    // Every run saves: in memory where the system offers a memory file system, so that the
    // sweep does not wait for the disk thousands of times.
    , m_dir(std::make_unique<QTemporaryDir>(QStringLiteral("/dev/shm/vq-fault-sweep-XXXXXX")))
{
    if (!m_dir->isValid())
        m_dir = std::make_unique<QTemporaryDir>();
    QFile file(m_databaseFile);
    if (!m_dir->isValid())
        m_loadError = QStringLiteral("no temporary folder: ") + m_dir->errorString();
    else if (file.open(QIODevice::ReadOnly))
        m_clean = file.readAll();
    else
        m_loadError = QStringLiteral("%1: %2").arg(m_databaseFile, file.errorString());
}

FaultSweep::~FaultSweep()
{
    DeviceAccess::install(nullptr);
    MKorvane::resetForTests();
}

void FaultSweep::reportLines(const QString &procedure, const QString &ErrMsg)
{
    if (ErrMsg.isEmpty())
        return;
    for (const QString &line : ErrMsg.split(QStringLiteral("\r\n")))
        report(SweepReport::Line, procedure, 0, line);
}

QStringList FaultSweep::run(const SweepOperation &operation)
{
    if (!m_loadError.isEmpty())
        return { m_loadError };
    // The state the operation starts from, stored once.
    QByteArray database;
    try {
        std::shared_ptr<Sim::Network> network = Sim::Network::fromJson(m_clean, m_databaseFile);
        if (operation.arrange)
            operation.arrange(*network);
        database = network->toJson();
        m_original = databaseValues(*network);
    } catch (const std::exception &error) {
        return { operation.name + QStringLiteral(": cannot arrange the database: ")
            + QString::fromLocal8Bit(error.what()) };
    }

    m_cleanCalls.clear();
    const Outcome clean = runOnce(operation, SweepFault(), database);
    QStringList violations = judge(operation, SweepFault(), clean);
    if (m_cleanCalls.isEmpty())
        violations << operation.name + QStringLiteral(": the clean run made no device call");
    if (!violations.isEmpty())
        return violations;

    for (int call = 1; call <= m_cleanCalls.size(); ++call) {
        for (const bool onward : { false, true }) {
            // An ordinary error number and the two quiet ones.
            for (const qint32 number :
                { Sim::Errors::InjectedFault, DeviceError::QuietNumber5030, DeviceError::QuietNumber1026 }) {
                const SweepFault fault { call, onward, number };
                violations << judge(operation, fault, runOnce(operation, fault, database));
            }
        }
    }
    if (violations.size() > MaxListed)
        return violations.mid(0, MaxListed) << QStringLiteral("... and %1 more").arg(violations.size() - MaxListed);
    return violations;
}

FaultSweep::Outcome FaultSweep::runOnce(
    const SweepOperation &operation, const SweepFault &fault, const QByteArray &database)
{
    ++m_runs;
    Outcome outcome;
    const QString label = operation.name + QStringLiteral(", ") + faultLabel(fault, m_cleanCalls);
    std::shared_ptr<Sim::Network> network;
    try {
        network = Sim::Network::fromJson(database, m_databaseFile);
    } catch (const Sim::LoadError &error) {
        outcome.failures << error.message();
        return outcome;
    }
    DeviceAccess::install(network->implementation());
    MKorvane::resetForTests();
    m_seams = std::make_unique<SeamRecorder>();
    m_reports.clear();
    m_failedResult = false;

    const auto guarded = [&](const char *what, const std::function<void()> &step, bool failureAllowed) {
        try {
            step();
        } catch (const DeviceAccess::Failure &failure) {
            if (!failureAllowed)
                outcome.failures << QStringLiteral("%1 threw \"%2\"").arg(QLatin1String(what), failure.description());
        } catch (const std::exception &error) {
            outcome.failures
                << QStringLiteral("%1 threw %2").arg(QLatin1String(what), QString::fromLocal8Bit(error.what()));
        } catch (...) {
            outcome.failures << QStringLiteral("%1 threw something that is not an exception").arg(QLatin1String(what));
        }
    };

    m_watchdog->watch(label.toLocal8Bit());
    guarded(
        "preparing", [&] { operation.prepare(*network); }, false);
    if (outcome.failures.isEmpty()) {
        m_seams->clear();
        network->clearCallLog();
        if (fault.call > 0) {
            if (fault.onward)
                network->failFromCall(fault.call, fault.number, fault.description());
            else
                network->failCall(fault.call, fault.number, fault.description());
        }
        guarded("the operation", operation.act, operation.mayThrow);
        network->clearFaults();
        outcome.calls = network->callCount();
        if (fault.call == 0)
            m_cleanCalls = network->callLog();
        outcome.loading = operation.loading && operation.loading();
        if (operation.check)
            outcome.failures << operation.check(fault);
        for (const MessageRecord &box : m_seams->messages())
            m_reports.append(SweepReport { SweepReport::Box, box.title, box.style, box.text });
        outcome.reports = m_reports;
        outcome.failedResult = m_failedResult;
        if (operation.finish)
            guarded("finishing", operation.finish, false);
    }
    m_watchdog->watch(QByteArray());

    // What reached the database, as saved and loaded again. Most runs save one of a few texts:
    // each is loaded and read once.
    const QString saved = m_dir->filePath(QStringLiteral("saved.json"));
    try {
        network->save(saved);
        QFile file(saved);
        const QByteArray text = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
        const QByteArray digest = QCryptographicHash::hash(text, QCryptographicHash::Sha256);
        if (!m_savedValues.contains(digest))
            m_savedValues.insert(digest, databaseValues(*Sim::Network::load(saved)));
        outcome.saved = m_savedValues.value(digest);
    } catch (const Sim::LoadError &error) {
        outcome.failures << QStringLiteral("the database cannot be saved and loaded: ") + error.message();
    }

    if (operation.release)
        operation.release();
    m_seams.reset();
    DeviceAccess::install(nullptr);
    return outcome;
}

QStringList FaultSweep::judge(const SweepOperation &operation, const SweepFault &fault, const Outcome &outcome) const
{
    QStringList complaints = outcome.failures;
    const int cleanCount = m_cleanCalls.size();

    if (fault.call > 0 && outcome.calls > 2 * cleanCount + 20)
        complaints << QStringLiteral("ran away: %1 device calls where the clean run made %2")
                          .arg(outcome.calls)
                          .arg(cleanCount);
    if (outcome.loading && !(operation.mayStayLoading && operation.mayStayLoading(fault, m_cleanCalls)))
        complaints << QStringLiteral("a control is still loading");

    // Reports.
    int told = 0;
    for (const SweepReport &report : outcome.reports) {
        if (fault.call == 0) {
            complaints << QStringLiteral("reported without a fault: ") + report.describe();
            continue;
        }
        const bool tellsOfFault = report.text.contains(fault.description());
        told += tellsOfFault ? 1 : 0;
        if (tellsOfFault && fault.isQuiet()) {
            if (!operation.quietReports.values(fault.number).contains(report.signature()))
                complaints << QStringLiteral("told of the quiet number: ") + report.describe();
        } else if (report.kind != SweepReport::Line && !operation.reports.contains(report.signature())) {
            complaints << QStringLiteral("a report it may not make: ") + report.describe();
        }
    }
    if (!fault.onward && told > 1)
        complaints << QStringLiteral("told of one failure %1 times").arg(told);
    // On a write a quiet number means the device took it: no failure, as nothing is said.
    const QString failing = fault.call > 0 ? m_cleanCalls.value(fault.call - 1).operation : QString();
    if (fault.isQuiet() && !fault.onward && failing.section(QLatin1Char('.'), 1).startsWith(QLatin1String("set"))
        && outcome.failedResult)
        complaints << QStringLiteral("a quiet number on a write counted as a failure");
    // A failure may have a consequence or two that tell the same (a closing after a failed
    // opening), but not one per item of a list.
    if (!fault.onward) {
        QMap<QString, int> made;
        for (const SweepReport &report : outcome.reports)
            ++made[report.describe()];
        for (auto it = made.cbegin(); it != made.cend(); ++it) {
            if (it.value() > MaxRepeats)
                complaints << QStringLiteral("made the same report %1 times: %2").arg(it.value()).arg(it.key());
        }
    }

    // The database: intended values, except what the failing calls may have kept from being written.
    const QString prefix = operation.device + QLatin1Char('/') + operation.block + QLatin1Char('/');
    QSet<QString> mayKeep; // property names (and "nv name") that may hold their old value
    if (fault.call > 0) {
        for (int call = fault.call; call <= (fault.onward ? cleanCount : fault.call); ++call) {
            const Sim::CallRecord &failing = m_cleanCalls.at(call - 1);
            const QString key = failing.arguments.value(1);
            bool isPosition = false;
            key.toInt(&isPosition);
            if (failing.operation.startsWith(QLatin1String("ConfigProperty.")))
                mayKeep << failing.arguments.value(0);
            else if (failing.operation == QLatin1String("NetworkVariable.setName"))
                mayKeep << QStringLiteral("nv name");
            else if (failing.operation == QLatin1String("ConfigProperties.Item") && !operation.lookupsSkipTheRest
                && !isPosition)
                mayKeep << key;
            else { // any later write
                for (int i = call; i < cleanCount; ++i) {
                    const Sim::CallRecord &later = m_cleanCalls.at(i);
                    if (later.operation == QLatin1String("ConfigProperty.setValueText"))
                        mayKeep << later.arguments.value(0);
                    else if (later.operation == QLatin1String("NetworkVariable.setName"))
                        mayKeep << QStringLiteral("nv name");
                }
            }
        }
    }
    const QStringList anyValue = operation.anyValue && fault.call > 0 ? operation.anyValue(fault) : QStringList();
    bool lost = false;
    QMap<QString, QString> every = m_original; // every key, before and after
    every.insert(outcome.saved);
    for (const QString &key : every.keys()) {
        const QString relative = key.startsWith(prefix) ? key.mid(prefix.size()) : QString();
        const QString old = m_original.value(key, QStringLiteral("(none)"));
        const QString intended = operation.intended.value(relative, old);
        const QString actual = outcome.saved.value(key, QStringLiteral("(none)"));
        if (outcome.saved.isEmpty() || sameValue(actual, intended))
            continue;
        lost = true;
        const QString name = relative.startsWith(QLatin1String("nv/")) ? relative.mid(3) : relative;
        const bool mayStay = mayKeep.contains(name) || (fault.call > 0 && operation.mayStay.contains(relative));
        if (anyValue.contains(relative) || (mayStay && sameValue(actual, old)))
            continue;
        complaints << QStringLiteral("%1 holds \"%2\" where \"%3\" was intended (it held \"%4\")")
                          .arg(key, actual, intended, old);
    }
    if (lost && operation.mustTellLoss && fault.call > 0 && !fault.isQuiet() && outcome.reports.isEmpty()
        && !outcome.failedResult)
        complaints << QStringLiteral("a write was lost without a word");

    for (QString &complaint : complaints)
        complaint.prepend(
            operation.name + QStringLiteral(", ") + faultLabel(fault, m_cleanCalls) + QStringLiteral(": "));
    return complaints;
}

} // namespace TestSupport
