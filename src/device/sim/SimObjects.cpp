// SPDX-License-Identifier: MIT
// System, devices, blocks, network variables and configuration properties.
#include "device/sim/SimObjects.h"

#include "device/sim/SimErrors.h"
#include "device/sim/SimResolve.h"
#include "device/sim/SimValues.h"

namespace Sim {
namespace {

using namespace DeviceAccess;

const TypeDef &requireType(const NetworkModel &model, const CpNode &cp)
{
    QString why;
    const TypeDef *type = Resolver(model).cpType(cp, &why);
    if (!type)
        Errors::raise(Errors::UnknownResource, QStringLiteral("The property %1 has no type: %2.").arg(cp.name, why));
    return *type;
}

const TypeDef &requireFormatType(const NetworkModel &model, const FormatDef &format)
{
    const TypeDef *type = Resolver(model).typeOf(format);
    if (!type)
        Errors::raise(Errors::UnknownResource, QStringLiteral("The format %1 has no type.").arg(format.name));
    return *type;
}

QString cpText(const NetworkModel &model, const CpNode &cp, const QString &formatName)
{
    const FormatDef &format = Resolver(model).cpFormat(cp, formatName);
    return formatValue(cp.value, requireType(model, cp), format, requireFormatType(model, format));
}

// After SCPTnvType changed, the properties that take the variable's type keep their
// value when it still fits the new type and start from its default otherwise.
void refitInheritingValues(const NetworkModel &model, const NvNode &nv)
{
    const Resolver resolver(model);
    auto refit = [&](CpNode &cp) {
        const TypeDef *type = resolver.cpType(cp);
        if (type && !valueFits(cp.value, *type))
            cp.value = defaultValue(*type);
    };
    for (const auto &cp : nv.cps)
        refit(*cp);
    if (nv.block && !nv.block->nvs.empty() && nv.block->nvs.front().get() == &nv) {
        for (const auto &cp : nv.block->cps)
            refit(*cp);
    }
}

class SimSystem : public System
{
public:
    explicit SimSystem(CorePtr core)
        : m_core(std::move(core))
    {
    }
    ObjectPtr Parent() const override
    {
        m_core->enter(QStringLiteral("System.Parent"), { m_core->model.system.name });
        return nullptr;
    }
    qint32 ObjectKind() const override
    {
        m_core->enter(QStringLiteral("System.ObjectKind"), { m_core->model.system.name });
        return ObjectKindSystem;
    }
    qint32 NetworkMode() const override
    {
        m_core->enter(QStringLiteral("System.NetworkMode"), { m_core->model.system.name });
        return m_core->model.system.networkMode;
    }

private:
    CorePtr m_core;
};

class SimDevice : public AppDevice
{
public:
    SimDevice(CorePtr core, DeviceNode *node)
        : m_core(std::move(core))
        , m_node(node)
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
        return m_node->commissioned;
    }
    QString Name() const override
    {
        enter("Name");
        return m_node->name;
    }
    qint32 State() const override
    {
        enter("State");
        return m_node->state;
    }

private:
    void enter(const char *method) const
    {
        m_core->enter(QStringLiteral("AppDevice.") + QLatin1String(method), { m_node->name });
    }
    CorePtr m_core;
    DeviceNode *m_node;
};

class SimCp : public ConfigProperty
{
public:
    SimCp(CorePtr core, CpNode *node)
        : m_core(std::move(core))
        , m_node(node)
    {
    }
    ObjectPtr Parent() const override
    {
        enter("Parent");
        if (m_node->nv)
            return makeNetworkVariable(m_core, m_node->nv);
        return makeBlock(m_core, m_node->block);
    }
    qint32 ObjectKind() const override
    {
        enter("ObjectKind");
        return ObjectKindOther1;
    }
    QString Name() const override
    {
        enter("Name");
        return m_node->name;
    }
    QString Format() const override
    {
        enter("Format");
        return m_node->format;
    }
    void setFormat(const QString &format) override
    {
        enter("setFormat", { format });
        if (!format.isEmpty())
            Resolver(m_core->model).cpFormat(*m_node, format); // an unknown format is refused at once
        m_node->format = format;
    }
    QString ValueText() const override
    {
        enter("ValueText");
        return cpText(m_core->model, *m_node, m_node->format);
    }
    void setValueText(const QString &text) override
    {
        enter("setValueText", { text });
        const NetworkModel &model = m_core->model;
        const FormatDef &format = Resolver(model).cpFormat(*m_node, m_node->format);
        const StoredValue value
            = parseValue(text, requireType(model, *m_node), format, requireFormatType(model, format));
        if (m_node->nv && m_node->name.compare(QLatin1String("SCPTnvType"), Qt::CaseInsensitive) == 0) {
            const StoredValue previous = m_node->value;
            m_node->value = value;
            QString why;
            if (!Resolver(model).nvType(*m_node->nv, &why)) {
                m_node->value = previous;
                Errors::raise(Errors::UnknownResource, QStringLiteral("The type cannot be used: %1.").arg(why));
            }
            refitInheritingValues(model, *m_node->nv);
            return;
        }
        m_node->value = value;
    }
    QVariant Value() const override
    {
        enter("Value");
        return variantOf(requireType(m_core->model, *m_node), cpText(m_core->model, *m_node, QString()));
    }

private:
    void enter(const char *method, const QStringList &more = {}) const
    {
        m_core->enter(QStringLiteral("ConfigProperty.") + QLatin1String(method), QStringList { m_node->name } + more);
    }
    CorePtr m_core;
    CpNode *m_node;
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
        for (const auto &cp : cps()) {
            if (cp->name.compare(name, Qt::CaseInsensitive) == 0)
                return makeConfigProperty(m_core, cp.get());
        }
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
        return makeConfigProperty(m_core, cps().at(size_t(position - 1)).get());
    }

private:
    const std::vector<std::unique_ptr<CpNode>> &cps() const { return m_nv ? m_nv->cps : m_block->cps; }
    QString ownerName() const { return m_nv ? m_nv->name : m_block->name; }
    void enter(const char *method, const QStringList &more = {}) const
    {
        m_core->enter(QStringLiteral("ConfigProperties.") + QLatin1String(method), QStringList { ownerName() } + more);
    }
    CorePtr m_core;
    BlockNode *m_block;
    NvNode *m_nv;
};

class SimNv : public NetworkVariable
{
public:
    SimNv(CorePtr core, NvNode *node)
        : m_core(std::move(core))
        , m_node(node)
    {
    }
    ObjectPtr Parent() const override
    {
        enter("Parent");
        return makeBlock(m_core, m_node->block);
    }
    qint32 ObjectKind() const override
    {
        enter("ObjectKind");
        return ObjectKindNetworkVariable;
    }
    QString Name() const override
    {
        enter("Name");
        return m_node->name;
    }
    void setName(const QString &name) override
    {
        enter("setName", { name });
        if (name.trimmed().isEmpty())
            Errors::raise(Errors::InvalidName, QStringLiteral("A network variable's name cannot be empty."));
        m_node->name = name;
    }
    QString ProgrammaticName() const override
    {
        enter("ProgrammaticName");
        return m_node->programmaticName;
    }
    void setFormat(const QString &format) override
    {
        enter("setFormat", { format });
        if (!format.isEmpty())
            Resolver(m_core->model).nvFormat(*m_node, format);
        m_node->format = format;
    }
    QString ValueText() const override
    {
        enter("ValueText");
        const NetworkModel &model = m_core->model;
        const Resolver resolver(model);
        const FormatDef &format = resolver.nvFormat(*m_node, m_node->format);
        return formatValue(m_node->value, *resolver.nvType(*m_node), format, requireFormatType(model, format));
    }
    ConfigPropertiesPtr ConfigProperties() const override
    {
        enter("ConfigProperties");
        return std::make_shared<SimCpCollection>(m_core, nullptr, m_node);
    }

private:
    void enter(const char *method, const QStringList &more = {}) const
    {
        m_core->enter(QStringLiteral("NetworkVariable.") + QLatin1String(method), QStringList { m_node->name } + more);
    }
    CorePtr m_core;
    NvNode *m_node;
};

class SimNvCollection : public NetworkVariables
{
public:
    SimNvCollection(CorePtr core, BlockNode *block)
        : m_core(std::move(core))
        , m_block(block)
    {
    }
    ObjectPtr Parent() const override
    {
        enter("Parent");
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
        return qint32(m_block->nvs.size());
    }
    NetworkVariablePtr Item(qint32 position) const override
    {
        enter("Item", { QString::number(position) });
        if (position < 1 || position > qint32(m_block->nvs.size())) {
            Errors::raise(Errors::NoSuchItem,
                QStringLiteral("%1 has no network variable at position %2.").arg(m_block->name).arg(position));
        }
        return makeNetworkVariable(m_core, m_block->nvs.at(size_t(position - 1)).get());
    }

private:
    void enter(const char *method, const QStringList &more = {}) const
    {
        m_core->enter(
            QStringLiteral("NetworkVariables.") + QLatin1String(method), QStringList { m_block->name } + more);
    }
    CorePtr m_core;
    BlockNode *m_block;
};

class SimBlock : public LonMarkObject
{
public:
    SimBlock(CorePtr core, BlockNode *node)
        : m_core(std::move(core))
        , m_node(node)
    {
    }
    ObjectPtr Parent() const override
    {
        enter("Parent");
        return makeDevice(m_core, m_node->device);
    }
    qint32 ObjectKind() const override
    {
        enter("ObjectKind");
        return ObjectKindLonMarkObject;
    }
    QString Name() const override
    {
        enter("Name");
        return m_node->name;
    }
    ConfigPropertiesPtr ConfigProperties() const override
    {
        enter("ConfigProperties");
        return std::make_shared<SimCpCollection>(m_core, m_node, nullptr);
    }
    NetworkVariablesPtr NetworkVariables() const override
    {
        enter("NetworkVariables");
        return std::make_shared<SimNvCollection>(m_core, m_node);
    }

private:
    void enter(const char *method) const
    {
        m_core->enter(QStringLiteral("LonMarkObject.") + QLatin1String(method), { m_node->name });
    }
    CorePtr m_core;
    BlockNode *m_node;
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

DeviceAccess::ConfigPropertyPtr makeConfigProperty(const CorePtr &core, CpNode *node)
{
    return node ? std::make_shared<SimCp>(core, node) : nullptr;
}

QString defaultText(const NetworkModel &model, const CpNode &cp)
{
    return cpText(model, cp, QString());
}

void setDefaultText(const NetworkModel &model, CpNode &cp, const QString &text)
{
    const TypeDef &type = requireType(model, cp);
    if (type.valueClass == ValueClass::Text) {
        cp.value.text = text;
        if (cp.nv && cp.name.compare(QLatin1String("SCPTnvType"), Qt::CaseInsensitive) == 0)
            refitInheritingValues(model, *cp.nv);
        return;
    }
    const FormatDef &format = Resolver(model).cpFormat(cp, QString());
    cp.value = parseValue(text, type, format, requireFormatType(model, format));
}

} // namespace Sim
