// SPDX-License-Identifier: MIT
// The common part of the objects the simulated library hands out for one item of the
// model (a device, a property, a format, a type ...): the shared state, the item, and
// the logging of every call under "<Interface>.<Method>" with the item's name first.
#pragma once

#include "device/sim/SimCore.h"

namespace Sim {

template<typename Interface, typename Node> class ItemView : public Interface
{
public:
    ItemView(CorePtr core, Node *item, const char *interfaceName)
        : m_core(std::move(core))
        , m_item(item)
        , m_interfaceName(interfaceName)
    {
    }

protected:
    // Every call goes through here before it has any effect: it is logged, waits the
    // latency and throws an injected fault that matches.
    void enter(const char *method, const QStringList &more = {}) const
    {
        m_core->enterDescribed([&] {
            return std::pair { QString::fromLatin1(m_interfaceName) + QLatin1Char('.') + QLatin1String(method),
                QStringList { m_item->name } + more };
        });
    }

    // Runs the body of a write; a failure is noted on the call's record and passed on.
    template<typename Body> void recorded(Body &&body) const
    {
        try {
            body();
        } catch (const DeviceAccess::Failure &failure) {
            m_core->journal.failed(failure.number(), failure.description());
            throw;
        }
    }

    CorePtr m_core;
    Node *m_item;

private:
    const char *m_interfaceName;
};

} // namespace Sim
