// One table read the way the window's lookups read it.
#include "catalog/queries.h"
#include "catalog/table_exists.h"
#include "schema/load_schema.h"

#include <QHash>

namespace quarnel::schema {
namespace {

using catalog::kDictionaryReadOptions;

QString text(const db::Dynaset& dynaset, int field) {
    return dynaset.Fields(field).Value().toString();
}

QString columnKey(const QString& index, const QString& position) {
    return index + QChar(0) + position;
}

void readColumns(db::Database& database, Table& table) {
    const QString& name = table.name;
    for (auto d = database.DbCreateDynaset(catalog::primaryKeySql(name), kDictionaryReadOptions);
         !d->Eof(); d->DbMoveNext()) {
        if (!table.primaryKey)
            table.primaryKey.emplace();
        table.primaryKey->columns << text(*d, 0);
    }
    const auto describe =
        database.DbCreateDynaset(catalog::describeSql(name), catalog::kDescribeOptions);
    int position = 0;
    for (const db::Field* field : describe->Fields()) {
        Column column;
        column.description = catalog::describeColumn(*field);
        column.position = ++position;
        table.columns.push_back(std::move(column));
    }
}

// The descending columns and the expressions of the table's indexes, then its index columns in
// index-name and position order.
void readIndexes(db::Database& database, Table& table) {
    const QString& name = table.name;
    QHash<QString, bool> descending;
    QHash<QString, QString> expressions;
    for (auto d =
             database.DbCreateDynaset(catalog::indexDirectionsSql(name), kDictionaryReadOptions);
         !d->Eof(); d->DbMoveNext())
        descending[columnKey(text(*d, 0), text(*d, 1))] = true;
    for (auto d =
             database.DbCreateDynaset(catalog::indexExpressionsSql(name), kDictionaryReadOptions);
         !d->Eof(); d->DbMoveNext()) {
        const QVariant expression = d->Fields(2).Value();
        if (!expression.isNull())
            expressions[columnKey(text(*d, 0), text(*d, 1))] = expression.toString();
    }
    for (auto d = database.DbCreateDynaset(catalog::indexColumnsSql(name), kDictionaryReadOptions);
         !d->Eof(); d->DbMoveNext()) {
        const QString index = text(*d, 0);
        const QString position = text(*d, 2);
        if (table.indexes.empty() || table.indexes.back().name != index) {
            Index added;
            added.name = index;
            table.indexes.push_back(std::move(added));
        }
        const QString key = columnKey(index, position);
        IndexColumn column;
        column.name = text(*d, 3);
        column.descending = descending.value(key);
        column.position = position.toInt();
        if (const auto found = expressions.constFind(key); found != expressions.constEnd())
            column.expression = *found;
        table.indexes.back().columns.push_back(std::move(column));
    }
}

}  // namespace

bool readTable(db::Database& database, const QString& name, int parts, Table& table) {
    const db::ReadSnapshot snapshot(database);
    if (!catalog::tableExists(database, name))
        return false;
    table.name = name;
    if (parts & kTableColumns)
        readColumns(database, table);
    if (parts & kTableIndexes)
        readIndexes(database, table);
    return true;
}

std::optional<Table> loadTable(db::Database& database, const QString& name) {
    Table table;
    if (!readTable(database, name, kWholeTable, table))
        return std::nullopt;
    return table;
}

}  // namespace quarnel::schema
