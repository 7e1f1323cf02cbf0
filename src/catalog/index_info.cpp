#include "catalog/index_info.h"

#include "catalog/table_texts.h"
#include "schema/load_schema.h"

namespace quarnel::catalog {

QString tableNodeKey(const QString& table) {
    return QStringLiteral("T:") + table;
}

QString indexNodeKey(const QString& index) {
    return QStringLiteral("I:") + index;
}

IndexInfoResult loadIndexInfo(db::Database& database, const QString& table) {
    IndexInfoResult result;
    schema::Table read;
    try {
        result.exists = schema::readTable(database, table, schema::kTableIndexes, read);
        if (!result.exists)
            return result;
    } catch (const db::DbError& error) {
        result.error = error.description();
        // The nodes of the index rows read before the failure.
        if (!read.indexes.empty())
            result.nodes = indexTreeNodes(read);
        return result;
    }
    result.nodes = indexTreeNodes(read);
    result.strIndexInfoCsv = indexInfoCsv(read);
    result.strIndexInfoTxt = indexInfoTxt(read);
    result.strCreateIndexSql = createIndexSql(read);
    return result;
}

}  // namespace quarnel::catalog
