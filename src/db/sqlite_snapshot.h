// Schema snapshot files: SQLite files that hold a schema's dictionary as plain tables named as
// Oracle's views (user_tables, user_tab_columns, user_constraints, ...), so the program's own
// dictionary SQL runs on them unchanged, plus what a describe reported of every column and a
// header naming the format, its version and the source.
//
// The embedded engine opens such a file as the schema it was taken from: it installs none of its
// computed views and answers the describe query from the stored describe facts.
#pragma once

#include "db/data_access.h"

#include <QByteArray>
#include <QString>

#include <memory>
#include <optional>

struct sqlite3;

namespace quarnel::db {

inline constexpr const char* kSnapshotHeaderTable = "quarnel_snapshot";
inline constexpr const char* kSnapshotFormatName = "Quarnel schema snapshot";
// The version this program writes and the newest it reads.
inline constexpr int kSnapshotVersion = 1;

// The statements that create every table of a snapshot file, header included (empty).
const char* snapshotSchemaSql();

// True when the main database of `db` has the snapshot header table.
bool hasSnapshotHeader(sqlite3* db);

// Checks that the snapshot in `db` can be read: one header row of this format and a version not
// newer than this program's, and every table with every column the dictionary reads need.
// Returns the reason to refuse it, or nothing.
std::optional<QString> checkSnapshot(sqlite3* db);

// The describe query's answer for `table` of the snapshot: no rows, one field per column in
// column order reporting every stored describe fact. Throws DbError when the snapshot holds no
// table of that name.
std::unique_ptr<Dynaset> describeSnapshotTable(sqlite3* db, const QString& table);

}  // namespace quarnel::db
