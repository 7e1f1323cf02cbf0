// quarnel-dump reads the whole run in one read snapshot, tries a changed schema once more, and
// logs on by the logon dialog's rule; all against the scripted engine. Last, a dump of every
// table while another connection changes the schema of a WAL file.
#include "dump/dump_run_fixture.h"
#include "testing/scripted_engine.h"
#include "testing/scripted_schema.h"
#include "testing/sqlite_fixture.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <sqlite3.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cctype>
#include <thread>

namespace quarnel::dump {
namespace {

using testing::DumpOutput;
using testing::runDumpMain;

const QString kSchemaChanged = QStringLiteral("database schema has changed");

// Two tables, A and B, each with the key column ID and no index.
std::shared_ptr<db::ScriptedBackend> twoTables(
    const std::vector<std::pair<QString, QString>>& failOnce = {}) {
    auto backend = db::ScriptedBackend::create();
    for (const auto& [needle, description] : failOnce)
        backend->once(needle, db::ScriptedResult::failure(description));
    db::ScriptedSchema schema;
    schema.addTable(QStringLiteral("A"), {QStringLiteral("ID")}, 1);
    schema.addTable(QStringLiteral("B"), {QStringLiteral("ID")}, 1);
    schema.answerOn(*backend);
    backend->on(QStringLiteral("count(table_name)"),
                db::ScriptedResult::column(QStringLiteral("TBL"), {1}));
    backend->on(QStringLiteral("SELECT table_name tbl"),
                db::ScriptedResult::column(QStringLiteral("TBL"), {"A", "B"}));
    backend->on(QStringLiteral("P_KEY"),
                db::ScriptedResult::column(QStringLiteral("P_KEY"), {QStringLiteral("ID")}));
    db::ScriptedResult columns;
    db::ScriptedField id{QStringLiteral("ID")};
    id.oraIDataType = 2;
    id.type = 7;
    id.precision = 6;
    id.size = 22;
    id.nullOk = false;
    columns.fields.push_back(id);
    backend->on(QStringLiteral("RowNum < 1"), columns);
    db::ScriptedResult indexes;
    for (const char* name : {"INDEX_NAME", "TABLE_NAME", "COLUMN_POSITION", "COLUMN_NAME"})
        indexes.fields.push_back(db::ScriptedField{QLatin1String(name)});
    backend->on(QStringLiteral("descend = 'DESC'"), db::ScriptedResult{});
    backend->on(QStringLiteral("user_ind_expressions"), db::ScriptedResult{});
    backend->on(QStringLiteral("user_ind_columns"), indexes);
    return backend;
}

DumpOutput dumpWith(const std::shared_ptr<db::ScriptedBackend>& backend,
                    const QStringList& arguments) {
    return runDumpMain(QStringList{QStringLiteral("--host"), QStringLiteral("H"),
                                   QStringLiteral("--user"), QStringLiteral("u")} +
                           arguments,
                       backend->factory());
}

// The snapshot calls and queries of the log, in order: "Begin", "End" and "Q".
QString snapshotTrace(const db::ScriptedBackend& backend) {
    QString trace;
    for (const QString& entry : backend.log()) {
        if (entry == QLatin1String("BeginReadSnapshot"))
            trace += QStringLiteral("Begin ");
        else if (entry == QLatin1String("EndReadSnapshot"))
            trace += QStringLiteral("End ");
        else if (entry.startsWith(QLatin1String("DbCreateDynaset")) && !trace.endsWith("Q "))
            trace += QStringLiteral("Q ");
    }
    return trace.trimmed();
}

bool everyQueryInASnapshot(const db::ScriptedBackend& backend) {
    return std::all_of(backend.queries().begin(), backend.queries().end(),
                       [](const db::ScriptedCall& call) { return call.inSnapshot; });
}

struct RunCase {
    const char* name;
    QStringList arguments;
};

void PrintTo(const RunCase& c, std::ostream* os) {
    *os << c.name;
}

class DumpSnapshotTest : public ::testing::TestWithParam<RunCase> {};

TEST_P(DumpSnapshotTest, EveryQueryRunsInsideOneSnapshot) {
    auto backend = twoTables();
    const DumpOutput output = dumpWith(backend, GetParam().arguments);

    ASSERT_EQ(output.exitCode, 0) << output.err.toStdString();
    EXPECT_FALSE(backend->queries().empty());
    EXPECT_TRUE(everyQueryInASnapshot(*backend));
    EXPECT_EQ(snapshotTrace(*backend), QStringLiteral("Begin Q End"));
}

INSTANTIATE_TEST_SUITE_P(Cases, DumpSnapshotTest,
                         ::testing::Values(RunCase{"EveryTable", {}},
                                           RunCase{"NamedTables", {"--pk", "B", "A"}},
                                           RunCase{"OneTable", {"--index-ddl", "A"}},
                                           RunCase{"List", {"--list"}}),
                         [](const auto& info) { return std::string(info.param.name); });

// Each query of the run meets a changed schema once.
class DumpSchemaChangeTest : public ::testing::TestWithParam<const char*> {};

TEST_P(DumpSchemaChangeTest, IsTriedOnceMoreInANewSnapshot) {
    auto clean = twoTables();
    const DumpOutput expected = dumpWith(clean, {});
    ASSERT_EQ(expected.exitCode, 0);

    auto backend = twoTables({{QLatin1String(GetParam()), kSchemaChanged}});
    const DumpOutput output = dumpWith(backend, {});

    EXPECT_EQ(output.exitCode, 0) << output.err.toStdString();
    EXPECT_EQ(output.out.toStdString(), expected.out.toStdString());
    EXPECT_TRUE(output.err.isEmpty()) << output.err.toStdString();
    EXPECT_EQ(snapshotTrace(*backend), QStringLiteral("Begin Q End Begin Q End"));
    EXPECT_TRUE(everyQueryInASnapshot(*backend));
}

INSTANTIATE_TEST_SUITE_P(EveryQuery, DumpSchemaChangeTest,
                         ::testing::Values("FROM user_users", "table_name,dropped",
                                           "identity_column", "data_default",
                                           "r_constraint_name,delete_rule",
                                           "FROM user_cons_columns ORDER BY", "FROM user_indexes",
                                           "column_position,descend",
                                           "table_name,column_position,column_expression"),
                         [](const auto& info) {
                             std::string name;
                             for (const char* c = info.param; *c != '\0'; ++c) {
                                 if (std::isalnum(static_cast<unsigned char>(*c)))
                                     name += *c;
                             }
                             return name;
                         });

// Progress is one line rewritten in place on a terminal, and nothing at all anywhere else: for
// the texts, a snapshot and the definition document alike.
TEST(DumpProgressTest, CountsTablesOnATerminalOnly) {
    const QTemporaryDir folder;
    for (const QStringList& what :
         {QStringList(), QStringList{QStringLiteral("--snapshot"), folder.filePath("s.qsnap")},
          QStringList{QStringLiteral("--definition-md"), folder.filePath("doc")}}) {
        const QStringList arguments = QStringList{QStringLiteral("--host"), QStringLiteral("H"),
                                                  QStringLiteral("--user"), QStringLiteral("u")} +
                                      what;
        const DumpOutput piped = runDumpMain(arguments, twoTables()->factory());
        QFile::remove(folder.filePath("s.qsnap"));
        QDir(folder.filePath("doc")).removeRecursively();
        const DumpOutput shown = runDumpMain(arguments, twoTables()->factory(), {}, true);

        ASSERT_EQ(shown.exitCode, 0) << shown.err.toStdString();
        EXPECT_TRUE(piped.err.isEmpty()) << piped.err.toStdString();
        EXPECT_EQ(shown.out, piped.out);
        EXPECT_EQ(shown.err.toStdString(), "\rtables read: 0 of 2\rtables read: 2 of 2\n")
            << what.join(u' ').toStdString();
    }
}

TEST(DumpSchemaChangeFailureTest, SecondChangeIsReported) {
    auto backend = twoTables(
        {{QStringLiteral("P_KEY"), kSchemaChanged}, {QStringLiteral("P_KEY"), kSchemaChanged}});
    const DumpOutput output = dumpWith(backend, {QStringLiteral("--pk"), QStringLiteral("A")});

    EXPECT_EQ(output.exitCode, 1);
    EXPECT_TRUE(output.out.isEmpty());
    EXPECT_EQ(output.err.toStdString(),
              "quarnel-dump: reading table A failed: database schema has changed\n");
    EXPECT_EQ(snapshotTrace(*backend), QStringLiteral("Begin Q End Begin Q End"));
}

TEST(DumpSchemaChangeFailureTest, OtherFailuresAreNotTriedAgain) {
    auto backend = twoTables(
        {{QStringLiteral("identity_column"), QStringLiteral("ORA-00942: no such table")}});
    const DumpOutput output = dumpWith(backend, {QStringLiteral("--pk")});

    EXPECT_EQ(output.exitCode, 1);
    EXPECT_TRUE(output.out.isEmpty());
    EXPECT_EQ(output.err.toStdString(),
              "quarnel-dump: reading the schema failed: ORA-00942: no such table\n");
    EXPECT_EQ(snapshotTrace(*backend), QStringLiteral("Begin Q End"));
}

// A database whose read snapshot cannot begin; everything else goes to the scripted one.
class UnreadableDatabase : public db::Database {
  public:
    UnreadableDatabase(std::shared_ptr<db::Database> inner, QString failure,
                       std::shared_ptr<int> begins)
        : m_inner(std::move(inner)), m_failure(std::move(failure)), m_begins(std::move(begins)) {}

    void LastServerErrReset() override { m_inner->LastServerErrReset(); }
    int LastServerErr() const override { return m_inner->LastServerErr(); }
    QString LastServerErrText() const override { return m_inner->LastServerErrText(); }
    std::unique_ptr<db::Dynaset> DbCreateDynaset(const QString& sql, int options) override {
        return m_inner->DbCreateDynaset(sql, options);
    }
    void Close() override { m_inner->Close(); }

  protected:
    void beginSnapshot() override {
        ++*m_begins;
        throw db::DbError(m_failure);
    }

  private:
    std::shared_ptr<db::Database> m_inner;
    QString m_failure;
    std::shared_ptr<int> m_begins;
};

class UnreadableSession : public db::Session {
  public:
    UnreadableSession(std::shared_ptr<db::Session> inner, QString failure,
                      std::shared_ptr<int> begins)
        : m_inner(std::move(inner)), m_failure(std::move(failure)), m_begins(std::move(begins)) {}

    void LastServerErrReset() override { m_inner->LastServerErrReset(); }
    int LastServerErr() const override { return m_inner->LastServerErr(); }
    QString LastServerErrText() const override { return m_inner->LastServerErrText(); }
    std::shared_ptr<db::Database> DbOpenDatabase(const QString& host, const QString& connect,
                                                 int options) override {
        return std::make_shared<UnreadableDatabase>(m_inner->DbOpenDatabase(host, connect, options),
                                                    m_failure, m_begins);
    }

  private:
    std::shared_ptr<db::Session> m_inner;
    QString m_failure;
    std::shared_ptr<int> m_begins;
};

struct BeginFailureCase {
    const char* name;
    QString failure;
    int begins;
};

void PrintTo(const BeginFailureCase& c, std::ostream* os) {
    *os << c.name;
}

class DumpBeginFailureTest : public ::testing::TestWithParam<BeginFailureCase> {};

TEST_P(DumpBeginFailureTest, IsReportedWithoutAQuery) {
    const BeginFailureCase& c = GetParam();
    auto backend = twoTables();
    auto begins = std::make_shared<int>(0);
    const db::SessionFactory factory = [&](const QString& className) {
        return std::make_shared<UnreadableSession>(backend->factory()(className), c.failure,
                                                   begins);
    };

    const DumpOutput output = runDumpMain({"--host", "H", "--user", "u"}, factory);

    EXPECT_EQ(output.exitCode, 1);
    EXPECT_TRUE(output.out.isEmpty());
    EXPECT_EQ(output.err.toStdString(),
              ("quarnel-dump: cannot begin a read snapshot: " + c.failure + "\n").toStdString());
    EXPECT_TRUE(backend->queries().empty());
    EXPECT_EQ(*begins, c.begins);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DumpBeginFailureTest,
    ::testing::Values(BeginFailureCase{"Locked", QStringLiteral("database is locked"), 1},
                      BeginFailureCase{"SchemaChangedTwice", kSchemaChanged, 2}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(DumpLogonRuleTest, LogsOnByTheLogonDialogsRule) {
    auto backend = twoTables();
    const DumpOutput output =
        runDumpMain({"--host", " orcl ", "--user", " scott ", "--password-stdin", "--list"},
                    backend->factory(), " tiger \r\n");

    EXPECT_EQ(output.exitCode, 0) << output.err.toStdString();
    EXPECT_EQ(backend->log().mid(0, 2),
              QStringList({QStringLiteral("CreateSession"),
                           QStringLiteral("DbOpenDatabase orcl|scott/tiger|3")}));
}

TEST(DumpLogonRuleTest, RefusalShowsTheServersText) {
    auto backend = twoTables();
    backend->refuseLogon(1017, QStringLiteral("ORA-01017: invalid username/password"));
    const DumpOutput output = dumpWith(backend, {QStringLiteral("--list")});

    EXPECT_EQ(output.exitCode, 1);
    EXPECT_TRUE(output.out.isEmpty());
    EXPECT_EQ(output.err.toStdString(),
              "quarnel-dump: logon refused: ORA-01017: invalid username/password\n");
}

TEST(DumpLogonRuleTest, OverlongPasswordLineStopsBeforeTheLogon) {
    auto backend = twoTables();
    const DumpOutput output =
        runDumpMain({"--host", "H", "--user", "u", "--password-stdin", "--list"},
                    backend->factory(), QByteArray(kMaxPasswordBytes + 1, 'p'));

    EXPECT_EQ(output.exitCode, 2);
    EXPECT_TRUE(output.out.isEmpty());
    EXPECT_EQ(output.err.toStdString(),
              "quarnel-dump: the password line is longer than 4096 bytes\n");
    EXPECT_EQ(backend->sessionsCreated(), 0);
}

// A dump of every table of a WAL file while another connection creates, alters and drops tables:
// each run sees one committed schema, so no table vanishes half way.
TEST(DumpConcurrentWriterTest, EveryTableDumpsWhileAnotherConnectionChangesTheSchema) {
    quarnel::testing::SqliteFixture fixture;
    QString script = QStringLiteral("PRAGMA journal_mode=WAL;");
    for (int i = 0; i < 20; ++i) {
        script += QStringLiteral(
                      "CREATE TABLE T%1 (ID NUMBER(6) PRIMARY KEY, NAME VARCHAR2(20));"
                      "CREATE INDEX T%1_IX ON T%1 (NAME);")
                      .arg(i);
    }
    const QString path = fixture.createDatabase(script, QStringLiteral("wal.db"));

    // The writer keeps its connection open, so the WAL file stays in use while the dumps run.
    sqlite3* writer = nullptr;
    ASSERT_EQ(sqlite3_open(QFile::encodeName(path).constData(), &writer), SQLITE_OK);
    sqlite3_busy_timeout(writer, 5000);
    ASSERT_EQ(sqlite3_exec(writer, "CREATE TABLE SEED (X NUMBER(1))", nullptr, nullptr, nullptr),
              SQLITE_OK);
    std::atomic<bool> stop{false};
    std::atomic<int> changes{0};
    std::thread changer([&] {
        for (int round = 0; !stop && round < 1000000; ++round) {
            const QByteArray sql = QStringLiteral(
                                       "CREATE TABLE X%1 (ID NUMBER(6) PRIMARY KEY, V VARCHAR2(9));"
                                       "CREATE INDEX X%1_IX ON X%1 (V);"
                                       "ALTER TABLE T%2 ADD COLUMN C%1 NUMBER(3);"
                                       "DROP TABLE X%1;")
                                       .arg(round)
                                       .arg(round % 20)
                                       .toUtf8();
            if (sqlite3_exec(writer, sql.constData(), nullptr, nullptr, nullptr) == SQLITE_OK)
                ++changes;
        }
    });

    QStringList failures;
    for (int run = 0; run < 40; ++run) {
        const DumpOutput output =
            runDumpMain({QStringLiteral("--host"), quarnel::testing::SqliteFixture::hostFor(path),
                         QStringLiteral("--user"), QStringLiteral("u")});
        if (output.exitCode != 0 || output.out.isEmpty())
            failures += QString::fromUtf8(output.err).trimmed();
    }
    stop = true;
    changer.join();
    sqlite3_close(writer);

    EXPECT_GT(changes.load(), 0);
    EXPECT_TRUE(failures.isEmpty())
        << failures.size() << " of 40 dumps failed, first: " << failures.value(0).toStdString();
}

}  // namespace
}  // namespace quarnel::dump
