// SPDX-License-Identifier: MIT
// Where the host finds the sample network and the working copy it edits. The host
// never writes into the project's data folder: without a file of the user's, it works
// on a copy in the user's data folder.
#pragma once

#include <QString>
#include <QStringList>

namespace Host {

// The folder that holds the shipped sample network: $VQ_DATA_DIR, the installed share
// folder beside the executable, or the source tree's data folder, first that exists.
QString sampleDataDir();
// The folders looked in, in that order.
QStringList sampleDataCandidates();
QString sampleNetworkPath();

// The working copy in QStandardPaths::AppDataLocation. It is created from the sample on
// first use; reset replaces an existing copy with a fresh one. Returns the copy's path,
// or an empty string with errorString set when the copy cannot be made.
QString workingCopyPath(bool reset, QString *errorString);

} // namespace Host
