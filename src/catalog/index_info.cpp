#include "catalog/index_info.h"

#include "catalog/csv.h"
#include "catalog/identifiers.h"
#include "catalog/queries.h"
#include "catalog/table_exists.h"
#include "support/line_end.h"

#include <QHash>

namespace quarnel::catalog {
namespace {

const QString kColumnIndent(8, u' ');

// One row of the index query.
struct IndexColumnRow {
    QString index;
    QString table;
    QString position;
    QString column;
};

// How an index column differs from a plain ascending column: its direction, and the expression
// that stands for a system-named column.
struct IndexColumnForm {
    bool descending = false;
    std::optional<QString> expression;
};

// The forms of a table's index columns that are descending or expressions, by index name and
// position.
using IndexColumnForms = QHash<QString, IndexColumnForm>;

QString formKey(const QString& index, const QString& position) {
    return index + QChar(0) + position;
}

IndexColumnForms readColumnForms(db::Database& database, const QString& table) {
    IndexColumnForms forms;
    const auto directions =
        database.DbCreateDynaset(indexDirectionsSql(table), kDictionaryReadOptions);
    for (; !directions->Eof(); directions->DbMoveNext()) {
        forms[formKey(directions->Fields(0).Value().toString(),
                      directions->Fields(1).Value().toString())]
            .descending = true;
    }
    const auto expressions =
        database.DbCreateDynaset(indexExpressionsSql(table), kDictionaryReadOptions);
    for (; !expressions->Eof(); expressions->DbMoveNext()) {
        const QVariant expression = expressions->Fields(2).Value();
        if (!expression.isNull()) {
            forms[formKey(expressions->Fields(0).Value().toString(),
                          expressions->Fields(1).Value().toString())]
                .expression = expression.toString();
        }
    }
    return forms;
}

// Reads the values in the order index name, table name, column name, position.
IndexColumnRow readRow(const db::Dynaset& dynaset) {
    IndexColumnRow row;
    row.index = dynaset.Fields(0).Value().toString();
    row.table = dynaset.Fields(1).Value().toString();
    row.column = dynaset.Fields(3).Value().toString();
    row.position = dynaset.Fields(2).Value().toString();
    return row;
}

IndexTreeNode columnNode(const IndexColumnRow& row, const QString& indexKey, int parent) {
    return IndexTreeNode{indexKey,
                         QString(),
                         row.position + QStringLiteral(" ") + row.column,
                         QStringLiteral("c"),
                         QStringLiteral("f"),
                         true,
                         parent};
}

QString createIndexHead(const IndexColumnRow& row) {
    return QStringLiteral("CREATE INDEX ") + sqlIdentifier(row.index) + QStringLiteral(" ON ") +
           kCrLf + QStringLiteral("    ") + sqlIdentifier(row.table) + QStringLiteral(" (");
}

}  // namespace

QString tableNodeKey(const QString& table) {
    return QStringLiteral("T:") + table;
}

QString indexNodeKey(const QString& index) {
    return QStringLiteral("I:") + index;
}

IndexInfoResult loadIndexInfo(db::Database& database, const QString& table) {
    IndexInfoResult result;
    try {
        const db::ReadSnapshot snapshot(database);
        result.exists = tableExists(database, table);
        if (!result.exists)
            return result;

        const IndexColumnForms forms = readColumnForms(database, table);
        const auto dynaset =
            database.DbCreateDynaset(indexColumnsSql(table), kDictionaryReadOptions);
        result.nodes.push_back(IndexTreeNode{QString(), tableNodeKey(table), table,
                                             QStringLiteral("a"), QStringLiteral("d")});
        QString csv = QStringLiteral("TEBLE_NAME,INDEX_NAME,CPOSI_NAME,COLUMN_NAME") + kCrLf +
                      csvField(table);
        QString txt =
            QStringLiteral("TEBLE_NAME/INDEX_NAME/CPOSI_NAME/COLUMN_NAME") + kCrLf + table;
        QString ddl;
        const QString statementEnd = QStringLiteral(");");
        QString previous;
        int rowNumber = 1;
        // The key and place of the index node the current rows belong to.
        QString indexKey;
        int indexPlace = 0;
        for (; !dynaset->Eof(); dynaset->DbMoveNext(), ++rowNumber) {
            IndexColumnRow row = readRow(*dynaset);
            // An expression is shown and scripted as written; a descending column gets DESC in
            // the script only.
            const IndexColumnForm form = forms.value(formKey(row.index, row.position));
            QString scripted = sqlIdentifier(row.column);
            if (form.expression) {
                row.column = *form.expression;
                scripted = row.column;
            }
            if (form.descending)
                scripted += QStringLiteral(" DESC");
            const QString positionAndColumn = csvField(row.position) + u',' + csvField(row.column);
            if (rowNumber == 1 || row.index != previous) {
                indexKey = indexNodeKey(row.index);
                indexPlace = int(result.nodes.size());
                result.nodes.push_back(IndexTreeNode{tableNodeKey(row.table), indexKey, row.index,
                                                     QStringLiteral("b"), QStringLiteral("e"),
                                                     false, 0});
                if (rowNumber > 1)
                    csv += kCrLf;
                csv += u',' + csvField(row.index) + u',' + positionAndColumn;
                txt += kCrLf + u'\t' + row.index;
                if (rowNumber > 1)
                    ddl += statementEnd + kCrLf;
                ddl += createIndexHead(row) + kCrLf;
            } else {
                csv += kCrLf + QStringLiteral(",,") + positionAndColumn;
                ddl += QStringLiteral(", ") + kCrLf;
            }
            result.nodes.push_back(columnNode(row, indexKey, indexPlace));
            txt += kCrLf + QStringLiteral("\t\t") + row.position + u' ' + row.column;
            ddl += kColumnIndent + scripted;
            previous = row.index;
        }
        ddl += rowNumber > 1 ? statementEnd + kCrLf : kCrLf;

        result.strIndexInfoCsv = csv;
        result.strIndexInfoTxt = txt;
        result.strCreateIndexSql = ddl;
    } catch (const db::DbError& error) {
        result.error = error.description();
    }
    return result;
}

}  // namespace quarnel::catalog
