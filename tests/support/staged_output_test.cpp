#include "support/staged_output.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace quarnel {
namespace {

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_EQ(file.write(bytes), bytes.size());
}

QByteArray readFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

TEST(StagedOutputTest, UnfinishedOutputLeavesTheOldFileAndNoTrace) {
    QTemporaryDir dir;
    const QString target = dir.filePath("book.xlsx");
    writeFile(target, "old");
    {
        StagedOutput output(target, StagedOutput::Kind::File);
        ASSERT_FALSE(output.prepare());
        writeFile(output.temporaryPath(), "half");
    }
    EXPECT_EQ(readFile(target), "old");
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 1);
}

TEST(StagedOutputTest, CommittedFolderReplacesTheOldFolderWhole) {
    QTemporaryDir dir;
    const QString target = dir.filePath("doc");
    ASSERT_TRUE(QDir().mkpath(target));
    writeFile(target + "/STALE.md", "stale");
    StagedOutput output(target, StagedOutput::Kind::Folder);
    ASSERT_FALSE(output.prepare());
    writeFile(output.temporaryPath() + "/README.md", "new");
    ASSERT_FALSE(output.commit());
    EXPECT_EQ(readFile(target + "/README.md"), "new");
    EXPECT_FALSE(QFile::exists(target + "/STALE.md"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
              QStringList{"doc"});
}

}  // namespace
}  // namespace quarnel
