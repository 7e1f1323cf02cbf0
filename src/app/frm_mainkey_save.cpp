// The main window's save commands and its DDL window: the File menu's three save entries, the
// View menu's "ｸﾘｴｲﾄ文画面", and the DDL window's refresh after a table selection.
#include "app/frm_create.h"
#include "app/frm_definition.h"
#include "app/frm_mainkey.h"
#include "app/qt_clipboard.h"
#include "export/save_file.h"
#include "shell/dialogs.h"

#include <QAction>
#include <QPointer>

namespace quarnel {
namespace {

// What the save commands keep for the whole run: the list saves' names (the main window's),
// the DDL saves' names (the DDL window's, kept across its openings), and the DDL window itself.
class SaveCommands : public QObject {
  public:
    explicit SaveCommands(QObject* parent) : QObject(parent) {
        setObjectName(QStringLiteral("saveCommands"));
    }

    SaveNames listNames;
    SaveNames ddlNames;
    // The document's names and the choices of its dialog's last run.
    SaveNames definitionNames;
    DefinitionChoice definitionChoice;
    SaveEnvironment environment = SaveEnvironment::system();
    QtClipboard clipboard;
    QPointer<frmCreate> createView;
};

SaveCommands* saveCommandsOf(const QObject* window) {
    // The window has exactly one child of this name, made by connectSaveCommands.
    return static_cast<SaveCommands*>(
        window->findChild<QObject*>(QStringLiteral("saveCommands"), Qt::FindDirectChildrenOnly));
}

}  // namespace

void frm_mainkey::connectSaveCommands() {
    new SaveCommands(this);
    const std::pair<QAction*, int> saves[] = {{mnuSaveAllTable, kTableList},
                                              {mnuSaveInfoTable, kTableInfo},
                                              {mnuSaveTableIndex, kIndexInfo}};
    for (const auto& [action, kind] : saves) {
        connect(action, &QAction::triggered, this,
                [this, kind = kind] { runCommand([this, kind] { SaveListFile(kind); }); });
    }
    connect(mnuDefinition, &QAction::triggered, this,
            [this] { runCommand([this] { mnuDefinition_Click(); }); });
    connect(mnuViewCr, &QAction::triggered, this,
            [this] { runCommand([this] { mnuViewCr_Click(); }); });
    setCreateViewText = [this](const QString& text) {
        if (frmCreate* view = createView())
            view->setScript(text);
    };
}

void frm_mainkey::SaveListFile(int kind) {
    SaveCommands* commands = saveCommandsOf(this);
    const SaveContext context{*m_state.dialogs, this, commands->environment};
    quarnel::SaveListFile(context, m_state, commands->listNames, kind);
}

void frm_mainkey::mnuDefinition_Click() {
    if (!m_state.blnConnected)
        return;
    SaveCommands* commands = saveCommandsOf(this);
    const QString selected = selectedTableName();
    frmDefinition dialog(this, !selected.isEmpty(), commands->definitionChoice);
    m_state.dialogs->runModal(dialog);
    const std::optional<DefinitionChoice> choice = dialog.choice();
    if (!choice)
        return;
    commands->definitionChoice = *choice;
    const SaveContext context{*m_state.dialogs, this, commands->environment};
    OutputDefinitionDocument(context, m_state, commands->definitionNames, *choice, selected);
}

void frm_mainkey::mnuViewCr_Click() {
    SaveCommands* commands = saveCommandsOf(this);
    if (commands->createView && m_state.blnCreateViewOpen) {
        commands->createView->activateWindow();
        return;
    }
    if (!commands->createView) {
        commands->createView = new frmCreate(m_state, this, mnuViewCr, commands->ddlNames,
                                             commands->clipboard, commands->environment);
    }
    commands->createView->Form_Load();
    commands->createView->show();
    mnuViewCr->setEnabled(false);
}

frmCreate* frm_mainkey::createView() const {
    const SaveCommands* commands = saveCommandsOf(this);
    return commands != nullptr ? commands->createView.data() : nullptr;
}

void frm_mainkey::closeCreateView() {
    if (frmCreate* view = createView(); view != nullptr && m_state.blnCreateViewOpen)
        view->close();
}

}  // namespace quarnel
