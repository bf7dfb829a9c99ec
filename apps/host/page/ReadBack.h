// SPDX-License-Identifier: MIT
// Reading back what a control wrote: every property (and the variable's name) that the
// device took during a write, read again in the format it was written in, and compared
// with the text that was sent. What was sent comes from the simulated network's call log,
// which records each write with its text and each format switch before it, so the
// comparison needs nothing of the controls' inner workings.
#pragma once

#include "ControlHandover.h"
#include "WriteOutcome.h"

#include <QHash>
#include <QVector>

namespace Sim {
class Network;
struct CallRecord;
} // namespace Sim

namespace Host {

// The property a field shows ("SCPTmaxRnge" -> "txtMax"), for the captions of the result.
QString fieldOfProperty(const QString &property);

// Reads back every property written by `calls` (the log of one control's write) and
// compares it with what was sent. `variable` tells which side wrote: the block's
// properties (false) or those of its first network variable and its name (true).
// `captions` maps a field's object name to the caption shown beside it.
QVector<ReadBackItem> readBack(Sim::Network &network, const InputRef &input, const QVector<Sim::CallRecord> &calls,
    bool variable, const QHash<QString, QString> &captions);

// True when a value read back is the value sent: the same text (letter case aside), or
// the same numbers field by field, within the precision of the text read back.
bool sameValue(const QString &sent, const QString &reported);

} // namespace Host
