// SPDX-License-Identifier: MIT
// What writing one input did, per control: nothing to write, written, or not written
// with the reasons the control gave while it wrote, and what the device reports for
// every property the control wrote, read back after the write.
#pragma once

#include <QString>
#include <QStringList>
#include <QVector>

namespace Host {

// One property written and read back.
struct ReadBackItem
{
    QString owner; // the block's name, or the variable's programmatic name
    QString property; // "Name" for the variable's own name
    QString field; // the field that shows it ("txtMax"); empty when none does
    QString caption; // the field's caption as shown, else the property's name
    QString format; // the format it was written and read in; empty = the default one
    QString sent; // the text the control sent
    QString reported; // what the device reports now, in the same format
    QString readError; // why it could not be read back; empty when it was
    bool same = true; // the device reports what was sent

    // "the device reports 22.8 for Max. Value (sent: 30.0)", translated.
    QString text() const;
};

struct ControlOutcome
{
    enum State { NothingToWrite, Written, NotWritten };
    State state = NothingToWrite;
    QStringList reasons; // messages the control raised while it wrote, one line each
    QVector<ReadBackItem> readBack; // every property the device took, read back

    QVector<ReadBackItem> mismatches() const;
    // "nothing to write", "written", "written, but the device reports 22.8 for Max. Value
    // (sent: 30.0)" or "not written: <reasons>", translated.
    QString text() const;
};

struct PageOutcome
{
    ControlOutcome hardware;
    ControlOutcome network;

    bool anythingWritten() const;
    bool failed() const;
    // Every property read back reports what was sent.
    bool verified() const;
};

} // namespace Host
