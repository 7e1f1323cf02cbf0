#include "docs/xlsx_definition_writer.h"

#include "docs/definition_facts.h"
#include "docs/document_names.h"
#include "docs/document_texts.h"
#include "docs/xlsx_book.h"

#include <QLocale>

namespace quarnel::docs {
namespace {

// The rows above the table list's own table, and above the single-sheet lists' tables.
constexpr int kListHeaderRows = 6;
constexpr int kOneSheetHeaderRows = 4;
// The per-table sheet: the header block, then the column table from kColumnTableRow.
constexpr int kColumnTableRow = 5;
constexpr int kTableSheetColumns = 13;
constexpr double kLineHeight = 15;

QString cellName(int row, int col) {
    QString letters;
    for (int c = col + 1; c > 0; c = (c - 1) / 26)
        letters.prepend(QChar(u'A' + (c - 1) % 26));
    return letters + QString::number(row + 1);
}

int lineCount(const QString& text) {
    return int(text.count(u'\n') + 1);
}

// The refusal when a sheet would need more rows than `maxRows`.
void checkRowLimit(const QString& sheet, qint64 rows, qint64 maxRows) {
    if (rows <= maxRows)
        return;
    const QLocale c = QLocale::c();
    throw schema::WriteError(
        QStringLiteral("「%1」は %2 行になり、Excel の上限 %3 行を超えるため出力できません。"
                       "出力する表を減らしてください。")
            .arg(sheet, c.toString(rows), c.toString(maxRows)));
}

void headerRow(XlsxSheet& sheet, int row, const QStringList& labels, lxw_format* format) {
    for (int col = 0; col < labels.size(); ++col)
        sheet.text(row, col, labels[col], format);
}

// The columns one row of a column table shows from `first` on: No to 備考.
void columnCells(XlsxSheet& sheet, const BookFormats& f, int row, int first, const ColumnFacts& c) {
    sheet.number(row, first, c.number, f.number);
    sheet.text(row, first + 1, c.logicalName, f.value);
    sheet.text(row, first + 2, c.physicalName, f.value);
    sheet.text(row, first + 3, c.dataType, f.value);
    sheet.optionalNumber(row, first + 4, c.length);
    sheet.optionalNumber(row, first + 5, c.precision);
    sheet.optionalNumber(row, first + 6, c.scale);
    sheet.text(row, first + 7, c.notNull ? text::kMark : QString(), f.center);
    sheet.optionalNumber(row, first + 8, c.primaryKeyPosition);
    if (c.uniqueKeyPositions.size() == 1)
        sheet.number(row, first + 9, c.uniqueKeyPositions.front(), f.number);
    else
        sheet.text(row, first + 9, uniqueKeyText(c.uniqueKeyPositions), f.number);
    sheet.text(row, first + 10, c.references, f.value);
    sheet.text(row, first + 11, c.defaultText, f.value);
    sheet.text(row, first + 12, c.remarks, f.value);
}

QStringList columnLabels() {
    return {text::kNo,     text::kLogicalName, text::kPhysicalName, text::kDataType,
            text::kLength, text::kPrecision,   text::kScale,        text::kNotNull,
            text::kPk,     text::kUk,          text::kFk,           text::kDefault,
            text::kRemarks};
}

int tallest(const QStringList& texts) {
    int lines = 1;
    for (const QString& t : texts)
        lines = std::max(lines, lineCount(t));
    return lines;
}

}  // namespace

void checkSheetRows(const schema::Schema& schema, bool oneSheet, qint64 maxRows) {
    checkRowLimit(text::kTableListSheet, kListHeaderRows + qint64(schema.tables.size()), maxRows);
    if (!oneSheet)
        return;
    qint64 columns = 0, indexes = 0, constraints = 0;
    for (const schema::Table& t : schema.tables) {
        columns += qint64(t.columns.size());
        indexes += qint64(t.indexes.size());
        constraints += (t.primaryKey ? 1 : 0) + qint64(t.uniqueKeys.size()) +
                       qint64(t.foreignKeys.size()) + qint64(t.checks.size());
    }
    checkRowLimit(text::kColumnListSheet, kOneSheetHeaderRows + columns, maxRows);
    checkRowLimit(text::kIndexListSheet, kOneSheetHeaderRows + indexes, maxRows);
    checkRowLimit(text::kConstraintListSheet, kOneSheetHeaderRows + constraints, maxRows);
}

XlsxDefinitionWriter::XlsxDefinitionWriter(const QString& target, bool oneSheet)
    : m_output(target, StagedOutput::Kind::File), m_oneSheet(oneSheet) {}

XlsxDefinitionWriter::~XlsxDefinitionWriter() = default;

void XlsxDefinitionWriter::begin(const schema::Schema& schema) {
    m_oneSheet = m_oneSheet || schema.tables.size() > size_t(kOneSheetAbove);
    m_user = schema.user;
    m_host = schema.host;
    m_readAt = readAtText(schema.readAt);
    // Refused before anything is written.
    checkSheetRows(schema, m_oneSheet, kMaxRows);
    if (auto failure = m_output.prepare())
        throw schema::WriteError(*failure);
    m_book = std::make_unique<XlsxBook>(m_output.temporaryPath(), m_oneSheet);
    if (m_oneSheet)
        beginOneSheet(schema);
    else
        beginTableSheets(schema);
}

void XlsxDefinitionWriter::beginTableSheets(const schema::Schema& schema) {
    UniqueNames names({text::kTableListSheet, QStringLiteral("History")});
    m_sheetNames.reserve(schema.tables.size());
    for (const schema::Table& t : schema.tables)
        m_sheetNames.push_back(names.claim(sheetNameFor(t.name), kMaxSheetName));
    writeTableList(schema);
}

void XlsxDefinitionWriter::writeTableList(const schema::Schema& schema) {
    XlsxSheet& sheet = m_book->addSheet(text::kTableListSheet);
    const BookFormats& f = m_book->formats();
    QStringList labels{text::kNo,          text::kPhysicalName, text::kLogicalName,
                       text::kColumnCount, text::kPrimaryKey,   text::kRemarks};
    if (!m_oneSheet)
        labels << text::kSheetName;
    const int last = int(labels.size()) - 1;
    sheet.merged(0, 0, 0, last, text::kDocumentTitle, f.title);
    sheet.rowHeight(0, 21);
    const QStringList header{text::kUser, m_user, text::kHost, m_host, text::kReadAt, m_readAt};
    for (int i = 0; i < 3; ++i) {
        sheet.merged(1 + i, 0, 1 + i, 1, header[2 * i], f.label);
        sheet.merged(1 + i, 2, 1 + i, last, header[2 * i + 1], f.value);
    }
    headerRow(sheet, kListHeaderRows - 1, labels, f.label);

    int row = kListHeaderRows;
    qint64 columnRow = kOneSheetHeaderRows;
    for (size_t i = 0; i < schema.tables.size(); ++i, ++row) {
        const schema::Table& t = schema.tables[i];
        sheet.number(row, 0, double(i + 1), f.number);
        if (!m_oneSheet) {
            sheet.internalLink(row, 1, sheetCellReference(m_sheetNames[i]), t.name, f.link);
        } else if (!t.columns.empty()) {
            sheet.internalLink(
                row, 1, sheetCellReference(text::kColumnListSheet, cellName(int(columnRow), 0)),
                t.name, f.link);
        } else {
            sheet.text(row, 1, t.name, f.value);
        }
        columnRow += qint64(t.columns.size());
        const QString rest = schema::commentRest(t.comment);
        sheet.text(row, 2, schema::commentFirstLine(t.comment), f.value);
        sheet.number(row, 3, double(t.columns.size()), f.number);
        sheet.text(row, 4,
                   t.primaryKey ? t.primaryKey->columns.join(QStringLiteral(", ")) : QString(),
                   f.value);
        sheet.text(row, 5, rest, f.value);
        if (!m_oneSheet)
            sheet.text(row, 6, m_sheetNames[i], f.value);
        if (rest.contains(u'\n'))
            sheet.rowHeight(row, kLineHeight * lineCount(rest));
    }
    sheet.finish(int(labels.size()), kListHeaderRows, kListHeaderRows - 1, row - 1,
                 kListHeaderRows);
    throwIfFailed(sheet);
}

void XlsxDefinitionWriter::table(const schema::Table& table, int number) {
    if (m_oneSheet)
        writeOneSheetRows(table);
    else
        writeTableSheet(table, m_sheetNames.at(size_t(number - 1)));
}

void XlsxDefinitionWriter::writeTableSheet(const schema::Table& t, const QString& sheetName) {
    XlsxSheet& sheet = m_book->addSheet(sheetName);
    const BookFormats& f = m_book->formats();
    const int last = kTableSheetColumns - 1;

    sheet.internalLink(0, 0, sheetCellReference(text::kTableListSheet), text::kBackToList,
                       f.plainLink, false);
    sheet.merged(0, 2, 0, last, text::kDocumentTitle, f.title);
    sheet.rowHeight(0, 21);
    sheet.merged(1, 0, 1, 1, text::kTablePhysical, f.label);
    sheet.merged(1, 2, 1, 5, t.name, f.value);
    sheet.merged(1, 6, 1, 7, text::kTableLogical, f.label);
    sheet.merged(1, 8, 1, last, schema::commentFirstLine(t.comment), f.value);
    sheet.merged(2, 0, 2, 1, text::kTableComment, f.label);
    sheet.merged(2, 2, 2, last, t.comment, f.value);
    if (t.comment.contains(u'\n'))
        sheet.rowHeight(2, kLineHeight * lineCount(t.comment));
    sheet.merged(3, 0, 3, 1, text::kUser, f.label);
    sheet.merged(3, 2, 3, 5, m_user, f.value);
    sheet.merged(3, 6, 3, 7, text::kReadAt, f.label);
    sheet.merged(3, 8, 3, last, m_readAt, f.value);
    headerRow(sheet, kColumnTableRow, columnLabels(), f.label);

    int row = kColumnTableRow + 1;
    for (const ColumnFacts& c : columnFacts(t, m_user)) {
        columnCells(sheet, f, row, 0, c);
        const int lines = tallest({c.references, c.defaultText, c.remarks});
        if (lines > 1)
            sheet.rowHeight(row, kLineHeight * lines);
        ++row;
    }
    const int lastColumnRow = row - 1;

    const auto section = [&](const QString& title, const QStringList& labels,
                             const std::vector<int>& spans) {
        row += 1;
        sheet.text(row++, 0, title, f.section, false);
        int col = 0;
        for (qsizetype i = 0; i < labels.size(); ++i) {
            const int span = spans[size_t(i)];
            if (span > 1)
                sheet.merged(row, col, row, col + span - 1, labels[i], f.label);
            else
                sheet.text(row, col, labels[i], f.label);
            col += span;
        }
        ++row;
    };
    const auto cells = [&](const QStringList& values, const std::vector<int>& spans) {
        int col = 0;
        sheet.number(row, col++, values.front().toInt(), f.number);
        for (qsizetype i = 1; i < values.size(); ++i) {
            const int span = spans[size_t(i)];
            if (span > 1)
                sheet.merged(row, col, row, col + span - 1, values[i], f.value);
            else
                sheet.text(row, col, values[i], i == 2 && spans.size() == 4 ? f.center : f.value);
            col += span;
        }
        if (tallest(values) > 1)
            sheet.rowHeight(row, kLineHeight * tallest(values));
        ++row;
    };
    const auto none = [&] { sheet.text(row++, 1, text::kNone, f.value, false); };

    const std::vector<int> indexSpans{1, 1, 1, 10};
    section(text::kIndexes, {text::kNo, text::kIndexName, text::kUnique, text::kColumns},
            indexSpans);
    int n = 0;
    for (const schema::Index& index : t.indexes) {
        cells({QString::number(++n), index.name, index.unique ? text::kMark : QString(),
               indexColumnsText(index)},
              indexSpans);
    }
    if (n == 0)
        none();

    const std::vector<int> keySpans{1, 1, 1, 1, 6, 3};
    section(text::kForeignKeys,
            {text::kNo, text::kKeyName, text::kColumns, text::kReferencedTable,
             text::kReferencedColumns, text::kOnDelete},
            keySpans);
    n = 0;
    for (const schema::ForeignKey& key : t.foreignKeys) {
        cells({QString::number(++n), key.name, key.columns.join(QStringLiteral(", ")),
               referencedTableText(key, m_user), key.referencedColumns.join(QStringLiteral(", ")),
               key.deleteRule},
              keySpans);
    }
    if (n == 0)
        none();

    const std::vector<int> constraintSpans{1, 1, 1, 10};
    section(text::kConstraints, {text::kNo, text::kConstraintName, text::kKind, text::kCondition},
            constraintSpans);
    n = 0;
    for (const ConstraintFacts& c : constraintFacts(t))
        cells({QString::number(++n), c.name, c.kind, c.detail}, {1, 1, 1, 10});
    if (n == 0)
        none();

    sheet.finish(kTableSheetColumns, kColumnTableRow + 1, kColumnTableRow, lastColumnRow,
                 kColumnTableRow + 1);
    throwIfFailed(sheet);
}

void XlsxDefinitionWriter::beginOneSheet(const schema::Schema& schema) {
    writeTableList(schema);
    const BookFormats& f = m_book->formats();
    const auto open = [&](const QString& name, const QStringList& labels) {
        XlsxSheet& sheet = m_book->addSheet(name);
        sheet.merged(0, 0, 0, 4, name, f.title);
        sheet.rowHeight(0, 21);
        const QStringList header{text::kUser, m_user, text::kHost, m_host, text::kReadAt, m_readAt};
        for (int i = 0; i < header.size(); ++i)
            sheet.text(1, i, header[i], i % 2 == 0 ? f.label : f.value, false);
        headerRow(sheet, kOneSheetHeaderRows - 1, labels, f.label);
        return &sheet;
    };
    const QString tablePhysical = text::kTable + text::kPhysicalName;
    const QString tableLogical = text::kTable + text::kLogicalName;
    QStringList columnList{tablePhysical, tableLogical};
    columnList << columnLabels();
    m_columns = open(text::kColumnListSheet, columnList);
    m_indexes = open(text::kIndexListSheet,
                     {tablePhysical, text::kNo, text::kIndexName, text::kUnique, text::kColumns});
    m_constraints =
        open(text::kConstraintListSheet,
             {tablePhysical, text::kNo, text::kConstraintName, text::kKind, text::kColumns,
              text::kReferencedTable, text::kReferencedColumns, text::kOnDelete, text::kCondition});
    m_columnRow = m_indexRow = m_constraintRow = kOneSheetHeaderRows;
}

void XlsxDefinitionWriter::writeOneSheetRows(const schema::Table& t) {
    const BookFormats& f = m_book->formats();
    const QString logical = schema::commentFirstLine(t.comment);
    for (const ColumnFacts& c : columnFacts(t, m_user)) {
        m_columns->text(m_columnRow, 0, t.name, f.value);
        m_columns->text(m_columnRow, 1, logical, f.value);
        columnCells(*m_columns, f, m_columnRow, 2, c);
        ++m_columnRow;
    }
    int n = 0;
    for (const schema::Index& index : t.indexes) {
        XlsxSheet& s = *m_indexes;
        s.text(m_indexRow, 0, t.name, f.value);
        s.number(m_indexRow, 1, ++n, f.number);
        s.text(m_indexRow, 2, index.name, f.value);
        s.text(m_indexRow, 3, index.unique ? text::kMark : QString(), f.center);
        s.text(m_indexRow, 4, indexColumnsText(index), f.value);
        ++m_indexRow;
    }
    n = 0;
    const auto constraint = [&](const QString& name, const QString& kind, const QStringList& cols,
                                const QString& refTable, const QStringList& refCols,
                                const QString& rule, const QString& condition) {
        XlsxSheet& s = *m_constraints;
        const QStringList values{name,
                                 kind,
                                 cols.join(QStringLiteral(", ")),
                                 refTable,
                                 refCols.join(QStringLiteral(", ")),
                                 rule,
                                 condition};
        s.text(m_constraintRow, 0, t.name, f.value);
        s.number(m_constraintRow, 1, ++n, f.number);
        for (int i = 0; i < values.size(); ++i)
            s.text(m_constraintRow, 2 + i, values[i], f.value);
        ++m_constraintRow;
    };
    if (t.primaryKey)
        constraint(t.primaryKey->name, text::kKindPrimary, t.primaryKey->columns, {}, {}, {}, {});
    for (const schema::KeyConstraint& key : t.uniqueKeys)
        constraint(key.name, text::kKindUnique, key.columns, {}, {}, {}, {});
    for (const schema::ForeignKey& key : t.foreignKeys) {
        constraint(key.name, text::kKindForeign, key.columns, referencedTableText(key, m_user),
                   key.referencedColumns, key.deleteRule, {});
    }
    for (const schema::CheckConstraint& check : t.checks)
        constraint(check.name, text::kKindCheck, {}, {}, {}, {}, check.condition);
    throwIfFailed(*m_columns);
    throwIfFailed(*m_indexes);
    throwIfFailed(*m_constraints);
}

void XlsxDefinitionWriter::finish() {
    if (m_oneSheet) {
        const int last = kOneSheetHeaderRows - 1;
        m_columns->finish(15, kOneSheetHeaderRows, last, m_columnRow - 1, kOneSheetHeaderRows);
        m_indexes->finish(5, kOneSheetHeaderRows, last, m_indexRow - 1, kOneSheetHeaderRows);
        m_constraints->finish(9, kOneSheetHeaderRows, last, m_constraintRow - 1,
                              kOneSheetHeaderRows);
    }
    m_book->close();
    m_book.reset();
    if (auto failure = m_output.commit())
        throw schema::WriteError(*failure);
}

}  // namespace quarnel::docs
