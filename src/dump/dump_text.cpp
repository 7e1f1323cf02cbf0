#include "dump/dump_text.h"

#include "catalog/ddl_script.h"
#include "catalog/index_info.h"
#include "catalog/table_exists.h"
#include "catalog/table_info.h"
#include "catalog/table_list.h"
#include "catalog/table_texts.h"
#include "support/line_end.h"

#include <QHash>

namespace quarnel::dump {
namespace {

bool needsTableInfo(DumpText text) {
    return text == DumpText::InfoCsv || text == DumpText::InfoTxt || text == DumpText::Pk ||
           text == DumpText::TableDdl || text == DumpText::Ddl;
}

bool needsIndexInfo(DumpText text) {
    return text == DumpText::IndexCsv || text == DumpText::IndexTxt || text == DumpText::IndexDdl ||
           text == DumpText::Ddl;
}

QString unknownTables(const QStringList& missing) {
    return (missing.size() == 1 ? QStringLiteral("no such table: ")
                                : QStringLiteral("no such tables: ")) +
           missing.join(QStringLiteral(", "));
}

DumpTextResult failure(const QString& message, const QString& reason = {}) {
    DumpTextResult result;
    result.error = message;
    result.schemaChanged = isSchemaChange(reason);
    return result;
}

DumpTextResult tableFailure(const QString& table, const QString& reason) {
    return failure(QStringLiteral("reading table %1 failed: %2").arg(table, reason), reason);
}

// One table's text; a failure in `*failed`.
std::optional<TableText> tableText(db::Database& database, DumpText text, const QString& table,
                                   DumpTextResult* failed) {
    catalog::TableInfoResult tableInfo;
    catalog::IndexInfoResult indexInfo;
    if (needsTableInfo(text)) {
        tableInfo = catalog::loadTableInfo(database, table);
        if (tableInfo.error) {
            *failed = tableFailure(table, *tableInfo.error);
            return std::nullopt;
        }
        if (!tableInfo.exists) {
            *failed = failure(unknownTables({table}));
            return std::nullopt;
        }
    }
    if (needsIndexInfo(text)) {
        indexInfo = catalog::loadIndexInfo(database, table);
        if (indexInfo.error) {
            *failed = tableFailure(table, *indexInfo.error);
            return std::nullopt;
        }
        if (!indexInfo.exists) {
            *failed = failure(unknownTables({table}));
            return std::nullopt;
        }
    }
    TableText result{table, {}, tableInfo.primaryKey};
    switch (text) {
        case DumpText::List:
            break;
        case DumpText::InfoCsv:
            result.text = tableInfo.strTableInfoCsv;
            break;
        case DumpText::InfoTxt:
            result.text = tableInfo.strTableInfoTxt;
            break;
        case DumpText::Pk:
            result.text = tableInfo.strPkTxt;
            break;
        case DumpText::TableDdl:
            result.text = tableInfo.strCreateTableSql;
            break;
        case DumpText::IndexCsv:
            result.text = indexInfo.strIndexInfoCsv;
            break;
        case DumpText::IndexTxt:
            result.text = indexInfo.strIndexInfoTxt;
            break;
        case DumpText::IndexDdl:
            result.text = indexInfo.strCreateIndexSql;
            break;
        case DumpText::Ddl:
            result.text =
                catalog::ddlScript(tableInfo.strCreateTableSql, indexInfo.strCreateIndexSql);
            break;
    }
    return result;
}

// Every table named, or every table of the list in list order when none is named, from one load.
DumpTextResult severalFromModel(db::Database& database, DumpText text, const QStringList& tables,
                                const std::function<void(const schema::LoadProgress&)>& progress) {
    schema::LoadRequest request;
    if (!tables.isEmpty())
        request.tables = tables;
    request.progress = progress;
    std::optional<schema::Schema> loaded;
    try {
        loaded = schema::loadSchema(database, request);
    } catch (const db::DbError& error) {
        return failure(QStringLiteral("reading the schema failed: ") + error.description(),
                       error.description());
    }
    if (!loaded)
        return failure(QStringLiteral("reading the schema was cancelled"));
    std::vector<const schema::Table*> chosen;
    if (tables.isEmpty()) {
        for (const schema::Table& table : loaded->tables)
            chosen.push_back(&table);
    } else {
        QHash<QString, const schema::Table*> byName;
        for (const schema::Table& table : loaded->tables)
            byName.insert(table.name, &table);
        QStringList missing;
        for (const QString& name : tables) {
            const schema::Table* table = byName.value(name);
            if (!table && !missing.contains(name))
                missing += name;
            chosen.push_back(table);
        }
        if (!missing.isEmpty())
            return failure(unknownTables(missing));
    }
    std::vector<TableText> texts;
    texts.reserve(chosen.size());
    for (const schema::Table* table : chosen)
        texts.push_back(modelTableText(text, *table));
    return {severalTablesText(text, texts), {}, false};
}

}  // namespace

TableText modelTableText(DumpText text, const schema::Table& table) {
    TableText result{table.name, {}, catalog::primaryKeyColumns(table)};
    switch (text) {
        case DumpText::List:
            break;
        case DumpText::InfoCsv:
            result.text = catalog::tableInfoCsv(table);
            break;
        case DumpText::InfoTxt:
            result.text = catalog::tableInfoTxt(table);
            break;
        case DumpText::Pk:
            result.text = catalog::pkTxt(table);
            break;
        case DumpText::TableDdl:
            result.text = catalog::createTableSql(table);
            break;
        case DumpText::IndexCsv:
            result.text = catalog::indexInfoCsv(table);
            break;
        case DumpText::IndexTxt:
            result.text = catalog::indexInfoTxt(table);
            break;
        case DumpText::IndexDdl:
            result.text = catalog::createIndexSql(table);
            break;
        case DumpText::Ddl:
            result.text =
                catalog::ddlScript(catalog::createTableSql(table), catalog::createIndexSql(table));
            break;
    }
    return result;
}

bool isSchemaChange(const QString& description) {
    // SQLite's text for SQLITE_SCHEMA, and Oracle's for a table redefined under a read-only
    // transaction.
    return description.contains(QLatin1String("schema has changed"), Qt::CaseInsensitive) ||
           description.contains(QLatin1String("ORA-01466"));
}

QString severalTablesText(DumpText text, const std::vector<TableText>& tables) {
    QString output;
    if (text == DumpText::Pk) {
        for (const TableText& table : tables) {
            for (const QString& column : table.primaryKey)
                output += table.table + u'\t' + column + kCrLf;
        }
        return output;
    }
    for (size_t i = 0; i < tables.size(); ++i) {
        if (i > 0)
            output += kCrLf;
        output += tables[i].text;
        if (!tables[i].text.endsWith(kCrLf))
            output += kCrLf;
    }
    return output;
}

DumpTextResult buildDumpText(db::Database& database, DumpText text, const QStringList& tables,
                             const std::function<void(const schema::LoadProgress&)>& progress) {
    if (text == DumpText::List) {
        catalog::TableListResult list = catalog::readTableList(database);
        if (list.error) {
            return failure(QStringLiteral("reading the table list failed: ") + *list.error,
                           *list.error);
        }
        return {list.strTableListTxt, {}, false};
    }
    if (tables.size() != 1)
        return severalFromModel(database, text, tables, progress);

    // One named table is written exactly as Quarnel holds its text.
    const QString& table = tables.front();
    try {
        if (!catalog::tableExists(database, table))
            return failure(unknownTables({table}));
    } catch (const db::DbError& error) {
        return tableFailure(table, error.description());
    }
    DumpTextResult failed;
    std::optional<TableText> one = tableText(database, text, table, &failed);
    if (!one)
        return failed;
    return {one->text, {}, false};
}

}  // namespace quarnel::dump
