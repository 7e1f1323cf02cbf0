// Reading key constraints and index terms from the CREATE statements that SQLite keeps in its
// schema table, for the names the dictionary views report.
#pragma once

#include <QString>
#include <QStringList>

#include <vector>

namespace quarnel::db {

// A PRIMARY KEY or UNIQUE constraint as written in a CREATE TABLE statement.
struct KeyConstraint {
    enum class Kind { PrimaryKey, Unique };
    Kind kind = Kind::PrimaryKey;
    QString name;         // the name given with CONSTRAINT, empty when none
    QStringList columns;  // in declaration order
};

// The PRIMARY KEY and UNIQUE constraints of `createTableSql`, column and table constraints alike,
// in the order they appear. Text that cannot be read gives fewer or no constraints.
std::vector<KeyConstraint> keyConstraints(const QString& createTableSql);

// The name reported for the primary key of `table`: the name it was declared with, else
// `table` + "_PK".
QString primaryKeyName(const QString& table, const QString& createTableSql);

// The name reported for the index SQLite made for a UNIQUE constraint of `table` on `columns`:
// the constraint's declared name, else `table` + "_UK" + the number that ends SQLite's own index
// name `autoIndexName` ("sqlite_autoindex_T_2" gives T_UK2); SQLite's own name when that name
// is declared for another constraint of the table.
QString uniqueKeyName(const QString& table, const QString& createTableSql,
                      const QString& autoIndexName, const QStringList& columns);

// The text of the indexed term number `position` (0-based) of `createIndexSql`, without a
// trailing ASC or DESC; empty when there is no such term.
QString indexTerm(const QString& createIndexSql, int position);

}  // namespace quarnel::db
