// Reading the schema model: the whole schema (or a list of its tables) in a fixed number of
// dictionary queries inside one read snapshot, or one table the way the window's lookups read it.
#pragma once

#include "db/data_access.h"
#include "schema/schema.h"

#include <QString>
#include <QStringList>

#include <atomic>
#include <functional>
#include <optional>

namespace quarnel::schema {

struct LoadProgress {
    // Dictionary rows read so far, over every query.
    qint64 rowsRead = 0;
    // Queries finished of all the load sends.
    int queriesDone = 0;
    int queryCount = 0;
    // Tables the load covers (known once the table list is read), and of them the tables whose
    // columns have been read.
    int tableCount = 0;
    int tablesRead = 0;
};

struct LoadRequest {
    // The tables to read, by exact name; none: every table. Names the schema does not hold are
    // left out of the result (the caller reports them).
    std::optional<QStringList> tables;
    // Called between fetches from the thread that runs the load.
    std::function<void(const LoadProgress&)> progress;
    // Set from any thread to stop the load between fetches.
    const std::atomic<bool>* cancel = nullptr;
    // Copied into the schema's header.
    QString user;
    QString host;
};

// Reads the schema. Returns nothing when cancelled (nothing half-built is left); throws
// db::DbError when a query fails.
std::optional<Schema> loadSchema(db::Database& database, const LoadRequest& request);

// The parts of a table that readTable asks for.
enum TablePart { kTableColumns = 1, kTableIndexes = 2, kWholeTable = 3 };

// Reads `parts` of the table named `name` into `table` with the queries of the window's lookups,
// inside one read snapshot: existence, then for kTableColumns the primary key and the describe,
// then for kTableIndexes the descending and expression index columns and the index columns.
// `table` holds what was read so far when a query fails (the failure is thrown as db::DbError).
// False, with `table` untouched, when the user owns no table of that name.
bool readTable(db::Database& database, const QString& name, int parts, Table& table);

// Reads one table with the queries of the window's lookups (existence, primary key, describe,
// index columns): no comments, defaults or other constraints. Nothing when the user owns no
// table of that name; throws db::DbError when a query fails.
std::optional<Table> loadTable(db::Database& database, const QString& table);

}  // namespace quarnel::schema
