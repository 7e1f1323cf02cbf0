#include "support/text_file.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace quarnel {
namespace {

struct FileBytesCase {
    const char* name;
    QString text;
    const char* encoding;
    QByteArray bytes;
};

void PrintTo(const FileBytesCase& c, std::ostream* os) {
    *os << c.name;
}

class EncodeForFileTest : public ::testing::TestWithParam<FileBytesCase> {};

TEST_P(EncodeForFileTest, WritesTheSystemEncodingOrUtf8WithByteOrderMark) {
    const FileBytesCase& c = GetParam();
    const std::optional<QByteArray> bytes = encodeForFile(c.text, QString::fromLatin1(c.encoding));
    ASSERT_TRUE(bytes.has_value());
    EXPECT_EQ(bytes->toHex(' ').toStdString(), c.bytes.toHex(' ').toStdString());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, EncodeForFileTest,
    ::testing::Values(FileBytesCase{"Utf8WithoutByteOrderMark", QStringLiteral("東\r\n"), "UTF-8",
                                    QByteArray::fromHex("e69db10d0a")},
                      FileBytesCase{"Cp932KanjiAndHalfWidthKana", QStringLiteral("東京倉庫ﾃｰﾌﾞﾙ※"),
                                    "CP932", QByteArray::fromHex("938c8b9e91718cc9c3b0ccded981a6")},
                      // Hangul has no place in CP932: the whole text goes to UTF-8 after the mark.
                      FileBytesCase{"Cp932FallsBackToUtf8", QStringLiteral("A東한"), "CP932",
                                    QByteArray::fromHex("efbbbf41e69db1ed959c")},
                      FileBytesCase{"EmptyText", QString(), "CP932", QByteArray()}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(EncodeForFile, UnpairedSurrogateCannotBeWrittenAtAll) {
    QString error;
    const QString text = QStringLiteral("a") + QChar(0xD800);
    EXPECT_FALSE(encodeForFile(text, QStringLiteral("CP932"), &error).has_value());
    EXPECT_FALSE(error.isEmpty());
}

QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

TEST(WriteTextFile, ReplacesTheWholeOldContent) {
    QTemporaryDir dir;
    const QString path = dir.filePath("a.txt");
    ASSERT_FALSE(writeTextFile(path, QStringLiteral("a much longer old text\r\n"), "UTF-8"));
    ASSERT_FALSE(writeTextFile(path, QStringLiteral("new"), "UTF-8"));
    EXPECT_EQ(readAll(path), QByteArray("new"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"a.txt"});
}

TEST(WriteTextFile, FailureLeavesTheOldFileAndNamesTheReason) {
    QTemporaryDir dir;
    // Root may write anywhere, so the targets are made unwritable by their kind: a folder, and a
    // file under a regular file.
    ASSERT_TRUE(QDir(dir.path()).mkdir("folder"));
    const QString regular = dir.filePath("regular");
    ASSERT_FALSE(writeTextFile(regular, QStringLiteral("old"), "UTF-8"));
    for (const QString& target : {dir.filePath("folder"), regular + QStringLiteral("/a.txt")}) {
        const std::optional<QString> reason = writeTextFile(target, QStringLiteral("x"), "UTF-8");
        ASSERT_TRUE(reason.has_value()) << target.toStdString();
        EXPECT_FALSE(reason->isEmpty());
    }
    EXPECT_EQ(readAll(regular), QByteArray("old"));
    EXPECT_TRUE(QFileInfo(dir.filePath("folder")).isDir());
}

}  // namespace
}  // namespace quarnel
