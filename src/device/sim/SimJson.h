// SPDX-License-Identifier: MIT
// The network database file (JSON, format version 1): reading into the model and
// writing the model back.
#pragma once

#include "device/sim/SimModel.h"

#include <QByteArray>

namespace Sim {

// Fills an empty model from a database text. Throws LoadError whose message names
// sourceName, the place (line and column, or the path inside the document such as
// "devices[0].blocks[2].cps.SCPTminRnge") and what is wrong.
// A text with this much room allocated after its end (QByteArray::capacity) is parsed
// where it is; any other is copied once into a buffer with that room.
void readModel(NetworkModel &model, const QByteArray &json, const QString &sourceName);
constexpr qsizetype JsonTextPadding = 64;

// The database text of the model: the network part as it is now, the resource sets
// and language tables as they were read.
QByteArray writeModel(const NetworkModel &model);

} // namespace Sim
