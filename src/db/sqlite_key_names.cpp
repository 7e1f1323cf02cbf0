#include "db/sqlite_key_names.h"

#include "db/sqlite_ddl.h"
#include "db/sqlite_table_facts.h"

#include <QByteArray>

#include <sqlite3.h>

#include <memory>

namespace quarnel::db {
namespace {

struct StatementDeleter {
    void operator()(sqlite3_stmt* statement) const { sqlite3_finalize(statement); }
};
using Statement = std::unique_ptr<sqlite3_stmt, StatementDeleter>;

Statement prepare(sqlite3* db, const char* sql) {
    sqlite3_stmt* statement = nullptr;
    sqlite3_prepare_v2(db, sql, -1, &statement, nullptr);
    return Statement(statement);
}

}  // namespace

KeyNames nameKey(const QString& declared, const QString& generated,
                 const std::function<bool(const QString&)>& taken,
                 const std::function<bool(const QString&)>& explicitIndex) {
    const auto firstFree = [&](const QString& base) {
        QString name = base;
        for (int n = 1; taken(name); ++n)
            name = base + QString::number(n);
        return name;
    };
    if (declared.isEmpty()) {
        const QString name = firstFree(generated);
        return {name, name};
    }
    if (!explicitIndex(declared))
        return {declared, declared};
    QString index = declared;
    for (int n = 1; index == declared || taken(index); ++n)
        index = declared + QString::number(n);
    return {declared, index};
}

int fillTakenNames(sqlite3* db, QString& error) {
    const auto fail = [&](int rc) {
        error = QString::fromUtf8(sqlite3_errmsg(db));
        return rc;
    };
    int rc = sqlite3_exec(db,
                          "DELETE FROM temp.quarnel_taken_names;"
                          "INSERT OR IGNORE INTO temp.quarnel_taken_names (name, explicit_index)"
                          " SELECT name, 1 FROM main.sqlite_master"
                          " WHERE type = 'index' AND sql IS NOT NULL;",
                          nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK)
        return fail(rc);
    // Only a statement that mentions CONSTRAINT declares a name: the others are not parsed.
    Statement tables = prepare(db,
                               "SELECT seq, sql FROM temp.quarnel_tables"
                               " WHERE sql LIKE '%CONSTRAINT%' ORDER BY seq");
    Statement insert = prepare(db,
                               "INSERT INTO temp.quarnel_taken_names"
                               " (name, explicit_index, owner_seq, owner_ordinal)"
                               " VALUES (?1, 0, ?2, ?3) ON CONFLICT (name) DO UPDATE"
                               " SET owner_seq = excluded.owner_seq,"
                               " owner_ordinal = excluded.owner_ordinal WHERE owner_seq IS NULL");
    if (!tables || !insert)
        return fail(sqlite3_errcode(db));
    while ((rc = sqlite3_step(tables.get())) == SQLITE_ROW) {
        const qint64 seq = sqlite3_column_int64(tables.get(), 0);
        const QString sql =
            decodeText(reinterpret_cast<const char*>(sqlite3_column_text(tables.get(), 1)),
                       sqlite3_column_bytes(tables.get(), 1));
        const std::vector<KeyConstraint> constraints = readTableDefinition(sql).constraints;
        for (size_t i = 0; i < constraints.size(); ++i) {
            if (constraints[i].name.isEmpty())
                continue;
            const QByteArray name = constraints[i].name.toUtf8();
            sqlite3_bind_text(insert.get(), 1, name.constData(), int(name.size()),
                              SQLITE_TRANSIENT);
            sqlite3_bind_int64(insert.get(), 2, seq);
            sqlite3_bind_int(insert.get(), 3, int(i));
            rc = sqlite3_step(insert.get());
            sqlite3_reset(insert.get());
            if (rc != SQLITE_DONE)
                return fail(rc);
        }
    }
    return rc == SQLITE_DONE ? SQLITE_OK : fail(rc);
}

}  // namespace quarnel::db
