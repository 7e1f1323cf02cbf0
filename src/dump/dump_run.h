// quarnel-dump's work: log on, build the chosen catalogue texts in one read snapshot, write them.
#pragma once

#include "db/data_access.h"
#include "dump/dump_arguments.h"
#include "dump/password_input.h"
#include "schema/load_schema.h"

#include <QIODevice>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

namespace quarnel::dump {

// Exit statuses.
inline constexpr int kExitSuccess = 0;
inline constexpr int kExitFailure = 1;
inline constexpr int kExitBadArguments = 2;

// The usage line and the --help text.
QString usageLine();
QString helpText();

// Where quarnel-dump reads and writes, and how it reaches a database.
struct DumpEnvironment {
    db::SessionFactory createSession;
    // Standard input, read only for --password-stdin.
    InputReader readInput;
    QIODevice& out;
    QIODevice& err;
    // Called just before the password is read; what it returns is released once the line is
    // read. The program's own hides the input of a terminal (password_terminal.h); may be empty.
    std::function<std::shared_ptr<void>()> hideInput;
    // Standard error is a terminal: a whole-schema read shows its progress there on one line.
    bool progressOnErr = false;
};

// "tables read: N of M" on one line of standard error, rewritten as a whole-schema read goes on,
// when standard error is a terminal; ended with a line end when the object goes.
class ProgressLine {
  public:
    explicit ProgressLine(const DumpEnvironment& environment);
    ~ProgressLine();
    ProgressLine(const ProgressLine&) = delete;
    ProgressLine& operator=(const ProgressLine&) = delete;

    // The progress report for a load request: empty when nothing is shown.
    std::function<void(const schema::LoadProgress&)> report();

  private:
    void show(const schema::LoadProgress& progress);

    QIODevice& m_err;
    bool m_enabled;
    int m_lastRead = -1;
    bool m_shown = false;
};

// Logs on with `options` (the password read from the input when options.passwordFromStdin) and
// writes the text to `out` in options.encoding. The whole text is built inside one read snapshot
// of the database; a "schema has changed" failure is tried once more in a new snapshot. Nothing
// reaches `out` unless the whole text was built and encoded; failures, a failed write to `out`
// among them, write one line to `err`. Returns the exit status.
int runDump(const DumpOptions& options, const DumpEnvironment& environment);

// The whole program after the program name: parses `arguments`, answers --help, reports bad
// arguments, and runs.
int dumpMain(const QStringList& arguments, const DumpEnvironment& environment);

}  // namespace quarnel::dump
