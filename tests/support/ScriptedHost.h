// SPDX-License-Identifier: MIT
// The host program run as a separate process on a folder of its own: a copy of the sample
// network with the input-type defaults beside it, its settings and a private runtime folder
// in the folder too. For the programs that define VQ_HOST_BINARY (the host's executable).
#pragma once

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

namespace TestSupport {

// Fills the folder and returns the path of the database copy in it.
inline QString prepareHostFolder(const QTemporaryDir &dir)
{
    QDir(dir.path()).mkpath(QStringLiteral("CommonFiles"));
    QDir(dir.path()).mkpath(QStringLiteral("run"));
    QFile(dir.filePath(QStringLiteral("run"))).setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QFile::copy(QStringLiteral(VQ_DATA_DIR "/CommonFiles/InputDefaultValues.ini"),
        dir.filePath(QStringLiteral("CommonFiles/InputDefaultValues.ini")));
    const QString database = dir.filePath(QStringLiteral("net.json"));
    QFile::copy(QStringLiteral(VQ_DATA_DIR "/sample-network.json"), database);
    QFile(database).setPermissions(QFile::ReadOwner | QFile::WriteOwner);
    return database;
}

// Starts the host with those arguments; the platform is the host's own choice unless given.
inline void startHost(
    QProcess &host, const QTemporaryDir &dir, const QStringList &arguments, const QString &platform = QString())
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("QT_QPA_PLATFORM"));
    if (!platform.isEmpty())
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), platform);
    environment.insert(QStringLiteral("XDG_DATA_HOME"), dir.filePath(QStringLiteral("home")));
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), dir.filePath(QStringLiteral("run")));
    host.setProcessEnvironment(environment);
    host.start(QStringLiteral(VQ_HOST_BINARY), arguments);
}

// Waits for the host to end (killed after two minutes); false when it had to be killed.
inline bool finishHost(QProcess &host)
{
    const bool ended = host.waitForFinished(120000);
    if (!ended)
        host.kill();
    host.waitForFinished();
    return ended;
}

} // namespace TestSupport
