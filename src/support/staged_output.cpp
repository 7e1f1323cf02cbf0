#include "support/staged_output.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>

#ifdef _WIN32
#include <io.h>
#else
#include <fcntl.h>
#include <unistd.h>
#endif

namespace quarnel {
namespace {

namespace fs = std::filesystem;

fs::path toPath(const QString& path) {
    return fs::path(path.toStdU16String());
}

QString reasonOf(const std::error_code& error) {
    return QString::fromLocal8Bit(error.message().c_str());
}

QString systemReason(int error) {
    return QString::fromLocal8Bit(std::strerror(error));
}

// A name beside `target` that nothing has yet.
QString freshSibling(const QString& target, const QString& tag) {
    const QFileInfo info(target);
    for (;;) {
        const QString name = u'.' + info.fileName() + u'.' + tag + u'-' +
                             QString::number(QRandomGenerator::global()->generate(), 36);
        const QString path = info.dir().filePath(name);
        if (!QFileInfo::exists(path))
            return path;
    }
}

std::optional<QString> syncFolderTree(const QString& folder) {
    std::error_code error;
    for (auto it = fs::recursive_directory_iterator(toPath(folder), error);
         !error && it != fs::recursive_directory_iterator(); it.increment(error)) {
        if (it->is_regular_file(error)) {
            if (auto failure = syncFile(QString::fromStdU16String(it->path().u16string())))
                return failure;
        }
    }
    if (error)
        return reasonOf(error);
    return std::nullopt;
}

}  // namespace

std::optional<QString> syncFile(const QString& path) {
#ifdef _WIN32
    Q_UNUSED(path);
    return std::nullopt;
#else
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return systemReason(errno);
    const bool synced = ::fsync(fd) == 0;
    const int error = errno;
    ::close(fd);
    if (!synced)
        return systemReason(error);
    return std::nullopt;
#endif
}

StagedOutput::StagedOutput(const QString& target, Kind kind) : m_target(target), m_kind(kind) {}

StagedOutput::~StagedOutput() {
    if (m_committed || m_temporary.isEmpty())
        return;
    std::error_code ignored;
    fs::remove_all(toPath(m_temporary), ignored);
}

std::optional<QString> StagedOutput::prepare() {
    m_temporary = freshSibling(m_target, QStringLiteral("partial"));
    if (m_kind == Kind::Folder) {
        std::error_code error;
        if (!fs::create_directory(toPath(m_temporary), error)) {
            const QString reason = reasonOf(error);
            m_temporary.clear();
            return reason;
        }
    }
    return std::nullopt;
}

std::optional<QString> StagedOutput::commit() {
    if (m_temporary.isEmpty())
        return QStringLiteral("No output was prepared.");
    const auto synced = m_kind == Kind::File ? syncFile(m_temporary) : syncFolderTree(m_temporary);
    if (synced)
        return synced;
    std::error_code error;
    if (m_kind == Kind::File || !fs::exists(toPath(m_target), error)) {
        fs::rename(toPath(m_temporary), toPath(m_target), error);
        if (error)
            return reasonOf(error);
        m_committed = true;
        return std::nullopt;
    }
    // A folder cannot replace another in one step: the old one steps aside first and comes back
    // when the new one cannot take its place.
    const QString aside = freshSibling(m_target, QStringLiteral("old"));
    fs::rename(toPath(m_target), toPath(aside), error);
    if (error)
        return reasonOf(error);
    fs::rename(toPath(m_temporary), toPath(m_target), error);
    if (error) {
        const QString reason = reasonOf(error);
        std::error_code ignored;
        fs::rename(toPath(aside), toPath(m_target), ignored);
        return reason;
    }
    m_committed = true;
    fs::remove_all(toPath(aside), error);
    return std::nullopt;
}

}  // namespace quarnel
