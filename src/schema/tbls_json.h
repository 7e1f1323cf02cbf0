// Writes the schema model as tbls' schema.json (the format of the schema-documentation tool tbls,
// as its published JSON Schema describes it), so tbls can build documents, lint reports and ER
// diagrams of an Oracle schema from it.
#pragma once

#include "schema/schema_writer.h"

#include <QJsonObject>
#include <QString>

#include <memory>

namespace quarnel::schema {

// The whole schema as one tbls document: tables with their columns, indexes and constraints,
// relations for the foreign keys between the schema's own tables, and the driver block.
QJsonObject tblsDocument(const Schema& schema);

// Writes tblsDocument to `target` (under a temporary name, renamed when complete).
class TblsJsonWriter final : public SchemaWriter {
  public:
    explicit TblsJsonWriter(const QString& target);
    ~TblsJsonWriter() override;

    void begin(const Schema& schema) override;
    void table(const Table& table, int number) override;
    void finish() override;

  private:
    QString m_target;
    Schema m_schema;
};

}  // namespace quarnel::schema
