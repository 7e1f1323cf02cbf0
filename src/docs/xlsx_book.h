// A thin, checked layer over libxlsxwriter: a workbook at a path, its cell formats, and sheets
// that remember the widest text of each column so that the columns can be fitted at the end.
// Every write is checked; the first failure is kept and reported as a WriteError.
#pragma once

#include <QString>

#include <memory>
#include <optional>
#include <vector>

struct lxw_workbook;
struct lxw_worksheet;
struct lxw_format;

namespace quarnel::docs {

// Excel's limits.
inline constexpr int kMaxRows = 1048576;
inline constexpr int kMaxLinksPerSheet = 65530;
inline constexpr qsizetype kMaxCellText = 32767;

struct BookFormats {
    lxw_format* title = nullptr;   // bold, larger
    lxw_format* label = nullptr;   // header fill, border, bold
    lxw_format* value = nullptr;   // border, wrapped, top-aligned
    lxw_format* center = nullptr;  // as value, centred
    lxw_format* number = nullptr;  // as value, right-aligned
    lxw_format* link = nullptr;    // as value, blue underlined
    lxw_format* plainLink = nullptr;
    lxw_format* section = nullptr;  // bold section title, no border
};

class XlsxSheet {
  public:
    // `sparse`: empty cells are left out instead of written blank with their borders, which
    // keeps the long lists of the single-sheet layout small.
    XlsxSheet(lxw_worksheet* sheet, const BookFormats& formats, bool sparse)
        : m_sheet(sheet), m_f(&formats), m_sparse(sparse) {}

    // Texts and numbers; `fit` says whether the text counts for the column's width.
    void text(int row, int col, const QString& value, lxw_format* format, bool fit = true);
    void number(int row, int col, double value, lxw_format* format);
    void blank(int row, int col, lxw_format* format);
    // A text that may be empty and a number that may be missing, both bordered.
    void optionalNumber(int row, int col, const std::optional<int>& value);
    // A link to `location` inside the workbook ('Sheet'!A1) showing `caption`; past Excel's
    // limit of links in one sheet, the caption alone.
    void internalLink(int row, int col, const QString& location, const QString& caption,
                      lxw_format* format, bool fit = true);
    // A merged block with one text; never counts for the widths.
    void merged(int row, int col, int lastRow, int lastCol, const QString& value,
                lxw_format* format);
    void rowHeight(int row, double height);

    // Column widths from the widest texts (between `minimum` and `maximum` units), frozen rows
    // above `frozenRows`, an autofilter over the given range (none when lastRow < firstRow), and
    // the print setup: A4 landscape, one page wide, rows 0 to repeatRows-1 on every page.
    void finish(int columns, int frozenRows, int filterFirstRow, int filterLastRow, int repeatRows,
                double minimum = 4, double maximum = 60);

    const QString& error() const { return m_error; }
    lxw_worksheet* raw() const { return m_sheet; }

  private:
    void check(int error);
    void measure(int col, const QString& value);

    lxw_worksheet* m_sheet;
    const BookFormats* m_f;
    bool m_sparse;
    std::vector<int> m_widths;
    int m_links = 0;
    QString m_error;
};

class XlsxBook {
  public:
    // Opens a workbook that will be written to `path`. Constant-memory mode writes each row out
    // as soon as the next begins: rows go in order, and memory stays bounded.
    XlsxBook(const QString& path, bool constantMemory);
    // Without close(), nothing is written.
    ~XlsxBook();
    XlsxBook(const XlsxBook&) = delete;
    XlsxBook& operator=(const XlsxBook&) = delete;

    // A new sheet named `name` (valid and unique: the caller's).
    XlsxSheet& addSheet(const QString& name);
    const BookFormats& formats() const { return m_formats; }
    // Writes the file; throws WriteError with the library's and the system's reason.
    void close();

  private:
    lxw_workbook* m_book = nullptr;
    bool m_constantMemory;
    BookFormats m_formats;
    std::vector<std::unique_ptr<XlsxSheet>> m_sheets;
};

// Throws WriteError for the first failed write of `sheet`.
void throwIfFailed(const XlsxSheet& sheet);

}  // namespace quarnel::docs
