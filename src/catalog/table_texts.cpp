#include "catalog/table_texts.h"

#include "catalog/csv.h"
#include "catalog/identifiers.h"
#include "catalog/table_info.h"
#include "support/line_end.h"

namespace quarnel::catalog {
namespace {

const QString kColumnIndent(8, u' ');

QString joinedCsvLine(const QStringList& cells) {
    QString line;
    for (const QString& cell : cells) {
        line += u',';
        line += csvField(cell);
    }
    return line;
}

// Calls `each(index, column)` for every index column in order.
template <typename Each>
void forEachIndexColumn(const schema::Table& table, Each each) {
    for (const schema::Index& index : table.indexes) {
        for (const schema::IndexColumn& column : index.columns)
            each(index, column);
    }
}

// The column as the tree and the lists show it: its expression, if any, else its name.
const QString& shownColumn(const schema::IndexColumn& column) {
    return column.expression ? *column.expression : column.name;
}

QString positionText(const schema::IndexColumn& column) {
    return QString::number(column.position);
}

}  // namespace

QStringList primaryKeyColumns(const schema::Table& table) {
    return table.primaryKey ? table.primaryKey->columns : QStringList();
}

QList<QStringList> tableGridRows(const schema::Table& table) {
    const QStringList key = primaryKeyColumns(table);
    QList<QStringList> rows;
    rows.reserve(qsizetype(table.columns.size()));
    int number = 0;
    for (const schema::Column& column : table.columns) {
        rows.append(
            tableInfoCells(++number, column.description, primaryKeyMark(column.name(), key)));
    }
    return rows;
}

QString tableInfoTxt(const schema::Table& table) {
    QString txt = table.name + kCrLf + u'\t' + tableInfoHeadings().join(u'\t') + kCrLf;
    for (const QStringList& cells : tableGridRows(table))
        txt += cells.join(u'\t') + kCrLf;
    return txt;
}

QString tableInfoCsv(const schema::Table& table) {
    QString csv = csvField(table.name) + kCrLf + QStringLiteral(",,") +
                  tableInfoHeadings().join(u',') + kCrLf;
    for (const QStringList& cells : tableGridRows(table))
        csv += joinedCsvLine(cells) + kCrLf;
    return csv;
}

QString pkTxt(const schema::Table& table) {
    QString txt;
    for (const QString& name : primaryKeyColumns(table))
        txt += name + kCrLf;
    return txt;
}

QString createTableSql(const schema::Table& table) {
    QString ddl =
        QStringLiteral("CREATE TABLE ") + sqlIdentifier(table.name) + QStringLiteral("(") + kCrLf;
    bool first = true;
    for (const schema::Column& column : table.columns) {
        if (!first)
            ddl += QStringLiteral(",") + kCrLf;
        first = false;
        ddl += scriptColumnLine(column.description);
    }
    ddl += kCrLf + QStringLiteral(");");
    const QStringList key = primaryKeyColumns(table);
    if (!key.isEmpty())
        ddl += kCrLf + kCrLf + alterTableText(table.name, key);
    return ddl;
}

std::vector<IndexTreeNode> indexTreeNodes(const schema::Table& table) {
    std::vector<IndexTreeNode> nodes;
    nodes.push_back(IndexTreeNode{QString(), tableNodeKey(table.name), table.name,
                                  QStringLiteral("a"), QStringLiteral("d")});
    for (const schema::Index& index : table.indexes) {
        const QString key = indexNodeKey(index.name);
        const int place = int(nodes.size());
        nodes.push_back(IndexTreeNode{tableNodeKey(table.name), key, index.name,
                                      QStringLiteral("b"), QStringLiteral("e"), false, 0});
        for (const schema::IndexColumn& column : index.columns) {
            nodes.push_back(IndexTreeNode{key, QString(),
                                          positionText(column) + u' ' + shownColumn(column),
                                          QStringLiteral("c"), QStringLiteral("f"), true, place});
        }
    }
    return nodes;
}

QString indexInfoTxt(const schema::Table& table) {
    QString txt =
        QStringLiteral("TEBLE_NAME/INDEX_NAME/CPOSI_NAME/COLUMN_NAME") + kCrLf + table.name;
    for (const schema::Index& index : table.indexes) {
        txt += kCrLf + u'\t' + index.name;
        for (const schema::IndexColumn& column : index.columns)
            txt +=
                kCrLf + QStringLiteral("\t\t") + positionText(column) + u' ' + shownColumn(column);
    }
    return txt;
}

QString indexInfoCsv(const schema::Table& table) {
    QString csv = QStringLiteral("TEBLE_NAME,INDEX_NAME,CPOSI_NAME,COLUMN_NAME") + kCrLf +
                  csvField(table.name);
    bool firstRow = true;
    forEachIndexColumn(table, [&](const schema::Index& index, const schema::IndexColumn& column) {
        const QString positionAndColumn =
            csvField(positionText(column)) + u',' + csvField(shownColumn(column));
        if (&column == &index.columns.front()) {
            if (!firstRow)
                csv += kCrLf;
            csv += u',' + csvField(index.name) + u',' + positionAndColumn;
        } else {
            csv += kCrLf + QStringLiteral(",,") + positionAndColumn;
        }
        firstRow = false;
    });
    return csv;
}

QString createIndexSql(const schema::Table& table) {
    const QString statementEnd = QStringLiteral(");");
    QString ddl;
    bool any = false;
    forEachIndexColumn(table, [&](const schema::Index& index, const schema::IndexColumn& column) {
        if (&column == &index.columns.front()) {
            if (any)
                ddl += statementEnd + kCrLf;
            ddl += QStringLiteral("CREATE INDEX ") + sqlIdentifier(index.name) +
                   QStringLiteral(" ON ") + kCrLf + QStringLiteral("    ") +
                   sqlIdentifier(table.name) + QStringLiteral(" (") + kCrLf;
        } else {
            ddl += QStringLiteral(", ") + kCrLf;
        }
        ddl +=
            kColumnIndent + (column.expression ? *column.expression : sqlIdentifier(column.name));
        if (column.descending)
            ddl += QStringLiteral(" DESC");
        any = true;
    });
    ddl += any ? statementEnd + kCrLf : kCrLf;
    return ddl;
}

}  // namespace quarnel::catalog
