// The Oracle engine against what a server does while fetching: exact numbers, cut and refused
// values, LONG values in pieces over several fetches, select lists with nothing to fetch, the
// environment's warnings and errors, and the handles left at logoff and at exit.
#include "catalog/table_info.h"
#include "db/engines.h"
#include "testing/oci_stand_in.h"
#include "testing/sqlite_fixture.h"

#include <QFile>

#include <gtest/gtest.h>

namespace quarnel::db {
namespace {

using testing::logOnThroughStandIn;
using testing::standInCounter;

// The stand-in's description of result column `column` as type `code`, for types SQLite has not.
QString describedAs(const char* column, int code, int size = 0) {
    return QStringLiteral(
               "INSERT INTO OCI_STANDIN_DESCRIBE VALUES ('%1', %2, %3, 0, -127, 0, 0, "
               "0, NULL, NULL);")
        .arg(QLatin1String(column))
        .arg(code)
        .arg(size);
}

const char kDescribeTable[] =
    "CREATE TABLE OCI_STANDIN_DESCRIBE (column_name, data_type, data_size, precision, scale, "
    "charset_form, char_used, char_size, type_name, schema_name);";

struct NumberCase {
    const char* stored;  // the text the server holds
    QVariant value;
};

void PrintTo(const NumberCase& c, std::ostream* os) {
    *os << c.stored;
}

class OracleNumberFetchTest : public ::testing::TestWithParam<NumberCase> {};

TEST_P(OracleNumberFetchTest, NumberArrivesExactly) {
    quarnel::testing::SqliteFixture files;
    const QString file =
        files.createDatabase(QLatin1String(kDescribeTable) + describedAs("N", 2, 22) +
                             QStringLiteral("CREATE TABLE T (N TEXT); INSERT INTO T VALUES ('%1');")
                                 .arg(QLatin1String(GetParam().stored)));
    auto database = logOnThroughStandIn(file);
    auto dynaset = database->DbCreateDynaset(QStringLiteral("SELECT N FROM T"), 12);
    ASSERT_FALSE(dynaset->Eof());
    // QVariant's == compares numbers as doubles; the type and the text tell them apart.
    const QVariant value = dynaset->Fields(0).Value();
    EXPECT_EQ(value.typeId(), GetParam().value.typeId());
    EXPECT_EQ(value.toString(), GetParam().value.toString());
}

INSTANTIATE_TEST_SUITE_P(
    Values, OracleNumberFetchTest,
    ::testing::Values(NumberCase{"123456789012345678", QVariant(qlonglong(123456789012345678))},
                      NumberCase{"-9007199254740993", QVariant(qlonglong(-9007199254740993))},
                      NumberCase{"-12.5", QVariant(-12.5)}, NumberCase{"0.1", QVariant(0.1)},
                      NumberCase{"1234567890.123456789",
                                 QVariant(QStringLiteral("1234567890.123456789"))},
                      NumberCase{"0", QVariant(qlonglong(0))}));

TEST(OracleCutValueTest, TextLongerThanItsBufferIsAnErrorNamingTheColumn) {
    quarnel::testing::SqliteFixture files;
    const QString file =
        files.createDatabase(QStringLiteral("CREATE TABLE T (N NUMBER(3), 備考 VARCHAR2(10));"
                                            "INSERT INTO T VALUES (1, 'short');"
                                            "INSERT INTO T VALUES (2, printf('%.5000c', 'x'));"));
    auto database = logOnThroughStandIn(file);
    try {
        database->DbCreateDynaset(QStringLiteral("SELECT N, 備考 FROM T ORDER BY N"), 12);
        ADD_FAILURE() << "a cut value was taken";
    } catch (const DbError& error) {
        EXPECT_EQ(error.description(), QStringLiteral("列 備考 の値が長すぎて読めません。"));
        EXPECT_EQ(error.number(), 1406);
    }
}

TEST(OracleCutValueTest, AnyColumnReturnCodeIsAnErrorWithItsNumber) {
    quarnel::testing::SqliteFixture files;
    const QString file =
        files.createDatabase(QStringLiteral("CREATE TABLE T (C VARCHAR2(30));"
                                            "INSERT INTO T VALUES ('OCI-STANDIN-RC:1401');"));
    auto database = logOnThroughStandIn(file);
    try {
        database->DbCreateDynaset(QStringLiteral("SELECT C FROM T"), 12);
        ADD_FAILURE() << "a value with a return code was taken";
    } catch (const DbError& error) {
        EXPECT_EQ(error.description(), QStringLiteral("列 C の値を読めません (ORA-01401)。"));
        EXPECT_EQ(error.number(), 1401);
    }
}

// LONG values of differing lengths (row n: n * 7 characters and its number), over several
// fetches of 1,000 rows, with the null and the multi-piece values among them.
TEST(OracleLongFetchTest, EveryValueArrivesWholeAndAloneAcrossFetches) {
    quarnel::testing::SqliteFixture files;
    const QString file = files.createDatabase(
        QStringLiteral("CREATE TABLE T (N NUMBER(9), L LONG);"
                       "WITH RECURSIVE r(n) AS (SELECT 1 UNION ALL SELECT n + 1 FROM r WHERE n < "
                       "2300) INSERT INTO T SELECT n, CASE WHEN n % 500 = 0 THEN NULL ELSE "
                       "printf('%.*c', n * 7, 'x') || n END FROM r;"));
    auto database = logOnThroughStandIn(file);
    const long fetches = standInCounter("fetch");
    auto dynaset = database->DbCreateDynaset(QStringLiteral("SELECT N, L FROM T ORDER BY N"), 12);
    int n = 0;
    for (; !dynaset->Eof(); dynaset->DbMoveNext()) {
        ++n;
        const QVariant expected =
            n % 500 == 0 ? QVariant() : QVariant(QString(n * 7, u'x') + QString::number(n));
        if (dynaset->Fields(1).Value() != expected) {
            ADD_FAILURE() << "row " << n << ": " << dynaset->Fields(1).Value().toString().size()
                          << " characters";
            break;
        }
    }
    EXPECT_EQ(n, 2300);
    EXPECT_EQ(standInCounter("fetch") - fetches, 3);
}

TEST(OracleLongFetchTest, LongRawArrivesAsHexText) {
    quarnel::testing::SqliteFixture files;
    const QString file = files.createDatabase(
        QStringLiteral("CREATE TABLE T (R LONG RAW); INSERT INTO T VALUES (X'0A0BFF');"));
    auto database = logOnThroughStandIn(file);
    auto dynaset = database->DbCreateDynaset(QStringLiteral("SELECT R FROM T"), 12);
    EXPECT_EQ(dynaset->Fields(0).OraIDataType(), 24);
    EXPECT_EQ(dynaset->Fields(0).Value(), QVariant(QStringLiteral("0A0BFF")));
}

TEST(OracleNothingToFetchTest, SelectListOfOnlyLobsAndObjectsIsDescribedNotFetched) {
    quarnel::testing::SqliteFixture files;
    const QString file = files.createDatabase(
        QLatin1String(kDescribeTable) + describedAs("B", 113, 4000) + describedAs("F", 114, 530) +
        QStringLiteral("CREATE TABLE T (B TEXT, F TEXT);"
                       "INSERT INTO T VALUES ('a', 'b');"));
    auto database = logOnThroughStandIn(file);
    const long fetches = standInCounter("fetch");
    auto dynaset = database->DbCreateDynaset(QStringLiteral("SELECT B, F FROM T"), 12);
    EXPECT_EQ(dynaset->FieldCount(), 2);
    EXPECT_TRUE(dynaset->Eof());
    EXPECT_EQ(standInCounter("fetch"), fetches);
    const catalog::TableInfoResult info = catalog::loadTableInfo(*database, QStringLiteral("T"));
    EXPECT_FALSE(info.error.has_value()) << info.error->toStdString();
    EXPECT_EQ(info.gridRows.size(), 2);
}

class OracleEnvironmentTest : public ::testing::Test {
  protected:
    void TearDown() override { qunsetenv("QUARNEL_OCI_STANDIN_ENV"); }
    quarnel::testing::SqliteFixture files;
    QString file = files.createDatabase(QStringLiteral("CREATE TABLE A (B NUMBER);"));
};

TEST_F(OracleEnvironmentTest, WarningStillGivesAnEnvironment) {
    qputenv("QUARNEL_OCI_STANDIN_ENV", "warning");
    EXPECT_TRUE(logOnThroughStandIn(file));
}

TEST_F(OracleEnvironmentTest, FailureGivesTheEnvironmentsOwnText) {
    qputenv("QUARNEL_OCI_STANDIN_ENV", "error");
    const long environments = standInCounter("live-env");
    try {
        logOnThroughStandIn(file);
        ADD_FAILURE() << "no error";
    } catch (const DbError& error) {
        EXPECT_TRUE(error.description().contains(
            QLatin1String("ORA-01804: failure to initialize timezone information")))
            << error.description().toStdString();
    }
    EXPECT_EQ(standInCounter("live-env"), environments);
}

// The stand-in's handles still allocated, of every kind.
long liveHandles() {
    return standInCounter("live-env") + standInCounter("live-error") +
           standInCounter("live-session") + standInCounter("live-statement");
}

TEST(OracleHandleTest, CloseFreesOpenStatementsBeforeTheSessionEnds) {
    quarnel::testing::SqliteFixture files;
    const QString file = files.createDatabase(
        QStringLiteral("CREATE TABLE T (N NUMBER(3)); INSERT INTO T VALUES (1);"));
    const long handles = liveHandles();
    auto database = logOnThroughStandIn(file);
    const long late = standInCounter("logoff-with-statements");
    auto first = database->DbCreateDynaset(QStringLiteral("SELECT N FROM T"), 12);
    auto second = database->DbCreateDynaset(QStringLiteral("SELECT N FROM T"), 12);
    database->Close();
    EXPECT_EQ(standInCounter("logoff-with-statements"), late);
    EXPECT_EQ(first->Fields(0).Value(), QVariant(qlonglong(1)));
    first.reset();
    second.reset();
    database.reset();
    EXPECT_EQ(liveHandles(), handles);
}

TEST(OracleHandleTest, DatabaseDroppedOpenFreesEveryHandleWithoutLoggingOff) {
    quarnel::testing::SqliteFixture files;
    const QString file = files.createDatabase(
        QStringLiteral("CREATE TABLE T (N NUMBER(3)); INSERT INTO T VALUES (1);"));
    const long handles = liveHandles();
    const long logoffs = standInCounter("logoff");
    {
        auto database = logOnThroughStandIn(file);
        auto dynaset = database->DbCreateDynaset(QStringLiteral("SELECT N FROM T"), 12);
        EXPECT_GT(liveHandles(), handles);
    }
    EXPECT_EQ(liveHandles(), handles);
    EXPECT_EQ(standInCounter("logoff"), logoffs);
}

}  // namespace
}  // namespace quarnel::db
