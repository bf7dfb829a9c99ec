// SPDX-License-Identifier: MIT
// Importing a points list: each row is typed into an input page of its input, as a user
// typing those values would (the interpretation and signal first, then the rest; a cell
// that equals what the field shows is not typed), and written by the page's own write,
// so the controls' checks, messages and write order are those of the window.
//
// planImport is the preview: per input, the fields that would change and every reason a
// row cannot be applied, found by typing the row and running the write as a dry run.
// applyImport writes the inputs: each all or nothing (the values read first are put back
// when a write fails or reads back otherwise), and saves once at the end.
// The network must be installed as the device library; a QApplication is needed.
#pragma once

#include "LastConfirm.h"
#include "PointsList.h"

#include <QJsonObject>
#include <functional>

namespace Host {

struct FieldChange
{
    QString field; // object name
    QString caption; // as the page shows it
    QString oldText;
    QString newText;
    QString unit;
};

struct InputPlan
{
    int line = 0;
    InputRef input; // as the row names it (the network's spelling when found)
    QVector<FieldChange> changes;
    QStringList problems; // why the row cannot be applied; empty when it can
    QStringList messages; // what the dry run raised
    bool applicable() const { return problems.isEmpty() && !changes.isEmpty(); }
};

struct ImportPlan
{
    QVector<InputPlan> inputs; // one per row, in the order of the file
    int applicableCount() const;
    int problemCount() const;
    // The preview for a console: per input its changes (old -> new unit) or its problems.
    QString text() const;
};

ImportPlan planImport(Sim::Network &network, const PointsList &list);

struct InputResult
{
    enum State { Written, Unchanged, NotWritten, NotChosen };
    int line = 0;
    InputRef input;
    State state = NotChosen;
    QStringList fields; // the fields written
    QString reason; // why not written
    QString restore; // after a failure: what was put back (RestoreOutcome::text)
};

struct ImportSummary
{
    QVector<InputResult> inputs;
    bool saveWanted = true;
    bool wrote = false; // a write reached a device (also one put back after a failure)
    bool saved = false;
    QString error; // the save failed
    int count(InputResult::State state) const;
    // Every chosen input written (or unchanged) and, when anything was, saved.
    bool succeeded() const;
    QString text() const;
};

// Writes the inputs of the list whose rows can be applied; `chosen` limits them (empty:
// all). `remember` gets, per input written, what it held before (for undo). Saves once
// when anything reached a device and `save` is true.
// `plan` is the list's preview (planImport); each input is typed afresh before it is written.
ImportSummary applyImport(Sim::Network &network, const PointsList &list, const ImportPlan &plan,
    const QVector<InputRef> &chosen = {}, bool save = true,
    const std::function<void(const LastConfirm &)> &remember = {});

} // namespace Host
