// SPDX-License-Identifier: MIT
// The fault sweep: runs one operation against a fresh copy of a simulated network, first
// without a fault to count its device calls, then once per call with that call failing
// (alone, or together with every call after it; with an ordinary error number and with
// each of the two quiet ones), and lists every rule a run broke:
// - it ends without a crash, without an exception the operation may not throw, within a
//   time limit and without running away with device calls;
// - the controls' loading flags are clear at the end;
// - it reports only what the operation may report, never tells of a quiet number where
//   the operation keeps it quiet, tells of one failure at most once and does not repeat a
//   report over and over;
// - the saved database holds the intended values, except the properties that the failing
//   calls may have kept from being written, which hold their old or their intended value;
// - a write lost to an ordinary failure is told.
// The intended values come from the operation's description (the edits its test makes),
// never from a recorded run.
#pragma once

#include "device/sim/SimNetwork.h"
#include "support/SeamRecorder.h"

#include <QHash>
#include <QMap>
#include <QMultiMap>
#include <QObject>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

class QTemporaryDir;

namespace TestSupport {

// One thing a run told: a control's MessageEvent, a message box, or a line of an error
// text that the operation handed back to its caller.
struct SweepReport
{
    enum Kind { Event, Box, Line };
    Kind kind = Event;
    QString source; // event: the function name; box: the title; line: the procedure that handed it back
    qint32 style = 0;
    QString text;

    // "source/style", the form in which an operation lists the reports it may make.
    QString signature() const { return source + QLatin1Char('/') + QString::number(style); }
    QString describe() const;
};

// The fault of one run.
struct SweepFault
{
    int call = 0; // the first failing device call of the operation, from 1; 0: the clean run
    bool onward = false; // every later call fails as well
    qint32 number = 0;

    bool isQuiet() const { return DeviceAccess::DeviceError::isQuiet(number); }
    // The injected failure's description: recognisable in whatever the run reports.
    QString description() const
    {
        return QStringLiteral("Injected failure #%1%2.").arg(call).arg(onward ? QStringLiteral(" onward") : QString());
    }
};

// An operation to sweep: how it is set up and run, and what it may do. The functions run
// with the run's network installed.
struct SweepOperation
{
    QString name;
    QString device;
    QString block;

    std::function<void(Sim::Network &)> arrange; // once: the stored state the operation starts from
    std::function<void(Sim::Network &)> prepare; // every run, no fault yet: the controls and the user's edits
    std::function<void()> act; // the operation under the fault
    std::function<void()> finish; // after the fault is cleared (the write after an editor's OK)
    std::function<void()> release; // drops the controls
    std::function<bool()> loading; // a control is still loading
    // The fault may leave a control loading (calls: the clean run's device calls).
    std::function<bool(const SweepFault &, const QVector<Sim::CallRecord> &calls)> mayStayLoading;
    // Further checks right after the operation; each complaint is a violation.
    std::function<QStringList(const SweepFault &)> check;

    // The reports it may make, "source/style" ("ReadValues/16"); those that may tell of a quiet
    // number, by number. Lines of an error text handed back are not restricted.
    QStringList reports;
    QMultiMap<qint32, QString> quietReports;
    bool mayThrow = false; // a failure may reach the host as the call's failure

    // Intended values of the operation's block, as the database stores them: "NAME" for its
    // properties, "nv/NAME" for its variable's, "nv name" for the variable's name. Every other
    // property keeps its value, except those the failing calls may have kept from being written.
    QMap<QString, QString> intended;
    // A failing look-up of a property by name skips every later write (not only that property's).
    bool lookupsSkipTheRest = false;
    QStringList mayStay; // may keep their old value whichever call fails
    std::function<QStringList(const SweepFault &)> anyValue; // may hold any value after this fault
    bool mustTellLoss = false; // a write lost to an ordinary failure is reported, or the result says so
};

class FaultSweep
{
public:
    // databaseFile as for SimFixture: empty for the sample network, else a file of tests/data.
    explicit FaultSweep(const QString &databaseFile = QString());
    ~FaultSweep();
    FaultSweep(const FaultSweep &) = delete;
    FaultSweep &operator=(const FaultSweep &) = delete;

    // Runs the operation clean and then under every fault; returns one readable line per violation.
    QStringList run(const SweepOperation &operation);

    // Runs so far, and the device calls of the last clean run.
    int runs() const { return m_runs; }
    int cleanCalls() const { return m_cleanCalls.size(); }

    // For the operation's functions during a run.
    void report(SweepReport::Kind kind, const QString &source, qint32 style, const QString &text)
    {
        m_reports.append(SweepReport { kind, source, style, text });
    }
    // Each line of an error text handed back by `procedure`.
    void reportLines(const QString &procedure, const QString &ErrMsg);
    // The operation's result says that not everything was done.
    void setFailedResult(bool failed) { m_failedResult = m_failedResult || failed; }
    SeamRecorder &seams() { return *m_seams; }
    // Records a control's MessageEvent and takes it, so that no message box follows.
    template<typename Control> void listen(Control *control)
    {
        QObject::connect(control, &Control::MessageEvent, control,
            [this](const QString &Message, const QString &, const QString &FunctionName, qint32 TypeIndex,
                bool &IsReceived) {
                IsReceived = true;
                report(SweepReport::Event, FunctionName, TypeIndex, Message);
            });
    }

private:
    struct Outcome;
    Outcome runOnce(const SweepOperation &operation, const SweepFault &fault, const QByteArray &database);
    QStringList judge(const SweepOperation &operation, const SweepFault &fault, const Outcome &outcome) const;

    QString m_databaseFile;
    QString m_tempPath;
    QByteArray m_clean;
    QString m_loadError;
    QVector<Sim::CallRecord> m_cleanCalls;
    QMap<QString, QString> m_original;
    QHash<QByteArray, QMap<QString, QString>> m_savedValues; // by the saved text's digest
    std::unique_ptr<SeamRecorder> m_seams;
    QVector<SweepReport> m_reports;
    bool m_failedResult = false;
    int m_runs = 0;
    struct Watchdog;
    std::unique_ptr<Watchdog> m_watchdog;
    std::unique_ptr<QTemporaryDir> m_dir;
};

} // namespace TestSupport
