// SPDX-License-Identifier: MIT
// Device calls per operation of a control, counted from the simulated network's call
// log, with how many of them repeat an earlier identical call (same operation, same
// object, same arguments) within the same operation.
#pragma once

#include "BenchSetup.h"

#include <QMap>

namespace Bench {

struct StepCalls
{
    bool measured = false;
    int total = 0;
    int repeats = 0;
    QMap<QString, int> repeatedCalls; // "operation(arguments)" -> how often it repeated
    QStringList log; // every call as "operation(arguments)", in order
};

enum Step { StepInit, StepGetValue, StepWriteOne, StepWriteAll, StepLanguage, StepUnits, StepCount };

struct InputCalls
{
    InputId input;
    Kind kind = Kind::Hardware;
    StepCalls steps[StepCount];
    QStringList messages; // raised by the control during the measured steps
};

InputCalls countCalls(Kind kind, const InputId &input);
void printCallTable(const QVector<InputCalls> &calls);
// Every call of every step, in order: two builds' outputs compare with diff.
void printCallLogs(const QVector<InputCalls> &calls);

} // namespace Bench
