#include "catalog/index_info.h"

#include "item_queries.h"
#include "item_texts.h"
#include "scripted_catalog.h"

#include <gtest/gtest.h>

#include <set>

namespace quarnel::catalog {
namespace {

using namespace fixtures;

std::vector<IndexRow> itemIndexRows() {
    return {IndexRow{"ITEM_IX1", "ITEM", 1, "PRODUCT"},
            IndexRow{"ITEM_IX1", "ITEM", 2, "SHIP_DATE"}, IndexRow{"ITEM_PK", "ITEM", 1, "ORD_NO"},
            IndexRow{"ITEM_PK", "ITEM", 2, "LINE_NO"}};
}

// A node as "parent|key|text|image|selected image|visible".
QString describe(const IndexTreeNode& node) {
    return QStringList{
        node.parentKey,     node.key,
        node.text,          node.image,
        node.selectedImage, node.ensureVisible ? QStringLiteral("visible") : QString()}
        .join(u'|');
}

QStringList describe(const std::vector<IndexTreeNode>& nodes) {
    QStringList described;
    for (const auto& node : nodes)
        described.append(describe(node));
    return described;
}

// Every key is given once, and every parent key names a node added before.
void expectKeysUnique(const std::vector<IndexTreeNode>& nodes) {
    std::set<QString> keys;
    for (const auto& node : nodes) {
        if (!node.parentKey.isEmpty()) {
            EXPECT_TRUE(keys.count(node.parentKey)) << node.parentKey.toStdString();
        }
        if (!node.key.isEmpty()) {
            EXPECT_TRUE(keys.insert(node.key).second) << node.key.toStdString();
        }
    }
}

void expectTextsEmpty(const IndexInfoResult& result) {
    EXPECT_TRUE(result.strIndexInfoCsv.isEmpty());
    EXPECT_TRUE(result.strIndexInfoTxt.isEmpty());
    EXPECT_TRUE(result.strCreateIndexSql.isEmpty());
}

TEST(LoadIndexInfoTest, ItemGivesEveryTextAndNodeOfTheIndexDefinition) {
    ScriptedCatalog catalog;
    catalog.tableCount(1);
    catalog.indexRows(itemIndexRows());

    const IndexInfoResult result = loadIndexInfo(catalog.database(), QStringLiteral("ITEM"));

    EXPECT_FALSE(result.error.has_value());
    EXPECT_TRUE(result.exists);
    EXPECT_EQ(result.strIndexInfoCsv, kItemIndexInfoCsv);
    EXPECT_EQ(result.strIndexInfoTxt, kItemIndexInfoTxt);
    EXPECT_EQ(result.strCreateIndexSql, kItemCreateIndexSql);
    EXPECT_EQ(describe(result.nodes), QStringList({
                                          "|T:ITEM|ITEM|a|d|",
                                          "T:ITEM|I:ITEM_IX1|ITEM_IX1|b|e|",
                                          "I:ITEM_IX1||1 PRODUCT|c|f|visible",
                                          "I:ITEM_IX1||2 SHIP_DATE|c|f|visible",
                                          "T:ITEM|I:ITEM_PK|ITEM_PK|b|e|",
                                          "I:ITEM_PK||1 ORD_NO|c|f|visible",
                                          "I:ITEM_PK||2 LINE_NO|c|f|visible",
                                      }));
    expectKeysUnique(result.nodes);
    EXPECT_EQ(catalog.sqlSent(), QStringList({kItemExistsSql, kItemIndexDirectionsSql,
                                              kItemIndexExpressionsSql, kItemIndexSql}));
    EXPECT_EQ(catalog.optionsSent(), std::vector<int>({12, 12, 12, 12}));
    EXPECT_EQ(catalog.openDynasets(), 0);
}

TEST(LoadIndexInfoTest, TableWithoutIndexes) {
    ScriptedCatalog catalog;
    catalog.tableCount(1);
    catalog.indexRows({});

    const IndexInfoResult result = loadIndexInfo(catalog.database(), QStringLiteral("LOG"));

    EXPECT_EQ(result.strIndexInfoCsv,
              kItemIndexInfoCsv.section(QStringLiteral("\r\n"), 0, 0) + QStringLiteral("\r\nLOG"));
    EXPECT_EQ(result.strIndexInfoTxt,
              kItemIndexInfoTxt.section(QStringLiteral("\r\n"), 0, 0) + QStringLiteral("\r\nLOG"));
    EXPECT_EQ(result.strCreateIndexSql, QStringLiteral("\r\n"));
    EXPECT_EQ(describe(result.nodes), QStringList({"|T:LOG|LOG|a|d|"}));
}

TEST(LoadIndexInfoTest, OneColumnIndexesFollowOneAnother) {
    ScriptedCatalog catalog;
    catalog.tableCount(1);
    catalog.indexRows({IndexRow{"LOG_IX", "LOG", 1, "AT"}, IndexRow{"LOG_PK", "LOG", 1, "ID"}});

    const IndexInfoResult result = loadIndexInfo(catalog.database(), QStringLiteral("LOG"));

    EXPECT_EQ(result.strCreateIndexSql, QStringLiteral("CREATE INDEX LOG_IX ON \r\n"
                                                       "    LOG (\r\n"
                                                       "        AT);\r\n"
                                                       "CREATE INDEX LOG_PK ON \r\n"
                                                       "    LOG (\r\n"
                                                       "        ID);\r\n"));
    EXPECT_EQ(result.strIndexInfoCsv,
              QStringLiteral("TEBLE_NAME,INDEX_NAME,CPOSI_NAME,COLUMN_NAME\r\n"
                             "LOG,LOG_IX,1,AT\r\n"
                             ",LOG_PK,1,ID"));
}

TEST(LoadIndexInfoTest, MissingTableIsSilentAndAddsNoNode) {
    ScriptedCatalog catalog;
    catalog.tableCount(0);

    const IndexInfoResult result = loadIndexInfo(catalog.database(), QStringLiteral("GONE"));

    EXPECT_FALSE(result.exists);
    EXPECT_FALSE(result.error.has_value());
    EXPECT_TRUE(result.nodes.empty());
    expectTextsEmpty(result);
    EXPECT_EQ(catalog.sqlSent().size(), 1);
}

TEST(LoadIndexInfoTest, FetchFailingMidwayKeepsTheNodesAlreadyMade) {
    ScriptedCatalog catalog;
    catalog.tableCount(1);
    catalog.indexRows(itemIndexRows(), 2);

    const IndexInfoResult result = loadIndexInfo(catalog.database(), QStringLiteral("ITEM"));

    EXPECT_EQ(result.error, QStringLiteral("ORA-03113: end-of-file on communication channel"));
    EXPECT_EQ(result.nodes.size(), 4u);
    expectTextsEmpty(result);
    EXPECT_EQ(catalog.openDynasets(), 0);
}

TEST(LoadIndexInfoTest, RefusedQueriesReturnTheirOwnDescription) {
    for (const char* failing :
         {"count(table_name)", "descend = 'DESC'", "user_ind_expressions", "user_ind_columns"}) {
        ScriptedCatalog catalog;
        catalog.fail(QLatin1String(failing), QStringLiteral("ORA-01031: insufficient privileges"));
        catalog.tableCount(1);
        catalog.indexRows({});

        const IndexInfoResult result = loadIndexInfo(catalog.database(), QStringLiteral("ITEM"));

        EXPECT_EQ(result.error, QStringLiteral("ORA-01031: insufficient privileges")) << failing;
        EXPECT_TRUE(result.nodes.empty());
        expectTextsEmpty(result);
    }
}

TEST(LoadIndexInfoTest, IndexNamedLikeItsTableIsShownAndScripted) {
    ScriptedCatalog catalog;
    catalog.tableCount(1);
    catalog.indexRows({IndexRow{"ITEM", "ITEM", 1, "ORD_NO"}});

    const IndexInfoResult result = loadIndexInfo(catalog.database(), QStringLiteral("ITEM"));

    EXPECT_FALSE(result.error.has_value());
    EXPECT_EQ(describe(result.nodes), QStringList({"|T:ITEM|ITEM|a|d|", "T:ITEM|I:ITEM|ITEM|b|e|",
                                                   "I:ITEM||1 ORD_NO|c|f|visible"}));
    expectKeysUnique(result.nodes);
    EXPECT_EQ(result.strIndexInfoCsv,
              QStringLiteral("TEBLE_NAME,INDEX_NAME,CPOSI_NAME,COLUMN_NAME\r\n"
                             "ITEM,ITEM,1,ORD_NO"));
    EXPECT_EQ(result.strCreateIndexSql,
              QStringLiteral("CREATE INDEX ITEM ON \r\n    ITEM (\r\n        ORD_NO);\r\n"));
}

TEST(LoadIndexInfoTest, AwkwardNamesAreQuotedInSqlScriptAndCsvOnly) {
    ScriptedCatalog catalog;
    catalog.tableCount(1);
    catalog.indexRows(
        {IndexRow{"by date", "it'em", 1, "Date,Time"}, IndexRow{"by date", "it'em", 2, "ORDER"}});

    const IndexInfoResult result = loadIndexInfo(catalog.database(), QStringLiteral("it'em"));

    EXPECT_TRUE(catalog.sqlSent().at(1).contains(QStringLiteral(" WHERE table_name = 'it''em' ")));
    EXPECT_TRUE(catalog.sqlSent().at(2).endsWith(QStringLiteral(" WHERE table_name = 'it''em'")));
    EXPECT_TRUE(catalog.sqlSent().at(3).contains(QStringLiteral(" WHERE table_name = 'it''em' ")));
    EXPECT_EQ(result.strIndexInfoCsv,
              QStringLiteral("TEBLE_NAME,INDEX_NAME,CPOSI_NAME,COLUMN_NAME\r\n"
                             "it'em,by date,1,\"Date,Time\"\r\n"
                             ",,2,ORDER"));
    EXPECT_EQ(result.strIndexInfoTxt,
              QStringLiteral("TEBLE_NAME/INDEX_NAME/CPOSI_NAME/COLUMN_NAME\r\n"
                             "it'em\r\n\tby date\r\n"
                             "\t\t1 Date,Time\r\n\t\t2 ORDER"));
    EXPECT_EQ(result.strCreateIndexSql, QStringLiteral("CREATE INDEX \"by date\" ON \r\n"
                                                       "    \"it'em\" (\r\n"
                                                       "        \"Date,Time\", \r\n"
                                                       "        \"ORDER\");\r\n"));
    EXPECT_EQ(result.nodes.at(2).text, QStringLiteral("1 Date,Time"));
}

// As Oracle reports them: an expression column under a system name, with its text in
// user_ind_expressions, and a descending column as the expression of its quoted name.
TEST(LoadIndexInfoTest, ExpressionsReplaceSystemNamesAndDescendingColumnsGetDesc) {
    ScriptedCatalog catalog;
    catalog.tableCount(1);
    catalog.indexForms({IndexRow{"EXPR_LOWER", 1, "ASC", "lower(NAME)"},
                        IndexRow{"EXPR_LOWER", 2, "DESC", "\"AGE\""},
                        IndexRow{"EXPR_PK", 1, "DESC", QVariant()}});
    catalog.indexRows({IndexRow{"EXPR_LOWER", "EXPR", 1, "SYS_NC00003$"},
                       IndexRow{"EXPR_LOWER", "EXPR", 2, "SYS_NC00004$"},
                       IndexRow{"EXPR_LOWER", "EXPR", 3, "ID"},
                       IndexRow{"EXPR_PK", "EXPR", 1, "ID"}});

    const IndexInfoResult result = loadIndexInfo(catalog.database(), QStringLiteral("EXPR"));

    ASSERT_FALSE(result.error.has_value()) << result.error->toStdString();
    EXPECT_EQ(result.strIndexInfoCsv,
              QStringLiteral("TEBLE_NAME,INDEX_NAME,CPOSI_NAME,COLUMN_NAME\r\n"
                             "EXPR,EXPR_LOWER,1,lower(NAME)\r\n"
                             ",,2,\"\"\"AGE\"\"\"\r\n"
                             ",,3,ID\r\n"
                             ",EXPR_PK,1,ID"));
    EXPECT_EQ(result.strIndexInfoTxt,
              QStringLiteral("TEBLE_NAME/INDEX_NAME/CPOSI_NAME/COLUMN_NAME\r\n"
                             "EXPR\r\n"
                             "\tEXPR_LOWER\r\n"
                             "\t\t1 lower(NAME)\r\n"
                             "\t\t2 \"AGE\"\r\n"
                             "\t\t3 ID\r\n"
                             "\tEXPR_PK\r\n"
                             "\t\t1 ID"));
    EXPECT_EQ(result.strCreateIndexSql, QStringLiteral("CREATE INDEX EXPR_LOWER ON \r\n"
                                                       "    EXPR (\r\n"
                                                       "        lower(NAME), \r\n"
                                                       "        \"AGE\" DESC, \r\n"
                                                       "        ID);\r\n"
                                                       "CREATE INDEX EXPR_PK ON \r\n"
                                                       "    EXPR (\r\n"
                                                       "        ID DESC);\r\n"));
    // Tree entries carry the column or expression alone, without DESC.
    EXPECT_EQ(result.nodes[2].text, QStringLiteral("1 lower(NAME)"));
    EXPECT_EQ(result.nodes[3].text, QStringLiteral("2 \"AGE\""));
    EXPECT_EQ(result.nodes[6].text, QStringLiteral("1 ID"));
}

}  // namespace
}  // namespace quarnel::catalog
