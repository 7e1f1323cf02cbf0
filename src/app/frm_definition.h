// The small dialog of 「ﾃｰﾌﾞﾙ定義書の出力(&D)...」: which tables, which format, and for a
// workbook whether to use the single-sheet layout.
#pragma once

#include "export/definition_output.h"

#include <QDialog>

class QCheckBox;
class QRadioButton;

namespace quarnel {

class frmDefinition : public QDialog {
    Q_OBJECT
  public:
    // `tableSelected`: a table is selected in the list, so 選択ﾃｰﾌﾞﾙ can be chosen.
    frmDefinition(QWidget* parent, bool tableSelected, const DefinitionChoice& last);

    // What the user chose; nothing when the dialog was cancelled.
    std::optional<DefinitionChoice> choice() const;

    QRadioButton* optSelected = nullptr;
    QRadioButton* optAll = nullptr;
    QRadioButton* optExcel = nullptr;
    QRadioButton* optMarkdown = nullptr;
    QCheckBox* chkOneSheet = nullptr;
};

}  // namespace quarnel
