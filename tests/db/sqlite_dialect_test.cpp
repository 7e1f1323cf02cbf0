#include "db/sqlite_dialect.h"
#include "db/sqlite_ddl.h"

#include <gtest/gtest.h>

namespace quarnel::db {
namespace {

struct RewriteCase {
    const char* sql;
    const char* expected;
};

class RowNumRewriteTest : public ::testing::TestWithParam<RewriteCase> {};

TEST_P(RowNumRewriteTest, TurnsATrailingRowNumBoundIntoALimit) {
    EXPECT_EQ(rewriteRowNumLimit(QString::fromUtf8(GetParam().sql)).toStdString(),
              GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RowNumRewriteTest,
    ::testing::Values(
        RewriteCase{"SELECT * FROM ITEM WHERE RowNum < 1", "SELECT * FROM ITEM LIMIT 0"},
        RewriteCase{"select * from item where ROWNUM<1", "select * from item LIMIT 0"},
        RewriteCase{"SELECT * FROM \"order lines\" WHERE RowNum < 1",
                    "SELECT * FROM \"order lines\" LIMIT 0"},
        RewriteCase{"SELECT * FROM T\nWHERE rownum <= 5 ;", "SELECT * FROM T LIMIT 5"},
        RewriteCase{"SELECT * FROM T WHERE ROWNUM < 0", "SELECT * FROM T LIMIT 0"},
        RewriteCase{"SELECT * FROM (SELECT a FROM T WHERE a = 1) WHERE ROWNUM < 11",
                    "SELECT * FROM (SELECT a FROM T WHERE a = 1) LIMIT 10"},
        // Anything else is SQLite's to judge.
        RewriteCase{"SELECT * FROM T WHERE a = 1 AND ROWNUM < 3",
                    "SELECT * FROM T WHERE a = 1 AND ROWNUM < 3"},
        RewriteCase{"SELECT rownum FROM T", "SELECT rownum FROM T"},
        RewriteCase{"SELECT 'WHERE ROWNUM < 1'", "SELECT 'WHERE ROWNUM < 1'"}));

TEST(KeyConstraints, ReadsColumnAndTableConstraintsWithTheirNames) {
    const auto constraints = keyConstraints(QStringLiteral(
        "CREATE TABLE \"Odd \"\"T\"\"\" (\n"
        "  ID number(4) CONSTRAINT \"Id Key\" PRIMARY KEY, -- the key\n"
        "  CODE char(2) NOT NULL CONSTRAINT code_nn CHECK (CODE <> 'PRIMARY KEY') UNIQUE,\n"
        "  A varchar2(5) DEFAULT ('x,y'), B date,\n"
        "  /* named */ constraint AB_UK unique ([A], `B` DESC),\n"
        "  UNIQUE (B))"));
    ASSERT_EQ(constraints.size(), 4u);
    EXPECT_EQ(constraints[0].kind, KeyConstraint::Kind::PrimaryKey);
    EXPECT_EQ(constraints[0].name, QStringLiteral("Id Key"));
    EXPECT_EQ(constraints[0].columns, QStringList{QStringLiteral("ID")});
    // A name given to the CHECK constraint does not carry over to UNIQUE.
    EXPECT_EQ(constraints[1].kind, KeyConstraint::Kind::Unique);
    EXPECT_EQ(constraints[1].name, QString());
    EXPECT_EQ(constraints[1].columns, QStringList{QStringLiteral("CODE")});
    EXPECT_EQ(constraints[2].name, QStringLiteral("AB_UK"));
    EXPECT_EQ(constraints[2].columns, (QStringList{QStringLiteral("A"), QStringLiteral("B")}));
    EXPECT_EQ(constraints[3].name, QString());
}

TEST(KeyNames, PrimaryKeyTakesItsDeclaredNameElseTheTableName) {
    EXPECT_EQ(primaryKeyName(QStringLiteral("ITEM"),
                             QStringLiteral("CREATE TABLE ITEM (A, B, constraint item_key "
                                            "PRIMARY KEY (A, B))")),
              QStringLiteral("item_key"));
    EXPECT_EQ(primaryKeyName(QStringLiteral("STOCK"),
                             QStringLiteral("CREATE TABLE STOCK (A PRIMARY KEY, B)")),
              QStringLiteral("STOCK_PK"));
}

TEST(KeyNames, UniqueIndexTakesTheConstraintWithTheSameColumns) {
    const QString sql = QStringLiteral(
        "CREATE TABLE DEPT (NO, NAME, CODE UNIQUE, CONSTRAINT DEPT_UK1 UNIQUE (name))");
    const auto name = [&](const char* index, QStringList columns) {
        return uniqueKeyName(QStringLiteral("DEPT"), sql, QString::fromLatin1(index), columns);
    };
    EXPECT_EQ(name("sqlite_autoindex_DEPT_2", {QStringLiteral("NAME")}),
              QStringLiteral("DEPT_UK1"));
    EXPECT_EQ(name("sqlite_autoindex_DEPT_3", {QStringLiteral("CODE")}),
              QStringLiteral("DEPT_UK3"));
    // DEPT_UK1 is taken by the named constraint.
    EXPECT_EQ(name("sqlite_autoindex_DEPT_1", {QStringLiteral("CODE")}),
              QStringLiteral("sqlite_autoindex_DEPT_1"));
}

TEST(IndexTerms, GivesTheTextOfEachTerm) {
    const QString sql = QStringLiteral(
        "CREATE INDEX \"ON\" ON T (lower(NAME) COLLATE NOCASE, a + b DESC, C) WHERE C > 0");
    EXPECT_EQ(indexTerm(sql, 0), QStringLiteral("lower(NAME) COLLATE NOCASE"));
    EXPECT_EQ(indexTerm(sql, 1), QStringLiteral("a + b"));
    EXPECT_EQ(indexTerm(sql, 2), QStringLiteral("C"));
    EXPECT_EQ(indexTerm(sql, 3), QString());
    EXPECT_EQ(indexTerm(QString(), 0), QString());
}

}  // namespace
}  // namespace quarnel::db
