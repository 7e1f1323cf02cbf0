// The captions, messages and status texts of the windows, exactly as the user sees them.
#pragma once

#include "support/version.h"

#include <QString>

namespace quarnel::ui {

inline const QString kMainCaption = QStringLiteral("Quarnel");
inline const QString kTitleTableList = QStringLiteral("　ﾃｰﾌﾞﾙ一覧");
inline const QString kTableNameHeader = QStringLiteral("ﾃｰﾌﾞﾙ名");
inline const QString kTitleTableInfo = QStringLiteral("　ﾃｰﾌﾞﾙ情報");
inline const QString kTitleIndexInfo = QStringLiteral("　ｲﾝﾃﾞｯｸｽ情報");
inline const QString kTitleTableInfoPrefix = QStringLiteral("　ﾃｰﾌﾞﾙ情報 : ");
inline const QString kTitleIndexInfoPrefix = QStringLiteral("　ｲﾝﾃﾞｯｸｽ情報 : ");
inline const QString kCmdView = QStringLiteral("実　行");
inline const QString kCmdViewTip = QStringLiteral("解析を実行");
inline const QString kCommand1 = QStringLiteral("終 了");
inline const QString kCommand1Tip = QStringLiteral("終了");
inline const QString kDisconnected = QStringLiteral("- DB未接続 -");
inline const QString kConnected = QStringLiteral("- DB接続中 -");
inline const QString kNoTables = QStringLiteral("ﾃｰﾌﾞﾙ総数 : 0件");
inline const QString kSearching = QStringLiteral("検索中･･･");
inline const QString kSqlErrorTitle = QStringLiteral("SQLｴﾗｰ");
inline const QString kDisconnectFailed = QStringLiteral("切断に失敗しました。");
inline const QString kVersionCaption = QStringLiteral("ﾊﾞｰｼﾞｮﾝ情報");
// "Version : " followed by the project version and the edition.
inline const QString kVersionLine =
    QStringLiteral("Version : ") + QLatin1String(kVersion) + QLatin1String(kEdition);
inline const QString kLogonUserLabel = QStringLiteral("ユーザＩＤ：");
inline const QString kLogonPasswordLabel = QStringLiteral("パスワード：");
inline const QString kLogonHostLabel = QStringLiteral("ホスト文字列：");
inline const QString kLogonOk = QStringLiteral("ＯＫ");
inline const QString kLogonCancel = QStringLiteral("キャンセル");
inline const QString kLogonFont = QStringLiteral("ＭＳ ゴシック");
inline const QString kNoUserName = QStringLiteral("ユーザ名を指定してください。");
inline const QString kConnecting = QStringLiteral("Oracleに接続中･･････");
inline const QString kCreateViewCaption = QStringLiteral("Quarnel(Create View)");
// Long work over the whole schema: the progress dialog's button and the model load's caption.
inline const QString kCancel = QStringLiteral("ｷｬﾝｾﾙ");
inline const QString kReadingSchema = QStringLiteral("ｽｷｰﾏ情報を読込中･･･");
// The table-definition document: its dialog, its save dialog and its progress caption.
inline const QString kDefinitionCaption = QStringLiteral("ﾃｰﾌﾞﾙ定義書の出力");
inline const QString kDefinitionTables = QStringLiteral("対象ﾃｰﾌﾞﾙ");
inline const QString kDefinitionSelected = QStringLiteral("選択ﾃｰﾌﾞﾙ(&S)");
inline const QString kDefinitionAll = QStringLiteral("全ﾃｰﾌﾞﾙ(&A)");
inline const QString kDefinitionFormat = QStringLiteral("形式");
inline const QString kDefinitionExcel = QStringLiteral("Excel ﾌﾞｯｸ(.xlsx)(&E)");
inline const QString kDefinitionMarkdown = QStringLiteral("Markdown ﾌｫﾙﾀﾞ(&M)");
inline const QString kDefinitionOneSheet = QStringLiteral("1ｼｰﾄにまとめる(ｶﾗﾑ一覧)(&O)");
inline const QString kDefinitionSaveTitle = QStringLiteral("ファイル名を付けて保存(ﾃｰﾌﾞﾙ定義書)");
inline const QString kDefinitionExcelFilter =
    QStringLiteral("Excel ﾌﾞｯｸ(*.xlsx)|*.xlsx|すべてのﾌｧｲﾙ(*.*)|*.*");
inline const QString kDefinitionMarkdownFilter = QStringLiteral("ﾌｫﾙﾀﾞ(*.*)|*.*");
inline const QString kWritingDefinition = QStringLiteral("ﾃｰﾌﾞﾙ定義書を出力中･･･");

// The search window: caption, result list headings, the kinds of hit, and the count line.
inline const QString kSearchCaption = QStringLiteral("Quarnel(Search)");
inline const QString kSearchKindHeader = QStringLiteral("種類");
inline const QString kSearchTableHeader = QStringLiteral("テーブル名");
inline const QString kSearchColumnHeader = QStringLiteral("列名");
inline const QString kSearchCommentHeader = QStringLiteral("コメント");
inline const QString kSearchKindTable = QStringLiteral("テーブル");
inline const QString kSearchKindColumn = QStringLiteral("列");
// "該当件数 : n件", and when the list holds only the first hits "該当件数 : n件 (先頭m件を表示)".
inline const QString kSearchCountPrefix = QStringLiteral("該当件数 : ");
inline const QString kSearchCountSuffix = QStringLiteral("件");
inline const QString kSearchFirstPrefix = QStringLiteral(" (先頭");
inline const QString kSearchFirstSuffix = QStringLiteral("件を表示)");
inline const QString kBuildingSearchIndex = QStringLiteral("検索ｲﾝﾃﾞｯｸｽを作成中･･･");
// Snapshots and schema comparison.
inline const QString kSnapshotPanel = QStringLiteral("- ｽﾅｯﾌﾟｼｮｯﾄ %1 -");
inline const QString kSnapshotSaveTitle = QStringLiteral("ｽﾅｯﾌﾟｼｮｯﾄの保存");
inline const QString kSnapshotFileFilter =
    QStringLiteral("ｽﾅｯﾌﾟｼｮｯﾄ (*.qsnap)|*.qsnap|すべてのﾌｧｲﾙ (*.*)|*.*");
inline const QString kWritingSnapshot = QStringLiteral("ｽﾅｯﾌﾟｼｮｯﾄを保存中･･･");
inline const QString kCompareTitle = QStringLiteral("ｽｷｰﾏ比較");
inline const QString kCompareOpenFailed = QStringLiteral("ｽﾅｯﾌﾟｼｮｯﾄを開けませんでした。");
inline const QString kReportSaveTitle = QStringLiteral("ファイル名を付けて保存(ｽｷｰﾏ比較)");
inline const QString kReportFileFilter = QStringLiteral("ﾃｷｽﾄ (*.txt)|*.txt");
inline const QString kCompareCopy = QStringLiteral("ｺﾋﾟｰ(&C)");
inline const QString kCompareSave = QStringLiteral("保存(&S)...");
inline const QString kCompareClose = QStringLiteral("閉じる");

// Menu captions, by menu entry.
inline const QString k_mnuFile = QStringLiteral("ﾌｧｲﾙ(&F)");
inline const QString k_mnuSave = QStringLiteral("ﾌｧｲﾙに保存(&S)");
inline const QString k_mnuSaveAllTable = QStringLiteral("ﾃｰﾌﾞﾙ一覧(&A)");
inline const QString k_mnuSaveInfoTable = QStringLiteral("ﾃｰﾌﾞﾙ情報(&T)");
inline const QString k_mnuSaveTableIndex = QStringLiteral("ﾃｰﾌﾞﾙ･ｲﾝﾃﾞｯｸｽ(&I)");
inline const QString k_mnuDefinition = QStringLiteral("ﾃｰﾌﾞﾙ定義書の出力(&D)...");
inline const QString k_mnuSnapshotSave = QStringLiteral("ｽﾅｯﾌﾟｼｮｯﾄの保存(&N)...");
inline const QString k_munE = QStringLiteral("終了(&X)");
inline const QString k_mnuL = QStringLiteral("接続(&L)");
inline const QString k_mnuDBLogIn = QStringLiteral("DB接続(&L)");
inline const QString k_mnuCut = QStringLiteral("DB切断(&C)");
inline const QString k_mnuE = QStringLiteral("編集(&E)");
inline const QString k_mnuCopyAllTable = QStringLiteral("ﾃｰﾌﾞﾙ一覧(&A)");
inline const QString k_mnuCopyTableName = QStringLiteral("選択ﾃｰﾌﾞﾙ名ｺﾋﾟｰ(&N)");
inline const QString k_mnuCopyAllTableTxt = QStringLiteral("ﾃｰﾌﾞﾙ一覧ｺﾋﾟｰ(&T)");
inline const QString k_mnuTableS = QStringLiteral("ﾃｰﾌﾞﾙ一覧再表示(&R)");
inline const QString k_mnuCopyTableInfo = QStringLiteral("ﾃｰﾌﾞﾙ情報(&T)");
inline const QString k_mnuSelectCp = QStringLiteral("選択範囲ｺﾋﾟｰ(&S)");
inline const QString k_mnuSelectCpCsv = QStringLiteral("CSV形式(&C)");
inline const QString k_mnuSelectCpTxt = QStringLiteral("TXT形式(&T)");
inline const QString k_mnuCopyTableInfoAll = QStringLiteral("一覧ｺﾋﾟｰ(&T)");
inline const QString k_mnuCopyTableInfoCsv = QStringLiteral("CSV形式(&C)");
inline const QString k_mnuCopyTableInfoTxt = QStringLiteral("TXT形式(&T)");
inline const QString k_mnuCopyPkTxt = QStringLiteral("PKのみｺﾋﾟｰ(TXT形式)(&P)");
inline const QString k_mnuStampOn = QStringLiteral("ﾌｫｰｶｽ部分に印を付ける(&S)");
inline const QString k_mnuStampOff = QStringLiteral("ﾌｫｰｶｽ部分の印を取る(&D)");
inline const QString k_mnuCopyTableIndex = QStringLiteral("ﾃｰﾌﾞﾙ･ｲﾝﾃﾞｯｸｽ(&I)");
inline const QString k_mnuCopyTableIndexSelect = QStringLiteral("選択項目ｺﾋﾟｰ");
inline const QString k_mnuCopyTableIndexAll = QStringLiteral("ｲﾝﾃﾞｯｸｽ情報一覧ｺﾋﾟｰ(&T)");
inline const QString k_mnuCopyTableIndexCsv = QStringLiteral("CSV形式(&C)");
inline const QString k_mnuCopyTableIndexTxt = QStringLiteral("TXT形式(&T)");
inline const QString k_mnuS = QStringLiteral("検索(&S)");
inline const QString k_mnuTableNameS = QStringLiteral("ﾃｰﾌﾞﾙ名検索(&S)");
// The search menu's entry as it is shown: the search window.
inline const QString k_mnuTableNameSearch = QStringLiteral("ﾃｰﾌﾞﾙ･項目検索(&S)...");
inline const QString k_mnuView = QStringLiteral("表示(&V)");
inline const QString k_mnuViewCr = QStringLiteral("ｸﾘｴｲﾄ文画面");
inline const QString k_mnuSchemaCompare = QStringLiteral("ｽｷｰﾏ比較(&M)...");
inline const QString k_mnuO = QStringLiteral("ｵﾌﾟｼｮﾝ(&O)");
inline const QString k_mnuSearch = QStringLiteral("検索設定(&S)");
inline const QString k_mnuTableSearch = QStringLiteral("ﾃｰﾌﾞﾙ情報のみ検索(&T)");
inline const QString k_mnuIndexSearch = QStringLiteral("ｲﾝﾃﾞｯｸｽ情報のみ検索(&I)");
inline const QString k_mnuAllSearch = QStringLiteral("両検索(&W)");
inline const QString k_mnuH = QStringLiteral("ﾍﾙﾌﾟ(&H)");
inline const QString k_mnuHelp = QStringLiteral("ﾍﾙﾌﾟ(&H)");
inline const QString k_mnuVer = QStringLiteral("ﾊﾞｰｼﾞｮﾝ情報(&V)");

}  // namespace quarnel::ui
