#include "support/grid_utils.h"

#include <gtest/gtest.h>

#include <vector>

namespace quarnel::splet {
namespace {

constexpr quint32 kMarkBack = rgb(200, 255, 200);

// Column widths of the main window's grid; the seventh column is added by the caller.
const std::vector<int> kMainWidths = {400, 300, 2000, 500, 600, 800};

void setRowHeights(FlexGrid& grid, const std::vector<int>& heights, int fixedRows) {
    grid.setRows(int(heights.size()));
    if (fixedRows <= grid.Rows()) {
        grid.setFixedRows(fixedRows);
    }
    for (int i = 0; i < int(heights.size()); ++i) {
        grid.setRowHeight(i, heights[std::size_t(i)]);
    }
}

void setColWidths(FlexGrid& grid, const std::vector<int>& widths, int fixedCols) {
    grid.setCols(int(widths.size()));
    if (fixedCols <= grid.Cols()) {
        grid.setFixedCols(fixedCols);
    }
    for (int i = 0; i < int(widths.size()); ++i) {
        grid.setColWidth(i, widths[std::size_t(i)]);
    }
}

// ---- Limits ----

struct LimitCase {
    const char* name;
    std::vector<int> sizes;
    int fixed;
    double extent;  // outer Height or Width
    int expected;
};

class RowLimitTest : public testing::TestWithParam<LimitCase> {};

TEST_P(RowLimitTest, FirstRowReachingTheHeight) {
    FlexGrid grid;
    setRowHeights(grid, GetParam().sizes, GetParam().fixed);
    grid.setHeight(GetParam().extent);
    EXPECT_EQ(GetRowLimit(grid), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RowLimitTest,
    testing::Values(LimitCase{"RowsOf250InHeight1000", {250, 250, 250, 250, 250, 250}, 1, 1000, 1},
                    LimitCase{"LastRowEndsExactlyAtTheEdge", {250, 250, 250, 250}, 1, 1000, 1},
                    LimitCase{"AllRowsFit", {250, 250, 250}, 1, 1000, 3},
                    LimitCase{"OneTwipShort", {250, 250, 250, 250}, 1, 1001, 4},
                    LimitCase{"NoFixedRow", {250, 250, 250, 250, 250}, 0, 1000, 2},
                    LimitCase{"FirstRowAlreadyReaches", {250, 250}, 1, 200, -2},
                    LimitCase{"NoRows", {}, 0, 1000, 0}),
    [](const auto& info) { return std::string(info.param.name); });

class ColLimitTest : public testing::TestWithParam<LimitCase> {};

TEST_P(ColLimitTest, FirstColumnReachingTheWidth) {
    FlexGrid grid;
    setColWidths(grid, GetParam().sizes, GetParam().fixed);
    grid.setWidth(GetParam().extent);
    EXPECT_EQ(GetColLimit(grid), GetParam().expected);
}

std::vector<int> mainWidthsWith(int seventh) {
    std::vector<int> widths = kMainWidths;
    widths.push_back(seventh);
    return widths;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ColLimitTest,
    testing::Values(LimitCase{"SeventhColumnReaches5800", mainWidthsWith(1200), 1, 5800, 5},
                    LimitCase{"NeverReaches5800", mainWidthsWith(960), 1, 5800, 7},
                    LimitCase{"ReachesAtFourthColumn", mainWidthsWith(960), 1, 3200, 2},
                    LimitCase{"NoFixedColumn", mainWidthsWith(960), 0, 3200, 3},
                    LimitCase{"NoColumns", {}, 0, 5800, 0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(GridLimitTest, DefaultSizesCountForRowsAndColumnsNeverSized) {
    FlexGrid grid;
    grid.setRows(6);
    grid.setHeight(FlexGrid::kDefaultRowHeight * 3);
    EXPECT_EQ(GetRowLimit(grid), 0);  // reached at i = 2
    grid.setCols(7);
    grid.setWidth(FlexGrid::kDefaultColWidth * 7);
    EXPECT_EQ(GetColLimit(grid), 5);  // reached at i = 6
}

// ---- MoveTextToCell ----

struct EditorCase {
    const char* name;
    int row, col, topRow, leftCol;
    double gridLeft, gridTop;
    EditorRect expected;
};

class MoveTextToCellTest : public testing::TestWithParam<EditorCase> {};

TEST_P(MoveTextToCellTest, InsetsTheBoxInsideTheCurrentCell) {
    FlexGrid grid;
    grid.setRows(10);
    setColWidths(grid, mainWidthsWith(960), 1);
    grid.setRowHeight(0, 250);
    grid.setRowHeight(2, 300);
    const EditorCase& c = GetParam();
    grid.setLeft(c.gridLeft);
    grid.setTop(c.gridTop);
    grid.setTopRow(c.topRow);
    grid.setLeftCol(c.leftCol);
    grid.setCurrentCell(c.row, c.col);
    EXPECT_EQ(MoveTextToCell(grid), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cells, MoveTextToCellTest,
    testing::Values(
        EditorCase{"FirstDataCell", 1, 1, 1, 1, 100, 200, {505, 455, 285, 225}},
        EditorCase{"FurtherIn", 2, 3, 1, 1, 100, 200, {2805, 695, 485, 285}},
        EditorCase{"Scrolled", 3, 3, 3, 3, 0, 0, {405, 255, 485, 225}},
        EditorCase{"FractionalGridPosition", 1, 1, 1, 1, 120.5, 60.25, {525.5, 315.25, 285, 225}}),
    [](const auto& info) { return std::string(info.param.name); });

// ---- Row colours ----

quint32 shownBack(const FlexGrid& grid, int row, int col) {
    return grid.cellBackColorAt(row, col).value_or(grid.BackColor());
}

quint32 shownFore(const FlexGrid& grid, int row, int col) {
    return grid.cellForeColorAt(row, col).value_or(grid.ForeColor());
}

class RowColorTest : public testing::Test {
  protected:
    void SetUp() override {
        grid.setRows(4);
        setColWidths(grid, mainWidthsWith(960), 1);
        grid.setLeftCol(2);
        grid.setCurrentCell(2, 3);
        QObject::connect(&grid, &FlexGrid::RowColChange, [this] {
            ++cellChanges;
            repaintingDuringWalk = repaintingDuringWalk || grid.Redraw();
        });
        QObject::connect(&grid, &FlexGrid::redrawChanged,
                         [this](bool on) { redrawSwitches.push_back(on); });
    }

    FlexGrid grid;
    int cellChanges = 0;
    bool repaintingDuringWalk = false;
    std::vector<bool> redrawSwitches;
};

TEST_F(RowColorTest, SetRowColorColoursOnlyTheDataCellsOfTheCurrentRow) {
    SetRowColor(grid, kMarkBack, 0);
    for (int r = 0; r < grid.Rows(); ++r) {
        for (int c = 0; c < grid.Cols(); ++c) {
            const bool marked = r == 2 && c >= 1;
            EXPECT_EQ(shownBack(grid, r, c), marked ? kMarkBack : grid.BackColor()) << r << c;
            EXPECT_EQ(shownFore(grid, r, c), grid.ForeColor()) << r << c;
        }
    }
}

TEST_F(RowColorTest, SetRowColorPutsCellAndScrollBackWithRepaintingOffMeanwhile) {
    SetRowColor(grid, kMarkBack, rgb(255, 0, 0));
    EXPECT_EQ(grid.Row(), 2);
    EXPECT_EQ(grid.Col(), 3);
    EXPECT_EQ(grid.LeftCol(), 2);
    EXPECT_TRUE(grid.Redraw());
    // Six data columns walked from column 3 (each a change), then back to 3.
    EXPECT_EQ(cellChanges, 7);
    EXPECT_FALSE(repaintingDuringWalk);
    EXPECT_EQ(redrawSwitches, (std::vector<bool>{false, true}));
    EXPECT_EQ(grid.cellForeColorAt(2, 6), rgb(255, 0, 0));
}

TEST_F(RowColorTest, ResetRowColorGivesBackTheGridColours) {
    SetRowColor(grid, kMarkBack, rgb(255, 0, 0));
    grid.setRow(1);
    SetRowColor(grid, kMarkBack, 0);
    grid.setRow(2);
    ResetRowColor(grid);
    for (int c = 0; c < grid.Cols(); ++c) {
        EXPECT_EQ(shownBack(grid, 2, c), grid.BackColor()) << c;
        EXPECT_EQ(shownFore(grid, 2, c), grid.ForeColor()) << c;
    }
    EXPECT_EQ(shownBack(grid, 1, 4), kMarkBack);  // the other mark stays
}

TEST_F(RowColorTest, ResetOfAnUnmarkedRowChangesNothingVisible) {
    ResetRowColor(grid);
    for (int c = 0; c < grid.Cols(); ++c) {
        EXPECT_EQ(shownBack(grid, 2, c), grid.BackColor());
        EXPECT_EQ(shownFore(grid, 2, c), grid.ForeColor());
    }
}

TEST_F(RowColorTest, GridWithoutDataColumnsIsLeftAlone) {
    grid.setCols(1);  // column 0 is the fixed one
    grid.setCurrentCell(2, 0);
    cellChanges = 0;
    SetRowColor(grid, kMarkBack, 0);
    ResetRowColor(grid);
    EXPECT_EQ(grid.Col(), 0);
    EXPECT_EQ(grid.LeftCol(), 1);
    EXPECT_EQ(cellChanges, 0);
    EXPECT_FALSE(grid.cellBackColorAt(2, 0).has_value());
}

}  // namespace
}  // namespace quarnel::splet
