// Every dictionary query the catalogue sends, in one place.
//
// Table names are placed into string literals with their quotes doubled, and into a FROM clause
// as SQL identifiers (quoted unless plain), so any name the dictionary lists can be asked about.
#pragma once

#include <QString>

#include <vector>

namespace quarnel::catalog {

// The options passed with the queries: dictionary reads, and the describe query on a table.
inline constexpr int kDictionaryReadOptions = 12;
inline constexpr int kDescribeOptions = 0;

// The names of the user's tables, one per row, in the server's order.
QString tableListSql();

// One row whose first field counts the user's tables named exactly `table` (0 or 1).
QString tableExistsSql(const QString& table);

// The primary-key column names of `table`, one per row, in key order.
QString primaryKeySql(const QString& table);

// No rows; its fields describe every column of `table` in column order.
QString describeSql(const QString& table);

// index_name, table_name, column_position, column_name of every indexed column of `table`,
// ordered by index name, then position.
QString indexColumnsSql(const QString& table);

// index_name, column_position of every descending index column of `table`.
QString indexDirectionsSql(const QString& table);

// index_name, column_position, column_expression of every expression column of the indexes of
// `table` (Oracle also reports a descending column as the expression of its quoted name).
// column_expression is a LONG in Oracle, which may stand only in a plain select list: no join.
QString indexExpressionsSql(const QString& table);

// The whole-schema reads of the schema loader: each covers every table at once, so a load sends
// the same number of queries whatever the schema holds. The LONG columns (data_default,
// search_condition, column_expression) stand alone in the select lists of their own queries, as
// Oracle allows no LONG in a join, a condition or a function.

// username: the one row of the logged-on user.
QString schemaUserSql();
// version: the Oracle server's release (a view every user may read), for a schema's header.
QString serverVersionSql();
// table_name, dropped of every table (dropped 'YES' for a recycle-bin copy), in the table list's
// order.
QString schemaTablesSql();
// table_name, comments of every commented table.
QString schemaTableCommentsSql();
// table_name, column_name, column_id, data_type, data_type_owner, data_length, data_precision,
// data_scale, nullable, char_used, char_length, identity_column of every column.
QString schemaColumnsSql();
// table_name, column_name, data_default of every column (a LONG).
QString schemaColumnDefaultsSql();
// table_name, column_name, comments of every commented column.
QString schemaColumnCommentsSql();
// constraint_name, constraint_type, table_name, r_owner, r_constraint_name, delete_rule,
// generated of every primary, unique, foreign and check constraint, by constraint name.
QString schemaConstraintsSql();
// constraint_name, search_condition (a LONG) of every check constraint.
QString schemaCheckConditionsSql();
// constraint_name, table_name, column_name, position of every constraint column, by constraint
// name and position.
QString schemaConstraintColumnsSql();
// owner, constraint_name, table_name, column_name, position of the columns of every key that a
// foreign key refers to in a schema other than `user`'s.
QString schemaForeignReferencesSql(const QString& user);
// index_name, table_name, uniqueness, index_type, generated of every index.
QString schemaIndexesSql();
// index_name, table_name, column_name, column_position, descend of every index column, by index
// name and position (the order the index tree shows).
QString schemaIndexColumnsSql();
// index_name, table_name, column_position, column_expression (a LONG) of every expression column.
QString schemaIndexExpressionsSql();

struct CatalogQuery {
    const char* purpose;
    QString sql;
    int options;
};

// Every query above for `table`, with its options, in the order the lookups send them.
std::vector<CatalogQuery> catalogQueries(const QString& table);

// Every whole-schema read above, in the order the loader sends them; `user` as for
// schemaForeignReferencesSql.
std::vector<CatalogQuery> schemaQueries(const QString& user);

}  // namespace quarnel::catalog
