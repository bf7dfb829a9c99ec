// SPDX-License-Identifier: MIT
#include "device/sim/SimFile.h"

#include "device/sim/SimNetwork.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <cerrno>
#include <new>
#include <utility>

#ifdef Q_OS_UNIX
#include <ctime>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace Sim {
namespace {

int injectedWriteError = 0;

[[noreturn]] void refuse(const QString &path, const QString &why)
{
    throw LoadError(QStringLiteral("%1: %2").arg(path, why));
}

QString tooLarge(qint64 size, const QString &what = QStringLiteral("the file"))
{
    return QStringLiteral("%1 holds %2 bytes; a network database holds at most %3 bytes (%4 MiB)")
        .arg(what)
        .arg(size)
        .arg(Network::MaxFileSize)
        .arg(Network::MaxFileSize / (1024 * 1024));
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

// Why a write failed, in words: the system's reason where Qt has none ("Unknown error").
QString writeFailure(int systemError, const QString &qtReason)
{
    if (systemError == ENOSPC)
        return QStringLiteral("the disk is full (no space left on the device)");
#ifdef EDQUOT
    if (systemError == EDQUOT)
        return QStringLiteral("the disk quota is used up");
#endif
    const bool qtKnows = !qtReason.isEmpty() && qtReason != QLatin1String("Unknown error");
    if (qtKnows || systemError == 0)
        return qtKnows ? qtReason : QStringLiteral("the system gave no reason");
    return qt_error_string(systemError);
}

#ifdef Q_OS_UNIX
// A save writes its text beside the file under the file's name, a dot and six random
// letters, and renames it over the file; killed between the two, it leaves that copy
// behind. Such a copy is removed when the file is next opened. Only what can be nothing
// but such a copy goes: a regular file of this user, named so with upper- and lower-case
// letters (a name such as "net.json.backup" stays), that begins as every saved text
// begins, and that no save has touched for StraySaveAge seconds (a save in progress is
// left alone).
constexpr time_t StraySaveAge = 300;

bool isStraySaveName(const QString &name, const QString &fileName)
{
    if (name.size() != fileName.size() + 7 || !name.startsWith(fileName + QLatin1Char('.')))
        return false;
    bool upper = false;
    bool lower = false;
    for (const QChar c : QStringView(name).right(6)) {
        upper = upper || (c >= QLatin1Char('A') && c <= QLatin1Char('Z'));
        lower = lower || (c >= QLatin1Char('a') && c <= QLatin1Char('z'));
        if (!(c >= QLatin1Char('A') && c <= QLatin1Char('Z')) && !(c >= QLatin1Char('a') && c <= QLatin1Char('z')))
            return false;
    }
    return upper && lower;
}

bool isStraySave(const QString &path)
{
    const QByteArray native = QFile::encodeName(path);
    const int fd = ::open(native.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOFOLLOW);
    if (fd < 0)
        return false;
    struct stat status
    {
    };
    const QByteArrayView savedStart("{\n    \""); // Qt's indented layout, as every save writes it
    char start[16] = {};
    const bool stray = ::fstat(fd, &status) == 0 && S_ISREG(status.st_mode) && status.st_uid == ::geteuid()
        && status.st_mtime < ::time(nullptr) - StraySaveAge
        && ::read(fd, start, size_t(savedStart.size())) == savedStart.size()
        && QByteArrayView(start, savedStart.size()) == savedStart;
    ::close(fd);
    return stray;
}

void removeStraySaves(const QString &path)
{
    // The copies lie beside the file a symbolic link leads to, as the save writes there.
    const QFileInfo file(QFileInfo(path).canonicalFilePath());
    if (file.fileName().isEmpty())
        return;
    const QDir folder = file.absoluteDir();
    for (const QString &name : folder.entryList(QDir::Files | QDir::Hidden | QDir::System | QDir::NoSymLinks)) {
        if (isStraySaveName(name, file.fileName()) && isStraySave(folder.filePath(name)))
            QFile::remove(folder.filePath(name));
    }
}
#endif

} // namespace

QByteArray readDatabaseFile(const QString &path)
{
    QFile file;
#ifdef Q_OS_UNIX
    // Opened without waiting (a FIFO would block until a writer comes) and checked on the
    // open descriptor before one byte is read (a device such as /dev/zero never ends).
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        refuse(path, QStringLiteral("cannot be read: %1").arg(qt_error_string(errno)));
    struct stat status
    {
    };
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
        const QString kind = kindOf(status.st_mode);
        ::close(fd);
        refuse(path, QStringLiteral("cannot be read: it is %1, and a network database is a regular file").arg(kind));
    }
    if (status.st_size > Network::MaxFileSize) {
        ::close(fd);
        refuse(path, QStringLiteral("cannot be read: %1").arg(tooLarge(status.st_size)));
    }
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        refuse(path, QStringLiteral("cannot be read: %1").arg(file.errorString()));
    }
#else
    file.setFileName(path);
    if (QFileInfo(path).exists() && !QFileInfo(path).isFile())
        refuse(path, QStringLiteral("cannot be read: it is not a regular file"));
    if (!file.open(QIODevice::ReadOnly))
        refuse(path, QStringLiteral("cannot be read: %1").arg(file.errorString()));
    if (file.size() > Network::MaxFileSize)
        refuse(path, QStringLiteral("cannot be read: %1").arg(tooLarge(file.size())));
#endif
    // One byte over the limit tells a file that grew since it was measured.
    const QByteArray json = file.read(Network::MaxFileSize + 1);
    if (file.error() != QFileDevice::NoError)
        refuse(path, QStringLiteral("cannot be read: %1").arg(file.errorString()));
    if (json.size() > Network::MaxFileSize)
        refuse(path, QStringLiteral("cannot be read: %1").arg(tooLarge(json.size())));
#ifdef Q_OS_UNIX
    removeStraySaves(path);
#endif
    return json;
}

namespace {

// Why the text would not open again, or an empty text when it would: the reader itself
// judges, so that nothing is saved that the next load refuses.
QString whyNotReadable(const QString &path, const QByteArray &text)
{
    try {
        Network::fromJson(text, path);
        return QString();
    } catch (const LoadError &error) {
        const QString prefix = path + QStringLiteral(": ");
        return error.message().startsWith(prefix) ? error.message().mid(prefix.size()) : error.message();
    } catch (const std::bad_alloc &) {
        return QStringLiteral("there is not enough memory to read it");
    }
}

// A save replaces a regular file (a symbolic link is followed to one) or makes a new one.
// A FIFO, a device or a folder under the name would be replaced by a regular file, and
// whoever uses it would lose it: the save stops before anything is written.
void refuseSpecialTarget(const QString &path)
{
#ifdef Q_OS_UNIX
    struct stat status
    {
    };
    if (::stat(QFile::encodeName(path).constData(), &status) == 0 && !S_ISREG(status.st_mode))
        refuse(path,
            QStringLiteral("cannot be written: it is %1, and a network database is saved only as a regular file")
                .arg(kindOf(status.st_mode)));
#else
    const QFileInfo info(path);
    if (info.exists() && !info.isFile())
        refuse(path, QStringLiteral("cannot be written: it is not a regular file"));
#endif
}

} // namespace

void writeDatabaseFile(const QString &path, const QByteArray &text)
{
    refuseSpecialTarget(path);
    if (text.size() > Network::MaxFileSize)
        refuse(path,
            QStringLiteral("cannot be written: %1").arg(tooLarge(text.size(), QStringLiteral("the text to save"))));
    QSaveFile file(path);
    errno = 0;
    if (!file.open(QIODevice::WriteOnly))
        refuse(path, QStringLiteral("cannot be written: %1").arg(writeFailure(errno, file.errorString())));
    // Flushed here so that a full disk shows while its reason is still in errno.
    errno = 0;
    bool written = file.write(text) == text.size() && file.flush();
    int systemError = written ? 0 : errno;
    if (injectedWriteError != 0) {
        written = false;
        systemError = std::exchange(injectedWriteError, 0);
    }
    if (!written) {
        const QString reason = writeFailure(systemError, file.errorString());
        file.cancelWriting();
        refuse(path, QStringLiteral("cannot be written: %1").arg(reason));
    }
    // Written but not yet in place: what the next load would refuse does not replace the file.
    if (const QString why = whyNotReadable(path, text); !why.isEmpty()) {
        file.cancelWriting();
        refuse(path, QStringLiteral("cannot be written: the saved text would not open again: %1").arg(why));
    }
    errno = 0;
    if (!file.commit())
        refuse(path, QStringLiteral("cannot be written: %1").arg(writeFailure(errno, file.errorString())));
}

namespace FileTesting {
void failNextWrite(int systemError)
{
    injectedWriteError = systemError;
}
} // namespace FileTesting

} // namespace Sim
