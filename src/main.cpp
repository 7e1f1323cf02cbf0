// Quarnel: a schema browser for Oracle databases.
#include "app/frm_mainkey.h"
#include "app/frm_start.h"
#include "app/qt_dialogs.h"
#include "app/translations.h"
#include "db/library_search.h"
#include "shell/app_state.h"

#include <QApplication>
#include <QPointer>

int main(int argc, char** argv) {
    // Libraries are never looked for in the current folder (the Oracle client is loaded later).
    quarnel::db::removeCurrentFolderFromLibrarySearch();
    QApplication application(argc, argv);
    // The pictures live in the window library, which is linked statically.
    Q_INIT_RESOURCE(resources);
    QApplication::setApplicationName(QStringLiteral("Quarnel"));
    // Lets the desktop match the windows to the installed desktop entry and its icon.
    QGuiApplication::setDesktopFileName(QStringLiteral(QUARNEL_APP_ID));
    quarnel::installQtJapaneseTranslation(application);

    quarnel::QtDialogs dialogs;
    quarnel::AppState state;
    state.dialogs = &dialogs;

    // The start-up window opens the main window once, after its picture has been shown.
    auto* start = new quarnel::frmStart([&state] {
        auto* main = new quarnel::frm_mainkey(state);
        main->Form_Load();
    });
    start->Form_Load();
    return application.exec();
}
