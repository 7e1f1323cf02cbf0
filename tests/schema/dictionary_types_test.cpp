#include "schema/dictionary_types.h"

#include "catalog/table_info.h"
#include "testing/test_names.h"

#include <gtest/gtest.h>

namespace quarnel::schema {
namespace {

constexpr int kNull = -1000;

// A user_tab_columns row's type facts and the grid cells and script type they must give; the
// expected texts are those the describe of the same column gives.
struct TypeCase {
    const char* dataType;
    int length;
    int precision;  // kNull: NULL
    int scale;      // kNull: NULL
    const char* charUsed;
    int charLength;
    const char* size;
    const char* type1;
    const char* type2;
    const char* script;
};

class DictionaryTypeTest : public ::testing::TestWithParam<TypeCase> {};

TEST_P(DictionaryTypeTest, GivesTheDescribesTexts) {
    const TypeCase& c = GetParam();
    DictionaryType type;
    type.dataType = QLatin1String(c.dataType);
    type.dataLength = c.length;
    if (c.precision != kNull)
        type.dataPrecision = c.precision;
    if (c.scale != kNull)
        type.dataScale = c.scale;
    type.charUsed = QLatin1String(c.charUsed);
    type.charLength = c.charLength;
    catalog::ColumnDescription column;
    column.name = QStringLiteral("C");
    ASSERT_TRUE(describeFromDictionary(type, column));
    const QStringList cells = catalog::tableInfoCells(1, column, QString());
    EXPECT_EQ(cells[3], QLatin1String(c.size));
    EXPECT_EQ(cells[4], QLatin1String(c.type1));
    EXPECT_EQ(cells[5], QLatin1String(c.type2));
    EXPECT_EQ(catalog::scriptColumnType(column), QLatin1String(c.script));
}

INSTANTIATE_TEST_SUITE_P(
    Types, DictionaryTypeTest,
    ::testing::Values(
        TypeCase{"NUMBER", 22, kNull, kNull, "", 0, "-", "NUMBER", "Double", "NUMBER"},
        TypeCase{"NUMBER", 22, kNull, 0, "", 0, "38", "NUMBER", "Double", "NUMBER(38)"},
        TypeCase{"NUMBER", 22, 7, 2, "", 0, "7", "NUMBER", "Double", "NUMBER(7,2)"},
        TypeCase{"NUMBER", 22, 5, 0, "", 0, "5", "NUMBER", "Double", "NUMBER(5)"},
        TypeCase{"FLOAT", 22, 63, kNull, "", 0, "63", "NUMBER", "Double", "FLOAT(63)"},
        TypeCase{"VARCHAR2", 20, kNull, kNull, "B", 20, "20", "VARCHAR2", "String", "VARCHAR2(20)"},
        TypeCase{"VARCHAR2", 40, kNull, kNull, "C", 10, "40", "VARCHAR2", "String",
                 "VARCHAR2(10 CHAR)"},
        TypeCase{"NVARCHAR2", 20, kNull, kNull, "C", 10, "20", "VARCHAR2", "String",
                 "NVARCHAR2(10)"},
        TypeCase{"CHAR", 3, kNull, kNull, "B", 3, "3", "CHAR", "String", "CHAR(3)"},
        TypeCase{"NCHAR", 4, kNull, kNull, "C", 2, "4", "CHAR", "String", "NCHAR(2)"},
        TypeCase{"DATE", 7, kNull, kNull, "", 0, "7", "DATE", "Date", "DATE"},
        TypeCase{"TIMESTAMP(3)", 11, kNull, 3, "", 0, "11", "TIMESTAMP", "Date", "TIMESTAMP(3)"},
        TypeCase{"TIMESTAMP(6) WITH TIME ZONE", 13, kNull, 6, "", 0, "13",
                 "TIMESTAMP WITH TIME ZONE", "Date", "TIMESTAMP(6) WITH TIME ZONE"},
        TypeCase{"TIMESTAMP(0) WITH LOCAL TIME ZONE", 11, kNull, 0, "", 0, "11",
                 "TIMESTAMP WITH LOCAL TIME ZONE", "Date", "TIMESTAMP(0) WITH LOCAL TIME ZONE"},
        TypeCase{"INTERVAL YEAR(4) TO MONTH", 5, 4, 0, "", 0, "5", "INTERVAL YEAR TO MONTH",
                 "String", "INTERVAL YEAR(4) TO MONTH"},
        TypeCase{"INTERVAL DAY(3) TO SECOND(2)", 11, 3, 2, "", 0, "11", "INTERVAL DAY TO SECOND",
                 "String", "INTERVAL DAY(3) TO SECOND(2)"},
        TypeCase{"RAW", 16, kNull, kNull, "", 0, "16", "ROW", "String", "RAW(16)"},
        TypeCase{"LONG", 0, kNull, kNull, "", 0, "-", "LONG", "String", "LONG"},
        TypeCase{"LONG RAW", 0, kNull, kNull, "", 0, "-", "LONG ROW", "String", "LONG RAW"},
        TypeCase{"CLOB", 4000, kNull, kNull, "", 0, "4000", "CLOB", "String", "CLOB"},
        TypeCase{"NCLOB", 4000, kNull, kNull, "", 0, "4000", "NCLOB", "String", "NCLOB"},
        TypeCase{"BLOB", 4000, kNull, kNull, "", 0, "4000", "BLOB", "String", "BLOB"},
        TypeCase{"BFILE", 530, kNull, kNull, "", 0, "530", "BFILE", "String", "BFILE"},
        TypeCase{"BINARY_FLOAT", 4, kNull, kNull, "", 0, "4", "BINARY_FLOAT", "Single",
                 "BINARY_FLOAT"},
        TypeCase{"BINARY_DOUBLE", 8, kNull, kNull, "", 0, "8", "BINARY_DOUBLE", "Double",
                 "BINARY_DOUBLE"},
        TypeCase{"ROWID", 10, kNull, kNull, "", 0, "10", "ROWID", "String", "ROWID"},
        TypeCase{"UROWID", 4000, kNull, kNull, "", 0, "4000", "UROWID", "String", "UROWID(4000)"}),
    quarnel::testing::nameFrom([](const TypeCase& c) {
        return QStringLiteral("%1 %2 %3")
            .arg(QLatin1String(c.dataType))
            .arg(c.length)
            .arg(QLatin1String(c.script));
    }));

// Types whose describe the dictionary does not tell for sure are left to the describe.
TEST(DictionaryTypeTest, ObjectAndNewerTypesAreLeftToTheDescribe) {
    catalog::ColumnDescription column;
    for (const char* name : {"JSON", "BOOLEAN", "VECTOR", "XMLTYPE", "SOMETHING NEW"}) {
        DictionaryType type;
        type.dataType = QLatin1String(name);
        EXPECT_FALSE(describeFromDictionary(type, column)) << name;
    }
    DictionaryType object;
    object.dataType = QStringLiteral("ADDRESS_T");
    object.dataTypeOwner = QStringLiteral("SCOTT");
    EXPECT_FALSE(describeFromDictionary(object, column));
}

}  // namespace
}  // namespace quarnel::schema
