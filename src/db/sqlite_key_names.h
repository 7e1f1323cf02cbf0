// The names the dictionary views report for primary and unique keys and for their indexes.
//
// Declared constraint names and the names of indexes made by CREATE INDEX are kept. A generated
// name (TABLE_PK, TABLE_UKn) and the index name of a constraint whose declared name is already an
// explicit index's name take the first free form NAME, NAME1, NAME2, ... among all constraint and
// index names of the schema, so two keys or indexes never come out as one.
#pragma once

#include <QString>

#include <functional>

struct sqlite3;

namespace quarnel::db {

// What a key reports: its name as a constraint and the name of its index.
struct KeyNames {
    QString constraint;
    QString index;
};

// The rule above for one key. `declared` is the name given with CONSTRAINT, empty when none;
// `generated` the name made from the table's. `taken(name)` tells whether a constraint or index
// of the schema, or a key named before in the same table, bears `name`; `explicitIndex(name)`
// whether an index made by CREATE INDEX does.
KeyNames nameKey(const QString& declared, const QString& generated,
                 const std::function<bool(const QString&)>& taken,
                 const std::function<bool(const QString&)>& explicitIndex);

// Registers quarnel_key_name(kind, table, create_table_sql, auto_index_name) on `db`: kind 'P'
// gives the primary key's constraint name, 'PI' its index name, 'U' and 'UI' the same for the
// UNIQUE constraint whose index SQLite calls `auto_index_name`.
int installKeyNameFunction(sqlite3* db, QString& error);

// Fills temp.quarnel_taken_names (name, explicit_index) from the schema: the explicit index
// names, then every declared key constraint name. Run by the catalogue refresh, inside its
// transaction, with query_only off.
int fillTakenNames(sqlite3* db, QString& error);

}  // namespace quarnel::db
