#include "catalog/table_exists.h"

#include "catalog/queries.h"

namespace quarnel::catalog {

bool tableExists(db::Database& database, const QString& table) {
    const auto dynaset = database.DbCreateDynaset(tableExistsSql(table), kDictionaryReadOptions);
    const QVariant value = dynaset->Fields(0).Value();
    bool isNumber = false;
    const qlonglong count = value.toLongLong(&isNumber);
    if (!isNumber) {
        throw db::DbError(
            QStringLiteral("型が一致しません: 表 %1 の件数として数値でない値「%2」が返されました。")
                .arg(table, value.toString()));
    }
    return count >= 1;
}

}  // namespace quarnel::catalog
