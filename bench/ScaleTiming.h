// SPDX-License-Identifier: MIT
// The simulated network at scale: loading, holding, saving and opening an input of a
// generated database and releasing it, each against what Qt's JSON and simdjson's parser
// need for the same file.
#pragma once

#include "BenchSetup.h"

namespace Bench {

struct ScaleRow
{
    int devices = 0;
    qint64 fileBytes = 0;
    bool simdjsonAccepted = true; // false: simdjson refused the text (its column then means nothing)
    Spread qtParse; // µs CPU, QJsonDocument::fromJson
    Spread simdjsonParse; // µs CPU, simdjson::dom::parser::parse of the same text, its buffers allocated before
    Spread simdjsonNewParser; // µs CPU, the same with a new parser, which allocates them
    Spread load; // µs CPU, Sim::Network::fromJson
    Spread loadToQt, loadToSimdjson; // ratios of runs side by side
    Spread loadResident; // bytes: the most resident memory above the level before the load
    Spread loadResidentToFile;
    Spread loadHeap, loadHeld; // heap bytes: the most allocated during the load, and what it keeps
    Spread qtParseResident, simdjsonResident; // bytes: the most resident memory during those parses
    Spread simdjsonHeap; // heap bytes: the most allocated by a new parser
    Spread qtWrite; // µs CPU, QJsonDocument::toJson of the parsed document
    Spread save; // µs CPU, Sim::Network::toJson
    Spread saveToQt;
    Spread openInput; // µs CPU, one hardware control opened and initialised on the last copy
    Spread qtRelease; // µs CPU, the parsed QJsonDocument destroyed
    Spread release; // µs CPU, the network destroyed, as when the host opens another database
};

// The targets, judged by the medians.
constexpr double loadToQtTarget = 1.0;
constexpr double loadToSimdjsonTarget = 6.0;
constexpr double loadPeakToFileTarget = 2.5;
constexpr double saveToQtTarget = 1.0;

// `rounds` rounds, each going through every size; within a size Qt, simdjson and the
// database alternate.
QVector<ScaleRow> measureScale(const QVector<int> &deviceCounts, int rounds);
// Prints the table and notes its targets (noteTarget).
void printScaleTable(const QVector<ScaleRow> &rows, int rounds);

} // namespace Bench
