// The window's snapshot commands: saving the connected schema as a snapshot file (File menu), and
// comparing it with a snapshot file (View menu), whose report the window shows and can save.
#pragma once

#include "export/save_file.h"
#include "shell/app_state.h"

#include <QString>

#include <optional>

namespace quarnel {

// Asks for the file through the save dialog (".qsnap" is added to a name without an extension;
// an existing file is replaced only after the overwrite question), reads the whole schema model
// if it is not held yet, and writes the snapshot with a progress dialog and a cancel button. A
// cancel or a failure leaves any older file of that name as it was; a failure is reported.
void SaveSnapshotFile(const SaveContext& context, AppState& state, SaveNames& names);

struct ComparisonReport {
    // The compared snapshot file.
    QString snapshotPath;
    QString text;
    int differences = 0;
};

// Asks for a snapshot file through the open dialog, opens it as a database of its own (the
// connected one is left as it is), reads both schema models with progress and cancel, and
// compares them: the snapshot is side A (the earlier state), the connected schema side B, so what
// was added since the snapshot is reported as added. Nothing when not connected, when the user
// cancelled, or after a failure (reported).
std::optional<ComparisonReport> CompareWithSnapshot(const SaveContext& context, AppState& state,
                                                    SaveNames& names);

// Saves a comparison report as a text file through the save dialog.
void SaveReportFile(const SaveContext& context, SaveNames& names, const QString& text);

}  // namespace quarnel
