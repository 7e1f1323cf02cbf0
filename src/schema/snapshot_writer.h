// Writes the schema model as a snapshot file (db/sqlite_snapshot.h has the format): an SQLite file
// built under a temporary name beside the target and renamed over it when complete.
#pragma once

#include "schema/schema_writer.h"

#include <QString>

#include <memory>

namespace quarnel::schema {

class SnapshotWriter final : public SchemaWriter {
  public:
    explicit SnapshotWriter(const QString& target);
    ~SnapshotWriter() override;

    void begin(const Schema& schema) override;
    void table(const Table& table, int number) override;
    void finish() override;

  private:
    struct State;
    std::unique_ptr<State> m_state;
};

// The dictionary's type text (user_tab_columns.data_type) for a column read by a describe only:
// "VARCHAR2", "NVARCHAR2", "NUMBER", "FLOAT", "TIMESTAMP(6)", ...
QString dictionaryTypeText(const catalog::ColumnDescription& column);

}  // namespace quarnel::schema
