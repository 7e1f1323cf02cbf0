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
inline const QString kItemIndexFormsSql = QStringLiteral(
    "SELECT c.index_name,c.column_position,c.descend,e.column_expression From user_ind_columns c "
    "LEFT OUTER JOIN user_ind_expressions e ON e.index_name = c.index_name AND e.table_name = "
    "c.table_name AND e.column_position = c.column_position WHERE c.table_name = 'ITEM' AND "
    "(c.descend = 'DESC' OR e.column_position IS NOT NULL) ORDER BY "
    "c.index_name,c.column_position");
inline const QString kItemIndexSql = QStringLiteral(
    "SELECT index_name,table_name,column_position,column_name From user_ind_columns WHERE "
    "table_name = 'ITEM' ORDER BY index_name,column_position");

}  // namespace quarnel::catalog::fixtures
