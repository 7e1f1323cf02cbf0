// Every type code Oracle's describe reports, from the client library's attributes to the grid
// cells and the CREATE TABLE line: the engine reads each attribute, the catalogue names it.
#include "catalog/table_info.h"
#include "testing/oci_stand_in.h"
#include "testing/sqlite_fixture.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace quarnel::db {
namespace {

// One column as the client library describes it, and what the program shows for it.
struct DescribeCase {
    const char* column;
    int dataType;
    int dataSize;
    int precision;
    int scale;
    int charsetForm;
    int charUsed;
    int charSize;
    const char* typeName;
    const char* schemaName;
    // SIZE, TYPE1, TYPE2 of the grid, and the type of the script line.
    const char* size;
    const char* type1;
    const char* type2;
    const char* scriptType;
};

const DescribeCase kCases[] = {
    {"C_ROWID", 104, 10, 0, 0, 0, 0, 0, "", "", "10", "ROWID", "String", "ROWID"},
    {"C_UROWID", 104, 4000, 0, 0, 0, 0, 0, "", "", "4000", "UROWID", "String", "UROWID(4000)"},
    {"C_TS", 187, 11, 0, 6, 0, 0, 0, "", "", "11", "TIMESTAMP", "Date", "TIMESTAMP(6)"},
    {"C_TSTZ", 188, 13, 0, 3, 0, 0, 0, "", "", "13", "TIMESTAMP WITH TIME ZONE", "Date",
     "TIMESTAMP(3) WITH TIME ZONE"},
    {"C_TSLTZ", 232, 11, 0, 0, 0, 0, 0, "", "", "11", "TIMESTAMP WITH LOCAL TIME ZONE", "Date",
     "TIMESTAMP(0) WITH LOCAL TIME ZONE"},
    {"C_IYM", 189, 5, 4, 0, 0, 0, 0, "", "", "5", "INTERVAL YEAR TO MONTH", "String",
     "INTERVAL YEAR(4) TO MONTH"},
    {"C_IDS", 190, 11, 3, 2, 0, 0, 0, "", "", "11", "INTERVAL DAY TO SECOND", "String",
     "INTERVAL DAY(3) TO SECOND(2)"},
    {"C_BF", 100, 4, 0, 0, 0, 0, 0, "", "", "4", "BINARY_FLOAT", "Single", "BINARY_FLOAT"},
    {"C_BD", 101, 8, 0, 0, 0, 0, 0, "", "", "8", "BINARY_DOUBLE", "Double", "BINARY_DOUBLE"},
    {"C_CLOB", 112, 4000, 0, 0, 1, 0, 0, "", "", "4000", "CLOB", "String", "CLOB"},
    {"C_NCLOB", 112, 4000, 0, 0, 2, 0, 0, "", "", "4000", "NCLOB", "String", "NCLOB"},
    {"C_BLOB", 113, 4000, 0, 0, 0, 0, 0, "", "", "4000", "BLOB", "String", "BLOB"},
    {"C_BFILE", 114, 530, 0, 0, 0, 0, 0, "", "", "530", "BFILE", "String", "BFILE"},
    {"C_GEOM", 108, 2000, 0, 0, 0, 0, 0, "SDO_GEOMETRY", "MDSYS", "2000", "MDSYS.SDO_GEOMETRY",
     "Object", "MDSYS.SDO_GEOMETRY"},
    {"C_JSON", 119, 8200, 0, 0, 0, 0, 0, "", "", "8200", "JSON", "String", "JSON"},
    {"C_BOOL", 252, 1, 0, 0, 0, 0, 0, "", "", "1", "BOOLEAN", "Boolean", "BOOLEAN"},
    {"C_VEC", 127, 4000, 0, 0, 0, 0, 0, "", "", "4000", "VECTOR", "String", "VECTOR"},
    // Character semantics: the server gives the size in bytes (0 here: the stand-in works it
    // out) and the length in characters.
    {"C_NVC", 1, 0, 0, 0, 2, 1, 10, "", "", "20", "VARCHAR2", "String", "NVARCHAR2(10)"},
    {"C_NCHAR", 96, 0, 0, 0, 2, 1, 3, "", "", "6", "CHAR", "String", "NCHAR(3)"},
    {"C_VCCHAR", 1, 0, 0, 0, 1, 1, 10, "", "", "40", "VARCHAR2", "String", "VARCHAR2(10 CHAR)"},
    {"C_CHARCHAR", 96, 0, 0, 0, 1, 1, 2, "", "", "8", "CHAR", "String", "CHAR(2 CHAR)"},
    {"C_VCBYTE", 1, 30, 0, 0, 1, 0, 30, "", "", "30", "VARCHAR2", "String", "VARCHAR2(30)"},
    {"C_FLOAT", 2, 22, 53, -127, 0, 0, 0, "", "", "53", "NUMBER", "Double", "FLOAT(53)"},
    {"C_NUMBER", 2, 22, 0, -127, 0, 0, 0, "", "", "-", "NUMBER", "Double", "NUMBER"},
    {"C_NUM72", 2, 22, 7, 2, 0, 0, 0, "", "", "7", "NUMBER", "Double", "NUMBER(7,2)"},
    // A REF, a collection and a type the engine does not know are described, never fetched.
    {"C_REF", 110, 40, 0, 0, 0, 0, 0, "", "", "40", "UNKNOWN(110)", "String", "UNKNOWN(110)"},
    {"C_COLL", 122, 2000, 0, 0, 0, 0, 0, "", "", "2000", "UNKNOWN(122)", "String", "UNKNOWN(122)"},
    {"C_XML", 58, 2000, 0, 0, 0, 0, 0, "", "", "2000", "UNKNOWN(58)", "String", "UNKNOWN(58)"},
};

void PrintTo(const DescribeCase& c, std::ostream* os) {
    *os << c.column;
}

class OracleDescribeTest : public ::testing::TestWithParam<DescribeCase> {
  protected:
    // One table with a column per case, described by the stand-in as the case says.
    static void SetUpTestSuite() {
        QString columns;
        QString rows;
        for (const DescribeCase& c : kCases) {
            columns += (columns.isEmpty() ? "" : ", ") + QLatin1String(c.column) + " TEXT";
            rows += QStringLiteral(
                        "INSERT INTO OCI_STANDIN_DESCRIBE VALUES "
                        "('%1', %2, %3, %4, %5, %6, %7, %8, '%9', '%10');")
                        .arg(QLatin1String(c.column))
                        .arg(c.dataType)
                        .arg(c.dataSize)
                        .arg(c.precision)
                        .arg(c.scale)
                        .arg(c.charsetForm)
                        .arg(c.charUsed)
                        .arg(c.charSize)
                        .arg(QLatin1String(c.typeName), QLatin1String(c.schemaName));
        }
        s_files = std::make_unique<quarnel::testing::SqliteFixture>();
        const QString path = s_files->createDatabase(
            "CREATE TABLE TYPES (" + columns +
            ");"
            "CREATE TABLE OCI_STANDIN_DESCRIBE (column_name, data_type, data_size, precision, "
            "scale, charset_form, char_used, char_size, type_name, schema_name);" +
            rows);
        auto database = quarnel::testing::logOnThroughStandIn(path);
        s_info = catalog::loadTableInfo(*database, QStringLiteral("TYPES"));
    }
    static void TearDownTestSuite() { s_files.reset(); }

    static inline std::unique_ptr<quarnel::testing::SqliteFixture> s_files;
    static inline catalog::TableInfoResult s_info;
};

TEST_P(OracleDescribeTest, GridCellsAndScriptType) {
    const DescribeCase& c = GetParam();
    ASSERT_FALSE(s_info.error.has_value()) << s_info.error->toStdString();
    const qsizetype index =
        std::find_if(std::begin(kCases), std::end(kCases),
                     [&](const DescribeCase& k) { return QByteArray(k.column) == c.column; }) -
        std::begin(kCases);
    ASSERT_LT(index, s_info.gridRows.size());
    const QStringList cells = s_info.gridRows[index];
    ASSERT_EQ(cells.size(), 7);
    EXPECT_EQ(cells[2], QLatin1String(c.column));
    EXPECT_EQ(cells[3], QLatin1String(c.size));
    EXPECT_EQ(cells[4], QLatin1String(c.type1));
    EXPECT_EQ(cells[5], QLatin1String(c.type2));
    const QString line =
        "    " + QLatin1String(c.column) + "    " + QLatin1String(c.scriptType) + "    NULL";
    EXPECT_TRUE(s_info.strCreateTableSql.contains(line + ",\r\n") ||
                s_info.strCreateTableSql.contains(line + "\r\n);"))
        << s_info.strCreateTableSql.toStdString();
}

INSTANTIATE_TEST_SUITE_P(Codes, OracleDescribeTest, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.column); });

}  // namespace
}  // namespace quarnel::db
