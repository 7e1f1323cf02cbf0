// The whole-schema load: 100,000 tables of 10 columns read through the Oracle engine on the
// stand-in client library, and the every-table DDL dump of a 20,000-table SQLite file.
#pragma once

#include <QString>

namespace quarnel::bench {

// Prints schema-load-round-trips (executes and fetch calls of one load) and the target it is
// held to, schema-load-bare / schema-load-time / schema-load-ratio (a bare fetch loop over the
// same dictionary queries through the engine, against the load), schema-model-bytes-per-column,
// then sqlite-schema-open, sqlite-all-ddl and sqlite-all-ddl-ratio. The SQLite files are built
// once in `dataDir`. Returns false when a build, logon or read fails.
bool runSchemaLoad(const QString& dataDir, const QString& standInLib, int runs);

}  // namespace quarnel::bench
