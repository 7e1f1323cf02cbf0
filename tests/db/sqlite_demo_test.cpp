#include "db/engines.h"
#include "testing/sqlite_fixture.h"

#include <QRegularExpression>

#include <gtest/gtest.h>

#include <set>

namespace quarnel::db {
namespace {

using testing::SqliteFixture;
using Rows = std::vector<std::string>;

// The demo database, built from its script as the build does.
class DemoSchemaTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        s_files = new SqliteFixture;
        s_path = s_files->createDatabase(SqliteFixture::readText(QStringLiteral(QUARNEL_DEMO_SQL)),
                                         QStringLiteral("demo.db"));
    }
    static void TearDownTestSuite() {
        delete s_files;
        s_files = nullptr;
    }

    void SetUp() override { m_db = OpenSqliteDatabase(s_path); }

    Rows rows(const QString& sql) {
        Rows result;
        for (auto d = m_db->DbCreateDynaset(sql, 12); !d->Eof(); d->DbMoveNext()) {
            QStringList values;
            for (const Field* field : d->Fields())
                values.append(field->Value().toString());
            result.push_back(values.join(u'|').toStdString());
        }
        return result;
    }

    Rows tables() { return rows(QStringLiteral("SELECT table_name tbl FROM user_tables t")); }

    static inline SqliteFixture* s_files = nullptr;
    static inline QString s_path;
    std::shared_ptr<Database> m_db;
};

TEST_F(DemoSchemaTest, ItemDescribesAsInTheWorkedExample) {
    auto dynaset = m_db->DbCreateDynaset(QStringLiteral("SELECT * FROM ITEM WHERE RowNum < 1"), 0);
    EXPECT_TRUE(dynaset->Eof());
    EXPECT_EQ(
        testing::describeFields(*dynaset),
        (Rows{"ORD_NO 2 6 22 7 not null", "LINE_NO 2 3 22 7 not null", "PRODUCT 1 0 20 10 null",
              "SHIP_DATE 12 0 7 8 null", "REMARKS 8 0 0 12 null", "QTY 2 0 22 7 null"}));
}

TEST_F(DemoSchemaTest, ItemKeyAndIndexesAsInTheWorkedExample) {
    EXPECT_EQ(rows(QStringLiteral("SELECT c.column_name P_KEY FROM user_cons_columns c, "
                                  "user_constraints t Where c.table_name = upper('ITEM') AND "
                                  "t.constraint_type = 'P' AND c.table_name = t.table_name AND "
                                  "c.constraint_name = t.constraint_name")),
              (Rows{"ORD_NO", "LINE_NO"}));
    EXPECT_EQ(rows(QStringLiteral("SELECT index_name,table_name,column_position,column_name From "
                                  "user_ind_columns WHERE table_name = 'ITEM' ORDER BY "
                                  "index_name,column_position")),
              (Rows{"ITEM_IX1|ITEM|1|PRODUCT", "ITEM_IX1|ITEM|2|SHIP_DATE", "ITEM_PK|ITEM|1|ORD_NO",
                    "ITEM_PK|ITEM|2|LINE_NO"}));
}

TEST_F(DemoSchemaTest, HasASmallOracleStyleSchema) {
    const Rows names = tables();
    EXPECT_GE(names.size(), 10u);
    EXPECT_LE(names.size(), 20u);
    static const QRegularExpression oracleName(QStringLiteral("^[A-Z][A-Z0-9_]*$"));
    for (const std::string& name : names) {
        EXPECT_TRUE(oracleName.match(QString::fromStdString(name)).hasMatch()) << name;
    }
}

// Every table answers every lookup; together they show keyless and indexless tables and each of
// the nine Oracle types of the column grid.
TEST_F(DemoSchemaTest, EveryTableAnswersEveryLookup) {
    std::set<int> types;
    int withoutKey = 0;
    int withoutAnyIndex = 0;
    for (const std::string& table : tables()) {
        const QString name = QString::fromStdString(table);
        EXPECT_EQ(rows(QStringLiteral("SELECT count(table_name) tbl FROM user_tables t WHERE "
                                      "t.table_name = '%1'")
                           .arg(name)),
                  Rows{"1"});
        const Rows key = rows(QStringLiteral("SELECT c.column_name P_KEY FROM user_cons_columns "
                                             "c, user_constraints t Where c.table_name = "
                                             "upper('%1') AND t.constraint_type = 'P' AND "
                                             "c.table_name = t.table_name AND c.constraint_name = "
                                             "t.constraint_name")
                                  .arg(name));
        const Rows indexes = rows(QStringLiteral("SELECT index_name,table_name,column_position,"
                                                 "column_name From user_ind_columns WHERE "
                                                 "table_name = '%1' ORDER BY "
                                                 "index_name,column_position")
                                      .arg(name));
        withoutKey += key.empty();
        withoutAnyIndex += indexes.empty();
        auto dynaset =
            m_db->DbCreateDynaset(QStringLiteral("SELECT * FROM %1 WHERE RowNum < 1").arg(name), 0);
        EXPECT_GT(dynaset->FieldCount(), 0) << table;
        for (const Field* field : dynaset->Fields())
            types.insert(field->OraIDataType());
    }
    EXPECT_GE(withoutKey, 1);
    EXPECT_GE(withoutAnyIndex, 1);
    EXPECT_EQ(types, (std::set<int>{1, 2, 8, 11, 12, 23, 24, 96, 106}));
}

// The demo has something for every whole-schema output: a comment on every table and on most
// columns, foreign keys between its tables, a unique key, checks and defaults.
TEST_F(DemoSchemaTest, CarriesCommentsForeignKeysChecksAndDefaults) {
    EXPECT_EQ(rows(QStringLiteral("SELECT count(*) FROM user_tab_comments WHERE comments IS NULL")),
              Rows{"0"});
    const Rows columns = rows(
        QStringLiteral("SELECT count(*), count(comments) FROM user_col_comments GROUP BY 1 = 1"));
    ASSERT_EQ(columns.size(), 1u);
    const QStringList counts = QString::fromStdString(columns[0]).split(u'|');
    EXPECT_GT(counts[1].toInt() * 4, counts[0].toInt() * 3);
    EXPECT_EQ(rows(QStringLiteral("SELECT comments FROM user_col_comments WHERE"
                                  " table_name = 'ORDERS' AND column_name = 'STATUS'")),
              Rows{"状態 (O:受付 S:出荷済 C:取消)"});
    EXPECT_EQ(
        rows(QStringLiteral(
            "SELECT constraint_name, constraint_type, search_condition, r_constraint_name,"
            " delete_rule FROM user_constraints WHERE table_name = 'ORDERS' ORDER BY 1")),
        (Rows{"ORDERS_CK1|C|STATUS IN ('O', 'S', 'C')||", "ORDERS_FK1|R||CUSTOMER_PK|NO ACTION",
              "ORDERS_FK2|R||EMPLOYEE_PK|SET NULL", "ORDERS_PK|P|||"}));
    EXPECT_EQ(rows(QStringLiteral("SELECT constraint_name, r_constraint_name, generated FROM"
                                  " user_constraints WHERE table_name = 'STOCK' ORDER BY 1")),
              (Rows{"STOCK_CK1||GENERATED NAME", "STOCK_FK1|WAREHOUSE_PK|GENERATED NAME",
                    "STOCK_FK2|PRODUCT_PK|GENERATED NAME", "STOCK_PK||GENERATED NAME"}));
    EXPECT_EQ(rows(QStringLiteral("SELECT table_name, constraint_name FROM user_constraints"
                                  " WHERE constraint_type = 'U'")),
              Rows{"DEPT|DEPT_UK1"});
    EXPECT_EQ(
        rows(QStringLiteral("SELECT table_name, column_name, data_default FROM"
                            " user_tab_columns WHERE data_default IS NOT NULL")),
        (Rows{"SUPPLIER|COUNTRY|'JP'", "STOCK|QTY_ON_HAND|0", "ORDERS|STATUS|'O'", "ITEM|QTY|1"}));
}

}  // namespace
}  // namespace quarnel::db
