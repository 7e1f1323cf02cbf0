// The table-definition document as an Excel workbook: the sheet 「テーブル一覧」, then one sheet
// per table; above kOneSheetAbove tables, or when asked, one sheet 「カラム一覧」 with a row per
// column plus 「インデックス一覧」 and 「制約一覧」, written in constant memory.
#pragma once

#include "schema/schema_writer.h"
#include "support/staged_output.h"

#include <memory>

namespace quarnel::docs {

inline constexpr int kOneSheetAbove = 1000;

// Throws WriteError, with a message naming the sheet and both counts, when a sheet of the chosen
// layout would need more than `maxRows` rows (Excel's 1,048,576).
void checkSheetRows(const schema::Schema& schema, bool oneSheet, qint64 maxRows);

class XlsxBook;
class XlsxSheet;

class XlsxDefinitionWriter : public schema::SchemaWriter {
  public:
    XlsxDefinitionWriter(const QString& target, bool oneSheet);
    ~XlsxDefinitionWriter() override;

    void begin(const schema::Schema& schema) override;
    void table(const schema::Table& table, int number) override;
    void finish() override;

    // Whether the single-sheet layout was chosen (valid after begin()).
    bool writesOneSheet() const { return m_oneSheet; }

  private:
    void beginTableSheets(const schema::Schema& schema);
    void beginOneSheet(const schema::Schema& schema);
    void writeTableList(const schema::Schema& schema);
    void writeTableSheet(const schema::Table& table, const QString& sheetName);
    void writeOneSheetRows(const schema::Table& table);

    StagedOutput m_output;
    bool m_oneSheet;
    std::unique_ptr<XlsxBook> m_book;
    QString m_user;
    QString m_host;
    QString m_readAt;
    // Per-table layout: each table's sheet name, in the schema's order.
    std::vector<QString> m_sheetNames;
    // Single-sheet layout: the three list sheets and their next free rows.
    XlsxSheet* m_columns = nullptr;
    XlsxSheet* m_indexes = nullptr;
    XlsxSheet* m_constraints = nullptr;
    int m_columnRow = 0;
    int m_indexRow = 0;
    int m_constraintRow = 0;
};

}  // namespace quarnel::docs
