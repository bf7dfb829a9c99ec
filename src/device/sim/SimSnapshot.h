// SPDX-License-Identifier: MIT
// Dry-run support of the simulated network: the copy of what device operations can
// change, putting it back, and the unlogged readings of a block's properties.
#pragma once

#include "device/sim/SimCore.h"

namespace Sim {

struct CpState
{
    CpNode *node = nullptr;
    StoredValue value;
    QString format;
};

struct NvState
{
    NvNode *node = nullptr;
    QString name;
    StoredValue value;
    QString format;
};

struct Snapshot::Data
{
    const Core *core = nullptr; // the network it was taken of
    QVector<CpState> cps;
    QVector<NvState> nvs;
};

// Nodes are made once, when the database is read, and never added or removed; the
// copy can therefore hold them by address.
std::shared_ptr<const Snapshot::Data> takeSnapshot(const Core &core);
void restoreSnapshot(Core &core, const Snapshot::Data &data);
QVector<PropertyReading> readingsOf(const NetworkModel &model, const BlockNode &block);

} // namespace Sim
