// SPDX-License-Identifier: MIT
// Small text helpers the script runner's files share.
#pragma once

#include <QString>
#include <QStringList>

namespace Host {
namespace ScriptText {

inline QString quoted(const QString &text)
{
    return QLatin1Char('"') + text + QLatin1Char('"');
}

// Names compare as the host's tree does, without regard to case.
inline QString findName(const QStringList &names, const QString &name)
{
    for (const QString &candidate : names) {
        if (candidate.compare(name, Qt::CaseInsensitive) == 0)
            return candidate;
    }
    return QString();
}

inline QString listed(const QStringList &names)
{
    QStringList quotedNames;
    for (const QString &name : names)
        quotedNames << quoted(name);
    return quotedNames.isEmpty() ? QStringLiteral("none") : quotedNames.join(QStringLiteral(", "));
}

} // namespace ScriptText
} // namespace Host
