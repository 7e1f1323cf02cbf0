// The catalogue over the embedded engine and the demo schema: every dictionary query runs as
// written, and the demo's ITEM table gives the worked-example texts character for character.
#include "catalog/index_info.h"
#include "catalog/queries.h"
#include "catalog/table_info.h"
#include "catalog/table_list.h"
#include "db/engines.h"
#include "item_texts.h"
#include "testing/sqlite_fixture.h"

#include <gtest/gtest.h>

namespace quarnel::catalog {
namespace {

class DemoCatalogTest : public ::testing::Test {
  protected:
    void SetUp() override {
        const QString path = m_files.createDatabase(
            quarnel::testing::SqliteFixture::readText(QStringLiteral(QUARNEL_DEMO_SQL)),
            QStringLiteral("demo.db"));
        m_database = db::OpenSqliteDatabase(path);
    }

    quarnel::testing::SqliteFixture m_files;
    std::shared_ptr<db::Database> m_database;
};

TEST_F(DemoCatalogTest, EveryQueryRunsOnTheEngine) {
    for (const CatalogQuery& query : catalogQueries(QStringLiteral("ITEM"))) {
        EXPECT_NO_THROW(m_database->DbCreateDynaset(query.sql, query.options))
            << query.sql.toStdString();
    }
}

TEST_F(DemoCatalogTest, EveryQueryRunsForANameThatNeedsQuoting) {
    const QString path = m_files.createDatabase(
        QStringLiteral("CREATE TABLE \"O'Brien's \"\"x\"\"\" (A NUMBER(3) PRIMARY KEY, b DATE);"),
        QStringLiteral("odd.db"));
    auto database = db::OpenSqliteDatabase(path);
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

TEST_F(DemoCatalogTest, ItemGivesTheWorkedExampleTexts) {
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

TEST_F(DemoCatalogTest, EveryDemoTableReadsWithoutError) {
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

// The example of an expression index with a descending column, read through the engine.
TEST_F(DemoCatalogTest, ExpressionIndexGivesItsTextAndDescendingColumnsDesc) {
    const QString path = m_files.createDatabase(
        QStringLiteral("CREATE TABLE EXPR (ID NUMBER PRIMARY KEY, NAME VARCHAR2(10), AGE NUMBER);"
                       "CREATE INDEX EXPR_LOWER ON EXPR(lower(NAME), AGE DESC);"),
        QStringLiteral("expr.db"));
    auto database = db::OpenSqliteDatabase(path);
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

}  // namespace
}  // namespace quarnel::catalog
