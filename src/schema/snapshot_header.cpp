#include "schema/snapshot_header.h"

#include "catalog/queries.h"
#include "db/engines.h"

namespace quarnel::schema {

std::optional<SnapshotHeader> readSnapshotHeader(db::Database& database, const QString& host) {
    // Only the embedded engine opens snapshots; an Oracle server is never asked.
    if (!host.startsWith(QLatin1String(db::kSqliteHostPrefix)))
        return std::nullopt;
    try {
        const auto d = database.DbCreateDynaset(
            QStringLiteral("SELECT version, host, username, engine, server_version, read_at"
                           " FROM quarnel_snapshot"),
            catalog::kDictionaryReadOptions);
        if (d->Eof())
            return std::nullopt;
        SnapshotHeader header;
        header.version = d->Fields(0).Value().toInt();
        header.host = d->Fields(1).Value().toString();
        header.user = d->Fields(2).Value().toString();
        header.engine = d->Fields(3).Value().toString();
        header.serverVersion = d->Fields(4).Value().toString();
        header.readAt = QDateTime::fromString(d->Fields(5).Value().toString(), Qt::ISODate);
        return header;
    } catch (const db::DbError&) {
        return std::nullopt;
    }
}

void describeSource(Schema& schema, db::Database& database, const QString& host) {
    if (const std::optional<SnapshotHeader> header = readSnapshotHeader(database, host)) {
        schema.user = header->user;
        schema.host = header->host;
        schema.engine = header->engine;
        schema.serverVersion = header->serverVersion;
        schema.readAt = header->readAt;
        return;
    }
    const bool oracle = !host.startsWith(QLatin1String(db::kSqliteHostPrefix));
    schema.engine = oracle ? QStringLiteral("Oracle") : QStringLiteral("SQLite");
    try {
        const auto d = database.DbCreateDynaset(
            oracle ? catalog::serverVersionSql() : QStringLiteral("SELECT sqlite_version()"),
            catalog::kDictionaryReadOptions);
        if (!d->Eof())
            schema.serverVersion = d->Fields(0).Value().toString();
    } catch (const db::DbError&) {
        // The version is only shown; a schema without it is still whole.
    }
}

QString sourceLabel(const Schema& schema, const QString& openedAs) {
    QString label = schema.user + QStringLiteral(" @ ") + schema.host;
    if (schema.readAt.isValid())
        label += QStringLiteral(" (read ") + schema.readAt.toUTC().toString(Qt::ISODate) + u')';
    if (!openedAs.isEmpty() && openedAs != schema.host)
        label += QStringLiteral(", snapshot ") + openedAs;
    return label;
}

}  // namespace quarnel::schema
