// The comments of one table and its columns, read for the table the window shows while the
// whole-schema model is not loaded (the table list's and the grid's tooltips).
#pragma once

#include "db/data_access.h"

#include <QHash>
#include <QString>

namespace quarnel::catalog {

// comments of `table` in user_tab_comments (one row, or none).
QString tableCommentSql(const QString& table);
// column_name, comments of every column of `table` in user_col_comments.
QString columnCommentsSql(const QString& table);

struct TableComments {
    QString table;
    // Empty when none.
    QString comment;
    // By column name; columns without a comment may be missing.
    QHash<QString, QString> columns;
};

// Reads both in one read snapshot; throws db::DbError when a query fails.
TableComments readTableComments(db::Database& database, const QString& table);

}  // namespace quarnel::catalog
