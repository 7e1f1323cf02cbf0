#include "support/text_encoding.h"

#include <gtest/gtest.h>

#include <vector>

// One table of cases for both converters: the Linux build runs it over iconv, and the Windows
// converter (code-page API) is written against it. A case marked for one converter records where
// the two systems' own character tables differ.
namespace quarnel {
namespace {

enum class Converter { Both, Iconv, Win32 };

#ifdef _WIN32
constexpr Converter kThisConverter = Converter::Win32;
#else
constexpr Converter kThisConverter = Converter::Iconv;
#endif

template <typename Case>
std::vector<Case> casesHere(std::initializer_list<Case> cases) {
    std::vector<Case> here;
    for (const Case& c : cases) {
        if (c.converter == Converter::Both || c.converter == kThisConverter)
            here.push_back(c);
    }
    return here;
}

struct EncodedCase {
    const char* name;
    QString text;
    const char* encoding;
    QByteArray bytes;
    Converter converter = Converter::Both;
};

void PrintTo(const EncodedCase& c, std::ostream* os) {
    *os << c.name;
}

class EncodeTextTest : public ::testing::TestWithParam<EncodedCase> {};

TEST_P(EncodeTextTest, WritesTheEncodingsBytes) {
    const EncodedCase& c = GetParam();
    QString error;
    const std::optional<QByteArray> bytes =
        encodeText(c.text, QString::fromLatin1(c.encoding), &error);
    ASSERT_TRUE(bytes.has_value()) << error.toStdString();
    EXPECT_EQ(bytes->toHex(' ').toStdString(), c.bytes.toHex(' ').toStdString());
    EXPECT_TRUE(error.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, EncodeTextTest,
    ::testing::ValuesIn(casesHere<EncodedCase>(
        {EncodedCase{"Utf8KeepsCrLfAndKanji", QStringLiteral("A\r\n顧"), "UTF-8",
                     QByteArray::fromHex("410d0ae9a1a7")},
         EncodedCase{"EmptyText", QString(), "CP932", QByteArray()},
         EncodedCase{"Cp932KanjiAndHalfWidthKana", QStringLiteral("顧客ﾃｰﾌﾞﾙ"), "CP932",
                     QByteArray::fromHex("8cda8b71c3b0ccded9")},
         EncodedCase{"Cp932HoldsNecCircledDigit", QStringLiteral("①"), "cp932",
                     QByteArray::fromHex("8740")},
         EncodedCase{"ShiftJisByLowerCaseName", QStringLiteral("顧客\r\n"), "shift_jis",
                     QByteArray::fromHex("8cda8b710d0a")},
         EncodedCase{"EucJp", QStringLiteral("顧客"), "EUC-JP", QByteArray::fromHex("b8dcb5d2")},
         EncodedCase{"Utf16LeWithoutByteOrderMark", QStringLiteral("A"), "UTF-16LE",
                     QByteArray::fromHex("4100")},
         // The seven JIS variant pairs, as Japanese Windows writes them, under any name of CP932.
         EncodedCase{"Cp932WritesVariantPairsAsWindows", QStringLiteral("〜‖−¢£¬¥"), "CP932",
                     QByteArray::fromHex("81608161817c8191819281ca5c")},
         EncodedCase{"Windows31jIsCp932", QStringLiteral("a〜¥"), "windows-31j",
                     QByteArray::fromHex("6181605c")},
         // Windows' own characters for those codes are written by the same codes.
         EncodedCase{"Cp932WindowsLookAlikes", QStringLiteral("～∥－￠￡￢\\"), "CP932",
                     QByteArray::fromHex("81608161817c8191819281ca5c")},
         // SHIFT_JIS reads 81 60 back as the wave dash itself.
         EncodedCase{"ShiftJisWaveDash", QStringLiteral("〜"), "SHIFT_JIS",
                     QByteArray::fromHex("8160")},
         // A stateful encoding gets its closing shift back to ASCII after the last character.
         EncodedCase{"Iso2022JpShiftsBackAtTheEnd", QStringLiteral("顧"), "ISO-2022-JP",
                     QByteArray::fromHex("1b2442385c1b2842")}})),
    [](const auto& info) { return std::string(info.param.name); });

struct FailureCase {
    const char* name;
    QString text;
    const char* encoding;
    QString error;
    Converter converter = Converter::Both;
};

void PrintTo(const FailureCase& c, std::ostream* os) {
    *os << c.name;
}

class EncodeTextFailureTest : public ::testing::TestWithParam<FailureCase> {};

TEST_P(EncodeTextFailureTest, NamesTheCharacterAndWhereItStands) {
    const FailureCase& c = GetParam();
    QString error;
    EXPECT_FALSE(encodeText(c.text, QString::fromLatin1(c.encoding), &error).has_value());
    EXPECT_EQ(error.toStdString(), c.error.toStdString());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, EncodeTextFailureTest,
    ::testing::ValuesIn(casesHere<FailureCase>(
        {FailureCase{
             "EmojiInCp932", QStringLiteral("AB\r\nC😀D"), "CP932",
             QStringLiteral("U+1F600 \"😀\" at line 2, column 2 cannot be written in CP932")},
         FailureCase{
             "LatinLetterInShiftJis", QStringLiteral("ab\u00e9"), "SHIFT_JIS",
             QStringLiteral("U+00E9 \"é\" at line 1, column 3 cannot be written in SHIFT_JIS")},
         FailureCase{
             "NecCircledDigitOutsideShiftJis", QStringLiteral("x①"), "SHIFT_JIS",
             QStringLiteral("U+2460 \"①\" at line 1, column 2 cannot be written in SHIFT_JIS")},
         FailureCase{
             "LoneLfAndLoneCrEndLines", QStringLiteral("a\nb\rcd😀"), "EUC-JP",
             QStringLiteral("U+1F600 \"😀\" at line 3, column 3 cannot be written in EUC-JP")},
         FailureCase{"ControlCharacterShownByNumberOnly", QStringLiteral("a\u0085"), "CP932",
                     QStringLiteral("U+0085 at line 1, column 2 cannot be written in CP932")},
         // A surrogate pair before the failure counts as one column.
         FailureCase{"UnpairedSurrogateFailsEvenInUtf8",
                     QStringLiteral("😀") + QChar(0xD800) + QStringLiteral("x"), "UTF-8",
                     QStringLiteral("unpaired surrogate U+D800 at line 1, column 2 cannot be "
                                    "written in UTF-8")},
         // Characters iconv writes silently as the code of a look-alike, and Windows (without its
         // best-fit table) not at all.
         FailureCase{"EmDashInCp932ReadsBackAsBar", QStringLiteral("a—"), "CP932",
                     QStringLiteral("U+2014 \"—\" at line 1, column 2 cannot be written in CP932: "
                                    "it would read back as U+2015 \"―\""),
                     Converter::Iconv},
         FailureCase{"EmDashInCp932HasNoCode", QStringLiteral("a—"), "CP932",
                     QStringLiteral("U+2014 \"—\" at line 1, column 2 cannot be written in CP932"),
                     Converter::Win32},
         FailureCase{"YenSignInEucJpReadsBackAsBackslash", QStringLiteral("\r\n1¥"), "EUC-JP",
                     QStringLiteral("U+00A5 \"¥\" at line 2, column 2 cannot be written in EUC-JP: "
                                    "it would read back as U+005C \"\\\""),
                     Converter::Iconv},
         FailureCase{"YenSignInEucJpHasNoCode", QStringLiteral("\r\n1¥"), "EUC-JP",
                     QStringLiteral("U+00A5 \"¥\" at line 2, column 2 cannot be written in EUC-JP"),
                     Converter::Win32},
         // SHIFT_JIS has no code for Windows' fullwidth tilde.
         FailureCase{"WindowsTildeInShiftJis", QStringLiteral("～"), "SHIFT_JIS",
                     QStringLiteral("U+FF5E \"～\" at line 1, column 1 cannot be written in "
                                    "SHIFT_JIS")},
         FailureCase{"BackslashInShiftJis", QStringLiteral("C:\\"), "SHIFT_JIS",
                     QStringLiteral("U+005C \"\\\" at line 1, column 3 cannot be written in "
                                    "SHIFT_JIS: it would read back as U+00A5 \"¥\"")},
         FailureCase{"WindowsCentSignInShiftJis", QStringLiteral("￠"), "SHIFT_JIS",
                     QStringLiteral("U+FFE0 \"￠\" at line 1, column 1 cannot be written in "
                                    "SHIFT_JIS: it would read back as U+00A2 \"¢\"")},
         FailureCase{"UnknownName", QStringLiteral("a"), "NO-SUCH-ENCODING",
                     QStringLiteral("unknown encoding NO-SUCH-ENCODING")},
         // Suffixes that would make the converter substitute or drop characters are refused.
         FailureCase{"TransliterationSuffix", QStringLiteral("😀"), "CP932//TRANSLIT",
                     QStringLiteral("unknown encoding CP932//TRANSLIT")},
         FailureCase{"IgnoreSuffix", QStringLiteral("😀"), "CP932//IGNORE",
                     QStringLiteral("unknown encoding CP932//IGNORE")}})),
    [](const auto& info) { return std::string(info.param.name); });

TEST(IsCp932Test, KnowsTheNamesOfCp932Only) {
    EXPECT_TRUE(isCp932(QStringLiteral("cp932")));
    EXPECT_TRUE(isCp932(QStringLiteral("MS932")));
    EXPECT_FALSE(isCp932(QStringLiteral("SHIFT_JIS")));
    EXPECT_FALSE(isCp932(QStringLiteral("IBM-932")));
}

TEST(IsKnownEncodingTest, AcceptsConverterNamesAndRefusesSubstitutingOnes) {
    EXPECT_TRUE(isKnownEncoding(QStringLiteral("UTF-8")));
    EXPECT_TRUE(isKnownEncoding(QStringLiteral("cp932")));
    EXPECT_FALSE(isKnownEncoding(QString()));
    EXPECT_FALSE(isKnownEncoding(QStringLiteral("CP932//TRANSLIT")));
    EXPECT_FALSE(isKnownEncoding(QStringLiteral("NO-SUCH-ENCODING")));
}

}  // namespace
}  // namespace quarnel
