// One interface for every whole-schema output (the definition workbook and Markdown folder, the
// snapshot file, the tbls JSON): the writer is fed the schema's header, then table by table, then
// told to finish. The window and quarnel-dump drive it the same way, through writeSchema.
#pragma once

#include "schema/schema.h"

#include <QString>

#include <atomic>
#include <functional>
#include <stdexcept>

namespace quarnel::schema {

// A failure to write an output: `reason` is the text shown to the user (the system's reason for
// a failed write).
class WriteError : public std::runtime_error {
  public:
    explicit WriteError(const QString& reason)
        : std::runtime_error(reason.toStdString()), m_reason(reason) {}
    const QString& reason() const { return m_reason; }

  private:
    QString m_reason;
};

class SchemaWriter {
  public:
    virtual ~SchemaWriter() = default;
    // Once, before the tables: the schema's header (user, host, engine, time of reading) and the
    // whole table list, for outputs that begin with an index of the tables.
    virtual void begin(const Schema& schema) = 0;
    // Each table in the schema's order; `number` counts from 1.
    virtual void table(const Table& table, int number) = 0;
    // After the last table: completes the output and puts it in place. A writer that is destroyed
    // without finish() leaves nothing behind.
    virtual void finish() = 0;
};

struct WriteProgress {
    // Called after each table with the tables done and their total.
    std::function<void(int done, int total)> progress;
    // Set from any thread to stop between tables.
    const std::atomic<bool>* cancel = nullptr;
};

// Feeds `schema` to `writer`. False when cancelled: the writer is then left unfinished. Throws
// WriteError when the writer fails.
inline bool writeSchema(const Schema& schema, SchemaWriter& writer, const WriteProgress& control) {
    writer.begin(schema);
    const int total = int(schema.tables.size());
    int number = 0;
    for (const Table& table : schema.tables) {
        if (control.cancel && control.cancel->load())
            return false;
        writer.table(table, ++number);
        if (control.progress)
            control.progress(number, total);
    }
    if (control.cancel && control.cancel->load())
        return false;
    writer.finish();
    return true;
}

}  // namespace quarnel::schema
