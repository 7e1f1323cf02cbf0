// An output file or folder written under a temporary name beside its target and put in place
// whole: a cancel, a failure or a full disk leaves any earlier file of the target's name as it
// was. Used for the outputs that a library writes to a path itself (a workbook, an SQLite file, a
// folder of Markdown files).
#pragma once

#include <QString>

#include <optional>

namespace quarnel {

class StagedOutput {
  public:
    enum class Kind { File, Folder };

    StagedOutput(const QString& target, Kind kind);
    // Removes the temporary file or folder unless commit() put it in place.
    ~StagedOutput();
    StagedOutput(const StagedOutput&) = delete;
    StagedOutput& operator=(const StagedOutput&) = delete;

    // Chooses the temporary path beside the target (a folder is created there). Returns the
    // reason when the target's folder cannot take it.
    std::optional<QString> prepare();
    // Where to write: valid after a successful prepare().
    const QString& temporaryPath() const { return m_temporary; }
    // Flushes what was written to the disk and puts it in place of the target. Returns the
    // reason when that failed; the target is then unchanged.
    std::optional<QString> commit();

  private:
    QString m_target;
    Kind m_kind;
    QString m_temporary;
    bool m_committed = false;
};

// Flushes the file at `path` to the disk; the reason when that failed.
std::optional<QString> syncFile(const QString& path);

}  // namespace quarnel
