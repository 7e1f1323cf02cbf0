#include "app/frm_compare.h"

#include "export/clipboard.h"
#include "shell/ui_texts.h"

#include <QFontDatabase>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace quarnel {

frmCompare::frmCompare(QWidget* mainWindow, const QString& title, const QString& report,
                       Clipboard& clipboard, std::function<void(const QString&)> save)
    : QWidget(mainWindow, Qt::Window), m_report(report) {
    setObjectName(QStringLiteral("frmCompare"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(title);
    if (mainWindow != nullptr)
        setWindowIcon(mainWindow->windowIcon());

    txtReport = new QPlainTextEdit(this);
    txtReport->setObjectName(QStringLiteral("txtReport"));
    txtReport->setReadOnly(true);
    txtReport->setLineWrapMode(QPlainTextEdit::NoWrap);
    txtReport->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    txtReport->setPlainText(QString(report).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));

    cmdCopy = new QPushButton(ui::kCompareCopy, this);
    cmdCopy->setObjectName(QStringLiteral("cmdCopy"));
    cmdSave = new QPushButton(ui::kCompareSave, this);
    cmdSave->setObjectName(QStringLiteral("cmdSave"));
    cmdClose = new QPushButton(ui::kCompareClose, this);
    cmdClose->setObjectName(QStringLiteral("cmdClose"));
    connect(cmdCopy, &QPushButton::clicked, this,
            [this, &clipboard] { clipboard.setText(m_report); });
    connect(cmdSave, &QPushButton::clicked, this,
            [this, save = std::move(save)] { save(m_report); });
    connect(cmdClose, &QPushButton::clicked, this, &QWidget::close);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdCopy);
    buttons->addWidget(cmdSave);
    buttons->addWidget(cmdClose);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(txtReport);
    layout->addLayout(buttons);
    resize(720, 480);
}

}  // namespace quarnel
