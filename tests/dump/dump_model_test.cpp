// Every table's texts built from one whole-schema load are the per-table lookups' texts, byte
// for byte, over the embedded engine: the demo, every column type the engines know, and names
// that need quoting.
#include "catalog/ddl_script.h"
#include "catalog/index_info.h"
#include "catalog/table_info.h"
#include "catalog/table_list.h"
#include "catalog/table_texts.h"
#include "db/engines.h"
#include "schema/load_schema.h"
#include "testing/oci_stand_in.h"
#include "testing/sqlite_fixture.h"

#include <gtest/gtest.h>

namespace quarnel::dump {
namespace {

using testing::SqliteFixture;

const char* const kEveryType = R"(
CREATE TABLE EVERY_TYPE (
  V2 VARCHAR2(20) NOT NULL, V VARCHAR(10), NV2 NVARCHAR2(10), C CHAR(3), NC NCHAR(2), CH CHAR,
  N NUMBER, N72 NUMBER(7,2), N5 NUMBER(5), F FLOAT, F10 FLOAT(10), R REAL, D DOUBLE PRECISION,
  I INTEGER, BI BIGINT, B BOOLEAN, L LONG, RW ROWID, DT DATE, RAW8 RAW(8), LR LONG RAW,
  BF BINARY_FLOAT, BD BINARY_DOUBLE, ML MLSLABEL, T TEXT, CL CLOB, NCL NCLOB, BL BLOB,
  BFI BFILE, TS TIMESTAMP, TS3 TIMESTAMP(3), TSTZ TIMESTAMP "WITH" TIME ZONE,
  TSLTZ TIMESTAMP "WITH" LOCAL TIME ZONE(0), IYM INTERVAL YEAR "TO" MONTH,
  IDS INTERVAL DAY "TO" SECOND, UR UROWID(100), U UROWID, DEC DECIMAL(9,3), NU NUMERIC,
  NOTYPE, S STRING, J JSON, DT2 DATETIME,
  CONSTRAINT EVERY_TYPE_PK PRIMARY KEY (V2, N5));
CREATE INDEX EVERY_TYPE_IX ON EVERY_TYPE (DT DESC, upper(V));
CREATE TABLE "odd 'name""" ("a b" NUMBER PRIMARY KEY, "x,y" TEXT, "名前" VARCHAR2(10));
CREATE UNIQUE INDEX "odd ix" ON "odd 'name""" ("x,y");
CREATE TABLE "ORDER" ("SELECT" INTEGER);
CREATE TABLE lower_case (id INTEGER PRIMARY KEY, val);
)";

struct Texts {
    QString info;
    QString indexes;
};

// Every text of every table, built table by table as the window does.
Texts perTable(db::Database& database) {
    Texts texts;
    const catalog::TableListResult list = catalog::readTableList(database);
    for (const QString& name : list.names.toStringList()) {
        const auto info = catalog::loadTableInfo(database, name);
        const auto index = catalog::loadIndexInfo(database, name);
        EXPECT_FALSE(info.error || index.error) << name.toStdString();
        texts.info += info.strTableInfoTxt + info.strTableInfoCsv + info.strPkTxt +
                      catalog::ddlScript(info.strCreateTableSql, index.strCreateIndexSql);
        for (const QStringList& row : info.gridRows)
            texts.info += row.join(u'|');
        texts.indexes += index.strIndexInfoTxt + index.strIndexInfoCsv;
        for (const catalog::IndexTreeNode& node : index.nodes)
            texts.indexes += node.parentKey + node.key + node.text + node.image;
    }
    return texts;
}

Texts fromModel(db::Database& database) {
    Texts texts;
    const auto schema = schema::loadSchema(database, {});
    EXPECT_TRUE(schema);
    for (const schema::Table& table : schema->tables) {
        texts.info +=
            catalog::tableInfoTxt(table) + catalog::tableInfoCsv(table) + catalog::pkTxt(table) +
            catalog::ddlScript(catalog::createTableSql(table), catalog::createIndexSql(table));
        for (const QStringList& row : catalog::tableGridRows(table))
            texts.info += row.join(u'|');
        texts.indexes += catalog::indexInfoTxt(table) + catalog::indexInfoCsv(table);
        for (const catalog::IndexTreeNode& node : catalog::indexTreeNodes(table))
            texts.indexes += node.parentKey + node.key + node.text + node.image;
    }
    return texts;
}

// The schema (0: the demo, 1: every type and odd names) and whether to read it through the
// Oracle engine on the stand-in client library.
using ModelCase = std::tuple<int, bool>;

class DumpModelTest : public ::testing::TestWithParam<ModelCase> {};

TEST_P(DumpModelTest, ModelTextsAreThePerTableTexts) {
    const auto [source, oracle] = GetParam();
    SqliteFixture files;
    const QString script = source == 1 ? QString::fromUtf8(kEveryType)
                                       : SqliteFixture::readText(QStringLiteral(QUARNEL_DEMO_SQL));
    const QString path = files.createDatabase(script);
    auto database =
        oracle ? quarnel::testing::logOnThroughStandIn(path) : db::OpenSqliteDatabase(path);

    const Texts expected = perTable(*database);
    const Texts actual = fromModel(*database);
    ASSERT_TRUE(expected.info.contains(QStringLiteral("ALTER TABLE")));
    EXPECT_EQ(actual.info.toStdString(), expected.info.toStdString());
    EXPECT_EQ(actual.indexes.toStdString(), expected.indexes.toStdString());
}

INSTANTIATE_TEST_SUITE_P(Schemas, DumpModelTest,
                         ::testing::Combine(::testing::Values(0, 1), ::testing::Bool()),
                         [](const auto& info) {
                             return std::string(std::get<0>(info.param) ? "EveryTypeAndOddNames"
                                                                        : "Demo") +
                                    (std::get<1>(info.param) ? "OracleStandIn" : "Embedded");
                         });

}  // namespace
}  // namespace quarnel::dump
