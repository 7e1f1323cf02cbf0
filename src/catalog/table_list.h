// Reading the list of the user's tables.
#pragma once

#include "catalog/table_names.h"
#include "db/data_access.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace quarnel::catalog {

struct TableListResult {
    // The names read, in row order; after a failure, the ones read before it.
    TableNames names;
    // The count text (tableCountText) of the rows read; empty after a failure.
    QString countText;
    // The count text, CR LF, then each name followed by CR LF; empty after a failure.
    QString strTableListTxt;
    // The failure's own description when the query or a row fetch failed.
    std::optional<QString> error;
};

// The count text shown for `count` tables.
QString tableCountText(qsizetype count);

// Reads the table names from the dictionary in one pass, inside one read snapshot. Failures of the
// database are returned in `error`, never thrown.
TableListResult readTableList(db::Database& database);

}  // namespace quarnel::catalog
