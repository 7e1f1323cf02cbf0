// The main window's search: the search window, jumps from it to a table and column, and the
// comments shown as tooltips of the table list and of the grid's NAME cells.
#include "app/flex_grid_view.h"
#include "app/frm_mainkey.h"
#include "app/frm_table_search.h"
#include "app/table_list_model.h"
#include "browse/browse_commands.h"
#include "browse/comment_tips.h"
#include "support/flex_grid.h"

#include <QHelpEvent>
#include <QToolTip>

namespace quarnel {

void frm_mainkey::connectSearchCommands() {
    m_commentTips = std::make_unique<CommentTips>(m_state);
    m_tableList->comment = [this](const QString& table) {
        return m_commentTips->tableComment(table, m_browse->shownTable());
    };
    MSFlexGrid1View->viewport()->installEventFilter(this);
}

void frm_mainkey::mnuTableNameS_Click() {
    if (m_searchView == nullptr) {
        m_searchView = new frmTableSearch(m_state, this);
        m_searchView->jump = [this](const QString& table, const QString& column) {
            showSearchHit(table, column);
        };
    }
    m_searchView->Form_Load();
}

void frm_mainkey::showSearchHit(const QString& table, const QString& column) {
    int row = 0;
    runCommand([&] { row = m_browse->showTableColumn(table, column); });
    if (row > 0)
        MSFlexGrid1View->ensureCellVisible(row, MSFlexGrid1->Col());
}

bool frm_mainkey::showGridToolTip(QEvent* event) {
    auto* help = static_cast<QHelpEvent*>(event);
    constexpr int kNameCol = 2;
    const FlexGridView::CellIndex cell = MSFlexGrid1View->cellAt(help->pos());
    const QString& table = m_browse->shownTable();
    QString comment;
    if (cell.col == kNameCol && cell.row >= MSFlexGrid1->FixedRows() && !table.isEmpty()) {
        comment =
            m_commentTips->columnComment(table, MSFlexGrid1->TextMatrix(cell.row, kNameCol), table);
    }
    if (comment.isEmpty())
        QToolTip::hideText();
    else
        QToolTip::showText(help->globalPos(), comment, MSFlexGrid1View->viewport());
    return true;
}

}  // namespace quarnel
