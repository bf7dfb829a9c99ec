// SPDX-License-Identifier: MIT
// Configuration properties: their value read and written as text in a format, the
// type change that a new SCPTnvType brings, and the unlogged test access.
#include "device/sim/SimErrors.h"
#include "device/sim/SimObjects.h"
#include "device/sim/SimResolve.h"
#include "device/sim/SimValues.h"
#include "device/sim/SimView.h"

namespace Sim {
namespace {

using namespace DeviceAccess;

QString cpText(const NetworkModel &model, const CpNode &cp, const QString &formatName, Defaults defaults)
{
    const Resolver resolver(model, defaults);
    const FormatDef &format = resolver.cpFormat(cp, formatName);
    return formatValue(cp.value, resolver.requireCpType(cp), format, resolver.requireTypeOf(format));
}

bool isNvTypeOfVariable(const CpNode &cp)
{
    return cp.nv && cp.name.compare(QLatin1String("SCPTnvType"), Qt::CaseInsensitive) == 0;
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
    if (nv.block && !nv.block->nvs.empty() && nv.block->nvs.front() == &nv) {
        for (const auto &cp : nv.block->cps)
            refit(*cp);
    }
}

class SimCp : public ItemView<ConfigProperty, CpNode>
{
public:
    SimCp(CorePtr core, CpNode *node)
        : ItemView(std::move(core), node, "ConfigProperty")
    {
    }
    ObjectPtr Parent() const override
    {
        enter("Parent");
        if (m_item->nv)
            return makeNetworkVariable(m_core, m_item->nv);
        return makeBlock(m_core, m_item->block);
    }
    qint32 ObjectKind() const override
    {
        enter("ObjectKind");
        return ObjectKindOther1;
    }
    QString Name() const override
    {
        enter("Name");
        return m_item->name;
    }
    QString Format() const override
    {
        enter("Format");
        return m_item->format();
    }
    void setFormat(const QString &format) override
    {
        enter("setFormat", { format });
        recorded([&] {
            if (!format.isEmpty())
                Resolver(m_core->model).cpFormat(*m_item, format); // an unknown format is refused at once
            m_item->setFormat(format);
        });
    }
    QString ValueText() const override
    {
        enter("ValueText");
        return cpText(m_core->model, *m_item, m_item->format(), Defaults::Locale);
    }
    void setValueText(const QString &text) override
    {
        enter("setValueText", { text });
        recorded([&] {
            store(text);
            // An injected fault: the write is taken (the text was checked above), and
            // another value is kept.
            const auto instead = m_core->journal.storedInstead.constFind(m_item);
            if (instead != m_core->journal.storedInstead.constEnd())
                setDefaultText(m_core->model, *m_item, *instead);
        });
    }
    QVariant Value() const override
    {
        enter("Value");
        return variantOf(Resolver(m_core->model).requireCpType(*m_item),
            cpText(m_core->model, *m_item, QString(), Defaults::Locale));
    }

private:
    void store(const QString &text)
    {
        const NetworkModel &model = m_core->model;
        const Resolver resolver(model);
        const FormatDef &format = resolver.cpFormat(*m_item, m_item->format());
        const StoredValue value
            = parseValue(text, resolver.requireCpType(*m_item), format, resolver.requireTypeOf(format));
        if (isNvTypeOfVariable(*m_item)) {
            const StoredValue previous = m_item->value;
            m_item->value = value;
            QString why;
            if (!resolver.nvType(*m_item->nv, &why)) {
                m_item->value = previous;
                Errors::raise(Errors::UnknownResource, QStringLiteral("The type cannot be used: %1.").arg(why));
            }
            refitInheritingValues(model, *m_item->nv);
            return;
        }
        m_item->value = value;
    }
};

} // namespace

DeviceAccess::ConfigPropertyPtr makeConfigProperty(const CorePtr &core, CpNode *node)
{
    return node ? std::make_shared<SimCp>(core, node) : nullptr;
}

QString defaultText(const NetworkModel &model, const CpNode &cp)
{
    return cpText(model, cp, QString(), Defaults::SI);
}

void setDefaultText(const NetworkModel &model, CpNode &cp, const QString &text)
{
    const Resolver resolver(model, Defaults::SI);
    const TypeDef &type = resolver.requireCpType(cp);
    if (type.valueClass == ValueClass::Text) {
        cp.value.text = text;
        if (isNvTypeOfVariable(cp))
            refitInheritingValues(model, *cp.nv);
        return;
    }
    const FormatDef &format = resolver.cpFormat(cp, QString());
    cp.value = parseValue(text, type, format, resolver.requireTypeOf(format));
}

} // namespace Sim
