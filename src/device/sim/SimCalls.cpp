// SPDX-License-Identifier: MIT
// The call journal (log, injected faults, latency) and the handle table.
#include "device/sim/SimCore.h"
#include "device/sim/SimErrors.h"

#include <thread>

namespace Sim {

void CallJournal::passCall()
{
    ++calls;
    current = -1;
    if (latency.count() > 0)
        std::this_thread::sleep_for(latency);
}

void CallJournal::enter(const QString &operation, const QStringList &arguments)
{
    passCall();
    if (logging) {
        log.append(CallRecord { operation, arguments, 0, QString() });
        current = log.size() - 1;
    }

    for (int i = 0; i < faults.size(); ++i) {
        const Fault fault = faults.at(i);
        const bool hit = fault.atCall > 0 ? (fault.once ? fault.atCall == calls : fault.atCall <= calls)
                                          : fault.operation == operation
                && (fault.objectName.isEmpty()
                    || (!arguments.isEmpty() && arguments.first().compare(fault.objectName, Qt::CaseInsensitive) == 0));
        if (!hit)
            continue;
        if (fault.once)
            faults.removeAt(i);
        const QString description = fault.description.isEmpty()
            ? QStringLiteral("Injected failure of %1.").arg(operation)
            : fault.description;
        failed(fault.number, description);
        throw DeviceAccess::DeviceError(fault.number, description);
    }
}

void CallJournal::failed(qint32 number, const QString &description)
{
    if (current < 0 || current >= log.size())
        return;
    log[current].error = number;
    log[current].errorDescription = description;
}

qint32 HandleTable::open(HandleKind kind, const QString &path, const ResourceSet *set)
{
    const qint32 handle = next++;
    handles.insert(handle, OpenHandle { kind, path, set });
    return handle;
}

const OpenHandle &HandleTable::get(qint32 handle, std::initializer_list<HandleKind> kinds) const
{
    const auto it = handles.constFind(handle);
    if (it != handles.constEnd()) {
        for (HandleKind kind : kinds) {
            if (it->kind == kind)
                return *it;
        }
    }
    Errors::raise(Errors::InvalidHandle, QStringLiteral("The handle %1 is not open.").arg(handle));
}

void HandleTable::close(qint32 handle, std::initializer_list<HandleKind> kinds)
{
    get(handle, kinds);
    handles.remove(handle);
}

} // namespace Sim
