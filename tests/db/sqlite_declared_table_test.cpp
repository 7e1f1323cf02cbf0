// A table's columns and indexes read from its statements, against what SQLite's PRAGMAs report
// of the same table: equal wherever the reader answers, and an answer for the plain forms.
#include "db/sqlite_declared_table.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <memory>

namespace quarnel::db {
namespace {

struct DatabaseCloser {
    void operator()(sqlite3* db) const { sqlite3_close(db); }
};
using Database = std::unique_ptr<sqlite3, DatabaseCloser>;

std::string text(sqlite3_stmt* s, int column) {
    const auto* bytes = reinterpret_cast<const char*>(sqlite3_column_text(s, column));
    return bytes ? std::string(bytes, size_t(sqlite3_column_bytes(s, column))) : "<null>";
}

// The rows of `sql` with `argument` bound to ?1: each column's text joined by '|', the rows by
// newlines.
std::string rows(sqlite3* db, const char* sql, const std::string& argument) {
    sqlite3_stmt* s = nullptr;
    EXPECT_EQ(sqlite3_prepare_v2(db, sql, -1, &s, nullptr), SQLITE_OK) << sql;
    sqlite3_bind_text(s, 1, argument.c_str(), -1, SQLITE_TRANSIENT);
    std::string out;
    while (sqlite3_step(s) == SQLITE_ROW) {
        for (int i = 0; i < sqlite3_column_count(s); ++i)
            out += (i ? "|" : "") + text(s, i);
        out += '\n';
    }
    sqlite3_finalize(s);
    return out;
}

// What SQLite's PRAGMAs say of `table`, in the reader's terms.
std::string fromPragmas(sqlite3* db, const std::string& table) {
    std::string out = rows(db,
                           "SELECT name, type, \"notnull\", dflt_value, pk"
                           " FROM pragma_table_xinfo(?1)",
                           table);
    sqlite3_stmt* list = nullptr;
    sqlite3_prepare_v2(db, "SELECT name, \"unique\", origin FROM pragma_index_list(?1)", -1, &list,
                       nullptr);
    sqlite3_bind_text(list, 1, table.c_str(), -1, SQLITE_TRANSIENT);
    while (sqlite3_step(list) == SQLITE_ROW) {
        out += text(list, 0) + "|" + text(list, 1) + "|" + text(list, 2) + ":";
        out += rows(db, "SELECT name, \"desc\" FROM pragma_index_xinfo(?1) WHERE key = 1",
                    text(list, 0));
    }
    sqlite3_finalize(list);
    return out;
}

std::string fromReader(const DeclaredTable& table) {
    std::string out;
    for (const DeclaredTable::Column& c : table.columns) {
        out += c.name.toStdString() + "|" + c.type.toStdString() + "|" + (c.notNull ? "1" : "0") +
               "|" + (c.defaultText ? c.defaultText->toStdString() : "<null>") + "|" +
               std::to_string(c.primaryKey) + "\n";
    }
    for (const DeclaredTable::Index& index : table.indexes) {
        out += index.name.toStdString() + "|" + (index.unique ? "1" : "0") + "|" +
               index.origin.toStdString() + ":";
        for (const auto& column : index.columns)
            out += column.name.toStdString() + "|" + (column.descending ? "1" : "0") + "\n";
    }
    return out;
}

struct Case {
    const char* label;
    const char* script;
    bool read;  // whether the reader answers for every table of the script
};

void PrintTo(const Case& c, std::ostream* os) {
    *os << c.label;
}

class DeclaredTableTest : public ::testing::TestWithParam<Case> {};

TEST_P(DeclaredTableTest, AnswersAsSQLitesPragmasDo) {
    sqlite3* raw = nullptr;
    ASSERT_EQ(sqlite3_open(":memory:", &raw), SQLITE_OK);
    const Database db(raw);
    char* error = nullptr;
    ASSERT_EQ(sqlite3_exec(raw, GetParam().script, nullptr, nullptr, &error), SQLITE_OK)
        << (error ? error : "");
    sqlite3_stmt* tables = nullptr;
    sqlite3_prepare_v2(raw,
                       "SELECT name, sql FROM sqlite_schema WHERE type = 'table' AND name NOT "
                       "LIKE 'sqlite%' ORDER BY rowid",
                       -1, &tables, nullptr);
    int answered = 0;
    int count = 0;
    while (sqlite3_step(tables) == SQLITE_ROW) {
        ++count;
        const std::string name = text(tables, 0);
        std::vector<IndexStatement> indexes;
        sqlite3_stmt* s = nullptr;
        sqlite3_prepare_v2(raw,
                           "SELECT name, sql FROM sqlite_schema WHERE type = 'index' AND "
                           "tbl_name = ?1 AND sql IS NOT NULL ORDER BY rowid",
                           -1, &s, nullptr);
        sqlite3_bind_text(s, 1, name.c_str(), -1, SQLITE_STATIC);
        while (sqlite3_step(s) == SQLITE_ROW) {
            indexes.push_back(
                {QByteArray::fromStdString(text(s, 0)), QString::fromStdString(text(s, 1))});
        }
        sqlite3_finalize(s);
        const auto declared = readDeclaredTable(QByteArray::fromStdString(name),
                                                QString::fromStdString(text(tables, 1)), indexes);
        if (declared) {
            ++answered;
            EXPECT_EQ(fromReader(*declared), fromPragmas(raw, name)) << name;
        }
    }
    sqlite3_finalize(tables);
    EXPECT_EQ(answered, GetParam().read ? count : 0);
}

INSTANTIATE_TEST_SUITE_P(
    Statements, DeclaredTableTest,
    ::testing::Values(
        Case{"KeyAndIndex",
             "CREATE TABLE T (ID INTEGER NOT NULL, NAME VARCHAR2(40), PRICE NUMBER(9,2),"
             " CONSTRAINT T_PK PRIMARY KEY (ID)); CREATE INDEX T_IX ON T (NAME);",
             true},
        Case{"DefaultsAsWritten",
             "create table t(a int default 0 not null, b text default 'x''y' , c default ( 1 + "
             "2 ) , d default - 1, e default +  2.5, f default current_timestamp, g default abc,"
             " h default null, i default x'00', n default(-1)check(n>0), o DEFAULT 1e3 NULL);"
             "ALTER TABLE t ADD COLUMN p VARCHAR(5) DEFAULT 'q' NOT NULL;",
             true},
        Case{"TypesAsSpelled",
             "create table t(k VARCHAR ( 10 ) , l double  precision primary key, m int /*c*/ "
             "(3), n NUMBER(+5, -2), \"名前\" NVARCHAR2(20), o);",
             true},
        Case{"KeysShareIndexes",
             "create table u(a integer, b unique, c unique, d, unique(d,c), unique(c),"
             " constraint x primary key(d)); create index u1 on u(b);"
             " create unique index if not exists u2 on u(c desc, D) where c > 0;"
             "create table v(a text, unique(a), primary key(a));",
             true},
        Case{"RowidAliases",
             "create table a(x INTEGER PRIMARY KEY DESC, y);"
             "create table b(x integer primary key asc autoincrement, y);"
             "create table c(x integer, y, primary key(x));"
             "create table d(x int primary key, y);"
             "create table e(x INTEGER, y, primary key(x desc), unique(x));"
             "create table f(x INTEGER(10) PRIMARY KEY);",
             true},
        Case{"ForeignKeysAndChecksWithoutCommas",
             "create table p(x primary key);"
             "create table f(a INTEGER REFERENCES p(x) ON DELETE CASCADE ON UPDATE SET NULL"
             " MATCH FULL DEFERRABLE INITIALLY DEFERRED, b TEXT NOT DEFERRABLE,"
             " CONSTRAINT c1 CHECK (b <> ')') UNIQUE (b) FOREIGN KEY (b) REFERENCES p"
             " NOT DEFERRABLE);",
             true},
        Case{"QuotedAndJapaneseNames",
             "create table [t x](\"a\"\"b\" TEXT -- (\n, [c d] INT /* ) */, `e``f` INT UNIQUE,"
             " 名前・カナ TEXT, PRIMARY KEY(\"C D\", 名前・カナ));"
             "create index \"i\"\"1\" on [t x](\"A\"\"B\", `e``f` desc);",
             true},
        Case{"KeyOrderAndCase",
             "create table MixedCase(a$b unsigned /*x*/ big int, c, unique(c desc), unique(c),"
             " primary key(c, a$b), unique(a$b, c)); create index i on mixedcase(C, A$B);",
             true},
        // A byte order mark where a token starts is white space; inside a name it is part of it.
        Case{"ByteOrderMarks",
             "create table t(\xEF\xBB\xBF"
             "a \xEF\xBB\xBF"
             "int \xEF\xBB\xBF"
             "not null"
             " default (\xEF\xBB\xBF"
             "1) unique, b\xEF\xBB\xBF"
             "c \xEF\xBB\xBF"
             "x);"
             "create index i on t(\xEF\xBB\xBF"
             "b\xEF\xBB\xBF"
             "c desc);",
             true},
        Case{"Collation", "create table t(a text collate nocase unique);", false},
        // SQLite cuts "always" off the end of a long type.
        Case{"TypeEndingInAlways", "create table t(a longtypenamealways);", false},
        Case{"WithoutRowid", "create table t(a text primary key) without rowid;", false},
        Case{"Strict", "create table t(a integer) strict;", false},
        Case{"ConflictClause", "create table t(a unique on conflict replace);", false},
        Case{"Generated", "create table t(a int, b int generated always as (a+1));", false},
        Case{"ExpressionIndex", "create table t(a); create index i on t(lower(a));", false},
        Case{"IndexCollation", "create table t(a); create index i on t(a collate nocase);", false},
        Case{"KeywordName", "create table t(\"a\", key int);", false},
        Case{"StringName", "create table t('a' int);", false},
        Case{"AsSelect", "create table s(a int, b); create table t as select * from s;", true}));

}  // namespace
}  // namespace quarnel::db
