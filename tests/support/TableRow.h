// SPDX-License-Identifier: MIT
// Tables of cases: a data row written on one line, and the name of a case walked in a loop
// inside one test function given to the log when a check within it fails.
#pragma once

#include <QScopeGuard>
#include <QString>
#include <QTest>

namespace TestSupport {

// One row of a data table on one line: its name, then its values in column order.
template<typename... T> void row(const char *name, T... values)
{
    (QTest::newRow(name) << ... << values);
}

// Names the case in the log when a check within it fails, as a data row's name would.
inline auto failureNamesRow(const QString &row)
{
    return qScopeGuard([row] {
        if (QTest::currentTestFailed())
            qWarning("the failing case: %s", qPrintable(row));
    });
}

} // namespace TestSupport
