// SPDX-License-Identifier: MIT
// The database's stamp and lock.
#include "DatabaseStamp.h"

#include "device/sim/SimFile.h"
#include "device/sim/SimNetwork.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QFileInfo>
#include <QLockFile>

namespace Host {

namespace {

QString tr(const char *text)
{
    return QCoreApplication::translate("Host::DatabaseStamp", text);
}

QDateTime modifiedNow(const QString &path)
{
    return QFileInfo(path).fileTime(QFileDevice::FileModificationTime);
}

} // namespace

DatabaseStamp DatabaseStamp::ofFile(const QString &path)
{
    DatabaseStamp stamp;
    try {
        stamp = ofBytes(path, Sim::readDatabaseFile(path));
    } catch (const Sim::LoadError &error) {
        stamp.m_why = QFileInfo::exists(path) ? error.message() : tr("%1 no longer exists").arg(path);
    }
    return stamp;
}

DatabaseStamp DatabaseStamp::ofBytes(const QString &path, const QByteArray &bytes)
{
    DatabaseStamp stamp;
    stamp.m_size = bytes.size();
    stamp.m_modified = modifiedNow(path);
    stamp.m_hash = QCryptographicHash::hash(bytes, QCryptographicHash::Sha256);
    return stamp;
}

DatabaseStamp DatabaseStamp::lookOf(const QString &path)
{
    DatabaseStamp stamp;
    const QFileInfo file(path);
    if (file.exists()) {
        stamp.m_size = file.size();
        stamp.m_modified = file.fileTime(QFileDevice::FileModificationTime);
    }
    return stamp;
}

bool DatabaseStamp::sameContent(const DatabaseStamp &other) const
{
    return !isNull() && m_size == other.m_size && m_hash == other.m_hash;
}

bool DatabaseStamp::sameLook(const DatabaseStamp &other) const
{
    return m_size >= 0 && m_size == other.m_size && m_modified == other.m_modified;
}

DatabaseLock::DatabaseLock() = default;

DatabaseLock::~DatabaseLock() = default;

QString DatabaseLock::lockFileName(const QString &databasePath)
{
    // Two names of one file (a symbolic link) share one lock.
    const QString canonical = QFileInfo(databasePath).canonicalFilePath();
    return (canonical.isEmpty() ? QFileInfo(databasePath).absoluteFilePath() : canonical) + QStringLiteral(".lock");
}

DatabaseLock::Result DatabaseLock::lock(const QString &path)
{
    m_holder.clear();
    m_problem.clear();
    auto lock = std::make_unique<QLockFile>(lockFileName(path));
    // Stale only when its host no longer runs: a host keeps a database open for hours.
    lock->setStaleLockTime(0);
    if (lock->tryLock(0)) {
        m_lock = std::move(lock);
        m_path = path;
        return Locked;
    }
    if (lock->error() == QLockFile::LockFailedError) {
        qint64 pid = 0;
        QString hostName;
        QString application;
        m_holder = lock->getLockInfo(&pid, &hostName, &application)
            ? tr("%1 (process %2 on %3)").arg(QFileInfo(application).fileName()).arg(pid).arg(hostName)
            : tr("another host");
        return HeldByOther;
    }
    m_problem = lock->error() == QLockFile::PermissionError
        ? tr("no lock file can be made beside it (%1)").arg(lockFileName(path))
        : tr("its lock file %1 cannot be read").arg(lockFileName(path));
    return NotPossible;
}

void DatabaseLock::unlock()
{
    m_lock.reset(); // QLockFile removes the file
    m_path.clear();
}

bool DatabaseLock::isLocked() const
{
    return m_lock && m_lock->isLocked();
}

} // namespace Host
