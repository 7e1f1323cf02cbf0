#include "browse/grid_editor.h"

#include "support/flex_grid.h"

namespace quarnel {

GridEditor::GridEditor(FlexGrid& grid, GridEditorView& view) : m_grid(grid), m_view(view) {}

void GridEditor::MoveTextToCell() {
    if (m_grid.Rows() > 0 && m_grid.Cols() > 0)
        m_view.placeEditor(splet::MoveTextToCell(m_grid));
}

void GridEditor::closeEditor() {
    m_view.setEditorText(QString());
    m_view.setEditorVisible(false);
}

void GridEditor::MSFlexGrid1_DblClick() {
    m_view.setEditorVisible(true);
    m_view.setEditorText(m_grid.Text());
    m_view.focusEditor();
    MoveTextToCell();
}

void GridEditor::MSFlexGrid1_MouseDown(Qt::MouseButton button) {
    if (button == Qt::RightButton) {
        m_view.popUpGridMenu();
        return;
    }
    MoveTextToCell();
    closeEditor();
    m_view.focusGrid();
}

void GridEditor::MSFlexGrid1_EnterCell() {
    MoveTextToCell();
}

void GridEditor::MSFlexGrid1_RowColChange() {
    if (blnLoading)
        return;
    m_view.setEditorText(m_grid.Text());
    m_view.focusGrid();
}

void GridEditor::MSFlexGrid1_GotFocus() {
    m_view.setEditorText(m_grid.Text());
    m_view.focusGrid();
}

void GridEditor::MSFlexGrid1_LostFocus() {
    MoveTextToCell();
}

void GridEditor::MSFlexGrid1_Scroll() {
    // The typed text stays; the next opening replaces it.
    m_view.setEditorVisible(false);
}

void GridEditor::text1_LostFocus() {
    closeEditor();
}

bool GridEditor::Text1_KeyPress(int keyAscii) {
    const bool enter = keyAscii == 13;
    if (enter)
        commitAndAdvance();
    MoveTextToCell();
    return enter;
}

void GridEditor::commitAndAdvance() {
    m_grid.setText(m_view.editorText());
    const int rows = m_grid.Rows();
    const int row = m_grid.Row();
    const int cols = m_grid.Cols();
    const int col = m_grid.Col();
    bool staysOpen = false;
    if (row == rows - 1 && col == cols - 1) {
        // The last cell: back to the first data cell, scrolled to the top left.
        m_grid.setRow(m_grid.FixedRows());
        m_grid.setCol(m_grid.FixedCols());
        m_grid.setTopRow(m_grid.FixedRows());
        m_grid.setLeftCol(m_grid.FixedCols());
    } else if (col == cols - 1) {
        // The last column of another row: the first data column of the next row.
        m_grid.setRow(row + 1);
        m_grid.setCol(m_grid.FixedCols());
        m_grid.setLeftCol(m_grid.FixedCols());
        if (m_grid.Row() >= splet::GetRowLimit(m_grid))
            m_grid.setTopRow(m_grid.TopRow() + 1);
    } else {
        // Any other cell: one column right, the editor open over it.
        if (col >= splet::GetColLimit(m_grid))
            m_grid.setLeftCol(m_grid.LeftCol() + 1);
        m_grid.setCol(col + 1);
        staysOpen = true;
    }
    // The new cell keeps its own text. (Moving the current cell has loaded the editor with it,
    // but a scroll step may have closed and emptied the editor since, so it is not written back
    // from there.)
    m_view.setEditorText(QString());
    // The focus goes to the grid in the first two cases and stays in the editor in the third,
    // whichever order the focus notifications come in.
    if (staysOpen) {
        m_view.setEditorVisible(true);
        m_view.focusEditor();
    } else {
        m_view.setEditorVisible(false);
        m_view.focusGrid();
    }
}

void GridEditor::mnuStampOn_Click() {
    splet::SetRowColor(m_grid, kMarkBackColor, kMarkForeColor);
}

void GridEditor::mnuStampOff_Click() {
    splet::ResetRowColor(m_grid);
}

}  // namespace quarnel
