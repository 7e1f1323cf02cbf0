#include "db/engines.h"
#include "testing/sqlite_fixture.h"

#include <QFile>

#include <sqlite3.h>

#include <gtest/gtest.h>

namespace quarnel::db {
namespace {

using testing::SqliteFixture;
using Rows = std::vector<std::string>;

// Every kind of key and index the dictionary views have to report.
constexpr const char* kSchema = R"sql(
CREATE TABLE ITEM (
    ORD_NO NUMBER(6) NOT NULL, LINE_NO NUMBER(3) NOT NULL, PRODUCT VARCHAR2(20),
    SHIP_DATE DATE, REMARKS LONG, QTY NUMBER,
    CONSTRAINT ITEM_PK PRIMARY KEY (ORD_NO, LINE_NO));
CREATE INDEX ITEM_IX1 ON ITEM (PRODUCT, SHIP_DATE);
CREATE TABLE STOCK (WH CHAR(3), PRODUCT_CODE VARCHAR2(20), QTY NUMBER(7),
    PRIMARY KEY (PRODUCT_CODE, WH));
CREATE TABLE "order lines" ("line no" INTEGER PRIMARY KEY, NOTE TEXT);
CREATE TABLE lower_case (id number(4) constraint "lc key" primary key,
    "Name" varchar2(10) NOT NULL);
CREATE TABLE DEPT (DEPT_NO NUMBER(4) NOT NULL, DNAME VARCHAR2(30), CODE CHAR(2) UNIQUE,
    CONSTRAINT DEPT_PK PRIMARY KEY (DEPT_NO), CONSTRAINT DEPT_NAME_UK UNIQUE (DNAME));
CREATE TABLE KV (K VARCHAR2(10) PRIMARY KEY, V BLOB) WITHOUT ROWID;
CREATE TABLE NOTES (BODY TEXT, N);
CREATE TABLE EXPR (A VARCHAR2(10), B NUMBER);
CREATE INDEX EXPR_IX1 ON EXPR (lower(A), B DESC);
CREATE VIEW ITEM_VIEW AS SELECT * FROM ITEM;
INSERT INTO ITEM VALUES (1, 1, 'P-1', '2024-04-03', NULL, 10);
INSERT INTO ITEM VALUES (1, 2, '部品', NULL, X'0102', 2.5);
ANALYZE;
)sql";

// The queries the program sends, with ITEM as the chosen table.
const char* const kProgramQueries[] = {
    "SELECT table_name tbl FROM user_tables t",
    "SELECT count(table_name) tbl FROM user_tables t WHERE t.table_name = 'ITEM'",
    "SELECT c.column_name P_KEY FROM user_cons_columns c, user_constraints t Where c.table_name "
    "= upper('ITEM') AND t.constraint_type = 'P' AND c.table_name = t.table_name AND "
    "c.constraint_name = t.constraint_name",
    "SELECT * FROM ITEM WHERE RowNum < 1",
    "SELECT index_name,table_name,column_position,column_name From user_ind_columns WHERE "
    "table_name = 'ITEM' ORDER BY index_name,column_position",
};

class SqliteEngineTest : public ::testing::Test {
  protected:
    void SetUp() override {
        m_path = m_files.createDatabase(QString::fromUtf8(kSchema));
        m_db = OpenSqliteDatabase(m_path);
    }

    // All rows of `sql`, each row's values joined by "|".
    Rows rows(const QString& sql) {
        Rows result;
        auto dynaset = m_db->DbCreateDynaset(sql, 12);
        while (!dynaset->Eof()) {
            QStringList values;
            for (const Field* field : dynaset->Fields())
                values.append(field->Value().toString());
            result.push_back(values.join(u'|').toStdString());
            dynaset->DbMoveNext();
        }
        return result;
    }

    Rows primaryKey(const QString& table) {
        return rows(QStringLiteral("SELECT c.column_name P_KEY FROM user_cons_columns c, "
                                   "user_constraints t Where c.table_name = upper('%1') AND "
                                   "t.constraint_type = 'P' AND c.table_name = t.table_name AND "
                                   "c.constraint_name = t.constraint_name")
                        .arg(table));
    }

    Rows indexColumns(const QString& table) {
        return rows(QStringLiteral("SELECT index_name,table_name,column_position,column_name "
                                   "From user_ind_columns WHERE table_name = '%1' ORDER BY "
                                   "index_name,column_position")
                        .arg(table));
    }

    SqliteFixture m_files;
    QString m_path;
    std::shared_ptr<Database> m_db;
};

TEST_F(SqliteEngineTest, ListsTablesInCreationOrderWithoutViewsOrSqliteTables) {
    EXPECT_EQ(rows(QString::fromUtf8(kProgramQueries[0])),
              (Rows{"ITEM", "STOCK", "order lines", "lower_case", "DEPT", "KV", "NOTES", "EXPR"}));
}

TEST_F(SqliteEngineTest, CountsATableByItsExactName) {
    EXPECT_EQ(rows(QString::fromUtf8(kProgramQueries[1])), Rows{"1"});
    EXPECT_EQ(rows("SELECT count(table_name) tbl FROM user_tables t WHERE t.table_name = 'item'"),
              Rows{"0"});
    EXPECT_EQ(rows("SELECT count(table_name) tbl FROM user_tables t WHERE t.table_name = "
                   "'order lines'"),
              Rows{"1"});
    auto count = m_db->DbCreateDynaset(QString::fromUtf8(kProgramQueries[1]), 12);
    EXPECT_EQ(count->Fields(0).Value().typeId(), QMetaType::LongLong);
}

struct KeyCase {
    const char* table;
    Rows columns;
};

TEST_F(SqliteEngineTest, PrimaryKeyQueryGivesTheKeyColumnsInKeyOrder) {
    const KeyCase cases[] = {
        {"ITEM", {"ORD_NO", "LINE_NO"}},
        {"item", {"ORD_NO", "LINE_NO"}},  // the query upper-cases the name
        {"STOCK", {"PRODUCT_CODE", "WH"}},
        {"KV", {"K"}},
        {"DEPT", {"DEPT_NO"}},
        {"NOTES", {}},
        {"lower_case", {}},  // stored in lower case: upper() misses it
        {"MISSING", {}},
    };
    for (const KeyCase& c : cases) {
        EXPECT_EQ(primaryKey(QString::fromUtf8(c.table)), c.columns) << c.table;
    }
    EXPECT_EQ(rows("SELECT c.column_name P_KEY FROM user_cons_columns c, user_constraints t Where "
                   "c.table_name = 'lower_case' AND t.constraint_type = 'P' AND c.table_name = "
                   "t.table_name AND c.constraint_name = t.constraint_name ORDER BY c.position"),
              Rows{"id"});
    EXPECT_EQ(rows("SELECT c.column_name P_KEY FROM user_cons_columns c, user_constraints t Where "
                   "c.table_name = 'STOCK' AND t.constraint_type = 'P' AND c.table_name = "
                   "t.table_name AND c.constraint_name = t.constraint_name ORDER BY c.position"),
              (Rows{"PRODUCT_CODE", "WH"}));
}

TEST_F(SqliteEngineTest, ConstraintViewsNameKeysAsDeclaredOrAfterTheTable) {
    EXPECT_EQ(rows("SELECT constraint_name, table_name, constraint_type FROM user_constraints "
                   "ORDER BY table_name, constraint_name"),
              (Rows{"DEPT_NAME_UK|DEPT|U", "DEPT_PK|DEPT|P", "DEPT_UK1|DEPT|U", "ITEM_PK|ITEM|P",
                    "KV_PK|KV|P", "STOCK_PK|STOCK|P", "lc key|lower_case|P",
                    "order lines_PK|order lines|P"}));
    EXPECT_EQ(rows("SELECT constraint_name, table_name, column_name, position FROM "
                   "user_cons_columns WHERE table_name IN ('STOCK', 'DEPT') ORDER BY 2, 1, 4"),
              (Rows{"DEPT_NAME_UK|DEPT|DNAME|1", "DEPT_PK|DEPT|DEPT_NO|1", "DEPT_UK1|DEPT|CODE|1",
                    "STOCK_PK|STOCK|PRODUCT_CODE|1", "STOCK_PK|STOCK|WH|2"}));
}

struct IndexCase {
    const char* table;
    Rows rows;
};

TEST_F(SqliteEngineTest, IndexQueryListsEveryIndexWithTheKeyOnce) {
    const IndexCase cases[] = {
        {"ITEM",
         {"ITEM_IX1|ITEM|1|PRODUCT", "ITEM_IX1|ITEM|2|SHIP_DATE", "ITEM_PK|ITEM|1|ORD_NO",
          "ITEM_PK|ITEM|2|LINE_NO"}},
        {"STOCK", {"STOCK_PK|STOCK|1|PRODUCT_CODE", "STOCK_PK|STOCK|2|WH"}},
        {"order lines", {"order lines_PK|order lines|1|line no"}},
        {"KV", {"KV_PK|KV|1|K"}},
        {"DEPT", {"DEPT_NAME_UK|DEPT|1|DNAME", "DEPT_PK|DEPT|1|DEPT_NO", "DEPT_UK1|DEPT|1|CODE"}},
        {"EXPR", {"EXPR_IX1|EXPR|1|SYS_NC00001$", "EXPR_IX1|EXPR|2|B"}},
        {"NOTES", {}},
        {"ITEM_VIEW", {}},
    };
    for (const IndexCase& c : cases) {
        EXPECT_EQ(indexColumns(QString::fromUtf8(c.table)), c.rows) << c.table;
    }
}

TEST_F(SqliteEngineTest, DescribeQueryDescribesEveryColumnWithoutRows) {
    const char* const queries[] = {
        "SELECT * FROM ITEM WHERE RowNum < 1",
        "select * from item where ROWNUM < 1",
        "SELECT * FROM ITEM_VIEW WHERE RowNum < 1",
    };
    for (const char* sql : queries) {
        auto dynaset = m_db->DbCreateDynaset(QString::fromUtf8(sql), 0);
        EXPECT_TRUE(dynaset->Eof()) << sql;
        EXPECT_EQ(
            testing::describeFields(*dynaset),
            (Rows{"ORD_NO 2 6 22 7 not null", "LINE_NO 2 3 22 7 not null", "PRODUCT 1 0 20 10 null",
                  "SHIP_DATE 12 0 7 8 null", "REMARKS 8 0 0 12 null", "QTY 2 0 22 7 null"}))
            << sql;
    }
}

TEST_F(SqliteEngineTest, DescribeQueryTakesQuotedAndLowerCaseNames) {
    auto quoted = m_db->DbCreateDynaset("SELECT * FROM \"order lines\" WHERE RowNum < 1", 0);
    ASSERT_EQ(quoted->FieldCount(), 2);
    EXPECT_EQ(quoted->Fields(0).Name(), QStringLiteral("line no"));
    // Key columns are never null, declared NOT NULL or not.
    EXPECT_FALSE(quoted->Fields(0).OraNullOK());
    EXPECT_EQ(quoted->Fields(1).OraIDataType(), 1);

    auto lower = m_db->DbCreateDynaset("SELECT * FROM lower_case WHERE RowNum < 1", 0);
    ASSERT_EQ(lower->FieldCount(), 2);
    EXPECT_FALSE(lower->Fields(0).OraNullOK());
    EXPECT_EQ(lower->Fields(1).Name(), QStringLiteral("Name"));
    EXPECT_FALSE(lower->Fields(1).OraNullOK());
    EXPECT_EQ(lower->Fields(1).Size(), 10);

    auto untyped = m_db->DbCreateDynaset("SELECT * FROM NOTES WHERE RowNum < 1", 0);
    EXPECT_EQ(untyped->Fields(1).OraIDataType(), 1);
    EXPECT_EQ(untyped->Fields(1).Size(), 4000);
    EXPECT_TRUE(untyped->Fields(1).OraNullOK());
}

TEST_F(SqliteEngineTest, TakesOneStatementWithTrailingSeparatorsAndComments) {
    EXPECT_EQ(rows("SELECT count(*) FROM ITEM; -- two rows\n;"), Rows{"2"});
    EXPECT_THROW(m_db->DbCreateDynaset("SELECT 1; SELECT 2", 0), DbError);
}

TEST_F(SqliteEngineTest, RowsGiveValuesOfTheirStorageClass) {
    auto dynaset = m_db->DbCreateDynaset(
        "SELECT ORD_NO, PRODUCT, SHIP_DATE, REMARKS, QTY FROM ITEM ORDER BY LINE_NO", 0);
    ASSERT_FALSE(dynaset->Eof());
    EXPECT_EQ(dynaset->Fields(0).Value(), QVariant(qlonglong(1)));
    EXPECT_EQ(dynaset->Fields(1).Value(), QVariant(QStringLiteral("P-1")));
    EXPECT_TRUE(dynaset->Fields(3).Value().isNull());
    EXPECT_EQ(dynaset->Fields(4).Value(), QVariant(qlonglong(10)));
    dynaset->DbMoveNext();
    ASSERT_FALSE(dynaset->Eof());
    EXPECT_EQ(dynaset->Fields(1).Value(), QVariant(QStringLiteral("部品")));
    EXPECT_TRUE(dynaset->Fields(2).Value().isNull());
    EXPECT_EQ(dynaset->Fields(3).Value(), QVariant(QByteArray("\x01\x02", 2)));
    EXPECT_EQ(dynaset->Fields(4).Value(), QVariant(2.5));
    dynaset->DbMoveNext();
    EXPECT_TRUE(dynaset->Eof());
    EXPECT_TRUE(dynaset->Fields(0).Value().isNull());
    EXPECT_THROW(dynaset->DbMoveNext(), DbError);
    EXPECT_THROW(dynaset->Fields(5), DbError);
    EXPECT_THROW(dynaset->Fields(-1), DbError);
}

TEST_F(SqliteEngineTest, BadSqlFailsWithSqliteTextAndIsRecorded) {
    EXPECT_EQ(m_db->LastServerErr(), 0);
    try {
        m_db->DbCreateDynaset("SELECT * FROM NO_SUCH_TABLE WHERE RowNum < 1", 0);
        FAIL() << "no failure";
    } catch (const DbError& error) {
        EXPECT_TRUE(error.description().contains(QStringLiteral("no such table")) &&
                    error.description().contains(QStringLiteral("NO_SUCH_TABLE")))
            << error.description().toStdString();
    }
    EXPECT_NE(m_db->LastServerErr(), 0);
    EXPECT_TRUE(m_db->LastServerErrText().contains(QStringLiteral("NO_SUCH_TABLE")));
    m_db->LastServerErrReset();
    EXPECT_EQ(m_db->LastServerErr(), 0);
    EXPECT_TRUE(m_db->LastServerErrText().isEmpty());
}

TEST_F(SqliteEngineTest, RefusesToChangeAnything) {
    const char* const statements[] = {
        "DELETE FROM ITEM",
        "CREATE TABLE X (A)",
        "CREATE TEMP TABLE X (A)",
        "DROP VIEW user_tables",
        "SELECT 1; DELETE FROM ITEM",
        "",
        // Not writes themselves, but a way round the refusal.
        "PRAGMA query_only = OFF",
        "ATTACH DATABASE ':memory:' AS other",
        "DELETE FROM ITEM",
        "CREATE TEMP TABLE X (A)",
    };
    for (const char* sql : statements) {
        EXPECT_THROW(m_db->DbCreateDynaset(QString::fromUtf8(sql), 0), DbError) << sql;
    }
    EXPECT_EQ(rows("SELECT count(*) FROM ITEM"), Rows{"2"});
    EXPECT_EQ(rows(QString::fromUtf8(kProgramQueries[1])), Rows{"1"});
}

TEST_F(SqliteEngineTest, LeavesTheFileUnchanged) {
    const QByteArray before = SqliteFixture::fileHash(m_path);
    for (const char* sql : kProgramQueries)
        rows(QString::fromUtf8(sql));
    for (const char* table : {"STOCK", "DEPT", "EXPR", "KV"}) {
        primaryKey(QString::fromUtf8(table));
        indexColumns(QString::fromUtf8(table));
    }
    m_db->Close();
    m_db.reset();
    EXPECT_EQ(SqliteFixture::fileHash(m_path), before);
}

TEST_F(SqliteEngineTest, CloseEndsQueriesButDynasetsStaySafe) {
    auto dynaset = m_db->DbCreateDynaset("SELECT table_name FROM user_tables", 12);
    m_db->Close();
    EXPECT_THROW(m_db->DbCreateDynaset(QString::fromUtf8(kProgramQueries[0]), 12), DbError);
    EXPECT_EQ(dynaset->Fields(0).Value(), QVariant(QStringLiteral("ITEM")));
    EXPECT_THROW(dynaset->DbMoveNext(), DbError);
    m_db->Close();  // a second close does nothing

    auto db = OpenSqliteDatabase(m_path);
    auto outliving = db->DbCreateDynaset(QString::fromUtf8(kProgramQueries[0]), 12);
    db.reset();
    int count = 0;
    for (; !outliving->Eof(); outliving->DbMoveNext())
        ++count;
    EXPECT_EQ(count, 8);
}

struct RefusalCase {
    const char* name;
    QByteArray content;  // written as the file unless null
};

TEST(SqliteEngineOpen, RefusesWhatIsNotAnSqliteFileWithoutCreatingOne) {
    SqliteFixture files;
    const RefusalCase cases[] = {
        {"missing.db", QByteArray()},
        {"text.db", QByteArray("SQLite format 2\nhello, world\n")},
        {"short.db", QByteArray("SQLite format 3")},
    };
    for (const RefusalCase& c : cases) {
        const QString path = files.filePath(QString::fromUtf8(c.name));
        if (!c.content.isNull())
            files.createFile(c.content, QString::fromUtf8(c.name));
        const QByteArray before = SqliteFixture::fileHash(path);
        try {
            OpenSqliteDatabase(path);
            ADD_FAILURE() << c.name << " was opened";
        } catch (const ServerRefusal& refusal) {
            EXPECT_NE(refusal.number(), 0) << c.name;
            EXPECT_TRUE(refusal.description().contains(path)) << c.name;
        }
        EXPECT_EQ(QFile::exists(path), !c.content.isNull()) << c.name;
        EXPECT_EQ(SqliteFixture::fileHash(path), before) << c.name;
    }
    EXPECT_THROW(OpenSqliteDatabase(QString()), ServerRefusal);
    EXPECT_THROW(OpenSqliteDatabase(files.filePath(QString())), ServerRefusal);  // a directory
}

TEST(SqliteEngineOpen, OpensPathsThatLookLikeUriSyntax) {
    SqliteFixture files;
    const QString path = files.createDatabase(QStringLiteral("CREATE TABLE A (X);"),
                                              QStringLiteral("a?b#c%41 d.db"));
    auto db = OpenSqliteDatabase(path);
    auto dynaset = db->DbCreateDynaset(QStringLiteral("SELECT table_name FROM user_tables"), 12);
    EXPECT_EQ(dynaset->Fields(0).Value(), QVariant(QStringLiteral("A")));
}

TEST(SqliteEngineOpen, SessionOpensSqliteHostStringsAndRecordsRefusals) {
    SqliteFixture files;
    const QString path = files.createDatabase(QStringLiteral("CREATE TABLE A (X);"));
    auto session = CreateSession(QString::fromLatin1(kSessionClassName));
    EXPECT_NE(session->DbOpenDatabase(SqliteFixture::hostFor(path), "scott/tiger", 3), nullptr);
    EXPECT_THROW(session->DbOpenDatabase(SqliteFixture::hostFor(path + "x"), "u/p", 3),
                 ServerRefusal);
    EXPECT_NE(session->LastServerErr(), 0);
    EXPECT_TRUE(session->LastServerErrText().contains(path + "x"));
}

}  // namespace
}  // namespace quarnel::db

namespace quarnel::db {
namespace {

// A key declared without a name is not merged with an index that already bears TABLE_PK.
TEST(SqliteEngineFiles, DefaultKeyNameAvoidsAnIndexOfThatName) {
    testing::SqliteFixture files;
    const QString path =
        files.createDatabase(QStringLiteral("CREATE TABLE T (A VARCHAR2(5) PRIMARY KEY, B NUMBER);"
                                            "CREATE INDEX T_PK ON T (B);"));
    auto db = OpenSqliteDatabase(path);
    auto rows = db->DbCreateDynaset(
        QStringLiteral("SELECT index_name,table_name,column_position,column_name From "
                       "user_ind_columns WHERE table_name = 'T' ORDER BY "
                       "index_name,column_position"),
        12);
    QStringList seen;
    for (; !rows->Eof(); rows->DbMoveNext()) {
        seen << rows->Fields(0).Value().toString() + "|" + rows->Fields(3).Value().toString();
    }
    EXPECT_EQ(seen, QStringList({"T_PK|B", "T_PK1|A"}));
    auto key = db->DbCreateDynaset(
        QStringLiteral("SELECT constraint_name FROM user_constraints WHERE table_name = 'T'"), 12);
    EXPECT_EQ(key->Fields(0).Value().toString(), QStringLiteral("T_PK1"));
}

// Tables created by another program while the file is open show up in the next lookup.
TEST(SqliteEngineFiles, DictionaryFollowsSchemaChangesMadeElsewhere) {
    testing::SqliteFixture files;
    const QString path = files.createDatabase(QStringLiteral("CREATE TABLE A (X NUMBER);"));
    auto db = OpenSqliteDatabase(path);
    const QString exists =
        QStringLiteral("SELECT count(table_name) tbl FROM user_tables t WHERE t.table_name = 'B'");
    EXPECT_EQ(db->DbCreateDynaset(exists, 12)->Fields(0).Value().toInt(), 0);

    sqlite3* writer = nullptr;
    ASSERT_EQ(sqlite3_open(path.toUtf8().constData(), &writer), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(writer, "CREATE TABLE B (Y VARCHAR2(3) PRIMARY KEY);", nullptr, nullptr,
                           nullptr),
              SQLITE_OK);
    sqlite3_close(writer);

    EXPECT_EQ(db->DbCreateDynaset(exists, 12)->Fields(0).Value().toInt(), 1);
    auto list = db->DbCreateDynaset(QStringLiteral("SELECT table_name tbl FROM user_tables t"), 12);
    QStringList names;
    for (; !list->Eof(); list->DbMoveNext())
        names << list->Fields(0).Value().toString();
    EXPECT_EQ(names, QStringList({"A", "B"}));
}

}  // namespace
}  // namespace quarnel::db
