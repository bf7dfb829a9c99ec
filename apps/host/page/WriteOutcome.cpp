// SPDX-License-Identifier: MIT
// Texts of the write outcomes.
#include "WriteOutcome.h"

#include "PageMessage.h"

#include <QCoreApplication>

namespace Host {

QString ReadBackItem::text() const
{
    if (!readError.isEmpty())
        return QCoreApplication::translate("Host::ControlOutcome", "%1 cannot be read back (%2)")
            .arg(caption, readError);
    return QCoreApplication::translate("Host::ControlOutcome", "the device reports %1 for %2 (sent: %3)")
        .arg(reported, caption, sent);
}

QVector<ReadBackItem> ControlOutcome::mismatches() const
{
    QVector<ReadBackItem> found;
    for (const ReadBackItem &item : readBack) {
        if (!item.same)
            found << item;
    }
    return found;
}

QString ControlOutcome::text() const
{
    QStringList reported;
    for (const ReadBackItem &item : mismatches())
        reported << item.text();
    const QString but = reported.isEmpty()
        ? QString()
        : QCoreApplication::translate("Host::ControlOutcome", ", but %1").arg(reported.join(QStringLiteral("; ")));
    switch (state) {
    case NothingToWrite:
        return QCoreApplication::translate("Host::ControlOutcome", "nothing to write");
    case Written:
        return (reasons.isEmpty() ? QCoreApplication::translate("Host::ControlOutcome", "written")
                                  : QCoreApplication::translate("Host::ControlOutcome", "written (%1)")
                                        .arg(reasons.join(QStringLiteral("; "))))
            + but;
    case NotWritten:
        break;
    }
    return QCoreApplication::translate("Host::ControlOutcome", "not written: %1")
               .arg(reasons.join(QStringLiteral("; ")))
        + but;
}

bool PageOutcome::anythingWritten() const
{
    return hardware.state != ControlOutcome::NothingToWrite || network.state != ControlOutcome::NothingToWrite;
}

bool PageOutcome::failed() const
{
    return hardware.state == ControlOutcome::NotWritten || network.state == ControlOutcome::NotWritten;
}

bool PageOutcome::verified() const
{
    return hardware.mismatches().isEmpty() && network.mismatches().isEmpty();
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
