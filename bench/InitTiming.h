// SPDX-License-Identifier: MIT
// One ZovezuVavevaInit per sample input and control, against the like-for-like floor:
// project and floor runs interleaved in one process, CPU time, paint events and pauses
// for pending events per initialisation, each as the smallest, median and largest of
// its runs.
#pragma once

#include "BenchSetup.h"

#include <utility>

namespace Bench {

struct InitTiming
{
    InputId input;
    Kind kind = Kind::Hardware;
    QString interpretation; // what the hardware control shows after initialising
    bool comparable = true; // false: the control had other widgets before its initialisation than after
    Spread shownInit, shownFloor; // CPU microseconds
    Spread hiddenInit, hiddenFloor;
    Spread shownRatio, hiddenRatio; // of runs side by side
    Spread paints, floorPaints, pauses; // per run
};

// `rounds` runs of every control, round robin.
QVector<InitTiming> measureInits(const QVector<std::pair<Kind, InputId>> &controls, int rounds);

// The targets, judged by the medians.
constexpr double shownInitTarget = 1.3; // shown init / floor
constexpr double hiddenInitTarget = 2.5; // hidden init / floor
constexpr double extraPaintsTarget = 2; // paints per shown init - the floor's

// Prints the table and notes its targets (noteTarget).
void printInitTable(const QVector<InitTiming> &timings, int rounds);

} // namespace Bench
