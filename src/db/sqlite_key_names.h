// The names the dictionary views report for constraints and for the indexes of keys.
//
// Declared constraint names and the names of indexes made by CREATE INDEX are kept; a name
// declared again, in the same table or a later one, is treated as the first's: the first comer
// (tables in creation order, constraints in declaration order) keeps it. A generated name
// (TABLE_PK, TABLE_UKn, TABLE_FKn, TABLE_CKn), a name declared again, and the index name of a
// key whose declared name is already an explicit index's name take the first free form NAME,
// NAME1, NAME2, ... among all constraint and index names of the schema, so two keys or indexes
// never come out as one.
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

// The rule above for one key. `declared` is the name given with CONSTRAINT, empty when none or
// when it is not the first comer's; `generated` the name to start from otherwise. `taken(name)`
// tells whether a constraint or index of the schema, or a key named before in the same table,
// bears `name`; `explicitIndex(name)` whether an index made by CREATE INDEX does.
KeyNames nameKey(const QString& declared, const QString& generated,
                 const std::function<bool(const QString&)>& taken,
                 const std::function<bool(const QString&)>& explicitIndex);

// Fills temp.quarnel_taken_names (name, explicit_index, owner_seq, owner_ordinal) from the
// schema: the explicit index names, then every declared constraint name with the table (its
// seq in temp.quarnel_tables) and the place among the table's constraints that declared it
// first. Run by the catalogue refresh, inside its transaction, with query_only off.
int fillTakenNames(sqlite3* db, QString& error);

}  // namespace quarnel::db
