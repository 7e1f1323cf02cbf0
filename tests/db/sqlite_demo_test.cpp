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

}  // namespace
}  // namespace quarnel::db
