// Tables whose names SQLite reads otherwise than Oracle: the catalogue looks each one up on the
// embedded engine like any other table.
#include "catalog/index_info.h"
#include "catalog/table_info.h"
#include "catalog/table_list.h"
#include "db/engines.h"
#include "testing/sqlite_fixture.h"

#include <QFile>

#include <sqlite3.h>

#include <gtest/gtest.h>

namespace quarnel::catalog {
namespace {

// SQLite keywords that are not Oracle reserved words, Oracle's other identifier characters, and
// the names of the dictionary views.
const char* const kNames[] = {
    "TRANSACTION",
    "LIMIT",
    "JOIN",
    "CASE",
    "PRIMARY",
    "REFERENCES",
    "CONSTRAINT",
    "USING",
    "WHEN",
    "ESCAPE",
    "RETURNING",
    "ORDER_NO#",
    "A#B",
    "PAY$",
    "USER_TABLES",
    "USER_CONSTRAINTS",
    "USER_CONS_COLUMNS",
    "USER_IND_COLUMNS",
};

class EngineNamesTest : public ::testing::TestWithParam<const char*> {};

TEST_P(EngineNamesTest, TableIsDescribedWithItsKeyAndIndexes) {
    quarnel::testing::SqliteFixture files;
    const QString table = QString::fromLatin1(GetParam());
    QString quoted = table;
    quoted.replace(u'"', QStringLiteral("\"\""));
    const QString path = files.createDatabase(
        QStringLiteral("CREATE TABLE OTHER (Z NUMBER);"
                       "CREATE TABLE \"%1\" (ID NUMBER(4) PRIMARY KEY, NOTE VARCHAR2(9));"
                       "CREATE INDEX \"%1_IX\" ON \"%1\" (NOTE);")
            .arg(quoted));
    auto database = db::OpenSqliteDatabase(path);

    const TableListResult list = readTableList(*database);
    EXPECT_EQ(list.names.toStringList(), QStringList({QStringLiteral("OTHER"), table}));

    const TableInfoResult info = loadTableInfo(*database, table);
    ASSERT_FALSE(info.error.has_value()) << info.error->toStdString();
    EXPECT_TRUE(info.exists);
    ASSERT_EQ(info.gridRows.size(), 2);
    EXPECT_EQ(info.strPkTxt, QStringLiteral("ID\r\n"));
    EXPECT_TRUE(info.strTableInfoCsv.contains(QStringLiteral(",2,,NOTE,9,VARCHAR2,String,Null")));

    const IndexInfoResult indexes = loadIndexInfo(*database, table);
    ASSERT_FALSE(indexes.error.has_value()) << indexes.error->toStdString();
    EXPECT_EQ(indexes.nodes.size(), 5u);
}

INSTANTIATE_TEST_SUITE_P(Names, EngineNamesTest, ::testing::ValuesIn(kNames),
                         [](const ::testing::TestParamInfo<const char*>& info) {
                             std::string name;
                             for (const char* c = info.param; *c; ++c) {
                                 name += *c == '#'   ? std::string("Hash")
                                         : *c == '$' ? std::string("Dollar")
                                                     : std::string(1, *c);
                             }
                             return name;
                         });

// A table whose stored name is not valid UTF-8 is listed with the bad byte written as \xHH and
// reads like any other table.
TEST(EngineNames, NameThatIsNotUtf8IsListedEscapedAndReadsItsTable) {
    quarnel::testing::SqliteFixture files;
    const QString path = files.filePath(QStringLiteral("latin1.db"));
    sqlite3* writer = nullptr;
    ASSERT_EQ(sqlite3_open(QFile::encodeName(path).constData(), &writer), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(writer,
                           "CREATE TABLE \"CAF\xC9\" (ID NUMBER(4) PRIMARY KEY, NOTE DATE);"
                           "CREATE TABLE PLAIN (A NUMBER);",
                           nullptr, nullptr, nullptr),
              SQLITE_OK);
    sqlite3_close(writer);
    auto database = db::OpenSqliteDatabase(path);

    const QString shown = QStringLiteral("CAF\\xC9");
    const TableListResult list = readTableList(*database);
    EXPECT_EQ(list.names.toStringList(), QStringList({shown, QStringLiteral("PLAIN")}));

    const TableInfoResult info = loadTableInfo(*database, shown);
    ASSERT_FALSE(info.error.has_value()) << info.error->toStdString();
    EXPECT_TRUE(info.exists);
    EXPECT_EQ(info.gridRows.size(), 2);
    EXPECT_EQ(info.strPkTxt, QStringLiteral("ID\r\n"));

    const IndexInfoResult indexes = loadIndexInfo(*database, shown);
    ASSERT_FALSE(indexes.error.has_value()) << indexes.error->toStdString();
    EXPECT_TRUE(indexes.strIndexInfoTxt.contains(QStringLiteral("\t\t1 ID")));
}

}  // namespace
}  // namespace quarnel::catalog
