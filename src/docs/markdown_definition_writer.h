// The table-definition document as a folder of GitHub-flavoured Markdown: README.md with the
// header and the table list, each name a relative link, and one file per table with the same
// sections as the workbook. UTF-8, LF line ends; the date of reading stands in README.md only,
// so that the table files change only when their tables do.
#pragma once

#include "schema/schema_writer.h"
#include "support/staged_output.h"

#include <vector>

namespace quarnel::docs {

class MarkdownDefinitionWriter : public schema::SchemaWriter {
  public:
    explicit MarkdownDefinitionWriter(const QString& targetFolder);

    void begin(const schema::Schema& schema) override;
    void table(const schema::Table& table, int number) override;
    void finish() override;

    // The file name of each table (valid after begin()).
    const std::vector<QString>& fileNames() const { return m_fileNames; }

  private:
    void write(const QString& fileName, const QString& text);

    StagedOutput m_output;
    QString m_user;
    std::vector<QString> m_fileNames;
};

// The Markdown of one table's file (without the link back).
QString tableMarkdown(const schema::Table& table, const QString& user);

}  // namespace quarnel::docs
