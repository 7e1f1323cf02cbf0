#include "catalog/comments.h"

#include "catalog/identifiers.h"
#include "catalog/queries.h"

namespace quarnel::catalog {

QString tableCommentSql(const QString& table) {
    return QStringLiteral("SELECT comments FROM user_tab_comments WHERE table_name = ") +
           sqlLiteral(table);
}

QString columnCommentsSql(const QString& table) {
    return QStringLiteral(
               "SELECT column_name, comments FROM user_col_comments"
               " WHERE table_name = ") +
           sqlLiteral(table);
}

TableComments readTableComments(db::Database& database, const QString& table) {
    const db::ReadSnapshot snapshot(database);
    TableComments comments;
    comments.table = table;
    for (auto d = database.DbCreateDynaset(tableCommentSql(table), kDictionaryReadOptions);
         !d->Eof(); d->DbMoveNext())
        comments.comment = d->Fields(0).Value().toString();
    for (auto d = database.DbCreateDynaset(columnCommentsSql(table), kDictionaryReadOptions);
         !d->Eof(); d->DbMoveNext()) {
        const QString comment = d->Fields(1).Value().toString();
        if (!comment.isEmpty())
            comments.columns.insert(d->Fields(0).Value().toString(), comment);
    }
    return comments;
}

}  // namespace quarnel::catalog
