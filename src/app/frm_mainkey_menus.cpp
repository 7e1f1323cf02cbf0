// The main window's menu tree.
#include "app/frm_mainkey.h"

#include "shell/ui_texts.h"

#include <QKeySequence>
#include <QMenuBar>

namespace quarnel {
namespace {

QMenu* submenu(QWidget* parent, const QString& name, const QString& caption) {
    auto* menu = new QMenu(caption, parent);
    menu->setObjectName(name);
    menu->menuAction()->setObjectName(name);
    return menu;
}

QAction* entry(QMenu* menu, const QString& name, const QString& caption) {
    QAction* action = menu->addAction(caption);
    action->setObjectName(name);
    return action;
}

void separator(QMenu* menu, const QString& name) {
    menu->addSeparator()->setObjectName(name);
}

}  // namespace

void frm_mainkey::createMenus() {
    QMenuBar* bar = menuBar();
    auto top = [&](const QString& name, const QString& caption) {
        QMenu* menu = submenu(this, name, caption);
        bar->addMenu(menu);
        return menu;
    };
    auto sub = [&](QMenu* parent, const QString& name, const QString& caption) {
        QMenu* menu = submenu(parent, name, caption);
        parent->addMenu(menu);
        return menu;
    };
#define QN_NAME(member) QStringLiteral(#member)

    mnuFile = top(QN_NAME(mnuFile), ui::k_mnuFile);
    mnuSave = sub(mnuFile, QN_NAME(mnuSave), ui::k_mnuSave);
    mnuSaveAllTable = entry(mnuSave, QN_NAME(mnuSaveAllTable), ui::k_mnuSaveAllTable);
    mnuSaveInfoTable = entry(mnuSave, QN_NAME(mnuSaveInfoTable), ui::k_mnuSaveInfoTable);
    mnuSaveTableIndex = entry(mnuSave, QN_NAME(mnuSaveTableIndex), ui::k_mnuSaveTableIndex);
    mnuDefinition = entry(mnuFile, QN_NAME(mnuDefinition), ui::k_mnuDefinition);
    mnuDefinition->setEnabled(false);
    mnuSnapshotSave = entry(mnuFile, QN_NAME(mnuSnapshotSave), ui::k_mnuSnapshotSave);
    mnuSnapshotSave->setEnabled(false);
    separator(mnuFile, QStringLiteral("a"));
    munE = entry(mnuFile, QN_NAME(munE), ui::k_munE);

    mnuL = top(QN_NAME(mnuL), ui::k_mnuL);
    mnuDBLogIn = entry(mnuL, QN_NAME(mnuDBLogIn), ui::k_mnuDBLogIn);
    mnuCut = entry(mnuL, QN_NAME(mnuCut), ui::k_mnuCut);
    mnuCut->setEnabled(false);

    mnuE = top(QN_NAME(mnuE), ui::k_mnuE);
    mnuCopyAllTable = sub(mnuE, QN_NAME(mnuCopyAllTable), ui::k_mnuCopyAllTable);
    mnuCopyTableName = entry(mnuCopyAllTable, QN_NAME(mnuCopyTableName), ui::k_mnuCopyTableName);
    mnuCopyAllTableTxt =
        entry(mnuCopyAllTable, QN_NAME(mnuCopyAllTableTxt), ui::k_mnuCopyAllTableTxt);
    separator(mnuCopyAllTable, QStringLiteral("q"));
    mnuTableS = entry(mnuCopyAllTable, QN_NAME(mnuTableS), ui::k_mnuTableS);

    mnuCopyTableInfo = sub(mnuE, QN_NAME(mnuCopyTableInfo), ui::k_mnuCopyTableInfo);
    mnuSelectCp = sub(mnuCopyTableInfo, QN_NAME(mnuSelectCp), ui::k_mnuSelectCp);
    mnuSelectCpCsv = entry(mnuSelectCp, QN_NAME(mnuSelectCpCsv), ui::k_mnuSelectCpCsv);
    mnuSelectCpTxt = entry(mnuSelectCp, QN_NAME(mnuSelectCpTxt), ui::k_mnuSelectCpTxt);
    mnuCopyTableInfoAll =
        sub(mnuCopyTableInfo, QN_NAME(mnuCopyTableInfoAll), ui::k_mnuCopyTableInfoAll);
    mnuCopyTableInfoCsv =
        entry(mnuCopyTableInfoAll, QN_NAME(mnuCopyTableInfoCsv), ui::k_mnuCopyTableInfoCsv);
    mnuCopyTableInfoTxt =
        entry(mnuCopyTableInfoAll, QN_NAME(mnuCopyTableInfoTxt), ui::k_mnuCopyTableInfoTxt);
    separator(mnuCopyTableInfo, QStringLiteral("z"));
    mnuCopyPkTxt = entry(mnuCopyTableInfo, QN_NAME(mnuCopyPkTxt), ui::k_mnuCopyPkTxt);
    separator(mnuCopyTableInfo, QStringLiteral("r"));
    mnuStampOn = entry(mnuCopyTableInfo, QN_NAME(mnuStampOn), ui::k_mnuStampOn);
    mnuStampOff = entry(mnuCopyTableInfo, QN_NAME(mnuStampOff), ui::k_mnuStampOff);

    mnuCopyTableIndex = sub(mnuE, QN_NAME(mnuCopyTableIndex), ui::k_mnuCopyTableIndex);
    mnuCopyTableIndexSelect =
        entry(mnuCopyTableIndex, QN_NAME(mnuCopyTableIndexSelect), ui::k_mnuCopyTableIndexSelect);
    mnuCopyTableIndexAll =
        sub(mnuCopyTableIndex, QN_NAME(mnuCopyTableIndexAll), ui::k_mnuCopyTableIndexAll);
    mnuCopyTableIndexCsv =
        entry(mnuCopyTableIndexAll, QN_NAME(mnuCopyTableIndexCsv), ui::k_mnuCopyTableIndexCsv);
    mnuCopyTableIndexTxt =
        entry(mnuCopyTableIndexAll, QN_NAME(mnuCopyTableIndexTxt), ui::k_mnuCopyTableIndexTxt);

    mnuS = top(QN_NAME(mnuS), ui::k_mnuS);
    mnuTableNameS = entry(mnuS, QN_NAME(mnuTableNameS), ui::k_mnuTableNameSearch);
    mnuTableNameS->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F));

    mnuView = top(QN_NAME(mnuView), ui::k_mnuView);
    mnuViewCr = entry(mnuView, QN_NAME(mnuViewCr), ui::k_mnuViewCr);
    mnuSchemaCompare = entry(mnuView, QN_NAME(mnuSchemaCompare), ui::k_mnuSchemaCompare);
    mnuSchemaCompare->setEnabled(false);

    mnuO = top(QN_NAME(mnuO), ui::k_mnuO);
    mnuO->menuAction()->setVisible(false);
    mnuSearch = sub(mnuO, QN_NAME(mnuSearch), ui::k_mnuSearch);
    mnuTableSearch = entry(mnuSearch, QN_NAME(mnuTableSearch), ui::k_mnuTableSearch);
    mnuIndexSearch = entry(mnuSearch, QN_NAME(mnuIndexSearch), ui::k_mnuIndexSearch);
    mnuAllSearch = entry(mnuSearch, QN_NAME(mnuAllSearch), ui::k_mnuAllSearch);
    for (QAction* mode : {mnuTableSearch, mnuIndexSearch, mnuAllSearch})
        mode->setCheckable(true);
    mnuAllSearch->setChecked(true);

    mnuH = top(QN_NAME(mnuH), ui::k_mnuH);
    mnuHelp = entry(mnuH, QN_NAME(mnuHelp), ui::k_mnuHelp);
    mnuHelp->setEnabled(false);
    mnuVer = entry(mnuH, QN_NAME(mnuVer), ui::k_mnuVer);
#undef QN_NAME

    // Commands run one at a time: a menu chosen while another command runs does nothing.
    auto command = [this](QAction* action, void (frm_mainkey::*handler)()) {
        connect(action, &QAction::triggered, this,
                [this, handler] { runCommand([this, handler] { (this->*handler)(); }); });
    };
    connect(mnuFile, &QMenu::aboutToShow, this, &frm_mainkey::mnuFile_Click);
    command(munE, &frm_mainkey::munE_Click);
    command(mnuDBLogIn, &frm_mainkey::mnuDBLogIn_Click);
    command(mnuCut, &frm_mainkey::mnuCut_Click);
    command(mnuTableS, &frm_mainkey::mnuTableS_Click);
    command(mnuVer, &frm_mainkey::mnuVer_Click);
    command(mnuTableNameS, &frm_mainkey::mnuTableNameS_Click);
    command(mnuStampOn, &frm_mainkey::mnuStampOn_Click);
    command(mnuStampOff, &frm_mainkey::mnuStampOff_Click);
}

}  // namespace quarnel
