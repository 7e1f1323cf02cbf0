#include "export/save_file.h"

#include "export/save_texts.h"
#include "shell/dialogs.h"
#include "support/cd_file.h"
#include "support/line_end.h"
#include "support/text_file.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QWidget>

namespace quarnel {
namespace {

// The dialog settings of one command and how it writes a chosen file.
struct SaveCommand {
    QString title;
    QString filter;
    // The format for an extension in upper case, or nothing when the command does not write it.
    std::function<std::optional<int>(const QString& extension)> format;
    std::function<std::optional<QString>(const QString& path, int format)> write;
};

// The folder to remember for a chosen file: its folder text, or the root folder, whose folder
// text is empty.
QString rememberedFolder(const QString& directoryName) {
    return directoryName.isEmpty() ? QString(kPathSeparator) : directoryName;
}

void runSaveCommand(const SaveContext& context, SaveNames& names, const SaveCommand& command) {
    // Each turn shows the dialog once; a name that is not written, or a No to the overwrite
    // question, starts the next turn with that name proposed.
    for (;;) {
        clsCDFile d(context.dialogs);
        d.setDialogTitle(command.title);
        d.setCancelError(true);
        d.sethWnd(context.owner);
        d.setFileName(names.strNextFileName);
        d.setFilter(command.filter);
        d.setFilterIndex(1);
        if (!names.strNextDir.isEmpty()) {
            d.setInitDir(names.strNextDir);
        } else {
            const QString folder = firstSaveFolder(context.environment);
            d.setInitDir(folder);
            names.strNextDir = folder;
        }
        d.setflags(1024);
        // A dialog that failed without the cancellation error (it was reported) counts as
        // cancelled too: there is no name to save under.
        if (d.ShowSave() != 0 || d.FileTitle().isEmpty()) {
            names.strNextFileName = names.strLastFileName;
            names.strNextDir = names.strLastDir;
            return;
        }

        const QString name = d.FileTitle();
        const QString folder = rememberedFolder(d.DirectoryName());
        const std::optional<int> format = command.format(clsCDFile::GetFileExt(name).toUpper());
        if (!format) {
            names.strNextFileName = name + QStringLiteral(".txt");
            names.strNextDir = folder;
            continue;
        }
        const QString path = composePath(d.DirectoryName(), name);
        if (context.environment.fileExists(path) &&
            !context.dialogs.askYesNo(context.owner, ui::kOverwriteQuestion, ui::kOverwriteTitle)) {
            names.strNextFileName = name;
            names.strNextDir = folder;
            continue;
        }
        if (const std::optional<QString> reason = command.write(path, *format)) {
            context.dialogs.message(
                context.owner,
                ui::kSaveFailed + kCrLf + QDir::toNativeSeparators(path) + kCrLf + *reason,
                MessageIcon::Exclamation, executableName());
            names.strNextFileName = names.strLastFileName;
            names.strNextDir = names.strLastDir;
            return;
        }
        names.strNextFileName = name;
        names.strLastFileName = name;
        names.strNextDir = folder;
        names.strLastDir = folder;
        return;
    }
}

QString listTitle(int kind) {
    switch (kind) {
        case kTableList:
            return ui::kSaveTitleTableList;
        case kTableInfo:
            return ui::kSaveTitleTableInfo;
        case kIndexInfo:
            return ui::kSaveTitleIndexInfo;
    }
    return QString();
}

QString listText(const AppState& state, int kind, int format) {
    if (format != kCsvFormat && format != kTxtFormat)
        return QString();
    const bool csv = format == kCsvFormat;
    switch (kind) {
        case kTableList:
            return state.strTableListTxt;
        case kTableInfo:
            return csv ? state.strTableInfoCsv : state.strTableInfoTxt;
        case kIndexInfo:
            return csv ? state.strIndexInfoCsv : state.strIndexInfoTxt;
    }
    return QString();
}

}  // namespace

SaveEnvironment SaveEnvironment::system() {
    return {QCoreApplication::applicationDirPath(), QDir::homePath(), systemTextEncoding(),
            [](const QString& path) { return QFileInfo(path).isFile(); }};
}

QString firstSaveFolder(const SaveEnvironment& environment) {
    const QFileInfo program(environment.programDir);
    if (!environment.programDir.isEmpty() && program.isDir() && program.isWritable())
        return QDir::toNativeSeparators(environment.programDir);
    return QDir::toNativeSeparators(environment.homeDir);
}

void SaveListFile(const SaveContext& context, const AppState& state, SaveNames& names, int kind) {
    SaveCommand command;
    command.title = listTitle(kind);
    command.filter = ui::kListFileFilter;
    command.format = [](const QString& extension) -> std::optional<int> {
        if (extension == QLatin1String("CSV"))
            return kCsvFormat;
        if (extension == QLatin1String("TXT"))
            return kTxtFormat;
        return std::nullopt;
    };
    command.write = [&](const QString& path, int format) {
        return WriteListFile(context, state, path, kind, format);
    };
    runSaveCommand(context, names, command);
}

std::optional<QString> WriteListFile(const SaveContext& context, const AppState& state,
                                     const QString& path, int kind, int format) {
    return writeTextFile(path, listText(state, kind, format), context.environment.encoding);
}

void SaveDdlFile(const SaveContext& context, SaveNames& names, const QString& text) {
    SaveCommand command;
    command.title = ui::kSaveTitleDdl;
    command.filter = ui::kDdlFileFilter;
    command.format = [](const QString& extension) -> std::optional<int> {
        if (extension == QLatin1String("TXT"))
            return kTxtFormat;
        return std::nullopt;
    };
    command.write = [&](const QString& path, int format) {
        return WriteDdlFile(context, path, format, text);
    };
    runSaveCommand(context, names, command);
}

std::optional<QString> WriteDdlFile(const SaveContext& context, const QString& path, int format,
                                    const QString& text) {
    return writeTextFile(path, format == kTxtFormat ? text : QString(),
                         context.environment.encoding);
}

}  // namespace quarnel
