// The texts of the save commands and of the DDL window, exactly as the user sees them.
#pragma once

#include <QString>

namespace quarnel::ui {

// Dialog titles of the three list saves, by kind 1 to 3, and of the DDL save.
inline const QString kSaveTitleTableList = QStringLiteral("ファイル名を付けて保存(ﾃｰﾌﾞﾙ一覧)");
inline const QString kSaveTitleTableInfo = QStringLiteral("ファイル名を付けて保存(ﾃｰﾌﾞﾙ情報)");
inline const QString kSaveTitleIndexInfo = QStringLiteral("ファイル名を付けて保存(ｲﾝﾃﾞｯｸｽ情報)");
inline const QString kSaveTitleDdl = QStringLiteral("ファイル名を付けて保存");

// The filter lists: descriptions and patterns alternating, separated by "|".
inline const QString kListFileFilter =
    QStringLiteral("ﾃｷｽﾄ ﾌｧｲﾙ(*.txt;*.csv)|*.csv;*.txt|すべてのﾌｧｲﾙ(*.*)|*.*");
inline const QString kDdlFileFilter =
    QStringLiteral("ﾃｷｽﾄ ﾌｧｲﾙ(*.txt)|*.txt|すべてのﾌｧｲﾙ(*.*)|*.*");

// The overwrite question: two lines joined by a CR, the second starting with two spaces.
inline const QString kOverwriteQuestion = QStringLiteral("すでに同名のﾌｧｲﾙが存在します。") + u'\r' +
                                          QStringLiteral("  上書きしてもよろしいですか？");
inline const QString kOverwriteTitle = QStringLiteral("上書き確認");

// A file that could not be written: this line, the path and the system's reason.
inline const QString kSaveFailed = QStringLiteral("ファイルに保存できませんでした。");

// The DDL window (its File and Edit menus and "終了(&X)" read as the main window's).
inline const QString k_frmCreate_mnuSave = QStringLiteral("保存(&S)");
inline const QString k_frmCreate_mnuCopy = QStringLiteral("ｺﾋﾟｰ(&C)");
inline const QString k_frmCreate_Command1 = QStringLiteral("閉じる");
inline const QString kCreateViewFont = QStringLiteral("ＭＳ Ｐゴシック");

}  // namespace quarnel::ui
