// SPDX-License-Identifier: MIT
// One line of the host's Messages pane: how severe, a headline an engineer can read
// (which side of the input, what the user was doing, what happened) and the internal
// detail (the control's caption, procedure name and message style) kept apart.
#pragma once

#include <QMetaType>
#include <QString>

namespace Host {

struct PageMessage
{
    enum Severity { Information, Warning, Critical };
    Severity severity = Information;
    QString headline;
    QString detail; // empty when there is nothing internal to add
};

// The severity of a message-box style (16 critical, 48 exclamation, else information).
PageMessage::Severity severityOfStyle(int style);

} // namespace Host

Q_DECLARE_METATYPE(Host::PageMessage)
