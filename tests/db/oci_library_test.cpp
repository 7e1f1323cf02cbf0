// Finding the Oracle client library: where it is looked for and what a failed search says.
#include "db/oci_library.h"
#include "testing/oci_stand_in.h"
#include "testing/sqlite_fixture.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

namespace quarnel::db {
namespace {

QString failure(const OciLibrarySearch& search) {
    try {
        openOciLibrary(search);
    } catch (const DbError& error) {
        return error.description();
    }
    return {};
}

TEST(OciLibraryTest, MissingLibraryNamesWhatAndWhereAndHowToInstall) {
    quarnel::testing::SqliteFixture folder;
    OciLibrarySearch search = defaultOciLibrarySearch();
    search.folders = {folder.filePath(QString())};
    search.systemSearch = false;
    search.oracleHomeLib.clear();
    const QString message = failure(search);
    EXPECT_TRUE(message.contains(QLatin1String("libclntsh.so, libclntsh.so.23.1")))
        << message.toStdString();
    EXPECT_TRUE(message.contains(folder.filePath(QString()))) << message.toStdString();
    EXPECT_TRUE(message.contains(QStringLiteral("ORACLE_HOME は未設定"))) << message.toStdString();
    EXPECT_TRUE(message.contains(QLatin1String("Oracle Instant Client"))) << message.toStdString();
}

TEST(OciLibraryTest, UnusableLibraryGivesTheLoadersReason) {
    quarnel::testing::SqliteFixture folder;
    const QString bogus = folder.createFile("not a library", QStringLiteral("libclntsh.so"));
    OciLibrarySearch search = defaultOciLibrarySearch();
    search.folders.clear();
    search.systemSearch = false;
    search.oracleHomeLib = folder.filePath(QString());
    const QString message = failure(search);
    // The loader's own words start with the file it refused.
    EXPECT_TRUE(message.contains(QStringLiteral("理由: ") + bogus + u':')) << message.toStdString();
}

TEST(OciLibraryTest, DefaultSearchStartsInTheProgramsOwnFolder) {
    const OciLibrarySearch search = defaultOciLibrarySearch();
    ASSERT_FALSE(search.folders.isEmpty());
    EXPECT_EQ(search.folders.first(), QFileInfo(QStringLiteral("/proc/self/exe")).canonicalPath());
    EXPECT_TRUE(search.systemSearch);
    EXPECT_EQ(search.names.value(0), QStringLiteral("libclntsh.so"));
}

TEST(OciLibraryTest, ProgramFolderIsSearchedFirstWithVersionedNames) {
    // The engine's own library is loaded first, so that the copy below never stands in for it.
    quarnel::testing::useOciStandIn();
    loadOciLibrary();
    quarnel::testing::SqliteFixture folder;
    const QString copy = folder.filePath(QStringLiteral("libclntsh.so.19.1"));
    ASSERT_TRUE(QFile::copy(QString::fromUtf8(quarnel::testing::kStandInLibrary), copy));
    OciLibrarySearch search = defaultOciLibrarySearch();
    search.folders = {folder.filePath(QString())};
    search.systemSearch = false;
    search.oracleHomeLib = QStringLiteral("/nonexistent");
    const OciLibrary library = openOciLibrary(search);
    EXPECT_NE(library.handle, nullptr);
    EXPECT_NE(library.functions.stmtFetch2, nullptr);
    dlclose(library.handle);
}

}  // namespace
}  // namespace quarnel::db
