// Oracle NUMBER bytes as a server sends them for a VARNUM define, read exactly.
#include "db/oracle_number.h"

#include <gtest/gtest.h>

#include <vector>

namespace quarnel::db {
namespace {

struct NumberCase {
    std::vector<std::uint8_t> bytes;  // the NUMBER bytes, without the VARNUM length byte
    const char* text;
};

class OracleNumberTest : public ::testing::TestWithParam<NumberCase> {};

TEST_P(OracleNumberTest, BytesReadAsExactDecimalText) {
    std::vector<std::uint8_t> varnum = GetParam().bytes;
    varnum.insert(varnum.begin(), std::uint8_t(varnum.size()));
    varnum.resize(22, 0xee);  // the rest of the define buffer holds anything
    EXPECT_EQ(oracleNumberText(varnum.data(), varnum.size()).toStdString(), GetParam().text);
}

// The bytes as Oracle's DUMP() shows them for each value.
INSTANTIATE_TEST_SUITE_P(
    Dumps, OracleNumberTest,
    ::testing::Values(NumberCase{{0x80}, "0"}, NumberCase{{0xc1, 2}, "1"},
                      NumberCase{{0x3e, 100, 102}, "-1"}, NumberCase{{0xc2, 2}, "100"},
                      NumberCase{{0xc1, 13, 51}, "12.5"},
                      NumberCase{{0x3d, 100, 78, 56, 102}, "-123.45"},
                      NumberCase{{0xc0, 6}, "0.05"}, NumberCase{{0xbf, 2, 24}, "0.000123"},
                      // 123456789012345678 and 2^63: past a double's 15 to 17 digits
                      NumberCase{{0xc9, 13, 35, 57, 79, 91, 13, 35, 57, 79}, "123456789012345678"},
                      NumberCase{{0xca, 10, 23, 34, 73, 4, 69, 55, 78, 59, 9},
                                 "9223372036854775808"},
                      // 20 digits of base 100: the most a NUMBER holds, with no end byte
                      NumberCase{{0x3e, 100, 101, 101, 101, 101, 101, 101, 101, 101, 101,
                                  101,  101, 101, 101, 101, 101, 101, 101, 101, 100},
                                 "-1.00000000000000000000000000000000000001"},
                      NumberCase{{0xff, 101}, "~"}));

TEST(OracleNumberTest, BrokenBytesGiveNoText) {
    const std::uint8_t empty[] = {0, 0};
    const std::uint8_t tooLong[] = {30, 0xc1, 2};
    const std::uint8_t badDigit[] = {2, 0xc1, 120};
    EXPECT_TRUE(oracleNumberText(empty, sizeof empty).isEmpty());
    EXPECT_TRUE(oracleNumberText(tooLong, sizeof tooLong).isEmpty());
    EXPECT_TRUE(oracleNumberText(badDigit, sizeof badDigit).isEmpty());
}

TEST(OracleNumberTest, ValueIsAnIntegerADoubleOrTheExactText) {
    // QVariant's == compares numbers as doubles; the type and the text tell them apart.
    const struct {
        const char* text;
        int type;
    } cases[] = {{"123456789012345678", QMetaType::LongLong},
                 {"-12.5", QMetaType::Double},
                 {"0.000123", QMetaType::Double},
                 {"9223372036854775808", QMetaType::QString},
                 {"1234567890.123456789", QMetaType::QString}};
    for (const auto& c : cases) {
        const QVariant value = oracleNumberValue(QLatin1String(c.text));
        EXPECT_EQ(value.typeId(), c.type) << c.text;
        EXPECT_EQ(value.toString(), QLatin1String(c.text)) << c.text;
    }
}

}  // namespace
}  // namespace quarnel::db
