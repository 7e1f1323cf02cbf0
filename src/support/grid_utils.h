// Grid utilities of module `splet`: colouring and uncolouring the row of a grid's current cell,
// the rectangle that lays an edit box over the current cell, and the two thresholds that tell
// how many rows and columns a grid shows at once. They keep no state; everything they read or
// change is a property of the grid.
#pragma once

#include "support/flex_grid.h"

namespace quarnel::splet {

// Where the in-grid edit box goes, in twips, in the coordinates of the grid's parent window.
struct EditorRect {
    double left = 0;
    double top = 0;
    int width = 0;
    int height = 0;

    friend bool operator==(const EditorRect&, const EditorRect&) = default;
};

// Gives the non-fixed cells of the current row the colours `back` and `fore`. Walks the row by
// assigning `Col` (so the grid's cell-change notifications run for each cell) with repainting
// off, then puts `LeftCol` and `Col` back.
void SetRowColor(FlexGrid& grid, quint32 back, quint32 fore);
// The same with the grid's own `BackColor` and `ForeColor`.
void ResetRowColor(FlexGrid& grid);

// The rectangle of the edit box over the current cell: 5 twips in from the cell's top left,
// 15 twips narrower and lower than the cell.
EditorRect MoveTextToCell(const FlexGrid& grid);

// Row threshold: summing the row heights from row 0, at the first row i where the sum reaches the
// grid's outer `Height` the result is i - FixedRows - 1; `Rows` when no row reaches it; 0 for a
// grid without rows.
int GetRowLimit(const FlexGrid& grid);
// Column threshold: the same over column widths and the outer `Width`, with i - FixedCols.
int GetColLimit(const FlexGrid& grid);

}  // namespace quarnel::splet
