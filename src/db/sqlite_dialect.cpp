#include "db/sqlite_dialect.h"

#include "db/sqlite_ddl.h"
#include "db/sqlite_key_names.h"

#include <QRegularExpression>

#include <algorithm>

#include <sqlite3.h>

namespace quarnel::db {
namespace {

// The dictionary views. Every view starts from the rows of main.sqlite_master, so that a
// condition on table_name is tested on that row before the pragma functions run for it: a lookup
// of one table costs one pass over the schema table, whatever the number of tables.
//
// Tables are named as stored, but for a name that is not valid UTF-8: the views show it with each
// bad byte replaced (column shown), and the engine keeps the stored bytes (column name) for its own
// queries on the table.
//
// Names reported (sqlite_key_names.h has the rule that keeps them apart):
// - a primary key, as constraint and as index: its CONSTRAINT name, else TABLE_PK;
// - the index SQLite makes for a UNIQUE constraint: the constraint's name, else TABLE_UKn, n being
//   the number that ends SQLite's own name for that index;
// - an indexed expression: SYS_NCnnnnn$ in user_ind_columns, nnnnn being its position in the
//   index, and its text as written in CREATE INDEX in user_ind_expressions, which reads only the
//   indexes whose statement may hold an expression (listed when the catalogue is refreshed), so
//   that joining it costs nothing on a schema of 100,000 tables;
// - the direction of every index column in user_ind_columns.descend, 'ASC' or 'DESC'.
// SQLite's own index for a primary key is reported once, as the primary key. Key columns come in
// key order, read from that index; a table without one has a one-column key (the rowid alias).
constexpr const char* kDictionarySql = R"sql(
CREATE TEMP TABLE quarnel_tables(
  seq INTEGER PRIMARY KEY, name TEXT NOT NULL UNIQUE, shown TEXT NOT NULL, sql TEXT);
CREATE INDEX temp.quarnel_tables_shown ON quarnel_tables(shown);
CREATE TEMP TABLE quarnel_expression_indexes(name TEXT PRIMARY KEY, tbl TEXT, sql TEXT);
CREATE TEMP TABLE quarnel_taken_names(
  name TEXT PRIMARY KEY COLLATE NOCASE, explicit_index INTEGER NOT NULL) WITHOUT ROWID;

CREATE TEMP VIEW user_tables(table_name) AS
SELECT m.shown FROM temp.quarnel_tables AS m ORDER BY m.seq;

CREATE TEMP VIEW user_constraints(constraint_name, table_name, constraint_type) AS
SELECT quarnel_key_name('P', m.name, m.sql, NULL), m.shown, 'P'
  FROM temp.quarnel_tables AS m
 WHERE EXISTS (SELECT 1 FROM pragma_table_info(m.name, 'main') AS c WHERE c.pk > 0)
UNION ALL
SELECT quarnel_key_name('U', m.name, m.sql, i.name), m.shown, 'U'
  FROM temp.quarnel_tables AS m, pragma_index_list(m.name, 'main') AS i
 WHERE i.origin = 'u';

CREATE TEMP VIEW user_cons_columns(constraint_name, table_name, column_name, position) AS
SELECT quarnel_key_name('P', m.name, m.sql, NULL), m.shown, k.name, k.seqno + 1
  FROM temp.quarnel_tables AS m, pragma_index_list(m.name, 'main') AS i,
       pragma_index_info(i.name, 'main') AS k
 WHERE i.origin = 'pk'
UNION ALL
SELECT quarnel_key_name('P', m.name, m.sql, NULL), m.shown, c.name, 1
  FROM temp.quarnel_tables AS m, pragma_table_info(m.name, 'main') AS c
 WHERE c.pk = 1
   AND NOT EXISTS (SELECT 1 FROM pragma_index_list(m.name, 'main') AS x WHERE x.origin = 'pk')
UNION ALL
SELECT quarnel_key_name('U', m.name, m.sql, i.name), m.shown, c.name, c.seqno + 1
  FROM temp.quarnel_tables AS m, pragma_index_list(m.name, 'main') AS i,
       pragma_index_info(i.name, 'main') AS c
 WHERE i.origin = 'u';

CREATE TEMP VIEW user_ind_columns(index_name, table_name, column_name, column_position,
                                  descend) AS
SELECT quarnel_key_name('PI', m.name, m.sql, NULL), m.shown, k.name, k.seqno + 1,
       CASE k.desc WHEN 0 THEN 'ASC' ELSE 'DESC' END
  FROM temp.quarnel_tables AS m, pragma_index_list(m.name, 'main') AS i,
       pragma_index_xinfo(i.name, 'main') AS k
 WHERE i.origin = 'pk' AND k.key = 1
UNION ALL
SELECT quarnel_key_name('PI', m.name, m.sql, NULL), m.shown, c.name, 1, 'ASC'
  FROM temp.quarnel_tables AS m, pragma_table_info(m.name, 'main') AS c
 WHERE c.pk = 1
   AND NOT EXISTS (SELECT 1 FROM pragma_index_list(m.name, 'main') AS x WHERE x.origin = 'pk')
UNION ALL
SELECT CASE i.origin
         WHEN 'u' THEN quarnel_key_name('UI', m.name, m.sql, i.name)
         ELSE i.name END,
       m.shown, coalesce(c.name, printf('SYS_NC%05d$', c.seqno + 1)), c.seqno + 1,
       CASE c.desc WHEN 0 THEN 'ASC' ELSE 'DESC' END
  FROM temp.quarnel_tables AS m, pragma_index_list(m.name, 'main') AS i,
       pragma_index_xinfo(i.name, 'main') AS c
 WHERE i.origin <> 'pk' AND c.key = 1;

CREATE TEMP VIEW user_ind_expressions(index_name, table_name, column_expression,
                                      column_position) AS
SELECT q.name, m.shown, quarnel_index_term(q.sql, c.seqno), c.seqno + 1
  FROM temp.quarnel_expression_indexes AS q
  JOIN temp.quarnel_tables AS m ON m.name = q.tbl,
       pragma_index_xinfo(q.name, 'main') AS c
 WHERE c.key = 1 AND c.cid = -2;
)sql";

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

// quarnel_shown_name(name): `name` with every byte that is not part of valid UTF-8 replaced.
void shownNameFunction(sqlite3_context* context, int, sqlite3_value** args) {
    const auto* bytes = reinterpret_cast<const char*>(sqlite3_value_text(args[0]));
    const int size = sqlite3_value_bytes(args[0]);
    const QByteArray shown = QString::fromUtf8(bytes, size).toUtf8();
    if (shown.size() == size && std::equal(shown.begin(), shown.end(), bytes)) {
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

int installDictionary(sqlite3* db, QString& error) {
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
    if (const int rc = installKeyNameFunction(db, error); rc != SQLITE_OK)
        return rc;
    char* message = nullptr;
    const int rc = sqlite3_exec(db, kDictionarySql, nullptr, nullptr, &message);
    if (rc != SQLITE_OK) {
        error = QString::fromUtf8(message ? message : sqlite3_errmsg(db));
    }
    sqlite3_free(message);
    return rc;
}

int refreshTableCatalogue(sqlite3* db, QString& error) {
    constexpr const char* kRefreshSql = R"sql(
PRAGMA query_only = OFF;
DELETE FROM temp.quarnel_tables;
INSERT INTO temp.quarnel_tables (name, shown, sql)
SELECT name, quarnel_shown_name(name), sql FROM main.sqlite_master
 WHERE type = 'table' AND name NOT LIKE 'sqlite\_%' ESCAPE '\'
 ORDER BY rowid;
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
