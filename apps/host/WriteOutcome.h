// SPDX-License-Identifier: MIT
// What writing one input did, per control: nothing to write, written, or not written
// with the reasons the control gave while it wrote.
#pragma once

#include <QString>
#include <QStringList>

namespace Host {

struct ControlOutcome
{
    enum State { NothingToWrite, Written, NotWritten };
    State state = NothingToWrite;
    QStringList reasons; // messages the control raised while it wrote, one line each

    // "nothing to write", "written" or "not written: <reasons>", translated.
    QString text() const;
};

struct PageOutcome
{
    ControlOutcome hardware;
    ControlOutcome network;

    bool anythingWritten() const;
    bool failed() const;
};

} // namespace Host
