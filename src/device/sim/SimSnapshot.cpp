// SPDX-License-Identifier: MIT
// Dry-run support of the simulated network.
#include "device/sim/SimSnapshot.h"

#include "device/sim/SimResolve.h"
#include "device/sim/SimValues.h"

#include <stdexcept>

namespace Sim {
namespace {

void keep(Snapshot::Data &data, const std::vector<CpNode *> &cps)
{
    for (const auto &cp : cps)
        data.cps.append(CpState { cp, cp->value, cp->format() });
}

// The unit text of a format in the language in use, else English, as the language file gives it.
QString unitText(const NetworkModel &model, const FormatDef &format)
{
    if (!format.set)
        return QString();
    for (const QString &code : { model.language, QStringLiteral("en") }) {
        const auto texts = format.set->unitTexts.constFind(code);
        if (texts != format.set->unitTexts.constEnd() && texts->contains(format.unitIndex))
            return texts->value(format.unitIndex);
    }
    return QString();
}

PropertyReading reading(const NetworkModel &model, const QString &owner, const CpNode &cp)
{
    PropertyReading line { owner, cp.name, QString(), QString() };
    try {
        const Resolver resolver(model);
        const FormatDef &format = resolver.cpFormat(cp, QString());
        line.text = formatValue(cp.value, resolver.requireCpType(cp), format, resolver.requireTypeOf(format));
        line.unit = unitText(model, format);
    } catch (const DeviceAccess::Failure &) {
        // A value that cannot be shown reads empty; the listing goes on.
    }
    return line;
}

} // namespace

std::shared_ptr<const Snapshot::Data> takeSnapshot(const Core &core)
{
    auto data = std::make_shared<Snapshot::Data>();
    data->core = &core;
    for (const auto &device : core.model.devices) {
        for (const auto &block : device->blocks) {
            keep(*data, block->cps);
            for (const auto &nv : block->nvs) {
                data->nvs.append(NvState { nv, nv->name, nv->value, nv->format });
                keep(*data, nv->cps);
            }
        }
    }
    return data;
}

void restoreSnapshot(Core &core, const Snapshot::Data &data)
{
    if (data.core != &core)
        throw std::invalid_argument("the snapshot was taken of another network");
    for (const CpState &state : data.cps) {
        state.node->value = state.value;
        state.node->setFormat(state.format);
    }
    for (const NvState &state : data.nvs) {
        state.node->name = state.name;
        state.node->value = state.value;
        state.node->format = state.format;
    }
}

QVector<PropertyReading> readingsOf(const NetworkModel &model, const BlockNode &block)
{
    QVector<PropertyReading> lines;
    for (const auto &cp : block.cps)
        lines.append(reading(model, block.name, *cp));
    if (!block.nvs.empty()) {
        const NvNode &nv = *block.nvs.front();
        lines.append(PropertyReading { nv.programmaticName, QStringLiteral("Name"), nv.name, QString() });
        for (const auto &cp : nv.cps)
            lines.append(reading(model, nv.programmaticName, *cp));
    }
    return lines;
}

} // namespace Sim
