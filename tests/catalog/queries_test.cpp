#include "catalog/queries.h"

#include "item_queries.h"

#include <QStringList>

#include "testing/test_names.h"

#include <gtest/gtest.h>

namespace quarnel::catalog {
namespace {

using namespace fixtures;

TEST(CatalogSqlTest, PlainNamesGiveTheUsualTexts) {
    EXPECT_EQ(tableListSql(), kTableListSql);
    EXPECT_EQ(tableExistsSql(QStringLiteral("ITEM")), kItemExistsSql);
    EXPECT_EQ(primaryKeySql(QStringLiteral("ITEM")), kItemPrimaryKeySql);
    EXPECT_EQ(describeSql(QStringLiteral("ITEM")), kItemDescribeSql);
    EXPECT_EQ(indexColumnsSql(QStringLiteral("ITEM")), kItemIndexSql);
    EXPECT_EQ(indexDirectionsSql(QStringLiteral("ITEM")), kItemIndexDirectionsSql);
    EXPECT_EQ(indexExpressionsSql(QStringLiteral("ITEM")), kItemIndexExpressionsSql);
}

// The name as the dictionary stores it, and how it stands in a literal and in a FROM clause.
struct NameCase {
    const char16_t* name;
    const char16_t* inLiteral;
    const char16_t* inFrom;
};

class QueryNameTest : public ::testing::TestWithParam<NameCase> {};

TEST_P(QueryNameTest, NamesAreInsertedSafely) {
    const QString name = QString::fromUtf16(GetParam().name);
    const QString literal = QString::fromUtf16(GetParam().inLiteral);
    const QString from = QString::fromUtf16(GetParam().inFrom);
    const QString item = QStringLiteral("ITEM");
    auto withName = [&](QString sql, const QString& replacement) {
        return sql.replace(item, replacement);
    };
    EXPECT_EQ(tableExistsSql(name), withName(kItemExistsSql, literal));
    EXPECT_EQ(primaryKeySql(name), withName(kItemPrimaryKeySql, literal));
    EXPECT_EQ(indexColumnsSql(name), withName(kItemIndexSql, literal));
    EXPECT_EQ(indexDirectionsSql(name), withName(kItemIndexDirectionsSql, literal));
    EXPECT_EQ(indexExpressionsSql(name), withName(kItemIndexExpressionsSql, literal));
    EXPECT_EQ(describeSql(name), withName(kItemDescribeSql, from));
}

INSTANTIATE_TEST_SUITE_P(Names, QueryNameTest,
                         ::testing::Values(NameCase{u"ORDERS", u"ORDERS", u"ORDERS"},
                                           NameCase{u"O'NEIL", u"O''NEIL", u"\"O'NEIL\""},
                                           NameCase{u"item", u"item", u"\"item\""},
                                           NameCase{u"MY TABLE", u"MY TABLE", u"\"MY TABLE\""},
                                           NameCase{u"ORDER", u"ORDER", u"\"ORDER\""},
                                           NameCase{u"A\"B", u"A\"B", u"\"A\"\"B\""}),
                         quarnel::testing::nameFrom([](const NameCase& c) { return c.name; }));

TEST(CatalogSqlTest, ListsEveryQueryInTheOrderOfTheLookups) {
    const auto queries = catalogQueries(QStringLiteral("ITEM"));
    ASSERT_EQ(queries.size(), 7u);
    const QStringList expected = {
        kTableListSql,           kItemExistsSql,           kItemPrimaryKeySql, kItemDescribeSql,
        kItemIndexDirectionsSql, kItemIndexExpressionsSql, kItemIndexSql};
    for (size_t i = 0; i < queries.size(); ++i) {
        EXPECT_EQ(queries[i].sql, expected[qsizetype(i)]) << queries[i].purpose;
        EXPECT_EQ(queries[i].options, queries[i].sql == kItemDescribeSql ? 0 : 12);
    }
}

}  // namespace
}  // namespace quarnel::catalog

namespace quarnel::catalog {
namespace {

// Oracle allows a LONG column only in a plain select list: its query reads one view, the column
// is named once, and no condition or function touches it.
TEST(SchemaSqlTest, LongColumnsStandAloneInTheirSelectLists) {
    int longQueries = 0;
    for (const CatalogQuery& query : schemaQueries(QStringLiteral("U"))) {
        for (const char* longColumn : {"data_default", "search_condition", "column_expression"}) {
            const QString column = QLatin1String(longColumn);
            if (!query.sql.contains(column))
                continue;
            ++longQueries;
            EXPECT_EQ(query.sql.count(column), 1) << query.sql.toStdString();
            EXPECT_FALSE(query.sql.contains(u',', Qt::CaseSensitive) &&
                         query.sql.section(QStringLiteral(" FROM "), 1).contains(u','))
                << "a join: " << query.sql.toStdString();
        }
    }
    EXPECT_EQ(longQueries, 3);
}

TEST(SchemaSqlTest, TheUserNameIsALiteralWithItsQuotesDoubled) {
    EXPECT_TRUE(schemaForeignReferencesSql(QStringLiteral("O'NEIL")).contains(u"<> 'O''NEIL'"));
}

}  // namespace
}  // namespace quarnel::catalog
