// The flex grid: a table of text cells with fixed (header) rows and columns, a current cell, a
// rectangular selection, a scroll position, per-cell colours and row and column sizes in twips.
//
// This is the model behind the detail grid `MSFlexGrid1`. It has no widgets; FlexGridView
// (app/flex_grid_view.h) draws it and turns mouse and keys into assignments of its properties.
// Property names follow the grid's classic interface: the getter carries the property's name
// (`Rows()`, `TextMatrix(r, c)`), the setter puts `set` in front of it (`setRows(n)`).
//
// Notifications. `RowColChange` and `EnterCell` are Qt signals, emitted in that order, before the
// assignment that moved the current cell returns; they fire only when the current cell really
// moved to another cell (assigning the cell it is already on fires nothing). The current cell
// moves when `Row` or `Col` is assigned, and also when shrinking `Rows`/`Cols` or removing a row
// pulls it back inside the grid. Connect them with direct connections (the default between objects
// of one thread); a queued connection would break the handlers that rely on the cell having
// changed before the assignment returns. The other signals (cells, layout, selection, scroll,
// redraw) tell a view what to repaint and are emitted synchronously too.
//
// Indices are 32-bit signed. A row or column index outside the grid (or a negative count) throws
// std::out_of_range and leaves the grid unchanged; the grid itself never holds an invalid state.
// Exceptions to this rule, each kept valid by clamping instead: `TopRow`/`LeftCol` (clamped to
// FixedRows..Rows-1 / FixedCols..Cols-1), and the sizes `RowHeight(i)`/`ColWidth(i)`, which may be
// read and set for any i >= 0: a size set for a row or column the grid does not have yet is kept
// and applies when the grid grows to it (so columns can be sized before `Cols` is raised).
// Shrinking the grid drops the sizes of the rows or columns removed.
//
// Counts. `Rows` >= `FixedRows` and `Cols` >= `FixedCols` always hold: lowering `Rows` below
// `FixedRows` lowers `FixedRows` with it; raising `FixedRows` above `Rows` is refused (throws).
// When the grid has no rows (or no columns) the current row (column) is 0 and there is no current
// cell: `Text` and the current cell's colours throw.
//
// Colours are the platform's 32-bit values in 0x00BBGGRR order (see `rgb`). A cell's own back and
// fore colours are "not set" until assigned; unset cells show the grid's `BackColor`/`ForeColor`
// (or the fixed colours in fixed cells). As in the classic grid, assigning 0 to `CellBackColor` or
// `CellForeColor` clears the cell's own colour (reading it back gives 0), so 0 means "the grid's
// colour"; a black of the cell's own is written 0x000001.
#pragma once

#include <QObject>
#include <QString>

#include <optional>
#include <vector>

namespace quarnel {

// A colour value from red, green and blue (0..255 each), in the platform's 0x00BBGGRR order.
constexpr quint32 rgb(int red, int green, int blue) {
    return quint32(red & 0xFF) | (quint32(green & 0xFF) << 8) | (quint32(blue & 0xFF) << 16);
}

class FlexGrid : public QObject {
    Q_OBJECT

  public:
    static constexpr int kDefaultRowHeight = 240;  // twips
    static constexpr int kDefaultColWidth = 960;   // twips

    explicit FlexGrid(QObject* parent = nullptr);

    // Size and fixed part. Defaults: 2 rows, 2 columns, 1 fixed row, 1 fixed column.
    int Rows() const { return int(m_cells.size()); }
    void setRows(int rows);
    int Cols() const { return m_cols; }
    void setCols(int cols);
    int FixedRows() const { return m_fixedRows; }
    void setFixedRows(int fixedRows);
    int FixedCols() const { return m_fixedCols; }
    void setFixedCols(int fixedCols);

    // Current cell. Assigning collapses the selection onto the new cell.
    int Row() const { return m_row; }
    void setRow(int row);
    int Col() const { return m_col; }
    void setCol(int col);
    // Moves the current cell to (`row`, `col`) in one step, as a mouse click does: at most one
    // RowColChange and one EnterCell.
    void setCurrentCell(int row, int col);
    // Far corner of the selection; the selected range spans Row..RowSel and Col..ColSel.
    int RowSel() const { return m_rowSel; }
    void setRowSel(int row);
    int ColSel() const { return m_colSel; }
    void setColSel(int col);

    // Scroll position: the first non-fixed row and column shown.
    int TopRow() const { return m_topRow; }
    void setTopRow(int row);
    int LeftCol() const { return m_leftCol; }
    void setLeftCol(int col);

    // Cell texts.
    QString TextMatrix(int row, int col) const;
    void setTextMatrix(int row, int col, const QString& text);
    QString Text() const;  // the current cell's text
    void setText(const QString& text);
    // Inserts a row at `index` (0..Rows), or appends one. The tab-separated parts of `text` fill
    // its cells from column 0; parts beyond the last column are dropped.
    void AddItem(const QString& text);
    void AddItem(const QString& text, int index);
    // The same with the cells given one by one, so a cell's own tabs stay in the cell.
    void AddItem(const QStringList& cells);
    void AddItem(const QStringList& cells, int index);
    void RemoveItem(int index);
    // Empties every cell, fixed ones included, and drops every cell colour. Counts, sizes, the
    // current cell and the scroll position stay.
    void Clear();
    // The selected range as text: cells of a row joined by tab (9), rows by carriage return (13),
    // no carriage return after the last row.
    QString Clip() const;
    // Fills the selected range from text laid out as `Clip` gives it, from its top-left cell;
    // parts outside the range are dropped, cells without a part keep their text.
    void setClip(const QString& text);

    // Colours of the current cell; 0 = not set (see the header comment).
    quint32 CellBackColor() const;
    void setCellBackColor(quint32 color);
    quint32 CellForeColor() const;
    void setCellForeColor(quint32 color);
    // A cell's own colours, for drawing; nullopt when not set.
    std::optional<quint32> cellBackColorAt(int row, int col) const;
    std::optional<quint32> cellForeColorAt(int row, int col) const;

    // The grid's colours.
    quint32 BackColor() const { return m_backColor; }
    void setBackColor(quint32 color);
    quint32 ForeColor() const { return m_foreColor; }
    void setForeColor(quint32 color);
    quint32 BackColorSel() const { return m_backColorSel; }
    void setBackColorSel(quint32 color);
    quint32 ForeColorSel() const { return m_foreColorSel; }
    void setForeColorSel(quint32 color);
    quint32 BackColorFixed() const { return m_backColorFixed; }
    void setBackColorFixed(quint32 color);
    quint32 ForeColorFixed() const { return m_foreColorFixed; }
    void setForeColorFixed(quint32 color);

    // Sizes in twips. A negative size puts the row or column back to the default size.
    int RowHeight(int row) const;
    void setRowHeight(int row, int height);
    int ColWidth(int col) const;
    void setColWidth(int col, int width);

    // Position of the current cell inside the grid, in twips: the fixed rows (columns) come first,
    // then the rows (columns) from TopRow (LeftCol) on. A cell scrolled out above or left of the
    // visible part gets a position before the first scrolled row (column), a negative offset from
    // it.
    int CellLeft() const;
    int CellTop() const;
    // The same for any cell (fixed or not).
    int cellLeftAt(int col) const;
    int cellTopAt(int row) const;

    // Repaint switch: while false a view does not repaint; setting it true repaints once.
    bool Redraw() const { return m_redraw; }
    void setRedraw(bool redraw);

    // The control's outer rectangle in twips, kept by the window that places the grid.
    double Left() const { return m_left; }
    void setLeft(double left) { m_left = left; }
    double Top() const { return m_top; }
    void setTop(double top) { m_top = top; }
    double Width() const { return m_width; }
    void setWidth(double width) { m_width = width; }
    double Height() const { return m_height; }
    void setHeight(double height) { m_height = height; }

  signals:
    // The current cell moved to another cell. Emitted before EnterCell.
    void RowColChange();
    // The current cell was entered. Emitted right after RowColChange.
    void EnterCell();
    // Texts or colours of cells changed.
    void cellsChanged();
    // Counts, fixed part or sizes changed.
    void layoutChanged();
    // Current cell or selection changed (also emitted with RowColChange).
    void selectionChanged();
    // TopRow or LeftCol changed.
    void scrollChanged();
    // The grid's own colours changed.
    void colorsChanged();
    void redrawChanged(bool redraw);

  private:
    struct Cell {
        QString text;
        std::optional<quint32> back;
        std::optional<quint32> fore;
    };
    using RowCells = std::vector<Cell>;

    void checkRow(int row) const;
    void checkCol(int col) const;
    const Cell& cell(int row, int col) const;
    Cell& cell(int row, int col);
    Cell& currentCell();
    const Cell& currentCell() const;
    RowCells makeRow(const QString& text) const;
    RowCells makeRow(const QStringList& parts) const;
    void insertRow(RowCells row, int index);
    // Pulls the current cell, selection and scroll position back inside the grid after it shrank,
    // then emits what changed.
    void fitPositions();
    void moveCurrentCell(int row, int col);
    void setColor(quint32& member, quint32 color);

    std::vector<RowCells> m_cells;
    int m_cols = 2;
    int m_fixedRows = 1;
    int m_fixedCols = 1;
    int m_row = 1;
    int m_col = 1;
    int m_rowSel = 1;
    int m_colSel = 1;
    int m_topRow = 1;
    int m_leftCol = 1;
    // Sizes; at least Rows / Cols entries, -1 = default size.
    std::vector<int> m_rowHeights;
    std::vector<int> m_colWidths;
    quint32 m_backColor = rgb(255, 255, 255);
    quint32 m_foreColor = rgb(0, 0, 0);
    quint32 m_backColorSel = rgb(0, 120, 215);
    quint32 m_foreColorSel = rgb(255, 255, 255);
    quint32 m_backColorFixed = rgb(212, 208, 200);
    quint32 m_foreColorFixed = rgb(0, 0, 0);
    bool m_redraw = true;
    double m_left = 0;
    double m_top = 0;
    double m_width = 0;
    double m_height = 0;
};

}  // namespace quarnel
