// SPDX-License-Identifier: MIT
// Locating the sample network and making the user's working copy of it.
#include "DatabaseLocation.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace Host {

namespace {
const QString sampleFileName = QStringLiteral("sample-network.json");
const QString defaultsFileName = QStringLiteral("CommonFiles/InputDefaultValues.ini");

// The input-type defaults travel with the working copy, in "CommonFiles" beside it, where
// the host's plug-in folder beside the database finds them. A copy already there is kept
// unless the working copy is made afresh.
void copyDefaultsBeside(const QString &folder, bool reset)
{
    const QString shipped = sampleDataDir() + QLatin1Char('/') + defaultsFileName;
    const QString copy = folder + QLatin1Char('/') + defaultsFileName;
    if (!QFileInfo::exists(shipped) || (QFileInfo::exists(copy) && !reset))
        return;
    QDir().mkpath(QFileInfo(copy).absolutePath());
    QFile::remove(copy);
    if (QFile::copy(shipped, copy))
        QFile(copy).setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther);
}
} // namespace

QStringList sampleDataCandidates()
{
    QStringList candidates;
    const QString fromEnvironment = qEnvironmentVariable("VQ_DATA_DIR");
    if (!fromEnvironment.isEmpty())
        candidates << fromEnvironment;
    candidates << QCoreApplication::applicationDirPath() + QStringLiteral("/../share/VqZovezuVaveva/data");
#ifdef VQ_SOURCE_DATA_DIR
    candidates << QStringLiteral(VQ_SOURCE_DATA_DIR);
#endif
    for (QString &dir : candidates)
        dir = QDir::cleanPath(dir);
    return candidates;
}

QString sampleDataDir()
{
    const QStringList candidates = sampleDataCandidates();
    for (const QString &dir : candidates) {
        if (QFileInfo::exists(dir + QLatin1Char('/') + sampleFileName))
            return dir;
    }
    return QString();
}

QString sampleNetworkPath()
{
    const QString dir = sampleDataDir();
    return dir.isEmpty() ? QString() : dir + QLatin1Char('/') + sampleFileName;
}

QString workingCopyPath(bool reset, QString *errorString)
{
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    const QString copy = folder + QLatin1Char('/') + sampleFileName;
    if (QFileInfo::exists(copy) && !reset) {
        copyDefaultsBeside(folder, false);
        return copy;
    }

    const QString sample = sampleNetworkPath();
    QString error;
    if (folder.isEmpty())
        error = QCoreApplication::translate("Host", "The system names no folder for the application's data.");
    else if (sample.isEmpty())
        error = QCoreApplication::translate("Host", "The sample network %1 is in none of the folders %2.")
                    .arg(sampleFileName, sampleDataCandidates().join(QStringLiteral(", ")));
    else if (!QDir().mkpath(folder))
        error = QCoreApplication::translate("Host", "Cannot create the folder %1.").arg(folder);
    else if (QFileInfo::exists(copy) && !QFile::remove(copy))
        error = QCoreApplication::translate("Host", "Cannot replace %1.").arg(copy);
    else if (!QFile::copy(sample, copy))
        error = QCoreApplication::translate("Host", "Cannot copy %1 to %2.").arg(sample, copy);
    if (!error.isEmpty()) {
        if (errorString)
            *errorString = error;
        return QString();
    }
    // The shipped file may be read-only (installed data); the copy is the user's to edit.
    QFile(copy).setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther);
    copyDefaultsBeside(folder, true);
    return copy;
}

} // namespace Host
