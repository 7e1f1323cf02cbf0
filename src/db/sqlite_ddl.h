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

// The text of the indexed term number `position` (0-based) of `createIndexSql`, without a
// trailing ASC or DESC; empty when there is no such term.
QString indexTerm(const QString& createIndexSql, int position);

// False when every indexed term of `createIndexSql` is a plain column name (with COLLATE, ASC or
// DESC at most); true when a term may be an expression.
bool mayIndexExpression(const QString& createIndexSql);

}  // namespace quarnel::db
