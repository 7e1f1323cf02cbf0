#include "catalog/table_list.h"

#include "catalog/queries.h"

namespace quarnel::catalog {
namespace {

const QString kCrLf = QStringLiteral("\r\n");

// The count line and the names, each followed by CR LF, built in one allocation.
QString tableListText(const QString& countText, const QStringList& names) {
    qsizetype length = countText.size() + 2;
    for (const QString& name : names)
        length += name.size() + 2;
    QString text;
    text.reserve(length);
    text += countText;
    text += kCrLf;
    for (const QString& name : names) {
        text += name;
        text += kCrLf;
    }
    return text;
}

}  // namespace

QString tableCountText(qsizetype count) {
    return QStringLiteral("ﾃｰﾌﾞﾙ総数 : ") + QString::number(count) + QStringLiteral("件");
}

TableListResult readTableList(db::Database& database) {
    TableListResult result;
    try {
        const auto dynaset = database.DbCreateDynaset(tableListSql(), kDictionaryReadOptions);
        result.names.reserve(1024);
        while (!dynaset->Eof()) {
            result.names.append(dynaset->Fields(0).Value().toString());
            dynaset->DbMoveNext();
        }
    } catch (const db::DbError& error) {
        result.error = error.description();
        return result;
    }
    result.countText = tableCountText(result.names.size());
    result.strTableListTxt = tableListText(result.countText, result.names);
    return result;
}

}  // namespace quarnel::catalog
