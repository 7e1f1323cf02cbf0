#include "docs/document_names.h"
#include "docs/xlsx_definition_writer.h"

#include <gtest/gtest.h>

namespace quarnel::docs {
namespace {

struct NameCase {
    const char16_t* table;
    // Names handed out before, in order.
    std::vector<const char16_t*> before;
    const char16_t* expected;
};

class SheetNameTest : public ::testing::TestWithParam<NameCase> {};

TEST_P(SheetNameTest, FollowsExcelsRules) {
    UniqueNames names({QStringLiteral("テーブル一覧")});
    for (const char16_t* other : GetParam().before)
        names.claim(sheetNameFor(QString::fromUtf16(other)), kMaxSheetName);
    const QString name =
        names.claim(sheetNameFor(QString::fromUtf16(GetParam().table)), kMaxSheetName);
    EXPECT_EQ(name, QString::fromUtf16(GetParam().expected));
    EXPECT_LE(name.size(), kMaxSheetName);
}

INSTANTIATE_TEST_SUITE_P(
    Names, SheetNameTest,
    ::testing::Values(
        NameCase{u"EMP", {}, u"EMP"}, NameCase{u"A[1]:B*C?D/E\\F", {}, u"A_1__B_C_D_E_F"},
        NameCase{u"'quoted'", {}, u"_quoted_"}, NameCase{u"it's", {}, u"it's"},
        NameCase{u"", {}, u"_"}, NameCase{u"emp", {u"EMP"}, u"emp~2"},
        NameCase{u"Emp", {u"EMP", u"emp"}, u"Emp~3"},
        NameCase{u"テーブル一覧", {}, u"テーブル一覧~2"},
        NameCase{u"ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789", {}, u"ABCDEFGHIJKLMNOPQRSTUVWXYZ01234"},
        NameCase{u"ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789",
                 {u"ABCDEFGHIJKLMNOPQRSTUVWXYZ01234"},
                 u"ABCDEFGHIJKLMNOPQRSTUVWXYZ012~2"},
        // A character outside the BMP is never cut in half.
        NameCase{u"ABCDEFGHIJKLMNOPQRSTUVWXYZ0123𠮷", {}, u"ABCDEFGHIJKLMNOPQRSTUVWXYZ0123"}));

class FileNameTest : public ::testing::TestWithParam<NameCase> {};

TEST_P(FileNameTest, IsSafeOnWindowsAndLinux) {
    UniqueNames names({QStringLiteral("README")});
    for (const char16_t* other : GetParam().before)
        names.claim(fileBaseNameFor(QString::fromUtf16(other)), 100);
    EXPECT_EQ(names.claim(fileBaseNameFor(QString::fromUtf16(GetParam().table)), 100),
              QString::fromUtf16(GetParam().expected));
}

INSTANTIATE_TEST_SUITE_P(
    Names, FileNameTest,
    ::testing::Values(NameCase{u"受注明細", {}, u"受注明細"},
                      NameCase{u"a<b>c:d\"e/f\\g|h?i*j", {}, u"a_b_c_d_e_f_g_h_i_j"},
                      NameCase{u"CON", {}, u"CON_"}, NameCase{u"com1.log", {}, u"com1_.log"},
                      NameCase{u"COM10", {}, u"COM10"}, NameCase{u"name. ", {}, u"name__"},
                      NameCase{u"readme", {}, u"readme~2"},
                      NameCase{u"tab\there", {}, u"tab_here"}));

struct TextCase {
    const char16_t* text;
    const char16_t* expected;
};

class MarkdownCellTest : public ::testing::TestWithParam<TextCase> {};

TEST_P(MarkdownCellTest, EscapesWhatATableCellWouldRead) {
    EXPECT_EQ(markdownCell(QString::fromUtf16(GetParam().text)),
              QString::fromUtf16(GetParam().expected));
}

INSTANTIATE_TEST_SUITE_P(
    Texts, MarkdownCellTest,
    ::testing::Values(
        TextCase{u"氏名", u"氏名"}, TextCase{u"a|b", u"a\\|b"},
        TextCase{u"1行目\r\n2行目\n3行目\r4行目", u"1行目<br>2行目<br>3行目<br>4行目"},
        TextCase{u"<b>*x*_y_ [z] `q` & \\", u"\\<b\\>\\*x\\*\\_y\\_ \\[z\\] \\`q\\` \\& \\\\"},
        TextCase{u"\"double\" 'single'", u"\"double\" 'single'"}));

TEST(MarkdownCodeTest, FenceOutgrowsTheBackticksInside) {
    EXPECT_EQ(markdownCode(QStringLiteral("EMP")), QStringLiteral("`EMP`"));
    EXPECT_EQ(markdownCode(QStringLiteral("A|B")), QStringLiteral("`A\\|B`"));
    EXPECT_EQ(markdownCode(QStringLiteral("a``b")), QStringLiteral("```a``b```"));
    EXPECT_EQ(markdownCode(QStringLiteral("`x")), QStringLiteral("`` `x ``"));
    EXPECT_EQ(markdownCode(QString()), QString());
}

TEST(DisplayWidthTest, FullWidthCountsTwiceHalfWidthKanaOnce) {
    EXPECT_EQ(displayWidth(QStringLiteral("DEPTNO")), 6);
    EXPECT_EQ(displayWidth(QStringLiteral("社員番号")), 8);
    EXPECT_EQ(displayWidth(QStringLiteral("ﾃｰﾌﾞﾙ")), 5);
    EXPECT_EQ(displayWidth(QStringLiteral("ＡＢ１")), 6);
    EXPECT_EQ(displayWidth(QStringLiteral("ab\n社員番号\ncd")), 8);
}

TEST(SheetRowsTest, RefusesASheetBeyondTheLimit) {
    schema::Schema s;
    s.tables.resize(3);
    for (auto& t : s.tables)
        t.columns.resize(3);
    // The table list: 6 header rows and one per table.
    EXPECT_NO_THROW(checkSheetRows(s, false, 9));
    EXPECT_THROW(checkSheetRows(s, false, 8), schema::WriteError);
    // カラム一覧: 4 header rows and one per column.
    EXPECT_NO_THROW(checkSheetRows(s, true, 13));
    try {
        checkSheetRows(s, true, 12);
        ADD_FAILURE();
    } catch (const schema::WriteError& error) {
        EXPECT_TRUE(error.reason().contains(QStringLiteral("「カラム一覧」は 13 行")))
            << error.reason().toStdString();
    }
}

}  // namespace
}  // namespace quarnel::docs
