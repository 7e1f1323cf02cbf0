// Saving a text to a file: in the system's encoding when it can hold every character of the
// text, otherwise in UTF-8 after a byte-order mark, so that nothing is lost and spreadsheet
// programs still recognise the encoding. The old file is replaced only once the whole new
// content has been written.
#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

namespace quarnel {

// The system's encoding for text files: the ANSI code page on Windows ("CP932" on Japanese
// Windows), UTF-8 elsewhere.
QString systemTextEncoding();

// The bytes written for `text`: in `encoding` when every character can be written in it,
// otherwise the UTF-8 byte-order mark and the text in UTF-8. Nothing when the text cannot be
// written at all (an unpaired surrogate), with the reason in `*error`.
std::optional<QByteArray> encodeForFile(const QString& text, const QString& encoding,
                                        QString* error = nullptr);

// Writes `text` to `path` as encodeForFile gives it, through writeFileSafely (support/safe_file.h):
// the target is replaced only when everything has been written and flushed. Returns the reason
// when the file could not be written; the old file is then unchanged (but for the in-place write
// of a writable file in a folder that refuses new files).
std::optional<QString> writeTextFile(const QString& path, const QString& text,
                                     const QString& encoding);

}  // namespace quarnel
