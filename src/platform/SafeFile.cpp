#include "platform/SafeFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kap::safefile {
namespace {

QString errnoText(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

enum class Refusal { None, NotRegular, PlantedLink, ReadOnly };

Refusal refusalOf(const QString& path)
{
    const QByteArray native = QFile::encodeName(path);
    struct stat link {};
    if (::lstat(native.constData(), &link) != 0)
        return Refusal::None;  // a new file; the open says so if the folder cannot take it
    if (S_ISLNK(link.st_mode)) {
        // The kernel's protected-symlinks rule, whatever the system's setting: in a shared
        // sticky folder a link is followed only when its owner is the user or the folder's.
        struct stat folder {};
        const QByteArray folderName = QFile::encodeName(QFileInfo(path).absolutePath());
        if (::stat(folderName.constData(), &folder) == 0 && (folder.st_mode & S_ISVTX)
            && (folder.st_mode & S_IWOTH) && link.st_uid != ::geteuid()
            && link.st_uid != folder.st_uid)
            return Refusal::PlantedLink;
    }
    struct stat target {};
    if (::stat(native.constData(), &target) != 0)
        return Refusal::None;  // a link to a file not made yet
    if (!S_ISREG(target.st_mode))
        return Refusal::NotRegular;
    // The temporary file would replace a file marked read-only, although the folder allows
    // it; the user marked it so that it stays.
    const QFileInfo info(path);
    const QFile::Permissions anyWrite = QFile::WriteOwner | QFile::WriteGroup | QFile::WriteOther;
    if (!info.isWritable() || !(info.permissions() & anyWrite))
        return Refusal::ReadOnly;
    return Refusal::None;
}

QString textOf(Refusal refusal)
{
    switch (refusal) {
    case Refusal::None:
        break;
    case Refusal::NotRegular:
        return QCoreApplication::translate("SafeFile", "is not a regular file");
    case Refusal::PlantedLink:
        return QCoreApplication::translate(
            "SafeFile", "is a symbolic link in a shared folder, made by another user");
    case Refusal::ReadOnly:
        return QCoreApplication::translate("SafeFile", "is read only");
    }
    return {};
}

}  // namespace

QString refusalFor(const QString& path)
{
    return textOf(refusalOf(path));
}

SaveResult save(const QString& path, const QByteArray& bytes)
{
    return save(path, [&bytes](QIODevice& out) { return out.write(bytes) == bytes.size(); });
}

SaveResult save(const QString& path, const std::function<bool(QIODevice&)>& write)
{
    if (const Refusal refusal = refusalOf(path); refusal != Refusal::None)
        return {false, textOf(refusal), refusal == Refusal::ReadOnly};
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return {false, file.errorString()};
    const auto fail = [&file](const QString& why) {
        const QString error = file.error() != QFileDevice::NoError ? file.errorString() : why;
        file.cancelWriting();
        return SaveResult{false, error};
    };
    // A buffered write fails only when the buffer goes out, and a full disk may say so only
    // at the sync: each is checked before the temporary may replace the old file. commit()
    // alone would rename it over the old file even after a failed flush.
    if (!write(file))
        return fail(QCoreApplication::translate("SafeFile", "could not be written completely"));
    if (file.error() != QFileDevice::NoError || !file.flush())
        return fail(QCoreApplication::translate("SafeFile", "could not be written completely"));
    if (::fsync(file.handle()) != 0)
        return fail(errnoText(errno));
    if (!file.commit())
        return {false, file.errorString()};
    return {true, {}};
}

ReadResult read(const QString& path, qint64 maxBytes)
{
    const QByteArray native = QFile::encodeName(path);
    const auto failed = [](ReadResult::Status status, const QString& error) {
        ReadResult r;
        r.status = status;
        r.error = error;
        return r;
    };
    struct stat info {};
    if (::stat(native.constData(), &info) != 0)
        return failed(errno == ENOENT ? ReadResult::Missing : ReadResult::Unreadable,
                      errnoText(errno));
    // Looked at before the open: opening a FIFO waits for a writer, a device may answer.
    if (!S_ISREG(info.st_mode))
        return failed(ReadResult::NotRegular, {});
    if (info.st_size > maxBytes)
        return failed(ReadResult::TooLarge, {});
    // Non-blocking, and looked at again once open: it may have been swapped meanwhile.
    const int fd = ::open(native.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0)
        return failed(ReadResult::Unreadable, errnoText(errno));
    ReadResult r;
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        return failed(ReadResult::NotRegular, {});
    }
    r.bytes.resize(qsizetype(std::min<qint64>(maxBytes + 1, info.st_size + 4096)));
    qsizetype got = 0;
    while (got < r.bytes.size()) {
        const ssize_t n = ::read(fd, r.bytes.data() + got, size_t(r.bytes.size() - got));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            const int error = errno;
            ::close(fd);
            return failed(ReadResult::Unreadable, errnoText(error));
        }
        if (n == 0)
            break;
        got += n;
        if (got == r.bytes.size() && got <= maxBytes)
            r.bytes.resize(std::min<qint64>(maxBytes + 1, got * 2));  // it grew meanwhile
    }
    ::close(fd);
    r.bytes.truncate(got);
    if (got > maxBytes)
        return failed(ReadResult::TooLarge, {});
    r.status = ReadResult::Ok;
    return r;
}

QString sentence(const QString& path, const QString& error)
{
    const QString shown = QDir::toNativeSeparators(path);
    if (error.isEmpty())
        return shown;
    // The tool's own reasons go on from the name; the system's stand after a colon.
    if (error.front().isLower())
        return shown + QLatin1Char(' ') + error + QLatin1Char('.');
    return shown + QStringLiteral(": ") + error;
}

QString detail(const QString& path, const SaveResult& result)
{
    if (result.ok || result.readOnly)
        return {};
    return QStringLiteral("\n\n") + sentence(path, result.error);
}

QString describe(const ReadResult& result)
{
    switch (result.status) {
    case ReadResult::Ok:
        return {};
    case ReadResult::Missing:
        return QCoreApplication::translate("SafeFile", "does not exist");
    case ReadResult::NotRegular:
        return QCoreApplication::translate("SafeFile", "is not a regular file");
    case ReadResult::TooLarge:
        return QCoreApplication::translate("SafeFile", "is too large");
    case ReadResult::Unreadable:
        break;
    }
    return result.error.isEmpty() ? QCoreApplication::translate("SafeFile", "cannot be read")
                                  : result.error;
}

}  // namespace kap::safefile
