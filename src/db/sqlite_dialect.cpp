#include "db/sqlite_dialect.h"

#include "db/sqlite_ddl.h"
#include "db/sqlite_dictionary.h"
#include "db/sqlite_key_names.h"

#include <QRegularExpression>

#include <algorithm>

#include <sqlite3.h>

namespace quarnel::db {
namespace {

// The dictionary. The table list is a temporary table of the connection, filled when the
// catalogue is refreshed; the views of one table's columns, keys and indexes are virtual tables
// (sqlite_dictionary.h) that read the table by its stored name.
//
// Tables are named as stored, but for a name that is not valid UTF-8: the views show it with each
// bad byte written as \xHH (column shown), and the engine keeps the stored bytes (column name)
// for its own queries on the table. No two tables share a shown name.
constexpr const char* kDictionarySql = R"sql(
CREATE TEMP TABLE quarnel_tables(
  seq INTEGER PRIMARY KEY, name TEXT NOT NULL UNIQUE, shown VARCHAR2(128) NOT NULL, sql TEXT,
  dropped VARCHAR2(3) NOT NULL DEFAULT 'NO');
CREATE INDEX temp.quarnel_tables_shown ON quarnel_tables(shown);
CREATE INDEX temp.quarnel_tables_nocase ON quarnel_tables(name COLLATE NOCASE);
CREATE TEMP TABLE quarnel_expression_indexes(name TEXT PRIMARY KEY, tbl TEXT, sql TEXT);
CREATE TEMP TABLE quarnel_indexed_tables(tbl TEXT PRIMARY KEY COLLATE NOCASE) WITHOUT ROWID;
CREATE TEMP TABLE quarnel_taken_names(
  name TEXT PRIMARY KEY COLLATE NOCASE, explicit_index INTEGER NOT NULL,
  owner_seq INTEGER, owner_ordinal INTEGER) WITHOUT ROWID;

CREATE TEMP VIEW user_tables(table_name, dropped) AS
SELECT m.shown, m.dropped FROM temp.quarnel_tables AS m ORDER BY m.seq;
)sql";

// `name` as the views show it: valid UTF-8 unchanged, each other byte as \xHH.
QByteArray shownName(const char* name, int size) {
    const auto* bytes = reinterpret_cast<const unsigned char*>(name);
    const auto continuation = [&](int at, unsigned char low = 0x80, unsigned char high = 0xBF) {
        return at < size && bytes[at] >= low && bytes[at] <= high;
    };
    QByteArray shown;
    shown.reserve(size);
    for (int i = 0; i < size;) {
        const unsigned char lead = bytes[i];
        int length = 0;
        if (lead < 0x80) {
            length = 1;
        } else if (lead >= 0xC2 && lead <= 0xDF) {
            length = continuation(i + 1) ? 2 : 0;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            const unsigned char low = lead == 0xE0 ? 0xA0 : 0x80;
            const unsigned char high = lead == 0xED ? 0x9F : 0xBF;
            length = continuation(i + 1, low, high) && continuation(i + 2) ? 3 : 0;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            const unsigned char low = lead == 0xF0 ? 0x90 : 0x80;
            const unsigned char high = lead == 0xF4 ? 0x8F : 0xBF;
            length = continuation(i + 1, low, high) && continuation(i + 2) && continuation(i + 3)
                         ? 4
                         : 0;
        }
        if (length == 0) {
            shown += "\\x" + QByteArray::number(lead, 16).toUpper().rightJustified(2, '0');
            ++i;
        } else {
            shown.append(name + i, length);
            i += length;
        }
    }
    return shown;
}

QString argText(sqlite3_value* value) {
    const auto* text = reinterpret_cast<const char*>(sqlite3_value_text(value));
    return text ? QString::fromUtf8(text, sqlite3_value_bytes(value)) : QString();
}

void resultText(sqlite3_context* context, const QString& text) {
    if (text.isEmpty()) {
        sqlite3_result_null(context);
        return;
    }
    const QByteArray utf8 = text.toUtf8();
    sqlite3_result_text(context, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
}

// quarnel_shown_name(name)
void shownNameFunction(sqlite3_context* context, int, sqlite3_value** args) {
    const auto* bytes = reinterpret_cast<const char*>(sqlite3_value_text(args[0]));
    const int size = sqlite3_value_bytes(args[0]);
    const QByteArray shown = shownName(bytes, size);
    if (shown.size() == size) {
        sqlite3_result_value(context, args[0]);
        return;
    }
    sqlite3_result_text(context, shown.constData(), int(shown.size()), SQLITE_TRANSIENT);
}

// quarnel_may_index_expression(create_index_sql)
void mayIndexExpressionFunction(sqlite3_context* context, int, sqlite3_value** args) {
    sqlite3_result_int(context, mayIndexExpression(argText(args[0])) ? 1 : 0);
}

// quarnel_index_term(create_index_sql, position)
void indexTermFunction(sqlite3_context* context, int, sqlite3_value** args) {
    resultText(context, indexTerm(argText(args[0]), sqlite3_value_int(args[1])));
}

}  // namespace

int installDictionary(sqlite3* db, const QString& user, QString& error) {
    struct Function {
        const char* name;
        int arguments;
        void (*call)(sqlite3_context*, int, sqlite3_value**);
    };
    constexpr Function functions[] = {
        {"quarnel_index_term", 2, indexTermFunction},
        {"quarnel_shown_name", 1, shownNameFunction},
        {"quarnel_may_index_expression", 1, mayIndexExpressionFunction},
    };
    constexpr int flags = SQLITE_UTF8 | SQLITE_DETERMINISTIC | SQLITE_INNOCUOUS;
    for (const Function& function : functions) {
        const int rc =
            sqlite3_create_function_v2(db, function.name, function.arguments, flags, nullptr,
                                       function.call, nullptr, nullptr, nullptr);
        if (rc != SQLITE_OK) {
            error = QString::fromUtf8(sqlite3_errmsg(db));
            return rc;
        }
    }
    const QByteArray owner = user.isEmpty() ? QByteArray("MAIN") : user.toUpper().toUtf8();
    QByteArray quoted = owner;
    quoted.replace('\'', "''");
    const QByteArray sql = QByteArray(kDictionarySql) +
                           "CREATE TEMP VIEW user_users(username) AS SELECT '" + quoted + "';";
    char* message = nullptr;
    const int rc = sqlite3_exec(db, sql.constData(), nullptr, nullptr, &message);
    if (rc != SQLITE_OK) {
        error = QString::fromUtf8(message ? message : sqlite3_errmsg(db));
    }
    sqlite3_free(message);
    if (rc != SQLITE_OK)
        return rc;
    return installDictionaryTables(db, owner, error);
}

int refreshTableCatalogue(sqlite3* db, QString& error) {
    constexpr const char* kRefreshSql = R"sql(
PRAGMA query_only = OFF;
DELETE FROM temp.quarnel_tables;
INSERT INTO temp.quarnel_tables (name, shown, sql)
SELECT name, quarnel_shown_name(name), sql FROM main.sqlite_master
 WHERE type = 'table' AND name NOT LIKE 'sqlite\_%' ESCAPE '\'
 ORDER BY rowid;
UPDATE temp.quarnel_tables AS t SET shown = t.shown || '\#' || t.seq
 WHERE EXISTS (SELECT 1 FROM temp.quarnel_tables AS u WHERE u.shown = t.shown AND u.seq < t.seq);
DELETE FROM temp.quarnel_indexed_tables;
INSERT OR IGNORE INTO temp.quarnel_indexed_tables (tbl)
SELECT tbl_name FROM main.sqlite_master WHERE type = 'index';
DELETE FROM temp.quarnel_expression_indexes;
INSERT INTO temp.quarnel_expression_indexes (name, tbl, sql)
SELECT name, tbl_name, sql FROM main.sqlite_master
 WHERE type = 'index' AND sql IS NOT NULL AND quarnel_may_index_expression(sql);
)sql";
    char* message = nullptr;
    int rc = sqlite3_exec(db, kRefreshSql, nullptr, nullptr, &message);
    if (rc != SQLITE_OK) {
        error = QString::fromUtf8(message ? message : sqlite3_errmsg(db));
    }
    sqlite3_free(message);
    if (rc == SQLITE_OK)
        rc = fillTakenNames(db, error);
    if (rc == SQLITE_OK)
        rc = sqlite3_exec(db, "PRAGMA query_only = ON;", nullptr, nullptr, nullptr);
    return rc;
}

int schemaVersion(sqlite3* db, int& version) {
    sqlite3_stmt* query = nullptr;
    int rc = sqlite3_prepare_v2(db, "PRAGMA main.schema_version", -1, &query, nullptr);
    if (rc == SQLITE_OK) {
        rc = sqlite3_step(query);
        if (rc == SQLITE_ROW) {
            version = sqlite3_column_int(query, 0);
            rc = SQLITE_OK;
        }
    }
    sqlite3_finalize(query);
    return rc;
}

std::optional<QString> describedTable(const QString& sql) {
    static const char* const pattern =
        R"re(^\s*SELECT\s+\*\s+FROM\s+(?:"((?:[^"]|"")+)"|([^\s".;()]+))\s+)re"
        R"re(WHERE\s+ROWNUM\s*<\s*1\s*;?\s*$)re";
    static const QRegularExpression describe(QString::fromLatin1(pattern),
                                             QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch match = describe.match(sql);
    if (!match.hasMatch())
        return std::nullopt;
    if (match.hasCaptured(1))
        return match.captured(1).replace(QStringLiteral("\"\""), QStringLiteral("\""));
    return match.captured(2);
}

QByteArray storedTableName(sqlite3* db, const QString& shown) {
    QByteArray stored = shown.toUtf8();
    sqlite3_stmt* query = nullptr;
    if (sqlite3_prepare_v2(db, "SELECT name FROM temp.quarnel_tables WHERE shown = ?1 ORDER BY seq",
                           -1, &query, nullptr) == SQLITE_OK) {
        const QByteArray key = stored;
        sqlite3_bind_text(query, 1, key.constData(), int(key.size()), SQLITE_STATIC);
        if (sqlite3_step(query) == SQLITE_ROW) {
            stored = QByteArray(reinterpret_cast<const char*>(sqlite3_column_text(query, 0)),
                                sqlite3_column_bytes(query, 0));
        }
    }
    sqlite3_finalize(query);
    return stored;
}

QByteArray describeStatement(const QByteArray& storedName) {
    QByteArray quoted = storedName;
    quoted.replace('"', "\"\"");
    return "SELECT * FROM main.\"" + quoted + "\" LIMIT 0";
}

QString rewriteRowNumLimit(const QString& sql) {
    static const QRegularExpression rowNum(
        QStringLiteral(R"(^(.*\S)\s+WHERE\s+ROWNUM\s*(<=?)\s*(\d{1,9})\s*;?\s*$)"),
        QRegularExpression::CaseInsensitiveOption | QRegularExpression::DotMatchesEverythingOption);
    const QRegularExpressionMatch match = rowNum.match(sql);
    if (!match.hasMatch())
        return sql;
    const int bound = match.captured(3).toInt();
    const int limit = match.captured(2) == u"<=" ? bound : std::max(0, bound - 1);
    return match.captured(1) + QStringLiteral(" LIMIT %1").arg(limit);
}

}  // namespace quarnel::db
