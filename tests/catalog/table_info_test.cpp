#include "catalog/table_info.h"

#include "item_queries.h"
#include "item_texts.h"
#include "scripted_catalog.h"

#include "testing/test_names.h"

#include <gtest/gtest.h>

namespace quarnel::catalog {
namespace {

using namespace fixtures;

const QString kCrLf = QStringLiteral("\r\n");
const QString kMark = QStringLiteral("※");

std::vector<db::ScriptedField> itemColumns() {
    return {describedColumn(QStringLiteral("ORD_NO"), 2, 6, 22, 7, false),
            describedColumn(QStringLiteral("LINE_NO"), 2, 3, 22, 7, false),
            describedColumn(QStringLiteral("PRODUCT"), 1, 0, 20, 10, true),
            describedColumn(QStringLiteral("SHIP_DATE"), 12, 0, 7, 8, true),
            describedColumn(QStringLiteral("REMARKS"), 8, 0, 0, 12, true),
            describedColumn(QStringLiteral("QTY"), 2, 0, 22, 7, true)};
}

// The lines of `text` that follow its first `skip` lines, without their CR LF.
QStringList linesAfter(const QString& text, int skip) {
    QStringList lines = text.split(kCrLf);
    if (lines.back().isEmpty())
        lines.removeLast();
    return lines.mid(skip);
}

void expectTextsEmpty(const TableInfoResult& result) {
    EXPECT_TRUE(result.strTableInfoTxt.isEmpty());
    EXPECT_TRUE(result.strTableInfoCsv.isEmpty());
    EXPECT_TRUE(result.strPkTxt.isEmpty());
    EXPECT_TRUE(result.strCreateTableSql.isEmpty());
}

// Each grid row's cells joined by tabs, as the text list writes them.
QStringList joinedRows(const QList<QStringList>& rows) {
    QStringList joined;
    for (const QStringList& cells : rows)
        joined.append(cells.join(u'\t'));
    return joined;
}

TEST(LoadTableInfoTest, ItemGivesEveryTextOfTheTableDefinition) {
    ScriptedCatalog catalog;
    catalog.tableCount(1);
    catalog.primaryKey({QStringLiteral("ORD_NO"), QStringLiteral("LINE_NO")});
    catalog.columns(itemColumns());

    const TableInfoResult result = loadTableInfo(catalog.database(), QStringLiteral("ITEM"));

    EXPECT_FALSE(result.error.has_value());
    EXPECT_TRUE(result.exists);
    EXPECT_EQ(result.strTableInfoCsv, kItemTableInfoCsv);
    EXPECT_EQ(result.strTableInfoTxt, kItemTableInfoTxt);
    EXPECT_EQ(result.strPkTxt, QStringLiteral("ORD_NO\r\nLINE_NO\r\n"));
    EXPECT_EQ(result.strCreateTableSql, kItemCreateTableSql);
    EXPECT_EQ(joinedRows(result.gridRows), linesAfter(kItemTableInfoTxt, 2));
    EXPECT_EQ(result.primaryKey,
              QStringList({QStringLiteral("ORD_NO"), QStringLiteral("LINE_NO")}));
    EXPECT_EQ(catalog.sqlSent(),
              QStringList({kItemExistsSql, kItemPrimaryKeySql, kItemDescribeSql}));
    EXPECT_EQ(catalog.optionsSent(), std::vector<int>({12, 12, 0}));
    EXPECT_EQ(catalog.openDynasets(), 0);
}

TEST(LoadTableInfoTest, GridHeadingsMatchTheTextHeader) {
    EXPECT_EQ(u'\t' + tableInfoHeadings().join(u'\t'), linesAfter(kItemTableInfoTxt, 1).front());
}

TEST(LoadTableInfoTest, TableWithoutPrimaryKeyHasNoMarksAndNoAlterTable) {
    ScriptedCatalog catalog;
    catalog.tableCount(1);
    catalog.primaryKey({});
    catalog.columns({describedColumn(QStringLiteral("ID"), 2, 4, 22, 7, false),
                     describedColumn(QStringLiteral("NOTE"), 1, 0, 30, 10, true)});

    const TableInfoResult result = loadTableInfo(catalog.database(), QStringLiteral("LOG"));

    EXPECT_EQ(joinedRows(result.gridRows),
              QStringList({QStringLiteral("1\t\tID\t4\tNUMBER\tDouble\tNot Null"),
                           QStringLiteral("2\t\tNOTE\t30\tVARCHAR2\tString\tNull")}));
    EXPECT_TRUE(result.strPkTxt.isEmpty());
    EXPECT_EQ(result.strCreateTableSql, QStringLiteral("CREATE TABLE LOG(\r\n"
                                                       "    ID    NUMBER(4)    NOT NULL,\r\n"
                                                       "    NOTE    VARCHAR2(30)    NULL\r\n"
                                                       ");"));
}

TEST(LoadTableInfoTest, OneColumnKeyClosesOnItsOwnLine) {
    ScriptedCatalog catalog;
    catalog.tableCount(1);
    catalog.primaryKey({QStringLiteral("ID")});
    catalog.columns({describedColumn(QStringLiteral("ID"), 2, 4, 22, 7, false)});

    const TableInfoResult result = loadTableInfo(catalog.database(), QStringLiteral("LOG"));

    EXPECT_EQ(result.strPkTxt, QStringLiteral("ID\r\n"));
    EXPECT_TRUE(result.strCreateTableSql.endsWith(
        QStringLiteral(");\r\n\r\nALTER TABLE LOG\r\n    ADD ( PRIMARY KEY (ID) ) ;")));
}

TEST(LoadTableInfoTest, KeyMarksCompareNamesExactly) {
    ScriptedCatalog catalog;
    catalog.tableCount(1);
    catalog.primaryKey({QStringLiteral("Id")});
    catalog.columns({describedColumn(QStringLiteral("ID"), 2, 4, 22, 7, false),
                     describedColumn(QStringLiteral("Id"), 2, 4, 22, 7, false),
                     describedColumn(QStringLiteral("id"), 2, 4, 22, 7, false)});

    const TableInfoResult result = loadTableInfo(catalog.database(), QStringLiteral("T"));

    ASSERT_EQ(result.gridRows.size(), 3);
    EXPECT_EQ(result.gridRows[0][1], QString());
    EXPECT_EQ(result.gridRows[1][1], kMark);
    EXPECT_EQ(result.gridRows[2][1], QString());
}

// One column of a table T1 without key: its grid row and its script line.
struct ColumnCase {
    const char* label;
    db::ScriptedField field;
    const char* gridRow;
    const char* scriptLine;
};

class TableColumnTest : public ::testing::TestWithParam<ColumnCase> {};

TEST_P(TableColumnTest, GridRowAndScriptLine) {
    const ColumnCase& c = GetParam();
    ScriptedCatalog catalog;
    catalog.tableCount(1);
    catalog.primaryKey({});
    catalog.columns({c.field});

    const TableInfoResult result = loadTableInfo(catalog.database(), QStringLiteral("T1"));

    EXPECT_EQ(joinedRows(result.gridRows), QStringList(QString::fromUtf8(c.gridRow))) << c.label;
    EXPECT_EQ(result.strTableInfoCsv, QStringLiteral("T1\r\n,,PK,NAME,SIZE,TYPE1,TYPE2,NULL\r\n,") +
                                          QString::fromUtf8(c.gridRow).replace(u'\t', u',') + kCrLf)
        << c.label;
    EXPECT_EQ(result.strCreateTableSql, QStringLiteral("CREATE TABLE T1(\r\n") +
                                            QString::fromUtf8(c.scriptLine) +
                                            QStringLiteral("\r\n);"))
        << c.label;
}

INSTANTIATE_TEST_SUITE_P(
    Types, TableColumnTest,
    ::testing::Values(
        ColumnCase{"NUMBER without precision", describedColumn("N", 2, 0, 22, 7, true, -127),
                   "1\t\tN\t-\tNUMBER\tDouble\tNull", "    N    NUMBER    NULL"},
        ColumnCase{"NUMBER(7,2)", describedColumn("PRICE", 2, 7, 22, 5, true, 2),
                   "1\t\tPRICE\t7\tNUMBER\tCurreney\tNull", "    PRICE    NUMBER(7,2)    NULL"},
        ColumnCase{"FLOAT(126)", describedColumn("F", 2, 126, 22, 7, true, -127),
                   "1\t\tF\t126\tNUMBER\tDouble\tNull", "    F    FLOAT(126)    NULL"},
        ColumnCase{"DATE", describedColumn("D", 12, 0, 7, 8, false),
                   "1\t\tD\t7\tDATE\tDate\tNot Null", "    D    DATE    NOT NULL"},
        ColumnCase{"LONG", describedColumn("L", 8, 0, 0, 12, true), "1\t\tL\t-\tLONG\tString\tNull",
                   "    L    LONG    NULL"},
        ColumnCase{"code 24", describedColumn("LR", 24, 0, 0, 11, true),
                   "1\t\tLR\t-\tLONG ROW\tString\tNull", "    LR    LONG RAW    NULL"},
        ColumnCase{"code 23", describedColumn("R", 23, 0, 16, 11, true),
                   "1\t\tR\t16\tROW\tString\tNull", "    R    RAW(16)    NULL"},
        ColumnCase{"size 0", describedColumn("E", 1, 5, 0, 10, true),
                   "1\t\tE\t0\tVARCHAR2\tString\tNull", "    E    VARCHAR2    NULL"},
        ColumnCase{"ROWID", describedColumn("RID", 11, 0, 10, 10, true),
                   "1\t\tRID\t10\tROWID\tString\tNull", "    RID    ROWID    NULL"},
        ColumnCase{"MLSLABEL", describedColumn("M", 106, 0, 255, 10, true),
                   "1\t\tM\t255\tMLSLABEL\tString\tNull", "    M    MLSLABEL    NULL"},
        ColumnCase{"TIMESTAMP", describedColumn("TS", 180, 0, 11, 8, true, 3),
                   "1\t\tTS\t11\tTIMESTAMP\tDate\tNull", "    TS    TIMESTAMP(3)    NULL"},
        ColumnCase{"CLOB", describedColumn("C", 112, 0, 4000, 12, true),
                   "1\t\tC\t4000\tCLOB\tString\tNull", "    C    CLOB    NULL"},
        ColumnCase{"value type 9", describedColumn("O", 108, 0, 0, 9, true),
                   "1\t\tO\t0\tUNKNOWN(108)\tObject\tNull", "    O    UNKNOWN(108)    NULL"}),
    quarnel::testing::nameFrom([](const ColumnCase& c) { return c.label; }));

TEST(LoadTableInfoTest, MissingTableIsSilentAndSendsOnlyTheExistenceCheck) {
    for (const QVariant& count : {QVariant(0), QVariant(QStringLiteral("0")), QVariant(0.0)}) {
        ScriptedCatalog catalog;
        catalog.tableCount(count);

        const TableInfoResult result = loadTableInfo(catalog.database(), QStringLiteral("GONE"));

        EXPECT_FALSE(result.exists);
        EXPECT_FALSE(result.error.has_value());
        EXPECT_TRUE(result.gridRows.isEmpty());
        expectTextsEmpty(result);
        EXPECT_EQ(catalog.sqlSent().size(), 1);
    }
}

TEST(LoadTableInfoTest, CountThatIsNotANumberIsAnError) {
    for (const QVariant& count : {QVariant(QStringLiteral("many")), QVariant()}) {
        ScriptedCatalog catalog;
        catalog.tableCount(count);

        const TableInfoResult result = loadTableInfo(catalog.database(), QStringLiteral("ITEM"));

        ASSERT_TRUE(result.error.has_value());
        EXPECT_TRUE(result.error->contains(QStringLiteral("ITEM")));
        expectTextsEmpty(result);
        EXPECT_EQ(catalog.sqlSent().size(), 1);
    }
}

TEST(LoadTableInfoTest, FailingQueryReturnsItsOwnDescription) {
    struct Case {
        const char* failing;
        qsizetype queriesSent;
    };
    for (const Case c : {Case{"count(table_name)", 1}, Case{"P_KEY", 2}, Case{"RowNum < 1", 3}}) {
        ScriptedCatalog catalog;
        catalog.fail(QLatin1String(c.failing),
                     QStringLiteral("ORA-00942: table or view does not exist"));
        catalog.tableCount(1);
        catalog.primaryKey({QStringLiteral("ORD_NO")});
        catalog.columns(itemColumns());

        const TableInfoResult result = loadTableInfo(catalog.database(), QStringLiteral("ITEM"));

        EXPECT_EQ(result.error, QStringLiteral("ORA-00942: table or view does not exist"))
            << c.failing;
        expectTextsEmpty(result);
        EXPECT_TRUE(result.gridRows.isEmpty());
        EXPECT_EQ(catalog.sqlSent().size(), c.queriesSent) << c.failing;
        EXPECT_EQ(catalog.openDynasets(), 0);
    }
}

TEST(LoadTableInfoTest, KeyFetchFailingMidwayStopsBeforeTheDescribe) {
    ScriptedCatalog catalog;
    catalog.tableCount(1);
    catalog.primaryKey({QStringLiteral("A"), QStringLiteral("B")}, 1);
    catalog.columns(itemColumns());

    const TableInfoResult result = loadTableInfo(catalog.database(), QStringLiteral("ITEM"));

    EXPECT_EQ(result.error, QStringLiteral("ORA-03113: end-of-file on communication channel"));
    expectTextsEmpty(result);
    EXPECT_EQ(catalog.sqlSent().size(), 2);
}

// A field whose description cannot be read: the connection broke while describing.
class BrokenField : public db::Field {
  public:
    QVariant Value() const override { return {}; }
    QString Name() const override { return QStringLiteral("BROKEN"); }
    int Type() const override { throw db::DbError(QStringLiteral("ORA-03114: not connected")); }
    int OraIDataType() const override { return 1; }
    int Size() const override { return 1; }
    int OraPrecision() const override { return 0; }
    int OraScale() const override { return 0; }
    bool OraNullOK() const override { return true; }
};

// Answers the describe query with the scripted fields followed by one broken field.
class BreakingDescribeDatabase : public db::Database {
  public:
    explicit BreakingDescribeDatabase(db::Database& inner) : m_inner(inner) {}
    void LastServerErrReset() override {}
    int LastServerErr() const override { return 0; }
    QString LastServerErrText() const override { return {}; }
    void Close() override {}

    std::unique_ptr<db::Dynaset> DbCreateDynaset(const QString& sql, int options) override {
        auto dynaset = m_inner.DbCreateDynaset(sql, options);
        if (!sql.contains(QStringLiteral("RowNum < 1")))
            return dynaset;
        return std::make_unique<Breaking>(std::move(dynaset));
    }

  private:
    class Breaking : public db::Dynaset {
      public:
        explicit Breaking(std::unique_ptr<db::Dynaset> inner) : m_inner(std::move(inner)) {}
        bool Eof() const override { return true; }
        void DbMoveNext() override {}
        int FieldCount() const override { return m_inner->FieldCount() + 1; }
        const db::Field& Fields(int index) const override {
            return index < m_inner->FieldCount() ? m_inner->Fields(index) : m_broken;
        }

      private:
        std::unique_ptr<db::Dynaset> m_inner;
        BrokenField m_broken;
    };

    db::Database& m_inner;
};

TEST(LoadTableInfoTest, DescribeFailingMidwayKeepsTheRowsAlreadyMade) {
    ScriptedCatalog catalog;
    catalog.tableCount(1);
    catalog.primaryKey({QStringLiteral("ORD_NO"), QStringLiteral("LINE_NO")});
    catalog.columns(itemColumns());
    BreakingDescribeDatabase database(catalog.database());

    const TableInfoResult result = loadTableInfo(database, QStringLiteral("ITEM"));

    EXPECT_EQ(result.error, QStringLiteral("ORA-03114: not connected"));
    EXPECT_EQ(joinedRows(result.gridRows), linesAfter(kItemTableInfoTxt, 2));
    expectTextsEmpty(result);
}

TEST(LoadTableInfoTest, AwkwardNamesAreQuotedInSqlScriptAndCsvOnly) {
    ScriptedCatalog catalog;
    catalog.tableCount(1);
    catalog.primaryKey({QStringLiteral("ORDER"), QStringLiteral("LINE NO")});
    catalog.columns({describedColumn(QStringLiteral("ORDER"), 2, 5, 22, 7, false),
                     describedColumn(QStringLiteral("Qty"), 1, 0, 10, 10, true),
                     describedColumn(QStringLiteral("LINE NO"), 2, 3, 22, 7, false),
                     describedColumn(QStringLiteral("A,B"), 96, 0, 1, 10, true),
                     describedColumn(QStringLiteral("A\"B"), 12, 0, 7, 8, true)});

    const TableInfoResult result = loadTableInfo(catalog.database(), QStringLiteral("it'em"));

    EXPECT_FALSE(result.error.has_value());
    const QStringList sql = catalog.sqlSent();
    ASSERT_EQ(sql.size(), 3);
    EXPECT_TRUE(sql[0].endsWith(QStringLiteral(" = 'it''em'")));
    EXPECT_TRUE(sql[1].contains(QStringLiteral(" Where c.table_name = 'it''em' AND ")));
    EXPECT_EQ(sql[2], QStringLiteral("SELECT * FROM \"it'em\" WHERE RowNum < 1"));

    EXPECT_EQ(result.strTableInfoCsv, QStringLiteral("it'em\r\n"
                                                     ",,PK,NAME,SIZE,TYPE1,TYPE2,NULL\r\n"
                                                     ",1,※,ORDER,5,NUMBER,Double,Not Null\r\n"
                                                     ",2,,Qty,10,VARCHAR2,String,Null\r\n"
                                                     ",3,※,LINE NO,3,NUMBER,Double,Not Null\r\n"
                                                     ",4,,\"A,B\",1,CHAR,String,Null\r\n"
                                                     ",5,,\"A\"\"B\",7,DATE,Date,Null\r\n"));
    EXPECT_EQ(joinedRows(result.gridRows).at(3), QStringLiteral("4\t\tA,B\t1\tCHAR\tString\tNull"));
    EXPECT_EQ(joinedRows(result.gridRows).at(4), QStringLiteral("5\t\tA\"B\t7\tDATE\tDate\tNull"));
    EXPECT_EQ(result.strPkTxt, QStringLiteral("ORDER\r\nLINE NO\r\n"));
    EXPECT_EQ(result.strCreateTableSql,
              QStringLiteral("CREATE TABLE \"it'em\"(\r\n"
                             "    \"ORDER\"    NUMBER(5)    NOT NULL,\r\n"
                             "    \"Qty\"    VARCHAR2(10)    NULL,\r\n"
                             "    \"LINE NO\"    NUMBER(3)    NOT NULL,\r\n"
                             "    \"A,B\"    CHAR(1)    NULL,\r\n"
                             "    \"A\"\"B\"    DATE    NULL\r\n"
                             ");\r\n"
                             "\r\n"
                             "ALTER TABLE \"it'em\"\r\n"
                             "    ADD ( PRIMARY KEY (\"ORDER\", \r\n"
                             "                       \"LINE NO\") ) ;"));
}

TEST(LoadTableInfoTest, TableNameWithACommaIsQuotedInTheCsvOnly) {
    ScriptedCatalog catalog;
    catalog.tableCount(1);
    catalog.primaryKey({});
    catalog.columns({describedColumn(QStringLiteral("ID"), 2, 4, 22, 7, false)});

    const TableInfoResult result = loadTableInfo(catalog.database(), QStringLiteral("A,B"));

    EXPECT_TRUE(result.strTableInfoCsv.startsWith(QStringLiteral("\"A,B\"\r\n,,PK")));
    EXPECT_TRUE(result.strTableInfoTxt.startsWith(QStringLiteral("A,B\r\n\tPK")));
}

// A tab in a column name stays in its cell: the grid gets the cells one by one.
TEST(LoadTableInfoTest, TabInAColumnNameStaysInItsCell) {
    ScriptedCatalog catalog;
    catalog.tableCount(1);
    catalog.primaryKey({});
    catalog.columns({describedColumn(QStringLiteral("A\tB"), 12, 0, 7, 8, true)});

    const TableInfoResult result = loadTableInfo(catalog.database(), QStringLiteral("T"));

    ASSERT_EQ(result.gridRows.size(), 1);
    EXPECT_EQ(result.gridRows[0], QStringList({"1", "", "A\tB", "7", "DATE", "Date", "Null"}));
}

}  // namespace
}  // namespace quarnel::catalog
