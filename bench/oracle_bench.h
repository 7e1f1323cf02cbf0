// The Oracle engine's share of the benchmark: the table list of the 100,000-table schema read
// through the stand-in client library of the tests.
#pragma once

#include <QString>

namespace quarnel {
struct AppState;
class frm_mainkey;
}  // namespace quarnel

namespace quarnel::bench {

// Prints oracle-table-list-round-trips (fetch calls of one table-list read of the window),
// oracle-table-list-bare (a bare OCI fetch loop over the same library), oracle-table-list-window
// and oracle-table-list-ratio. `standInLib` is the folder of the stand-in library. Returns false
// when the logon or a read fails.
// The stand-in client library's own count of the calls named `name` ("execute", "fetch",
// "commit"), read from the library already loaded from `standInLib`; -1 when it is not loaded.
long standInCounter(const QString& standInLib, const char* name);

bool runOracleTableList(AppState& state, frm_mainkey& window, const QString& schema,
                        const QString& standInLib, int runs);

}  // namespace quarnel::bench
