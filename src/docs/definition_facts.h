// What the table-definition document says of each table, column, index and constraint, as plain
// texts and numbers: the workbook and the Markdown folder lay out the same facts.
#pragma once

#include "schema/schema.h"

#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace quarnel::docs {

struct ColumnFacts {
    int number = 0;
    // The comment's first line, and the rest of it.
    QString logicalName;
    QString physicalName;
    // As the CREATE TABLE script declares it: VARCHAR2(40), NUMBER(9,2), ...
    QString dataType;
    // The declared length of a character or RAW column (in characters for a national or
    // character-semantics column); the precision and scale of a NUMBER or FLOAT.
    std::optional<int> length;
    std::optional<int> precision;
    std::optional<int> scale;
    bool notNull = false;
    // The column's place in the primary key, and in each unique key that holds it.
    std::optional<int> primaryKeyPosition;
    std::vector<int> uniqueKeyPositions;
    // The referenced TABLE.COLUMN of each foreign key that holds it (OWNER.TABLE.COLUMN for
    // another schema's table), one a line.
    QString references;
    QString defaultText;
    QString remarks;
};

// `user`: the schema's own user, so that a reference into another schema names its owner.
std::vector<ColumnFacts> columnFacts(const schema::Table& table, const QString& user);

// The UK cell: the one position, or the positions joined with ",".
QString uniqueKeyText(const std::vector<int>& positions);

// An index's columns in order: names, expressions as the dictionary gives them, " DESC" after a
// descending one; joined with ", ".
QString indexColumnsText(const schema::Index& index);

// A foreign key's referenced table, with its owner when that is not `user`.
QString referencedTableText(const schema::ForeignKey& key, const QString& user);

// A constraint of the 制約 section: unique keys and checks, in that order.
struct ConstraintFacts {
    QString name;
    QString kind;  // text::kKindUnique or text::kKindCheck
    // The key's columns, or the check's condition.
    QString detail;
};
std::vector<ConstraintFacts> constraintFacts(const schema::Table& table);

// The date of reading as the document shows it (local time).
QString readAtText(const QDateTime& readAt);

// A default as written, without the spaces and line ends Oracle keeps after it.
QString defaultTextShown(const QString& defaultText);

}  // namespace quarnel::docs
