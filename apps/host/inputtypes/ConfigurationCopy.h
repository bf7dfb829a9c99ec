// SPDX-License-Identifier: MIT
// One input's configuration kept as an input type's defaults ("Save as input type"),
// and copied to other inputs through the defaults mechanism ("Copy to inputs"). No
// widget is involved, so the window's dialogs and a script call the same functions.
// The network must be installed as the device library (DeviceAccess::install).
#pragma once

#include "UserDefaultsFile.h"
#include "page/ControlHandover.h"

#include <QJsonObject>
#include <QString>
#include <QStringList>
#include <QVector>

namespace Sim {
class Network;
}

namespace Host {

// The device's input types (the members of its input-type enumeration from value 1 on),
// the names of the sections a defaults file may hold. Empty, with the reason, when none.
QStringList inputTypeNames(const QString &programId, qint32 scope, QString &error);

// Every property the two controls write, as the device holds it, in the formats in
// which CInputDefaultValues writes it back: range, override, default value and send
// delta in the network variable's SI units, every other property in its own format.
// The variable's name is not part of it: it names one input.
struct InputConfiguration
{
    QVector<DefaultsEntry> entries;
    QString error; // why it could not be read; empty when it was
};
InputConfiguration readInputConfiguration(Sim::Network &network, const InputRef &input);

// Saves the input's configuration as the section `inputType` (one of inputTypeNames) of
// the defaults file (added, or replacing the section of that name). False, with the
// reason, when the type is not one of the device's, the configuration cannot be read or
// the file cannot take it; the file is then unchanged.
bool saveAsInputType(Sim::Network &network, const InputRef &source, const QString &inputType,
    const QString &defaultsFile, QString &error);

// The inputs that may take the source's configuration: those of configurable devices
// with the source device's program ID whose block has the source block's object
// version and whose first network variable has the source variable's type (a
// configuration in percent means nothing to a pressure input), the source left out.
QVector<InputRef> copyTargets(Sim::Network &network, const InputRef &source);

// One property of a target: its name and, for a failure, the device's reason.
struct CopyProperty
{
    QString property;
    QString reason;
};

struct CopyTargetResult
{
    InputRef target;
    bool written = false; // every property written: the target holds the source's configuration
    QString reason; // why not written, one line per message
    QStringList properties; // the properties written (and kept when written is true)
    QVector<CopyProperty> failed; // the properties the device refused
    QStringList restored; // after a failure: the properties written back to what they were
    QVector<CopyProperty> notRestored; // after a failure: those that could not be written back
};

struct CopySummary
{
    InputRef source;
    QVector<CopyTargetResult> targets;
    QString error; // the source could not be read or the database was not saved
    bool saveWanted = true;
    bool saved = false; // the database was saved after the writes
    int writtenCount() const;
    bool succeeded() const; // every target written and, when wanted, the database saved
    // One line per target, for the Messages pane and the console: "<device> / <input>:
    // written: <properties>." or "<device> / <input>: not written: <why>; failed: <property>
    // (<reason>); put back: <properties>[; NOT put back: <property> (<reason>)]."
    QString text() const;
    QJsonObject toJson() const;
};

// Puts an input back to a configuration read from it before (readInputConfiguration):
// every property that no longer holds what it held is written back in the format it was
// read in, as a copy does after a failure. `restored` names those written back,
// `notRestored` those the device refused (with its reason).
void putBackConfiguration(Sim::Network &network, const InputRef &input, const InputConfiguration &before,
    QStringList &restored, QVector<CopyProperty> &notRestored);

// Saves the network once after a batch of writes: true when saved, else `error` says why.
bool saveAfterWrites(Sim::Network &network, QString &error);

// Writes the source's configuration to each target with CInputDefaultValues, from a
// private defaults file made for this copy, all or nothing per target: the target's
// values are read first, and when any property of the target fails, the properties
// written before it are written back to those values. A target that is not offered by
// copyTargets, or whose values cannot be read first, is not written at all. The others
// are still written. The database is saved once at the end (atomically) when anything
// reached a device and `save` is true. Each target's variable keeps its name.
CopySummary copyConfiguration(
    Sim::Network &network, const InputRef &source, const QVector<InputRef> &targets, bool save = true);

} // namespace Host
