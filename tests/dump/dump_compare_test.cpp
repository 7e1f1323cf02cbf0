// quarnel-dump's whole-schema outputs: the comparison's exit statuses and report, and a snapshot
// compared with its source.
#include "dump/dump_run_fixture.h"
#include "dump/dump_schema.h"
#include "testing/sqlite_fixture.h"

#include <gtest/gtest.h>

namespace quarnel::dump {
namespace {

using quarnel::testing::SqliteFixture;
using testing::runDumpMain;

struct CompareCase {
    const char* name;
    // The second database's script; empty: the first database itself.
    const char* other;
    int exitCode;
    const char* reportLine;
};

class DumpCompareTest : public ::testing::TestWithParam<CompareCase> {};

TEST_P(DumpCompareTest, ExitStatusAndReport) {
    SqliteFixture files;
    const char* base = "CREATE TABLE EMP (EMPNO NUMBER(4) PRIMARY KEY, ENAME VARCHAR2(10));";
    const QString a = files.createDatabase(QString::fromUtf8(base), QStringLiteral("a.db"));
    const QString b = *GetParam().other ? files.createDatabase(QString::fromUtf8(GetParam().other),
                                                               QStringLiteral("b.db"))
                                        : a;
    const auto run = runDumpMain({"--host", SqliteFixture::hostFor(a), "--user", "scott",
                                  "--compare-with", SqliteFixture::hostFor(b)});
    EXPECT_EQ(run.exitCode, GetParam().exitCode) << run.err.toStdString();
    EXPECT_TRUE(run.out.contains(GetParam().reportLine)) << run.out.toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Pairs, DumpCompareTest,
    ::testing::Values(
        CompareCase{"Itself", "", 0, "Differences: 0\r\n"},
        CompareCase{"TableAdded",
                    "CREATE TABLE EMP (EMPNO NUMBER(4) PRIMARY KEY, ENAME VARCHAR2(10));"
                    "CREATE TABLE \"Emp x\" (X DATE);",
                    kExitDifferences, "Tables only in B\r\n  \"Emp x\"\r\n"},
        CompareCase{"ColumnChanged",
                    "CREATE TABLE EMP (EMPNO NUMBER(4) PRIMARY KEY, ENAME VARCHAR2(12));",
                    kExitDifferences,
                    "Table EMP\r\n  column changed: ENAME: type VARCHAR2(10) -> VARCHAR2(12)"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(DumpCompareTest, ASnapshotComparesEqualWithItsSourceAndDifferentFromAChangedOne) {
    SqliteFixture files;
    const QString source = files.createDatabase(
        QStringLiteral("CREATE TABLE EMP (EMPNO NUMBER(4) PRIMARY KEY, ENAME VARCHAR2(10));"
                       "CREATE INDEX EMP_ENAME ON EMP (ENAME DESC);"));
    const QString snapshot = files.filePath(QStringLiteral("before.qsnap"));
    const QStringList logon{"--host", SqliteFixture::hostFor(source), "--user", "scott"};
    ASSERT_EQ(runDumpMain(logon + QStringList{"--snapshot", snapshot}).exitCode, 0);

    const auto same =
        runDumpMain(logon + QStringList{"--compare-with", SqliteFixture::hostFor(snapshot),
                                        "--compare-format", "markdown"});
    EXPECT_EQ(same.exitCode, 0) << same.out.toStdString() << same.err.toStdString();
    EXPECT_TRUE(same.out.startsWith("# Schema comparison\r\n")) << same.out.toStdString();

    files.createDatabase(
        QStringLiteral("CREATE TABLE EMP (EMPNO NUMBER(4) PRIMARY KEY,"
                       " ENAME VARCHAR2(10));"));
    const auto changed =
        runDumpMain(logon + QStringList{"--compare-with", SqliteFixture::hostFor(snapshot)});
    EXPECT_EQ(changed.exitCode, kExitDifferences);
    EXPECT_TRUE(changed.out.contains("  index added: EMP_ENAME (ENAME DESC)\r\n"))
        << changed.out.toStdString();
}

struct BadArguments {
    const char* name;
    QStringList arguments;
};

class DumpSchemaArgumentsTest : public ::testing::TestWithParam<BadArguments> {};

TEST_P(DumpSchemaArgumentsTest, AreRefusedWithStatusTwo) {
    const auto run =
        runDumpMain(QStringList{"--host", "sqlite:x.db", "--user", "u"} + GetParam().arguments);
    EXPECT_EQ(run.exitCode, kExitBadArguments) << run.err.toStdString();
    EXPECT_TRUE(run.out.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    Options, DumpSchemaArgumentsTest,
    ::testing::Values(BadArguments{"FormatWithoutCompare", {"--compare-format", "text"}},
                      BadArguments{"UnknownFormat",
                                   {"--compare-with", "sqlite:y.db", "--compare-format", "html"}},
                      BadArguments{"TextAndSnapshot", {"--ddl", "--snapshot", "s.qsnap"}},
                      BadArguments{"CompareAndFile",
                                   {"--compare-with", "sqlite:y.db", "--tbls-json", "t.json"}},
                      BadArguments{"EmptyFile", {"--snapshot="}}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace quarnel::dump
