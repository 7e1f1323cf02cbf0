// The dictionary views that are computed table by table: user_tab_columns, user_tab_comments,
// user_col_comments, user_constraints, user_cons_columns, all_cons_columns, user_indexes,
// user_ind_columns and user_ind_expressions, as virtual tables in the temporary schema.
//
// A query that names one table (table_name = '...') reads that table alone; any other reads the
// whole schema in one pass, each table once, in creation order.
#pragma once

#include <QByteArray>
#include <QString>

struct sqlite3;

namespace quarnel::db {

// Registers the module and creates the virtual tables on `db`; `user` is the owner the views
// report. Returns SQLite's result code; on failure `error` receives SQLite's message.
int installDictionaryTables(sqlite3* db, const QByteArray& user, QString& error);

}  // namespace quarnel::db
