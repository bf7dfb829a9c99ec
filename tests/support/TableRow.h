// SPDX-License-Identifier: MIT
// For a table of cases walked in a loop inside one test function: names the case in the log
// when a check within it fails, as a data row's name would.
#pragma once

#include <QScopeGuard>
#include <QString>
#include <QTest>

namespace TestSupport {

inline auto failureNamesRow(const QString &row)
{
    return qScopeGuard([row] {
        if (QTest::currentTestFailed())
            qWarning("the failing case: %s", qPrintable(row));
    });
}

} // namespace TestSupport
