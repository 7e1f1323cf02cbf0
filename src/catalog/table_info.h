// A table's definition: the detail grid rows, the column lists, the primary key and the
// CREATE TABLE script.
#pragma once

#include "catalog/column_types.h"
#include "db/data_access.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace quarnel::catalog {

// The headings of grid columns 1 to 6 ("PK" ... "NULL"); column 0 has none.
const QStringList& tableInfoHeadings();

// "※" when `name` equals one of `primaryKey` exactly (case matters), else empty.
QString primaryKeyMark(const QString& name, const QStringList& primaryKey);

// The seven cells of column number `number`: number, mark, name, SIZE, TYPE1, TYPE2, NULL.
QStringList tableInfoCells(int number, const ColumnDescription& column, const QString& mark);

// One column line of the CREATE TABLE statement: name, type and NULL / NOT NULL, each led by
// four spaces; names that are not plain identifiers in double quotes.
QString scriptColumnLine(const ColumnDescription& column);

// The ALTER TABLE statement that adds the primary key, key columns aligned under the first.
QString alterTableText(const QString& table, const QStringList& primaryKey);

struct TableInfoResult {
    // False when the user owns no table of that name; everything else is then empty.
    bool exists = false;
    // The key column names in key order.
    QStringList primaryKey;
    // The grid rows 1..n in order, each as its seven cells. After a failure, the rows produced
    // before it.
    QList<QStringList> gridRows;
    // The four texts; all empty when the table is missing or a failure happened.
    QString strTableInfoTxt;
    QString strTableInfoCsv;
    QString strPkTxt;
    QString strCreateTableSql;
    // The failure's own description.
    std::optional<QString> error;
};

// Asks, inside one read snapshot, whether `table` exists, then for its primary key, then for its
// column description, and builds the grid rows and the four texts in one pass over the columns.
// Database failures are returned in `error`, never thrown.
TableInfoResult loadTableInfo(db::Database& database, const QString& table);

}  // namespace quarnel::catalog
