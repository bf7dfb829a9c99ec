// SPDX-License-Identifier: MIT
// The format catalog and the format service: format names of a type, format
// definitions, range information and the number conversions of a format.
#include "device/Collection.h"
#include "device/sim/SimErrors.h"
#include "device/sim/SimResolve.h"
#include "device/sim/SimServices.h"
#include "device/sim/SimValues.h"
#include "device/sim/SimView.h"

namespace Sim {
namespace {

using namespace DeviceAccess;

const FormatDef &requireFormat(const NetworkModel &model, const QString &programId, const QString &formatName)
{
    // Without an absolute prefix every scope the program ID has is searched, its own first.
    qint32 topScope = 0;
    for (const auto &set : model.resourceSets) {
        if (set->matches(programId))
            topScope = std::max(topScope, set->scope);
    }
    const FormatDef *format = Resolver(model).format(programId, topScope, formatName);
    if (!format) {
        Errors::raise(Errors::UnknownFormat,
            QStringLiteral("The format '%1' was not found for program ID %2.").arg(formatName, programId));
    }
    return *format;
}

class SimFormatDefinition : public ItemView<FormatDefinition, const FormatDef>
{
public:
    SimFormatDefinition(CorePtr core, const FormatDef *format)
        : ItemView(std::move(core), format, "FormatDefinition")
    {
    }
    QString Name() const override
    {
        enter("Name");
        return m_item->name;
    }
    qint32 UnitIndex() const override
    {
        enter("UnitIndex");
        return m_item->unitIndex;
    }
};

class SimRangeNode : public ItemView<RangeNode, const FormatDef>
{
public:
    SimRangeNode(CorePtr core, const FormatDef *format)
        : ItemView(std::move(core), format, "RangeNode")
    {
    }
    void GetRange(double &minValue, double &maxValue, bool &exists) const override
    {
        enter("GetRange");
        exists = false;
        const TypeDef *type = Resolver(m_core->model).typeOf(*m_item);
        if (!type)
            return;
        if (type->valueClass == ValueClass::Enumeration && !type->members.isEmpty()) {
            minValue = type->lowestMember();
            maxValue = type->highestMember();
            exists = true;
        } else if (type->valueClass == ValueClass::Number && type->limits.hasRange) {
            // Shown in the format: a scale below zero would swap the ends.
            const double a = toDisplay(type->limits.minimum, *m_item);
            const double b = toDisplay(type->limits.maximum, *m_item);
            minValue = std::min(a, b);
            maxValue = std::max(a, b);
            exists = true;
        }
    }
};

class SimFormatInfo : public ItemView<FormatInfo, const FormatDef>
{
public:
    SimFormatInfo(CorePtr core, const FormatDef *format)
        : ItemView(std::move(core), format, "FormatInfo")
    {
    }
    RangeNodePtr GetRangeNode() const override
    {
        enter("GetRangeNode");
        return std::make_shared<SimRangeNode>(m_core, m_item);
    }
};

class SimFormatObject : public ItemView<FormatObject, const FormatDef>
{
public:
    SimFormatObject(CorePtr core, QString programId, const FormatDef *format)
        : ItemView(std::move(core), format, "FormatObject")
        , m_programId(std::move(programId))
    {
    }
    double ConvertToDisplay(double value, const QString &formatName) const override
    {
        enter("ConvertToDisplay", { numberText(value, -1), formatName });
        return toDisplay(value, target(formatName));
    }
    double ConvertFromDisplay(double value, const QString &formatName) const override
    {
        enter("ConvertFromDisplay", { numberText(value, -1), formatName });
        return fromDisplay(value, target(formatName));
    }

private:
    // The named format converts; an empty name means the object's own format.
    const FormatDef &target(const QString &formatName) const
    {
        return formatName.isEmpty() ? *m_item : requireFormat(m_core->model, m_programId, formatName);
    }
    QString m_programId;
};

class SimFormatCatalog : public FormatCatalog
{
public:
    explicit SimFormatCatalog(CorePtr core)
        : m_core(std::move(core))
    {
    }
    void GetFormatNames(
        const QString &formatFile, const QString &typeName, QStringList &names, bool &hasVariants) override
    {
        m_core->enter(QStringLiteral("FormatCatalog.GetFormatNames"), { formatFile, typeName });
        const ResourceSet &set = requireSet(formatFile);
        QString base = splitFormatName(typeName).name;
        base = base.left(base.indexOf(QLatin1Char('#')) < 0 ? base.size() : base.indexOf(QLatin1Char('#')));
        names.clear();
        hasVariants = false;
        for (const FormatDef &format : set.formats) {
            if (!DeviceAccess::sameIgnoringCase(format.typeName, base))
                continue;
            names.append(format.name);
            hasVariants = hasVariants || format.name.contains(QLatin1Char('#'));
        }
    }
    FormatDefinitionPtr FindFormat(const QString &formatFile, const QString &formatName) override
    {
        m_core->enter(QStringLiteral("FormatCatalog.FindFormat"), { formatFile, formatName });
        const FormatDef *format = Resolver::formatInSet(requireSet(formatFile), formatName);
        return format ? std::make_shared<SimFormatDefinition>(m_core, format) : nullptr;
    }
    FormatInfoPtr GetFormatInfo(const QString &programId, const QString &formatName, QString &errMsg,
        const NetworkVariablePtr &networkVariable) override
    {
        Q_UNUSED(errMsg) // failures are raised, never written into the caller's message
        m_core->enterWithArguments(QStringLiteral("FormatCatalog.GetFormatInfo"), [&] {
            return QStringList { programId, formatName,
                networkVariable ? QStringLiteral("NetworkVariable") : QString() };
        });
        return std::make_shared<SimFormatInfo>(m_core, &requireFormat(m_core->model, programId, formatName));
    }

private:
    const ResourceSet &requireSet(const QString &formatFile) const
    {
        const ResourceSet *set = Resolver(m_core->model).setOfFile(formatFile, &ResourceSet::formatFile);
        if (!set)
            Errors::raise(
                Errors::UnknownResource, QStringLiteral("The format file '%1' does not exist.").arg(formatFile));
        return *set;
    }
    CorePtr m_core;
};

class SimFormatService : public FormatService
{
public:
    explicit SimFormatService(CorePtr core)
        : m_core(std::move(core))
    {
    }
    FormatObjectPtr GetFormat(const QString &formatName, const QString &programId) override
    {
        m_core->enter(QStringLiteral("FormatService.GetFormat"), { formatName, programId });
        return std::make_shared<SimFormatObject>(
            m_core, programId, &requireFormat(m_core->model, programId, formatName));
    }

private:
    CorePtr m_core;
};

} // namespace

std::shared_ptr<DeviceAccess::FormatCatalog> makeFormatCatalog(const CorePtr &core)
{
    return std::make_shared<SimFormatCatalog>(core);
}

std::shared_ptr<DeviceAccess::FormatService> makeFormatService(const CorePtr &core)
{
    return std::make_shared<SimFormatService>(core);
}

} // namespace Sim
