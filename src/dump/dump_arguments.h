// The command line of quarnel-dump, read into options. The parser is pure: no input, output or
// database.
#pragma once

#include "support/text_encoding.h"

#include <QString>
#include <QStringList>

#include <array>

namespace quarnel::dump {

// Which of the catalogue texts is written.
enum class DumpText {
    List,      // strTableListTxt
    InfoCsv,   // strTableInfoCsv
    InfoTxt,   // strTableInfoTxt
    Pk,        // strPkTxt
    TableDdl,  // strCreateTableSql
    IndexCsv,  // strIndexInfoCsv
    IndexTxt,  // strIndexInfoTxt
    IndexDdl,  // strCreateIndexSql
    Ddl,       // strCreateTableSql + CR LF + CR LF + strCreateIndexSql, as in the DDL window
};

struct DumpTextOption {
    const char* name;
    DumpText text;
};

// The options that choose the text, in the order the help lists them.
inline constexpr std::array<DumpTextOption, 9> kDumpTextOptions{{
    {"--list", DumpText::List},
    {"--info-csv", DumpText::InfoCsv},
    {"--info-txt", DumpText::InfoTxt},
    {"--pk", DumpText::Pk},
    {"--table-ddl", DumpText::TableDdl},
    {"--index-csv", DumpText::IndexCsv},
    {"--index-txt", DumpText::IndexTxt},
    {"--index-ddl", DumpText::IndexDdl},
    {"--ddl", DumpText::Ddl},
}};

// A table-definition document written to a file or folder instead of a text.
enum class DumpDocument { None, Excel, Markdown };

struct DumpOptions {
    // True when --help was given; nothing else is then looked at.
    bool help = false;
    QString host;
    QString user;
    bool passwordFromStdin = false;
    DumpText text = DumpText::Ddl;
    QString encoding = QLatin1String(kDefaultTextEncoding);
    // --definition-xlsx FILE or --definition-md DIR, and --one-sheet.
    DumpDocument document = DumpDocument::None;
    QString documentTarget;
    bool oneSheet = false;
    // The tables named, in command-line order; empty for every table of the list.
    QStringList tables;

    // Whole-schema outputs instead of a text: a snapshot file, tbls' schema.json, and the
    // comparison with a second schema (a host string or a snapshot file) written as a report.
    QString snapshotFile;
    QString tblsJsonFile;
    QString compareHost;
    // The second logon's user ID; the first one's when not given.
    QString compareUser;
    // "text" or "markdown".
    QString compareFormat = QStringLiteral("text");

    bool schemaOutput() const {
        return !snapshotFile.isEmpty() || !tblsJsonFile.isEmpty() || !compareHost.isEmpty();
    }
};

struct ParsedArguments {
    DumpOptions options;
    // Why the arguments cannot be used; empty when they can.
    QString error;

    bool ok() const { return error.isEmpty(); }
};

// Reads the arguments that follow the program name. Options take their value as the next
// argument or after "=" (--host=HOST); "--" ends the options, so table names after it may start
// with "-".
ParsedArguments parseDumpArguments(const QStringList& arguments);

}  // namespace quarnel::dump
