// What makes an SQLite connection answer the program's Oracle SQL: the dictionary views
// user_users, user_tables and those of sqlite_dictionary.h, and the rewriting of Oracle's ROWNUM
// row limit and describe query.
#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

struct sqlite3;

namespace quarnel::db {

// Registers the helper functions and creates the dictionary views as temporary views and tables
// on `db`; `user` (upper-cased; MAIN when empty) is the owner they report. Returns SQLite's
// result code; on failure `error` receives SQLite's message.
int installDictionary(sqlite3* db, const QString& user, QString& error);

// Fills the temporary table of the user's tables, by name, from the schema as it is now. The
// dictionary views read it, so that a lookup by table name is an index search even on a schema of
// 100,000 tables. Leaves the connection query-only when it succeeds. The caller runs it inside a
// savepoint, rolls back on failure and sets query_only again, so the catalogue is replaced whole
// or not at all; SQLite's error message is left for the caller.
int refreshTableCatalogue(sqlite3* db, QString& error);

// Reads the main database's schema version into `version`: it changes whenever a table or index
// is created or dropped. Returns SQLite's result code ("database is locked" included).
int schemaVersion(sqlite3* db, int& version);

// `sql` with a final "WHERE ROWNUM < n" or "WHERE ROWNUM <= n" (any case) replaced by the LIMIT
// clause that returns as many rows; any other text unchanged.
QString rewriteRowNumLimit(const QString& sql);

// The table named by the describe query "SELECT * FROM T WHERE ROWNUM < 1" (any case and spacing;
// T bare or in double quotes, a doubled quote standing for one), else nothing. A bare name is
// taken whole, whatever SQLite would make of it: a keyword of SQLite's (TRANSACTION, LIMIT, ...)
// or a name with '#' is Oracle's plain identifier.
std::optional<QString> describedTable(const QString& sql);

// The stored bytes of the user's table that the views show as `shown`; `shown` in UTF-8 when no
// table is shown so (a view, or no table at all).
QByteArray storedTableName(sqlite3* db, const QString& shown);

// The statement that describes the table or view `storedName` of the main schema, never a
// temporary dictionary view of the same name, without reading a row.
QByteArray describeStatement(const QByteArray& storedName);

}  // namespace quarnel::db
