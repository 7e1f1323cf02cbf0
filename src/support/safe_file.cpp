#include "support/safe_file.h"

#include <QFileInfo>

#ifdef Q_OS_WIN
#include <QSaveFile>
#else
#include <QFile>
#include <QRandomGenerator>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>
#endif

namespace quarnel {
namespace {

#ifdef Q_OS_WIN

// Unbuffered, so that every write reaches the system at once and its failure is seen; QSaveFile
// writes the target directly when its folder refuses the temporary file.
std::optional<QString> writeFile(const QString& path, const QByteArray& bytes) {
    QSaveFile file(path);
    file.setDirectWriteFallback(true);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return file.errorString();
    if (file.write(bytes) != bytes.size() || !file.flush()) {
        const QString reason = file.errorString();
        file.cancelWriting();
        return reason;
    }
    if (!file.commit())
        return file.errorString();
    return std::nullopt;
}

#else

// Writes every byte to `fd`: 0, or the errno of the write that failed. A write that takes only
// part of the bytes is followed by one for the rest, so a full disk shows as that write's error.
int writeAll(int fd, const QByteArray& bytes) {
    const char* data = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t written = ::write(fd, data, size_t(left));
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        if (written == 0)
            return EIO;
        data += written;
        left -= written;
    }
    return 0;
}

// Writes, flushes to the disk and closes `fd`, which is closed on every path: 0 or the errno.
int writeSyncClose(int fd, const QByteArray& bytes) {
    int error = writeAll(fd, bytes);
    // A file system that cannot sync (EINVAL) has nothing left to lose.
    if (error == 0 && ::fsync(fd) != 0 && errno != EINVAL)
        error = errno;
    if (::close(fd) != 0 && error == 0 && errno != EINTR)
        error = errno;
    return error;
}

QString reason(int error) {
    return qt_error_string(error);
}

// A name beside `target` that no file has: ".NAME.XXXXXX" in the same folder.
QByteArray temporaryName(const QByteArray& folder, const QByteArray& name) {
    static const char kLetters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    QByteArray suffix(6, 'x');
    for (char& c : suffix)
        c = kLetters[QRandomGenerator::global()->bounded(int(sizeof kLetters - 1))];
    return folder + "/." + name + '.' + suffix;
}

// Writes the target itself: for a writable file in a folder that refuses new files.
std::optional<QString> writeInPlace(const QByteArray& target, const QByteArray& bytes) {
    const int fd = ::open(target.constData(), O_WRONLY | O_TRUNC | O_CLOEXEC);
    if (fd < 0)
        return reason(errno);
    if (const int error = writeSyncClose(fd, bytes))
        return reason(error);
    return std::nullopt;
}

std::optional<QString> writeFile(const QString& path, const QByteArray& bytes) {
    // A link is followed: the file it names is replaced, the link stays.
    QFileInfo info(path);
    const QString resolved = info.isSymLink() ? info.symLinkTarget() : info.absoluteFilePath();
    info = QFileInfo(resolved);
    const QByteArray target = QFile::encodeName(resolved);
    const QByteArray folder = QFile::encodeName(info.absolutePath());
    const QByteArray name = QFile::encodeName(info.fileName());

    struct stat old {};
    const bool exists = ::stat(target.constData(), &old) == 0;
    if (exists && S_ISDIR(old.st_mode))
        return reason(EISDIR);
    // A new file gets the mode the user's mask allows; a replaced one keeps its own.
    const mode_t mode = exists ? (old.st_mode & 07777) : 0666;

    QByteArray temporary;
    int fd = -1;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        temporary = temporaryName(folder, name);
        fd = ::open(temporary.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
        if (fd < 0 && errno != EEXIST)
            break;
    }
    if (fd < 0) {
        const int error = errno;
        if (error == EACCES && exists && S_ISREG(old.st_mode) &&
            ::access(target.constData(), W_OK) == 0)
            return writeInPlace(target, bytes);
        return reason(error);
    }
    if (exists) {
        // Best effort: only the owner (or root) may give the new file the old one's owner and mode.
        if (::fchown(fd, old.st_uid, old.st_gid) != 0) {
            // Not the owner: the new file is the user's own, with the old mode.
        }
        ::fchmod(fd, mode);
    }
    int error = writeSyncClose(fd, bytes);
    if (error == 0 && ::rename(temporary.constData(), target.constData()) != 0)
        error = errno;
    if (error != 0) {
        ::unlink(temporary.constData());
        return reason(error);
    }
    // The rename itself reaches the disk with the folder's own flush; a folder that cannot be
    // flushed changes nothing about the file written.
    if (const int dir = ::open(folder.constData(), O_RDONLY | O_CLOEXEC); dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
    return std::nullopt;
}

#endif

}  // namespace

std::optional<QString> writeFileSafely(const QString& path, const QByteArray& bytes) {
    return writeFile(path, bytes);
}

}  // namespace quarnel
