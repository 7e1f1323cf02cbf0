// The catalogue over the demo schema, through the embedded engine and through the Oracle engine
// on the stand-in client library (which answers from the same SQLite file): every dictionary
// query runs as written, and the demo's ITEM table gives the worked-example texts character for
// character.
#include "catalog/index_info.h"
#include "catalog/queries.h"
#include "catalog/table_info.h"
#include "catalog/table_list.h"
#include "db/engines.h"
#include "item_texts.h"
#include "testing/oci_stand_in.h"
#include "testing/sqlite_fixture.h"

#include <gtest/gtest.h>

namespace quarnel::catalog {
namespace {

enum class Engine { Embedded, OracleStandIn };

// Opens the SQLite file at `path` with `engine`.
std::shared_ptr<db::Database> open(Engine engine, const QString& path) {
    if (engine == Engine::Embedded)
        return db::OpenSqliteDatabase(path);
    return quarnel::testing::logOnThroughStandIn(path);
}

class DemoCatalogTest : public ::testing::TestWithParam<Engine> {
  protected:
    void SetUp() override {
        const QString path = m_files.createDatabase(
            quarnel::testing::SqliteFixture::readText(QStringLiteral(QUARNEL_DEMO_SQL)),
            QStringLiteral("demo.db"));
        m_database = open(GetParam(), path);
    }

    quarnel::testing::SqliteFixture m_files;
    std::shared_ptr<db::Database> m_database;
};

TEST_P(DemoCatalogTest, EveryQueryRunsOnTheEngine) {
    for (const CatalogQuery& query : catalogQueries(QStringLiteral("ITEM"))) {
        EXPECT_NO_THROW(m_database->DbCreateDynaset(query.sql, query.options))
            << query.sql.toStdString();
    }
}

TEST_P(DemoCatalogTest, EveryWholeSchemaQueryRunsOnTheEngine) {
    for (const CatalogQuery& query : schemaQueries(QStringLiteral("O'NEIL"))) {
        EXPECT_NO_THROW(m_database->DbCreateDynaset(query.sql, query.options))
            << query.sql.toStdString();
    }
}

TEST_P(DemoCatalogTest, EveryQueryRunsForANameThatNeedsQuoting) {
    const QString path = m_files.createDatabase(
        QStringLiteral("CREATE TABLE \"O'Brien's \"\"x\"\"\" (A NUMBER(3) PRIMARY KEY, b DATE);"),
        QStringLiteral("odd.db"));
    auto database = open(GetParam(), path);
    const QString table = QStringLiteral("O'Brien's \"x\"");
    for (const CatalogQuery& query : catalogQueries(table)) {
        EXPECT_NO_THROW(database->DbCreateDynaset(query.sql, query.options))
            << query.sql.toStdString();
    }
    const TableInfoResult info = loadTableInfo(*database, table);
    ASSERT_FALSE(info.error.has_value()) << info.error->toStdString();
    EXPECT_EQ(info.strPkTxt, QStringLiteral("A\r\n"));
    EXPECT_EQ(info.gridRows.size(), 2);
}

TEST_P(DemoCatalogTest, ItemGivesTheWorkedExampleTexts) {
    const TableInfoResult info = loadTableInfo(*m_database, QStringLiteral("ITEM"));
    ASSERT_FALSE(info.error.has_value()) << info.error->toStdString();
    EXPECT_EQ(info.strTableInfoCsv, fixtures::kItemTableInfoCsv);
    EXPECT_EQ(info.strTableInfoTxt, fixtures::kItemTableInfoTxt);
    EXPECT_EQ(info.strPkTxt, QStringLiteral("ORD_NO\r\nLINE_NO\r\n"));
    EXPECT_EQ(info.strCreateTableSql, fixtures::kItemCreateTableSql);

    const IndexInfoResult indexes = loadIndexInfo(*m_database, QStringLiteral("ITEM"));
    ASSERT_FALSE(indexes.error.has_value()) << indexes.error->toStdString();
    EXPECT_EQ(indexes.strIndexInfoCsv, fixtures::kItemIndexInfoCsv);
    EXPECT_EQ(indexes.strIndexInfoTxt, fixtures::kItemIndexInfoTxt);
    EXPECT_EQ(indexes.strCreateIndexSql, fixtures::kItemCreateIndexSql);
}

TEST_P(DemoCatalogTest, EveryDemoTableReadsWithoutError) {
    const TableListResult list = readTableList(*m_database);
    ASSERT_FALSE(list.error.has_value());
    ASSERT_GE(list.names.size(), 10);
    for (const QString& table : list.names) {
        const TableInfoResult info = loadTableInfo(*m_database, table);
        EXPECT_TRUE(info.exists && !info.error) << table.toStdString();
        const IndexInfoResult indexes = loadIndexInfo(*m_database, table);
        EXPECT_TRUE(indexes.exists && !indexes.error) << table.toStdString();
    }
}

// Every text of every demo table, byte for byte the same through both engines.
TEST(DemoCatalogEnginesTest, OracleEngineGivesTheEmbeddedEnginesTexts) {
    quarnel::testing::SqliteFixture files;
    const QString path = files.createDatabase(
        quarnel::testing::SqliteFixture::readText(QStringLiteral(QUARNEL_DEMO_SQL)),
        QStringLiteral("demo.db"));
    auto embedded = open(Engine::Embedded, path);
    auto oracle = open(Engine::OracleStandIn, path);
    const TableListResult list = readTableList(*embedded);
    EXPECT_EQ(readTableList(*oracle).strTableListTxt, list.strTableListTxt);
    for (const QString& table : list.names) {
        SCOPED_TRACE(table.toStdString());
        const TableInfoResult a = loadTableInfo(*embedded, table);
        const TableInfoResult b = loadTableInfo(*oracle, table);
        EXPECT_EQ(b.gridRows, a.gridRows);
        EXPECT_EQ(b.strTableInfoTxt, a.strTableInfoTxt);
        EXPECT_EQ(b.strTableInfoCsv, a.strTableInfoCsv);
        EXPECT_EQ(b.strPkTxt, a.strPkTxt);
        EXPECT_EQ(b.strCreateTableSql, a.strCreateTableSql);
        const IndexInfoResult x = loadIndexInfo(*embedded, table);
        const IndexInfoResult y = loadIndexInfo(*oracle, table);
        EXPECT_EQ(y.strIndexInfoCsv, x.strIndexInfoCsv);
        EXPECT_EQ(y.strIndexInfoTxt, x.strIndexInfoTxt);
        EXPECT_EQ(y.strCreateIndexSql, x.strCreateIndexSql);
    }
}

// The example of an expression index with a descending column, read through each engine.
TEST_P(DemoCatalogTest, ExpressionIndexGivesItsTextAndDescendingColumnsDesc) {
    const QString path = m_files.createDatabase(
        QStringLiteral("CREATE TABLE EXPR (ID NUMBER PRIMARY KEY, NAME VARCHAR2(10), AGE NUMBER);"
                       "CREATE INDEX EXPR_LOWER ON EXPR(lower(NAME), AGE DESC);"),
        QStringLiteral("expr.db"));
    auto database = open(GetParam(), path);
    const IndexInfoResult indexes = loadIndexInfo(*database, QStringLiteral("EXPR"));
    ASSERT_FALSE(indexes.error.has_value()) << indexes.error->toStdString();
    EXPECT_EQ(indexes.strIndexInfoCsv,
              QStringLiteral("TEBLE_NAME,INDEX_NAME,CPOSI_NAME,COLUMN_NAME\r\n"
                             "EXPR,EXPR_LOWER,1,lower(NAME)\r\n"
                             ",,2,AGE\r\n"
                             ",EXPR_PK,1,ID"));
    EXPECT_TRUE(indexes.strCreateIndexSql.startsWith(
        QStringLiteral("CREATE INDEX EXPR_LOWER ON \r\n    EXPR (\r\n        lower(NAME), \r\n"
                       "        AGE DESC);\r\n")));
    EXPECT_EQ(indexes.nodes[3].text, QStringLiteral("2 AGE"));
}

INSTANTIATE_TEST_SUITE_P(Engines, DemoCatalogTest,
                         ::testing::Values(Engine::Embedded, Engine::OracleStandIn),
                         [](const auto& info) {
                             return info.param == Engine::Embedded ? "Embedded" : "OracleStandIn";
                         });

}  // namespace
}  // namespace quarnel::catalog
