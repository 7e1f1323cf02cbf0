#include "docs/xlsx_book.h"

#include "docs/document_names.h"
#include "schema/schema_writer.h"

#include <xlsxwriter.h>

#include <cerrno>
#include <cstring>

namespace quarnel::docs {
namespace {

constexpr lxw_color_t kHeaderFill = 0xDDEBF7;
constexpr lxw_color_t kBorderColor = 0x808080;
constexpr lxw_color_t kLinkColor = 0x0563C1;

QByteArray utf8(const QString& text) {
    if (text.size() <= kMaxCellText)
        return text.toUtf8();
    // Excel holds no longer text in a cell: the end is cut and marked.
    qsizetype length = kMaxCellText - 1;
    if (text[length - 1].isHighSurrogate())
        --length;
    return (text.left(length) + QChar(0x2026)).toUtf8();
}

lxw_format* bordered(lxw_workbook* book) {
    lxw_format* f = workbook_add_format(book);
    format_set_border(f, LXW_BORDER_THIN);
    format_set_border_color(f, kBorderColor);
    format_set_align(f, LXW_ALIGN_VERTICAL_TOP);
    format_set_text_wrap(f);
    return f;
}

}  // namespace

void XlsxSheet::check(int error) {
    if (error != LXW_NO_ERROR && m_error.isEmpty())
        m_error = QString::fromUtf8(lxw_strerror(lxw_error(error)));
}

void XlsxSheet::measure(int col, const QString& value) {
    if (size_t(col) >= m_widths.size())
        m_widths.resize(col + 1, 0);
    m_widths[col] = std::max(m_widths[col], displayWidth(value));
}

void XlsxSheet::text(int row, int col, const QString& value, lxw_format* format, bool fit) {
    if (fit)
        measure(col, value);
    if (value.isEmpty()) {
        blank(row, col, format);
        return;
    }
    check(worksheet_write_string(m_sheet, lxw_row_t(row), lxw_col_t(col), utf8(value).constData(),
                                 format));
}

void XlsxSheet::number(int row, int col, double value, lxw_format* format) {
    measure(col, QString::number(value));
    check(worksheet_write_number(m_sheet, lxw_row_t(row), lxw_col_t(col), value, format));
}

void XlsxSheet::blank(int row, int col, lxw_format* format) {
    if (m_sparse)
        return;
    check(worksheet_write_blank(m_sheet, lxw_row_t(row), lxw_col_t(col), format));
}

void XlsxSheet::optionalNumber(int row, int col, const std::optional<int>& value) {
    if (value)
        number(row, col, *value, m_f->number);
    else
        blank(row, col, m_f->number);
}

void XlsxSheet::internalLink(int row, int col, const QString& location, const QString& caption,
                             lxw_format* format, bool fit) {
    if (m_links >= kMaxLinksPerSheet) {
        text(row, col, caption, m_f->value, fit);
        return;
    }
    ++m_links;
    if (fit)
        measure(col, caption);
    const QByteArray url = (QStringLiteral("internal:") + location).toUtf8();
    check(worksheet_write_url_opt(m_sheet, lxw_row_t(row), lxw_col_t(col), url.constData(), format,
                                  utf8(caption).constData(), nullptr));
}

void XlsxSheet::merged(int row, int col, int lastRow, int lastCol, const QString& value,
                       lxw_format* format) {
    check(worksheet_merge_range(m_sheet, lxw_row_t(row), lxw_col_t(col), lxw_row_t(lastRow),
                                lxw_col_t(lastCol), utf8(value).constData(), format));
}

void XlsxSheet::rowHeight(int row, double height) {
    check(worksheet_set_row(m_sheet, lxw_row_t(row), height, nullptr));
}

void XlsxSheet::finish(int columns, int frozenRows, int filterFirstRow, int filterLastRow,
                       int repeatRows, double minimum, double maximum) {
    m_widths.resize(std::max<size_t>(m_widths.size(), size_t(columns)), 0);
    for (int col = 0; col < columns; ++col) {
        const double width = std::clamp(double(m_widths[col]) + 2, minimum, maximum);
        check(worksheet_set_column(m_sheet, lxw_col_t(col), lxw_col_t(col), width, nullptr));
    }
    if (frozenRows > 0)
        worksheet_freeze_panes(m_sheet, lxw_row_t(frozenRows), 0);
    if (filterLastRow >= filterFirstRow) {
        check(worksheet_autofilter(m_sheet, lxw_row_t(filterFirstRow), 0, lxw_row_t(filterLastRow),
                                   lxw_col_t(columns - 1)));
    }
    worksheet_set_paper(m_sheet, 9);  // A4
    worksheet_set_landscape(m_sheet);
    worksheet_fit_to_pages(m_sheet, 1, 0);
    if (repeatRows > 0)
        check(worksheet_repeat_rows(m_sheet, 0, lxw_row_t(repeatRows - 1)));
}

XlsxBook::XlsxBook(const QString& path, bool constantMemory) : m_constantMemory(constantMemory) {
    const QByteArray file = path.toUtf8();
    lxw_workbook_options options{};
    options.constant_memory = constantMemory ? LXW_TRUE : LXW_FALSE;
    options.use_zip64 = LXW_TRUE;
    errno = 0;
    m_book = workbook_new_opt(file.constData(), &options);
    if (!m_book)
        throw schema::WriteError(QString::fromLocal8Bit(std::strerror(errno ? errno : ENOMEM)));

    lxw_workbook* b = m_book;
    m_formats.title = workbook_add_format(b);
    format_set_bold(m_formats.title);
    format_set_font_size(m_formats.title, 14);
    m_formats.section = workbook_add_format(b);
    format_set_bold(m_formats.section);
    m_formats.label = bordered(b);
    format_set_bold(m_formats.label);
    format_set_pattern(m_formats.label, LXW_PATTERN_SOLID);
    format_set_bg_color(m_formats.label, kHeaderFill);
    m_formats.value = bordered(b);
    m_formats.center = bordered(b);
    format_set_align(m_formats.center, LXW_ALIGN_CENTER);
    m_formats.number = bordered(b);
    format_set_align(m_formats.number, LXW_ALIGN_RIGHT);
    m_formats.link = bordered(b);
    format_set_font_color(m_formats.link, kLinkColor);
    format_set_underline(m_formats.link, LXW_UNDERLINE_SINGLE);
    m_formats.plainLink = workbook_add_format(b);
    format_set_font_color(m_formats.plainLink, kLinkColor);
    format_set_underline(m_formats.plainLink, LXW_UNDERLINE_SINGLE);
}

XlsxBook::~XlsxBook() {
    if (m_book)
        lxw_workbook_free(m_book);
}

XlsxSheet& XlsxBook::addSheet(const QString& name) {
    const QByteArray utf8Name = name.toUtf8();
    lxw_worksheet* sheet = workbook_add_worksheet(m_book, utf8Name.constData());
    if (!sheet)
        throw schema::WriteError(QStringLiteral("cannot add the sheet %1").arg(name));
    m_sheets.push_back(std::make_unique<XlsxSheet>(sheet, m_formats, m_constantMemory));
    return *m_sheets.back();
}

void XlsxBook::close() {
    for (const auto& sheet : m_sheets)
        throwIfFailed(*sheet);
    errno = 0;
    const lxw_error error = workbook_close(m_book);
    const int systemError = errno;
    m_book = nullptr;
    if (error == LXW_NO_ERROR)
        return;
    QString reason = QString::fromUtf8(lxw_strerror(error));
    if (systemError != 0)
        reason += QStringLiteral(": ") + QString::fromLocal8Bit(std::strerror(systemError));
    throw schema::WriteError(reason);
}

void throwIfFailed(const XlsxSheet& sheet) {
    if (!sheet.error().isEmpty())
        throw schema::WriteError(sheet.error());
}

}  // namespace quarnel::docs
