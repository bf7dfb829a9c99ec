// SPDX-License-Identifier: MIT
// The preview of pending writes: a dry run of both controls' writes against the
// simulated network, listing per property what would change (in the units shown) and
// what would fail, with every message the write raised. The network is restored from a
// snapshot afterwards and the controls are left as they were. No display is needed:
// the window shows the result in a dialog, a scripted run can check it directly.
#pragma once

#include "page/WriteOutcome.h"

#include <QString>
#include <QStringList>
#include <QVector>
#include <functional>

namespace Sim {
class Network;
}

namespace Host {

class InputPage;
class InputTypes;
struct InputRef;

struct PreviewRow
{
    QString owner; // the block's name, or the network variable's programmatic name
    QString property; // "Name" for the variable's own name
    QString oldText; // as the device holds it now, in the units shown
    QString newText; // after the write; for a failing property, the text the control tried to write
    QString unit; // the unit text of the units shown; may be empty
    bool failed = false;
    QString failure; // the device's reason when failed
    QString shownOwner; // the block's name, or the variable's name as the page shows it
    bool variableName = false; // the row of the variable's own name

    // "<shown owner>.<property>", or "Variable name" for the variable's own name (translated).
    QString label() const;
};

struct PreviewResult
{
    QVector<PreviewRow> rows; // in the order of the block's properties, then the variable's
    QStringList messages; // every message raised while writing: "<side>: <message>"
    PageOutcome outcome; // per control, as OK would report it
    bool controlsKept = true; // both controls show and flag what they did before
    QString error; // why no preview could be made (empty when it was)

    bool failed() const;
    const PreviewRow *row(const QString &property) const; // by property name, letter case ignored
};

// Runs the page's writes as a dry run on the network the page shows. Failed writes are
// found in the network's call log, so they are listed only while it logs.
PreviewResult previewWrites(Sim::Network &network, InputPage &page);

// What applying an input type's defaults to an input would change, as a dry run of the
// same write "Apply defaults" makes (the file's SI values, written with the format locale
// set to SI), read back in the units the network shows now. The lines the defaults class
// reported go to messages; error says why nothing could be written (no defaults).
PreviewResult previewDefaults(Sim::Network &network, InputTypes &types, const InputRef &input, const QString &type);

// Any write to one input as a dry run: `write` runs against the network, what it changed on
// the input's block and variable is listed (in the units the network shows now), what the
// device refused is marked failed, and the network is put back from a snapshot.
PreviewResult previewWrite(
    Sim::Network &network, const InputRef &input, const std::function<void(PreviewResult &)> &write);

// What a user sees of both controls, one line per widget (text, choice, tick, shown,
// enabled) plus their change flags and the variable name they hold: equal before and
// after a preview.
QStringList controlState(const InputPage &page);

} // namespace Host
