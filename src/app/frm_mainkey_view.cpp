// The main window's controls as the command units see them (MainView), and the handlers that
// hand the browsing commands to their unit.
#include "app/frm_mainkey.h"

#include "app/fdlg_ora_logon.h"
#include "app/frm_search.h"
#include "app/index_tree.h"
#include "app/table_list_model.h"
#include "browse/browse_commands.h"
#include "shell/dialogs.h"

#include <QAction>
#include <QLabel>
#include <QTreeView>
#include <QTreeWidget>

namespace quarnel {

void frm_mainkey::mnuDBLogIn_Click() {
    m_browse->mnuDBLogIn_Click();
}

void frm_mainkey::mnuCut_Click() {
    m_browse->mnuCut_Click();
}

void frm_mainkey::mnuTableS_Click() {
    m_browse->LoadTableList();
}

void frm_mainkey::LoadTableList() {
    m_browse->LoadTableList();
}

void frm_mainkey::lstTableList_DblClick() {
    m_browse->selectTable();
}

void frm_mainkey::cmdView_Click() {
    m_browse->selectTable();
}

bool frm_mainkey::selectTableInList(const QString& name) {
    const qsizetype row = m_tableList->names().indexOf(name);
    if (row < 0)
        return false;
    lstTableList->setCurrentIndex(m_tableList->index(int(row), 0));
    return true;
}

QTreeWidgetItem* frm_mainkey::treeNode(const QString& key) const {
    return m_indexTree->node(key);
}

void frm_mainkey::setConnectedMenus(bool connected) {
    mnuDBLogIn->setEnabled(!connected);
    mnuCut->setEnabled(connected);
    mnuDefinition->setEnabled(connected);
    mnuSnapshotSave->setEnabled(connected);
    mnuSchemaCompare->setEnabled(connected);
}

void frm_mainkey::runLogonDialog() {
    // A fresh dialog with empty boxes for every connect command.
    fdlgOraLogon logon(m_state, this);
    logon.Form_Load();
    m_state.dialogs->runModal(logon);
}

frmSearch& frm_mainkey::busyWindow() {
    if (m_busyWindow == nullptr)
        m_busyWindow = new frmSearch(this);
    return *m_busyWindow;
}

void frm_mainkey::showBusyWindow() {
    busyWindow().Form_Load();
}

void frm_mainkey::hideBusyWindow() {
    if (m_busyWindow != nullptr)
        m_busyWindow->Unload();
}

void frm_mainkey::processPendingMessages() {
    quarnel::processPendingMessages();
}

void frm_mainkey::setTableNames(catalog::TableNames names) {
    m_tableList->setNames(std::move(names));
}

catalog::TableNames frm_mainkey::takeTableNames() {
    return m_tableList->takeNames();
}

QString frm_mainkey::selectedTableName() const {
    const QModelIndex current = lstTableList->currentIndex();
    return current.isValid() ? current.data().toString() : QString();
}

void frm_mainkey::clearTree() {
    m_indexTree->clear();
}

void frm_mainkey::addTreeNodes(const std::vector<catalog::IndexTreeNode>& nodes) {
    m_indexTree->addNodes(nodes);
}

QString frm_mainkey::selectedTreeNodeText() const {
    const QList<QTreeWidgetItem*> selected = tvTreeView->selectedItems();
    return selected.isEmpty() ? QString() : selected[0]->text(0);
}

void frm_mainkey::setPaneTitles(const QString& gridTitle, const QString& treeTitle) {
    lblTitle[1]->setText(gridTitle);
    lblTitle[2]->setText(treeTitle);
}

void frm_mainkey::refreshCreateView(const QString& text) {
    if (setCreateViewText)
        setCreateViewText(text);
}

}  // namespace quarnel
