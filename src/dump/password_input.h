// The password line of quarnel-dump's standard input.
#pragma once

#include <QString>

#include <functional>
#include <optional>

namespace quarnel::dump {

// The longest password line accepted, in bytes, not counting its line end.
inline constexpr qsizetype kMaxPasswordBytes = 4096;

// Reads up to `size` bytes into `buffer`: returns how many, 0 at the end of the input, -1 when the
// input cannot be read.
using InputReader = std::function<qint64(char* buffer, qint64 size)>;

// The first line of the input without its LF or CR LF (a last line without one counts too),
// read in blocks into one fixed buffer that is wiped before returning. Reads at most
// kMaxPasswordBytes + 2 bytes, so an endless input ends too. Returns nothing, with the reason in
// `*error`, when the line is longer than kMaxPasswordBytes, is not UTF-8, or cannot be read.
std::optional<QString> readPasswordLine(const InputReader& read, QString* error);

}  // namespace quarnel::dump
