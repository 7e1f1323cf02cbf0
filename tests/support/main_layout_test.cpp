#include "support/main_layout.h"

#include "testing/test_names.h"

#include <gtest/gtest.h>

#include <ostream>

namespace quarnel::layout {

void PrintTo(const Rect& r, std::ostream* os) {
    *os << "(" << r.left << ", " << r.top << ", " << r.width << ", " << r.height << ")";
}

void PrintTo(const MainLayout& l, std::ostream* os) {
    const auto row = [os](const char* name, const Rect& r) {
        *os << "\n  " << name << " ";
        PrintTo(r, os);
    };
    row("lblTitle(0)", l.lblTitle[0]);
    row("lblTitle(1)", l.lblTitle[1]);
    row("lblTitle(2)", l.lblTitle[2]);
    row("lstTableList", l.lstTableList);
    row("MSFlexGrid1", l.MSFlexGrid1);
    row("tvTreeView", l.tvTreeView);
    row("imgSplitter", l.imgSplitter);
    row("imgSplitter2", l.imgSplitter2);
    row("picSplitter", l.picSplitter);
    row("picSplitter2", l.picSplitter2);
    row("cmdView", l.cmdView);
    row("Command1", l.Command1);
    row("Label1", l.Label1);
    *os << "\n  header width " << l.lstTableListHeaderWidth;
}

namespace {

constexpr double kW = 9105;
constexpr double kH = 7230;
constexpr double kSH = 6540;

// The design laid out at the designed outer size, split at 2880 and 3240.
MainLayout workedExample() {
    MainLayout l = MainLayout::design();
    double x = kDesignSplitterLeft;
    SizeControls(l, x, kW, kH, kSH);
    return l;
}

// ---- SizeControls: the worked example, control by control ----

struct ControlCase {
    const char* name;
    Rect (*get)(const MainLayout&);
    Rect expected;
};

class WorkedExample : public ::testing::TestWithParam<ControlCase> {};

TEST_P(WorkedExample, PlacesControl) {
    EXPECT_EQ(GetParam().get(workedExample()), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    SizeControls, WorkedExample,
    ::testing::Values(
        ControlCase{
            "lblTitle0", [](const MainLayout& l) { return l.lblTitle[0]; }, {0, 120, 2870, 270}},
        ControlCase{
            "lblTitle1", [](const MainLayout& l) { return l.lblTitle[1]; }, {2960, 120, 6015, 270}},
        ControlCase{"lblTitle2",
                    [](const MainLayout& l) { return l.lblTitle[2]; },
                    {2960, 3320, 6015, 270}},
        ControlCase{"lstTableList",
                    [](const MainLayout& l) { return l.lstTableList; },
                    {0, 420, 2880, 5240}},
        ControlCase{"MSFlexGrid1",
                    [](const MainLayout& l) { return l.MSFlexGrid1; },
                    {2940, 420, 6045, 2840}},
        ControlCase{"tvTreeView",
                    [](const MainLayout& l) { return l.tvTreeView; },
                    {2940, 3620, 6025, 2020}},
        ControlCase{"imgSplitter",
                    [](const MainLayout& l) { return l.imgSplitter; },
                    {2880, 120, 150, 5540}},
        ControlCase{"imgSplitter2",
                    [](const MainLayout& l) { return l.imgSplitter2; },
                    {2940, 3240, 6385, 150}},
        // The drag bars are left where they were designed.
        ControlCase{"picSplitter",
                    [](const MainLayout& l) { return l.picSplitter; },
                    {9120, 360, 72, 5160}},
        ControlCase{"picSplitter2",
                    [](const MainLayout& l) { return l.picSplitter2; },
                    {3120, 3240, 5835, 72}},
        ControlCase{
            "cmdView", [](const MainLayout& l) { return l.cmdView; }, {100, 5750, 1215, 375}},
        ControlCase{
            "Command1", [](const MainLayout& l) { return l.Command1; }, {7650, 5750, 1215, 375}},
        ControlCase{"Label1", [](const MainLayout& l) { return l.Label1; }, {0, 6230, 9225, 45}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SizeControls, SetsListHeaderWidth) {
    EXPECT_EQ(workedExample().lstTableListHeaderWidth, 2380);
}

// ---- SizeControls: clamping the vertical split ----

struct SplitClampCase {
    double W;
    double x;
    double expected;
};

class VerticalSplitClamp : public ::testing::TestWithParam<SplitClampCase> {};

TEST_P(VerticalSplitClamp, ClampsInPlaceUpperLimitLast) {
    const auto [W, x0, expected] = GetParam();
    MainLayout l = MainLayout::design();
    double x = x0;
    SizeControls(l, x, W, kH, kSH);
    EXPECT_EQ(x, expected);
    EXPECT_EQ(l.imgSplitter.left, expected);
    EXPECT_EQ(l.MSFlexGrid1.left, expected + 60);
}

INSTANTIATE_TEST_SUITE_P(
    SizeControls, VerticalSplitClamp,
    ::testing::Values(SplitClampCase{kW, 2880, 2880}, SplitClampCase{kW, 1000, 1500},
                      SplitClampCase{kW, 6000, kW - 4000},
                      // Below both limits: the upper one wins.
                      SplitClampCase{5000, 100, 1000}, SplitClampCase{5000, 1200, 1000},
                      SplitClampCase{3000, 2000, -1000}),
    quarnel::testing::nameFrom([](const SplitClampCase& c) {
        return QStringLiteral("Width%1At%2")
            .arg(quarnel::testing::numberText(c.W), quarnel::testing::numberText(c.x));
    }));

// ---- Refused sizes: skipped, and the later steps read what the controls hold ----

struct RefusalCase {
    const char* name;
    double W, H, SH;
    void (*adjust)(MainLayout&);  // the worked example changed into the expected layout
};

class RefusedSizes : public ::testing::TestWithParam<RefusalCase> {};

TEST_P(RefusedSizes, KeepPreviousValueAndLaterStepsRun) {
    const RefusalCase& c = GetParam();
    MainLayout l = workedExample();
    double x = kDesignSplitterLeft;
    SizeControls(l, x, c.W, c.H, c.SH);
    MainLayout expected = workedExample();
    c.adjust(expected);
    EXPECT_EQ(l, expected);
}

INSTANTIATE_TEST_SUITE_P(
    SizeControls, RefusedSizes,
    ::testing::Values(
        // List height -300 refused: the tree, grab area and buttons still use its old 5240.
        RefusalCase{"NegativeListHeight", kW, kH, 1000, [](MainLayout&) {}},
        // List height 2700 taken, tree height -520 refused.
        RefusalCase{"NegativeTreeHeight", kW, kH, 4000,
                    [](MainLayout& l) {
                        l.lstTableList.height = 2700;
                        l.imgSplitter.height = 3000;
                        l.cmdView.top = l.Command1.top = 3210;
                    }},
        // Split at 3000 - 4000 = -1000: the list keeps width 2880, so do the widths computed
        // from it, while every left follows the negative split.
        RefusalCase{"NegativeListWidth", 3000, kH, kSH,
                    [](MainLayout& l) {
                        l.imgSplitter.left = -1000;
                        l.MSFlexGrid1.left = l.tvTreeView.left = l.imgSplitter2.left = -940;
                        l.lblTitle[1].left = l.lblTitle[2].left = -920;
                        l.Command1.left = 6025 - 940 - 1315;
                        l.Label1.width = 3120;
                    }},
        // Horizontal split at 2000 - 2500 = -500: grid height -900 and tree height refused.
        RefusalCase{"NegativeGridHeight", kW, 2000, 1310,
                    [](MainLayout& l) {
                        l.imgSplitter2.top = -500;
                        l.lblTitle[2].top = -420;
                        l.tvTreeView.top = -120;
                        l.lstTableList.height = 10;
                        l.imgSplitter.height = 310;
                        l.cmdView.top = l.Command1.top = 520;
                        l.Label1.top = 1000;
                    }}),
    [](const auto& info) { return std::string(info.param.name); });

// ---- Form_Resize ----

TEST(FormResize, MinimisedWindowIsUntouched) {
    MainLayout l = MainLayout::design();
    EXPECT_FALSE(Form_Resize(l, true, 100, 100, 10));
    EXPECT_EQ(l, MainLayout::design());
}

TEST(FormResize, LaysOutAtCurrentSplits) {
    MainLayout l = MainLayout::design();
    EXPECT_TRUE(Form_Resize(l, false, kW, kH, kSH));
    EXPECT_EQ(l, workedExample());
}

struct MinimumCase {
    OuterSize size;
    OuterSize expected;
};

class MinimumSize : public ::testing::TestWithParam<MinimumCase> {};

TEST_P(MinimumSize, RaisesToMinimum) {
    EXPECT_EQ(clampToMinimumSize(GetParam().size), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(FormResize, MinimumSize,
                         ::testing::Values(MinimumCase{{4000, 3000}, {5500, 5000}},
                                           MinimumCase{{5499, 6000}, {5500, 6000}},
                                           MinimumCase{{9000, 4999}, {9000, 5000}},
                                           MinimumCase{{5500, 5000}, {5500, 5000}},
                                           MinimumCase{{kW, kH}, {kW, kH}}),
                         quarnel::testing::nameFrom([](const MinimumCase& c) {
                             return QStringLiteral("%1x%2").arg(
                                 quarnel::testing::numberText(c.size.width),
                                 quarnel::testing::numberText(c.size.height));
                         }));

TEST(FormResize, ShrinkingPullsHorizontalSplitUpButKeepsLastApplied) {
    MainLayout l = workedExample();
    double sngSplitter2Top = kDesignSplitter2Top;
    double y = 4700;
    SizeControls2(l, y, kH, sngSplitter2Top);
    ASSERT_EQ(l.imgSplitter2.top, 4700);

    Form_Resize(l, false, kW, 6000, 6000 - (kH - kSH));
    EXPECT_EQ(l.imgSplitter2.top, 3500);
    EXPECT_EQ(l.MSFlexGrid1.height, 3100);
    EXPECT_EQ(l.lblTitle[2].top, 3580);
    EXPECT_EQ(sngSplitter2Top, 4700);
    // The next horizontal layout still compares with the split it applied last.
    y = 3500;
    EXPECT_EQ(SizeControls2(l, y, 6000, sngSplitter2Top), TreeOrder::TopFirst);
}

// ---- SizeControls2 ----

struct FirstCallCase {
    double y;
    double applied;
    TreeOrder order;
};

class FirstSizeControls2 : public ::testing::TestWithParam<FirstCallCase> {};

TEST_P(FirstSizeControls2, ComparesWithDesignedSplit) {
    const auto [y0, applied, order] = GetParam();
    MainLayout l = workedExample();
    double sngSplitter2Top = MainLayout::design().picSplitter2.top;
    ASSERT_EQ(sngSplitter2Top, kDesignSplitter2Top);
    double y = y0;
    EXPECT_EQ(SizeControls2(l, y, kH, sngSplitter2Top), order);
    EXPECT_EQ(y, applied);
    EXPECT_EQ(sngSplitter2Top, applied);
    EXPECT_EQ(l.imgSplitter2.top, applied);
    EXPECT_EQ(l.picSplitter2.top, applied);
}

INSTANTIATE_TEST_SUITE_P(SizeControls2, FirstSizeControls2,
                         ::testing::Values(FirstCallCase{3240, 3240, TreeOrder::HeightFirst},
                                           FirstCallCase{3241, 3241, TreeOrder::HeightFirst},
                                           FirstCallCase{3239, 3239, TreeOrder::TopFirst},
                                           FirstCallCase{100, 2500, TreeOrder::TopFirst},
                                           FirstCallCase{9000, 4730, TreeOrder::HeightFirst}),
                         quarnel::testing::nameFrom([](const FirstCallCase& c) {
                             return QStringLiteral("Y%1").arg(quarnel::testing::numberText(c.y));
                         }));

struct DirectionCase {
    double from;
    double to;
    TreeOrder order;
};

class TreeEitherDirection : public ::testing::TestWithParam<DirectionCase> {};

TEST_P(TreeEitherDirection, SameRectanglesAsWholeLayout) {
    const auto [from, to, order] = GetParam();
    MainLayout l = workedExample();
    double sngSplitter2Top = kDesignSplitter2Top;
    double y = from;
    SizeControls2(l, y, kH, sngSplitter2Top);
    y = to;
    EXPECT_EQ(SizeControls2(l, y, kH, sngSplitter2Top), order);

    MainLayout whole = MainLayout::design();
    whole.imgSplitter2.top = to;
    double x = kDesignSplitterLeft;
    SizeControls(whole, x, kW, kH, kSH);
    EXPECT_EQ(l.tvTreeView, whole.tvTreeView);
    EXPECT_EQ(l.MSFlexGrid1, whole.MSFlexGrid1);
    EXPECT_EQ(l.lblTitle[2], whole.lblTitle[2]);
    EXPECT_EQ(l.imgSplitter2, whole.imgSplitter2);
    EXPECT_EQ(l.tvTreeView.height, 5240 - (to - 400) - 380);
}

INSTANTIATE_TEST_SUITE_P(SizeControls2, TreeEitherDirection,
                         ::testing::Values(DirectionCase{2500, 4000, TreeOrder::HeightFirst},
                                           DirectionCase{4730, 4000, TreeOrder::TopFirst},
                                           DirectionCase{4000, 4000, TreeOrder::HeightFirst},
                                           DirectionCase{2600, 3000, TreeOrder::HeightFirst},
                                           DirectionCase{4500, 3000, TreeOrder::TopFirst}),
                         quarnel::testing::nameFrom([](const DirectionCase& c) {
                             return QStringLiteral("From%1To%2")
                                 .arg(quarnel::testing::numberText(c.from),
                                      quarnel::testing::numberText(c.to));
                         }));

// ---- Dragging ----

struct DropCase {
    double pointer;  // where the pointer is released, in window twips
    double bar;      // where the drag bar stops
    double split;    // where the layout puts the split
};

QString dropName(const DropCase& c) {
    return QStringLiteral("Pointer%1").arg(quarnel::testing::numberText(c.pointer));
}

class VerticalDrop : public ::testing::TestWithParam<DropCase> {};

TEST_P(VerticalDrop, BarFollowsWithinLimitsAndLayoutSnaps) {
    const auto [pointer, bar, split] = GetParam();
    MainLayout l = workedExample();
    bool blnDragging = false;
    imgSplitter_MouseDown(l, blnDragging);
    imgSplitter_MouseMove(l, blnDragging, pointer - l.imgSplitter.left, kW);
    EXPECT_EQ(l.picSplitter.left, bar);
    EXPECT_EQ(l.imgSplitter.left, kDesignSplitterLeft) << "only the bar moves while dragging";

    imgSplitter_MouseUp(l, blnDragging, kW, kH, kSH);
    EXPECT_FALSE(blnDragging);
    EXPECT_FALSE(l.picSplitterVisible);
    EXPECT_EQ(l.imgSplitter.left, split);
    EXPECT_EQ(l.lstTableList.width, split);
    EXPECT_EQ(l.MSFlexGrid1.width, kW - split - 180);
}

INSTANTIATE_TEST_SUITE_P(Drag, VerticalDrop,
                         ::testing::Values(DropCase{700, 700, 1500}, DropCase{400, 500, 1500},
                                           DropCase{4000, 4000, 4000},
                                           DropCase{kW - 600, kW - 600, kW - 4000},
                                           DropCase{kW, kW - 500, kW - 4000}),
                         quarnel::testing::nameFrom(dropName));

class HorizontalDrop : public ::testing::TestWithParam<DropCase> {};

TEST_P(HorizontalDrop, BarFollowsWithinLimitsAndLayoutSnaps) {
    const auto [pointer, bar, split] = GetParam();
    MainLayout l = workedExample();
    double sngSplitter2Top = kDesignSplitter2Top;
    bool blnDragging = false;
    imgSplitter2_MouseDown(l, blnDragging);
    imgSplitter2_MouseMove(l, blnDragging, pointer - l.imgSplitter2.top, kH);
    EXPECT_EQ(l.picSplitter2.top, bar);
    EXPECT_EQ(l.imgSplitter2.top, kDesignSplitter2Top) << "only the bar moves while dragging";

    imgSplitter2_MouseUp(l, blnDragging, kH, sngSplitter2Top);
    EXPECT_FALSE(blnDragging);
    EXPECT_FALSE(l.picSplitter2Visible);
    EXPECT_EQ(l.imgSplitter2.top, split);
    EXPECT_EQ(sngSplitter2Top, split);
    EXPECT_EQ(l.MSFlexGrid1.height, split - 400);
    EXPECT_EQ(l.tvTreeView.top, split + 380);
}

INSTANTIATE_TEST_SUITE_P(Drag, HorizontalDrop,
                         ::testing::Values(DropCase{600, 600, 2500}, DropCase{100, 500, 2500},
                                           DropCase{4000, 4000, 4000},
                                           DropCase{kH - 1300, kH - 1300, kH - 2500},
                                           DropCase{kH, kH - 1300, kH - 2500}),
                         quarnel::testing::nameFrom(dropName));

TEST(Drag, PointerMovesWithoutPressMoveNothing) {
    MainLayout l = workedExample();
    imgSplitter_MouseMove(l, false, 1000, kW);
    imgSplitter2_MouseMove(l, false, 1000, kH);
    EXPECT_EQ(l, workedExample());
}

struct BarCase {
    double grabSize;  // width of imgSplitter, height of imgSplitter2
    double half;
};

class DragBarOnPress : public ::testing::TestWithParam<BarCase> {};

TEST_P(DragBarOnPress, CoversGrabAreaAtHalfThickness) {
    const auto [grabSize, half] = GetParam();
    MainLayout l = workedExample();
    l.imgSplitter.width = grabSize;
    l.imgSplitter2.height = grabSize;
    bool blnDragging = false;
    imgSplitter_MouseDown(l, blnDragging);
    EXPECT_TRUE(blnDragging);
    EXPECT_TRUE(l.picSplitterVisible);
    EXPECT_EQ(l.picSplitter, (Rect{2880, 120, half, 5520}));

    blnDragging = false;
    imgSplitter2_MouseDown(l, blnDragging);
    EXPECT_TRUE(blnDragging);
    EXPECT_TRUE(l.picSplitter2Visible);
    EXPECT_EQ(l.picSplitter2, (Rect{2940, 3240, 6365, half}));
}

// Rounded to whole twips before halving, the remainder dropped.
INSTANTIATE_TEST_SUITE_P(Drag, DragBarOnPress,
                         ::testing::Values(BarCase{150, 75}, BarCase{151, 75}, BarCase{149, 74},
                                           BarCase{150.5, 75}, BarCase{151.5, 76},
                                           BarCase{150.4, 75}, BarCase{149.6, 75}, BarCase{0, 0}),
                         quarnel::testing::nameFrom([](const BarCase& c) {
                             return QStringLiteral("Grab%1").arg(
                                 quarnel::testing::numberText(c.grabSize));
                         }));

TEST(Drag, RefusedBarSizeLeavesBarButStartsDrag) {
    MainLayout l = workedExample();
    l.imgSplitter.height = 10;
    bool blnDragging = false;
    imgSplitter_MouseDown(l, blnDragging);
    EXPECT_EQ(l.picSplitter, workedExample().picSplitter);
    EXPECT_TRUE(l.picSplitterVisible);
    EXPECT_TRUE(blnDragging);
}

}  // namespace
}  // namespace quarnel::layout
