#include "browse/schema_model.h"

#include "schema/load_schema.h"
#include "shell/dialogs.h"
#include "shell/ui_texts.h"

namespace quarnel {

std::shared_ptr<const schema::Schema> readSchemaModel(AppState& state, QWidget* parent,
                                                      const std::optional<QStringList>& tables) {
    if (!state.objOraDatabase)
        return nullptr;
    // The database serves the load's thread alone until the dialog returns: the dialog is modal.
    db::Database& database = *state.objOraDatabase;
    schema::LoadRequest request;
    request.tables = tables;
    request.user = state.strUserId;
    request.host = state.strHostString;
    std::optional<schema::Schema> loaded;
    std::optional<QString> failure;
    const bool finished =
        state.dialogs->runLongWork(parent, ui::kReadingSchema, [&](WorkProgress& progress) {
            request.cancel = &progress.cancel;
            request.progress = [&](const schema::LoadProgress& step) {
                progress.set(step.queriesDone, step.queryCount);
            };
            try {
                loaded = schema::loadSchema(database, request);
            } catch (const db::DbError& error) {
                failure = error.description();
            } catch (const std::exception& error) {
                failure = QString::fromLocal8Bit(error.what());
            }
        });
    if (failure) {
        state.dialogs->message(parent, *failure, MessageIcon::Critical, ui::kSqlErrorTitle);
        return nullptr;
    }
    if (!finished || !loaded)
        return nullptr;
    return std::make_shared<const schema::Schema>(std::move(*loaded));
}

std::shared_ptr<const schema::Schema> schemaModel(AppState& state, QWidget* parent) {
    if (!state.schemaModel)
        state.schemaModel = readSchemaModel(state, parent, std::nullopt);
    return state.schemaModel;
}

}  // namespace quarnel
