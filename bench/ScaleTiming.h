// SPDX-License-Identifier: MIT
// The simulated network at scale: loading, holding, saving and opening an input of a
// generated database and releasing it, each against what Qt's own JSON needs for the same file.
#pragma once

#include <QVector>

namespace Bench {

struct ScaleRow
{
    int devices = 0;
    qint64 fileBytes = 0;
    double qtParse = 0; // µs CPU, QJsonDocument::fromJson
    double load = 0; // µs CPU, Sim::Network::fromJson
    qint64 heldBytes = 0; // heap in use after the load, minus before
    double qtWrite = 0; // µs CPU, QJsonDocument::toJson of the parsed document
    double save = 0; // µs CPU, Sim::Network::toJson
    double openInput = 0; // µs CPU, one hardware control opened and initialised on the last copy
    double qtRelease = 0; // µs CPU, the parsed QJsonDocument destroyed
    double release = 0; // µs CPU, the network destroyed, as when the host opens another database
};

// Medians of `rounds` runs per size, database and Qt alternating.
QVector<ScaleRow> measureScale(const QVector<int> &deviceCounts, int rounds);
void printScaleTable(const QVector<ScaleRow> &rows, int rounds);

} // namespace Bench
