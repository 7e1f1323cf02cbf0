// Snapshot files: a schema saved and opened again with sqlite:FILE gives every text byte for byte
// as its live source did; damaged or newer files are refused; a failed or cancelled write leaves
// the target as it was.
#include "catalog/table_list.h"
#include "db/engines.h"
#include "db/sqlite_snapshot.h"
#include "dump/dump_text.h"
#include "schema/compare.h"
#include "schema/load_schema.h"
#include "schema/snapshot_header.h"
#include "schema/snapshot_writer.h"
#include "testing/oci_stand_in.h"
#include "testing/sqlite_fixture.h"

#include <QDir>
#include <QFile>
#include <QTimeZone>

#include <gtest/gtest.h>

#include <sqlite3.h>
#include <sys/resource.h>
#include <csignal>

namespace quarnel::schema {
namespace {

using quarnel::testing::SqliteFixture;

QStringList tableNames(db::Database& database) {
    return catalog::readTableList(database).names.toStringList();
}

// Every text quarnel-dump builds, over every table; with `perTable` table by table, as the
// window reads them (a describe for each), else from one whole-schema read.
QString allTexts(db::Database& database, bool perTable) {
    QString texts;
    for (const auto& option : dump::kDumpTextOptions) {
        const db::ReadSnapshot snapshot(database);
        QList<QStringList> runs;
        if (perTable && option.text != dump::DumpText::List) {
            for (const QString& table : tableNames(database))
                runs.append(QStringList{table});
        } else {
            runs.append(QStringList{});
        }
        for (const QStringList& tables : runs) {
            const dump::DumpTextResult result = dump::buildDumpText(database, option.text, tables);
            EXPECT_TRUE(result.text.has_value()) << result.error.toStdString();
            texts += QLatin1String(option.name) + u'\n' + result.text.value_or(QString()) + u'\n';
        }
    }
    return texts;
}

// The model of every table; with `perTable` read table by table (each table's describe).
Schema loadAll(db::Database& database, const QString& host, bool perTable = false) {
    LoadRequest request;
    request.user = QStringLiteral("scott");
    request.host = host;
    std::optional<Schema> schema = loadSchema(database, request);
    if (schema && perTable) {
        schema->tables.clear();
        for (const QString& name : tableNames(database)) {
            if (std::optional<Table> table = loadTable(database, name))
                schema->tables.push_back(std::move(*table));
        }
    }
    EXPECT_TRUE(schema.has_value());
    describeSource(*schema, database, host);
    return schema.value_or(Schema{});
}

void saveSnapshot(const Schema& schema, const QString& path) {
    SnapshotWriter writer(path);
    ASSERT_TRUE(writeSchema(schema, writer, {}));
}

// Tables with foreign keys, quoted, mixed-case and non-ASCII names, an expression index and a
// descending one.
const char* const kForeignKeyScript = R"sql(
CREATE TABLE ARTIST (ARTIST_ID INTEGER PRIMARY KEY, NAME VARCHAR2(120) NOT NULL);
CREATE TABLE ALBUM (ALBUM_ID INTEGER PRIMARY KEY, TITLE VARCHAR2(160) NOT NULL,
  ARTIST_ID INTEGER NOT NULL REFERENCES ARTIST(ARTIST_ID));
CREATE TABLE "Track ""x""" ("Id" INTEGER, ALBUM_ID INTEGER REFERENCES ALBUM, 曲名 NVARCHAR2(50),
  CONSTRAINT TRACK_PK PRIMARY KEY ("Id"));
CREATE TABLE track ("id" NUMBER(9,2), note TEXT);
CREATE INDEX ALBUM_TITLE ON ALBUM (upper(TITLE), ARTIST_ID DESC);
CREATE UNIQUE INDEX 曲名索引 ON "Track ""x""" (曲名);
)sql";

enum class Source { Demo, ForeignKeys, OracleStandIn };

struct RoundTrip {
    const char* name;
    Source source;
};

class SnapshotRoundTripTest : public ::testing::TestWithParam<RoundTrip> {};

TEST_P(SnapshotRoundTripTest, EveryTextComesBackByteForByteAndTheModelComparesEqual) {
    SqliteFixture files;
    std::shared_ptr<db::Database> live;
    QString host;
    switch (GetParam().source) {
        case Source::Demo: {
            const QString path = files.createDatabase(
                SqliteFixture::readText(QStringLiteral(QUARNEL_DEMO_SQL)), QStringLiteral("d.db"));
            live = db::OpenSqliteDatabase(path);
            host = SqliteFixture::hostFor(path);
            break;
        }
        case Source::ForeignKeys: {
            const QString path = files.createDatabase(QString::fromUtf8(kForeignKeyScript));
            live = db::OpenSqliteDatabase(path);
            host = SqliteFixture::hostFor(path);
            break;
        }
        case Source::OracleStandIn: {
            // The stand-in describes national and character-semantics columns as Oracle does.
            const QString path = files.createDatabase(QStringLiteral(
                "CREATE TABLE T (NVC TEXT, VCC TEXT, GEOM TEXT, N NUMBER(7,2) PRIMARY KEY);"
                "CREATE INDEX T_NVC ON T (NVC DESC);"
                "CREATE TABLE OCI_STANDIN_DESCRIBE (column_name, data_type, data_size, precision,"
                " scale, charset_form, char_used, char_size, type_name, schema_name);"
                "INSERT INTO OCI_STANDIN_DESCRIBE VALUES ('NVC', 1, 20, 0, 0, 2, 1, 10, '', ''),"
                " ('VCC', 1, 40, 0, 0, 1, 1, 10, '', ''),"
                " ('GEOM', 108, 2000, 0, 0, 0, 0, 0, 'SDO_GEOMETRY', 'MDSYS');"
                "CREATE TABLE product_component_version (product, version, status);"
                "INSERT INTO product_component_version VALUES"
                " ('NLSRTL ', '19.0.0.0.0', 'Production'),"
                " ('Oracle Database 19c Enterprise Edition ', '19.0.0.0.0', 'Production');"));
            live = quarnel::testing::logOnThroughStandIn(path);
            host = QStringLiteral("dbhost:1521/XEPDB1");
            break;
        }
    }
    // The stand-in's describe reports national and character-semantics columns and object types
    // that its dictionary, answered by the embedded engine, does not know: there the texts and
    // the model come from the describes, as the window reads them.
    const bool perTable = GetParam().source == Source::OracleStandIn;
    const QString liveTexts = allTexts(*live, perTable);
    const Schema schema = loadAll(*live, host, perTable);
    const QString snapshotPath = files.filePath(QStringLiteral("saved.qsnap"));
    saveSnapshot(schema, snapshotPath);

    const auto saved = db::OpenSqliteDatabase(snapshotPath);
    EXPECT_EQ(allTexts(*saved, perTable).toStdString(), liveTexts.toStdString());
    if (GetParam().source == Source::OracleStandIn) {
        EXPECT_TRUE(liveTexts.contains(QStringLiteral("NVARCHAR2(10)")));
        EXPECT_TRUE(liveTexts.contains(QStringLiteral("VARCHAR2(10 CHAR)")));
        EXPECT_TRUE(liveTexts.contains(QStringLiteral("MDSYS.SDO_GEOMETRY")));
    }
    const Schema reread = loadAll(*saved, SqliteFixture::hostFor(snapshotPath), perTable);
    EXPECT_EQ(reread.host, host);
    EXPECT_FALSE(schema.serverVersion.isEmpty());
    EXPECT_EQ(reread.serverVersion, schema.serverVersion);
    EXPECT_EQ(reread.readAt.toSecsSinceEpoch(), schema.readAt.toSecsSinceEpoch());
    const Comparison comparison = compareSchemas(schema, reread);
    EXPECT_TRUE(comparison.equal())
        << comparisonReport(comparison, {}, {}, ReportFormat::Text).toStdString();
}

INSTANTIATE_TEST_SUITE_P(Sources, SnapshotRoundTripTest,
                         ::testing::Values(RoundTrip{"Demo", Source::Demo},
                                           RoundTrip{"ForeignKeys", Source::ForeignKeys},
                                           RoundTrip{"OracleStandIn", Source::OracleStandIn}),
                         [](const auto& info) { return std::string(info.param.name); });

// A snapshot of one small table, changed by `edit` with SQLite directly.
QString editedSnapshot(SqliteFixture& files, const char* edit) {
    const QString path = files.createDatabase(
        QStringLiteral("CREATE TABLE EMP (EMPNO NUMBER(4) PRIMARY KEY, ENAME VARCHAR2(10));"));
    const Schema schema = loadAll(*db::OpenSqliteDatabase(path), SqliteFixture::hostFor(path));
    const QString snapshot = files.filePath(QStringLiteral("edited.qsnap"));
    saveSnapshot(schema, snapshot);
    sqlite3* db = nullptr;
    EXPECT_EQ(sqlite3_open(snapshot.toUtf8().constData(), &db), SQLITE_OK);
    EXPECT_EQ(sqlite3_exec(db, edit, nullptr, nullptr, nullptr), SQLITE_OK) << sqlite3_errmsg(db);
    sqlite3_close(db);
    return snapshot;
}

struct Damage {
    const char* name;
    const char* edit;
    const char* message;
};

class SnapshotRefusalTest : public ::testing::TestWithParam<Damage> {};

TEST_P(SnapshotRefusalTest, IsRefusedWithAClearMessage) {
    SqliteFixture files;
    const QString path = editedSnapshot(files, GetParam().edit);
    try {
        db::OpenSqliteDatabase(path);
        FAIL() << "opened";
    } catch (const db::ServerRefusal& refusal) {
        EXPECT_TRUE(refusal.description().contains(QString::fromUtf8(GetParam().message)))
            << refusal.description().toStdString();
    }
}

INSTANTIATE_TEST_SUITE_P(
    Files, SnapshotRefusalTest,
    ::testing::Values(
        Damage{"NewerVersion", "UPDATE quarnel_snapshot SET version = 2", "新しい形式 (版 2)"},
        Damage{"OtherFormat", "UPDATE quarnel_snapshot SET format = 'x'", "ヘッダーが正しく"},
        Damage{"TwoHeaders", "INSERT INTO quarnel_snapshot SELECT * FROM quarnel_snapshot",
               "ヘッダーが正しく"},
        Damage{"NoHeaderRow", "DELETE FROM quarnel_snapshot", "ヘッダーがありません"},
        Damage{"MissingTable", "DROP TABLE user_ind_columns", "表 user_ind_columns がありません"},
        Damage{"MissingColumn", "ALTER TABLE user_tab_columns DROP COLUMN nullable",
               "列 user_tab_columns.nullable がありません"},
        Damage{"TableWithoutColumns", "DELETE FROM quarnel_describe", "不正な行"},
        Damage{"TextWhereANumberBelongs", "UPDATE quarnel_describe SET size = 'ten'", "不正な行"},
        Damage{"UnknownConstraintType", "UPDATE user_constraints SET constraint_type = 'X'",
               "不正な行"}),
    [](const auto& info) { return std::string(info.param.name); });

// A schema large enough that its snapshot outgrows a small file-size limit.
Schema manyTables(int count) {
    Schema schema;
    schema.user = QStringLiteral("scott");
    for (int i = 0; i < count; ++i) {
        Table table;
        table.name = QStringLiteral("TABLE_WITH_A_LONG_NAME_%1").arg(i);
        table.comment = QString(200, u'表');
        Column column;
        column.description.name = QStringLiteral("C");
        column.position = 1;
        table.columns.push_back(column);
        schema.tables.push_back(table);
    }
    return schema;
}

TEST(SnapshotWriterTest, AFullDiskOrACancelLeavesTheOldFileAndNoOtherFile) {
    SqliteFixture files;
    const QByteArray old("the old snapshot");
    const QString target = files.createFile(old, QStringLiteral("keep.qsnap"));
    const Schema schema = manyTables(2000);

    {
        std::atomic<bool> cancel = false;
        SnapshotWriter writer(target);
        const bool done =
            writeSchema(schema, writer, {[&cancel](int n, int) { cancel = n == 1000; }, &cancel});
        EXPECT_FALSE(done);
    }
    // The file-size limit stands for a full disk: writes past it fail with EFBIG.
    struct rlimit saved {};
    getrlimit(RLIMIT_FSIZE, &saved);
    const auto previous = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit limited = saved;
    limited.rlim_cur = 64 * 1024;
    setrlimit(RLIMIT_FSIZE, &limited);
    std::optional<QString> failure;
    try {
        SnapshotWriter writer(target);
        writeSchema(schema, writer, {});
    } catch (const WriteError& error) {
        failure = error.reason();
    }
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previous);

    ASSERT_TRUE(failure.has_value());
    EXPECT_FALSE(failure->isEmpty());
    QFile kept(target);
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), old);
    EXPECT_EQ(QDir(files.filePath({})).entryList(QDir::Files | QDir::Hidden),
              QStringList{QStringLiteral("keep.qsnap")});
}

TEST(SnapshotHeaderTest, ALiveDatabaseHasNoneAndASnapshotNamesItsSource) {
    SqliteFixture files;
    const QString path = files.createDatabase(QStringLiteral("CREATE TABLE A (X NUMBER);"));
    auto live = db::OpenSqliteDatabase(path);
    EXPECT_FALSE(readSnapshotHeader(*live, SqliteFixture::hostFor(path)));
    Schema schema = loadAll(*live, QStringLiteral("prod:1521/APP"));
    schema.readAt = QDateTime(QDate(2026, 4, 1), QTime(9, 30), Qt::UTC);
    const QString snapshot = files.filePath(QStringLiteral("s.qsnap"));
    saveSnapshot(schema, snapshot);
    const auto header =
        readSnapshotHeader(*db::OpenSqliteDatabase(snapshot), SqliteFixture::hostFor(snapshot));
    ASSERT_TRUE(header);
    EXPECT_EQ(header->host, QStringLiteral("prod:1521/APP"));
    EXPECT_EQ(header->user, QStringLiteral("scott"));
    EXPECT_EQ(header->readAt, schema.readAt);
}

}  // namespace
}  // namespace quarnel::schema
