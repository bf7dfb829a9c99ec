// SPDX-License-Identifier: MIT
#include "device/sim/SimFile.h"

#include "device/sim/SimJson.h"
#include "device/sim/SimNetwork.h"
#include "shared/BoundedFile.h"

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
    // With the room the reader's parser needs after the text, so that it makes no copy.
    BoundedRead read = readBoundedFile(path, Network::MaxFileSize, JsonTextPadding);
    switch (read.failure) {
    case BoundedRead::Failure::None:
        break;
    case BoundedRead::Failure::CannotOpen:
    case BoundedRead::Failure::ReadFailed:
        refuse(path, QStringLiteral("cannot be read: %1").arg(read.reason));
    case BoundedRead::Failure::NotRegular:
        refuse(path,
            QStringLiteral("cannot be read: it is %1, and a network database is a regular file").arg(read.reason));
    case BoundedRead::Failure::TooLarge:
        refuse(path, QStringLiteral("cannot be read: %1").arg(tooLarge(read.size)));
    }
#ifdef Q_OS_UNIX
    removeStraySaves(path);
#endif
    return std::move(read.data);
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
    if (const QString kind = notRegularFileKind(path); !kind.isEmpty())
        refuse(path,
            QStringLiteral("cannot be written: it is %1, and a network database is saved only as a regular file")
                .arg(kind));
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
