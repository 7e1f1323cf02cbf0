#include "support/grid_utils.h"

#include <utility>

namespace quarnel::splet {

namespace {

// Walks the non-fixed cells of the current row, giving each the colours `colorsOf` returns.
template <typename ColorsOf>
void paintRow(FlexGrid& grid, ColorsOf colorsOf) {
    grid.setRedraw(false);
    const int leftCol = grid.LeftCol();
    const int col = grid.Col();
    for (int c = grid.FixedCols(); c < grid.Cols(); ++c) {
        grid.setCol(c);
        const auto [back, fore] = colorsOf();
        grid.setCellBackColor(back);
        grid.setCellForeColor(fore);
    }
    grid.setLeftCol(leftCol);
    grid.setCol(col);
    grid.setRedraw(true);
}

}  // namespace

void SetRowColor(FlexGrid& grid, quint32 back, quint32 fore) {
    paintRow(grid, [&] { return std::pair{back, fore}; });
}

void ResetRowColor(FlexGrid& grid) {
    paintRow(grid, [&] { return std::pair{grid.BackColor(), grid.ForeColor()}; });
}

EditorRect MoveTextToCell(const FlexGrid& grid) {
    return EditorRect{grid.Left() + grid.CellLeft() + 5, grid.Top() + grid.CellTop() + 5,
                      grid.ColWidth(grid.Col()) - 15, grid.RowHeight(grid.Row()) - 15};
}

int GetRowLimit(const FlexGrid& grid) {
    int sum = 0;
    int result = 0;
    for (int i = 0; i < grid.Rows(); ++i) {
        sum += grid.RowHeight(i);
        if (sum >= grid.Height()) {
            result = i - grid.FixedRows() - 1;
            break;
        }
        result = grid.Rows();
    }
    return result;
}

int GetColLimit(const FlexGrid& grid) {
    int sum = 0;
    int result = 0;
    for (int i = 0; i < grid.Cols(); ++i) {
        sum += grid.ColWidth(i);
        if (sum >= grid.Width()) {
            result = i - grid.FixedCols();
            break;
        }
        result = grid.Cols();
    }
    return result;
}

}  // namespace quarnel::splet
