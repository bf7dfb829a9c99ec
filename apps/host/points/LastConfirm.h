// SPDX-License-Identifier: MIT
// Undo of the last confirm: what one input held right before an Apply, an OK or an import
// wrote it (every property the controls write and the variable's name, read from the
// device), and putting it back, as a dry run first and then for real, read back after.
#pragma once

#include "inputtypes/ConfigurationCopy.h"
#include "preview/WritePreview.h"

#include "device/sim/SimNetwork.h"

namespace Host {

struct LastConfirm
{
    InputRef input;
    InputConfiguration before;
    QString variableName;
    // Before an Apply or OK: the network's values as a snapshot instead, so that the confirm
    // makes no device call of its own; read from it (resolveLastConfirm) when it is undone.
    Sim::Snapshot snapshot;
    // Read completely: only then can it be put back.
    bool valid() const { return before.error.isEmpty() && !before.entries.isEmpty() && !variableName.isEmpty(); }
};

// What the input holds now (the network is installed as the device library).
LastConfirm readLastConfirm(Sim::Network &network, const InputRef &input);
// The input's values read from the state's snapshot (the network is put back exactly
// afterwards); a state read already is returned as it is.
LastConfirm resolveLastConfirm(Sim::Network &network, const LastConfirm &state);

struct RestoreOutcome
{
    QStringList restored; // properties written back ("Name" for the variable's name)
    QVector<CopyProperty> notRestored; // refused by the device
    QStringList mismatches; // read back after: properties that still differ
    bool succeeded() const { return notRestored.isEmpty() && mismatches.isEmpty(); }
    // "put back: …" or "not put back: …; still differs: …", translated.
    QString text() const;
};

// Writes back every property (and the variable's name) that no longer holds what it held,
// in the format it was read in, then reads the input again and compares.
RestoreOutcome restoreLastConfirm(Sim::Network &network, const LastConfirm &state);

// The same as a dry run: what would change; nothing is written.
PreviewResult previewRestore(Sim::Network &network, const LastConfirm &state);

} // namespace Host
