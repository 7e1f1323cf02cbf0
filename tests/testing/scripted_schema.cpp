#include "testing/scripted_schema.h"

namespace quarnel::db {

void ScriptedSchema::addTable(const QString& table, const QStringList& columnNames,
                              int keyColumns) {
    tables.push_back({table, QStringLiteral("NO")});
    for (qsizetype i = 0; i < columnNames.size(); ++i) {
        columns.push_back({table, columnNames[i], int(i + 1), QStringLiteral("NUMBER"), QVariant(),
                           22, 6, 0, QStringLiteral("N"), QVariant(), 0, QStringLiteral("NO")});
    }
    if (keyColumns == 0)
        return;
    const QString key = table + QStringLiteral("_PK");
    constraints.push_back({key, QStringLiteral("P"), table, QVariant(), QVariant(), QVariant(),
                           QStringLiteral("USER NAME")});
    indexes.push_back(
        {key, table, QStringLiteral("UNIQUE"), QStringLiteral("NORMAL"), QStringLiteral("N")});
    for (int i = 0; i < keyColumns; ++i) {
        constraintColumns.push_back({key, table, columnNames[i], i + 1});
        indexColumns.push_back({key, table, columnNames[i], i + 1, QStringLiteral("ASC")});
    }
}

void ScriptedSchema::answerOn(ScriptedBackend& backend) const {
    const auto rows = [](const std::vector<std::vector<QVariant>>& values, int fields) {
        ScriptedResult result;
        result.fields.resize(size_t(fields));
        result.rows = values;
        return result;
    };
    backend.on(QStringLiteral("FROM user_users"),
               ScriptedResult::column(QStringLiteral("USERNAME"), {user}));
    backend.on(QStringLiteral("table_name,dropped"), rows(tables, 2));
    backend.on(QStringLiteral("FROM user_tab_comments"), rows(tableComments, 2));
    backend.on(QStringLiteral("identity_column"), rows(columns, 12));
    backend.on(QStringLiteral("data_default"), rows(defaults, 3));
    backend.on(QStringLiteral("FROM user_col_comments"), rows(columnComments, 3));
    backend.on(QStringLiteral("search_condition"), rows(conditions, 2));
    backend.on(QStringLiteral("r_constraint_name,delete_rule"), rows(constraints, 7));
    backend.on(QStringLiteral("all_cons_columns"), rows(foreignReferences, 5));
    backend.on(QStringLiteral("FROM user_cons_columns ORDER BY"), rows(constraintColumns, 4));
    backend.on(QStringLiteral("FROM user_indexes"), rows(indexes, 5));
    backend.on(QStringLiteral("column_position,descend"), rows(indexColumns, 5));
    backend.on(QStringLiteral("table_name,column_position,column_expression"),
               rows(indexExpressions, 4));
}

}  // namespace quarnel::db
