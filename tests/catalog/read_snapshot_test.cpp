// Each lookup reads the dictionary inside one read snapshot, ended on every path.
#include "catalog/index_info.h"
#include "catalog/table_info.h"
#include "catalog/table_list.h"

#include "scripted_catalog.h"

#include <gtest/gtest.h>

#include <functional>

namespace quarnel::catalog {
namespace {

using namespace fixtures;

struct LookupCase {
    const char* name;
    std::function<void(ScriptedCatalog&)> script;
    std::function<void(db::Database&)> run;
};

void PrintTo(const LookupCase& c, std::ostream* out) {
    *out << c.name;
}

class LookupSnapshotTest : public ::testing::TestWithParam<LookupCase> {};

void scriptItem(ScriptedCatalog& catalog) {
    catalog.tableNames({QStringLiteral("ITEM")});
    catalog.tableCount(1);
    catalog.primaryKey({QStringLiteral("ID")});
    catalog.columns({describedColumn(QStringLiteral("ID"), 2, 4, 22, 7, false)});
    catalog.indexRows({IndexRow{"ITEM_PK", "ITEM", 1, "ID"}});
}

TEST_P(LookupSnapshotTest, EveryQueryRunsInsideOneSnapshot) {
    ScriptedCatalog catalog;
    GetParam().script(catalog);
    GetParam().run(catalog.database());
    const auto& backend = catalog.backend();
    ASSERT_FALSE(backend.queries().empty());
    for (const db::ScriptedCall& call : backend.queries())
        EXPECT_TRUE(call.inSnapshot) << call.sql.toStdString();
    EXPECT_EQ(backend.log().count(QStringLiteral("BeginReadSnapshot")), 1);
    EXPECT_EQ(backend.log().front(), QStringLiteral("BeginReadSnapshot"));
    EXPECT_EQ(backend.log().back(), QStringLiteral("EndReadSnapshot"));
    EXPECT_FALSE(catalog.database().InReadSnapshot());
}

TEST_P(LookupSnapshotTest, FailureEndsTheSnapshot) {
    ScriptedCatalog catalog;
    catalog.fail(QStringLiteral("SELECT"),
                 QStringLiteral("ORA-00942: table or view does not exist"));
    GetParam().run(catalog.database());
    EXPECT_EQ(catalog.backend().log().back(), QStringLiteral("EndReadSnapshot"));
    EXPECT_FALSE(catalog.database().InReadSnapshot());
}

INSTANTIATE_TEST_SUITE_P(
    Lookups, LookupSnapshotTest,
    ::testing::Values(
        LookupCase{"TableList", scriptItem, [](db::Database& db) { readTableList(db); }},
        LookupCase{"TableInfo", scriptItem,
                   [](db::Database& db) { loadTableInfo(db, QStringLiteral("ITEM")); }},
        LookupCase{"IndexInfo", scriptItem,
                   [](db::Database& db) { loadIndexInfo(db, QStringLiteral("ITEM")); }}),
    [](const ::testing::TestParamInfo<LookupCase>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace quarnel::catalog
