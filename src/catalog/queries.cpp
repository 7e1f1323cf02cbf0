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

QString schemaUserSql() {
    return QStringLiteral("SELECT username FROM user_users");
}

QString serverVersionSql() {
    return QStringLiteral("SELECT version FROM product_component_version") +
           QStringLiteral(" WHERE product LIKE 'Oracle%'");
}

QString schemaTablesSql() {
    return QStringLiteral("SELECT table_name,dropped FROM user_tables");
}

QString schemaTableCommentsSql() {
    return QStringLiteral("SELECT table_name,comments FROM user_tab_comments") +
           QStringLiteral(" WHERE table_type = 'TABLE' AND comments IS NOT NULL");
}

QString schemaColumnsSql() {
    return QStringLiteral("SELECT table_name,column_name,column_id,data_type,data_type_owner,") +
           QStringLiteral("data_length,data_precision,data_scale,nullable,char_used,char_length,") +
           QStringLiteral("identity_column FROM user_tab_columns");
}

QString schemaColumnDefaultsSql() {
    return QStringLiteral("SELECT table_name,column_name,data_default FROM user_tab_columns");
}

QString schemaColumnCommentsSql() {
    return QStringLiteral("SELECT table_name,column_name,comments FROM user_col_comments") +
           QStringLiteral(" WHERE comments IS NOT NULL");
}

QString schemaConstraintsSql() {
    return QStringLiteral("SELECT constraint_name,constraint_type,table_name,r_owner,") +
           QStringLiteral("r_constraint_name,delete_rule,generated FROM user_constraints") +
           QStringLiteral(" WHERE constraint_type IN ('P','U','R','C')") +
           QStringLiteral(" ORDER BY constraint_name");
}

QString schemaCheckConditionsSql() {
    return QStringLiteral("SELECT constraint_name,search_condition FROM user_constraints") +
           QStringLiteral(" WHERE constraint_type = 'C'");
}

QString schemaConstraintColumnsSql() {
    return QStringLiteral("SELECT constraint_name,table_name,column_name,position") +
           QStringLiteral(" FROM user_cons_columns ORDER BY constraint_name,position");
}

QString schemaForeignReferencesSql(const QString& user) {
    // A semi-join rather than a join: the dictionary is read once on each side.
    return QStringLiteral("SELECT owner,constraint_name,table_name,column_name,position") +
           QStringLiteral(" FROM all_cons_columns WHERE owner <> ") + sqlLiteral(user) +
           QStringLiteral(" AND (owner,constraint_name) IN (SELECT r_owner,r_constraint_name") +
           QStringLiteral(" FROM user_constraints WHERE constraint_type = 'R')") +
           QStringLiteral(" ORDER BY owner,constraint_name,position");
}

QString schemaIndexesSql() {
    return QStringLiteral("SELECT index_name,table_name,uniqueness,index_type,generated") +
           QStringLiteral(" FROM user_indexes");
}

QString schemaIndexColumnsSql() {
    return QStringLiteral("SELECT index_name,table_name,column_name,column_position,descend") +
           QStringLiteral(" FROM user_ind_columns ORDER BY index_name,column_position");
}

QString schemaIndexExpressionsSql() {
    return QStringLiteral("SELECT index_name,table_name,column_position,column_expression") +
           QStringLiteral(" FROM user_ind_expressions");
}

std::vector<CatalogQuery> schemaQueries(const QString& user) {
    return {
        {"user", schemaUserSql(), kDictionaryReadOptions},
        {"tables", schemaTablesSql(), kDictionaryReadOptions},
        {"table comments", schemaTableCommentsSql(), kDictionaryReadOptions},
        {"columns", schemaColumnsSql(), kDictionaryReadOptions},
        {"column defaults", schemaColumnDefaultsSql(), kDictionaryReadOptions},
        {"column comments", schemaColumnCommentsSql(), kDictionaryReadOptions},
        {"constraints", schemaConstraintsSql(), kDictionaryReadOptions},
        {"check conditions", schemaCheckConditionsSql(), kDictionaryReadOptions},
        {"constraint columns", schemaConstraintColumnsSql(), kDictionaryReadOptions},
        {"foreign references", schemaForeignReferencesSql(user), kDictionaryReadOptions},
        {"indexes", schemaIndexesSql(), kDictionaryReadOptions},
        {"index columns", schemaIndexColumnsSql(), kDictionaryReadOptions},
        {"index expressions", schemaIndexExpressionsSql(), kDictionaryReadOptions},
    };
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
