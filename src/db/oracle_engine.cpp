#include "db/engines.h"

namespace quarnel::db {

std::shared_ptr<Database> OpenOracleDatabase(const QString& host, const QString& /*user*/,
                                             const QString& /*password*/) {
    throw DbError(QStringLiteral("Oracle クライアントを利用できません。ホスト文字列「%1」には接続"
                                 "できません。組み込みデータベースには「sqlite:ファイル名」を"
                                 "ホスト文字列に指定してください。")
                      .arg(host));
}

}  // namespace quarnel::db
