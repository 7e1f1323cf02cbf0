// The existence check that both table lookups start with.
#pragma once

#include "db/data_access.h"

#include <QString>

namespace quarnel::catalog {

// True when the user owns a table named exactly `table`. Throws db::DbError when the query fails
// or its first value is not a whole number.
bool tableExists(db::Database& database, const QString& table);

}  // namespace quarnel::catalog
