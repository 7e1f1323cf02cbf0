// How the embedded SQLite engine describes a column: from the type text the column was declared
// with to the Oracle type codes, size, precision and value type that the program reads.
#pragma once

#include "db/oracle_types.h"

#include <QString>

namespace quarnel::db {

// The description of one column as an Oracle client would report it.
struct ColumnType {
    int oraIDataType = oracle_type::kVarchar2;
    int size = 0;
    int precision = 0;
    int scale = 0;
    int type = 10;  // value type code of Field::Type()

    friend bool operator==(const ColumnType&, const ColumnType&) = default;
};

// The description of a column declared with `declared` (case and spacing do not matter).
ColumnType describeDeclaredType(const QString& declared);

}  // namespace quarnel::db
