// The File menu's 「ﾃｰﾌﾞﾙ定義書の出力(&D)...」 after its dialog: asks for the target with the
// save dialog (extension rule and overwrite question as the saves), reads the model of the chosen
// tables, and writes the document with a progress dialog and a cancel button.
#pragma once

#include "docs/definition_document.h"
#include "export/save_file.h"

#include <optional>

namespace quarnel {

// What the user chose in the dialog.
struct DefinitionChoice {
    // Every table, or only the one selected in the list.
    bool allTables = true;
    docs::DocumentFormat format = docs::DocumentFormat::Excel;
    // The workbook's single-sheet layout at any size.
    bool oneSheet = false;
};

// The target the save dialog gives for `format`: a workbook must end in ".xlsx" (another name
// re-opens the dialog with ".xlsx" added); a folder of Markdown takes any name. An existing file
// or folder is replaced only after the overwrite question. Nothing when cancelled.
std::optional<QString> askDefinitionTarget(const SaveContext& context, SaveNames& names,
                                           docs::DocumentFormat format);

// Writes `schema` to `target` with a progress dialog (tables done of all) and a cancel button.
// A failure is reported as the saves report theirs; a cancel leaves nothing behind. True when
// the document was written.
bool writeDefinitionDocument(const SaveContext& context, const schema::Schema& schema,
                             const DefinitionChoice& choice, const QString& target);

// The whole command after the dialog: `selectedTable` is used when the choice is not every
// table (nothing happens when it is empty).
void OutputDefinitionDocument(const SaveContext& context, AppState& state, SaveNames& names,
                              const DefinitionChoice& choice, const QString& selectedTable);

}  // namespace quarnel
