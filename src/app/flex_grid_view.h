// The widget that shows a FlexGrid: fixed rows and columns in grey that never scroll away, grid
// lines, the selection in the grid's selection colours, per-cell colours, sizes converted from
// twips with the widget's logical dpi, scrolling by whole rows and columns.
//
// The view holds no program logic. It turns the mouse and keys into assignments of the grid's
// current cell and selection (which fire the grid's RowColChange and EnterCell) and reports what
// the window needs through its signals:
// - mousePressed(button, pos) for every button press (pos in viewport pixels), emitted before a
//   left press moves the current cell; only the left button selects;
// - dblClick() for a left double-click (the second press of a double-click emits no
//   mousePressed, and the current cell is the one the first press chose);
// - scrolled() whenever the grid's TopRow or LeftCol changes, by the scroll bars, the wheel, the
//   keys or an assignment to the grid;
// - gotFocus() and lostFocus() when the widget gains or loses the keyboard focus.
// While the grid's Redraw is false the view does not repaint; switching it on repaints once.
#pragma once

#include "support/flex_grid.h"

#include <QAbstractScrollArea>
#include <QPointer>

namespace quarnel {

class FlexGridView : public QAbstractScrollArea {
    Q_OBJECT

  public:
    // A view with a grid of its own.
    explicit FlexGridView(QWidget* parent = nullptr);
    // A view of `grid`, which it does not own and which must outlive it.
    explicit FlexGridView(FlexGrid* grid, QWidget* parent = nullptr);

    FlexGrid* grid() const { return m_grid; }

    struct CellIndex {
        int row = -1;
        int col = -1;
    };

    // The rectangle of a cell in viewport pixels; empty when the cell is scrolled out of view.
    QRect cellRectPixels(int row, int col) const;
    // The cell under a viewport position; row and col are -1 outside the cells.
    CellIndex cellAt(QPoint pos) const;
    // Scrolls so that the cell is visible (fixed cells always are).
    void ensureCellVisible(int row, int col);

    int rowHeightPixels(int row) const;
    int colWidthPixels(int col) const;

  signals:
    void dblClick();
    void mousePressed(Qt::MouseButton button, QPoint pos);
    void scrolled();
    void gotFocus();
    void lostFocus();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;

  private:
    void connectGrid();
    void repaintGrid();
    void updateScrollBars();
    void onScrollChanged();
    void onRedrawChanged(bool redraw);
    // The first row (column) that can be scrolled to the top (left) with the grid's last row
    // (column) still ending inside the viewport.
    int maxTopRow() const;
    int maxLeftCol() const;
    int fixedHeightPixels() const;
    int fixedWidthPixels() const;
    // The cell a drag at `pos` extends the selection to: clamped to the data cells.
    CellIndex dragCellAt(QPoint pos) const;
    void selectFromPress(CellIndex cell, bool extend);
    void moveByKey(int row, int col, bool extend);
    int visibleDataRows() const;

    QPointer<FlexGrid> m_grid;
    bool m_dragging = false;
    bool m_syncingScrollBars = false;
    bool m_scrollBarsDirty = false;
};

}  // namespace quarnel
