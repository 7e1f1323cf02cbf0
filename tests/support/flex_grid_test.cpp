#include "support/flex_grid.h"

#include "testing/test_names.h"

#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

namespace quarnel {
namespace {

// Records the grid's cell-change notifications with the current cell seen inside each handler.
struct EventLog {
    explicit EventLog(FlexGrid& grid) {
        QObject::connect(&grid, &FlexGrid::RowColChange,
                         [this, &grid] { events.push_back("RowColChange " + cell(grid)); });
        QObject::connect(&grid, &FlexGrid::EnterCell,
                         [this, &grid] { events.push_back("EnterCell " + cell(grid)); });
    }
    static std::string cell(const FlexGrid& grid) {
        return std::to_string(grid.Row()) + "," + std::to_string(grid.Col());
    }
    std::vector<std::string> events;
};

// A 5 x 4 grid (one fixed row and column) whose cell (r, c) holds "r.c".
void fill(FlexGrid& grid, int rows = 5, int cols = 4) {
    grid.setRows(rows);
    grid.setCols(cols);
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < cols; ++c) {
            grid.setTextMatrix(r, c, QString("%1.%2").arg(r).arg(c));
        }
    }
}

// The main window's grid: columns 400, 300, 2000, 500, 600, 800 twips and one of default width.
void sizeLikeMainWindow(FlexGrid& grid) {
    const int widths[] = {400, 300, 2000, 500, 600, 800};
    for (int c = 0; c < 6; ++c) {
        grid.setColWidth(c, widths[c]);
    }
    grid.setRowHeight(0, 250);
    grid.setCols(7);
}

TEST(FlexGridTest, DefaultsMatchAnEmptyClassicGrid) {
    FlexGrid grid;
    EXPECT_EQ(grid.Rows(), 2);
    EXPECT_EQ(grid.Cols(), 2);
    EXPECT_EQ(grid.FixedRows(), 1);
    EXPECT_EQ(grid.FixedCols(), 1);
    EXPECT_EQ(grid.Row(), 1);
    EXPECT_EQ(grid.Col(), 1);
    EXPECT_EQ(grid.TopRow(), 1);
    EXPECT_EQ(grid.LeftCol(), 1);
    EXPECT_EQ(grid.RowHeight(0), FlexGrid::kDefaultRowHeight);
    EXPECT_EQ(grid.ColWidth(1), FlexGrid::kDefaultColWidth);
    EXPECT_EQ(grid.RowHeight(50), FlexGrid::kDefaultRowHeight);
    EXPECT_EQ(grid.CellBackColor(), 0u);
    EXPECT_EQ(grid.CellForeColor(), 0u);
    EXPECT_TRUE(grid.Redraw());
}

TEST(FlexGridTest, ColourValuesAreBlueGreenRed) {
    EXPECT_EQ(rgb(200, 200, 255), 0xFFC8C8u);
    EXPECT_EQ(rgb(200, 255, 200), 13172680u);
    EXPECT_EQ(rgb(192, 0, 0), 0x0000C0u);
}

// ---- Cell-change notifications ----

struct MoveCase {
    const char* name;
    std::function<void(FlexGrid&)> action;
    std::vector<std::string> expected;
};

class CellChangeTest : public ::testing::TestWithParam<MoveCase> {};

TEST_P(CellChangeTest, FiresSynchronouslyInOrderAndOnlyOnChange) {
    FlexGrid grid;
    fill(grid);
    grid.setCurrentCell(2, 2);
    EventLog log(grid);
    GetParam().action(grid);
    EXPECT_EQ(log.events, GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Moves, CellChangeTest,
    ::testing::Values(
        MoveCase{"NewRow", [](FlexGrid& g) { g.setRow(3); }, {"RowColChange 3,2", "EnterCell 3,2"}},
        MoveCase{"NewCol", [](FlexGrid& g) { g.setCol(0); }, {"RowColChange 2,0", "EnterCell 2,0"}},
        MoveCase{"SameRow", [](FlexGrid& g) { g.setRow(2); }, {}},
        MoveCase{"SameCol", [](FlexGrid& g) { g.setCol(2); }, {}},
        MoveCase{"BothAtOnce",
                 [](FlexGrid& g) { g.setCurrentCell(4, 3); },
                 {"RowColChange 4,3", "EnterCell 4,3"}},
        MoveCase{"RowThenCol",
                 [](FlexGrid& g) {
                     g.setRow(1);
                     g.setCol(1);
                 },
                 {"RowColChange 1,2", "EnterCell 1,2", "RowColChange 1,1", "EnterCell 1,1"}},
        MoveCase{"SelectionOnly",
                 [](FlexGrid& g) {
                     g.setRowSel(4);
                     g.setColSel(3);
                 },
                 {}},
        MoveCase{"ScrollOnly", [](FlexGrid& g) { g.setTopRow(3); }, {}},
        MoveCase{"ShrinkPastCurrentRow",
                 [](FlexGrid& g) { g.setRows(2); },
                 {"RowColChange 1,2", "EnterCell 1,2"}},
        MoveCase{"ShrinkKeepingCurrentRow", [](FlexGrid& g) { g.setRows(3); }, {}},
        MoveCase{"RemoveCurrentLastRow",
                 [](FlexGrid& g) {
                     g.setRow(4);
                     g.RemoveItem(4);
                 },
                 {"RowColChange 4,2", "EnterCell 4,2", "RowColChange 3,2", "EnterCell 3,2"}},
        MoveCase{"AddItemAboveKeepsIndex", [](FlexGrid& g) { g.AddItem("x", 1); }, {}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(FlexGridTest, HandlersRunBeforeTheAssignmentReturns) {
    FlexGrid grid;
    fill(grid);
    bool returned = false;
    int enteredBeforeReturn = 0;
    QObject::connect(&grid, &FlexGrid::EnterCell, [&] {
        if (!returned) {
            ++enteredBeforeReturn;
        }
    });
    grid.setRow(3);
    returned = true;
    EXPECT_EQ(enteredBeforeReturn, 1);
}

TEST(FlexGridTest, AssigningTheCurrentCellCollapsesTheSelection) {
    FlexGrid grid;
    fill(grid);
    grid.setRowSel(4);
    grid.setColSel(3);
    grid.setRow(1);  // the same row: the selection still collapses
    EXPECT_EQ(grid.RowSel(), 1);
    EXPECT_EQ(grid.ColSel(), 1);
    grid.setColSel(3);
    grid.setCol(2);
    EXPECT_EQ(grid.RowSel(), 1);
    EXPECT_EQ(grid.ColSel(), 2);
}

// ---- Rows, AddItem, Clear ----

struct AddCase {
    const char* name;
    QString text;
    int index;  // -1: append
    std::vector<QStringList> expectedRows;
};

class AddItemTest : public ::testing::TestWithParam<AddCase> {};

TEST_P(AddItemTest, FillsTheNewRowFromTabSeparatedParts) {
    FlexGrid grid;
    grid.setCols(3);
    grid.setTextMatrix(0, 1, "H");
    grid.setTextMatrix(1, 1, "last");
    const AddCase& c = GetParam();
    if (c.index < 0) {
        grid.AddItem(c.text);
    } else {
        grid.AddItem(c.text, c.index);
    }
    ASSERT_EQ(grid.Rows(), int(c.expectedRows.size()));
    for (int r = 0; r < grid.Rows(); ++r) {
        for (int col = 0; col < 3; ++col) {
            EXPECT_EQ(grid.TextMatrix(r, col), c.expectedRows[r][col]) << r << "," << col;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Rows, AddItemTest,
    ::testing::Values(
        AddCase{"Append", "a\tb\tc", -1, {{"", "H", ""}, {"", "last", ""}, {"a", "b", "c"}}},
        AddCase{
            "AtIndexShiftsLaterRows", "a\tb", 1, {{"", "H", ""}, {"a", "b", ""}, {"", "last", ""}}},
        AddCase{"ExtraPartsDropped",
                "1\t2\t3\t4\t5",
                2,
                {{"", "H", ""}, {"", "last", ""}, {"1", "2", "3"}}},
        AddCase{"EmptyPartsKept", "\t\tz", 0, {{"", "", "z"}, {"", "H", ""}, {"", "last", ""}}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(FlexGridTest, RowGivenAsCellsKeepsTabsInsideACell) {
    FlexGrid grid;
    grid.setCols(3);
    grid.AddItem(QStringList({"a\tb", "c"}), 1);
    grid.AddItem(QStringList({"1", "2", "3", "4"}));
    ASSERT_EQ(grid.Rows(), 4);
    EXPECT_EQ(grid.TextMatrix(1, 0), "a\tb");
    EXPECT_EQ(grid.TextMatrix(1, 1), "c");
    EXPECT_EQ(grid.TextMatrix(1, 2), "");
    EXPECT_EQ(grid.TextMatrix(3, 2), "3");
    EXPECT_THROW(grid.AddItem(QStringList({"x"}), 9), std::out_of_range);
}

TEST(FlexGridTest, TableFillLeavesHeaderAndOneRowPerColumn) {
    // How the column list is loaded: header, rows inserted ahead of the empty last row, which is
    // then dropped by lowering Rows.
    FlexGrid grid;
    grid.Clear();
    grid.setRows(2);
    grid.setCols(7);
    grid.setTextMatrix(0, 2, "NAME");
    grid.AddItem("1\tPK\tID\t10\tNUMBER\tNumber\tNOT NULL", 1);
    grid.AddItem("2\t\tNAME\t40\tVARCHAR2\tString\tNULL", 2);
    grid.setRows(grid.Rows() - 1);
    ASSERT_EQ(grid.Rows(), 3);
    EXPECT_EQ(grid.TextMatrix(0, 2), "NAME");
    EXPECT_EQ(grid.TextMatrix(1, 2), "ID");
    EXPECT_EQ(grid.TextMatrix(2, 1), "");
    EXPECT_EQ(grid.TextMatrix(2, 6), "NULL");
}

TEST(FlexGridTest, RowHeightsMoveWithInsertedRows) {
    FlexGrid grid;
    grid.setRows(3);
    grid.setRowHeight(1, 500);
    grid.AddItem("x", 1);
    EXPECT_EQ(grid.RowHeight(1), FlexGrid::kDefaultRowHeight);
    EXPECT_EQ(grid.RowHeight(2), 500);
    grid.RemoveItem(1);
    EXPECT_EQ(grid.RowHeight(1), 500);
}

TEST(FlexGridTest, ClearEmptiesEveryCellButKeepsTheShape) {
    FlexGrid grid;
    fill(grid);
    sizeLikeMainWindow(grid);
    grid.setCurrentCell(2, 2);
    grid.setCellBackColor(rgb(200, 255, 200));
    grid.setTopRow(3);
    grid.Clear();
    EXPECT_EQ(grid.Rows(), 5);
    EXPECT_EQ(grid.Cols(), 7);
    EXPECT_EQ(grid.ColWidth(2), 2000);
    EXPECT_EQ(grid.TopRow(), 3);
    EXPECT_EQ(grid.TextMatrix(0, 1), "");  // header cells too
    EXPECT_EQ(grid.TextMatrix(4, 3), "");
    EXPECT_EQ(grid.CellBackColor(), 0u);  // marks go as well
}

TEST(FlexGridTest, GrowingAddsEmptyCellsAndShrinkingDropsThem) {
    FlexGrid grid;
    fill(grid);
    grid.setRows(2);
    grid.setCols(2);
    grid.setRows(5);
    grid.setCols(4);
    EXPECT_EQ(grid.TextMatrix(1, 1), "1.1");
    EXPECT_EQ(grid.TextMatrix(4, 3), "");
    EXPECT_EQ(grid.TextMatrix(1, 3), "");
}

TEST(FlexGridTest, CountsBelowTheFixedPartLowerIt) {
    FlexGrid grid;
    grid.setRows(0);
    EXPECT_EQ(grid.FixedRows(), 0);
    EXPECT_EQ(grid.Row(), 0);
    EXPECT_EQ(grid.Clip(), "");
    EXPECT_THROW(grid.Text(), std::out_of_range);
    EXPECT_THROW(grid.setFixedRows(1), std::out_of_range);
    grid.setRows(3);
    grid.setFixedRows(3);  // all rows fixed is allowed
    EXPECT_EQ(grid.TopRow(), 3);
    grid.setCols(1);
    EXPECT_EQ(grid.FixedCols(), 1);
    EXPECT_EQ(grid.Col(), 0);
}

TEST(FlexGridTest, InvalidIndicesThrowAndChangeNothing) {
    FlexGrid grid;
    fill(grid, 3, 3);
    const std::vector<std::function<void()>> actions = {
        [&] { grid.TextMatrix(-1, 0); },
        [&] { grid.TextMatrix(3, 0); },
        [&] { grid.TextMatrix(0, 3); },
        [&] { grid.setTextMatrix(0, -1, "x"); },
        [&] { grid.setRow(3); },
        [&] { grid.setCol(-1); },
        [&] { grid.setCurrentCell(1, 3); },
        [&] { grid.setRowSel(-1); },
        [&] { grid.setColSel(3); },
        [&] { grid.setRows(-1); },
        [&] { grid.setCols(-1); },
        [&] { grid.setFixedCols(4); },
        [&] { grid.AddItem("x", 4); },
        [&] { grid.AddItem("x", -1); },
        [&] { grid.RemoveItem(3); },
        [&] { grid.RowHeight(-1); },
        [&] { grid.setColWidth(-1, 100); },
        [&] { grid.cellBackColorAt(3, 0); },
    };
    for (std::size_t i = 0; i < actions.size(); ++i) {
        EXPECT_THROW(actions[i](), std::out_of_range) << "action " << i;
    }
    EXPECT_EQ(grid.Rows(), 3);
    EXPECT_EQ(grid.Cols(), 3);
    EXPECT_EQ(grid.Row(), 1);
    EXPECT_EQ(grid.Col(), 1);
    EXPECT_EQ(grid.Clip(), "1.1");
}

// ---- Clip ----

struct ClipCase {
    const char* name;
    int row, col, rowSel, colSel;
    QString expected;
};

class ClipTest : public ::testing::TestWithParam<ClipCase> {};

TEST_P(ClipTest, JoinsCellsByTabAndRowsByCarriageReturn) {
    FlexGrid grid;
    fill(grid);
    const ClipCase& c = GetParam();
    grid.setCurrentCell(c.row, c.col);
    grid.setRowSel(c.rowSel);
    grid.setColSel(c.colSel);
    EXPECT_EQ(grid.Clip(), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Ranges, ClipTest,
    ::testing::Values(ClipCase{"SingleCell", 2, 2, 2, 2, "2.2"},
                      ClipCase{"OneRow", 1, 1, 1, 3, "1.1\t1.2\t1.3"},
                      ClipCase{"OneColumn", 1, 2, 3, 2, "1.2\r2.2\r3.2"},
                      ClipCase{"Block", 1, 1, 2, 2, "1.1\t1.2\r2.1\t2.2"},
                      ClipCase{"BlockSelectedUpwardsAndLeft", 2, 2, 1, 1, "1.1\t1.2\r2.1\t2.2"},
                      ClipCase{"IncludingFixedCells", 0, 0, 1, 1, "0.0\t0.1\r1.0\t1.1"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(FlexGridTest, ClipOfEmptyCellsIsOnlySeparators) {
    FlexGrid grid;
    grid.setRows(3);
    grid.setCols(3);
    grid.setRowSel(2);
    grid.setColSel(2);
    EXPECT_EQ(grid.Clip(), "\t\r\t");
}

TEST(FlexGridTest, SettingClipFillsTheSelectionFromItsTopLeft) {
    FlexGrid grid;
    fill(grid);
    grid.setCurrentCell(2, 2);
    grid.setRowSel(1);
    grid.setColSel(3);
    grid.setClip("a\tb\tc\tdropped\rd");
    EXPECT_EQ(grid.TextMatrix(1, 1), "1.1");
    EXPECT_EQ(grid.TextMatrix(1, 2), "a");
    EXPECT_EQ(grid.TextMatrix(1, 3), "b");
    EXPECT_EQ(grid.TextMatrix(2, 2), "d");
    EXPECT_EQ(grid.TextMatrix(2, 3), "2.3");
}

// ---- Scroll position and cell positions ----

struct ScrollCase {
    int requested;
    int expectedTopRow;
    int expectedLeftCol;
};

class ScrollClampTest : public ::testing::TestWithParam<ScrollCase> {};

TEST_P(ScrollClampTest, StaysInsideTheNonFixedPart) {
    FlexGrid grid;
    fill(grid, 6, 4);  // rows 1..5, columns 1..3 scroll
    grid.setTopRow(GetParam().requested);
    grid.setLeftCol(GetParam().requested);
    EXPECT_EQ(grid.TopRow(), GetParam().expectedTopRow);
    EXPECT_EQ(grid.LeftCol(), GetParam().expectedLeftCol);
}

INSTANTIATE_TEST_SUITE_P(Values, ScrollClampTest,
                         ::testing::Values(ScrollCase{-5, 1, 1}, ScrollCase{0, 1, 1},
                                           ScrollCase{1, 1, 1}, ScrollCase{3, 3, 3},
                                           ScrollCase{5, 5, 3}, ScrollCase{99, 5, 3}),
                         quarnel::testing::nameFrom([](const ScrollCase& c) {
                             return quarnel::testing::numberText(c.requested);
                         }));

TEST(FlexGridTest, ShrinkingPullsTheScrollPositionBack) {
    FlexGrid grid;
    fill(grid, 10, 4);
    grid.setTopRow(8);
    int scrolls = 0;
    QObject::connect(&grid, &FlexGrid::scrollChanged, [&] { ++scrolls; });
    grid.setRows(4);
    EXPECT_EQ(grid.TopRow(), 3);
    EXPECT_EQ(scrolls, 1);
}

struct PositionCase {
    int row, col, topRow, leftCol;
    int expectedLeft, expectedTop;
};

class CellPositionTest : public ::testing::TestWithParam<PositionCase> {};

TEST_P(CellPositionTest, CountsFixedPartThenScrolledPart) {
    FlexGrid grid;
    grid.setRows(10);
    sizeLikeMainWindow(grid);  // row 0: 250, others 240
    const PositionCase& c = GetParam();
    grid.setTopRow(c.topRow);
    grid.setLeftCol(c.leftCol);
    grid.setCurrentCell(c.row, c.col);
    EXPECT_EQ(grid.CellLeft(), c.expectedLeft);
    EXPECT_EQ(grid.CellTop(), c.expectedTop);
}

INSTANTIATE_TEST_SUITE_P(
    Cells, CellPositionTest,
    ::testing::Values(PositionCase{1, 1, 1, 1, 400, 250}, PositionCase{0, 0, 1, 1, 0, 0},
                      PositionCase{3, 3, 1, 1, 2700, 730}, PositionCase{3, 3, 2, 2, 2400, 490},
                      PositionCase{3, 6, 3, 5, 1200, 250}, PositionCase{0, 4, 5, 3, 900, 0},
                      // scrolled out above / left of the visible part
                      PositionCase{1, 1, 3, 2, 100, -230}),
    quarnel::testing::nameFrom([](const PositionCase& c) {
        return QStringLiteral("Cell%1_%2Top%3Left%4")
            .arg(c.row)
            .arg(c.col)
            .arg(c.topRow)
            .arg(c.leftCol);
    }));

TEST(FlexGridTest, SizesCanBeSetBeforeTheGridGrowsToThem) {
    FlexGrid grid;  // 2 columns
    sizeLikeMainWindow(grid);
    EXPECT_EQ(grid.ColWidth(5), 800);
    EXPECT_EQ(grid.ColWidth(6), FlexGrid::kDefaultColWidth);
    grid.setCols(3);  // shrinking drops the sizes of removed columns
    grid.setCols(7);
    EXPECT_EQ(grid.ColWidth(2), 2000);
    EXPECT_EQ(grid.ColWidth(5), FlexGrid::kDefaultColWidth);
    grid.setColWidth(2, -1);
    EXPECT_EQ(grid.ColWidth(2), FlexGrid::kDefaultColWidth);
}

// ---- Colours and repainting ----

TEST(FlexGridTest, CellColoursBelongToTheCurrentCellAndZeroClearsThem) {
    FlexGrid grid;
    fill(grid);
    grid.setCurrentCell(2, 3);
    grid.setCellBackColor(rgb(200, 255, 200));
    grid.setCellForeColor(rgb(255, 0, 0));
    EXPECT_EQ(grid.cellBackColorAt(2, 3), rgb(200, 255, 200));
    EXPECT_FALSE(grid.cellBackColorAt(2, 2).has_value());
    grid.setCol(2);
    EXPECT_EQ(grid.CellBackColor(), 0u);
    grid.setCol(3);
    EXPECT_EQ(grid.CellForeColor(), rgb(255, 0, 0));
    grid.setCellForeColor(0);
    EXPECT_EQ(grid.CellForeColor(), 0u);
    EXPECT_FALSE(grid.cellForeColorAt(2, 3).has_value());
}

TEST(FlexGridTest, RedrawReportsEachSwitchAndEverySwitchOn) {
    FlexGrid grid;
    std::vector<bool> seen;
    QObject::connect(&grid, &FlexGrid::redrawChanged, [&](bool on) { seen.push_back(on); });
    grid.setRedraw(false);
    grid.setRedraw(false);
    grid.setRedraw(true);
    grid.setRedraw(true);
    EXPECT_EQ(seen, (std::vector<bool>{false, true, true}));
}

}  // namespace
}  // namespace quarnel
