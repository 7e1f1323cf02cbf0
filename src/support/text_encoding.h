// Writing texts in a named character encoding (UTF-8, CP932 / Shift_JIS, EUC-JP, ...).
//
// This is the one routine through which every text leaves the program in an encoding other than
// its own (quarnel-dump's output, saved files). Its rule:
//
// - The bytes written read back, in the same encoding, as exactly the text given. A character
//   that the encoding cannot hold, or that it would write as the code of another character (the
//   C library's converters map some characters silently to look-alikes), is a failure that
//   names the character and where it stands in the text. Nothing is ever substituted or dropped.
//   On Windows the same rule is kept over the code-page API, with no best-fit characters.
// - The one exception is CP932 (also called WINDOWS-31J, MS932): the seven well-known JIS
//   variant pairs count as writable there and are written as Japanese Windows writes them, so a
//   text typed on a Unix desktop saves as the same bytes as one typed on Windows:
//       U+301C 〜 -> 81 60    U+2016 ‖ -> 81 61    U+2212 − -> 81 7C    U+00A2 ¢ -> 81 91
//       U+00A3 £ -> 81 92    U+00AC ¬ -> 81 CA    U+00A5 ¥ -> 5C
//   (those codes read back as their Windows look-alikes ～ ∥ － ￠ ￡ ￢ and the backslash). In
//   every other encoding, SHIFT_JIS included, these characters follow the general rule.
#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

namespace quarnel {

// The encoding used when none is named.
inline constexpr const char* kDefaultTextEncoding = "UTF-8";

// True when texts can be written in the encoding called `encodingName` (case-insensitive: "UTF-8",
// "CP932", "SHIFT_JIS", "EUC-JP", ...): on Linux any name the C library's iconv knows, on Windows
// the names of support/windows_code_pages.h.
bool isKnownEncoding(const QString& encodingName);

// True when `encodingName` names CP932 under any of its names (case-insensitive).
bool isCp932(const QString& encodingName);

// `text` in the encoding `encodingName`, under the rule above; no byte-order mark is added.
// Returns nothing, and sets `*error` when given, when the name is unknown or a character cannot
// be written in the encoding: the message names the character (as U+XXXX and itself) and its
// line and column, counted from 1 in characters with CR LF, LF or CR ending a line, and for a
// character that would change, what it would read back as. An unpaired UTF-16 surrogate is such
// a character in every encoding. Safe to call from any thread.
std::optional<QByteArray> encodeText(const QString& text, const QString& encodingName,
                                     QString* error = nullptr);

}  // namespace quarnel
