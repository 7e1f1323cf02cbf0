#include "db/sqlite_snapshot.h"

#include "db/dynaset_errors.h"

#include <QList>
#include <QStringList>

#include <vector>

#include <sqlite3.h>

namespace quarnel::db {
namespace {

// Version 1. The dictionary tables carry the columns of Oracle's views that the program reads;
// quarnel_describe one row per column with what the describe query reported of it.
constexpr const char* kSchemaSql = R"sql(
CREATE TABLE quarnel_snapshot(
  format TEXT NOT NULL, version INTEGER NOT NULL, host TEXT, username TEXT, engine TEXT,
  server_version TEXT, read_at TEXT);
CREATE TABLE user_users(username TEXT);
CREATE TABLE user_tables(table_name TEXT, dropped TEXT);
CREATE TABLE user_tab_comments(table_name TEXT, table_type TEXT, comments TEXT);
CREATE TABLE user_tab_columns(
  table_name TEXT, column_name TEXT, column_id INTEGER, data_type TEXT, data_type_owner TEXT,
  data_length INTEGER, data_precision INTEGER, data_scale INTEGER, nullable TEXT, char_used TEXT,
  char_length INTEGER, data_default TEXT, identity_column TEXT);
CREATE TABLE user_col_comments(table_name TEXT, column_name TEXT, comments TEXT);
CREATE TABLE user_constraints(
  constraint_name TEXT, constraint_type TEXT, table_name TEXT, search_condition TEXT,
  r_owner TEXT, r_constraint_name TEXT, delete_rule TEXT, generated TEXT, status TEXT);
CREATE TABLE user_cons_columns(
  owner TEXT, constraint_name TEXT, table_name TEXT, column_name TEXT, position INTEGER);
CREATE TABLE all_cons_columns(
  owner TEXT, constraint_name TEXT, table_name TEXT, column_name TEXT, position INTEGER);
CREATE TABLE user_indexes(
  index_name TEXT, table_name TEXT, uniqueness TEXT, index_type TEXT, generated TEXT);
CREATE TABLE user_ind_columns(
  index_name TEXT, table_name TEXT, column_name TEXT, column_position INTEGER, descend TEXT);
CREATE TABLE user_ind_expressions(
  index_name TEXT, table_name TEXT, column_expression TEXT, column_position INTEGER);
CREATE TABLE quarnel_describe(
  table_name TEXT NOT NULL, column_id INTEGER NOT NULL, column_name TEXT NOT NULL,
  ora_type INTEGER NOT NULL, size INTEGER NOT NULL, precision INTEGER NOT NULL,
  scale INTEGER NOT NULL, null_ok INTEGER NOT NULL, value_type INTEGER NOT NULL,
  charset_form INTEGER NOT NULL, char_used INTEGER NOT NULL, char_length INTEGER NOT NULL,
  type_name TEXT NOT NULL, PRIMARY KEY (table_name, column_id)) WITHOUT ROWID;
CREATE INDEX user_constraints_table ON user_constraints(table_name, constraint_type);
CREATE INDEX user_cons_columns_table ON user_cons_columns(table_name, constraint_name);
CREATE INDEX user_ind_columns_table ON user_ind_columns(table_name, index_name);
CREATE INDEX user_ind_expressions_table ON user_ind_expressions(table_name);
)sql";

struct StatementDeleter {
    void operator()(sqlite3_stmt* statement) const { sqlite3_finalize(statement); }
};
using Statement = std::unique_ptr<sqlite3_stmt, StatementDeleter>;

Statement prepare(sqlite3* db, const char* sql) {
    sqlite3_stmt* raw = nullptr;
    if (sqlite3_prepare_v2(db, sql, -1, &raw, nullptr) != SQLITE_OK) {
        sqlite3_finalize(raw);
        return nullptr;
    }
    return Statement(raw);
}

QString columnText(sqlite3_stmt* statement, int column) {
    return QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(statement, column)),
                             sqlite3_column_bytes(statement, column));
}

// The columns of each table that the dictionary reads and the describe need.
struct RequiredTable {
    QString name;
    QStringList columns;
};

std::vector<RequiredTable> requiredTables() {
    std::vector<RequiredTable> tables;
    sqlite3* scratch = nullptr;
    // The required columns are those the format creates: read them back from its statements.
    if (sqlite3_open_v2(":memory:", &scratch, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE,
                        nullptr) == SQLITE_OK &&
        sqlite3_exec(scratch, kSchemaSql, nullptr, nullptr, nullptr) == SQLITE_OK) {
        Statement names = prepare(scratch,
                                  "SELECT m.name, c.name FROM sqlite_master m,"
                                  " pragma_table_info(m.name) c WHERE m.type = 'table'"
                                  " ORDER BY m.rowid, c.cid");
        while (names && sqlite3_step(names.get()) == SQLITE_ROW) {
            const QString table = columnText(names.get(), 0);
            if (tables.empty() || tables.back().name != table)
                tables.push_back({table, {}});
            tables.back().columns << columnText(names.get(), 1);
        }
    }
    sqlite3_close(scratch);
    return tables;
}

// One field of a snapshot's describe answer.
class StoredField final : public Field {
  public:
    QVariant Value() const override { return {}; }
    QString Name() const override { return name; }
    int Type() const override { return type; }
    int OraIDataType() const override { return oraType; }
    int Size() const override { return size; }
    int OraPrecision() const override { return precision; }
    int OraScale() const override { return scale; }
    bool OraNullOK() const override { return nullOk; }
    int OraCharsetForm() const override { return charsetForm; }
    bool OraCharUsed() const override { return charUsed; }
    int OraCharSize() const override { return charLength; }
    QString OraTypeName() const override { return typeName; }

    QString name;
    int type = 10;
    int oraType = 1;
    int size = 0;
    int precision = 0;
    int scale = 0;
    bool nullOk = true;
    int charsetForm = 1;
    bool charUsed = false;
    int charLength = 0;
    QString typeName;
};

class StoredDescribe final : public Dynaset {
  public:
    bool Eof() const override { return true; }
    void DbMoveNext() override { throw pastLastRowError(); }
    int FieldCount() const override { return int(fields.size()); }
    const Field& Fields(int index) const override { return fieldAt(fields, index); }
    using Dynaset::Fields;

    std::vector<std::unique_ptr<StoredField>> fields;
};

}  // namespace

const char* snapshotSchemaSql() {
    return kSchemaSql;
}

bool hasSnapshotHeader(sqlite3* db) {
    Statement query = prepare(db,
                              "SELECT 1 FROM main.sqlite_master WHERE type = 'table'"
                              " AND name = 'quarnel_snapshot'");
    return query && sqlite3_step(query.get()) == SQLITE_ROW;
}

std::optional<QString> checkSnapshot(sqlite3* db) {
    const QString damaged = QStringLiteral("スナップショット ファイルが壊れています: %1");
    static const std::vector<RequiredTable> required = requiredTables();
    for (const RequiredTable& table : required) {
        const QByteArray sql =
            "SELECT name FROM pragma_table_info('" + table.name.toUtf8() + "', 'main')";
        Statement query = prepare(db, sql.constData());
        QStringList present;
        while (query && sqlite3_step(query.get()) == SQLITE_ROW)
            present << columnText(query.get(), 0);
        for (const QString& column : table.columns) {
            if (!present.contains(column)) {
                return damaged.arg(
                    present.isEmpty()
                        ? QStringLiteral("表 %1 がありません").arg(table.name)
                        : QStringLiteral("列 %1.%2 がありません").arg(table.name, column));
            }
        }
    }
    Statement header = prepare(db, "SELECT format, version FROM main.quarnel_snapshot");
    if (!header || sqlite3_step(header.get()) != SQLITE_ROW)
        return damaged.arg(QStringLiteral("ヘッダーがありません"));
    const QString format = columnText(header.get(), 0);
    const bool versionIsNumber = sqlite3_column_type(header.get(), 1) == SQLITE_INTEGER;
    const qint64 version = sqlite3_column_int64(header.get(), 1);
    if (sqlite3_step(header.get()) != SQLITE_DONE || format != QLatin1String(kSnapshotFormatName) ||
        !versionIsNumber || version < 1) {
        return damaged.arg(QStringLiteral("ヘッダーが正しくありません"));
    }
    if (version > kSnapshotVersion) {
        return QStringLiteral(
                   "このスナップショットは新しい形式 (版 %1) で保存されています。"
                   "この版で読めるのは版 %2 までです。")
            .arg(version)
            .arg(kSnapshotVersion);
    }
    // Rows the loaders would misread: every table needs its describe rows, every describe row
    // its facts as numbers, every dictionary row its names.
    static const char* const checks[] = {
        "SELECT count(*) FROM main.user_tables t WHERE t.table_name IS NULL OR NOT EXISTS"
        " (SELECT 1 FROM main.quarnel_describe d WHERE d.table_name = t.table_name)",
        "SELECT count(*) FROM main.quarnel_describe WHERE typeof(column_id) <> 'integer'"
        " OR typeof(ora_type) <> 'integer' OR typeof(size) <> 'integer'"
        " OR typeof(precision) <> 'integer' OR typeof(scale) <> 'integer'"
        " OR typeof(null_ok) <> 'integer' OR typeof(value_type) <> 'integer'"
        " OR typeof(charset_form) <> 'integer' OR typeof(char_used) <> 'integer'"
        " OR typeof(char_length) <> 'integer'",
        "SELECT count(*) FROM main.user_tab_columns WHERE table_name IS NULL"
        " OR column_name IS NULL OR typeof(column_id) <> 'integer'",
        "SELECT count(*) FROM main.user_cons_columns WHERE constraint_name IS NULL"
        " OR table_name IS NULL OR column_name IS NULL OR typeof(position) <> 'integer'",
        "SELECT count(*) FROM main.user_ind_columns WHERE index_name IS NULL"
        " OR table_name IS NULL OR column_name IS NULL"
        " OR typeof(column_position) <> 'integer'",
        "SELECT count(*) FROM main.user_constraints WHERE constraint_name IS NULL"
        " OR table_name IS NULL OR constraint_type NOT IN ('P', 'U', 'R', 'C')",
    };
    for (const char* sql : checks) {
        Statement query = prepare(db, sql);
        if (!query || sqlite3_step(query.get()) != SQLITE_ROW)
            return damaged.arg(QString::fromUtf8(sqlite3_errmsg(db)));
        if (sqlite3_column_int64(query.get(), 0) != 0)
            return damaged.arg(QStringLiteral("不正な行があります"));
    }
    return std::nullopt;
}

std::unique_ptr<Dynaset> describeSnapshotTable(sqlite3* db, const QString& table) {
    Statement query = prepare(db,
                              "SELECT column_name, value_type, ora_type, size, precision, scale,"
                              " null_ok, charset_form, char_used, char_length, type_name"
                              " FROM main.quarnel_describe WHERE table_name = ?1"
                              " ORDER BY column_id");
    if (!query)
        throw DbError(QString::fromUtf8(sqlite3_errmsg(db)), sqlite3_extended_errcode(db));
    const QByteArray name = table.toUtf8();
    sqlite3_bind_text(query.get(), 1, name.constData(), int(name.size()), SQLITE_TRANSIENT);
    auto describe = std::make_unique<StoredDescribe>();
    int rc = SQLITE_ROW;
    while ((rc = sqlite3_step(query.get())) == SQLITE_ROW) {
        auto field = std::make_unique<StoredField>();
        sqlite3_stmt* row = query.get();
        field->name = columnText(row, 0);
        field->type = sqlite3_column_int(row, 1);
        field->oraType = sqlite3_column_int(row, 2);
        field->size = sqlite3_column_int(row, 3);
        field->precision = sqlite3_column_int(row, 4);
        field->scale = sqlite3_column_int(row, 5);
        field->nullOk = sqlite3_column_int(row, 6) != 0;
        field->charsetForm = sqlite3_column_int(row, 7);
        field->charUsed = sqlite3_column_int(row, 8) != 0;
        field->charLength = sqlite3_column_int(row, 9);
        field->typeName = columnText(row, 10);
        describe->fields.push_back(std::move(field));
    }
    if (rc != SQLITE_DONE)
        throw DbError(QString::fromUtf8(sqlite3_errmsg(db)), sqlite3_extended_errcode(db));
    if (describe->fields.empty()) {
        throw DbError(QStringLiteral("no such table: %1").arg(table), SQLITE_ERROR);
    }
    return describe;
}

}  // namespace quarnel::db
