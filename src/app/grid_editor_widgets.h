// The in-grid editor's widgets as GridEditorView: the edit box `text1` over the grid's view, and
// the grid's context menu.
#pragma once

#include "browse/grid_editor.h"

class QLineEdit;
class QMenu;

namespace quarnel {

class FlexGridView;

class GridEditorWidgets : public GridEditorView {
  public:
    GridEditorWidgets(QLineEdit* editor, FlexGridView* gridView, QMenu* gridMenu);

    QString editorText() const override;
    void setEditorText(const QString& text) override;
    bool editorVisible() const override;
    void setEditorVisible(bool visible) override;
    void focusEditor() override;
    void placeEditor(const splet::EditorRect& rect) override;
    void focusGrid() override;
    void popUpGridMenu() override;

  private:
    QLineEdit* m_editor;
    FlexGridView* m_gridView;
    QMenu* m_gridMenu;
};

}  // namespace quarnel
