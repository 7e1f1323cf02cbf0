// quarnel-dump's table-definition document: the schema model of the named tables (every table
// when none), written as a workbook or a Markdown folder.
#pragma once

#include "db/data_access.h"
#include "dump/dump_arguments.h"

#include <QIODevice>

namespace quarnel::dump {

struct DumpEnvironment;

// Reads the model in one snapshot, with its progress on a terminal, and writes the document;
// failures (an unknown table, a failed query, a failed write) write one line to standard error.
// Returns the exit status.
int writeDumpDocument(db::Database& database, const DumpOptions& options,
                      const DumpEnvironment& environment);

}  // namespace quarnel::dump
