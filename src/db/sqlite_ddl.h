// Reading constraints, comments and index terms from the CREATE statements that SQLite keeps in
// its schema table, for what the dictionary views report.
#pragma once

#include <QString>
#include <QStringList>

#include <vector>

namespace quarnel::db {

// A constraint as written in a CREATE TABLE statement, at column or table level.
struct KeyConstraint {
    enum class Kind { PrimaryKey, Unique, ForeignKey, Check };
    Kind kind = Kind::PrimaryKey;
    QString name;         // the name given with CONSTRAINT, empty when none
    QStringList columns;  // in declaration order; none for a check
    // A foreign key: the table after REFERENCES and its column list (empty: its primary key).
    QString referencedTable;
    QStringList referencedColumns;
    // A check: the condition inside CHECK ( ), as written.
    QString condition;
};

// A column's comment: the "--" comment that ends the line of the column's definition.
struct ColumnComment {
    QString column;
    QString comment;
};

struct TableDefinition {
    // Every constraint in the order it appears.
    std::vector<KeyConstraint> constraints;
    // The "--" comment that follows the opening parenthesis on its line; empty when none.
    QString comment;
    std::vector<ColumnComment> columnComments;
};

// What `createTableSql` declares. Text that cannot be read gives less or nothing.
TableDefinition readTableDefinition(const QString& createTableSql);

// The PRIMARY KEY and UNIQUE constraints of `createTableSql` alone, in the order they appear.
std::vector<KeyConstraint> keyConstraints(const QString& createTableSql);

// The text of the indexed term number `position` (0-based) of `createIndexSql`, without a
// trailing ASC or DESC; empty when there is no such term.
QString indexTerm(const QString& createIndexSql, int position);

// False when every indexed term of `createIndexSql` is a plain column name (with COLLATE, ASC or
// DESC at most); true when a term may be an expression.
bool mayIndexExpression(const QString& createIndexSql);

}  // namespace quarnel::db
