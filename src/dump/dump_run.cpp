#include "dump/dump_run.h"

#include "catalog/index_info.h"
#include "catalog/table_exists.h"
#include "catalog/table_info.h"
#include "catalog/table_list.h"
#include "support/logon_text.h"
#include "support/text_encoding.h"

namespace quarnel::dump {
namespace {

const QString kCrLf = QStringLiteral("\r\n");

using quarnel::wipe;

void wipe(QByteArray& bytes) {
    bytes.fill('\0');
    bytes.clear();
}

// `text` on one line: line breaks become spaces, trailing ones are dropped.
QString oneLine(QString text) {
    text.replace(kCrLf, QStringLiteral(" "));
    text.replace(u'\n', u' ');
    text.replace(u'\r', u' ');
    while (text.endsWith(u' '))
        text.chop(1);
    return text;
}

void writeLine(QIODevice& device, const QString& line) {
    device.write((line + u'\n').toUtf8());
}

void reportFailure(QIODevice& err, const QString& message) {
    writeLine(err, QStringLiteral("quarnel-dump: ") + oneLine(message));
}

// The password line without its LF or CR LF.
QString passwordFrom(QByteArray line) {
    if (line.endsWith('\n'))
        line.chop(line.endsWith("\r\n") ? 2 : 1);
    QString password = QString::fromUtf8(line);
    wipe(line);
    return password;
}

struct Logon {
    std::shared_ptr<db::Session> session;
    std::shared_ptr<db::Database> database;
};

// Opens the database as the logon dialog does; on refusal returns no database and the engine's
// own text in `*error`.
Logon logOn(const DumpOptions& options, QString password, QString* error) {
    Logon logon;
    QString trimmedPassword = trimSpaces(password);
    QString connectString = trimSpaces(options.user) + u'/' + trimmedPassword;
    wipe(trimmedPassword);
    wipe(password);
    try {
        logon.session = db::CreateSession(QLatin1String(db::kSessionClassName));
        logon.database = logon.session->DbOpenDatabase(trimSpaces(options.host), connectString, 3);
    } catch (const db::DbError& failure) {
        *error = failure.description();
    } catch (const std::exception& failure) {
        *error = QString::fromLocal8Bit(failure.what());
    }
    wipe(connectString);
    if (!logon.database) {
        try {
            if (logon.session && logon.session->LastServerErr() != 0)
                *error = logon.session->LastServerErrText();
        } catch (...) {
        }
    }
    return logon;
}

bool needsTableInfo(DumpText text) {
    return text == DumpText::InfoCsv || text == DumpText::InfoTxt || text == DumpText::Pk ||
           text == DumpText::TableDdl || text == DumpText::Ddl;
}

bool needsIndexInfo(DumpText text) {
    return text == DumpText::IndexCsv || text == DumpText::IndexTxt || text == DumpText::IndexDdl ||
           text == DumpText::Ddl;
}

QString unknownTables(const QStringList& missing) {
    return (missing.size() == 1 ? QStringLiteral("no such table: ")
                                : QStringLiteral("no such tables: ")) +
           missing.join(QStringLiteral(", "));
}

// One table's text, appended to `output`; false with `*error` set when it cannot be built.
bool appendTableText(db::Database& database, DumpText text, const QString& table, QString& output,
                     QString* error) {
    const auto failed = [&](const QString& reason) {
        *error = QStringLiteral("reading table %1 failed: %2").arg(table, reason);
        return false;
    };
    catalog::TableInfoResult tableInfo;
    catalog::IndexInfoResult indexInfo;
    if (needsTableInfo(text)) {
        tableInfo = catalog::loadTableInfo(database, table);
        if (tableInfo.error)
            return failed(*tableInfo.error);
        if (!tableInfo.exists) {
            *error = unknownTables({table});
            return false;
        }
    }
    if (needsIndexInfo(text)) {
        indexInfo = catalog::loadIndexInfo(database, table);
        if (indexInfo.error)
            return failed(*indexInfo.error);
        if (!indexInfo.exists) {
            *error = unknownTables({table});
            return false;
        }
    }
    switch (text) {
        case DumpText::List:
            break;
        case DumpText::InfoCsv:
            output += tableInfo.strTableInfoCsv;
            break;
        case DumpText::InfoTxt:
            output += tableInfo.strTableInfoTxt;
            break;
        case DumpText::Pk:
            output += tableInfo.strPkTxt;
            break;
        case DumpText::TableDdl:
            output += tableInfo.strCreateTableSql;
            break;
        case DumpText::IndexCsv:
            output += indexInfo.strIndexInfoCsv;
            break;
        case DumpText::IndexTxt:
            output += indexInfo.strIndexInfoTxt;
            break;
        case DumpText::IndexDdl:
            output += indexInfo.strCreateIndexSql;
            break;
        case DumpText::Ddl:
            output += tableInfo.strCreateTableSql + kCrLf + kCrLf + indexInfo.strCreateIndexSql;
            break;
    }
    return true;
}

}  // namespace

QString usageLine() {
    return QStringLiteral(
        "usage: quarnel-dump --host HOST --user USER [--password-stdin] [--encoding NAME] "
        "[WHAT] [TABLE ...]");
}

QString helpText() {
    return usageLine() + QStringLiteral(R"(

Logs on as Quarnel does and writes the catalogue texts it shows, built by the same code.
  --host HOST        host string; sqlite:PATH opens an SQLite file with the embedded engine
  --user USER        user ID (spaces at either end are dropped, as in the logon dialog)
  --password-stdin   read the password from the first line of standard input; else it is empty
  --encoding NAME    write in NAME instead of UTF-8 (CP932, SHIFT_JIS, EUC-JP, ...); a
                     character that NAME cannot hold is an error, never replaced
WHAT, one of (default --ddl):
  --list       the table list (count line, then one name a line); takes no TABLE
  --info-csv   columns as CSV              --info-txt   columns as tab-separated text
  --pk         primary-key columns         --table-ddl  CREATE TABLE (+ ALTER TABLE ... KEY)
  --index-csv  indexes as CSV              --index-txt  indexes as indented text
  --index-ddl  CREATE INDEX statements     --ddl        table DDL, CR LF CR LF, index DDL
TABLE: names exactly as listed (case matters); none means every table, in list order.
The texts are written one after the other, as built, with their CR LF line ends; nothing is
written unless all of them could be built and encoded.
Exit status: 0 done; 1 logon refused, unknown table, failed query or encoding; 2 bad arguments.
)");
}

std::optional<QString> buildDumpText(db::Database& database, DumpText text,
                                     const QStringList& tables, QString* error) {
    QStringList names = tables;
    if (text == DumpText::List || names.isEmpty()) {
        catalog::TableListResult list = catalog::readTableList(database);
        if (list.error) {
            *error = QStringLiteral("reading the table list failed: ") + *list.error;
            return std::nullopt;
        }
        if (text == DumpText::List)
            return list.strTableListTxt;
        names = list.names.toStringList();
    } else {
        QStringList missing;
        for (const QString& table : names) {
            try {
                if (!missing.contains(table) && !catalog::tableExists(database, table))
                    missing += table;
            } catch (const db::DbError& failure) {
                *error =
                    QStringLiteral("reading table %1 failed: %2").arg(table, failure.description());
                return std::nullopt;
            }
        }
        if (!missing.isEmpty()) {
            *error = unknownTables(missing);
            return std::nullopt;
        }
    }

    QString output;
    for (const QString& table : names) {
        if (!appendTableText(database, text, table, output, error))
            return std::nullopt;
    }
    return output;
}

int runDump(const DumpOptions& options, const LineReader& readLine, QIODevice& out,
            QIODevice& err) {
    if (!isKnownEncoding(options.encoding)) {
        reportFailure(err,
                      QStringLiteral("unknown encoding %1 (see --help)").arg(options.encoding));
        return kExitBadArguments;
    }

    QString error;
    const Logon logon =
        logOn(options, options.passwordFromStdin ? passwordFrom(readLine()) : QString(), &error);
    if (!logon.database) {
        reportFailure(err, QStringLiteral("logon refused: ") + error);
        return kExitFailure;
    }

    const std::optional<QString> text =
        buildDumpText(*logon.database, options.text, options.tables, &error);
    if (!text) {
        reportFailure(err, error);
        return kExitFailure;
    }
    const std::optional<QByteArray> bytes = encodeText(*text, options.encoding, &error);
    if (!bytes) {
        reportFailure(err, QStringLiteral("cannot write the output: ") + error);
        return kExitFailure;
    }
    if (out.write(*bytes) != bytes->size()) {
        reportFailure(err, QStringLiteral("cannot write to standard output: ") + out.errorString());
        return kExitFailure;
    }
    return kExitSuccess;
}

int dumpMain(const QStringList& arguments, const LineReader& readLine, QIODevice& out,
             QIODevice& err) {
    const ParsedArguments parsed = parseDumpArguments(arguments);
    if (!parsed.ok()) {
        reportFailure(err, parsed.error + QStringLiteral(" (see --help)"));
        return kExitBadArguments;
    }
    if (parsed.options.help) {
        out.write(helpText().toUtf8());
        return kExitSuccess;
    }
    return runDump(parsed.options, readLine, out, err);
}

}  // namespace quarnel::dump
