#include "db/sqlite_types.h"

#include "testing/test_names.h"

#include <gtest/gtest.h>

namespace quarnel::db {
namespace {

struct TypeCase {
    const char* declared;
    ColumnType expected;
};

void PrintTo(const TypeCase& c, std::ostream* out) {
    *out << '"' << c.declared << '"';
}

class DeclaredTypeTest : public ::testing::TestWithParam<TypeCase> {};

TEST_P(DeclaredTypeTest, DescribesAsOracleWould) {
    const ColumnType actual = describeDeclaredType(QString::fromUtf8(GetParam().declared));
    const ColumnType& expected = GetParam().expected;
    EXPECT_EQ(actual.oraIDataType, expected.oraIDataType);
    EXPECT_EQ(actual.size, expected.size);
    EXPECT_EQ(actual.precision, expected.precision);
    EXPECT_EQ(actual.scale, expected.scale);
    EXPECT_EQ(actual.type, expected.type);
}

// The nine types the column grid names, in the spellings and spacings schemas use.
INSTANTIATE_TEST_SUITE_P(
    OracleTypes, DeclaredTypeTest,
    ::testing::Values(
        TypeCase{"VARCHAR2(20)", {1, 20, 0, 0, 10}},
        TypeCase{"varchar2(20 byte)", {1, 20, 0, 0, 10}},
        TypeCase{"VARCHAR(30)", {1, 30, 0, 0, 10}}, TypeCase{"NVARCHAR2( 15 )", {1, 15, 0, 0, 10}},
        TypeCase{"NUMBER(6)", {2, 22, 6, 0, 7}}, TypeCase{"NUMBER ( 7 , 2 )", {2, 22, 7, 2, 7}},
        TypeCase{"number(5,-2)", {2, 22, 5, -2, 7}}, TypeCase{"NUMBER", {2, 22, 0, 0, 7}},
        TypeCase{"NUMBER(*,2)", {2, 22, 0, 2, 7}}, TypeCase{"LONG", {8, 0, 0, 0, 12}},
        TypeCase{"ROWID", {11, 10, 0, 0, 10}}, TypeCase{"Date", {12, 7, 0, 0, 8}},
        TypeCase{"RAW(16)", {23, 16, 0, 0, 11}}, TypeCase{"LONG RAW", {24, 0, 0, 0, 11}},
        TypeCase{"long   raw", {24, 0, 0, 0, 11}}, TypeCase{"CHAR(10 CHAR)", {96, 10, 0, 0, 10}},
        TypeCase{"NCHAR(3)", {96, 3, 0, 0, 10}}, TypeCase{"CHAR", {96, 1, 0, 0, 10}},
        TypeCase{"MLSLABEL", {106, 255, 0, 0, 10}}),
    quarnel::testing::nameFrom([](const TypeCase& c) { return c.declared; }));

// Types beyond the nine, SQLite's own names among them.
INSTANTIATE_TEST_SUITE_P(
    OtherTypes, DeclaredTypeTest,
    ::testing::Values(
        TypeCase{"", {1, 4000, 0, 0, 10}}, TypeCase{"VARCHAR2", {1, 4000, 0, 0, 10}},
        TypeCase{"INTEGER", {2, 22, 38, 0, 7}}, TypeCase{"bigint", {2, 22, 38, 0, 7}},
        TypeCase{"UNSIGNED BIG INT", {2, 22, 38, 0, 7}},
        TypeCase{"DECIMAL(10,3)", {2, 22, 10, 3, 7}}, TypeCase{"NUMERIC", {2, 22, 0, 0, 7}},
        TypeCase{"FLOAT(53)", {2, 22, 53, -127, 7}}, TypeCase{"FLOAT", {2, 22, 126, -127, 7}},
        TypeCase{"BOOLEAN", {2, 22, 1, 0, 7}}, TypeCase{"REAL", {2, 22, 63, -127, 7}},
        TypeCase{"DOUBLE PRECISION", {2, 22, 126, -127, 7}},
        TypeCase{"BINARY_DOUBLE", {101, 8, 0, 0, 7}}, TypeCase{"BINARY_FLOAT", {100, 4, 0, 0, 6}},
        TypeCase{"TEXT", {1, 4000, 0, 0, 10}}, TypeCase{"CLOB", {112, 4000, 0, 0, 12}},
        TypeCase{"NCLOB", {112, 4000, 0, 0, 12}}, TypeCase{"BLOB", {113, 4000, 0, 0, 11}},
        TypeCase{"DATETIME", {12, 7, 0, 0, 8}}, TypeCase{"TIMESTAMP", {180, 11, 0, 6, 8}},
        TypeCase{"TIMESTAMP(3)", {180, 11, 0, 3, 8}},
        TypeCase{"TIMESTAMP(9) WITH TIME ZONE", {181, 13, 0, 9, 8}},
        TypeCase{"timestamp with local time zone", {231, 11, 0, 6, 8}},
        TypeCase{"INTERVAL YEAR(4) TO MONTH", {182, 5, 4, 0, 10}},
        TypeCase{"INTERVAL DAY TO SECOND(3)", {183, 11, 2, 3, 10}},
        TypeCase{"INTERVAL DAY(5) TO SECOND(2)", {183, 11, 5, 2, 10}},
        TypeCase{"UROWID", {208, 4000, 0, 0, 10}}, TypeCase{"UROWID(100)", {208, 100, 0, 0, 10}},
        TypeCase{"RAW", {23, 2000, 0, 0, 11}}, TypeCase{"NATIVE CHARACTER(70)", {1, 70, 0, 0, 10}},
        TypeCase{"VARYING TEXT", {1, 4000, 0, 0, 10}},
        TypeCase{"MEDIUMBLOB", {113, 4000, 0, 0, 11}},
        TypeCase{"DOUBLE_VALUE", {2, 22, 126, -127, 7}},
        // INT comes first, as in SQLite.
        TypeCase{"FLOATING POINT", {2, 22, 38, 0, 7}}, TypeCase{"MONEY(12,4)", {2, 22, 12, 4, 7}}),
    quarnel::testing::nameFrom([](const TypeCase& c) { return c.declared; }));

// Other dialects' names, converted as Oracle converts ANSI types; a name that says nothing
// numeric is text, never a NUMBER.
INSTANTIATE_TEST_SUITE_P(
    Dialects, DeclaredTypeTest,
    ::testing::Values(
        TypeCase{"FLOAT4", {2, 22, 63, -127, 7}}, TypeCase{"DOUBLE", {2, 22, 126, -127, 7}},
        TypeCase{"float8", {2, 22, 126, -127, 7}}, TypeCase{"TINYTEXT", {1, 4000, 0, 0, 10}},
        TypeCase{"MEDIUMTEXT", {112, 4000, 0, 0, 12}}, TypeCase{"LONGTEXT", {112, 4000, 0, 0, 12}},
        TypeCase{"TIMESTAMP(3) WITHOUT TIME ZONE", {180, 11, 0, 3, 8}},
        TypeCase{"STRING", {1, 4000, 0, 0, 10}}, TypeCase{"JSON", {1, 4000, 0, 0, 10}},
        TypeCase{"UUID", {1, 4000, 0, 0, 10}}, TypeCase{"TIME", {1, 4000, 0, 0, 10}},
        TypeCase{"SERIAL", {2, 22, 0, 0, 7}}, TypeCase{"SMALLINT", {2, 22, 38, 0, 7}},
        TypeCase{"BOOL", {2, 22, 1, 0, 7}}, TypeCase{"MEDIUMCLOB", {112, 4000, 0, 0, 12}}),
    quarnel::testing::nameFrom([](const TypeCase& c) { return c.declared; }));

}  // namespace
}  // namespace quarnel::db
