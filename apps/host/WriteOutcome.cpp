// SPDX-License-Identifier: MIT
// Texts of the write outcomes.
#include "WriteOutcome.h"

#include "PageMessage.h"

#include <QCoreApplication>

namespace Host {

QString ControlOutcome::text() const
{
    switch (state) {
    case NothingToWrite:
        return QCoreApplication::translate("Host::ControlOutcome", "nothing to write");
    case Written:
        return reasons.isEmpty() ? QCoreApplication::translate("Host::ControlOutcome", "written")
                                 : QCoreApplication::translate("Host::ControlOutcome", "written (%1)")
                                       .arg(reasons.join(QStringLiteral("; ")));
    case NotWritten:
        break;
    }
    return QCoreApplication::translate("Host::ControlOutcome", "not written: %1")
        .arg(reasons.join(QStringLiteral("; ")));
}

bool PageOutcome::anythingWritten() const
{
    return hardware.state != ControlOutcome::NothingToWrite || network.state != ControlOutcome::NothingToWrite;
}

bool PageOutcome::failed() const
{
    return hardware.state == ControlOutcome::NotWritten || network.state == ControlOutcome::NotWritten;
}

PageMessage::Severity severityOfStyle(int style)
{
    switch (style & 0x70) {
    case 16:
        return PageMessage::Critical;
    case 48:
        return PageMessage::Warning;
    default:
        return PageMessage::Information;
    }
}

} // namespace Host
