// SPDX-License-Identifier: MIT
#include "shared/BoundedFile.h"

#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <cerrno>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

BoundedRead failed(BoundedRead::Failure failure, const QString &reason, qint64 size = 0)
{
    BoundedRead result;
    result.failure = failure;
    result.reason = reason;
    result.size = size;
    return result;
}

#ifdef Q_OS_UNIX
QString kindOf(mode_t mode)
{
    if (S_ISDIR(mode))
        return QStringLiteral("a folder");
    if (S_ISFIFO(mode))
        return QStringLiteral("a FIFO (named pipe)");
    if (S_ISCHR(mode) || S_ISBLK(mode))
        return QStringLiteral("a device");
    if (S_ISSOCK(mode))
        return QStringLiteral("a socket");
    return QStringLiteral("not a regular file");
}
#endif

// A file of about `expected` bytes read straight into one buffer with `spare` bytes of
// room after its end; a file that grew meanwhile is read on, up to one byte over the limit.
BoundedRead readSizedFile(QFile &file, qint64 maxSize, qint64 expected, qint64 spare)
{
    BoundedRead result;
    const qint64 limit = maxSize + 1; // one byte over the limit tells a file that grew too long
    qint64 room = std::min(expected + 1, limit);
    result.data.reserve(room + spare);
    result.data.resize(room);
    qint64 used = 0;
    for (;;) {
        if (used == room) {
            if (room == limit)
                break;
            room = std::min(room * 2, limit);
            result.data.reserve(room + spare);
            result.data.resize(room);
        }
        const qint64 got = file.read(result.data.data() + used, room - used);
        if (got < 0)
            return failed(BoundedRead::Failure::ReadFailed, file.errorString());
        if (got == 0)
            break;
        used += got;
    }
    if (used > maxSize)
        return failed(BoundedRead::Failure::TooLarge, QString(), used);
    if (file.error() != QFileDevice::NoError)
        return failed(BoundedRead::Failure::ReadFailed, file.errorString());
    result.data.resize(used); // keeps the room
    result.size = used;
    return result;
}

} // namespace

BoundedRead readBoundedStream(QIODevice &stream, qint64 maxSize)
{
    // One byte over the limit tells a stream (or a file that grew) that is too long.
    BoundedRead result;
    result.data = stream.read(maxSize + 1);
    if (result.data.size() > maxSize)
        return failed(BoundedRead::Failure::TooLarge, QString(), result.data.size());
    if (auto *file = qobject_cast<QFileDevice *>(&stream); file && file->error() != QFileDevice::NoError)
        return failed(BoundedRead::Failure::ReadFailed, file->errorString());
    result.size = result.data.size();
    return result;
}

BoundedRead readBoundedFile(const QString &path, qint64 maxSize, qint64 spare)
{
    QFile file;
#ifdef Q_OS_UNIX
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return failed(BoundedRead::Failure::CannotOpen, qt_error_string(errno));
    struct stat status
    {
    };
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
        const QString kind = kindOf(status.st_mode);
        ::close(fd);
        return failed(BoundedRead::Failure::NotRegular, kind);
    }
    if (status.st_size > maxSize) {
        ::close(fd);
        return failed(BoundedRead::Failure::TooLarge, QString(), status.st_size);
    }
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return failed(BoundedRead::Failure::CannotOpen, file.errorString());
    }
    return readSizedFile(file, maxSize, status.st_size, spare);
#else
    file.setFileName(path);
    if (QFileInfo(path).exists() && !QFileInfo(path).isFile())
        return failed(BoundedRead::Failure::NotRegular, QStringLiteral("not a regular file"));
    if (!file.open(QIODevice::ReadOnly))
        return failed(BoundedRead::Failure::CannotOpen, file.errorString());
    if (file.size() > maxSize)
        return failed(BoundedRead::Failure::TooLarge, QString(), file.size());
    return readSizedFile(file, maxSize, file.size(), spare);
#endif
}

QString notRegularFileKind(const QString &path)
{
#ifdef Q_OS_UNIX
    struct stat status
    {
    };
    if (::stat(QFile::encodeName(path).constData(), &status) != 0 || S_ISREG(status.st_mode))
        return QString();
    return kindOf(status.st_mode);
#else
    const QFileInfo info(path);
    return info.exists() && !info.isFile() ? QStringLiteral("not a regular file") : QString();
#endif
}
