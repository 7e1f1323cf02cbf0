#include "catalog/table_info.h"

#include "catalog/csv.h"
#include "catalog/identifiers.h"
#include "catalog/queries.h"
#include "catalog/table_exists.h"
#include "support/line_end.h"

namespace quarnel::catalog {
namespace {

const QString kIndent = QStringLiteral("    ");
const QString kAddPrimaryKey = QStringLiteral("    ADD ( PRIMARY KEY (");

QStringList readPrimaryKey(db::Database& database, const QString& table) {
    QStringList primaryKey;
    const auto dynaset = database.DbCreateDynaset(primaryKeySql(table), kDictionaryReadOptions);
    while (!dynaset->Eof()) {
        primaryKey.append(dynaset->Fields(0).Value().toString());
        dynaset->DbMoveNext();
    }
    return primaryKey;
}

QString joinedCsvLine(const QStringList& cells) {
    QString line;
    for (const QString& cell : cells) {
        line += u',';
        line += csvField(cell);
    }
    return line;
}

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
    try {
        const db::ReadSnapshot snapshot(database);
        result.exists = tableExists(database, table);
        if (!result.exists)
            return result;

        const QStringList primaryKey = readPrimaryKey(database, table);
        QString pkTxt;
        for (const QString& name : primaryKey)
            pkTxt += name + kCrLf;

        const auto dynaset = database.DbCreateDynaset(describeSql(table), kDescribeOptions);
        QString csv =
            csvField(table) + kCrLf + QStringLiteral(",,") + tableInfoHeadings().join(u',') + kCrLf;
        QString txt = table + kCrLf + u'\t' + tableInfoHeadings().join(u'\t') + kCrLf;
        QString ddl =
            QStringLiteral("CREATE TABLE ") + sqlIdentifier(table) + QStringLiteral("(") + kCrLf;
        const std::vector<const db::Field*> fields = dynaset->Fields();
        result.gridRows.reserve(qsizetype(fields.size()));
        int number = 0;
        for (const db::Field* field : fields) {
            ++number;
            const ColumnDescription column = describeColumn(*field);
            const QStringList cells =
                tableInfoCells(number, column, primaryKeyMark(column.name, primaryKey));
            csv += joinedCsvLine(cells) + kCrLf;
            result.gridRows.append(cells);
            txt += cells.join(u'\t') + kCrLf;
            if (number > 1)
                ddl += QStringLiteral(",") + kCrLf;
            ddl += scriptColumnLine(column);
        }
        ddl += kCrLf + QStringLiteral(");");
        if (!primaryKey.isEmpty())
            ddl += kCrLf + kCrLf + alterTableText(table, primaryKey);

        result.primaryKey = primaryKey;
        result.strTableInfoTxt = txt;
        result.strTableInfoCsv = csv;
        result.strPkTxt = pkTxt;
        result.strCreateTableSql = ddl;
    } catch (const db::DbError& error) {
        result.error = error.description();
    }
    return result;
}

}  // namespace quarnel::catalog
