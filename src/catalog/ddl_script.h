// The DDL script as the DDL window shows it: the CREATE TABLE script, an empty line, then the
// CREATE INDEX script.
#pragma once

#include "support/line_end.h"

#include <QString>

namespace quarnel::catalog {

inline QString ddlScript(const QString& createTableSql, const QString& createIndexSql) {
    return createTableSql + kCrLf + kCrLf + createIndexSql;
}

}  // namespace quarnel::catalog
