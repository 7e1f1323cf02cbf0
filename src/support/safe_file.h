// Writing a whole file so that a failure never costs the old one.
//
// Every file Quarnel writes goes through writeFileSafely: the bytes go to a new file beside the
// target, every write is checked, the data is flushed to the disk (fsync) and checked, and only
// then does the new file take the target's name in one rename. Any failure removes the new file,
// leaves the target byte for byte as it was, and answers the system's own reason ("No space left
// on device", "File too large", ...).
//
// One exception, because the user expects the save to work: when the folder refuses a new file
// but the target exists and may be written (a file of the user's in a folder that is not), the
// target itself is emptied and written in place. A failure there is still reported, but the old
// bytes are gone by then.
#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

namespace quarnel {

// Creates or replaces the file at `path` with `bytes`. Nothing on success; otherwise the reason,
// in the system's words, possibly after a short phrase saying which step failed.
std::optional<QString> writeFileSafely(const QString& path, const QByteArray& bytes);

}  // namespace quarnel
