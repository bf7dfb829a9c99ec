// SPDX-License-Identifier: MIT
// The two script commands that reach the window's preview of pending writes and its
// copy of one input's configuration to other inputs. This is the one place where the
// script runner meets those features; a build without them answers "not available".
#pragma once

#include "page/ControlHandover.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace Host {

class HostWindow;

// One property the pending write would change (or fail on), values in the units shown.
struct PreviewChange
{
    QString owner; // the block, or the network variable
    QString property;
    QString oldValue;
    QString newValue;
    QString unit;
    bool failed = false;
    QStringList messages; // why it would fail
};

// How one target of a copy fared.
struct CopyTargetOutcome
{
    InputRef target;
    bool written = false;
    QString reason; // why not, when not written
    QStringList properties; // the properties written
    QStringList failed; // "<property>: <reason>" per property the device refused
    QStringList restored; // after a failure: the properties written back to what they were
    QStringList notRestored; // "<property>: <reason>" per property that could not be written back
};

struct ScriptFeatureResult
{
    bool ok = false;
    QString detail;
    QStringList messages; // raised by the feature itself, outside the Messages pane
    QList<PreviewChange> changes; // preview
    QList<CopyTargetOutcome> targets; // copy
};

bool hasPreview();
bool hasCopy();

// Lists what OK would write on the input shown, changing nothing.
ScriptFeatureResult previewPendingWrites(HostWindow &window);

// Applies the stored configuration of the input shown to the targets, each reported,
// and saves the database once.
ScriptFeatureResult copyToInputs(HostWindow &window, const QList<InputRef> &targets);

} // namespace Host
