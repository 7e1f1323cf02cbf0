// The main window's session commands (connect, disconnect) and the table list.
#include "app/frm_mainkey.h"

#include "app/dialogs.h"
#include "app/fdlg_ora_logon.h"
#include "app/frm_search.h"
#include "app/table_list_model.h"
#include "app/ui_texts.h"
#include "catalog/table_list.h"
#include "support/flex_grid.h"

#include <QAction>
#include <QLabel>
#include <QTimer>
#include <QTreeView>
#include <QTreeWidget>

namespace quarnel {

void frm_mainkey::mnuDBLogIn_Click() {
    {
        // A fresh dialog with empty boxes for every connect command.
        fdlgOraLogon logon(m_state, this);
        logon.Form_Load();
        m_state.dialogs->runModal(logon);
    }
    if (!m_state.blnConnected)
        return;
    mnuDBLogIn->setEnabled(false);
    mnuCut->setEnabled(true);
    setPanelText(1, ui::kConnected);
    setPanelText(3, m_state.strUserId + QStringLiteral(" / ") + m_state.strHostString);
    LoadTableList();
}

void frm_mainkey::mnuCut_Click() {
    if (m_state.objOraDatabase) {
        try {
            m_state.objOraDatabase->Close();
            m_state.objOraDatabase.reset();
        } catch (const std::exception&) {
            // The database stays set: reported below.
        }
    }
    if (m_state.objOraDatabase) {
        m_state.dialogs->message(this, ui::kDisconnectFailed, MessageIcon::Information,
                                 executableName());
        return;
    }
    mnuDBLogIn->setEnabled(true);
    mnuCut->setEnabled(false);
    setPanelText(1, ui::kDisconnected);
    setPanelText(3, QString());
    setPanelText(4, ui::kNoTables);
    m_tableList->clear();
    m_state.strIndexInfoCsv.clear();
    m_state.strIndexInfoTxt.clear();
    m_state.strTableListTxt.clear();
    m_state.strTableInfoCsv.clear();
    m_state.strTableInfoTxt.clear();
    m_state.strPkTxt.clear();
    m_state.strCreateTableSql.clear();
    m_state.strCreateIndexSql.clear();
    MSFlexGrid1->Clear();
    MSFlexGrid1->setRows(2);
    tvTreeView->clear();
    m_treeNodes.clear();
    lblTitle[1]->setText(ui::kTitleTableInfo);
    lblTitle[2]->setText(ui::kTitleIndexInfo);
    m_state.blnConnected = false;
}

void frm_mainkey::mnuTableS_Click() {
    LoadTableList();
}

void frm_mainkey::LoadTableList() {
    if (!m_state.objOraDatabase) {
        mnuDBLogIn_Click();
        return;
    }
    frmSearch& busy = busyWindow();
    busy.Form_Load();
    // The old items leave the list now; their memory is given back at the next pass of the
    // event loop rather than in the middle of the command.
    QTimer::singleShot(0, this, [old = m_tableList->takeNames()] {});
    setPanelText(2, ui::kSearching);
    processPendingMessages();

    catalog::TableListResult result = catalog::readTableList(*m_state.objOraDatabase);
    // The items read before a failure stay in the list.
    m_tableList->setNames(std::move(result.names));
    if (result.error) {
        showSqlError(*result.error);
    } else {
        setPanelText(4, result.countText);
        m_state.strTableListTxt = std::move(result.strTableListTxt);
    }

    m_state.strIndexInfoCsv.clear();
    m_state.strIndexInfoTxt.clear();
    m_state.strTableInfoCsv.clear();
    m_state.strTableInfoTxt.clear();
    m_state.strPkTxt.clear();
    setPanelText(2, QString());
    busy.Unload();
}

}  // namespace quarnel
