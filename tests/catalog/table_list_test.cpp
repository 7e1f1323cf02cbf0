#include "catalog/table_list.h"

#include "item_queries.h"
#include "scripted_catalog.h"

#include "testing/test_names.h"

#include <gtest/gtest.h>

namespace quarnel::catalog {
namespace {

using namespace fixtures;

QStringList numberedNames(int count) {
    QStringList names;
    for (int i = 0; i < count; ++i)
        names.append(QStringLiteral("TABLE_%1").arg(i));
    return names;
}

class TableListTest : public ::testing::TestWithParam<int> {};

TEST_P(TableListTest, ReadsEveryNameInRowOrder) {
    const QStringList names = numberedNames(GetParam());
    ScriptedCatalog catalog;
    catalog.tableNames(names);

    const TableListResult result = readTableList(catalog.database());

    EXPECT_FALSE(result.error.has_value());
    EXPECT_EQ(result.names.toStringList(), names);
    EXPECT_EQ(result.countText, tableCountText(names.size()));
    QString expected = result.countText + QStringLiteral("\r\n");
    for (const QString& name : names)
        expected += name + QStringLiteral("\r\n");
    EXPECT_EQ(result.strTableListTxt, expected);
    EXPECT_EQ(catalog.sqlSent(), QStringList(kTableListSql));
    EXPECT_EQ(catalog.optionsSent(), std::vector<int>({12}));
    EXPECT_EQ(catalog.openDynasets(), 0);
}

INSTANTIATE_TEST_SUITE_P(Sizes, TableListTest, ::testing::Values(0, 1, 2, 5000),
                         quarnel::testing::nameFrom([](int tables) {
                             return QStringLiteral("Tables%1").arg(tables);
                         }));

TEST(TableListTextTest, CountTextAndLayout) {
    ScriptedCatalog catalog;
    catalog.tableNames({QStringLiteral("A"), QStringLiteral(" B ")});

    const TableListResult result = readTableList(catalog.database());

    EXPECT_EQ(result.countText, QStringLiteral("ﾃｰﾌﾞﾙ総数 : 2件"));
    EXPECT_EQ(result.strTableListTxt, QStringLiteral("ﾃｰﾌﾞﾙ総数 : 2件\r\nA\r\n B \r\n"));
    EXPECT_EQ(tableCountText(0), QStringLiteral("ﾃｰﾌﾞﾙ総数 : 0件"));
    EXPECT_EQ(tableCountText(100000), QStringLiteral("ﾃｰﾌﾞﾙ総数 : 100000件"));
}

TEST(TableListTextTest, FetchFailingMidwayKeepsTheNamesReadAndNoText) {
    ScriptedCatalog catalog;
    catalog.tableNames(numberedNames(10), 3);

    const TableListResult result = readTableList(catalog.database());

    EXPECT_EQ(result.error, QStringLiteral("ORA-03113: end-of-file on communication channel"));
    EXPECT_EQ(result.names.toStringList(), numberedNames(3));
    EXPECT_TRUE(result.countText.isEmpty());
    EXPECT_TRUE(result.strTableListTxt.isEmpty());
    EXPECT_EQ(catalog.openDynasets(), 0);
}

TEST(TableListTextTest, RefusedQueryReadsNothing) {
    ScriptedCatalog catalog;
    catalog.fail(QStringLiteral("user_tables"), QStringLiteral("ORA-01012: not logged on"));

    const TableListResult result = readTableList(catalog.database());

    EXPECT_EQ(result.error, QStringLiteral("ORA-01012: not logged on"));
    EXPECT_TRUE(result.names.isEmpty());
    EXPECT_TRUE(result.strTableListTxt.isEmpty());
}

}  // namespace
}  // namespace quarnel::catalog
