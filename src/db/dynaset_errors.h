// What every engine's dynaset says alike when it is used beyond its rows or its fields.
#pragma once

#include "db/data_access.h"

#include <QString>

#include <cstddef>

namespace quarnel::db {

// Thrown by DbMoveNext at the end of the rows.
inline DbError pastLastRowError() {
    return DbError(QStringLiteral("最後の行より先へは移動できません。"));
}

// The field at `index` of `fields` (owning pointers to Field or a type derived from it); a
// DbError naming the index and the count when there is none.
template <typename FieldPointers>
const Field& fieldAt(const FieldPointers& fields, int index) {
    if (index < 0 || std::size_t(index) >= fields.size()) {
        throw DbError(QStringLiteral("フィールド番号 %1 はありません (フィールド数 %2)。")
                          .arg(index)
                          .arg(qsizetype(fields.size())));
    }
    return *fields[std::size_t(index)];
}

}  // namespace quarnel::db
