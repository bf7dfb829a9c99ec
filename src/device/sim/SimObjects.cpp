// SPDX-License-Identifier: MIT
// The system, devices, blocks, network variables and the collections of properties
// and variables.
#include "device/sim/SimObjects.h"

#include "device/sim/SimErrors.h"
#include "device/sim/SimResolve.h"
#include "device/sim/SimValues.h"
#include "device/sim/SimView.h"

namespace Sim {
namespace {

using namespace DeviceAccess;

class SimSystem : public ItemView<System, SystemNode>
{
public:
    explicit SimSystem(const CorePtr &core)
        : ItemView(core, &core->model.system, "System")
    {
    }
    ObjectPtr Parent() const override
    {
        enter("Parent");
        return nullptr;
    }
    qint32 ObjectKind() const override
    {
        enter("ObjectKind");
        return ObjectKindSystem;
    }
    qint32 NetworkMode() const override
    {
        enter("NetworkMode");
        return m_item->networkMode;
    }
};

class SimDevice : public ItemView<AppDevice, DeviceNode>
{
public:
    SimDevice(CorePtr core, DeviceNode *node)
        : ItemView(std::move(core), node, "AppDevice")
    {
    }
    ObjectPtr Parent() const override
    {
        enter("Parent");
        return makeSystem(m_core);
    }
    qint32 ObjectKind() const override
    {
        enter("ObjectKind");
        return ObjectKindAppDevice;
    }
    bool Commissioned() const override
    {
        enter("Commissioned");
        return m_item->commissioned;
    }
    QString Name() const override
    {
        enter("Name");
        return m_item->name;
    }
    qint32 State() const override
    {
        enter("State");
        return m_item->state;
    }
};

class SimCpCollection : public ConfigProperties
{
public:
    SimCpCollection(CorePtr core, BlockNode *block, NvNode *nv)
        : m_core(std::move(core))
        , m_block(block)
        , m_nv(nv)
    {
    }
    ObjectPtr Parent() const override
    {
        enter("Parent");
        if (m_nv)
            return makeNetworkVariable(m_core, m_nv);
        return makeBlock(m_core, m_block);
    }
    qint32 ObjectKind() const override
    {
        enter("ObjectKind");
        return ObjectKindOther5;
    }
    qint32 Count() const override
    {
        enter("Count");
        return qint32(cps().size());
    }
    ConfigPropertyPtr Item(const QString &name) const override
    {
        enter("Item", { name });
        if (CpNode *cp = m_nv ? m_nv->cp(name) : m_block->cp(name))
            return makeConfigProperty(m_core, cp);
        Errors::raise(
            Errors::NoSuchItem, QStringLiteral("%1 has no configuration property %2.").arg(ownerName(), name));
    }
    ConfigPropertyPtr Item(qint32 position) const override
    {
        enter("Item", { QString::number(position) });
        if (position < 1 || position > qint32(cps().size())) {
            Errors::raise(Errors::NoSuchItem,
                QStringLiteral("%1 has no configuration property at position %2.").arg(ownerName()).arg(position));
        }
        return makeConfigProperty(m_core, cps().at(size_t(position - 1)));
    }

private:
    const std::vector<CpNode *> &cps() const { return m_nv ? m_nv->cps : m_block->cps; }
    QString ownerName() const { return m_nv ? m_nv->name : m_block->name; }
    void enter(const char *method, const QStringList &more = {}) const
    {
        m_core->enterDescribed([&] {
            return std::pair { QStringLiteral("ConfigProperties.") + QLatin1String(method),
                QStringList { ownerName() } + more };
        });
    }
    CorePtr m_core;
    BlockNode *m_block;
    NvNode *m_nv;
};

class SimNv : public ItemView<NetworkVariable, NvNode>
{
public:
    SimNv(CorePtr core, NvNode *node)
        : ItemView(std::move(core), node, "NetworkVariable")
    {
    }
    ObjectPtr Parent() const override
    {
        enter("Parent");
        return makeBlock(m_core, m_item->block);
    }
    qint32 ObjectKind() const override
    {
        enter("ObjectKind");
        return ObjectKindNetworkVariable;
    }
    QString Name() const override
    {
        enter("Name");
        return m_item->name;
    }
    void setName(const QString &name) override
    {
        enter("setName", { name });
        recorded([&] {
            if (name.trimmed().isEmpty())
                Errors::raise(Errors::InvalidName, QStringLiteral("A network variable's name cannot be empty."));
            m_item->name = name;
        });
    }
    QString ProgrammaticName() const override
    {
        enter("ProgrammaticName");
        return m_item->programmaticName;
    }
    void setFormat(const QString &format) override
    {
        enter("setFormat", { format });
        recorded([&] {
            if (!format.isEmpty())
                Resolver(m_core->model).nvFormat(*m_item, format);
            m_item->format = format;
        });
    }
    QString ValueText() const override
    {
        enter("ValueText");
        const Resolver resolver(m_core->model);
        const FormatDef &format = resolver.nvFormat(*m_item, m_item->format);
        const TypeDef &type = *resolver.nvType(*m_item);
        const StoredValue value = m_item->generator
            ? generatedValue(m_item->value, *m_item->generator, type, m_item->programmaticName, m_core->clock.seconds())
            : m_item->value;
        return formatValue(value, type, format, resolver.requireTypeOf(format));
    }
    ConfigPropertiesPtr ConfigProperties() const override
    {
        enter("ConfigProperties");
        return std::make_shared<SimCpCollection>(m_core, nullptr, m_item);
    }
};

class SimNvCollection : public ItemView<NetworkVariables, BlockNode>
{
public:
    SimNvCollection(CorePtr core, BlockNode *node)
        : ItemView(std::move(core), node, "NetworkVariables")
    {
    }
    ObjectPtr Parent() const override
    {
        enter("Parent");
        return makeBlock(m_core, m_item);
    }
    qint32 ObjectKind() const override
    {
        enter("ObjectKind");
        return ObjectKindOther5;
    }
    qint32 Count() const override
    {
        enter("Count");
        return qint32(m_item->nvs.size());
    }
    NetworkVariablePtr Item(qint32 position) const override
    {
        enter("Item", { QString::number(position) });
        if (position < 1 || position > qint32(m_item->nvs.size())) {
            Errors::raise(Errors::NoSuchItem,
                QStringLiteral("%1 has no network variable at position %2.").arg(m_item->name).arg(position));
        }
        return makeNetworkVariable(m_core, m_item->nvs.at(size_t(position - 1)));
    }
};

class SimBlock : public ItemView<LonMarkObject, BlockNode>
{
public:
    SimBlock(CorePtr core, BlockNode *node)
        : ItemView(std::move(core), node, "LonMarkObject")
    {
    }
    ObjectPtr Parent() const override
    {
        enter("Parent");
        return makeDevice(m_core, m_item->device);
    }
    qint32 ObjectKind() const override
    {
        enter("ObjectKind");
        return ObjectKindLonMarkObject;
    }
    QString Name() const override
    {
        enter("Name");
        return m_item->name;
    }
    ConfigPropertiesPtr ConfigProperties() const override
    {
        enter("ConfigProperties");
        return std::make_shared<SimCpCollection>(m_core, m_item, nullptr);
    }
    NetworkVariablesPtr NetworkVariables() const override
    {
        enter("NetworkVariables");
        return std::make_shared<SimNvCollection>(m_core, m_item);
    }
};

} // namespace

DeviceAccess::SystemPtr makeSystem(const CorePtr &core)
{
    return std::make_shared<SimSystem>(core);
}

DeviceAccess::AppDevicePtr makeDevice(const CorePtr &core, DeviceNode *node)
{
    return node ? std::make_shared<SimDevice>(core, node) : nullptr;
}

DeviceAccess::LonMarkObjectPtr makeBlock(const CorePtr &core, BlockNode *node)
{
    return node ? std::make_shared<SimBlock>(core, node) : nullptr;
}

DeviceAccess::NetworkVariablePtr makeNetworkVariable(const CorePtr &core, NvNode *node)
{
    return node ? std::make_shared<SimNv>(core, node) : nullptr;
}

} // namespace Sim
