// SPDX-License-Identifier: MIT
// Guarding the database file against other writers: what the host loaded or last saved
// (size, modification time and a hash of the bytes), and the lock that tells a second
// host that this one has the file open.
#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <memory>

class QLockFile;

namespace Host {

class DatabaseStamp
{
public:
    DatabaseStamp() = default;
    // The file as it is now. Null when it cannot be read; why() then says so.
    static DatabaseStamp ofFile(const QString &path);
    // The bytes the host itself read or wrote at path (the time is the file's now).
    static DatabaseStamp ofBytes(const QString &path, const QByteArray &bytes);
    // Only the size and time of the file now, without reading it.
    static DatabaseStamp lookOf(const QString &path);

    bool isNull() const { return m_hash.isEmpty(); }
    qint64 size() const { return m_size; }
    QDateTime modified() const { return m_modified; }
    QString why() const { return m_why; }
    // Same size and bytes; the time alone does not count (a copy with its time kept, a
    // clock set back).
    bool sameContent(const DatabaseStamp &other) const;
    // Same size and time: what a look at the file without reading it can tell.
    bool sameLook(const DatabaseStamp &other) const;

private:
    qint64 m_size = -1;
    QDateTime m_modified;
    QByteArray m_hash;
    QString m_why;
};

// The advisory lock beside a database ("net.json.lock"). A lock left by a host that no
// longer runs is taken over; a lock never goes stale by age alone.
class DatabaseLock
{
public:
    DatabaseLock();
    ~DatabaseLock();
    DatabaseLock(const DatabaseLock &) = delete;
    DatabaseLock &operator=(const DatabaseLock &) = delete;

    enum Result { Locked, HeldByOther, NotPossible };
    // Takes the lock of path without waiting. HeldByOther: holder() says who has it;
    // NotPossible: problem() says why (a folder without write permission).
    Result lock(const QString &path);
    void unlock();
    bool isLocked() const;
    QString path() const { return m_path; } // the database, empty when none is locked
    QString holder() const { return m_holder; }
    QString problem() const { return m_problem; }

    static QString lockFileName(const QString &databasePath);

private:
    std::unique_ptr<QLockFile> m_lock;
    QString m_path;
    QString m_holder;
    QString m_problem;
};

} // namespace Host
