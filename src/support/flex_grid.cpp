#include "support/flex_grid.h"

#include <QStringList>

#include <algorithm>
#include <stdexcept>
#include <string>

namespace quarnel {

namespace {

int clampScroll(int value, int fixed, int count) {
    return std::clamp(value, fixed, std::max(fixed, count - 1));
}

int clampIndex(int value, int count) {
    return std::clamp(value, 0, std::max(0, count - 1));
}

// Size of entry `i` of a size list, with the default for entries never set.
int sizeAt(const std::vector<int>& sizes, int i, int defaultSize) {
    if (i < 0) {
        throw std::out_of_range("grid size index " + std::to_string(i));
    }
    const auto index = std::size_t(i);
    return index < sizes.size() && sizes[index] >= 0 ? sizes[index] : defaultSize;
}

void setSizeAt(std::vector<int>& sizes, int i, int size) {
    if (i < 0) {
        throw std::out_of_range("grid size index " + std::to_string(i));
    }
    const auto index = std::size_t(i);
    if (index >= sizes.size()) {
        sizes.resize(index + 1, -1);
    }
    sizes[index] = size < 0 ? -1 : size;
}

// Keeps at least `count` entries; drops entries past `count` when shrinking.
void fitSizes(std::vector<int>& sizes, int oldCount, int count) {
    if (count < oldCount) {
        sizes.resize(std::size_t(count));
    } else if (sizes.size() < std::size_t(count)) {
        sizes.resize(std::size_t(count), -1);
    }
}

}  // namespace

FlexGrid::FlexGrid(QObject* parent) : QObject(parent) {
    m_cells.assign(2, RowCells(std::size_t(m_cols)));
    m_rowHeights.assign(2, -1);
    m_colWidths.assign(2, -1);
}

void FlexGrid::checkRow(int row) const {
    if (row < 0 || row >= Rows()) {
        throw std::out_of_range("grid row " + std::to_string(row) + " of " +
                                std::to_string(Rows()));
    }
}

void FlexGrid::checkCol(int col) const {
    if (col < 0 || col >= m_cols) {
        throw std::out_of_range("grid column " + std::to_string(col) + " of " +
                                std::to_string(m_cols));
    }
}

const FlexGrid::Cell& FlexGrid::cell(int row, int col) const {
    checkRow(row);
    checkCol(col);
    return m_cells[std::size_t(row)][std::size_t(col)];
}

FlexGrid::Cell& FlexGrid::cell(int row, int col) {
    checkRow(row);
    checkCol(col);
    return m_cells[std::size_t(row)][std::size_t(col)];
}

const FlexGrid::Cell& FlexGrid::currentCell() const {
    return cell(m_row, m_col);
}

FlexGrid::Cell& FlexGrid::currentCell() {
    return cell(m_row, m_col);
}

// ---- Size and fixed part ----

void FlexGrid::setRows(int rows) {
    if (rows < 0) {
        throw std::out_of_range("grid row count " + std::to_string(rows));
    }
    const int oldRows = Rows();
    if (rows == oldRows) {
        return;
    }
    m_cells.resize(std::size_t(rows), RowCells(std::size_t(m_cols)));
    fitSizes(m_rowHeights, oldRows, rows);
    m_fixedRows = std::min(m_fixedRows, rows);
    fitPositions();
}

void FlexGrid::setCols(int cols) {
    if (cols < 0) {
        throw std::out_of_range("grid column count " + std::to_string(cols));
    }
    const int oldCols = m_cols;
    if (cols == oldCols) {
        return;
    }
    for (RowCells& row : m_cells) {
        row.resize(std::size_t(cols));
    }
    m_cols = cols;
    fitSizes(m_colWidths, oldCols, cols);
    m_fixedCols = std::min(m_fixedCols, cols);
    fitPositions();
}

void FlexGrid::setFixedRows(int fixedRows) {
    if (fixedRows < 0 || fixedRows > Rows()) {
        throw std::out_of_range("grid fixed rows " + std::to_string(fixedRows));
    }
    if (fixedRows == m_fixedRows) {
        return;
    }
    m_fixedRows = fixedRows;
    fitPositions();
}

void FlexGrid::setFixedCols(int fixedCols) {
    if (fixedCols < 0 || fixedCols > m_cols) {
        throw std::out_of_range("grid fixed columns " + std::to_string(fixedCols));
    }
    if (fixedCols == m_fixedCols) {
        return;
    }
    m_fixedCols = fixedCols;
    fitPositions();
}

void FlexGrid::fitPositions() {
    const int oldRow = m_row;
    const int oldCol = m_col;
    const int oldRowSel = m_rowSel;
    const int oldColSel = m_colSel;
    const int oldTop = m_topRow;
    const int oldLeft = m_leftCol;
    m_row = clampIndex(m_row, Rows());
    m_col = clampIndex(m_col, m_cols);
    m_rowSel = clampIndex(m_rowSel, Rows());
    m_colSel = clampIndex(m_colSel, m_cols);
    m_topRow = clampScroll(m_topRow, m_fixedRows, Rows());
    m_leftCol = clampScroll(m_leftCol, m_fixedCols, m_cols);

    emit layoutChanged();
    if (m_topRow != oldTop || m_leftCol != oldLeft) {
        emit scrollChanged();
    }
    const bool moved = m_row != oldRow || m_col != oldCol;
    if (moved || m_rowSel != oldRowSel || m_colSel != oldColSel) {
        emit selectionChanged();
    }
    if (moved) {
        emit RowColChange();
        emit EnterCell();
    }
}

// ---- Current cell and selection ----

void FlexGrid::moveCurrentCell(int row, int col) {
    const bool moved = row != m_row || col != m_col;
    const bool selectionMoved = moved || m_rowSel != row || m_colSel != col;
    m_row = row;
    m_col = col;
    m_rowSel = row;
    m_colSel = col;
    if (selectionMoved) {
        emit selectionChanged();
    }
    if (moved) {
        emit RowColChange();
        emit EnterCell();
    }
}

void FlexGrid::setRow(int row) {
    checkRow(row);
    moveCurrentCell(row, m_col);
}

void FlexGrid::setCol(int col) {
    checkCol(col);
    moveCurrentCell(m_row, col);
}

void FlexGrid::setCurrentCell(int row, int col) {
    checkRow(row);
    checkCol(col);
    moveCurrentCell(row, col);
}

void FlexGrid::setRowSel(int row) {
    checkRow(row);
    if (row != m_rowSel) {
        m_rowSel = row;
        emit selectionChanged();
    }
}

void FlexGrid::setColSel(int col) {
    checkCol(col);
    if (col != m_colSel) {
        m_colSel = col;
        emit selectionChanged();
    }
}

void FlexGrid::setTopRow(int row) {
    const int top = clampScroll(row, m_fixedRows, Rows());
    if (top != m_topRow) {
        m_topRow = top;
        emit scrollChanged();
    }
}

void FlexGrid::setLeftCol(int col) {
    const int left = clampScroll(col, m_fixedCols, m_cols);
    if (left != m_leftCol) {
        m_leftCol = left;
        emit scrollChanged();
    }
}

// ---- Texts ----

QString FlexGrid::TextMatrix(int row, int col) const {
    return cell(row, col).text;
}

void FlexGrid::setTextMatrix(int row, int col, const QString& text) {
    cell(row, col).text = text;
    emit cellsChanged();
}

QString FlexGrid::Text() const {
    return currentCell().text;
}

void FlexGrid::setText(const QString& text) {
    currentCell().text = text;
    emit cellsChanged();
}

FlexGrid::RowCells FlexGrid::makeRow(const QString& text) const {
    return makeRow(text.split(QLatin1Char('\t')));
}

FlexGrid::RowCells FlexGrid::makeRow(const QStringList& parts) const {
    RowCells row(static_cast<std::size_t>(m_cols));
    const auto filled = std::min<qsizetype>(parts.size(), m_cols);
    for (qsizetype c = 0; c < filled; ++c) {
        row[std::size_t(c)].text = parts[c];
    }
    return row;
}

void FlexGrid::AddItem(const QString& text) {
    AddItem(text, Rows());
}

void FlexGrid::AddItem(const QString& text, int index) {
    insertRow(makeRow(text), index);
}

void FlexGrid::AddItem(const QStringList& cells) {
    AddItem(cells, Rows());
}

void FlexGrid::AddItem(const QStringList& cells, int index) {
    insertRow(makeRow(cells), index);
}

void FlexGrid::insertRow(RowCells row, int index) {
    if (index < 0 || index > Rows()) {
        throw std::out_of_range("grid insert position " + std::to_string(index));
    }
    m_cells.insert(m_cells.begin() + index, std::move(row));
    m_rowHeights.insert(m_rowHeights.begin() + index, -1);
    emit layoutChanged();
    emit cellsChanged();
}

void FlexGrid::RemoveItem(int index) {
    checkRow(index);
    m_cells.erase(m_cells.begin() + index);
    m_rowHeights.erase(m_rowHeights.begin() + index);
    m_fixedRows = std::min(m_fixedRows, Rows());
    fitPositions();
    emit cellsChanged();
}

void FlexGrid::Clear() {
    for (RowCells& row : m_cells) {
        for (Cell& c : row) {
            c = Cell{};
        }
    }
    emit cellsChanged();
}

QString FlexGrid::Clip() const {
    if (Rows() == 0 || m_cols == 0) {
        return {};
    }
    const int r0 = std::min(m_row, m_rowSel);
    const int r1 = std::max(m_row, m_rowSel);
    const int c0 = std::min(m_col, m_colSel);
    const int c1 = std::max(m_col, m_colSel);
    QString clip;
    for (int r = r0; r <= r1; ++r) {
        if (r > r0) {
            clip += QLatin1Char('\r');
        }
        for (int c = c0; c <= c1; ++c) {
            if (c > c0) {
                clip += QLatin1Char('\t');
            }
            clip += m_cells[std::size_t(r)][std::size_t(c)].text;
        }
    }
    return clip;
}

void FlexGrid::setClip(const QString& text) {
    if (Rows() == 0 || m_cols == 0) {
        return;
    }
    const int r0 = std::min(m_row, m_rowSel);
    const int r1 = std::max(m_row, m_rowSel);
    const int c0 = std::min(m_col, m_colSel);
    const int c1 = std::max(m_col, m_colSel);
    const QStringList lines = text.split(QLatin1Char('\r'));
    for (int i = 0; i < lines.size() && r0 + i <= r1; ++i) {
        const QStringList parts = lines[i].split(QLatin1Char('\t'));
        for (int j = 0; j < parts.size() && c0 + j <= c1; ++j) {
            m_cells[std::size_t(r0 + i)][std::size_t(c0 + j)].text = parts[j];
        }
    }
    emit cellsChanged();
}

// ---- Colours ----

quint32 FlexGrid::CellBackColor() const {
    return currentCell().back.value_or(0);
}

void FlexGrid::setCellBackColor(quint32 color) {
    currentCell().back = color == 0 ? std::nullopt : std::optional<quint32>(color);
    emit cellsChanged();
}

quint32 FlexGrid::CellForeColor() const {
    return currentCell().fore.value_or(0);
}

void FlexGrid::setCellForeColor(quint32 color) {
    currentCell().fore = color == 0 ? std::nullopt : std::optional<quint32>(color);
    emit cellsChanged();
}

std::optional<quint32> FlexGrid::cellBackColorAt(int row, int col) const {
    return cell(row, col).back;
}

std::optional<quint32> FlexGrid::cellForeColorAt(int row, int col) const {
    return cell(row, col).fore;
}

void FlexGrid::setColor(quint32& member, quint32 color) {
    if (member != color) {
        member = color;
        emit colorsChanged();
    }
}

void FlexGrid::setBackColor(quint32 color) {
    setColor(m_backColor, color);
}
void FlexGrid::setForeColor(quint32 color) {
    setColor(m_foreColor, color);
}
void FlexGrid::setBackColorSel(quint32 color) {
    setColor(m_backColorSel, color);
}
void FlexGrid::setForeColorSel(quint32 color) {
    setColor(m_foreColorSel, color);
}
void FlexGrid::setBackColorFixed(quint32 color) {
    setColor(m_backColorFixed, color);
}
void FlexGrid::setForeColorFixed(quint32 color) {
    setColor(m_foreColorFixed, color);
}

// ---- Sizes and positions ----

int FlexGrid::RowHeight(int row) const {
    return sizeAt(m_rowHeights, row, kDefaultRowHeight);
}

void FlexGrid::setRowHeight(int row, int height) {
    setSizeAt(m_rowHeights, row, height);
    emit layoutChanged();
}

int FlexGrid::ColWidth(int col) const {
    return sizeAt(m_colWidths, col, kDefaultColWidth);
}

void FlexGrid::setColWidth(int col, int width) {
    setSizeAt(m_colWidths, col, width);
    emit layoutChanged();
}

int FlexGrid::cellLeftAt(int col) const {
    int left = 0;
    for (int c = 0; c < std::min(col, m_fixedCols); ++c) {
        left += ColWidth(c);
    }
    if (col < m_fixedCols) {
        return left;
    }
    for (int c = m_leftCol; c < col; ++c) {
        left += ColWidth(c);
    }
    for (int c = col; c < m_leftCol; ++c) {
        left -= ColWidth(c);
    }
    return left;
}

int FlexGrid::cellTopAt(int row) const {
    int top = 0;
    for (int r = 0; r < std::min(row, m_fixedRows); ++r) {
        top += RowHeight(r);
    }
    if (row < m_fixedRows) {
        return top;
    }
    for (int r = m_topRow; r < row; ++r) {
        top += RowHeight(r);
    }
    for (int r = row; r < m_topRow; ++r) {
        top -= RowHeight(r);
    }
    return top;
}

int FlexGrid::CellLeft() const {
    return cellLeftAt(m_col);
}

int FlexGrid::CellTop() const {
    return cellTopAt(m_row);
}

void FlexGrid::setRedraw(bool redraw) {
    // Switching on always asks for one repaint, even when it was on already.
    if (redraw != m_redraw || redraw) {
        m_redraw = redraw;
        emit redrawChanged(redraw);
    }
}

}  // namespace quarnel
