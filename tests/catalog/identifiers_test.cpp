#include "catalog/identifiers.h"
#include "catalog/csv.h"

#include "testing/test_names.h"

#include <gtest/gtest.h>

namespace quarnel::catalog {
namespace {

struct IdentifierCase {
    const char16_t* name;
    bool plain;
    const char16_t* asIdentifier;
};

class IdentifierTest : public ::testing::TestWithParam<IdentifierCase> {};

TEST_P(IdentifierTest, PlainNamesStandBareOthersAreQuoted) {
    const IdentifierCase& c = GetParam();
    const QString name = QString::fromUtf16(c.name);
    EXPECT_EQ(isPlainIdentifier(name), c.plain) << name.toStdString();
    EXPECT_EQ(sqlIdentifier(name), QString::fromUtf16(c.asIdentifier)) << name.toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Names, IdentifierTest,
    ::testing::Values(
        IdentifierCase{u"ITEM", true, u"ITEM"}, IdentifierCase{u"A1_$#", true, u"A1_$#"},
        IdentifierCase{u"X", true, u"X"}, IdentifierCase{u"ORDERS", true, u"ORDERS"},
        // Reserved words, whatever their length.
        IdentifierCase{u"ORDER", false, u"\"ORDER\""},
        IdentifierCase{u"GROUP", false, u"\"GROUP\""},
        IdentifierCase{u"TABLE", false, u"\"TABLE\""}, IdentifierCase{u"DATE", false, u"\"DATE\""},
        IdentifierCase{u"NUMBER", false, u"\"NUMBER\""},
        IdentifierCase{u"ACCESS", false, u"\"ACCESS\""},
        IdentifierCase{u"WITH", false, u"\"WITH\""},
        IdentifierCase{u"VARCHAR2", false, u"\"VARCHAR2\""},
        // Characters a bare name cannot hold.
        IdentifierCase{u"Item", false, u"\"Item\""},
        IdentifierCase{u"LINE NO", false, u"\"LINE NO\""},
        IdentifierCase{u"1ST", false, u"\"1ST\""}, IdentifierCase{u"_X", false, u"\"_X\""},
        IdentifierCase{u"IT'EM", false, u"\"IT'EM\""},
        IdentifierCase{u"A\"B", false, u"\"A\"\"B\""},
        IdentifierCase{u"ＩＴＥＭ", false, u"\"ＩＴＥＭ\""},
        IdentifierCase{u"商品", false, u"\"商品\""}, IdentifierCase{u"", false, u"\"\""}),
    quarnel::testing::nameFrom([](const IdentifierCase& c) { return c.name; }));

TEST(SqlLiteralTest, DoublesSingleQuotes) {
    EXPECT_EQ(sqlLiteral(QStringLiteral("ITEM")), QStringLiteral("'ITEM'"));
    EXPECT_EQ(sqlLiteral(QStringLiteral("O'Brien's")), QStringLiteral("'O''Brien''s'"));
    EXPECT_EQ(sqlLiteralContent(QStringLiteral("'")), QStringLiteral("''"));
    EXPECT_EQ(sqlLiteralContent(QStringLiteral("a\"b")), QStringLiteral("a\"b"));
}

struct CsvCase {
    const char16_t* field;
    const char16_t* written;
};

class CsvFieldTest : public ::testing::TestWithParam<CsvCase> {};

TEST_P(CsvFieldTest, QuotesOnlyFieldsThatWouldBreakTheLine) {
    EXPECT_EQ(csvField(QString::fromUtf16(GetParam().field)),
              QString::fromUtf16(GetParam().written));
}

INSTANTIATE_TEST_SUITE_P(
    Fields, CsvFieldTest,
    ::testing::Values(CsvCase{u"ITEM", u"ITEM"}, CsvCase{u"", u""}, CsvCase{u"※", u"※"},
                      CsvCase{u"Not Null", u"Not Null"},
                      CsvCase{u" lead and trail ", u" lead and trail "}, CsvCase{u"it's", u"it's"},
                      CsvCase{u"a\tb", u"a\tb"}, CsvCase{u"A,B", u"\"A,B\""},
                      CsvCase{u"A\"B", u"\"A\"\"B\""}, CsvCase{u"\"", u"\"\"\"\""},
                      CsvCase{u"A\rB", u"\"A\rB\""}, CsvCase{u"A\nB", u"\"A\nB\""}),
    quarnel::testing::nameFrom([](const CsvCase& c) { return c.field; }));

}  // namespace
}  // namespace quarnel::catalog
