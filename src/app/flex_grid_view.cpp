#include "app/flex_grid_view.h"

#include "support/twips.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionFocusRect>

#include <algorithm>
#include <vector>

namespace quarnel {

namespace {

QColor toQColor(quint32 color) {
    return QColor(int(color & 0xFF), int((color >> 8) & 0xFF), int((color >> 16) & 0xFF));
}

// Behind the last row and column.
const QColor kEmptyAreaColor(128, 128, 128);
const QColor kGridLineColor(192, 192, 192);
const QColor kFixedGridLineColor(128, 128, 128);
constexpr int kTextMargin = 2;

// One visible row or column: its index, start and size in pixels.
struct Band {
    int index;
    int start;
    int size;
};

}  // namespace

FlexGridView::FlexGridView(QWidget* parent) : FlexGridView(nullptr, parent) {}

FlexGridView::FlexGridView(FlexGrid* grid, QWidget* parent)
    : QAbstractScrollArea(parent), m_grid(grid ? grid : new FlexGrid(this)) {
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    verticalScrollBar()->setSingleStep(1);
    horizontalScrollBar()->setSingleStep(1);
    connectGrid();
    updateScrollBars();
}

void FlexGridView::connectGrid() {
    connect(m_grid, &FlexGrid::cellsChanged, this, &FlexGridView::repaintGrid);
    connect(m_grid, &FlexGrid::selectionChanged, this, &FlexGridView::repaintGrid);
    connect(m_grid, &FlexGrid::colorsChanged, this, &FlexGridView::repaintGrid);
    connect(m_grid, &FlexGrid::layoutChanged, this, [this] {
        updateScrollBars();
        repaintGrid();
    });
    connect(m_grid, &FlexGrid::scrollChanged, this, &FlexGridView::onScrollChanged);
    connect(m_grid, &FlexGrid::redrawChanged, this, &FlexGridView::onRedrawChanged);
}

void FlexGridView::repaintGrid() {
    if (m_grid->Redraw()) {
        viewport()->update();
    }
}

void FlexGridView::onScrollChanged() {
    updateScrollBars();
    repaintGrid();
    emit scrolled();
}

void FlexGridView::onRedrawChanged(bool redraw) {
    if (redraw) {
        updateScrollBars();
        viewport()->update();
    }
}

// ---- Geometry ----

int FlexGridView::rowHeightPixels(int row) const {
    return twipsToPixels(m_grid->RowHeight(row), logicalDpiY());
}

int FlexGridView::colWidthPixels(int col) const {
    return twipsToPixels(m_grid->ColWidth(col), logicalDpiX());
}

int FlexGridView::fixedHeightPixels() const {
    int height = 0;
    for (int r = 0; r < m_grid->FixedRows(); ++r) {
        height += rowHeightPixels(r);
    }
    return height;
}

int FlexGridView::fixedWidthPixels() const {
    int width = 0;
    for (int c = 0; c < m_grid->FixedCols(); ++c) {
        width += colWidthPixels(c);
    }
    return width;
}

int FlexGridView::maxTopRow() const {
    const int fixed = m_grid->FixedRows();
    const int available = viewport()->height() - fixedHeightPixels();
    int top = m_grid->Rows() - 1;
    if (top <= fixed) {
        return fixed;
    }
    int used = rowHeightPixels(top);
    while (top > fixed && used + rowHeightPixels(top - 1) <= available) {
        used += rowHeightPixels(--top);
    }
    return top;
}

int FlexGridView::maxLeftCol() const {
    const int fixed = m_grid->FixedCols();
    const int available = viewport()->width() - fixedWidthPixels();
    int left = m_grid->Cols() - 1;
    if (left <= fixed) {
        return fixed;
    }
    int used = colWidthPixels(left);
    while (left > fixed && used + colWidthPixels(left - 1) <= available) {
        used += colWidthPixels(--left);
    }
    return left;
}

int FlexGridView::visibleDataRows() const {
    const int available = viewport()->height() - fixedHeightPixels();
    int rows = 0;
    int used = 0;
    for (int r = m_grid->TopRow(); r < m_grid->Rows(); ++r) {
        used += rowHeightPixels(r);
        if (used > available) {
            break;
        }
        ++rows;
    }
    return std::max(rows, 1);
}

void FlexGridView::updateScrollBars() {
    if (!m_grid->Redraw()) {
        m_scrollBarsDirty = true;
        return;
    }
    m_scrollBarsDirty = false;
    m_syncingScrollBars = true;
    // The range always holds the grid's own position, which the grid may scroll past the point
    // where its last row reaches the bottom.
    QScrollBar* vertical = verticalScrollBar();
    vertical->setRange(m_grid->FixedRows(), std::max(maxTopRow(), m_grid->TopRow()));
    vertical->setPageStep(visibleDataRows());
    vertical->setValue(m_grid->TopRow());
    QScrollBar* horizontal = horizontalScrollBar();
    horizontal->setRange(m_grid->FixedCols(), std::max(maxLeftCol(), m_grid->LeftCol()));
    horizontal->setPageStep(1);
    horizontal->setValue(m_grid->LeftCol());
    m_syncingScrollBars = false;
}

void FlexGridView::scrollContentsBy(int, int) {
    if (m_syncingScrollBars) {
        return;
    }
    m_grid->setTopRow(verticalScrollBar()->value());
    m_grid->setLeftCol(horizontalScrollBar()->value());
}

QRect FlexGridView::cellRectPixels(int row, int col) const {
    if (row < 0 || row >= m_grid->Rows() || col < 0 || col >= m_grid->Cols()) {
        return {};
    }
    const auto start = [](int index, int fixed, int first, auto size) {
        int pos = 0;
        for (int i = 0; i < std::min(index, fixed); ++i) {
            pos += size(i);
        }
        if (index < fixed) {
            return pos;
        }
        if (index < first) {
            return -1;
        }
        for (int i = first; i < index; ++i) {
            pos += size(i);
        }
        return pos;
    };
    const int x = start(col, m_grid->FixedCols(), m_grid->LeftCol(),
                        [this](int c) { return colWidthPixels(c); });
    const int y = start(row, m_grid->FixedRows(), m_grid->TopRow(),
                        [this](int r) { return rowHeightPixels(r); });
    if (x < 0 || y < 0) {
        return {};
    }
    return QRect(x, y, colWidthPixels(col), rowHeightPixels(row));
}

namespace {

// The rows (or columns) shown along a length of `extent` pixels: the fixed ones, then the
// scrolled ones from `first` on.
template <typename Size>
std::vector<Band> visibleBands(int count, int fixed, int first, int extent, Size size) {
    std::vector<Band> bands;
    int pos = 0;
    const auto add = [&](int i) {
        const int s = size(i);
        bands.push_back({i, pos, s});
        pos += s;
    };
    for (int i = 0; i < std::min(fixed, count) && pos < extent; ++i) {
        add(i);
    }
    for (int i = std::max(first, fixed); i < count && pos < extent; ++i) {
        add(i);
    }
    return bands;
}

int bandAt(const std::vector<Band>& bands, int pos) {
    for (const Band& band : bands) {
        if (pos >= band.start && pos < band.start + band.size) {
            return band.index;
        }
    }
    return -1;
}

}  // namespace

FlexGridView::CellIndex FlexGridView::cellAt(QPoint pos) const {
    const auto rows =
        visibleBands(m_grid->Rows(), m_grid->FixedRows(), m_grid->TopRow(), viewport()->height(),
                     [this](int r) { return rowHeightPixels(r); });
    const auto cols =
        visibleBands(m_grid->Cols(), m_grid->FixedCols(), m_grid->LeftCol(), viewport()->width(),
                     [this](int c) { return colWidthPixels(c); });
    CellIndex cell{bandAt(rows, pos.y()), bandAt(cols, pos.x())};
    if (cell.row < 0 || cell.col < 0) {
        return {};
    }
    return cell;
}

// ---- Painting ----

void FlexGridView::paintEvent(QPaintEvent*) {
    QPainter painter(viewport());
    const FlexGrid& grid = *m_grid;
    const auto rows =
        visibleBands(grid.Rows(), grid.FixedRows(), grid.TopRow(), viewport()->height(),
                     [this](int r) { return rowHeightPixels(r); });
    const auto cols =
        visibleBands(grid.Cols(), grid.FixedCols(), grid.LeftCol(), viewport()->width(),
                     [this](int c) { return colWidthPixels(c); });
    painter.fillRect(viewport()->rect(), kEmptyAreaColor);

    const int selTop = std::min(grid.Row(), grid.RowSel());
    const int selBottom = std::max(grid.Row(), grid.RowSel());
    const int selLeft = std::min(grid.Col(), grid.ColSel());
    const int selRight = std::max(grid.Col(), grid.ColSel());
    for (const Band& row : rows) {
        for (const Band& col : cols) {
            const QRect rect(col.start, row.start, col.size, row.size);
            if (rect.isEmpty()) {
                continue;
            }
            const bool fixed = row.index < grid.FixedRows() || col.index < grid.FixedCols();
            const bool selected = !fixed && row.index >= selTop && row.index <= selBottom &&
                                  col.index >= selLeft && col.index <= selRight;
            quint32 back = fixed ? grid.BackColorFixed() : grid.BackColor();
            quint32 fore = fixed ? grid.ForeColorFixed() : grid.ForeColor();
            if (selected) {
                back = grid.BackColorSel();
                fore = grid.ForeColorSel();
            } else {
                back = grid.cellBackColorAt(row.index, col.index).value_or(back);
                fore = grid.cellForeColorAt(row.index, col.index).value_or(fore);
            }
            painter.fillRect(rect, toQColor(back));
            painter.setPen(toQColor(fore));
            painter.drawText(rect.adjusted(kTextMargin, 0, -kTextMargin, 0),
                             Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                             grid.TextMatrix(row.index, col.index));
            painter.setPen(fixed ? kFixedGridLineColor : kGridLineColor);
            painter.drawLine(rect.topRight(), rect.bottomRight());
            painter.drawLine(rect.bottomLeft(), rect.bottomRight());
        }
    }

    if (hasFocus()) {
        const QRect current = cellRectPixels(grid.Row(), grid.Col());
        if (!current.isEmpty()) {
            QStyleOptionFocusRect option;
            option.initFrom(this);
            option.rect = current.adjusted(1, 1, -2, -2);
            option.backgroundColor = toQColor(grid.BackColorSel());
            style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &painter, this);
        }
    }
}

void FlexGridView::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    updateScrollBars();
}

// ---- Mouse ----

void FlexGridView::selectFromPress(CellIndex cell, bool extend) {
    FlexGrid& grid = *m_grid;
    const bool rowHeader = cell.row < grid.FixedRows();
    const bool colHeader = cell.col < grid.FixedCols();
    if (!rowHeader && !colHeader) {
        // With Shift held the selection grows from the current cell to the one pressed.
        if (extend) {
            grid.setRowSel(cell.row);
            grid.setColSel(cell.col);
        } else {
            grid.setCurrentCell(cell.row, cell.col);
        }
        return;
    }
    // A press on a fixed cell selects the whole column, row or grid behind it.
    if (grid.Rows() <= grid.FixedRows() || grid.Cols() <= grid.FixedCols()) {
        return;
    }
    grid.setCurrentCell(rowHeader ? grid.FixedRows() : cell.row,
                        colHeader ? grid.FixedCols() : cell.col);
    if (rowHeader) {
        grid.setRowSel(grid.Rows() - 1);
    }
    if (colHeader) {
        grid.setColSel(grid.Cols() - 1);
    }
}

void FlexGridView::mousePressEvent(QMouseEvent* event) {
    const QPoint pos = event->position().toPoint();
    emit mousePressed(event->button(), pos);
    if (event->button() != Qt::LeftButton || !m_grid) {
        return;
    }
    const CellIndex cell = cellAt(pos);
    if (cell.row < 0) {
        return;
    }
    selectFromPress(cell, event->modifiers() & Qt::ShiftModifier);
    m_dragging = cell.row >= m_grid->FixedRows() && cell.col >= m_grid->FixedCols();
}

FlexGridView::CellIndex FlexGridView::dragCellAt(QPoint pos) const {
    const QRect area = viewport()->rect();
    const QPoint inside(std::clamp(pos.x(), fixedWidthPixels(), std::max(0, area.right())),
                        std::clamp(pos.y(), fixedHeightPixels(), std::max(0, area.bottom())));
    CellIndex cell = cellAt(inside);
    if (cell.row < 0) {
        // Past the last row or column: the last one.
        const CellIndex rowOnly = cellAt(QPoint(fixedWidthPixels(), inside.y()));
        const CellIndex colOnly = cellAt(QPoint(inside.x(), fixedHeightPixels()));
        cell.row = rowOnly.row >= 0 ? rowOnly.row : m_grid->Rows() - 1;
        cell.col = colOnly.col >= 0 ? colOnly.col : m_grid->Cols() - 1;
    }
    // Dragging beyond the edge scrolls one row or column on.
    if (pos.y() > area.bottom() && cell.row + 1 < m_grid->Rows()) {
        ++cell.row;
    }
    if (pos.x() > area.right() && cell.col + 1 < m_grid->Cols()) {
        ++cell.col;
    }
    return cell;
}

void FlexGridView::mouseMoveEvent(QMouseEvent* event) {
    if (!m_dragging || !(event->buttons() & Qt::LeftButton)) {
        return;
    }
    const CellIndex cell = dragCellAt(event->position().toPoint());
    m_grid->setRowSel(std::max(cell.row, m_grid->FixedRows()));
    m_grid->setColSel(std::max(cell.col, m_grid->FixedCols()));
    ensureCellVisible(m_grid->RowSel(), m_grid->ColSel());
}

void FlexGridView::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        m_dragging = false;
    }
}

void FlexGridView::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        emit dblClick();
    }
}

// ---- Keys and focus ----

void FlexGridView::ensureCellVisible(int row, int col) {
    FlexGrid& grid = *m_grid;
    if (row >= grid.FixedRows() && row < grid.Rows()) {
        int top = std::min(grid.TopRow(), row);
        const int available = viewport()->height() - fixedHeightPixels();
        const auto usedTo = [&](int from) {
            int used = 0;
            for (int r = from; r <= row; ++r) {
                used += rowHeightPixels(r);
            }
            return used;
        };
        while (top < row && usedTo(top) > available) {
            ++top;
        }
        grid.setTopRow(top);
    }
    if (col >= grid.FixedCols() && col < grid.Cols()) {
        int left = std::min(grid.LeftCol(), col);
        const int available = viewport()->width() - fixedWidthPixels();
        const auto usedTo = [&](int from) {
            int used = 0;
            for (int c = from; c <= col; ++c) {
                used += colWidthPixels(c);
            }
            return used;
        };
        while (left < col && usedTo(left) > available) {
            ++left;
        }
        grid.setLeftCol(left);
    }
}

void FlexGridView::moveByKey(int row, int col, bool extend) {
    FlexGrid& grid = *m_grid;
    if (grid.Rows() <= grid.FixedRows() || grid.Cols() <= grid.FixedCols()) {
        return;
    }
    row = std::clamp(row, grid.FixedRows(), grid.Rows() - 1);
    col = std::clamp(col, grid.FixedCols(), grid.Cols() - 1);
    if (extend) {
        grid.setRowSel(row);
        grid.setColSel(col);
    } else {
        grid.setCurrentCell(row, col);
    }
    ensureCellVisible(row, col);
}

void FlexGridView::keyPressEvent(QKeyEvent* event) {
    FlexGrid& grid = *m_grid;
    const bool extend = event->modifiers() & Qt::ShiftModifier;
    const bool wholeGrid = event->modifiers() & Qt::ControlModifier;
    // Extending moves the selection's far corner; otherwise the current cell moves.
    const int row = extend ? grid.RowSel() : grid.Row();
    const int col = extend ? grid.ColSel() : grid.Col();
    const int page = visibleDataRows();
    switch (event->key()) {
        case Qt::Key_Up:
            moveByKey(row - 1, col, extend);
            break;
        case Qt::Key_Down:
            moveByKey(row + 1, col, extend);
            break;
        case Qt::Key_Left:
            moveByKey(row, col - 1, extend);
            break;
        case Qt::Key_Right:
            moveByKey(row, col + 1, extend);
            break;
        case Qt::Key_PageUp:
            moveByKey(row - page, col, extend);
            break;
        case Qt::Key_PageDown:
            moveByKey(row + page, col, extend);
            break;
        case Qt::Key_Home:
            moveByKey(wholeGrid ? grid.FixedRows() : row, grid.FixedCols(), extend);
            break;
        case Qt::Key_End:
            moveByKey(wholeGrid ? grid.Rows() - 1 : row, grid.Cols() - 1, extend);
            break;
        default:
            QAbstractScrollArea::keyPressEvent(event);
            return;
    }
    event->accept();
}

void FlexGridView::focusInEvent(QFocusEvent* event) {
    QAbstractScrollArea::focusInEvent(event);
    viewport()->update();
    emit gotFocus();
}

void FlexGridView::focusOutEvent(QFocusEvent* event) {
    QAbstractScrollArea::focusOutEvent(event);
    viewport()->update();
    emit lostFocus();
}

}  // namespace quarnel
