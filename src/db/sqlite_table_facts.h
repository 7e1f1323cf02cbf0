// What the dictionary views report of one table of an SQLite file: its columns with their
// described types, defaults and comments, its keys, foreign keys, checks and indexes, each with
// the name the views give it. Read with SQLite's PRAGMA statements, which a table of the user's
// cannot hide the way it hides the pragma table functions of the same names.
#pragma once

#include "db/sqlite_types.h"

#include <QByteArray>
#include <QString>

#include <optional>
#include <vector>

struct sqlite3;

namespace quarnel::db {

// A table as the catalogue holds it.
struct CatalogueTable {
    QByteArray name;   // as stored
    QByteArray shown;  // as the views show it
    qint64 seq = 0;    // creation order
    QString sql;       // the CREATE TABLE statement
};

struct TableFacts {
    struct Column {
        QByteArray name;
        int id = 0;  // 1-based, in table order
        ColumnType type;
        bool nullable = true;
        std::optional<QByteArray> defaultText;
        QString comment;
    };
    struct KeyColumn {
        QByteArray name;
        bool descending = false;
    };
    // A primary or unique key, with the name of the index behind it.
    struct Key {
        QString name;
        QString indexName;
        bool generated = false;
        std::vector<KeyColumn> columns;  // in key order
    };
    struct ForeignKey {
        QString name;
        bool generated = false;
        std::vector<QByteArray> columns;
        QByteArray referencedTable;                 // as the catalogue shows it, else as written
        std::vector<QByteArray> referencedColumns;  // none: the referenced primary key
        QString deleteRule;
    };
    struct Check {
        QString name;
        bool generated = false;
        QString condition;
    };
    struct IndexColumn {
        QByteArray name;  // SYS_NCnnnnn$ for an expression
        std::optional<QString> expression;
        bool descending = false;
    };
    struct Index {
        QString name;
        bool unique = false;
        bool generated = false;
        std::vector<IndexColumn> columns;
    };

    CatalogueTable table;
    QString comment;
    std::vector<Column> columns;
    std::optional<Key> primaryKey;
    std::vector<Key> uniqueKeys;
    std::vector<ForeignKey> foreignKeys;
    std::vector<Check> checks;
    // The primary key's first, then the others as SQLite lists them.
    std::vector<Index> indexes;
};

// Reads `table` from the main database of `db`. The catalogue (temp.quarnel_tables,
// temp.quarnel_taken_names, temp.quarnel_expression_indexes) must be current. Returns SQLite's
// result code; on failure `facts` is incomplete.
int readTableFacts(sqlite3* db, const CatalogueTable& table, TableFacts& facts);

// The catalogue's entry for the table the views show as `shown`, or for the stored name `name`
// compared as SQLite compares table names (without regard to ASCII case).
std::optional<CatalogueTable> catalogueTableShown(sqlite3* db, const QByteArray& shown);
std::optional<CatalogueTable> catalogueTableNamed(sqlite3* db, const QByteArray& name);

// Text from SQLite as it is stored, a leading byte order mark kept.
QString decodeText(const char* bytes, qsizetype size);
inline QString decodeText(const QByteArray& bytes) {
    return decodeText(bytes.constData(), bytes.size());
}

}  // namespace quarnel::db
