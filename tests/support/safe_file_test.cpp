#include "support/safe_file.h"
#include "testing/child_process.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#ifndef _WIN32
#include <sys/resource.h>
#include <sys/stat.h>
#include <csignal>

namespace quarnel {
namespace {

QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

// Runs `work` in a child process: its reason, or "<ok>".
QString answerInChild(const std::function<std::optional<QString>()>& work) {
    return QString::fromUtf8(testing::inChild([&]() {
        const std::optional<QString> reason = work();
        return reason ? reason->toUtf8() : QByteArray("<ok>");
    }));
}

// A file larger than the process may write: every write is checked, so the save fails with the
// system's reason (not a reported success with an emptied file), and the old bytes stay.
TEST(WriteFileSafely, FailedWriteKeepsTheOldFileAndSaysWhy) {
    QTemporaryDir dir;
    const QString path = dir.filePath("info.csv");
    ASSERT_FALSE(writeFileSafely(path, "old,bytes\r\n"));
    for (const qsizetype size : {qsizetype(100), qsizetype(1 << 20)}) {
        const QString answer = answerInChild([&]() {
            std::signal(SIGXFSZ, SIG_IGN);
            const rlimit limit{50, 50};
            ::setrlimit(RLIMIT_FSIZE, &limit);
            return writeFileSafely(path, QByteArray(size, 'n'));
        });
        EXPECT_EQ(answer.toStdString(), qt_error_string(EFBIG).toStdString()) << size;
        EXPECT_EQ(readAll(path), QByteArray("old,bytes\r\n")) << size;
    }
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"info.csv"});
}

TEST(WriteFileSafely, ReplacedFileKeepsItsModeAndLinksAreFollowed) {
    QTemporaryDir dir;
    const QString path = dir.filePath("a.txt");
    ASSERT_FALSE(writeFileSafely(path, "old"));
    ASSERT_EQ(::chmod(QFile::encodeName(path).constData(), 0640), 0);
    const QString link = dir.filePath("link.txt");
    ASSERT_TRUE(QFile::link(path, link));
    ASSERT_FALSE(writeFileSafely(link, "new"));
    EXPECT_EQ(readAll(path), QByteArray("new"));
    EXPECT_TRUE(QFileInfo(link).isSymLink());
    struct stat info {};
    ASSERT_EQ(::stat(QFile::encodeName(path).constData(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0640u);
}

// A file of the user's in a folder the user may not write: the file is written in place. A new
// file there is still refused. Root may write any folder, so the child runs as nobody.
TEST(WriteFileSafely, WritableFileInReadOnlyFolderIsWrittenInPlace) {
    QTemporaryDir dir;
    ASSERT_TRUE(QDir(dir.path()).mkdir("locked"));
    const QString folder = dir.filePath("locked");
    const QString path = folder + QStringLiteral("/mine.txt");
    ASSERT_FALSE(writeFileSafely(path, "old text"));
    const uid_t user = ::geteuid() == 0 ? testing::kNobody : ::geteuid();
    ASSERT_EQ(::chown(QFile::encodeName(path).constData(), user, user), 0);
    ASSERT_EQ(::chmod(QFile::encodeName(dir.path()).constData(), 0755), 0);
    ASSERT_EQ(::chmod(QFile::encodeName(folder).constData(), 0555), 0);
    const QString answer = answerInChild([&]() -> std::optional<QString> {
        if (!testing::becomeOrdinaryUser())
            return QStringLiteral("<cannot become nobody>");
        if (const std::optional<QString> reason = writeFileSafely(path, "new"))
            return reason;
        return writeFileSafely(folder + QStringLiteral("/other.txt"), "x");
    });
    ::chmod(QFile::encodeName(folder).constData(), 0755);
    EXPECT_EQ(answer.toStdString(), qt_error_string(EACCES).toStdString());
    EXPECT_EQ(readAll(path), QByteArray("new"));
}

}  // namespace
}  // namespace quarnel
#endif
