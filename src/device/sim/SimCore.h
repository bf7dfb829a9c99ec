// SPDX-License-Identifier: MIT
// The state behind one simulated network, shared by the facade and every object and
// service handed out: the model, the call journal (log, faults, latency), the open
// resource handles and the language state. Objects keep it alive, so an object that
// outlives its Network stays usable.
#pragma once

#include "device/sim/SimModel.h"
#include "device/sim/SimNetwork.h"

#include <QDateTime>
#include <QHash>
#include <QMap>
#include <chrono>
#include <utility>

namespace Sim {

struct Fault
{
    qint64 atCall = 0; // > 0: fails that call (counted from the start), or from it on; 0: by operation
    QString operation;
    QString objectName; // empty: any object
    qint32 number = 0;
    QString description;
    bool once = false; // by call: false fails that call and every later one
};

// Every device-library operation passes through enter() before it has any effect.
class CallJournal
{
public:
    // Logs the call, waits the latency and throws an injected fault that matches.
    void enter(const QString &operation, const QStringList &arguments);
    // Whether a call needs its name and arguments: to be logged or matched against a fault.
    bool wantsDetails() const { return logging || !faults.isEmpty(); }
    // What every call does, and all that one needs that wantsDetails() turns down: it is
    // counted and waits the latency.
    void passCall();
    // Notes on the record of the call in progress that it failed (when it is logged).
    void failed(qint32 number, const QString &description);

    QVector<CallRecord> log;
    qsizetype current = -1; // the record of the call in progress; -1 when not logged
    bool logging = true;
    qint64 calls = 0;
    QVector<Fault> faults;
    // Properties that store another value than the one written (Network::storeDifferentValue):
    // the text, in the property's SI default format, that every accepted write stores instead.
    QHash<const CpNode *, QString> storedInstead;
    std::chrono::microseconds latency { 0 };
};

enum class HandleKind { Catalog, TypeFile, LanguageFile };

struct OpenHandle
{
    HandleKind kind = HandleKind::Catalog;
    QString path;
    const ResourceSet *set = nullptr;
};

// Handles of catalogs and resource files. 0 is never a handle.
class HandleTable
{
public:
    qint32 open(HandleKind kind, const QString &path, const ResourceSet *set);
    // The open handle of that kind; throws DeviceError for a closed, unknown or other handle.
    const OpenHandle &get(qint32 handle, std::initializer_list<HandleKind> kinds) const;
    void close(qint32 handle, std::initializer_list<HandleKind> kinds);

    QMap<qint32, OpenHandle> handles;
    qint32 next = 1;
};

struct Core
{
    NetworkModel model;
    QString filePath;
    CallJournal journal;
    HandleTable handles;
    QDateTime stringsChangeTime;
    bool catalogAvailable = true;
    SimClock clock; // drives the value generators

    void enter(const QString &operation, const QStringList &arguments) { journal.enter(operation, arguments); }
    // enter() for an operation whose name and arguments take work to build: they are built
    // only when the journal needs them, which a network that logs nothing rarely does.
    template<typename Describe> void enterDescribed(Describe &&describe)
    {
        if (!journal.wantsDetails())
            return journal.passCall();
        const auto [operation, arguments] = describe();
        journal.enter(operation, arguments);
    }
    // enter() for an operation whose arguments take work to build (numbers as text):
    // `arguments` gives them, and runs only when the journal needs them.
    template<typename Arguments> void enterWithArguments(const QString &operation, Arguments &&arguments)
    {
        enterDescribed([&] { return std::pair { operation, arguments() }; });
    }
};

using CorePtr = std::shared_ptr<Core>;

} // namespace Sim
