// The captions of the table-definition document: sheet names, header labels and section titles,
// shared by the workbook and the Markdown folder.
#pragma once

#include <QString>

namespace quarnel::docs::text {

inline const QString kTableListSheet = QStringLiteral("テーブル一覧");
inline const QString kColumnListSheet = QStringLiteral("カラム一覧");
inline const QString kIndexListSheet = QStringLiteral("インデックス一覧");
inline const QString kConstraintListSheet = QStringLiteral("制約一覧");
inline const QString kDocumentTitle = QStringLiteral("テーブル定義書");

inline const QString kNo = QStringLiteral("No");
inline const QString kPhysicalName = QStringLiteral("物理名");
inline const QString kLogicalName = QStringLiteral("論理名");
inline const QString kColumnCount = QStringLiteral("列数");
inline const QString kPrimaryKey = QStringLiteral("主キー");
inline const QString kRemarks = QStringLiteral("備考");
inline const QString kSheetName = QStringLiteral("シート名");
inline const QString kDataType = QStringLiteral("データ型");
inline const QString kLength = QStringLiteral("桁数");
inline const QString kPrecision = QStringLiteral("精度");
inline const QString kScale = QStringLiteral("位取り");
inline const QString kNotNull = QStringLiteral("NOT NULL");
inline const QString kPk = QStringLiteral("PK");
inline const QString kUk = QStringLiteral("UK");
inline const QString kFk = QStringLiteral("FK");
inline const QString kDefault = QStringLiteral("デフォルト");
inline const QString kMark = QStringLiteral("○");

inline const QString kTablePhysical = QStringLiteral("テーブル名(物理)");
inline const QString kTableLogical = QStringLiteral("テーブル名(論理)");
inline const QString kTableComment = QStringLiteral("コメント");
inline const QString kUser = QStringLiteral("ユーザ");
inline const QString kHost = QStringLiteral("ホスト文字列");
inline const QString kReadAt = QStringLiteral("読込日時");
inline const QString kBackToList = QStringLiteral("← テーブル一覧");

inline const QString kIndexes = QStringLiteral("インデックス");
inline const QString kForeignKeys = QStringLiteral("外部キー");
inline const QString kConstraints = QStringLiteral("制約");
inline const QString kIndexName = QStringLiteral("インデックス名");
inline const QString kUnique = QStringLiteral("UNIQUE");
inline const QString kColumns = QStringLiteral("列");
inline const QString kKeyName = QStringLiteral("外部キー名");
inline const QString kReferencedTable = QStringLiteral("参照先テーブル");
inline const QString kReferencedColumns = QStringLiteral("参照先列");
inline const QString kOnDelete = QStringLiteral("ON DELETE");
inline const QString kConstraintName = QStringLiteral("制約名");
inline const QString kKind = QStringLiteral("種類");
inline const QString kCondition = QStringLiteral("条件");
inline const QString kTable = QStringLiteral("テーブル");
inline const QString kKindPrimary = QStringLiteral("PRIMARY KEY");
inline const QString kKindUnique = QStringLiteral("UNIQUE");
inline const QString kKindForeign = QStringLiteral("FOREIGN KEY");
inline const QString kKindCheck = QStringLiteral("CHECK");
inline const QString kNone = QStringLiteral("なし");

}  // namespace quarnel::docs::text
