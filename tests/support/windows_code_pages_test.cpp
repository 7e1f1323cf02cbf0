// The encoding names of Windows, and SHIFT_JIS written over code page 932 as the C library
// writes it.
#include "support/windows_code_pages.h"

#include "support/text_codec.h"

#include <gtest/gtest.h>

namespace quarnel::codepages {
namespace {

struct NameCase {
    const char* name;
    unsigned codePage;  // 0: refused
    bool jisShiftJis;
};

void PrintTo(const NameCase& c, std::ostream* os) {
    *os << c.name;
}

class CodePageForTest : public ::testing::TestWithParam<NameCase> {};

TEST_P(CodePageForTest, MapsTheNameOrRefusesIt) {
    const NameCase& c = GetParam();
    const std::optional<CodePage> page = codePageFor(QString::fromLatin1(c.name));
    ASSERT_EQ(page.has_value(), c.codePage != 0);
    if (page) {
        EXPECT_EQ(page->number, c.codePage);
        EXPECT_EQ(page->jisShiftJis, c.jisShiftJis);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Names, CodePageForTest,
    ::testing::Values(NameCase{"utf-8", kUtf8, false}, NameCase{"UTF-16LE", kUtf16Le, false},
                      NameCase{"Windows-31J", kCp932, false}, NameCase{"ms932", kCp932, false},
                      NameCase{"Shift_JIS", kCp932, true}, NameCase{"sjis", kCp932, true},
                      NameCase{"EUC-JP", 20932, false}, NameCase{"ISO-2022-JP", 50220, false},
                      NameCase{"cp1252", 1252, false}, NameCase{"WINDOWS-1252", 1252, false},
                      NameCase{"IBM437", 437, false},
                      // Refused: a byte-order mark iconv would add, suffixes, no or odd digits.
                      NameCase{"UTF-16", 0, false}, NameCase{"CP932//TRANSLIT", 0, false},
                      NameCase{"CP", 0, false}, NameCase{"CP+1252", 0, false},
                      NameCase{"CP 932", 0, false}, NameCase{"CP70000", 0, false},
                      NameCase{"NO-SUCH-ENCODING", 0, false}),
    [](const auto& info) {
        std::string name = info.param.name;
        for (char& ch : name) {
            if (!std::isalnum(static_cast<unsigned char>(ch)))
                ch = '_';
        }
        return name + "_" + std::to_string(info.index);
    });

TEST(JisShiftJisTest, OnlyJisX0208LeadBytesPass) {
    EXPECT_TRUE(isJisX0208(QByteArray::fromHex("41b18160889fea9f")));
    EXPECT_FALSE(isJisX0208(QByteArray::fromHex("8740")));  // NEC row 13
    EXPECT_FALSE(isJisX0208(QByteArray::fromHex("ed40")));  // NEC-selected IBM
    EXPECT_FALSE(isJisX0208(QByteArray::fromHex("f040")));  // user area
    EXPECT_FALSE(isJisX0208(QByteArray::fromHex("fa40")));  // IBM
    EXPECT_FALSE(isJisX0208(QByteArray::fromHex("4181")));  // cut short
}

#ifndef _WIN32
// The JIS rules over the C library's own CP932 give the C library's SHIFT_JIS, character by
// character: the bytes written, refusal, and what the bytes read back as. Windows writes without
// its best-fit table only what reads back as itself; the C library's CP932 stands in for it so.
TEST(JisShiftJisTest, OverCp932WritesAndReadsAsShiftJis) {
    const auto cp932 = detail::openTextCodec(QStringLiteral("CP932"));
    const auto shiftJis = detail::openTextCodec(QStringLiteral("SHIFT_JIS"));
    ASSERT_TRUE(cp932 && shiftJis);
    const QString characters =
        QStringLiteral(" 09AZaz\\~¥‾〜‖−¢£¬～∥－￠￡￢ｱﾟ顧客①ⅰ纊\uE000∵¦—―é\u0080\u00A0");
    for (const QChar ch : characters) {
        const QString one(ch);
        std::optional<QByteArray> emulated;
        if (firstRefusedByJis(one) < 0) {
            const QString windowsText = jisToCp932(one);
            emulated = cp932->encode(windowsText);
            if (emulated && (cp932->decode(*emulated) != windowsText || !isJisX0208(*emulated)))
                emulated.reset();
        }
        const std::optional<QByteArray> expected = shiftJis->encode(one);
        EXPECT_EQ(emulated.has_value(), expected.has_value()) << one.toStdString();
        if (!emulated || !expected)
            continue;
        EXPECT_EQ(emulated->toHex().toStdString(), expected->toHex().toStdString())
            << one.toStdString();
        const std::optional<QString> readBack = cp932->decode(*expected);
        ASSERT_TRUE(readBack.has_value()) << one.toStdString();
        EXPECT_EQ(cp932ToJis(*readBack).toStdString(),
                  shiftJis->decode(*expected).value_or(QString()).toStdString())
            << one.toStdString();
    }
}
#endif

}  // namespace
}  // namespace quarnel::codepages
