#include "dump/dump_text.h"

#include "catalog/ddl_script.h"
#include "catalog/index_info.h"
#include "catalog/table_exists.h"
#include "catalog/table_info.h"
#include "catalog/table_list.h"
#include "support/line_end.h"

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

}  // namespace

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

DumpTextResult buildDumpText(db::Database& database, DumpText text, const QStringList& tables) {
    QStringList names = tables;
    if (text == DumpText::List || names.isEmpty()) {
        catalog::TableListResult list = catalog::readTableList(database);
        if (list.error) {
            return failure(QStringLiteral("reading the table list failed: ") + *list.error,
                           *list.error);
        }
        if (text == DumpText::List)
            return {list.strTableListTxt, {}, false};
        names = list.names.toStringList();
    } else {
        QStringList missing;
        for (const QString& table : names) {
            try {
                if (!missing.contains(table) && !catalog::tableExists(database, table))
                    missing += table;
            } catch (const db::DbError& error) {
                return tableFailure(table, error.description());
            }
        }
        if (!missing.isEmpty())
            return failure(unknownTables(missing));
    }

    std::vector<TableText> texts;
    texts.reserve(size_t(names.size()));
    for (const QString& table : names) {
        DumpTextResult failed;
        std::optional<TableText> one = tableText(database, text, table, &failed);
        if (!one)
            return failed;
        texts.push_back(std::move(*one));
    }
    // One named table is written exactly as Quarnel holds its text; any other selection in the
    // layout of several tables, so that scripts see one layout whatever the schema holds.
    if (tables.size() == 1)
        return {texts.front().text, {}, false};
    return {severalTablesText(text, texts), {}, false};
}

}  // namespace quarnel::dump
