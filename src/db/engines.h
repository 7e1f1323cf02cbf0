// The engines behind the data access component.
#pragma once

#include "db/data_access.h"

namespace quarnel::db {

// A refusal by the "server" (a database that cannot be opened, a logon that is refused): the
// session records number and text as its last server error before passing the failure on.
class ServerRefusal : public DbError {
  public:
    ServerRefusal(const QString& text, int number) : DbError(text, number) {}
};

// Host strings of this form open the embedded engine on the SQLite file that follows the prefix.
inline constexpr const char* kSqliteHostPrefix = "sqlite:";

// How the embedded engine treats a database file that other programs use at the same time.
struct SqliteOptions {
    // The logon's user ID: the dictionary reports it, upper-cased, as the owner of every table.
    QString userName;
    // How long a read waits for another program's lock before it fails with "database is locked".
    int busyTimeoutMs = 5000;
    // Called before each attempt to start a read snapshot; a DbError it throws counts as that
    // attempt's failure. For tests.
    std::function<void()> beforeSnapshotAttempt;
};

// Opens the SQLite database file at `path` read-only and answers Oracle's dictionary reads over
// it. Throws ServerRefusal for a missing file or one that is not an SQLite database. An empty
// file is an empty database.
std::shared_ptr<Database> OpenSqliteDatabase(const QString& path,
                                             const SqliteOptions& options = {});

// Logs on to an Oracle database through the Oracle client library found at run time. Throws
// ServerRefusal when the server refuses, DbError when no client library can be used.
std::shared_ptr<Database> OpenOracleDatabase(const QString& host, const QString& user,
                                             const QString& password);

}  // namespace quarnel::db
