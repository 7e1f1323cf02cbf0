// Writing texts in a named character encoding (UTF-8, CP932 / Shift_JIS, EUC-JP, ...).
//
// Encoding never substitutes: a character that the encoding cannot hold is a failure that names
// the character and where it stands in the text.
#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

namespace quarnel {

// The encoding used when none is named.
inline constexpr const char* kDefaultTextEncoding = "UTF-8";

// True when texts can be written in the encoding called `encodingName` (names as the C library's
// iconv knows them, case-insensitive: "UTF-8", "CP932", "SHIFT_JIS", "EUC-JP", ...).
bool isKnownEncoding(const QString& encodingName);

// `text` in the encoding `encodingName`. Returns nothing, and sets `*error` when given, when the
// name is unknown or a character cannot be written in the encoding: the message names the
// character (as U+XXXX and itself) and its line and column, counted from 1 in characters with
// CR LF, LF or CR ending a line. An unpaired UTF-16 surrogate is such a character in every
// encoding.
std::optional<QByteArray> encodeText(const QString& text, const QString& encodingName,
                                     QString* error = nullptr);

}  // namespace quarnel
