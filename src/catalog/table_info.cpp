#include "catalog/table_info.h"

#include "catalog/identifiers.h"
#include "catalog/table_texts.h"
#include "schema/load_schema.h"
#include "support/line_end.h"

namespace quarnel::catalog {
namespace {

const QString kIndent = QStringLiteral("    ");
const QString kAddPrimaryKey = QStringLiteral("    ADD ( PRIMARY KEY (");

}  // namespace

const QStringList& tableInfoHeadings() {
    static const QStringList headings = {QStringLiteral("PK"),    QStringLiteral("NAME"),
                                         QStringLiteral("SIZE"),  QStringLiteral("TYPE1"),
                                         QStringLiteral("TYPE2"), QStringLiteral("NULL")};
    return headings;
}

QString primaryKeyMark(const QString& name, const QStringList& primaryKey) {
    return primaryKey.contains(name, Qt::CaseSensitive) ? QStringLiteral("※") : QString();
}

QStringList tableInfoCells(int number, const ColumnDescription& column, const QString& mark) {
    return {QString::number(number),
            mark,
            column.name,
            sizeText(column),
            oracleTypeName(column),
            valueTypeName(column.type),
            nullText(column.nullOk)};
}

QString scriptColumnLine(const ColumnDescription& column) {
    return kIndent + sqlIdentifier(column.name) + kIndent + scriptColumnType(column) + kIndent +
           nullText(column.nullOk).toUpper();
}

QString alterTableText(const QString& table, const QStringList& primaryKey) {
    const QString continuation =
        QStringLiteral(", ") + kCrLf + QString(kAddPrimaryKey.size(), u' ');
    QString keyList;
    for (qsizetype k = 0; k < primaryKey.size(); ++k) {
        if (k > 0)
            keyList += continuation;
        keyList += sqlIdentifier(primaryKey[k]);
    }
    return QStringLiteral("ALTER TABLE ") + sqlIdentifier(table) + kCrLf + kAddPrimaryKey +
           keyList + QStringLiteral(") ) ;");
}

TableInfoResult loadTableInfo(db::Database& database, const QString& table) {
    TableInfoResult result;
    schema::Table read;
    try {
        result.exists = schema::readTable(database, table, schema::kTableColumns, read);
        if (!result.exists)
            return result;
    } catch (const db::DbError& error) {
        result.error = error.description();
        result.gridRows = tableGridRows(read);
        return result;
    }
    result.primaryKey = primaryKeyColumns(read);
    result.gridRows = tableGridRows(read);
    result.strTableInfoTxt = tableInfoTxt(read);
    result.strTableInfoCsv = tableInfoCsv(read);
    result.strPkTxt = pkTxt(read);
    result.strCreateTableSql = createTableSql(read);
    return result;
}

}  // namespace quarnel::catalog
