// A column's type as user_tab_columns states it, turned into the description a describe of the
// same column reports, so texts built from either are the same.
#pragma once

#include "catalog/column_types.h"

#include <QString>

#include <optional>

namespace quarnel::schema {

// The type facts of one user_tab_columns row; numbers the dictionary leaves NULL are empty.
struct DictionaryType {
    QString dataType;
    QString dataTypeOwner;
    int dataLength = 0;
    std::optional<int> dataPrecision;
    std::optional<int> dataScale;
    // 'B' (byte) or 'C' (character) length semantics of a character column; empty otherwise.
    QString charUsed;
    int charLength = 0;
};

// Fills `column`'s oraIDataType, size, precision, scale, type, charsetForm, charUsed, charLength
// and typeName as a describe of the column reports them (name and nullability are not touched).
// False for a type whose describe the dictionary does not tell for sure (object types, JSON,
// BOOLEAN, VECTOR, anything unknown): such a column is described by the table's describe.
//
// The datetime and interval types take the codes a describe reports (187 ... 190, 232); UROWID
// keeps its own code 208 with its length, where a describe reports 104 as for ROWID.
bool describeFromDictionary(const DictionaryType& type, catalog::ColumnDescription& column);

}  // namespace quarnel::schema
