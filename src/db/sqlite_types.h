// How the embedded SQLite engine describes a column: from the type text the column was declared
// with to the Oracle type codes, size, precision and value type that the program reads.
#pragma once

#include "db/oracle_types.h"

#include <QString>

#include <optional>

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

// A column's type as Oracle's user_tab_columns gives it: data_type, data_length, data_precision,
// data_scale, char_used and char_length.
struct DictionaryType {
    QString dataType;
    int length = 0;
    std::optional<int> precision;
    std::optional<int> scale;
    // 'B' for a character column (VARCHAR2, CHAR), none for any other.
    std::optional<char> charUsed;
    std::optional<int> charLength;

    friend bool operator==(const DictionaryType&, const DictionaryType&) = default;
};

// The dictionary's row for a column described as `type`, so that reading the dictionary gives
// the same numbers as the describe.
DictionaryType dictionaryType(const ColumnType& type);

}  // namespace quarnel::db
