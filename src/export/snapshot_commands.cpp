#include "export/snapshot_commands.h"

#include "browse/schema_model.h"
#include "db/engines.h"
#include "db/logon.h"
#include "export/save_texts.h"
#include "schema/compare.h"
#include "schema/load_schema.h"
#include "schema/snapshot_header.h"
#include "schema/snapshot_writer.h"
#include "shell/dialogs.h"
#include "shell/ui_texts.h"
#include "support/cd_file.h"
#include "support/line_end.h"
#include "support/text_file.h"

#include <QDir>
#include <QWidget>

namespace quarnel {
namespace {

// Shows the file dialog once with the command's settings; the chosen path, or nothing when the
// user cancelled. The names are remembered as the list saves remember theirs.
std::optional<QString> choosePath(const SaveContext& context, SaveNames& names, FileDialogMode mode,
                                  const QString& title, const QString& filter) {
    clsCDFile d(context.dialogs);
    d.setDialogTitle(title);
    d.setCancelError(true);
    d.sethWnd(context.owner);
    d.setFileName(names.strNextFileName);
    d.setFilter(filter);
    d.setFilterIndex(1);
    d.setInitDir(names.strNextDir.isEmpty() ? firstSaveFolder(context.environment)
                                            : names.strNextDir);
    d.setflags(1024);
    const int answer = mode == FileDialogMode::Open ? d.ShowOpen() : d.ShowSave();
    if (answer != 0 || d.FileTitle().isEmpty()) {
        names.strNextFileName = names.strLastFileName;
        names.strNextDir = names.strLastDir;
        return std::nullopt;
    }
    names.strNextFileName = names.strLastFileName = d.FileTitle();
    names.strNextDir = names.strLastDir =
        d.DirectoryName().isEmpty() ? QString(kPathSeparator) : d.DirectoryName();
    return composePath(d.DirectoryName(), d.FileTitle());
}

// The save dialog until a name is chosen that may be written: `extension` is added to a name
// without one, and an existing file needs a Yes to the overwrite question.
std::optional<QString> chooseSavePath(const SaveContext& context, SaveNames& names,
                                      const QString& title, const QString& filter,
                                      const QString& extension) {
    for (;;) {
        std::optional<QString> path =
            choosePath(context, names, FileDialogMode::Save, title, filter);
        if (!path)
            return std::nullopt;
        if (clsCDFile::GetFileExt(namePart(*path)).isEmpty()) {
            *path += extension;
            names.strNextFileName = names.strLastFileName = namePart(*path);
        }
        if (!context.environment.fileExists(*path) ||
            context.dialogs.askYesNo(context.owner, ui::kOverwriteQuestion, ui::kOverwriteTitle))
            return path;
    }
}

void reportSaveFailure(const SaveContext& context, const QString& path, const QString& reason) {
    context.dialogs.message(
        context.owner, ui::kSaveFailed + kCrLf + QDir::toNativeSeparators(path) + kCrLf + reason,
        MessageIcon::Exclamation, executableName());
}

// The model's header as its source describes it (a snapshot names the schema it was taken from).
schema::Schema sourceOf(const schema::Schema& model, db::Database& database, const QString& host) {
    schema::Schema source;
    source.user = model.user;
    source.host = model.host;
    source.readAt = model.readAt;
    schema::describeSource(source, database, host);
    return source;
}

}  // namespace

void SaveSnapshotFile(const SaveContext& context, AppState& state, SaveNames& names) {
    if (!state.blnConnected || !state.objOraDatabase)
        return;
    const std::optional<QString> path = chooseSavePath(
        context, names, ui::kSnapshotSaveTitle, ui::kSnapshotFileFilter, QStringLiteral(".qsnap"));
    if (!path)
        return;
    const std::shared_ptr<const schema::Schema> model = schemaModel(state, context.owner);
    if (!model)
        return;
    const schema::Schema header = sourceOf(*model, *state.objOraDatabase, state.strHostString);
    std::optional<QString> failure;
    state.dialogs->runLongWork(context.owner, ui::kWritingSnapshot, [&](WorkProgress& progress) {
        try {
            schema::SnapshotWriter writer(*path);
            writer.begin(header);
            const qint64 total = qint64(model->tables.size());
            qint64 done = 0;
            for (const schema::Table& table : model->tables) {
                if (progress.cancelled())
                    return;
                writer.table(table, int(++done));
                progress.set(done, total);
            }
            if (!progress.cancelled())
                writer.finish();
        } catch (const schema::WriteError& error) {
            failure = error.reason();
        } catch (const std::exception& error) {
            failure = QString::fromLocal8Bit(error.what());
        }
    });
    if (failure)
        reportSaveFailure(context, *path, *failure);
}

std::optional<ComparisonReport> CompareWithSnapshot(const SaveContext& context, AppState& state,
                                                    SaveNames& names) {
    if (!state.blnConnected || !state.objOraDatabase)
        return std::nullopt;
    const std::optional<QString> path = choosePath(context, names, FileDialogMode::Open,
                                                   ui::kCompareTitle, ui::kSnapshotFileFilter);
    if (!path)
        return std::nullopt;

    // A database of its own: the connected one stays as it is.
    const QString host = QLatin1String(db::kSqliteHostPrefix) + *path;
    std::shared_ptr<db::Database> other;
    try {
        other = state.sessionFactory(QLatin1String(db::kSessionClassName))
                    ->DbOpenDatabase(host, state.strUserId + u'/', db::kLogonOption);
    } catch (const db::DbError& error) {
        state.dialogs->message(context.owner, ui::kCompareOpenFailed + kCrLf + error.description(),
                               MessageIcon::Exclamation, executableName());
        return std::nullopt;
    }
    if (!schema::readSnapshotHeader(*other, host)) {
        state.dialogs->message(context.owner,
                               ui::kCompareOpenFailed + kCrLf + QDir::toNativeSeparators(*path),
                               MessageIcon::Exclamation, executableName());
        return std::nullopt;
    }
    const std::shared_ptr<const schema::Schema> model = schemaModel(state, context.owner);
    if (!model)
        return std::nullopt;

    std::optional<schema::Schema> saved;
    std::optional<QString> failure;
    const bool finished =
        state.dialogs->runLongWork(context.owner, ui::kReadingSchema, [&](WorkProgress& progress) {
            schema::LoadRequest request;
            request.cancel = &progress.cancel;
            request.progress = [&](const schema::LoadProgress& step) {
                progress.set(step.queriesDone, step.queryCount);
            };
            request.user = state.strUserId;
            request.host = host;
            try {
                saved = schema::loadSchema(*other, request);
                if (saved)
                    schema::describeSource(*saved, *other, host);
            } catch (const db::DbError& error) {
                failure = error.description();
            } catch (const std::exception& error) {
                failure = QString::fromLocal8Bit(error.what());
            }
        });
    other->Close();
    if (failure) {
        state.dialogs->message(context.owner, *failure, MessageIcon::Critical, ui::kSqlErrorTitle);
        return std::nullopt;
    }
    if (!finished || !saved)
        return std::nullopt;

    // The connected side keeps its tables but is named (and its foreign keys' owner read) as its
    // source describes it.
    schema::Schema connected = *model;
    const schema::Schema source = sourceOf(*model, *state.objOraDatabase, state.strHostString);
    connected.user = source.user;
    connected.host = source.host;
    connected.readAt = source.readAt;
    // The snapshot is the earlier state: what the connected schema has that it lacks is "added".
    const schema::Comparison comparison = schema::compareSchemas(*saved, connected);
    return ComparisonReport{
        *path,
        schema::comparisonReport(comparison, schema::sourceLabel(*saved, host),
                                 schema::sourceLabel(connected, state.strHostString),
                                 schema::ReportFormat::Text),
        comparison.differenceCount()};
}

void SaveReportFile(const SaveContext& context, SaveNames& names, const QString& text) {
    const std::optional<QString> path = chooseSavePath(
        context, names, ui::kReportSaveTitle, ui::kReportFileFilter, QStringLiteral(".txt"));
    if (!path)
        return;
    if (const std::optional<QString> reason =
            writeTextFile(*path, text, context.environment.encoding))
        reportSaveFailure(context, *path, *reason);
}

}  // namespace quarnel
