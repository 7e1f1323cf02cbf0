// The whole-schema loader over scripted dictionary answers: what it keeps and leaves out, how
// many queries it sends, cancel and progress.
#include "schema/load_schema.h"

#include "catalog/queries.h"
#include "db/engines.h"
#include "testing/oci_stand_in.h"
#include "testing/scripted_schema.h"
#include "testing/sqlite_fixture.h"

#include <gtest/gtest.h>

#include <atomic>

namespace quarnel::schema {
namespace {

using db::ScriptedSchema;

class LoadSchemaTest : public ::testing::Test {
  protected:
    std::shared_ptr<db::Database> open(const ScriptedSchema& schema) {
        schema.answerOn(*m_backend);
        auto session = m_backend->factory()(QLatin1String(db::kSessionClassName));
        auto database = session->DbOpenDatabase(QStringLiteral("H"), QStringLiteral("u/p"), 0);
        m_backend->clearRecord();
        return database;
    }
    std::optional<Schema> load(const ScriptedSchema& schema, const LoadRequest& request = {}) {
        auto database = open(schema);
        return loadSchema(*database, request);
    }

    std::shared_ptr<db::ScriptedBackend> m_backend = db::ScriptedBackend::create();
};

TEST_F(LoadSchemaTest, SendsTheSameQueriesWhateverTheNumberOfTables) {
    ScriptedSchema one;
    one.addTable(QStringLiteral("A"), {QStringLiteral("ID")}, 1);
    ASSERT_TRUE(load(one));
    const size_t queriesForOne = m_backend->queries().size();

    auto many = db::ScriptedBackend::create();
    m_backend = many;
    ScriptedSchema fifty;
    for (int i = 0; i < 50; ++i)
        fifty.addTable(QStringLiteral("T%1").arg(i), {QStringLiteral("ID"), QStringLiteral("X")},
                       1);
    const auto loaded = load(fifty);
    ASSERT_TRUE(loaded);
    EXPECT_EQ(loaded->tables.size(), 50u);
    EXPECT_EQ(m_backend->queries().size(), queriesForOne);
    for (const db::ScriptedCall& call : m_backend->queries()) {
        EXPECT_TRUE(call.inSnapshot) << call.sql.toStdString();
        EXPECT_EQ(call.options, 12) << call.sql.toStdString();
    }
    // One snapshot for the whole load.
    EXPECT_EQ(m_backend->log().count(QStringLiteral("BeginReadSnapshot")), 1);
}

TEST_F(LoadSchemaTest, KeepsWhatTheTablesHoldAndLeavesOutWhatOracleAddsOnItsOwn) {
    const QString odd = QStringLiteral("名前 'q' \"d\"\t--x\r\nnext");
    const QString longDefault(4500, u'9');
    ScriptedSchema s;
    s.user = QStringLiteral("APP");
    s.addTable(QStringLiteral("ORDERS"), {QStringLiteral("ID"), QStringLiteral("CUST")}, 1);
    s.addTable(odd, {QStringLiteral("C")});
    s.tables.push_back({QStringLiteral("BIN$abc==$0"), QStringLiteral("YES")});
    s.tables.push_back({QStringLiteral("EMPTY"), QStringLiteral("NO")});
    s.columns.push_back({QStringLiteral("BIN$abc==$0"), QStringLiteral("X"), 1,
                         QStringLiteral("DATE"), QVariant(), 7, QVariant(), QVariant(),
                         QStringLiteral("Y"), QVariant(), 0, QStringLiteral("NO")});
    s.columns[0][11] = QStringLiteral("YES");
    s.tableComments = {{odd, odd}};
    s.columnComments = {{odd, QStringLiteral("C"), odd}};
    s.defaults = {{QStringLiteral("ORDERS"), QStringLiteral("ID"),
                   QStringLiteral("\"APP\".\"ISEQ$$_7\".nextval")},
                  {odd, QStringLiteral("C"), longDefault}};
    s.constraints.push_back({QStringLiteral("SYS_C001"), QStringLiteral("C"),
                             QStringLiteral("ORDERS"), QVariant(), QVariant(), QVariant(),
                             QStringLiteral("GENERATED NAME")});
    s.constraintColumns.push_back(
        {QStringLiteral("SYS_C001"), QStringLiteral("ORDERS"), QStringLiteral("CUST"), 1});
    s.conditions.push_back({QStringLiteral("SYS_C001"), QStringLiteral("\"CUST\" IS NOT NULL")});
    s.constraints.push_back({QStringLiteral("CUST_POSITIVE"), QStringLiteral("C"),
                             QStringLiteral("ORDERS"), QVariant(), QVariant(), QVariant(),
                             QStringLiteral("USER NAME")});
    s.conditions.push_back({QStringLiteral("CUST_POSITIVE"), QStringLiteral("CUST > 0")});
    s.constraints.push_back({QStringLiteral("ORDERS_CUST_FK"), QStringLiteral("R"),
                             QStringLiteral("ORDERS"), QStringLiteral("SALES"),
                             QStringLiteral("CUSTOMER_PK"), QStringLiteral("CASCADE"),
                             QStringLiteral("USER NAME")});
    s.constraintColumns.push_back(
        {QStringLiteral("ORDERS_CUST_FK"), QStringLiteral("ORDERS"), QStringLiteral("CUST"), 1});
    // The referenced key comes once for each foreign key that refers to it.
    for (int copy = 0; copy < 2; ++copy) {
        s.foreignReferences.push_back({QStringLiteral("SALES"), QStringLiteral("CUSTOMER_PK"),
                                       QStringLiteral("CUSTOMER"), QStringLiteral("NO"), 1});
    }
    s.indexes.push_back({QStringLiteral("SYS_IL0000071234C00002$$"), QStringLiteral("ORDERS"),
                         QStringLiteral("UNIQUE"), QStringLiteral("LOB"), QStringLiteral("Y")});
    s.indexColumns.push_back({QStringLiteral("SYS_IL0000071234C00002$$"), QStringLiteral("ORDERS"),
                              QStringLiteral("X"), 1, QStringLiteral("ASC")});
    s.indexes.push_back({QStringLiteral("ORDERS_IX"), QStringLiteral("ORDERS"),
                         QStringLiteral("NONUNIQUE"), QStringLiteral("FUNCTION-BASED NORMAL"),
                         QStringLiteral("N")});
    s.indexColumns.push_back({QStringLiteral("ORDERS_IX"), QStringLiteral("ORDERS"),
                              QStringLiteral("SYS_NC00003$"), 1, QStringLiteral("DESC")});
    s.indexExpressions.push_back(
        {QStringLiteral("ORDERS_IX"), QStringLiteral("ORDERS"), 1, QStringLiteral("UPPER(x)")});

    const auto loaded = load(s);
    ASSERT_TRUE(loaded);
    ASSERT_EQ(loaded->tables.size(), 3u);
    const Table& orders = loaded->tables[0];
    EXPECT_EQ(orders.name, QStringLiteral("ORDERS"));
    ASSERT_TRUE(orders.primaryKey);
    EXPECT_EQ(orders.primaryKey->columns, QStringList{QStringLiteral("ID")});
    EXPECT_TRUE(orders.columns[0].identity);
    EXPECT_EQ(orders.columns[0].defaultText, QStringLiteral("\"APP\".\"ISEQ$$_7\".nextval"));
    ASSERT_EQ(orders.checks.size(), 1u);
    EXPECT_EQ(orders.checks[0].name, QStringLiteral("CUST_POSITIVE"));
    ASSERT_EQ(orders.foreignKeys.size(), 1u);
    EXPECT_EQ(orders.foreignKeys[0].referencedOwner, QStringLiteral("SALES"));
    EXPECT_EQ(orders.foreignKeys[0].referencedTable, QStringLiteral("CUSTOMER"));
    EXPECT_EQ(orders.foreignKeys[0].referencedColumns, QStringList{QStringLiteral("NO")});
    EXPECT_EQ(orders.foreignKeys[0].deleteRule, QStringLiteral("CASCADE"));
    ASSERT_EQ(orders.indexes.size(), 2u);
    EXPECT_TRUE(orders.indexes[0].unique);
    EXPECT_EQ(orders.indexes[1].name, QStringLiteral("ORDERS_IX"));
    EXPECT_EQ(orders.indexes[1].columns[0].expression, QStringLiteral("UPPER(x)"));
    EXPECT_TRUE(orders.indexes[1].columns[0].descending);
    EXPECT_FALSE(orders.indexes[1].unique);

    const Table& oddTable = loaded->tables[1];
    EXPECT_EQ(oddTable.name, odd);
    EXPECT_EQ(oddTable.comment, odd);
    EXPECT_EQ(oddTable.columns[0].comment, odd);
    EXPECT_EQ(oddTable.columns[0].defaultText, longDefault);
    EXPECT_FALSE(oddTable.columns[0].identity);

    EXPECT_EQ(loaded->tables[2].name, QStringLiteral("EMPTY"));
    EXPECT_TRUE(loaded->tables[2].columns.empty());
}

TEST_F(LoadSchemaTest, ASchemaWithoutTablesLoads) {
    const auto loaded = load(ScriptedSchema{});
    ASSERT_TRUE(loaded);
    EXPECT_TRUE(loaded->tables.empty());
}

TEST_F(LoadSchemaTest, APartialListKeepsOnlyTheNamedTablesInListOrder) {
    ScriptedSchema s;
    for (const char* name : {"TA", "TB", "TC"})
        s.addTable(QLatin1String(name), {QStringLiteral("ID")}, 1);
    LoadRequest request;
    request.tables = QStringList{QStringLiteral("TC"), QStringLiteral("TA"), QStringLiteral("X")};
    const auto loaded = load(s, request);
    ASSERT_TRUE(loaded);
    ASSERT_EQ(loaded->tables.size(), 2u);
    EXPECT_EQ(loaded->tables[0].name, QStringLiteral("TA"));
    EXPECT_EQ(loaded->tables[1].name, QStringLiteral("TC"));
    EXPECT_EQ(loaded->tables[1].indexes.size(), 1u);
    for (const db::ScriptedCall& call : m_backend->queries())
        EXPECT_FALSE(call.sql.contains(u"TC")) << "a query per table: " << call.sql.toStdString();
}

TEST_F(LoadSchemaTest, CancelStopsBetweenFetchesAndProgressCountsRows) {
    ScriptedSchema s;
    for (int i = 0; i < 700; ++i)
        s.addTable(QStringLiteral("T%1").arg(i), {QStringLiteral("A"), QStringLiteral("B")});
    std::atomic<bool> cancel = false;
    std::vector<qint64> seen;
    LoadRequest request;
    request.cancel = &cancel;
    request.progress = [&](const LoadProgress& p) {
        seen.push_back(p.rowsRead);
        if (p.rowsRead >= 1500)
            cancel = true;
    };
    const auto loaded = load(s, request);
    EXPECT_FALSE(loaded);
    ASSERT_FALSE(seen.empty());
    // 1 user row, 700 table rows, then the columns query stopped after its first thousand.
    EXPECT_EQ(seen.back(), 1701);
    EXPECT_EQ(m_backend->openDynasets(), 0);
}

#ifdef QUARNEL_OCI_STAND_IN_HOME
// Through a client that sizes its fetches by the described widths of the dictionary's columns,
// every query of the load still takes a thousand rows a fetch.
TEST(LoadSchemaFetchTest, EachQueryFetchesAThousandRowsAtATime) {
    quarnel::testing::SqliteFixture files;
    QString script;
    for (int i = 0; i < 1100; ++i) {
        script += QStringLiteral(
                      "CREATE TABLE T%1 (ID INTEGER PRIMARY KEY, -- key\n"
                      " NAME VARCHAR2(40) DEFAULT 'x' UNIQUE, -- name\n"
                      " CODE CHAR(4) CHECK (CODE <> ''));\n"
                      "CREATE INDEX T%1_IX ON T%1 (CODE DESC);\n")
                      .arg(i);
    }
    const QString file = files.createDatabase(script);
    // Rows per query, read through the embedded engine.
    long expected = 0;
    {
        auto direct = db::OpenSqliteDatabase(file);
        for (const catalog::CatalogQuery& query : catalog::schemaQueries(QStringLiteral("MAIN"))) {
            long rows = 0;
            for (auto d = direct->DbCreateDynaset(query.sql, query.options); !d->Eof();
                 d->DbMoveNext())
                ++rows;
            expected += std::max(1L, (rows + 999) / 1000);
        }
    }
    auto database = quarnel::testing::logOnThroughStandIn(file);
    const long fetches = quarnel::testing::standInCounter("fetch");
    const auto loaded = loadSchema(*database, {});
    ASSERT_TRUE(loaded);
    EXPECT_EQ(loaded->tables.size(), 1100u);
    EXPECT_LE(quarnel::testing::standInCounter("fetch") - fetches, expected);
}
#endif

TEST(LoadTableTest, ReadsKeyDescribeAndIndexes) {
    auto backend = db::ScriptedBackend::create();
    backend->on(QStringLiteral("count(table_name)"),
                db::ScriptedResult::column(QStringLiteral("TBL"), {1}));
    backend->on(QStringLiteral("P_KEY"),
                db::ScriptedResult::column(QStringLiteral("P_KEY"), {QStringLiteral("ID")}));
    db::ScriptedResult describe;
    describe.fields = {db::ScriptedField{QStringLiteral("ID")},
                       db::ScriptedField{QStringLiteral("N")}};
    backend->on(QStringLiteral("RowNum < 1"), describe);
    backend->on(QStringLiteral("descend = 'DESC'"), db::ScriptedResult{});
    backend->on(QStringLiteral("user_ind_expressions"), db::ScriptedResult{});
    db::ScriptedResult indexes;
    indexes.fields.resize(4);
    indexes.rows = {{"T_PK", "T", 1, "ID"}, {"T_X", "T", 1, "N"}, {"T_X", "T", 2, "ID"}};
    backend->on(QStringLiteral("user_ind_columns"), indexes);
    auto session = backend->factory()(QLatin1String(db::kSessionClassName));
    auto database = session->DbOpenDatabase(QStringLiteral("H"), QStringLiteral("u/p"), 0);

    const auto table = loadTable(*database, QStringLiteral("T"));
    ASSERT_TRUE(table);
    ASSERT_EQ(table->columns.size(), 2u);
    EXPECT_EQ(table->columns[1].position, 2);
    ASSERT_EQ(table->indexes.size(), 2u);
    EXPECT_EQ(table->indexes[1].columns[1].name, QStringLiteral("ID"));
    EXPECT_EQ(table->indexes[1].columns[1].position, 2);
}

}  // namespace
}  // namespace quarnel::schema
