#include "browse/browse_commands.h"

#include "catalog/ddl_script.h"
#include "catalog/index_info.h"
#include "catalog/table_info.h"
#include "catalog/table_list.h"
#include "schema/snapshot_header.h"
#include "shell/dialogs.h"
#include "shell/ui_texts.h"
#include "support/flex_grid.h"

#include <QTimer>

namespace quarnel {

void setTableInfoHeadings(FlexGrid& grid) {
    const QStringList& headings = catalog::tableInfoHeadings();
    for (int c = 1; c <= headings.size(); ++c)
        grid.setTextMatrix(0, c, headings[c - 1]);
}

BrowseCommands::BrowseCommands(AppState& state, MainView& view) : m_state(state), m_view(view) {}

bool BrowseCommands::databaseOpen() {
    if (m_state.objOraDatabase)
        return true;
    mnuDBLogIn_Click();
    return false;
}

void BrowseCommands::showSqlError(const QString& text) {
    m_state.dialogs->message(m_view.dialogParent(), text, MessageIcon::Critical,
                             ui::kSqlErrorTitle);
}

void BrowseCommands::mnuDBLogIn_Click() {
    m_view.runLogonDialog();
    if (!m_state.blnConnected)
        return;
    m_view.setConnectedMenus(true);
    // A snapshot file says so, with the time it was taken, so it is not taken for the live
    // database.
    const std::optional<schema::SnapshotHeader> snapshot =
        m_state.objOraDatabase
            ? schema::readSnapshotHeader(*m_state.objOraDatabase, m_state.strHostString)
            : std::nullopt;
    m_view.setPanelText(1, snapshot
                               ? ui::kSnapshotPanel.arg(snapshot->readAt.toLocalTime().toString(
                                     QStringLiteral("yyyy/MM/dd HH:mm")))
                               : ui::kConnected);
    m_view.setPanelText(3, m_state.strUserId + QStringLiteral(" / ") + m_state.strHostString);
    LoadTableList();
}

void BrowseCommands::mnuCut_Click() {
    if (m_state.objOraDatabase) {
        try {
            m_state.objOraDatabase->Close();
            m_state.objOraDatabase.reset();
        } catch (const std::exception&) {
            // The database stays set: reported below.
        }
    }
    if (m_state.objOraDatabase) {
        m_state.dialogs->message(m_view.dialogParent(), ui::kDisconnectFailed,
                                 MessageIcon::Information, executableName());
        return;
    }
    m_view.setConnectedMenus(false);
    m_view.setPanelText(1, ui::kDisconnected);
    m_view.setPanelText(3, QString());
    m_view.setPanelText(4, ui::kNoTables);
    m_view.setTableNames({});
    m_state.clearTableTexts();
    m_state.strTableListTxt.clear();
    m_state.schemaModel.reset();
    m_state.strCreateTableSql.clear();
    m_state.strCreateIndexSql.clear();
    // Every cell goes, the headings included, and the grid keeps its two rows.
    FlexGrid& grid = m_view.grid();
    grid.Clear();
    grid.setRows(2);
    m_view.clearTree();
    m_view.setPaneTitles(ui::kTitleTableInfo, ui::kTitleIndexInfo);
    m_shownTable.clear();
    m_state.blnConnected = false;
}

void BrowseCommands::LoadTableList() {
    if (!databaseOpen())
        return;
    m_state.schemaModel.reset();
    m_view.showBusyWindow();
    // The old items leave the list now; their memory is given back at the next pass of the
    // event loop rather than in the middle of the command.
    QTimer::singleShot(0, [old = m_view.takeTableNames()] {});
    m_view.setPanelText(2, ui::kSearching);
    m_view.processPendingMessages();

    catalog::TableListResult result = catalog::readTableList(*m_state.objOraDatabase);
    // The items read before a failure stay in the list.
    m_view.setTableNames(std::move(result.names));
    if (result.error) {
        showSqlError(*result.error);
    } else {
        m_view.setPanelText(4, result.countText);
        m_state.strTableListTxt = std::move(result.strTableListTxt);
    }

    m_state.clearTableTexts();
    m_view.setPanelText(2, QString());
    m_view.hideBusyWindow();
}

void BrowseCommands::selectTable() {
    if (!databaseOpen())
        return;
    const QString table = m_view.selectedTableName();
    if (table.isEmpty())
        return;

    m_view.showBusyWindow();
    m_view.processPendingMessages();
    m_state.clearTableTexts();
    m_view.closeGridEditor();
    // The header row and one empty row, as the table lookup expects them.
    FlexGrid& grid = m_view.grid();
    grid.Clear();
    grid.setRows(2);
    m_view.setPaneTitles(ui::kTitleTableInfoPrefix + table, ui::kTitleIndexInfoPrefix + table);
    m_view.clearTree();
    m_shownTable = table;
    m_view.processPendingMessages();

    LoadTableInfo();
    // Each table starts with its first data cell chosen, whatever was selected before.
    if (grid.Rows() > grid.FixedRows() && grid.Cols() > grid.FixedCols())
        grid.setCurrentCell(grid.FixedRows(), grid.FixedCols());
    LoadIndexInfo();

    if (m_state.blnCreateViewOpen)
        m_view.refreshCreateView(
            catalog::ddlScript(m_state.strCreateTableSql, m_state.strCreateIndexSql));
    m_view.hideBusyWindow();
}

int BrowseCommands::showTableColumn(const QString& table, const QString& column) {
    if (!m_view.selectTableInList(table))
        return 0;
    selectTable();
    if (column.isEmpty() || m_shownTable != table)
        return 0;
    // The grid shows what the database says now: the row is found by the column's name.
    FlexGrid& grid = m_view.grid();
    constexpr int kNameCol = 2;
    for (int row = grid.FixedRows(); row < grid.Rows() && kNameCol < grid.Cols(); ++row) {
        if (grid.TextMatrix(row, kNameCol) == column) {
            grid.setCurrentCell(row, kNameCol);
            return row;
        }
    }
    return 0;
}

void BrowseCommands::LoadTableInfo() {
    if (!databaseOpen())
        return;
    m_view.setPanelText(2, ui::kSearching);
    m_view.processPendingMessages();

    catalog::TableInfoResult result =
        catalog::loadTableInfo(*m_state.objOraDatabase, m_view.selectedTableName());
    FlexGrid& grid = m_view.grid();
    // The header is written once the existence check has answered.
    if (result.exists || !result.error) {
        grid.setCols(7);
        setTableInfoHeadings(grid);
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
    m_view.setPanelText(2, QString());
}

void BrowseCommands::LoadIndexInfo() {
    if (!databaseOpen())
        return;
    catalog::IndexInfoResult result =
        catalog::loadIndexInfo(*m_state.objOraDatabase, m_view.selectedTableName());
    // The nodes read before a failure stay in the tree.
    m_view.addTreeNodes(result.nodes);

    if (result.error)
        showSqlError(*result.error);
    m_state.strIndexInfoCsv = std::move(result.strIndexInfoCsv);
    m_state.strIndexInfoTxt = std::move(result.strIndexInfoTxt);
    m_state.strCreateIndexSql = std::move(result.strCreateIndexSql);
}

}  // namespace quarnel
