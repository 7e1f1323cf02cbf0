// The select-table command and the two lookups it runs: the chosen table's columns go into the
// grid, its indexes into the tree, and their texts into the program-wide state.
#include "app/dialogs.h"
#include "app/frm_mainkey.h"
#include "app/frm_search.h"
#include "app/table_list_model.h"
#include "app/ui_texts.h"
#include "catalog/index_info.h"
#include "catalog/table_info.h"
#include "support/flex_grid.h"

#include <QLabel>
#include <QLineEdit>
#include <QTreeView>
#include <QTreeWidget>

namespace quarnel {

QString frm_mainkey::selectedTableName() const {
    const QModelIndex current = lstTableList->currentIndex();
    return current.isValid() ? current.data().toString() : QString();
}

bool frm_mainkey::selectTableInList(const QString& name) {
    const qsizetype row = m_tableList->names().indexOf(name);
    if (row < 0)
        return false;
    lstTableList->setCurrentIndex(m_tableList->index(int(row), 0));
    return true;
}

QTreeWidgetItem* frm_mainkey::treeNode(const QString& key) const {
    return m_treeNodes.value(key, nullptr);
}

void frm_mainkey::lstTableList_DblClick() {
    selectTable();
}

void frm_mainkey::cmdView_Click() {
    selectTable();
}

void frm_mainkey::selectTable() {
    if (!m_state.objOraDatabase) {
        mnuDBLogIn_Click();
        return;
    }
    const QString table = selectedTableName();
    if (table.isEmpty())
        return;

    frmSearch& busy = busyWindow();
    busy.Form_Load();
    processPendingMessages();
    m_state.strIndexInfoCsv.clear();
    m_state.strIndexInfoTxt.clear();
    m_state.strTableInfoCsv.clear();
    m_state.strTableInfoTxt.clear();
    m_state.strPkTxt.clear();
    closeGridEditor();
    MSFlexGrid1->Clear();
    MSFlexGrid1->setRows(2);
    lblTitle[1]->setText(ui::kTitleTableInfoPrefix + table);
    lblTitle[2]->setText(ui::kTitleIndexInfoPrefix + table);
    tvTreeView->clear();
    m_treeNodes.clear();
    processPendingMessages();

    LoadTableInfo();
    LoadIndexInfo();

    if (m_state.blnCreateViewOpen && setCreateViewText) {
        setCreateViewText(m_state.strCreateTableSql + QStringLiteral("\r\n\r\n") +
                          m_state.strCreateIndexSql);
    }
    busy.Unload();
}

void frm_mainkey::LoadTableInfo() {
    if (!m_state.objOraDatabase) {
        mnuDBLogIn_Click();
        return;
    }
    setPanelText(2, ui::kSearching);
    processPendingMessages();

    catalog::TableInfoResult result =
        catalog::loadTableInfo(*m_state.objOraDatabase, selectedTableName());
    FlexGrid& grid = *MSFlexGrid1;
    // The header is written once the existence check has answered.
    if (result.exists || !result.error) {
        grid.setCols(7);
        const QStringList& headings = catalog::tableInfoHeadings();
        for (int c = 1; c <= 6; ++c)
            grid.setTextMatrix(0, c, headings[c - 1]);
    }
    grid.setRedraw(false);
    for (int j = 1; j <= result.gridRows.size(); ++j)
        grid.AddItem(result.gridRows[j - 1], j);
    if (result.exists && !result.error)
        grid.setRows(grid.Rows() - 1);
    grid.setRedraw(true);

    if (result.error)
        showSqlError(*result.error);
    m_state.strTableInfoCsv = std::move(result.strTableInfoCsv);
    m_state.strTableInfoTxt = std::move(result.strTableInfoTxt);
    m_state.strPkTxt = std::move(result.strPkTxt);
    m_state.strCreateTableSql = std::move(result.strCreateTableSql);
    setPanelText(2, QString());
}

QIcon frm_mainkey::nodeIcon(const QString& image, const QString& selectedImage) {
    const QString key = image + u'/' + selectedImage;
    auto found = m_nodeIcons.constFind(key);
    if (found != m_nodeIcons.constEnd())
        return *found;
    QIcon icon;
    icon.addPixmap(imlIcons.value(image).pixmap(12, 12), QIcon::Normal);
    icon.addPixmap(imlIcons.value(selectedImage).pixmap(12, 12), QIcon::Selected);
    m_nodeIcons.insert(key, icon);
    return icon;
}

void frm_mainkey::LoadIndexInfo() {
    if (!m_state.objOraDatabase) {
        mnuDBLogIn_Click();
        return;
    }
    catalog::IndexInfoResult result =
        catalog::loadIndexInfo(*m_state.objOraDatabase, selectedTableName());
    // The nodes are built away from the tree and go in as one branch per root, so that the tree
    // lays itself out once rather than once per node.
    std::vector<QTreeWidgetItem*> items;
    std::vector<QTreeWidgetItem*> roots;
    items.reserve(result.nodes.size());
    bool anyVisible = false;
    for (const catalog::IndexTreeNode& node : result.nodes) {
        QTreeWidgetItem* parent = node.parent >= 0 ? items[size_t(node.parent)] : nullptr;
        auto* item = new QTreeWidgetItem;
        item->setText(0, node.text);
        item->setIcon(0, nodeIcon(node.image, node.selectedImage));
        items.push_back(item);
        if (parent != nullptr) {
            parent->addChild(item);
        } else {
            roots.push_back(item);
        }
        if (!node.key.isEmpty())
            m_treeNodes.insert(node.key, item);
        anyVisible = anyVisible || node.ensureVisible;
    }
    tvTreeView->setUpdatesEnabled(false);
    for (QTreeWidgetItem* root : roots)
        tvTreeView->addTopLevelItem(root);
    // Every column node is made visible, which opens its index and the table: the whole tree.
    if (anyVisible)
        tvTreeView->expandAll();
    tvTreeView->setUpdatesEnabled(true);

    if (result.error)
        showSqlError(*result.error);
    m_state.strIndexInfoCsv = std::move(result.strIndexInfoCsv);
    m_state.strIndexInfoTxt = std::move(result.strIndexInfoTxt);
    m_state.strCreateIndexSql = std::move(result.strCreateIndexSql);
}

}  // namespace quarnel
