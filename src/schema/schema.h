// The schema model: plain values that hold what the dictionary says of a user's tables, read
// either one table at a time or for the whole schema at once. Every whole-schema output (the
// definition document, snapshots, comparison, search) and the per-table texts are built from it.
//
// Names are kept exactly as the dictionary gives them (case, quotes, spaces and all); nothing in
// here is ever placed into SQL unescaped.
#pragma once

#include "catalog/column_types.h"

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace quarnel::schema {

struct Column {
    // Everything a describe of the column reports: name, type code, size, precision, scale,
    // nullability, character-set form, character semantics and length, object type name.
    catalog::ColumnDescription description;
    // 1-based place in the table (user_tab_columns.column_id).
    int position = 0;
    // The dictionary's own type text (user_tab_columns.data_type: "VARCHAR2", "TIMESTAMP(6)",
    // "UROWID", ...); empty when the column was read by a describe only.
    QString dataType;
    // The default as written in the DDL (user_tab_columns.data_default), unchanged; none when the
    // column has no default.
    std::optional<QString> defaultText;
    // The column comment; empty when none. In Japanese shops its first line is the logical name.
    QString comment;
    // An identity column: its default names the generated sequence ("OWNER"."ISEQ$$_n".nextval).
    bool identity = false;

    const QString& name() const { return description.name; }
};

// A primary or unique key.
struct KeyConstraint {
    QString name;
    // Column names in key order.
    QStringList columns;
    // The server chose the name (SYS_C..., or user_constraints.generated = 'GENERATED NAME').
    bool generatedName = false;
};

struct ForeignKey {
    QString name;
    // Column names in key order.
    QStringList columns;
    // The referenced key's owner (the user's own name for a table of the same schema), table and
    // columns in key order, and the referenced constraint's name.
    QString referencedOwner;
    QString referencedTable;
    QStringList referencedColumns;
    QString referencedConstraint;
    // user_constraints.delete_rule: "NO ACTION", "CASCADE" or "SET NULL".
    QString deleteRule;
    bool generatedName = false;
};

struct CheckConstraint {
    QString name;
    // user_constraints.search_condition, unchanged.
    QString condition;
    bool generatedName = false;
};

struct IndexColumn {
    // The column's name; for an expression, the system name the dictionary gives it
    // (SYS_NCnnnnn$).
    QString name;
    // The expression of a function-based index column, as the dictionary gives it.
    std::optional<QString> expression;
    bool descending = false;
    // 1-based place in the index (column_position).
    int position = 0;
};

struct Index {
    QString name;
    bool unique = false;
    bool generatedName = false;
    // In column_position order.
    std::vector<IndexColumn> columns;
    // user_indexes.index_type ("NORMAL", "FUNCTION-BASED NORMAL", ...); empty when read per table.
    QString type;
};

struct Table {
    QString name;
    // The table comment; empty when none.
    QString comment;
    // In column order.
    std::vector<Column> columns;
    std::optional<KeyConstraint> primaryKey;
    // Each kind in the order of its constraint names, as the dictionary sorts them.
    std::vector<KeyConstraint> uniqueKeys;
    std::vector<ForeignKey> foreignKeys;
    std::vector<CheckConstraint> checks;
    // In index-name order, as the index tree lists them; the index behind the primary key
    // included.
    std::vector<Index> indexes;

    // The column named exactly `name`, or null.
    const Column* column(const QString& name) const;
};

// Where the schema was read from and what it holds.
struct Schema {
    // The logon's user ID and host string (never a password).
    QString user;
    QString host;
    // "Oracle" or "SQLite", and the server's version text where known.
    QString engine;
    QString serverVersion;
    // When the dictionary was read.
    QDateTime readAt;
    // In the table list's order.
    std::vector<Table> tables;

    // The table named exactly `name`, or null.
    const Table* table(const QString& name) const;
};

// The first line of a comment (its logical name) and the rest after that line's end; a comment
// of one line has no rest. Lines end at CR LF, LF or CR.
QString commentFirstLine(const QString& comment);
QString commentRest(const QString& comment);

}  // namespace quarnel::schema
