// The dictionary queries sent for the ITEM table.
#pragma once

#include <QString>

namespace quarnel::catalog::fixtures {

inline const QString kTableListSql = QStringLiteral("SELECT table_name tbl FROM user_tables t");
inline const QString kItemExistsSql =
    QStringLiteral("SELECT count(table_name) tbl FROM user_tables t WHERE t.table_name = 'ITEM'");
inline const QString kItemPrimaryKeySql = QStringLiteral(
    "SELECT c.column_name P_KEY FROM user_cons_columns c, user_constraints t Where c.table_name = "
    "'ITEM' AND t.constraint_type = 'P' AND c.table_name = t.table_name AND c.constraint_name = "
    "t.constraint_name ORDER BY c.position");
inline const QString kItemDescribeSql = QStringLiteral("SELECT * FROM ITEM WHERE RowNum < 1");
inline const QString kItemIndexDirectionsSql = QStringLiteral(
    "SELECT index_name,column_position From user_ind_columns WHERE table_name = 'ITEM' AND "
    "descend = 'DESC'");
inline const QString kItemIndexExpressionsSql = QStringLiteral(
    "SELECT index_name,column_position,column_expression From user_ind_expressions WHERE "
    "table_name = 'ITEM'");
inline const QString kItemIndexSql = QStringLiteral(
    "SELECT index_name,table_name,column_position,column_name From user_ind_columns WHERE "
    "table_name = 'ITEM' ORDER BY index_name,column_position");

}  // namespace quarnel::catalog::fixtures
