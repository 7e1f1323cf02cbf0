#include "app/frm_mainkey_snapshot.h"

#include "app/frm_compare.h"
#include "app/frm_mainkey.h"
#include "app/qt_clipboard.h"
#include "export/snapshot_commands.h"
#include "shell/dialogs.h"
#include "shell/ui_texts.h"

#include <QAction>
#include <QFileInfo>
#include <QMenu>

namespace quarnel {
namespace {

// The names the commands remember for the whole run.
class SnapshotCommandsHost : public QObject {
  public:
    explicit SnapshotCommandsHost(QObject* parent) : QObject(parent) {
        setObjectName(QStringLiteral("snapshotCommands"));
    }

    SaveNames snapshotNames;
    SaveNames compareNames;
    SaveNames reportNames;
    SaveEnvironment environment = SaveEnvironment::system();
    QtClipboard clipboard;
};

}  // namespace

void connectSnapshotCommands(frm_mainkey& window, AppState& state) {
    auto* host = new SnapshotCommandsHost(&window);
    QObject::connect(window.mnuSnapshotSave, &QAction::triggered, host, [&window, &state, host] {
        if (window.commandRunning())
            return;
        SaveSnapshotFile({*state.dialogs, &window, host->environment}, state, host->snapshotNames);
    });
    QObject::connect(window.mnuSchemaCompare, &QAction::triggered, host, [&window, &state, host] {
        if (window.commandRunning())
            return;
        const SaveContext context{*state.dialogs, &window, host->environment};
        const std::optional<ComparisonReport> report =
            CompareWithSnapshot(context, state, host->compareNames);
        if (!report)
            return;
        auto* view = new frmCompare(
            &window,
            ui::kCompareTitle + QStringLiteral(" - ") + QFileInfo(report->snapshotPath).fileName(),
            report->text, host->clipboard, [&state, host, &window](const QString& text) {
                SaveReportFile({*state.dialogs, &window, host->environment}, host->reportNames,
                               text);
            });
        view->show();
    });
}

}  // namespace quarnel
