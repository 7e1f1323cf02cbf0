// Answers for the whole-schema reads of the schema loader from the scripted engine: each view's
// rows as the loader's query selects them. Views given no rows answer with none.
#pragma once

#include "testing/scripted_engine.h"

#include <QVariant>

#include <vector>

namespace quarnel::db {

struct ScriptedSchema {
    QString user = QStringLiteral("U");
    // table_name, dropped
    std::vector<std::vector<QVariant>> tables;
    // table_name, comments
    std::vector<std::vector<QVariant>> tableComments;
    // table_name, column_name, column_id, data_type, data_type_owner, data_length,
    // data_precision, data_scale, nullable, char_used, char_length, identity_column
    std::vector<std::vector<QVariant>> columns;
    // table_name, column_name, data_default
    std::vector<std::vector<QVariant>> defaults;
    // table_name, column_name, comments
    std::vector<std::vector<QVariant>> columnComments;
    // constraint_name, constraint_type, table_name, r_owner, r_constraint_name, delete_rule,
    // generated
    std::vector<std::vector<QVariant>> constraints;
    // constraint_name, search_condition
    std::vector<std::vector<QVariant>> conditions;
    // constraint_name, table_name, column_name, position
    std::vector<std::vector<QVariant>> constraintColumns;
    // owner, constraint_name, table_name, column_name, position
    std::vector<std::vector<QVariant>> foreignReferences;
    // index_name, table_name, uniqueness, index_type, generated
    std::vector<std::vector<QVariant>> indexes;
    // index_name, table_name, column_name, column_position, descend
    std::vector<std::vector<QVariant>> indexColumns;
    // index_name, table_name, column_position, column_expression
    std::vector<std::vector<QVariant>> indexExpressions;

    // A table of NUMBER(6) NOT NULL columns; the first `keyColumns` of them form its key
    // <TABLE>_PK, and an index of the same name covers them.
    void addTable(const QString& table, const QStringList& columnNames, int keyColumns = 0);

    // Answers the loader's queries on `backend`; rules added before take precedence.
    void answerOn(ScriptedBackend& backend) const;
};

}  // namespace quarnel::db
