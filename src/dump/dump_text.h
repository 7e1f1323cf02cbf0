// The text quarnel-dump writes, built from the catalogue texts of the tables asked for.
#pragma once

#include "db/data_access.h"
#include "dump/dump_arguments.h"
#include "schema/load_schema.h"

#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace quarnel::dump {

// One table's text and its name, for the layout of several tables.
struct TableText {
    QString table;
    QString text;
    // The key column names in key order (for --pk).
    QStringList primaryKey;
};

// The output for several tables:
// - each table's text, followed by CR LF when it does not already end with one, and one empty
//   line (CR LF) between two tables;
// - for DumpText::Pk instead one line per key column, table name TAB column name CR LF (tables
//   without a key write nothing).
QString severalTablesText(DumpText text, const std::vector<TableText>& tables);

struct DumpTextResult {
    // The whole output; nothing after a failure.
    std::optional<QString> text;
    // The one-line reason of a failure.
    QString error;
    // The failure was the database's "schema has changed", which a second try may not meet.
    bool schemaChanged = false;
};

// True for the database's own text for a schema that changed under a running query.
bool isSchemaChange(const QString& description);

// One table's chosen text built from its model (for --pk, the key lines as one named table gives
// them).
TableText modelTableText(DumpText text, const schema::Table& table);

// The chosen text: for one TABLE, its text exactly as the catalogue builds it; for several, or
// for every table of the list in list order when `tables` is empty, severalTablesText built
// from one whole-schema load, which reports to `progress`. --list is the table list text. Every
// named table is checked before any text is built; a missing one, or a failing query, is a
// failure.
DumpTextResult buildDumpText(db::Database& database, DumpText text, const QStringList& tables,
                             const std::function<void(const schema::LoadProgress&)>& progress = {});

}  // namespace quarnel::dump
