// SPDX-License-Identifier: MIT
// One ZovezuVavevaInit per sample input and control, against the floor: project and
// floor runs interleaved in one process, CPU-time medians, paint events and pauses for
// pending events per initialisation.
#pragma once

#include "BenchSetup.h"

#include <utility>

namespace Bench {

struct InitTiming
{
    InputId input;
    Kind kind = Kind::Hardware;
    QString interpretation; // what the hardware control shows after initialising
    double shownInit = 0, shownFloor = 0; // CPU microseconds, medians
    double hiddenInit = 0, hiddenFloor = 0;
    double shownRatio = 0, hiddenRatio = 0; // medians of the ratios of runs side by side
    double paints = 0, floorPaints = 0, pauses = 0; // per run, medians
};

// `rounds` runs of every control, round robin.
QVector<InitTiming> measureInits(const QVector<std::pair<Kind, InputId>> &controls, int rounds);

// Prints the table; returns the largest ratio with the control shown.
double printInitTable(const QVector<InitTiming> &timings, int rounds);

} // namespace Bench
