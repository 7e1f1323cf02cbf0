// quarnel-dump's work: log on, build the chosen catalogue texts, write them.
#pragma once

#include "db/data_access.h"
#include "dump/dump_arguments.h"

#include <QByteArray>
#include <QIODevice>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

namespace quarnel::dump {

// Exit statuses.
inline constexpr int kExitSuccess = 0;
inline constexpr int kExitFailure = 1;
inline constexpr int kExitBadArguments = 2;

// Reads one line of standard input with its line end (if any); empty at end of input.
using LineReader = std::function<QByteArray()>;

// The usage line and the --help text.
QString usageLine();
QString helpText();

// The chosen text for `tables`, or for every table of the list, in list order, when `tables` is
// empty: each table's text exactly as the catalogue builds it, one after the other. Returns
// nothing, with the one-line reason in `*error`, when a table does not exist (every named table
// is checked before any text is built) or a query fails.
std::optional<QString> buildDumpText(db::Database& database, DumpText text,
                                     const QStringList& tables, QString* error);

// Logs on with `options`, the password read through `readLine` when options.passwordFromStdin,
// and writes the text to `out` in options.encoding. Nothing reaches `out` unless the whole text
// was built and encoded; failures write one line to `err`. Returns the exit status.
int runDump(const DumpOptions& options, const LineReader& readLine, QIODevice& out, QIODevice& err);

// The whole program after the program name: parses `arguments`, answers --help, reports bad
// arguments with the usage line, and runs.
int dumpMain(const QStringList& arguments, const LineReader& readLine, QIODevice& out,
             QIODevice& err);

}  // namespace quarnel::dump
