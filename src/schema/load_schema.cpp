#include "schema/load_schema.h"

#include "catalog/queries.h"
#include "catalog/table_exists.h"

#include <QHash>

namespace quarnel::schema {
namespace {

using catalog::kDictionaryReadOptions;

QString text(const db::Dynaset& dynaset, int field) {
    return dynaset.Fields(field).Value().toString();
}

}  // namespace

// A first version that reads table by table with the window's queries; the bulk reads replace it.
std::optional<Table> loadTable(db::Database& database, const QString& name) {
    const db::ReadSnapshot snapshot(database);
    if (!catalog::tableExists(database, name))
        return std::nullopt;
    Table table;
    table.name = name;

    QStringList key;
    for (auto d = database.DbCreateDynaset(catalog::primaryKeySql(name), kDictionaryReadOptions);
         !d->Eof(); d->DbMoveNext())
        key << text(*d, 0);
    if (!key.isEmpty())
        table.primaryKey = KeyConstraint{QString(), key, false};

    const auto describe =
        database.DbCreateDynaset(catalog::describeSql(name), catalog::kDescribeOptions);
    int position = 0;
    for (const db::Field* field : describe->Fields()) {
        Column column;
        column.description = catalog::describeColumn(*field);
        column.position = ++position;
        table.columns.push_back(std::move(column));
    }

    QHash<QString, bool> descending;
    QHash<QString, QString> expressions;
    // Returns a QString: a string builder would outlive the arguments it refers to.
    const auto key2 = [](const QString& index, const QString& position) -> QString {
        return index + QChar(0) + position;
    };
    for (auto d =
             database.DbCreateDynaset(catalog::indexDirectionsSql(name), kDictionaryReadOptions);
         !d->Eof(); d->DbMoveNext())
        descending[key2(text(*d, 0), text(*d, 1))] = true;
    for (auto d =
             database.DbCreateDynaset(catalog::indexExpressionsSql(name), kDictionaryReadOptions);
         !d->Eof(); d->DbMoveNext()) {
        const QVariant expression = d->Fields(2).Value();
        if (!expression.isNull())
            expressions[key2(text(*d, 0), text(*d, 1))] = expression.toString();
    }
    for (auto d = database.DbCreateDynaset(catalog::indexColumnsSql(name), kDictionaryReadOptions);
         !d->Eof(); d->DbMoveNext()) {
        const QString index = text(*d, 0);
        if (table.indexes.empty() || table.indexes.back().name != index)
            table.indexes.push_back(Index{index, false, false, {}});
        const QString k = key2(index, text(*d, 2));
        IndexColumn column{text(*d, 3), std::nullopt, descending.value(k)};
        if (expressions.contains(k))
            column.expression = expressions.value(k);
        table.indexes.back().columns.push_back(std::move(column));
    }
    return table;
}

std::optional<Schema> loadSchema(db::Database& database, const LoadRequest& request) {
    const db::ReadSnapshot snapshot(database);
    Schema schema;
    schema.user = request.user;
    schema.host = request.host;
    schema.readAt = QDateTime::currentDateTimeUtc();
    QStringList names;
    for (auto d = database.DbCreateDynaset(catalog::tableListSql(), kDictionaryReadOptions);
         !d->Eof(); d->DbMoveNext()) {
        const QString name = text(*d, 0);
        if (!request.tables || request.tables->contains(name))
            names << name;
    }
    LoadProgress progress;
    progress.queryCount = int(names.size()) + 1;
    progress.queriesDone = 1;
    for (const QString& name : names) {
        if (request.cancel && request.cancel->load())
            return std::nullopt;
        if (auto table = loadTable(database, name))
            schema.tables.push_back(std::move(*table));
        ++progress.queriesDone;
        progress.rowsRead +=
            qint64(schema.tables.empty() ? 0 : schema.tables.back().columns.size());
        if (request.progress)
            request.progress(progress);
    }
    return schema;
}

}  // namespace quarnel::schema
