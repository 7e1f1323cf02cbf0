// The names the embedded engine reports for keys and indexes, and the names of tables it can
// describe.
#include "db/engines.h"
#include "testing/sqlite_fixture.h"

#include <QFile>

#include <gtest/gtest.h>
#include <sqlite3.h>

namespace quarnel::db {
namespace {

using testing::SqliteFixture;
using Rows = std::vector<std::string>;

// All rows of `sql` on `db`, each row's values joined by "|".
Rows rowsOf(Database& db, const QString& sql) {
    Rows result;
    auto dynaset = db.DbCreateDynaset(sql, 12);
    for (; !dynaset->Eof(); dynaset->DbMoveNext()) {
        QStringList values;
        for (const Field* field : dynaset->Fields())
            values.append(field->Value().toString());
        result.push_back(values.join(u'|').toStdString());
    }
    return result;
}

TEST(SqliteKeyNames, DoubledQuoteInADeclaredNameStandsForOne) {
    SqliteFixture files;
    auto db = OpenSqliteDatabase(files.createDatabase(
        QStringLiteral("CREATE TABLE Q (A NUMBER, B NUMBER CONSTRAINT \"Q \"\"U\"\"\" UNIQUE,"
                       " CONSTRAINT \"Q\"\"K\" PRIMARY KEY (A));")));
    EXPECT_EQ(rowsOf(*db, QStringLiteral("SELECT constraint_name, constraint_type FROM "
                                         "user_constraints ORDER BY 2")),
              (Rows{"Q\"K|P", "Q \"U\"|U"}));
}

// Schemas in which a generated or declared name meets another key's or index's name: every key
// and index still comes out on its own.
struct ClashCase {
    const char* name;
    const char* schema;
    const char* table;
    Rows constraints;   // name|type, by name
    Rows indexColumns;  // index|position|column, by index and position
};

void PrintTo(const ClashCase& c, std::ostream* out) {
    *out << c.name;
}

class SqliteKeyClashTest : public ::testing::TestWithParam<ClashCase> {};

TEST_P(SqliteKeyClashTest, KeysAndIndexesStayApart) {
    const ClashCase& c = GetParam();
    SqliteFixture files;
    auto db = OpenSqliteDatabase(files.createDatabase(QString::fromUtf8(c.schema)));
    const QString table = QString::fromUtf8(c.table);
    EXPECT_EQ(rowsOf(*db, QStringLiteral("SELECT constraint_name, constraint_type FROM "
                                         "user_constraints WHERE table_name = '%1' ORDER BY 1")
                              .arg(table)),
              c.constraints);
    EXPECT_EQ(rowsOf(*db, QStringLiteral("SELECT index_name,column_position,column_name From "
                                         "user_ind_columns WHERE table_name = '%1' ORDER BY "
                                         "index_name,column_position")
                              .arg(table)),
              c.indexColumns);
}

INSTANTIATE_TEST_SUITE_P(
    Schemas, SqliteKeyClashTest,
    ::testing::Values(
        ClashCase{
            "GeneratedKeyNameDeclaredForAUniqueKey",
            "CREATE TABLE CLASH(A INTEGER PRIMARY KEY, B TEXT, CONSTRAINT CLASH_PK UNIQUE(B));",
            "CLASH",
            {"CLASH_PK|U", "CLASH_PK1|P"},
            {"CLASH_PK|1|B", "CLASH_PK1|1|A"}},
        ClashCase{"GeneratedUniqueNameOfAnExplicitIndex",
                  "CREATE TABLE U1(A TEXT UNIQUE, B TEXT); CREATE INDEX U1_UK1 ON U1(B);",
                  "U1",
                  {"U1_UK11|U"},
                  {"U1_UK1|1|B", "U1_UK11|1|A"}},
        ClashCase{"DeclaredKeyNameOfAnExplicitIndex",
                  "CREATE TABLE T(a,b,c, CONSTRAINT K1 PRIMARY KEY(a)); CREATE INDEX K1 ON T(c);",
                  "T",
                  {"K1|P"},
                  {"K1|1|c", "K11|1|a"}},
        ClashCase{"OneDeclaredNameForAKeyAndAUniqueKey",
                  "CREATE TABLE T(a INTEGER, b TEXT, CONSTRAINT K PRIMARY KEY(a),"
                  " CONSTRAINT K UNIQUE(b));",
                  "T",
                  {"K|P", "K1|U"},
                  {"K|1|a", "K1|1|b"}},
        ClashCase{"OneDeclaredNameForTwoUniqueKeys",
                  "CREATE TABLE T(c, d, CONSTRAINT Q UNIQUE(d), CONSTRAINT Q UNIQUE(c));",
                  "T",
                  {"Q|U", "Q1|U"},
                  {"Q|1|d", "Q1|1|c"}},
        ClashCase{"OneDeclaredNameInTwoTables",
                  "CREATE TABLE A(x, CONSTRAINT K PRIMARY KEY(x));"
                  "CREATE TABLE B(y, CONSTRAINT K PRIMARY KEY(y));",
                  "B",
                  {"K1|P"},
                  {"K1|1|y"}},
        ClashCase{"KeyOfATableWithoutRowid",
                  "CREATE TABLE W (a TEXT, b TEXT, CONSTRAINT W_K PRIMARY KEY (b, a))"
                  " WITHOUT ROWID;",
                  "W",
                  {"W_K|P"},
                  {"W_K|1|b", "W_K|2|a"}},
        ClashCase{"NameTakenInAnotherTable",
                  "CREATE TABLE A (X NUMBER, CONSTRAINT B_PK UNIQUE (X));"
                  "CREATE TABLE B (Y NUMBER PRIMARY KEY);",
                  "B",
                  {"B_PK1|P"},
                  {"B_PK1|1|Y"}}),
    [](const ::testing::TestParamInfo<ClashCase>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace quarnel::db

namespace quarnel::db {
namespace {

// The primary key query of the program gives the key's own columns only, though a UNIQUE
// constraint is declared with the name the key would otherwise get.
TEST(SqliteKeyNames, PrimaryKeyQueryKeepsToTheKeyWhenAUniqueKeyHasItsName) {
    SqliteFixture files;
    auto db = OpenSqliteDatabase(files.createDatabase(QStringLiteral(
        "CREATE TABLE CLASH(A INTEGER PRIMARY KEY, B TEXT, CONSTRAINT CLASH_PK UNIQUE(B));")));
    EXPECT_EQ(rowsOf(*db, QStringLiteral("SELECT c.column_name P_KEY FROM user_cons_columns c, "
                                         "user_constraints t Where c.table_name = 'CLASH' AND "
                                         "t.constraint_type = 'P' AND c.table_name = t.table_name "
                                         "AND c.constraint_name = t.constraint_name ORDER BY "
                                         "c.position")),
              Rows{"A"});
}

// Expression and descending index columns as Oracle's dictionary reports them: a system name
// and the expression in user_ind_expressions; the direction in user_ind_columns.descend.
TEST(SqliteIndexColumns, ExpressionsGetSystemNamesAndDirectionsAreReported) {
    SqliteFixture files;
    auto db = OpenSqliteDatabase(files.createDatabase(QStringLiteral(
        "CREATE TABLE EXPR (ID NUMBER, NAME VARCHAR2(10), AGE NUMBER, PRIMARY KEY (ID DESC));"
        "CREATE INDEX EXPR_LOWER ON EXPR(lower(NAME), AGE DESC);")));
    EXPECT_EQ(
        rowsOf(*db, QStringLiteral("SELECT index_name, column_position, column_name, "
                                   "descend FROM user_ind_columns WHERE table_name = "
                                   "'EXPR' ORDER BY 1, 2")),
        (Rows{"EXPR_LOWER|1|SYS_NC00001$|ASC", "EXPR_LOWER|2|AGE|DESC", "EXPR_PK|1|ID|DESC"}));
    EXPECT_EQ(rowsOf(*db, QStringLiteral("SELECT index_name, table_name, column_expression, "
                                         "column_position FROM user_ind_expressions")),
              Rows{"EXPR_LOWER|EXPR|lower(NAME)|1"});
}

// The primary key columns of `table` through the program's own query.
Rows primaryKey(Database& db, const QString& table) {
    QString literal = table;
    literal.replace(u'\'', QStringLiteral("''"));
    return rowsOf(db, QStringLiteral("SELECT c.column_name P_KEY FROM user_cons_columns c, "
                                     "user_constraints t Where c.table_name = '%1' AND "
                                     "t.constraint_type = 'P' AND c.table_name = t.table_name AND "
                                     "c.constraint_name = t.constraint_name ORDER BY c.position")
                          .arg(literal));
}

// Names that differ only by a byte order mark or by bytes that are not UTF-8 stay four tables,
// each listed once and each read as itself.
TEST(SqliteTableNames, NamesDifferingInBytesStayApart) {
    SqliteFixture files;
    const QString path = files.filePath(QStringLiteral("bytes.db"));
    sqlite3* writer = nullptr;
    ASSERT_EQ(sqlite3_open(QFile::encodeName(path).constData(), &writer), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(writer,
                           "CREATE TABLE \"T\" (a PRIMARY KEY);"
                           "CREATE TABLE \"\xEF\xBB\xBFT\" (pw PRIMARY KEY);"
                           "CREATE TABLE \"\xFF\" (f PRIMARY KEY);"
                           "CREATE TABLE \"\xFE\" (e PRIMARY KEY);",
                           nullptr, nullptr, nullptr),
              SQLITE_OK);
    sqlite3_close(writer);
    auto db = OpenSqliteDatabase(path);
    QStringList tables;
    for (auto d = db->DbCreateDynaset(QStringLiteral("SELECT table_name FROM user_tables"), 12);
         !d->Eof(); d->DbMoveNext())
        tables << d->Fields(0).Value().toString();
    ASSERT_EQ(tables, (QStringList{QStringLiteral("T"), QStringLiteral("\uFEFFT"),
                                   QStringLiteral("\\xFF"), QStringLiteral("\\xFE")}));
    const char* keys[] = {"a", "pw", "f", "e"};
    for (qsizetype i = 0; i < tables.size(); ++i) {
        const QString& table = tables[i];
        EXPECT_EQ(primaryKey(*db, table), Rows{keys[i]}) << keys[i];
        auto described = db->DbCreateDynaset(
            QStringLiteral("SELECT * FROM \"%1\" WHERE RowNum < 1").arg(table), 0);
        EXPECT_EQ(described->Fields(0).Name(), QString::fromLatin1(keys[i]));
    }
}

// A table of the user's named like one of SQLite's pragma table functions hides nothing.
class SqlitePragmaNamedTableTest : public ::testing::TestWithParam<const char*> {};

TEST_P(SqlitePragmaNamedTableTest, KeysIndexesAndDescribesStillRead) {
    SqliteFixture files;
    auto db = OpenSqliteDatabase(files.createDatabase(
        QStringLiteral("CREATE TABLE %1 (x); CREATE TABLE T (a PRIMARY KEY, b);"
                       "CREATE INDEX T_IX ON T (b DESC);")
            .arg(QLatin1String(GetParam()))));
    EXPECT_EQ(primaryKey(*db, QStringLiteral("T")), Rows{"a"});
    EXPECT_EQ(rowsOf(*db, QStringLiteral("SELECT index_name, column_name, descend FROM "
                                         "user_ind_columns WHERE table_name = 'T' ORDER BY 1")),
              (Rows{"T_IX|b|DESC", "T_PK|a|ASC"}));
    EXPECT_EQ(rowsOf(*db, QStringLiteral("SELECT column_name FROM user_tab_columns")),
              (Rows{"x", "a", "b"}));
    auto described = db->DbCreateDynaset(
        QStringLiteral("SELECT * FROM %1 WHERE RowNum < 1").arg(QLatin1String(GetParam())), 0);
    EXPECT_EQ(described->Fields(0).Name(), QStringLiteral("x"));
}

INSTANTIATE_TEST_SUITE_P(Names, SqlitePragmaNamedTableTest,
                         ::testing::Values("pragma_table_info", "pragma_table_xinfo",
                                           "pragma_index_list", "pragma_index_info",
                                           "pragma_index_xinfo", "pragma_foreign_key_list"));

// Only SQLite's own tables (sqlite_ in any case) are left out of the list.
TEST(SqliteTableNames, NamesLikeSqlitesOwnAreListed) {
    SqliteFixture files;
    auto db = OpenSqliteDatabase(
        files.createDatabase(QStringLiteral("CREATE TABLE A (id INTEGER PRIMARY KEY AUTOINCREMENT);"
                                            "CREATE TABLE SQLITEDATA (x);"
                                            "CREATE TABLE sqlite3_log (x);")));
    EXPECT_EQ(rowsOf(*db, QStringLiteral("SELECT table_name FROM user_tables")),
              (Rows{"A", "SQLITEDATA", "sqlite3_log"}));
}

// Key and index names come from the file open now, not from one opened before with a table of
// the same name.
TEST(SqliteKeyNames, AreTheFileOpenNow) {
    SqliteFixture files;
    const QString first = files.createDatabase(
        QStringLiteral("CREATE TABLE T (a, b, CONSTRAINT FIRST_K PRIMARY KEY (a), UNIQUE (b));"),
        QStringLiteral("first.db"));
    const QString second = files.createDatabase(
        QStringLiteral("CREATE TABLE T (a, b, CONSTRAINT SECOND_K PRIMARY KEY (a),"
                       " CONSTRAINT SECOND_U UNIQUE (b));"),
        QStringLiteral("second.db"));
    const QString names =
        QStringLiteral("SELECT index_name FROM user_ind_columns WHERE table_name = 'T' ORDER BY 1");
    auto db = OpenSqliteDatabase(first);
    EXPECT_EQ(rowsOf(*db, names), (Rows{"FIRST_K", "T_UK2"}));
    db->Close();
    db = OpenSqliteDatabase(second);
    EXPECT_EQ(rowsOf(*db, names), (Rows{"SECOND_K", "SECOND_U"}));
}

}  // namespace
}  // namespace quarnel::db
