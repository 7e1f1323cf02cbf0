#include "db/sqlite_key_names.h"

#include "db/sqlite_ddl.h"

#include <QByteArray>
#include <QHash>
#include <QSet>
#include <QStringList>

#include <sqlite3.h>

#include <algorithm>
#include <atomic>
#include <vector>

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

void bindText(sqlite3_stmt* statement, int index, const QByteArray& text) {
    sqlite3_bind_text(statement, index, text.constData(), int(text.size()), SQLITE_TRANSIENT);
}

QString columnText(sqlite3_stmt* statement, int column) {
    return QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(statement, column)),
                             sqlite3_column_bytes(statement, column));
}

// The key names of one table: its primary key and each UNIQUE constraint's, by SQLite's name for
// the constraint's index.
struct TableKeys {
    KeyNames primary;
    QHash<QString, KeyNames> unique;
};

// The number that ends SQLite's name for the index of a UNIQUE constraint, -1 for none.
int autoIndexNumber(const QString& autoIndexName) {
    bool numeric = false;
    const int number = autoIndexName.section(u'_', -1).toInt(&numeric);
    return numeric ? number : -1;
}

TableKeys computeTableKeys(sqlite3* db, const QByteArray& storedTable, const QString& sql) {
    const QString table = QString::fromUtf8(storedTable);
    const std::vector<KeyConstraint> constraints = keyConstraints(sql);
    Statement lookup =
        prepare(db, "SELECT explicit_index FROM temp.quarnel_taken_names WHERE name = ?1");
    QSet<QString> assigned;
    // -1: free; 0: a constraint's name; 1: an explicit index's name.
    const auto holder = [&](const QString& name) {
        if (!lookup)
            return -1;
        bindText(lookup.get(), 1, name.toUtf8());
        const int found =
            sqlite3_step(lookup.get()) == SQLITE_ROW ? sqlite3_column_int(lookup.get(), 0) : -1;
        sqlite3_reset(lookup.get());
        return found;
    };
    const auto taken = [&](const QString& name) {
        return assigned.contains(name.toUpper()) || holder(name) >= 0;
    };
    const auto explicitIndex = [&](const QString& name) { return holder(name) == 1; };
    const auto remember = [&](const KeyNames& names) {
        assigned.insert(names.constraint.toUpper());
        assigned.insert(names.index.toUpper());
    };

    TableKeys keys;
    QString declaredPrimary;
    for (const KeyConstraint& constraint : constraints) {
        if (constraint.kind == KeyConstraint::Kind::PrimaryKey && !constraint.name.isEmpty()) {
            declaredPrimary = constraint.name;
            break;
        }
    }
    keys.primary = nameKey(declaredPrimary, table + QLatin1String("_PK"), taken, explicitIndex);
    remember(keys.primary);

    struct AutoIndex {
        QString name;
        QStringList columns;
    };
    std::vector<AutoIndex> autoIndexes;
    Statement list = prepare(db,
                             "SELECT i.name, (SELECT group_concat(k.name, char(31))"
                             " FROM pragma_index_info(i.name, 'main') AS k)"
                             " FROM pragma_index_list(?1, 'main') AS i WHERE i.origin = 'u'");
    if (list) {
        bindText(list.get(), 1, storedTable);
        while (sqlite3_step(list.get()) == SQLITE_ROW) {
            autoIndexes.push_back(
                {columnText(list.get(), 0), columnText(list.get(), 1).split(QChar(31))});
        }
    }
    std::sort(autoIndexes.begin(), autoIndexes.end(), [](const AutoIndex& a, const AutoIndex& b) {
        return autoIndexNumber(a.name) < autoIndexNumber(b.name);
    });
    for (const AutoIndex& index : autoIndexes) {
        QString declared;
        for (const KeyConstraint& constraint : constraints) {
            if (constraint.kind == KeyConstraint::Kind::Unique && !constraint.name.isEmpty() &&
                constraint.columns.join(QChar(31)).compare(index.columns.join(QChar(31)),
                                                           Qt::CaseInsensitive) == 0) {
                declared = constraint.name;
                break;
            }
        }
        const int number = autoIndexNumber(index.name);
        const QString generated =
            number >= 0 ? table + QLatin1String("_UK") + QString::number(number) : index.name;
        const KeyNames names = nameKey(declared, generated, taken, explicitIndex);
        remember(names);
        keys.unique.insert(index.name, names);
    }
    return keys;
}

// Tells connections apart for the cache below, also one opened where a closed one was.
std::atomic<quint64> g_connectionSerial{0};

// The last table's names, valid for the same connection while it has changed no row since: every
// refresh of the catalogue changes rows.
struct KeyNameCache {
    quint64 connection = 0;
    sqlite3_int64 changes = -1;
    QByteArray table;
    TableKeys keys;
};

// quarnel_key_name(kind, table, create_table_sql, auto_index_name)
void keyNameFunction(sqlite3_context* context, int, sqlite3_value** args) {
    sqlite3* db = sqlite3_context_db_handle(context);
    const quint64 connection = *static_cast<const quint64*>(sqlite3_user_data(context));
    const QByteArray table(reinterpret_cast<const char*>(sqlite3_value_text(args[1])),
                           sqlite3_value_bytes(args[1]));
    thread_local KeyNameCache cache;
    const sqlite3_int64 changes = sqlite3_total_changes64(db);
    if (cache.connection != connection || cache.changes != changes || cache.table != table) {
        const QString sql =
            QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_value_text(args[2])),
                              sqlite3_value_bytes(args[2]));
        cache = KeyNameCache{connection, changes, table, computeTableKeys(db, table, sql)};
    }
    const QByteArray kind(reinterpret_cast<const char*>(sqlite3_value_text(args[0])));
    QString name;
    if (kind == "P" || kind == "PI") {
        name = kind == "P" ? cache.keys.primary.constraint : cache.keys.primary.index;
    } else {
        const QString autoIndex =
            QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_value_text(args[3])),
                              sqlite3_value_bytes(args[3]));
        const KeyNames names = cache.keys.unique.value(autoIndex, KeyNames{autoIndex, autoIndex});
        name = kind == "U" ? names.constraint : names.index;
    }
    const QByteArray utf8 = name.toUtf8();
    sqlite3_result_text(context, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
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

int installKeyNameFunction(sqlite3* db, QString& error) {
    auto* serial = new quint64(++g_connectionSerial);
    const int rc = sqlite3_create_function_v2(
        db, "quarnel_key_name", 4, SQLITE_UTF8 | SQLITE_DETERMINISTIC | SQLITE_INNOCUOUS, serial,
        keyNameFunction, nullptr, nullptr, [](void* data) { delete static_cast<quint64*>(data); });
    if (rc != SQLITE_OK)
        error = QString::fromUtf8(sqlite3_errmsg(db));
    return rc;
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
                               "SELECT sql FROM temp.quarnel_tables"
                               " WHERE sql LIKE '%CONSTRAINT%' ORDER BY seq");
    Statement insert = prepare(db,
                               "INSERT OR IGNORE INTO temp.quarnel_taken_names"
                               " (name, explicit_index) VALUES (?1, 0)");
    if (!tables || !insert)
        return fail(sqlite3_errcode(db));
    while ((rc = sqlite3_step(tables.get())) == SQLITE_ROW) {
        for (const KeyConstraint& constraint : keyConstraints(columnText(tables.get(), 0))) {
            if (constraint.name.isEmpty())
                continue;
            bindText(insert.get(), 1, constraint.name.toUtf8());
            rc = sqlite3_step(insert.get());
            sqlite3_reset(insert.get());
            if (rc != SQLITE_DONE)
                return fail(rc);
        }
    }
    return rc == SQLITE_DONE ? SQLITE_OK : fail(rc);
}

}  // namespace quarnel::db
