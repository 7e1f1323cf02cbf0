#include "dump/dump_run.h"

#include "db/logon.h"
#include "dump/dump_document.h"
#include "dump/dump_schema.h"
#include "dump/dump_text.h"
#include "support/line_end.h"
#include "support/logon_text.h"
#include "support/text_encoding.h"

#include <optional>

namespace quarnel::dump {
namespace {

// `text` on one line: line breaks become spaces, trailing ones are dropped.
QString oneLine(QString text) {
    text.replace(kCrLf, QStringLiteral(" "));
    text.replace(u'\n', u' ');
    text.replace(u'\r', u' ');
    while (text.endsWith(u' '))
        text.chop(1);
    return text;
}

// Writes all of `bytes`; false when the device took less.
bool writeAll(QIODevice& device, const QByteArray& bytes) {
    return device.write(bytes) == bytes.size();
}

void reportFailure(QIODevice& err, const QString& message) {
    writeAll(err, (QStringLiteral("quarnel-dump: ") + oneLine(message) + u'\n').toUtf8());
}

// Writes `bytes` to standard output; on failure says so on `err`. Returns the exit status.
int writeOutput(const DumpEnvironment& environment, const QByteArray& bytes) {
    if (writeAll(environment.out, bytes))
        return kExitSuccess;
    reportFailure(environment.err, QStringLiteral("cannot write to standard output: ") +
                                       environment.out.errorString());
    return kExitFailure;
}

// The chosen text, built inside one read snapshot, with one more try in a new snapshot when the
// schema changed under the first.
DumpTextResult buildInSnapshot(db::Database& database, const DumpOptions& options,
                               const DumpEnvironment& environment) {
    ProgressLine line(environment);
    const std::function<void(const schema::LoadProgress&)> progress = line.report();
    DumpTextResult result;
    for (int attempt = 0; attempt < 2; ++attempt) {
        std::optional<db::ReadSnapshot> snapshot;
        try {
            snapshot.emplace(database);
        } catch (const db::DbError& error) {
            result = {std::nullopt,
                      QStringLiteral("cannot begin a read snapshot: ") + error.description(),
                      isSchemaChange(error.description())};
        }
        if (snapshot)
            result = buildDumpText(database, options.text, options.tables, progress);
        if (result.text || !result.schemaChanged)
            break;
    }
    return result;
}

}  // namespace

ProgressLine::ProgressLine(const DumpEnvironment& environment)
    : m_err(environment.err), m_enabled(environment.progressOnErr) {}

ProgressLine::~ProgressLine() {
    if (m_shown)
        writeAll(m_err, QByteArrayLiteral("\n"));
}

std::function<void(const schema::LoadProgress&)> ProgressLine::report() {
    if (!m_enabled)
        return {};
    return [this](const schema::LoadProgress& progress) { show(progress); };
}

void ProgressLine::show(const schema::LoadProgress& progress) {
    if (progress.tableCount == 0 || progress.tablesRead == m_lastRead)
        return;
    m_lastRead = progress.tablesRead;
    m_shown = true;
    writeAll(m_err, QStringLiteral("\rtables read: %1 of %2")
                        .arg(progress.tablesRead)
                        .arg(progress.tableCount)
                        .toUtf8());
}

QString usageLine() {
    return QStringLiteral(
        "usage: quarnel-dump --host HOST --user USER [--password-stdin] [--encoding NAME] "
        "[WHAT | --snapshot FILE | --tbls-json FILE | --compare-with HOST2] [TABLE ...]");
}

QString helpText() {
    return usageLine() + QStringLiteral(R"(

Logs on as Quarnel does and writes the catalogue texts it shows, built by the same code.
  --host HOST        host string; sqlite:PATH opens an SQLite file with the embedded engine
  --user USER        user ID (spaces at either end are dropped, as in the logon dialog)
  --password-stdin   read the password from the first line of standard input (at most 4096
                     bytes of UTF-8); else it is empty
  --encoding NAME    write in NAME instead of UTF-8 (CP932, SHIFT_JIS, EUC-JP, ...). A character
                     that NAME cannot hold, or that would read back as another one, is an error,
                     never replaced. CP932 only writes the JIS variants 〜‖−¢£¬¥ (U+301C U+2016
                     U+2212 U+00A2 U+00A3 U+00AC U+00A5) as Japanese Windows does: 81 60, 81 61,
                     81 7C, 81 91, 81 92, 81 CA, 5C.
WHAT, one of (default --ddl):
  --list       the table list (count line, then one name a line); takes no TABLE
  --info-csv   columns as CSV              --info-txt   columns as tab-separated text
  --pk         primary-key columns         --table-ddl  CREATE TABLE (+ ALTER TABLE ... KEY)
  --index-csv  indexes as CSV              --index-txt  indexes as indented text
  --index-ddl  CREATE INDEX statements     --ddl        table DDL, CR LF CR LF, index DDL
  --definition-xlsx FILE  the table-definition document (テーブル定義書) as an Excel workbook:
               the sheet テーブル一覧, then one sheet per table; above 1000 tables one sheet
               カラム一覧 with a row per column, plus インデックス一覧 and 制約一覧
  --one-sheet  with --definition-xlsx: that single-sheet layout at any size
  --definition-md DIR     the same document as a folder of Markdown files: README.md with the
               table list, and one file per table
               The file or folder is written under a temporary name beside it and takes its
               place only when complete; an earlier one of that name stays until then.
TABLE: names exactly as listed (case matters); none means every table, in list order.
Line ends are CR LF. One TABLE gives its text exactly as Quarnel holds it. Two or more TABLEs,
or none (every table), give each table's text followed by CR LF unless it already ends with
one, and an empty line between two tables; --pk gives one line per key column instead. The
bytes for the tables A and B:
  text of A, [CR LF], CR LF, text of B, [CR LF]     ([CR LF] only where the text lacks one)
  --pk:  A TAB A_KEY1 CR LF  A TAB A_KEY2 CR LF  B TAB B_KEY1 CR LF
The whole run reads one snapshot of the database. Nothing is written unless every text could
be built and encoded.
Whole-schema outputs (instead of WHAT; TABLEs narrow them to those tables):
  --snapshot FILE      save the schema as a snapshot file; open it later with sqlite:FILE
  --tbls-json FILE     write the schema as tbls' schema.json
  (both may be given; each file is written under a temporary name and renamed when complete)
  --compare-with HOST2 compare the schema with that of HOST2 (a host string, or sqlite:FILE for
                       a snapshot) and write the differences as a report
  --compare-user USER2 the user ID for HOST2 (default: --user); with --password-stdin the
                       second line of standard input is its password
  --compare-format F   text (default) or markdown
Exit status: 0 done (and for --compare-with: no differences); 1 logon refused, unknown table,
failed query, encoding or write; 2 bad arguments or password line; 3 --compare-with found
differences.
)");
}

int runDump(const DumpOptions& options, const DumpEnvironment& environment) {
    if (!isKnownEncoding(options.encoding)) {
        reportFailure(environment.err, QStringLiteral("unknown --encoding name (see --help)"));
        return kExitBadArguments;
    }

    QString password;
    QString comparePassword;
    if (options.passwordFromStdin) {
        // With a second logon the input holds two lines: it is read a byte at a time, so that the
        // first line's reading takes nothing of the second.
        const bool twoLines = !options.compareHost.isEmpty();
        const InputReader byByte = [&environment](char* buffer, qint64) {
            return environment.readInput(buffer, 1);
        };
        const InputReader& reader = twoLines ? byByte : environment.readInput;
        // From a terminal the typed text is not echoed while the lines are read.
        std::shared_ptr<void> hidden = environment.hideInput ? environment.hideInput() : nullptr;
        for (QString* target : {&password, &comparePassword}) {
            if (target == &comparePassword && !twoLines)
                break;
            QString error;
            std::optional<QString> line = readPasswordLine(reader, &error);
            if (!line) {
                wipe(password);
                reportFailure(environment.err, error);
                return kExitBadArguments;
            }
            *target = std::move(*line);
        }
    }
    std::shared_ptr<db::Session> session;
    std::shared_ptr<db::Database> database;
    const db::LogonResult logon = db::logOn(
        environment.createSession, {options.user, password, options.host}, session, database);
    wipe(password);
    if (!logon.connected) {
        wipe(comparePassword);
        reportFailure(environment.err, QStringLiteral("logon refused: ") + logon.failure);
        return kExitFailure;
    }
    // The session is logged off before the program ends, on every path from here; its handles
    // are freed with the database.
    struct LogOffAtEnd {
        db::Database& database;
        ~LogOffAtEnd() {
            try {
                database.Close();
            } catch (const std::exception&) {
                // Nothing is left to report to: the output has been written or refused.
            }
        }
    } logOffAtEnd{*database};
    if (options.schemaOutput()) {
        const int status = runSchemaOutputs(options, environment, *database, comparePassword);
        wipe(comparePassword);
        return status;
    }

    if (options.document != DumpDocument::None)
        return writeDumpDocument(*database, options, environment);
    const DumpTextResult text = buildInSnapshot(*database, options, environment);
    if (!text.text) {
        reportFailure(environment.err, text.error);
        return kExitFailure;
    }
    QString error;
    const std::optional<QByteArray> bytes = encodeText(*text.text, options.encoding, &error);
    if (!bytes) {
        reportFailure(environment.err, QStringLiteral("cannot write the output: ") + error);
        return kExitFailure;
    }
    return writeOutput(environment, *bytes);
}

int dumpMain(const QStringList& arguments, const DumpEnvironment& environment) {
    const ParsedArguments parsed = parseDumpArguments(arguments);
    if (!parsed.ok()) {
        reportFailure(environment.err, parsed.error + QStringLiteral(" (see --help)"));
        return kExitBadArguments;
    }
    if (parsed.options.help)
        return writeOutput(environment, helpText().toUtf8());
    return runDump(parsed.options, environment);
}

}  // namespace quarnel::dump
