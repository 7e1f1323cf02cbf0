#include "app/frm_mainkey_copy.h"

#include "app/copy_key.h"
#include "app/flex_grid_view.h"
#include "app/frm_mainkey.h"
#include "app/qt_clipboard.h"
#include "export/copy_commands.h"

#include <QAction>
#include <QMenu>
#include <QTreeView>
#include <QTreeWidget>

namespace quarnel {
namespace {

// Owns the commands and what they work on; lives as long as the window.
class CopyCommandsHost : public QObject {
  public:
    CopyCommandsHost(frm_mainkey& window, const AppState& state)
        : QObject(&window), m_commands(state, m_clipboard, window) {}

    CopyCommands& commands() { return m_commands; }

  private:
    QtClipboard m_clipboard;
    CopyCommands m_commands;
};

}  // namespace

void connectCopyCommands(frm_mainkey& window, const AppState& state) {
    auto* host = new CopyCommandsHost(window, state);
    // A copy chosen while another command (a lookup) runs does nothing, like every command.
    auto command = [&window, host](QAction* action, void (CopyCommands::*handler)()) {
        QObject::connect(action, &QAction::triggered, host, [&window, host, handler] {
            if (!window.commandRunning())
                (host->commands().*handler)();
        });
    };
    command(window.mnuCopyTableName, &CopyCommands::mnuCopyTableName_Click);
    command(window.mnuCopyAllTableTxt, &CopyCommands::mnuCopyAllTableTxt_Click);
    command(window.mnuSelectCpCsv, &CopyCommands::mnuSelectCpCsv_Click);
    command(window.mnuSelectCpTxt, &CopyCommands::mnuSelectCpTxt_Click);
    command(window.mnuCopyTableInfoCsv, &CopyCommands::mnuCopyTableInfoCsv_Click);
    command(window.mnuCopyTableInfoTxt, &CopyCommands::mnuCopyTableInfoTxt_Click);
    command(window.mnuCopyPkTxt, &CopyCommands::mnuCopyPkTxt_Click);
    command(window.mnuCopyTableIndexSelect, &CopyCommands::mnuCopyTableIndexSelect_Click);
    command(window.mnuCopyTableIndexCsv, &CopyCommands::mnuCopyTableIndexCsv_Click);
    command(window.mnuCopyTableIndexTxt, &CopyCommands::mnuCopyTableIndexTxt_Click);
    // The copy key copies what a user expects of each control: the selected table's name, the
    // grid's selection as text, the tree's entry.
    copyKeyRuns(window.lstTableList, window.mnuCopyTableName);
    copyKeyRuns(window.MSFlexGrid1View, window.mnuSelectCpTxt);
    copyKeyRuns(window.tvTreeView, window.mnuCopyTableIndexSelect);
}

}  // namespace quarnel
