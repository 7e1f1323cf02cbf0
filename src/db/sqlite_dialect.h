// What makes an SQLite connection answer the program's Oracle SQL: the dictionary views
// user_tables, user_constraints, user_cons_columns and user_ind_columns, and the rewriting of
// Oracle's ROWNUM row limit.
#pragma once

#include <QString>

struct sqlite3;

namespace quarnel::db {

// Registers the helper functions and creates the dictionary views as temporary views on `db`.
// Returns SQLite's result code; on failure `error` receives SQLite's message.
int installDictionary(sqlite3* db, QString& error);

// `sql` with a final "WHERE ROWNUM < n" or "WHERE ROWNUM <= n" (any case) replaced by the LIMIT
// clause that returns as many rows; any other text unchanged.
// Fills the temporary table of the user's tables, by name, from the schema as it is now. The
// dictionary views read it, so that a lookup by table name is an index search even on a schema of
// 100,000 tables. Leaves the connection query-only when it succeeds. The caller runs it inside a
// savepoint, rolls back on failure and sets query_only again, so the catalogue is replaced whole
// or not at all; SQLite's error message is left for the caller.
int refreshTableCatalogue(sqlite3* db, QString& error);

// Reads the main database's schema version into `version`: it changes whenever a table or index
// is created or dropped. Returns SQLite's result code ("database is locked" included).
int schemaVersion(sqlite3* db, int& version);

QString rewriteRowNumLimit(const QString& sql);

}  // namespace quarnel::db
