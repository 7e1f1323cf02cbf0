// The Oracle engine through the stand-in client library: logon and its refusals, describe of
// every type code, array fetches and their round trips, failures while fetching, LONG values,
// Japanese names, read snapshots and disconnect.
#include "catalog/table_info.h"
#include "catalog/table_list.h"
#include "db/engines.h"
#include "testing/oci_stand_in.h"
#include "testing/sqlite_fixture.h"

#include <gtest/gtest.h>

namespace quarnel::db {
namespace {

using testing::logOnThroughStandIn;
using testing::standInCounter;

// A file with table T of `rows` rows: N the row number from 1, NAME its text.
QString numberedRows(quarnel::testing::SqliteFixture& files, int rows) {
    return files.createDatabase(
        QStringLiteral(
            "CREATE TABLE T (N NUMBER(9) PRIMARY KEY, NAME VARCHAR2(20));"
            "WITH RECURSIVE r(n) AS (SELECT 1 UNION ALL SELECT n + 1 FROM r WHERE n < %1)"
            " INSERT INTO T SELECT n, 'row ' || n FROM r WHERE %1 > 0;")
            .arg(rows),
        QStringLiteral("rows%1.db").arg(rows));
}

struct RefusalCase {
    const char* name;
    const char* host;  // "{file}" stands for an SQLite file that exists
    const char* connect;
    int code;
    const char* text;
};

void PrintTo(const RefusalCase& c, std::ostream* os) {
    *os << c.name;
}

class OracleRefusalTest : public ::testing::TestWithParam<RefusalCase> {};

TEST_P(OracleRefusalTest, ServerCodeAndTextReachTheSession) {
    quarnel::testing::SqliteFixture files;
    const QString file = files.createDatabase(QStringLiteral("CREATE TABLE A (B NUMBER);"));
    QString host = QString::fromUtf8(GetParam().host);
    host.replace(QStringLiteral("{file}"), file);
    testing::useOciStandIn();
    auto session = CreateSession(QLatin1String(kSessionClassName));
    EXPECT_THROW(session->DbOpenDatabase(host, QString::fromUtf8(GetParam().connect), 3), DbError);
    EXPECT_EQ(session->LastServerErr(), GetParam().code);
    EXPECT_EQ(session->LastServerErrText().toStdString(), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, OracleRefusalTest,
    ::testing::Values(RefusalCase{"WrongPassword", "{file}", "scott/wrong", 1017,
                                  "ORA-01017: invalid username/password; logon denied"},
                      RefusalCase{"LockedAccount", "{file}", "locked/tiger", 28000,
                                  "ORA-28000: The account is locked."},
                      RefusalCase{
                          "UnknownAlias", "NOSUCHALIAS", "scott/tiger", 12154,
                          "ORA-12154: TNS:could not resolve the connect identifier specified"},
                      RefusalCase{"NoListener", "dbhost:1521/XEPDB1", "scott/tiger", 12541,
                                  "ORA-12541: TNS:no listener"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(OracleLogonTest, PasswordWarningStillLogsOnInUtf8) {
    quarnel::testing::SqliteFixture files;
    const QString file = files.createDatabase(QStringLiteral("CREATE TABLE A (B NUMBER);"));
    const long environments = standInCounter("env-al32utf8");
    auto database = logOnThroughStandIn(file, QStringLiteral("expiring/tiger"));
    ASSERT_TRUE(database);
    EXPECT_EQ(standInCounter("env-al32utf8"), environments + 1);
    EXPECT_EQ(catalog::readTableList(*database).names.size(), 1);
}

TEST(OracleLogonTest, CloseLogsOffAndLaterQueriesFail) {
    quarnel::testing::SqliteFixture files;
    auto database = logOnThroughStandIn(numberedRows(files, 3));
    const long logoffs = standInCounter("logoff");
    auto open = database->DbCreateDynaset(QStringLiteral("SELECT N FROM T ORDER BY N"), 12);
    database->Close();
    EXPECT_EQ(standInCounter("logoff"), logoffs + 1);
    EXPECT_THROW(database->DbCreateDynaset(QStringLiteral("SELECT N FROM T"), 12), DbError);
    EXPECT_EQ(open->Fields(0).Value().toInt(), 1);
    open.reset();  // a dynaset that outlives its session frees its statement quietly
}

TEST(OracleLogonTest, DatabaseDroppedWithoutCloseMakesNoCall) {
    quarnel::testing::SqliteFixture files;
    auto database = logOnThroughStandIn(numberedRows(files, 1));
    const long logoffs = standInCounter("logoff");
    const long executes = standInCounter("execute");
    database.reset();  // as at exit: the session is left to the end of the process
    EXPECT_EQ(standInCounter("logoff"), logoffs);
    EXPECT_EQ(standInCounter("execute"), executes);
}

TEST(OracleSnapshotTest, OutermostPairIsOneReadOnlyTransaction) {
    quarnel::testing::SqliteFixture files;
    auto database = logOnThroughStandIn(numberedRows(files, 3));
    const long readOnly = standInCounter("read-only");
    const long commits = standInCounter("commit");
    {
        ReadSnapshot outer(*database);
        ReadSnapshot inner(*database);
        EXPECT_EQ(standInCounter("read-only"), readOnly + 1);
        EXPECT_EQ(catalog::loadTableInfo(*database, QStringLiteral("T")).strPkTxt,
                  QStringLiteral("N\r\n"));
    }
    EXPECT_EQ(standInCounter("read-only"), readOnly + 1);
    EXPECT_EQ(standInCounter("commit"), commits + 1);
}

// Fetches every row of T in order and returns how many fetch calls that took.
long fetchAll(Database& database, int expectedRows) {
    const long before = standInCounter("fetch");
    auto dynaset = database.DbCreateDynaset(QStringLiteral("SELECT N, NAME FROM T ORDER BY N"), 12);
    int n = 0;
    for (; !dynaset->Eof(); dynaset->DbMoveNext()) {
        ++n;
        if (dynaset->Fields(0).Value() != QVariant(qlonglong(n)) ||
            dynaset->Fields(1).Value() != QVariant(QStringLiteral("row %1").arg(n))) {
            ADD_FAILURE() << "row " << n;
            break;
        }
    }
    EXPECT_EQ(n, expectedRows);
    EXPECT_FALSE(dynaset->Fields(0).Value().isValid());
    return standInCounter("fetch") - before;
}

class OracleFetchTest : public ::testing::TestWithParam<int> {};

TEST_P(OracleFetchTest, RowsArriveInArraysOfAThousand) {
    quarnel::testing::SqliteFixture files;
    const int rows = GetParam();
    auto database = logOnThroughStandIn(numberedRows(files, rows));
    EXPECT_EQ(fetchAll(*database, rows), rows / 1000 + 1);
}

INSTANTIATE_TEST_SUITE_P(Rows, OracleFetchTest, ::testing::Values(0, 1, 999, 1000, 1001, 2500),
                         [](const auto& info) { return "Rows" + std::to_string(info.param); });

TEST(OracleFetchTest, AHundredThousandRowsTakeAtMost102RoundTrips) {
    quarnel::testing::SqliteFixture files;
    auto database = logOnThroughStandIn(numberedRows(files, 100000));
    EXPECT_LE(fetchAll(*database, 100000), 102);
}

TEST(OracleFetchTest, DescribeQueryFetchesNothing) {
    quarnel::testing::SqliteFixture files;
    auto database = logOnThroughStandIn(numberedRows(files, 5));
    auto dynaset = database->DbCreateDynaset(QStringLiteral("SELECT * FROM T WHERE RowNum < 1"), 0);
    EXPECT_TRUE(dynaset->Eof());
    ASSERT_EQ(dynaset->FieldCount(), 2);
    EXPECT_EQ(dynaset->Fields(1).Name(), QStringLiteral("NAME"));
}

class OracleDroppedConnectionTest : public ::testing::Test {
  protected:
    void SetUp() override { qputenv("QUARNEL_OCI_STANDIN_FAIL_AT_ROW", "1500"); }
    void TearDown() override { qunsetenv("QUARNEL_OCI_STANDIN_FAIL_AT_ROW"); }
};

TEST_F(OracleDroppedConnectionTest, FailureInTheMiddleOfAFetchIsTheServersMessage) {
    quarnel::testing::SqliteFixture files;
    QString script = QStringLiteral("BEGIN;");
    for (int i = 0; i < 2500; ++i)
        script += QStringLiteral("CREATE TABLE T%1 (A NUMBER);").arg(i);
    script += QStringLiteral("COMMIT;");
    auto database = logOnThroughStandIn(files.createDatabase(script));

    const catalog::TableListResult list = catalog::readTableList(*database);
    ASSERT_TRUE(list.error.has_value());
    EXPECT_TRUE(list.error->startsWith(QStringLiteral("ORA-03113: end-of-file")))
        << list.error->toStdString();
    EXPECT_EQ(list.names.size(), 1000);
    EXPECT_EQ(database->LastServerErr(), 3113);

    try {
        database->DbCreateDynaset(QStringLiteral("SELECT A FROM T1"), 12);
        ADD_FAILURE() << "query on a dropped session";
    } catch (const DbError& error) {
        EXPECT_EQ(error.description().toStdString(), "ORA-03114: not connected to ORACLE");
    }
}

TEST(OracleValueTest, LongValuesAndJapaneseNamesArriveWhole) {
    quarnel::testing::SqliteFixture files;
    const QString longText = QString(200000, u'長') + QStringLiteral("end");
    const QString file = files.createDatabase(
        QStringLiteral(
            "CREATE TABLE 受注明細 (明細番号 NUMBER(3) PRIMARY KEY, 備考 LONG, 品名 VARCHAR2(20),"
            " 数量 NUMBER(9,2));"
            "INSERT INTO 受注明細 VALUES (1, '%1', '六角ボルト', 12.5);"
            "INSERT INTO 受注明細 VALUES (2, NULL, NULL, NULL);"
            "INSERT INTO 受注明細 VALUES (3, '', 'ｽﾊﾟﾅ', -3);")
            .arg(longText));
    auto database = logOnThroughStandIn(file);
    auto dynaset = database->DbCreateDynaset(
        QStringLiteral("SELECT 明細番号, 備考, 品名, 数量 FROM 受注明細 ORDER BY 明細番号"), 12);
    EXPECT_EQ(dynaset->Fields(1).Name(), QStringLiteral("備考"));
    EXPECT_EQ(dynaset->Fields(1).OraIDataType(), 8);
    EXPECT_EQ(dynaset->Fields(1).Value().toString(), longText);
    EXPECT_EQ(dynaset->Fields(2).Value().toString(), QStringLiteral("六角ボルト"));
    EXPECT_EQ(dynaset->Fields(3).Value(), QVariant(12.5));
    dynaset->DbMoveNext();
    EXPECT_FALSE(dynaset->Fields(1).Value().isValid());
    EXPECT_FALSE(dynaset->Fields(2).Value().isValid());
    EXPECT_FALSE(dynaset->Fields(3).Value().isValid());
    dynaset->DbMoveNext();
    EXPECT_EQ(dynaset->Fields(2).Value().toString(), QStringLiteral("ｽﾊﾟﾅ"));
    EXPECT_EQ(dynaset->Fields(3).Value(), QVariant(qlonglong(-3)));

    const catalog::TableInfoResult info =
        catalog::loadTableInfo(*database, QStringLiteral("受注明細"));
    ASSERT_FALSE(info.error.has_value()) << info.error->toStdString();
    EXPECT_EQ(info.strPkTxt, QStringLiteral("明細番号\r\n"));
    EXPECT_EQ(info.gridRows.value(2).join(u'\t'),
              QStringLiteral("3\t\t品名\t20\tVARCHAR2\tString\tNull"));
}

TEST(OracleValueTest, BadSqlGivesTheServersMessage) {
    quarnel::testing::SqliteFixture files;
    auto database = logOnThroughStandIn(numberedRows(files, 1));
    try {
        database->DbCreateDynaset(QStringLiteral("SELECT * FROM NO_SUCH_TABLE WHERE RowNum < 1"),
                                  0);
        ADD_FAILURE() << "no error";
    } catch (const DbError& error) {
        EXPECT_EQ(error.description().toStdString(), "ORA-00942: table or view does not exist");
        EXPECT_EQ(error.number(), 942);
    }
    EXPECT_EQ(database->LastServerErr(), 942);
}

}  // namespace
}  // namespace quarnel::db
