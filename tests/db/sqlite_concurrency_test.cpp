// The embedded engine on files that other programs use at the same time: their locks, their
// writes in write-ahead-log mode and their schema changes between and during lookups.
#include "db/engines.h"
#include "testing/sqlite_fixture.h"

#include <QFile>
#include <QFileInfo>

#include <sqlite3.h>

#include <gtest/gtest.h>

namespace quarnel::db {
namespace {

using testing::SqliteFixture;

const QString kTableList = QStringLiteral("SELECT table_name tbl FROM user_tables t");

QStringList firstColumn(Database& db, const QString& sql) {
    QStringList values;
    auto dynaset = db.DbCreateDynaset(sql, 12);
    for (; !dynaset->Eof(); dynaset->DbMoveNext())
        values.append(dynaset->Fields(0).Value().toString());
    return values;
}

QStringList tableList(Database& db) {
    return firstColumn(db, kTableList);
}

QString tableCount(Database& db, const QString& table) {
    return firstColumn(
               db, QStringLiteral(
                       "SELECT count(table_name) tbl FROM user_tables t WHERE t.table_name = '%1'")
                       .arg(table))
        .value(0);
}

// Another program's connection to the same file.
class OtherProgram {
  public:
    explicit OtherProgram(const QString& path) {
        if (sqlite3_open(QFile::encodeName(path).constData(), &m_db) != SQLITE_OK)
            ADD_FAILURE() << "cannot open " << path.toStdString();
    }
    ~OtherProgram() { sqlite3_close(m_db); }
    OtherProgram(const OtherProgram&) = delete;
    OtherProgram& operator=(const OtherProgram&) = delete;

    void run(const char* sql) {
        char* message = nullptr;
        const int rc = sqlite3_exec(m_db, sql, nullptr, nullptr, &message);
        EXPECT_EQ(rc, SQLITE_OK) << sql << ": " << (message ? message : "");
        sqlite3_free(message);
    }

  private:
    sqlite3* m_db = nullptr;
};

SqliteOptions quickTimeout() {
    SqliteOptions options;
    options.busyTimeoutMs = 20;
    return options;
}

// ---- Locks ----

TEST(SqliteLocks, ALockedLookupFailsAndTheNextOneSeesEveryTable) {
    SqliteFixture files;
    const QString path =
        files.createDatabase(QStringLiteral("CREATE TABLE A (X NUMBER); CREATE TABLE B (Y DATE);"));
    auto db = OpenSqliteDatabase(path, quickTimeout());
    OtherProgram other(path);

    other.run("BEGIN EXCLUSIVE");
    try {
        tableList(*db);
        ADD_FAILURE() << "a lookup under another program's exclusive lock succeeded";
    } catch (const DbError& error) {
        EXPECT_EQ(error.number() & 0xff, SQLITE_BUSY);
        EXPECT_TRUE(error.description().contains(QStringLiteral("locked")))
            << error.description().toStdString();
    }
    other.run("ROLLBACK");
    EXPECT_EQ(tableList(*db), QStringList({"A", "B"}));
    EXPECT_EQ(tableCount(*db, QStringLiteral("B")), QStringLiteral("1"));

    // A schema change committed behind the lock is seen once the lock is gone.
    other.run("BEGIN EXCLUSIVE; CREATE TABLE C (Z CHAR(1));");
    EXPECT_THROW(tableCount(*db, QStringLiteral("A")), DbError);
    other.run("COMMIT");
    EXPECT_EQ(tableList(*db), QStringList({"A", "B", "C"}));
}

TEST(SqliteLocks, OpeningALockedFileIsRefusedAfterTheTimeout) {
    SqliteFixture files;
    const QString path = files.createDatabase(QStringLiteral("CREATE TABLE A (X NUMBER);"));
    OtherProgram other(path);
    other.run("BEGIN EXCLUSIVE");
    EXPECT_THROW(OpenSqliteDatabase(path, quickTimeout()), ServerRefusal);
    other.run("ROLLBACK");
    EXPECT_EQ(tableList(*OpenSqliteDatabase(path, quickTimeout())), QStringList{"A"});
}

// ---- Write-ahead log ----

QString walDatabase(SqliteFixture& files) {
    const QString path = files.createDatabase(
        QStringLiteral("PRAGMA journal_mode=WAL; CREATE TABLE A (X NUMBER PRIMARY KEY);"),
        QStringLiteral("wal.db"));
    QFile::remove(path + "-wal");
    QFile::remove(path + "-shm");
    return path;
}

TEST(SqliteWal, ChangesCommittedLaterByAnotherProgramAreSeen) {
    SqliteFixture files;
    const QString path = walDatabase(files);
    auto db = OpenSqliteDatabase(path);
    EXPECT_EQ(tableList(*db), QStringList{"A"});

    OtherProgram other(path);
    other.run("CREATE TABLE B (Y VARCHAR2(3)); INSERT INTO A VALUES (7);");
    EXPECT_EQ(tableList(*db), QStringList({"A", "B"}));
    EXPECT_EQ(firstColumn(*db, QStringLiteral("SELECT X FROM A")), QStringList{"7"});
}

TEST(SqliteWal, DatabaseFileKeepsItsBytes) {
    SqliteFixture files;
    const QString path = walDatabase(files);
    const QByteArray before = SqliteFixture::fileHash(path);
    {
        auto db = OpenSqliteDatabase(path);
        EXPECT_EQ(tableList(*db), QStringList{"A"});
        EXPECT_EQ(tableCount(*db, QStringLiteral("A")), QStringLiteral("1"));
        db->Close();
    }
    EXPECT_EQ(SqliteFixture::fileHash(path), before);
}

// Without a usable shared-memory file (here a link to a folder that does not exist stands in
// its way, as an unwritable folder would for another user) the file is still read, as it stands.
TEST(SqliteWal, FileThatCannotBeOpenedOrdinarilyIsReadAsItStands) {
    SqliteFixture files;
    const QString path = walDatabase(files);
    ASSERT_TRUE(QFile::link(files.filePath(QStringLiteral("missing/folder/shm")), path + "-shm"));
    const QByteArray before = SqliteFixture::fileHash(path);
    auto db = OpenSqliteDatabase(path);
    EXPECT_EQ(tableList(*db), QStringList{"A"});
    EXPECT_EQ(SqliteFixture::fileHash(path), before);
}

// ---- Empty file ----

TEST(SqliteEmptyFile, IsAnEmptyDatabaseAndStaysEmpty) {
    SqliteFixture files;
    const QString path = files.createFile(QByteArray(""), QStringLiteral("empty.db"));
    auto db = OpenSqliteDatabase(path);
    EXPECT_EQ(tableList(*db), QStringList());
    EXPECT_EQ(tableCount(*db, QStringLiteral("A")), QStringLiteral("0"));
    {
        ReadSnapshot snapshot(*db);
        EXPECT_EQ(tableList(*db), QStringList());
    }
    db->Close();
    db.reset();
    EXPECT_EQ(QFileInfo(path).size(), 0);
}

// ---- Read snapshots ----

TEST(SqliteSnapshot, LookupSeesOneStateWhileAnotherProgramChangesTheSchema) {
    SqliteFixture files;
    const QString path = walDatabase(files);
    OtherProgram other(path);
    other.run("CREATE TABLE B (Y DATE); INSERT INTO A VALUES (1);");
    auto db = OpenSqliteDatabase(path);
    {
        ReadSnapshot snapshot(*db);
        EXPECT_EQ(tableCount(*db, QStringLiteral("A")), QStringLiteral("1"));
        other.run("DROP TABLE A; CREATE TABLE C (Z NUMBER);");
        auto describe = db->DbCreateDynaset(QStringLiteral("SELECT * FROM A WHERE RowNum < 1"), 0);
        ASSERT_EQ(describe->FieldCount(), 1);
        EXPECT_EQ(describe->Fields(0).Name(), QStringLiteral("X"));
        EXPECT_EQ(tableList(*db), QStringList({"A", "B"}));
        {
            ReadSnapshot nested(*db);  // does nothing
            EXPECT_EQ(tableList(*db), QStringList({"A", "B"}));
        }
        EXPECT_EQ(firstColumn(*db, QStringLiteral("SELECT X FROM A")), QStringList{"1"});
    }
    EXPECT_FALSE(db->InReadSnapshot());
    EXPECT_EQ(tableList(*db), QStringList({"B", "C"}));
}

TEST(SqliteSnapshot, SchemaChangeAtTheStartIsRetriedOnce) {
    SqliteFixture files;
    const QString path = files.createDatabase(QStringLiteral("CREATE TABLE A (X NUMBER);"));
    int attempts = 0;
    int failures = 1;
    SqliteOptions options;
    options.beforeSnapshotAttempt = [&] {
        ++attempts;
        if (failures-- > 0)
            throw DbError(QStringLiteral("database schema has changed"), SQLITE_SCHEMA);
    };
    auto db = OpenSqliteDatabase(path, options);
    db->BeginReadSnapshot();
    EXPECT_TRUE(db->InReadSnapshot());
    EXPECT_EQ(attempts, 2);
    EXPECT_EQ(tableList(*db), QStringList{"A"});
    db->EndReadSnapshot();

    attempts = 0;
    failures = 2;
    EXPECT_THROW(db->BeginReadSnapshot(), DbError);
    EXPECT_EQ(attempts, 2);
    EXPECT_FALSE(db->InReadSnapshot());
    // No transaction was left open: another program can write.
    OtherProgram other(path);
    other.run("CREATE TABLE B (Y NUMBER)");
    EXPECT_EQ(tableList(*db), QStringList({"A", "B"}));
}

TEST(SqliteSnapshot, LockedStartFailsAndLeavesNoSnapshot) {
    SqliteFixture files;
    const QString path = files.createDatabase(QStringLiteral("CREATE TABLE A (X NUMBER);"));
    auto db = OpenSqliteDatabase(path, quickTimeout());
    OtherProgram other(path);
    other.run("BEGIN EXCLUSIVE");
    EXPECT_THROW(db->BeginReadSnapshot(), DbError);
    EXPECT_FALSE(db->InReadSnapshot());
    other.run("ROLLBACK");
    ReadSnapshot snapshot(*db);
    EXPECT_EQ(tableList(*db), QStringList{"A"});
}

TEST(SqliteSnapshot, EndsCleanlyAfterClose) {
    SqliteFixture files;
    const QString path = files.createDatabase(QStringLiteral("CREATE TABLE A (X NUMBER);"));
    auto db = OpenSqliteDatabase(path);
    {
        ReadSnapshot snapshot(*db);
        db->Close();
    }
    EXPECT_THROW(db->BeginReadSnapshot(), DbError);
    OtherProgram other(path);
    other.run("CREATE TABLE B (Y NUMBER)");
}

}  // namespace
}  // namespace quarnel::db
