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

struct CatalogQuery {
    const char* purpose;
    QString sql;
    int options;
};

// Every query above for `table`, with its options, in the order the lookups send them.
std::vector<CatalogQuery> catalogQueries(const QString& table);

}  // namespace quarnel::catalog
