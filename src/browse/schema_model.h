// The whole-schema model as the window's commands get it: read with a progress dialog and a
// cancel button on first use, then kept in AppState until disconnect or the next table-list read.
#pragma once

#include "schema/schema.h"
#include "shell/app_state.h"

#include <QStringList>

#include <memory>
#include <optional>

class QWidget;

namespace quarnel {

// The model of every table, read now unless AppState holds it already. Null when no database is
// open, when the user cancelled, or when the read failed (reported as "SQLｴﾗｰ").
std::shared_ptr<const schema::Schema> schemaModel(AppState& state, QWidget* parent);

// The model of `tables` only (every table when none), read now and not kept; as above otherwise.
std::shared_ptr<const schema::Schema> readSchemaModel(AppState& state, QWidget* parent,
                                                      const std::optional<QStringList>& tables);

}  // namespace quarnel
