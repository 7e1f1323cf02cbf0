#include "app/frm_definition.h"

#include "shell/ui_texts.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace quarnel {

frmDefinition::frmDefinition(QWidget* parent, bool tableSelected, const DefinitionChoice& last)
    : QDialog(parent) {
    setObjectName(QStringLiteral("frmDefinition"));
    setWindowTitle(ui::kDefinitionCaption);

    auto* tables = new QGroupBox(ui::kDefinitionTables, this);
    optSelected = new QRadioButton(ui::kDefinitionSelected, tables);
    optSelected->setObjectName(QStringLiteral("optSelected"));
    optAll = new QRadioButton(ui::kDefinitionAll, tables);
    optAll->setObjectName(QStringLiteral("optAll"));
    auto* tablesLayout = new QVBoxLayout(tables);
    tablesLayout->addWidget(optSelected);
    tablesLayout->addWidget(optAll);
    optSelected->setEnabled(tableSelected);
    (last.allTables || !tableSelected ? optAll : optSelected)->setChecked(true);

    auto* format = new QGroupBox(ui::kDefinitionFormat, this);
    optExcel = new QRadioButton(ui::kDefinitionExcel, format);
    optExcel->setObjectName(QStringLiteral("optExcel"));
    chkOneSheet = new QCheckBox(ui::kDefinitionOneSheet, format);
    chkOneSheet->setObjectName(QStringLiteral("chkOneSheet"));
    optMarkdown = new QRadioButton(ui::kDefinitionMarkdown, format);
    optMarkdown->setObjectName(QStringLiteral("optMarkdown"));
    auto* formatLayout = new QVBoxLayout(format);
    formatLayout->addWidget(optExcel);
    formatLayout->addWidget(chkOneSheet);
    formatLayout->addWidget(optMarkdown);
    const bool excel = last.format == docs::DocumentFormat::Excel;
    (excel ? optExcel : optMarkdown)->setChecked(true);
    chkOneSheet->setChecked(last.oneSheet);
    chkOneSheet->setEnabled(excel);
    connect(optExcel, &QRadioButton::toggled, chkOneSheet, &QCheckBox::setEnabled);

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* ok = buttons->addButton(ui::kLogonOk, QDialogButtonBox::AcceptRole);
    ok->setObjectName(QStringLiteral("cmdOK"));
    ok->setDefault(true);
    buttons->addButton(ui::kLogonCancel, QDialogButtonBox::RejectRole)
        ->setObjectName(QStringLiteral("cmdCancel"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tables);
    layout->addWidget(format);
    layout->addWidget(buttons);
}

std::optional<DefinitionChoice> frmDefinition::choice() const {
    if (result() != QDialog::Accepted)
        return std::nullopt;
    DefinitionChoice c;
    c.allTables = !optSelected->isChecked();
    c.format =
        optMarkdown->isChecked() ? docs::DocumentFormat::Markdown : docs::DocumentFormat::Excel;
    c.oneSheet = c.format == docs::DocumentFormat::Excel && chkOneSheet->isChecked();
    return c;
}

}  // namespace quarnel
