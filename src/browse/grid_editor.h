// The detail grid's interaction: the in-grid editor `text1` laid over the current cell, the
// grid's context menu and the row marks. The rules work on the grid model and on the editor
// through GridEditorView; the window forwards the grid's and the editor's events to them.
#pragma once

#include "support/grid_utils.h"

#include <QString>

namespace quarnel {

class FlexGrid;

// The in-grid editor and the controls around it, as the editor's rules see them.
class GridEditorView {
  public:
    virtual ~GridEditorView() = default;

    virtual QString editorText() const = 0;
    virtual void setEditorText(const QString& text) = 0;
    virtual bool editorVisible() const = 0;
    virtual void setEditorVisible(bool visible) = 0;
    virtual void focusEditor() = 0;
    // Lays the editor over `rect` (twips, in the coordinates of the grid's parent).
    virtual void placeEditor(const splet::EditorRect& rect) = 0;
    virtual void focusGrid() = 0;
    // Opens the grid's context menu at the mouse pointer; its entries also answer the right
    // button.
    virtual void popUpGridMenu() = 0;
};

class GridEditor {
  public:
    // The colours of a marked row: light green, black text.
    static constexpr quint32 kMarkBackColor = rgb(200, 255, 200);
    static constexpr quint32 kMarkForeColor = 0;

    GridEditor(FlexGrid& grid, GridEditorView& view);

    // True while the window's load sets the grid up: cell changes then leave the editor alone.
    bool blnLoading = false;

    // Grid events.
    void MSFlexGrid1_DblClick();
    void MSFlexGrid1_MouseDown(Qt::MouseButton button);
    void MSFlexGrid1_EnterCell();
    void MSFlexGrid1_RowColChange();
    void MSFlexGrid1_GotFocus();
    void MSFlexGrid1_LostFocus();
    void MSFlexGrid1_Scroll();
    // Editor events. Text1_KeyPress takes the key's character code and returns true when it
    // consumed the key (Enter), which the editor then neither beeps at nor inserts.
    void text1_LostFocus();
    bool Text1_KeyPress(int keyAscii);

    // Marks and unmarks the row of the current cell.
    void mnuStampOn_Click();
    void mnuStampOff_Click();

    // Closes the editor, its typed text thrown away: a resize, a splitter drag, another table.
    void closeEditor();

  private:
    void MoveTextToCell();
    // Enter: the typed text into the current cell, then on to the next cell.
    void commitAndAdvance();

    FlexGrid& m_grid;
    GridEditorView& m_view;
};

}  // namespace quarnel
