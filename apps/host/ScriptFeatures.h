// SPDX-License-Identifier: MIT
// The two script commands that reach the window's preview of pending writes and its
// copy of one input's configuration to other inputs. This is the one place where the
// script runner meets those features; a build without them answers "not available".
#pragma once

#include "ControlHandover.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace Host {

class HostWindow;

// One property the pending write would change (or fail on), values in the units shown.
struct PreviewChange
{
    QString property;
    QString oldValue;
    QString newValue;
    bool failed = false;
    QStringList messages; // raised while the write was tried
};

// How one target of a copy fared.
struct CopyTargetOutcome
{
    InputRef target;
    bool written = false;
    QString reason; // why not, when not written
};

struct ScriptFeatureResult
{
    bool available = false; // false: this build has no such feature
    bool ok = false;
    QString detail;
    QList<PreviewChange> changes; // preview
    QList<CopyTargetOutcome> targets; // copy
};

// Lists what OK would write on the input shown, changing nothing.
ScriptFeatureResult previewPendingWrites(HostWindow &window);

// Applies the configuration of the input shown to the targets; each target is reported.
ScriptFeatureResult copyToInputs(HostWindow &window, const QList<InputRef> &targets);

} // namespace Host
