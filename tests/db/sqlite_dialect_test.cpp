#include "db/sqlite_dialect.h"
#include "db/sqlite_ddl.h"
#include "db/sqlite_key_names.h"

#include "testing/test_names.h"

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
        RewriteCase{"SELECT 'WHERE ROWNUM < 1'", "SELECT 'WHERE ROWNUM < 1'"}),
    quarnel::testing::nameFrom([](const RewriteCase& c) { return c.sql; }));

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

// The naming rule, with the names already taken in the schema and which of them are explicit
// indexes.
struct NamingCase {
    const char* name;
    const char* declared;
    const char* generated;
    QStringList taken;
    QStringList explicitIndexes;
    const char* constraint;
    const char* index;
};

class KeyNamingTest : public ::testing::TestWithParam<NamingCase> {};

TEST_P(KeyNamingTest, KeepsDeclaredNamesAndGivesOthersTheFirstFreeForm) {
    const NamingCase& c = GetParam();
    const auto taken = [&](const QString& name) {
        return c.taken.contains(name, Qt::CaseInsensitive) ||
               c.explicitIndexes.contains(name, Qt::CaseInsensitive);
    };
    const auto explicitIndex = [&](const QString& name) {
        return c.explicitIndexes.contains(name, Qt::CaseInsensitive);
    };
    const KeyNames names = nameKey(QString::fromUtf8(c.declared), QString::fromUtf8(c.generated),
                                   taken, explicitIndex);
    EXPECT_EQ(names.constraint, QString::fromUtf8(c.constraint));
    EXPECT_EQ(names.index, QString::fromUtf8(c.index));
}

INSTANTIATE_TEST_SUITE_P(
    Rule, KeyNamingTest,
    ::testing::Values(
        NamingCase{"GeneratedAndFree", "", "T_PK", {}, {}, "T_PK", "T_PK"},
        NamingCase{"GeneratedTakenByAConstraint", "", "T_PK", {"T_PK"}, {}, "T_PK1", "T_PK1"},
        NamingCase{"GeneratedTakenTwice", "", "T_UK1", {"t_uk1"}, {"T_UK11"}, "T_UK12", "T_UK12"},
        NamingCase{"DeclaredKeptThoughTaken", "K1", "T_PK", {"K1"}, {}, "K1", "K1"},
        NamingCase{"DeclaredNameOfAnExplicitIndex", "K1", "T_PK", {}, {"K1"}, "K1", "K11"},
        NamingCase{"DeclaredNameOfAnExplicitIndexAndMore", "K", "T_PK", {"K1"}, {"K"}, "K", "K2"}),
    [](const ::testing::TestParamInfo<NamingCase>& info) { return std::string(info.param.name); });

TEST(IndexTerms, TellsPlainColumnsFromTermsThatMayBeExpressions) {
    EXPECT_FALSE(mayIndexExpression(QStringLiteral("CREATE INDEX I ON T (A, \"b c\" DESC)")));
    EXPECT_FALSE(
        mayIndexExpression(QStringLiteral("CREATE INDEX I ON T ([A] COLLATE NOCASE ASC)")));
    EXPECT_TRUE(mayIndexExpression(QStringLiteral("CREATE INDEX I ON T (A, lower(B))")));
    EXPECT_TRUE(mayIndexExpression(QStringLiteral("CREATE INDEX I ON T (A + B DESC)")));
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
