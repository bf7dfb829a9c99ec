// SPDX-License-Identifier: MIT
// The points list on the command line: vqhost --export FILE.csv [database] [--units SI|US]
// and vqhost --import FILE.csv [database] [--dry-run]. Both need a QApplication (the
// controls read and write the fields); the exit status is 0 when everything succeeded,
// 1 when a load, a read, a write or the save failed (or a row could not be applied),
// 2 for a mistake in the command line.
#pragma once

#include <QString>

namespace Host {

// units: "SI", "US" or empty (the units the database was last shown in).
int runExport(const QString &file, const QString &database, bool reset, const QString &units);
int runImport(const QString &file, const QString &database, bool reset, bool dryRun);

} // namespace Host
