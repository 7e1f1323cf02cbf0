#include "catalog/table_list.h"

#include "catalog/queries.h"
#include "support/line_end.h"

namespace quarnel::catalog {

QString tableCountText(qsizetype count) {
    return QStringLiteral("ﾃｰﾌﾞﾙ総数 : ") + QString::number(count) + QStringLiteral("件");
}

TableListResult readTableList(db::Database& database) {
    TableListResult result;
    try {
        const db::ReadSnapshot snapshot(database);
        const auto dynaset = database.DbCreateDynaset(tableListSql(), kDictionaryReadOptions);
        result.names.reserve(1024, 16 * 1024);
        while (!dynaset->Eof()) {
            result.names.append(dynaset->Fields(0).Value().toString());
            dynaset->DbMoveNext();
        }
    } catch (const db::DbError& error) {
        result.error = error.description();
        return result;
    }
    result.countText = tableCountText(result.names.size());
    result.strTableListTxt = result.countText + kCrLf + result.names.text();
    return result;
}

}  // namespace quarnel::catalog
