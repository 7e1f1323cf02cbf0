// A file whose latest changes lie in a journal or log beside it is never read as if it were the
// whole database: the engine refuses it rather than show another schema.
#include "db/engines.h"
#include "testing/child_process.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <sqlite3.h>
#include <sys/stat.h>

#include <gtest/gtest.h>

#ifndef _WIN32
namespace quarnel::db {
namespace {

using quarnel::testing::inChild;

// Runs `sql` on a writable connection to `path` in a child that dies without closing it, as a
// crashed writer would: its journal or log stays behind.
void crashAfter(const QString& path, const char* sql) {
    const QByteArray answer = inChild([&]() -> QByteArray {
        sqlite3* db = nullptr;
        sqlite3_open(QFile::encodeName(path).constData(), &db);
        char* error = nullptr;
        if (sqlite3_exec(db, sql, nullptr, nullptr, &error) != SQLITE_OK)
            return error;
        return "done";
    });
    ASSERT_EQ(answer, QByteArray("done"));
}

// The tables the engine lists for `path`, or the refusal, opened by an ordinary user in a child.
QString openAsUser(const QString& path) {
    return QString::fromUtf8(inChild([&]() -> QByteArray {
        if (!quarnel::testing::becomeOrdinaryUser())
            return "<cannot become nobody>";
        try {
            auto database = OpenSqliteDatabase(path);
            auto dynaset =
                database->DbCreateDynaset(QStringLiteral("SELECT count(*) FROM user_tables t"), 0);
            return "tables: " + dynaset->Fields().front()->Value().toString().toUtf8();
        } catch (const DbError& error) {
            return error.description().toUtf8();
        }
    }));
}

class SqlitePendingTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ::chmod(QFile::encodeName(m_dir.path()).constData(), 0755);
        m_path = m_dir.filePath(QStringLiteral("db.sqlite"));
    }
    void TearDown() override { ::chmod(QFile::encodeName(m_dir.path()).constData(), 0755); }
    // Files and folder readable by all, writable by nobody but root.
    void readOnly() {
        for (const QString& name : QDir(m_dir.path()).entryList(QDir::Files))
            ::chmod(QFile::encodeName(m_dir.filePath(name)).constData(), 0644);
        ::chmod(QFile::encodeName(m_dir.path()).constData(), 0555);
    }
    QTemporaryDir m_dir;
    QString m_path;
};

// A writer renamed a table and spilled its changes into the file, then died: the file alone
// shows the half-written state, which the engine must not present as the database.
TEST_F(SqlitePendingTest, HotJournalIsRefused) {
    crashAfter(m_path, "CREATE TABLE A (X); CREATE TABLE B (Y);");
    crashAfter(m_path,
               "PRAGMA cache_size = 1; BEGIN; ALTER TABLE A RENAME TO GHOST_A;"
               " CREATE TABLE BIG (V); WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL"
               " SELECT i + 1 FROM n WHERE i < 2000) INSERT INTO BIG SELECT"
               " randomblob(300) FROM n;");
    ASSERT_GT(QFileInfo(m_path + QStringLiteral("-journal")).size(), 0);
    readOnly();
    for (const QString& answer : {openAsUser(m_path), QString::fromUtf8(inChild([&] {
                                      try {
                                          OpenSqliteDatabase(m_path);
                                          return QByteArray("opened");
                                      } catch (const DbError& error) {
                                          return error.description().toUtf8();
                                      }
                                  }))}) {
        EXPECT_TRUE(answer.contains(QStringLiteral("db.sqlite-journal"))) << answer.toStdString();
    }
}

// A database in WAL mode whose tables are still in the log, in a folder where the log's index
// cannot be made: the file alone has no tables.
TEST_F(SqlitePendingTest, WriteAheadLogWithoutItsIndexIsRefused) {
    crashAfter(m_path,
               "PRAGMA journal_mode = WAL; PRAGMA wal_autocheckpoint = 0;"
               " CREATE TABLE A (X); CREATE TABLE B (Y);");
    ASSERT_GT(QFileInfo(m_path + QStringLiteral("-wal")).size(), 0);
    QFile::remove(m_path + QStringLiteral("-shm"));
    readOnly();
    const QString answer = openAsUser(m_path);
    EXPECT_TRUE(answer.contains(QStringLiteral("db.sqlite-wal"))) << answer.toStdString();
}

// Without a log there is nothing pending: the file is the whole database and opens.
TEST_F(SqlitePendingTest, WriteAheadLogDatabaseWithNothingPendingOpens) {
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(QFile::encodeName(m_path).constData(), &db), SQLITE_OK);
    sqlite3_exec(db, "PRAGMA journal_mode = WAL; CREATE TABLE A (X);", nullptr, nullptr, nullptr);
    sqlite3_close(db);
    ASSERT_FALSE(QFileInfo::exists(m_path + QStringLiteral("-wal")));
    readOnly();
    EXPECT_EQ(openAsUser(m_path), QStringLiteral("tables: 1"));
}

}  // namespace
}  // namespace quarnel::db
#endif
