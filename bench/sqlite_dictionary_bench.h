// The embedded engine's whole-schema dictionary: each view read whole over an SQLite file of
// 20,000 tables, against the time to open the file and read its table list.
#pragma once

#include <QString>

namespace quarnel::bench {

// Builds DIR/schema-20k.db once (20,000 tables of 10 columns, each with a primary key, a foreign
// key to the table before, a check, comments and, for every tenth, an index) and prints
// sqlite-dictionary-open (open and table list) and, for each view, sqlite-dictionary-<view> (all
// its rows fetched through the engine) and its ratio to the open. Returns false on a failure.
bool runSqliteDictionary(const QString& dataDir, int runs);

}  // namespace quarnel::bench
