#include "export/copy_commands.h"

#include "browse/main_view.h"
#include "catalog/csv.h"
#include "export/clipboard.h"
#include "shell/app_state.h"
#include "support/flex_grid.h"
#include "support/line_end.h"

#include <algorithm>

namespace quarnel {

bool selectionHasContent(const QString& clip) {
    const QStringView head = QStringView(clip).left(3);
    return std::any_of(head.begin(), head.end(),
                       [](QChar c) { return c != u'\t' && c != u'\n' && c != u'\r'; });
}

QString selectionCsv(const FlexGrid& grid) {
    if (grid.Rows() == 0 || grid.Cols() == 0)
        return {};
    const int r0 = std::min(grid.Row(), grid.RowSel());
    const int r1 = std::max(grid.Row(), grid.RowSel());
    const int c0 = std::min(grid.Col(), grid.ColSel());
    const int c1 = std::max(grid.Col(), grid.ColSel());
    QString csv;
    for (int r = r0; r <= r1; ++r) {
        if (r > r0)
            csv += kCrLf;
        for (int c = c0; c <= c1; ++c) {
            if (c > c0)
                csv += u',';
            csv += catalog::csvField(grid.TextMatrix(r, c));
        }
    }
    return csv;
}

QString treeEntryText(const QString& text) {
    if (text.isEmpty() || text.front() < u'1' || text.front() > u'9')
        return text;
    const qsizetype space = text.indexOf(u' ');
    return space < 0 ? QString() : text.mid(space + 1);
}

CopyCommands::CopyCommands(const AppState& state, Clipboard& clipboard, MainView& view)
    : m_state(state), m_clipboard(clipboard), m_view(view) {}

void CopyCommands::copy(const QString& text) {
    m_clipboard.clear();
    if (!text.isEmpty())
        m_clipboard.setText(text);
}

void CopyCommands::mnuCopyTableName_Click() {
    copy(m_state.blnConnected ? m_view.selectedTableName() : QString());
}

void CopyCommands::mnuCopyAllTableTxt_Click() {
    copy(m_state.strTableListTxt);
}

void CopyCommands::mnuSelectCpCsv_Click() {
    const FlexGrid& grid = m_view.grid();
    copy(selectionHasContent(grid.Clip()) ? selectionCsv(grid) : QString());
}

void CopyCommands::mnuSelectCpTxt_Click() {
    const QString clip = m_view.grid().Clip();
    copy(selectionHasContent(clip) ? clip : QString());
}

void CopyCommands::mnuCopyTableInfoCsv_Click() {
    copy(m_state.strTableInfoCsv);
}

void CopyCommands::mnuCopyTableInfoTxt_Click() {
    copy(m_state.strTableInfoTxt);
}

void CopyCommands::mnuCopyPkTxt_Click() {
    copy(m_state.strPkTxt);
}

void CopyCommands::mnuCopyTableIndexSelect_Click() {
    copy(treeEntryText(m_view.selectedTreeNodeText()));
}

void CopyCommands::mnuCopyTableIndexCsv_Click() {
    copy(m_state.strIndexInfoCsv);
}

void CopyCommands::mnuCopyTableIndexTxt_Click() {
    copy(m_state.strIndexInfoTxt);
}

}  // namespace quarnel
