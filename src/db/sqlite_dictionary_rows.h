// The rows the dictionary views give for one table, built from what sqlite_table_facts reads.
#pragma once

#include "db/sqlite_table_facts.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <functional>
#include <variant>
#include <vector>

namespace quarnel::db::dictionary {

// A value of a view's row: NULL, an integer or text (UTF-8, as SQLite takes it).
using Value = std::variant<std::monostate, qint64, QByteArray>;
using Row = std::vector<Value>;
using Rows = std::vector<Row>;

enum class View {
    TabColumns,
    TabComments,
    ColComments,
    Constraints,
    ConsColumns,
    Indexes,
    IndColumns,
    IndExpressions,
};

// The parts of TableFacts `view` shows.
unsigned partsOf(View view);

// What the key names of a referenced table are, by their columns.
struct ReferencedKeys {
    struct Key {
        QString name;
        QList<QByteArray> columns;  // upper case, sorted
    };
    std::vector<Key> keys;  // the primary key first
    bool hasPrimary = false;
};

ReferencedKeys referencedKeysOf(const TableFacts& facts);

// The name of the key `key` references among `keys` (its referenced table's), or empty.
QString referencedKeyName(const ReferencedKeys& keys, const TableFacts::ForeignKey& key);

// The name of the key a foreign key references, or empty.
using ReferencedKey = std::function<QString(const TableFacts::ForeignKey&)>;

// Appends the rows `view` gives for `facts`; `user` is the owner the rows report.
void appendRows(View view, const TableFacts& facts, const QByteArray& user,
                const ReferencedKey& referencedKey, Rows& rows);

}  // namespace quarnel::db::dictionary
