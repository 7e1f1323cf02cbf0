// quarnel-dump's whole-schema outputs: the snapshot file, tbls' schema.json, and the comparison
// with a second schema.
#pragma once

#include "db/data_access.h"
#include "dump/dump_arguments.h"

#include <QIODevice>
#include <QString>

namespace quarnel::dump {

struct DumpEnvironment;

// The exit status of a comparison that found differences.
inline constexpr int kExitDifferences = 3;

// Reads the schema of `database` (the logon of `options`) and writes the outputs `options`
// names; for --compare-with logs on to the second host with `comparePassword`. Failures write one
// line to `err`. Returns the exit status.
int runSchemaOutputs(const DumpOptions& options, const DumpEnvironment& environment,
                     db::Database& database, const QString& comparePassword);

}  // namespace quarnel::dump
