// SPDX-License-Identifier: MIT
// One row of a data table on one line: its name, then its values in column order.
#pragma once

#include <QTest>

namespace TestSupport {

template<typename... T> void row(const char *name, T... values)
{
    (QTest::newRow(name) << ... << values);
}

} // namespace TestSupport
