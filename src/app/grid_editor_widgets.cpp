#include "app/grid_editor_widgets.h"

#include "app/flex_grid_view.h"
#include "app/screen_units.h"

#include <QCursor>
#include <QLineEdit>
#include <QMenu>

namespace quarnel {

GridEditorWidgets::GridEditorWidgets(QLineEdit* editor, FlexGridView* gridView, QMenu* gridMenu)
    : m_editor(editor), m_gridView(gridView), m_gridMenu(gridMenu) {}

QString GridEditorWidgets::editorText() const {
    return m_editor->text();
}

void GridEditorWidgets::setEditorText(const QString& text) {
    m_editor->setText(text);
}

bool GridEditorWidgets::editorVisible() const {
    return m_editor->isVisible();
}

void GridEditorWidgets::setEditorVisible(bool visible) {
    m_editor->setVisible(visible);
    if (visible)
        m_editor->raise();
}

void GridEditorWidgets::focusEditor() {
    m_editor->setFocus(Qt::OtherFocusReason);
}

void GridEditorWidgets::placeEditor(const splet::EditorRect& rect) {
    setGeometryTwips(m_editor, rect.left, rect.top, rect.width, rect.height);
    // The grid's cells start inside its frame: the box moves with them.
    m_editor->move(m_editor->pos() + m_gridView->viewport()->pos());
}

void GridEditorWidgets::focusGrid() {
    m_gridView->setFocus(Qt::OtherFocusReason);
}

void GridEditorWidgets::popUpGridMenu() {
    m_gridMenu->exec(QCursor::pos());
}

}  // namespace quarnel
