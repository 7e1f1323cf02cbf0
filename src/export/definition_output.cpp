#include "export/definition_output.h"

#include "browse/schema_model.h"
#include "export/save_texts.h"
#include "shell/dialogs.h"
#include "shell/ui_texts.h"
#include "support/cd_file.h"
#include "support/line_end.h"

#include <QDir>
#include <QFileInfo>
#include <QWidget>

namespace quarnel {

std::optional<QString> askDefinitionTarget(const SaveContext& context, SaveNames& names,
                                           docs::DocumentFormat format) {
    const bool excel = format == docs::DocumentFormat::Excel;
    for (;;) {
        clsCDFile d(context.dialogs);
        d.setDialogTitle(ui::kDefinitionSaveTitle);
        d.setCancelError(true);
        d.sethWnd(context.owner);
        d.setFileName(names.strNextFileName);
        d.setFilter(excel ? ui::kDefinitionExcelFilter : ui::kDefinitionMarkdownFilter);
        d.setFilterIndex(1);
        d.setInitDir(names.strNextDir.isEmpty() ? firstSaveFolder(context.environment)
                                                : names.strNextDir);
        d.setflags(1024);
        if (d.ShowSave() != 0 || d.FileTitle().isEmpty()) {
            names.strNextFileName = names.strLastFileName;
            names.strNextDir = names.strLastDir;
            return std::nullopt;
        }
        const QString name = d.FileTitle();
        const QString folder =
            d.DirectoryName().isEmpty() ? QString(kPathSeparator) : d.DirectoryName();
        names.strNextDir = folder;
        if (excel && clsCDFile::GetFileExt(name).toUpper() != QLatin1String("XLSX")) {
            names.strNextFileName = name + QStringLiteral(".xlsx");
            continue;
        }
        names.strNextFileName = name;
        const QString path = composePath(d.DirectoryName(), name);
        if (QFileInfo::exists(path) &&
            !context.dialogs.askYesNo(context.owner, ui::kOverwriteQuestion, ui::kOverwriteTitle))
            continue;
        names.strLastFileName = name;
        names.strLastDir = folder;
        return path;
    }
}

bool writeDefinitionDocument(const SaveContext& context, const schema::Schema& schema,
                             const DefinitionChoice& choice, const QString& target) {
    std::optional<QString> failure;
    bool written = false;
    const bool finished = context.dialogs.runLongWork(
        context.owner, ui::kWritingDefinition, [&](WorkProgress& progress) {
            schema::WriteProgress control;
            control.cancel = &progress.cancel;
            control.progress = [&](int done, int total) { progress.set(done, total); };
            progress.set(0, qint64(schema.tables.size()));
            try {
                auto writer = docs::makeDefinitionWriter(choice.format, target, choice.oneSheet);
                written = schema::writeSchema(schema, *writer, control);
            } catch (const schema::WriteError& error) {
                failure = error.reason();
            } catch (const std::exception& error) {
                failure = QString::fromLocal8Bit(error.what());
            }
        });
    if (failure) {
        context.dialogs.message(
            context.owner,
            ui::kSaveFailed + kCrLf + QDir::toNativeSeparators(target) + kCrLf + *failure,
            MessageIcon::Exclamation, executableName());
        return false;
    }
    return finished && written;
}

void OutputDefinitionDocument(const SaveContext& context, AppState& state, SaveNames& names,
                              const DefinitionChoice& choice, const QString& selectedTable) {
    if (!state.objOraDatabase || (!choice.allTables && selectedTable.isEmpty()))
        return;
    const std::optional<QString> target = askDefinitionTarget(context, names, choice.format);
    if (!target)
        return;
    const auto model = choice.allTables
                           ? schemaModel(state, context.owner)
                           : readSchemaModel(state, context.owner, QStringList{selectedTable});
    if (!model)
        return;
    writeDefinitionDocument(context, *model, choice, *target);
}

}  // namespace quarnel
