// The save commands: the table list, the column list and the index list from the main window's
// File menu (SaveListFile), and the DDL script from the DDL window (SaveDdlFile).
//
// Each shows the save dialog until the user saves or cancels: a name whose extension the command
// does not write re-opens the dialog with ".txt" added, and an existing file is replaced only
// after the overwrite question. Each command remembers the name and folder of its last save.
#pragma once

#include "shell/app_state.h"

#include <QString>

#include <functional>
#include <optional>

class QWidget;

namespace quarnel {

class Dialogs;

// The names one save command remembers: the name and folder proposed next, and those of the
// last file saved. Cancelling the dialog brings the next pair back to the last pair.
struct SaveNames {
    QString strNextFileName;
    QString strLastFileName;
    QString strNextDir;
    QString strLastDir;

    friend bool operator==(const SaveNames&, const SaveNames&) = default;
};

// Where the save commands look and how they write.
struct SaveEnvironment {
    QString programDir;  // the program's own folder: the first folder when it can be written
    QString homeDir;     // the first folder otherwise
    QString encoding;    // the encoding texts are written in (see support/text_file.h)
    // True when a regular file exists at the path; before saving, an existing file is replaced
    // only after the overwrite question.
    std::function<bool(const QString& path)> fileExists;

    // This system's: the executable's folder, the user's home folder, the system encoding.
    static SaveEnvironment system();
};

// The folder the first save dialog opens in: the program's own folder when the user can write
// into it (an installed program's folder usually cannot be), otherwise the home folder.
QString firstSaveFolder(const SaveEnvironment& environment);

// What a save command needs around it: the dialogs it shows, the window that owns them, and the
// environment.
struct SaveContext {
    Dialogs& dialogs;
    QWidget* owner;
    const SaveEnvironment& environment;
};

// The list kinds, as the menu entries pass them, and the formats.
enum ListKind { kTableList = 1, kTableInfo = 2, kIndexInfo = 3 };
enum FileFormat { kCsvFormat = 0, kTxtFormat = 1 };

// The save command of the main window's File menu for one kind (1 table list, 2 columns,
// 3 indexes).
void SaveListFile(const SaveContext& context, const AppState& state, SaveNames& names, int kind);
// Creates or replaces the file at `path` with the kind's text in the format (CSV 0, TXT 1); a
// kind or format outside those leaves the file created and empty. Returns the reason when the
// file could not be written.
std::optional<QString> WriteListFile(const SaveContext& context, const AppState& state,
                                     const QString& path, int kind, int format);

// The DDL window's save command: TXT files only, with the script as `text` gives it.
void SaveDdlFile(const SaveContext& context, SaveNames& names, const QString& text);
// Creates or replaces the file at `path`: with `text` when the format is TXT, else empty.
std::optional<QString> WriteDdlFile(const SaveContext& context, const QString& path, int format,
                                    const QString& text);

}  // namespace quarnel
