// What a snapshot file says of the schema it was taken from.
#pragma once

#include "db/data_access.h"
#include "schema/schema.h"

#include <QDateTime>
#include <QString>

#include <optional>

namespace quarnel::schema {

struct SnapshotHeader {
    int version = 0;
    // The source's host string (never a password) and logon user.
    QString host;
    QString user;
    // "Oracle" or "SQLite", and the server's version text where known.
    QString engine;
    QString serverVersion;
    QDateTime readAt;
};

// The header of the snapshot that `database`, opened on the host string `host`, reads; nothing
// when it is a live database.
std::optional<SnapshotHeader> readSnapshotHeader(db::Database& database, const QString& host);

// Fills the source facts of `schema` read from `database` opened on `host`: for a snapshot, the
// user, host, engine, server version and time of reading of the schema it was taken from; for a
// live database, the engine and (for the embedded one) its version.
void describeSource(Schema& schema, db::Database& database, const QString& host);

// How a report names a schema: "USER @ HOST (read TIME)", and for a schema read from a snapshot
// file opened as `openedAs`, that file too.
QString sourceLabel(const Schema& schema, const QString& openedAs);

}  // namespace quarnel::schema
