// SPDX-License-Identifier: MIT
// The database file on disk: reading it without being fooled by what is not a file, and
// replacing it whole or not at all, and only when it is a regular file.
#pragma once

#include "vqzovezuvavevasim_export.h"

#include <QByteArray>
#include <QString>

namespace Sim {

// The file's bytes. Throws LoadError naming the file when it cannot be opened, is not a
// regular file (a folder, a device, a FIFO: never read, never waited on) or holds more
// than Network::MaxFileSize bytes. Removes the copies a killed save left beside the file.
VQ_SIM_EXPORT QByteArray readDatabaseFile(const QString &path);

// Replaces the file through QSaveFile: on any failure the old file stays and LoadError
// names the file and the reason in words (a full disk says so). A symbolic link is
// followed: its target is replaced and keeps its permissions. Refused before anything is
// written: a target that is not a regular file (a FIFO, a device, a folder) and a text
// over Network::MaxFileSize; refused before the rename: a text the loader would refuse.
VQ_SIM_EXPORT void writeDatabaseFile(const QString &path, const QByteArray &text);

namespace FileTesting {
// The next writeDatabaseFile fails in its write as if the system had reported
// systemError (an errno value): how a test meets a full disk.
VQ_SIM_AUTOTEST_EXPORT void failNextWrite(int systemError);
} // namespace FileTesting

} // namespace Sim
