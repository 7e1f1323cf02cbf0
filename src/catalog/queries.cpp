#include "catalog/queries.h"

#include "catalog/identifiers.h"

namespace quarnel::catalog {

QString tableListSql() {
    return QStringLiteral("SELECT table_name tbl") + QStringLiteral(" FROM user_tables t");
}

QString tableExistsSql(const QString& table) {
    return QStringLiteral("SELECT count(table_name) tbl") + QStringLiteral(" FROM user_tables t") +
           QStringLiteral(" WHERE t.table_name = '") + sqlLiteralContent(table) +
           QStringLiteral("'");
}

QString primaryKeySql(const QString& table) {
    // Compares the name exactly and asks for key order, so a mixed-case name finds its own key.
    return QStringLiteral("SELECT c.column_name P_KEY") +
           QStringLiteral(" FROM user_cons_columns c, user_constraints t") +
           QStringLiteral(" Where c.table_name = '") + sqlLiteralContent(table) +
           QStringLiteral("'") + QStringLiteral(" AND t.constraint_type = 'P'") +
           QStringLiteral(" AND c.table_name = t.table_name") +
           QStringLiteral(" AND c.constraint_name = t.constraint_name") +
           QStringLiteral(" ORDER BY c.position");
}

QString describeSql(const QString& table) {
    return QStringLiteral("SELECT * FROM ") + sqlIdentifier(table) +
           QStringLiteral(" WHERE RowNum < 1");
}

QString indexColumnsSql(const QString& table) {
    return QStringLiteral("SELECT index_name,table_name,column_position,column_name") +
           QStringLiteral(" From user_ind_columns") + QStringLiteral(" WHERE table_name = '") +
           sqlLiteralContent(table) + QStringLiteral("'") +
           QStringLiteral(" ORDER BY index_name,column_position");
}

QString indexDirectionsSql(const QString& table) {
    return QStringLiteral("SELECT index_name,column_position") +
           QStringLiteral(" From user_ind_columns") + QStringLiteral(" WHERE table_name = '") +
           sqlLiteralContent(table) + QStringLiteral("'") + QStringLiteral(" AND descend = 'DESC'");
}

QString indexExpressionsSql(const QString& table) {
    return QStringLiteral("SELECT index_name,column_position,column_expression") +
           QStringLiteral(" From user_ind_expressions") + QStringLiteral(" WHERE table_name = '") +
           sqlLiteralContent(table) + QStringLiteral("'");
}

std::vector<CatalogQuery> catalogQueries(const QString& table) {
    return {
        {"table list", tableListSql(), kDictionaryReadOptions},
        {"table exists", tableExistsSql(table), kDictionaryReadOptions},
        {"primary key", primaryKeySql(table), kDictionaryReadOptions},
        {"describe", describeSql(table), kDescribeOptions},
        {"index directions", indexDirectionsSql(table), kDictionaryReadOptions},
        {"index expressions", indexExpressionsSql(table), kDictionaryReadOptions},
        {"index columns", indexColumnsSql(table), kDictionaryReadOptions},
    };
}

}  // namespace quarnel::catalog
