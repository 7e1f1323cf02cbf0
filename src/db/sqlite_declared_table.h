// A table's columns and indexes read from its CREATE statements, as SQLite's table_xinfo,
// index_list and index_xinfo report them, without asking SQLite.
//
// SQLite finds a table or an index by name in a schema hash of at most 64 buckets, so each of
// those PRAGMAs costs time in proportion to the number of tables in the file; a whole-schema read
// of a large file spends most of its time there. This reader covers the plain statements most
// files hold and gives up (std::nullopt) on anything else: collations, conflict clauses,
// generated columns, WITHOUT ROWID and STRICT tables, virtual tables, expression or rowid index
// terms, names that are keywords, and any syntax it does not know. The caller then asks SQLite.
#pragma once

#include <QByteArray>
#include <QString>

#include <optional>
#include <vector>

namespace quarnel::db {

// An index SQLite keeps an SQL statement for: created by CREATE INDEX.
struct IndexStatement {
    QByteArray name;  // as stored
    QString sql;
};

struct DeclaredTable {
    // One row of table_xinfo.
    struct Column {
        QByteArray name;
        QString type;  // as declared, SQLite's spelling
        bool notNull = false;
        std::optional<QByteArray> defaultText;
        int primaryKey = 0;  // place in the primary key, 1-based; 0 when not in it
    };
    // One row of index_list with its key columns from index_xinfo.
    struct Index {
        struct Column {
            QByteArray name;  // the table's spelling
            bool descending = false;
        };
        QByteArray name;
        bool unique = false;
        QByteArray origin;  // "pk", "u" or "c"
        std::vector<Column> columns;
    };
    std::vector<Column> columns;
    std::vector<Index> indexes;  // in index_list's order
};

// The columns and indexes of the table `tableName` (as stored) that `createTableSql` declares,
// with its CREATE INDEX statements `indexes` in the order of the schema table's rows; nothing
// when a statement falls outside what this reader knows.
std::optional<DeclaredTable> readDeclaredTable(const QByteArray& tableName,
                                               const QString& createTableSql,
                                               const std::vector<IndexStatement>& indexes);

}  // namespace quarnel::db
