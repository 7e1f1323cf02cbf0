#include "catalog/column_types.h"

#include "testing/test_names.h"

#include <gtest/gtest.h>

namespace quarnel::catalog {
namespace {

struct NameCase {
    int code;
    const char* name;
};

QString codeAndName(const NameCase& c) {
    return QStringLiteral("%1 %2").arg(c.code).arg(QLatin1String(c.name));
}

class OracleTypeNameTest : public ::testing::TestWithParam<NameCase> {};

TEST_P(OracleTypeNameTest, NamesEachCode) {
    EXPECT_EQ(oracleTypeName(GetParam().code), QLatin1String(GetParam().name));
}

INSTANTIATE_TEST_SUITE_P(
    Codes, OracleTypeNameTest,
    ::testing::Values(
        NameCase{1, "VARCHAR2"}, NameCase{2, "NUMBER"}, NameCase{8, "LONG"}, NameCase{11, "ROWID"},
        NameCase{12, "DATE"}, NameCase{23, "ROW"}, NameCase{24, "LONG ROW"}, NameCase{96, "CHAR"},
        NameCase{106, "MLSLABEL"}, NameCase{100, "BINARY_FLOAT"}, NameCase{101, "BINARY_DOUBLE"},
        NameCase{104, "ROWID"}, NameCase{112, "CLOB"}, NameCase{113, "BLOB"},
        NameCase{114, "BFILE"}, NameCase{180, "TIMESTAMP"},
        NameCase{181, "TIMESTAMP WITH TIME ZONE"}, NameCase{231, "TIMESTAMP WITH LOCAL TIME ZONE"},
        NameCase{182, "INTERVAL YEAR TO MONTH"}, NameCase{183, "INTERVAL DAY TO SECOND"},
        NameCase{208, "UROWID"}, NameCase{108, "UNKNOWN(108)"}, NameCase{0, "UNKNOWN(0)"}),
    quarnel::testing::nameFrom(codeAndName));

class ValueTypeNameTest : public ::testing::TestWithParam<NameCase> {};

TEST_P(ValueTypeNameTest, NamesEachCode) {
    EXPECT_EQ(valueTypeName(GetParam().code), QLatin1String(GetParam().name));
}

INSTANTIATE_TEST_SUITE_P(Codes, ValueTypeNameTest,
                         ::testing::Values(NameCase{1, "Boolean"}, NameCase{2, "Byte"},
                                           NameCase{3, "Integer"}, NameCase{4, "Long"},
                                           NameCase{5, "Curreney"}, NameCase{6, "Single"},
                                           NameCase{7, "Double"}, NameCase{8, "Date"},
                                           NameCase{9, "Object"}, NameCase{10, "String"},
                                           NameCase{11, "String"}, NameCase{12, "String"},
                                           NameCase{0, "Unknown(0)"}, NameCase{13, "Unknown(13)"}),
                         quarnel::testing::nameFrom(codeAndName));

// A column's SIZE text and the type its script line declares, for the types the table tests do not
// describe.
struct ColumnCase {
    const char* label;
    int code;
    int precision;
    int scale;
    int size;
    const char* sizeText;
    const char* scriptType;
};

class ColumnTypeTest : public ::testing::TestWithParam<ColumnCase> {};

TEST_P(ColumnTypeTest, SizeTextAndScriptType) {
    const ColumnCase& c = GetParam();
    ColumnDescription column;
    column.oraIDataType = c.code;
    column.precision = c.precision;
    column.scale = c.scale;
    column.size = c.size;
    EXPECT_EQ(sizeText(column), QLatin1String(c.sizeText)) << c.label;
    EXPECT_EQ(scriptColumnType(column), QLatin1String(c.scriptType)) << c.label;
}

INSTANTIATE_TEST_SUITE_P(
    Types, ColumnTypeTest,
    ::testing::Values(ColumnCase{"NUMBER(6)", 2, 6, 0, 22, "6", "NUMBER(6)"},
                      ColumnCase{"NUMBER(5,-2)", 2, 5, -2, 22, "5", "NUMBER(5,-2)"},
                      ColumnCase{"VARCHAR2(20)", 1, 0, 0, 20, "20", "VARCHAR2(20)"},
                      ColumnCase{"CHAR(3)", 96, 0, 0, 3, "3", "CHAR(3)"},
                      ColumnCase{"ROWID descriptor", 104, 0, 0, 10, "10", "ROWID"},
                      ColumnCase{"UROWID(4000)", 208, 0, 0, 4000, "4000", "UROWID(4000)"},
                      ColumnCase{"BLOB", 113, 0, 0, 4000, "4000", "BLOB"},
                      ColumnCase{"BFILE", 114, 0, 0, 530, "530", "BFILE"},
                      ColumnCase{"BINARY_FLOAT", 100, 0, 0, 4, "4", "BINARY_FLOAT"},
                      ColumnCase{"BINARY_DOUBLE", 101, 0, 0, 8, "8", "BINARY_DOUBLE"},
                      ColumnCase{"TIMESTAMP(6)", 180, 0, 6, 11, "11", "TIMESTAMP(6)"},
                      ColumnCase{"TIMESTAMP(0) WITH TIME ZONE", 181, 0, 0, 13, "13",
                                 "TIMESTAMP(0) WITH TIME ZONE"},
                      ColumnCase{"TIMESTAMP(3) WITH LOCAL TIME ZONE", 231, 0, 3, 11, "11",
                                 "TIMESTAMP(3) WITH LOCAL TIME ZONE"},
                      ColumnCase{"INTERVAL YEAR(4) TO MONTH", 182, 4, 0, 5, "5",
                                 "INTERVAL YEAR(4) TO MONTH"},
                      ColumnCase{"INTERVAL DAY(2) TO SECOND(6)", 183, 2, 6, 11, "11",
                                 "INTERVAL DAY(2) TO SECOND(6)"},
                      ColumnCase{"unknown code", 58, 0, 0, 2000, "2000", "UNKNOWN(58)"}),
    quarnel::testing::nameFrom([](const ColumnCase& c) { return c.label; }));

// Precision and scale are asked only of the types that have them.
class CountingField : public db::Field {
  public:
    explicit CountingField(int code) : m_code(code) {}
    QVariant Value() const override { return {}; }
    QString Name() const override { return QStringLiteral("C"); }
    int Type() const override { return 10; }
    int OraIDataType() const override { return m_code; }
    int Size() const override { return 20; }
    int OraPrecision() const override {
        ++precisionReads;
        return 9;
    }
    int OraScale() const override {
        ++scaleReads;
        return 4;
    }
    bool OraNullOK() const override { return true; }

    mutable int precisionReads = 0;
    mutable int scaleReads = 0;

  private:
    int m_code;
};

TEST(DescribeColumnTest, ReadsPrecisionAndScaleOnlyWhereTheTypeHasThem) {
    struct Case {
        int code;
        int precisionReads;
        int scaleReads;
    };
    for (const Case c : {Case{1, 0, 0}, Case{2, 1, 1}, Case{8, 0, 0}, Case{12, 0, 0},
                         Case{23, 0, 0}, Case{96, 0, 0}, Case{180, 0, 1}, Case{181, 0, 1},
                         Case{182, 1, 0}, Case{183, 1, 1}, Case{231, 0, 1}}) {
        CountingField field(c.code);
        const ColumnDescription column = describeColumn(field);
        EXPECT_EQ(field.precisionReads, c.precisionReads) << c.code;
        EXPECT_EQ(field.scaleReads, c.scaleReads) << c.code;
        EXPECT_EQ(column.precision, c.precisionReads ? 9 : 0) << c.code;
        EXPECT_EQ(column.scale, c.scaleReads ? 4 : 0) << c.code;
    }
}

}  // namespace
}  // namespace quarnel::catalog
