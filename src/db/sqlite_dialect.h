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
QString rewriteRowNumLimit(const QString& sql);

}  // namespace quarnel::db
