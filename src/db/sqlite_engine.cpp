// The embedded engine: an SQLite database file, opened read-only, answering the program's Oracle
// queries through the dictionary views of sqlite_dialect.
#include "db/dynaset_errors.h"
#include "db/engines.h"
#include "db/sqlite_dialect.h"
#include "db/sqlite_table_facts.h"
#include "db/sqlite_types.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QUrl>

#include <sqlite3.h>

namespace quarnel::db {
namespace {

// The connection shared by a database and its dynasets, with the last error SQLite reported.
class Connection {
  public:
    explicit Connection(sqlite3* handle) : m_handle(handle) {}
    ~Connection() { close(); }
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    sqlite3* handle() const { return m_handle; }
    bool isOpen() const { return m_handle != nullptr; }

    // Statements still open keep SQLite's connection alive until they are finalized.
    void close() {
        if (m_handle)
            sqlite3_close_v2(m_handle);
        m_handle = nullptr;
    }

    // Records SQLite's current error and returns it as the failure to throw.
    DbError failure() {
        m_lastErr = sqlite3_extended_errcode(m_handle);
        m_lastErrText = QString::fromUtf8(sqlite3_errmsg(m_handle));
        return DbError(m_lastErrText, m_lastErr);
    }

    void resetError() {
        m_lastErr = 0;
        m_lastErrText.clear();
    }
    int lastErr() const { return m_lastErr; }
    const QString& lastErrText() const { return m_lastErrText; }

  private:
    sqlite3* m_handle;
    int m_lastErr = 0;
    QString m_lastErrText;
};

struct StatementDeleter {
    void operator()(sqlite3_stmt* statement) const { sqlite3_finalize(statement); }
};
using Statement = std::unique_ptr<sqlite3_stmt, StatementDeleter>;

QVariant columnValue(sqlite3_stmt* statement, int column) {
    switch (sqlite3_column_type(statement, column)) {
        case SQLITE_INTEGER:
            return QVariant(qlonglong(sqlite3_column_int64(statement, column)));
        case SQLITE_FLOAT:
            return QVariant(sqlite3_column_double(statement, column));
        case SQLITE_TEXT:
            return QVariant(
                decodeText(reinterpret_cast<const char*>(sqlite3_column_text(statement, column)),
                           sqlite3_column_bytes(statement, column)));
        case SQLITE_BLOB: {
            const auto* data = static_cast<const char*>(sqlite3_column_blob(statement, column));
            return QVariant(QByteArray(data, sqlite3_column_bytes(statement, column)));
        }
        default:
            return QVariant();
    }
}

class SqliteDynaset;

class SqliteField final : public Field {
  public:
    SqliteField(const SqliteDynaset& owner, int index, QString name, ColumnType type, bool nullOk)
        : m_owner(owner), m_index(index), m_name(std::move(name)), m_type(type), m_nullOk(nullOk) {}

    QVariant Value() const override;
    QString Name() const override { return m_name; }
    int Type() const override { return m_type.type; }
    int OraIDataType() const override { return m_type.oraIDataType; }
    int Size() const override { return m_type.size; }
    int OraPrecision() const override { return m_type.precision; }
    int OraScale() const override { return m_type.scale; }
    bool OraNullOK() const override { return m_nullOk; }

  private:
    const SqliteDynaset& m_owner;
    int m_index;
    QString m_name;
    ColumnType m_type;
    bool m_nullOk;
};

class SqliteDynaset final : public Dynaset {
  public:
    SqliteDynaset(std::shared_ptr<Connection> connection, Statement statement)
        : m_connection(std::move(connection)), m_statement(std::move(statement)) {
        fetch();
        describe();
    }

    bool Eof() const override { return m_eof; }

    void DbMoveNext() override {
        if (m_eof)
            throw pastLastRowError();
        if (!m_connection->isOpen()) {
            throw DbError(QStringLiteral("データベースは閉じられています。"), SQLITE_MISUSE);
        }
        fetch();
    }

    int FieldCount() const override { return int(m_fields.size()); }

    const Field& Fields(int index) const override { return fieldAt(m_fields, index); }
    using Dynaset::Fields;

    QVariant value(int index) const { return m_eof ? QVariant() : m_row.value(qsizetype(index)); }

  private:
    void fetch() {
        sqlite3_stmt* statement = m_statement.get();
        const int rc = sqlite3_step(statement);
        if (rc == SQLITE_ROW) {
            const int count = sqlite3_column_count(statement);
            m_row.resize(count);
            for (int i = 0; i < count; ++i)
                m_row[i] = columnValue(statement, i);
        } else if (rc == SQLITE_DONE) {
            m_eof = true;
            m_row.clear();
        } else {
            m_eof = true;
            m_row.clear();
            throw m_connection->failure();
        }
    }

    // The fields as the statement's columns are declared; a column computed by an expression is
    // described from the type of its value in the first row (a number as NUMBER, a BLOB as BLOB,
    // anything else as VARCHAR2(4000)).
    void describe() {
        sqlite3_stmt* statement = m_statement.get();
        const int count = sqlite3_column_count(statement);
        for (int i = 0; i < count; ++i) {
            const QString name = QString::fromUtf8(sqlite3_column_name(statement, i));
            const char* declared = sqlite3_column_decltype(statement, i);
            bool nullOk = true;
            const char* database = sqlite3_column_database_name(statement, i);
            const char* table = sqlite3_column_table_name(statement, i);
            const char* column = sqlite3_column_origin_name(statement, i);
            if (database && table && column) {
                int notNull = 0;
                int primaryKey = 0;
                if (sqlite3_table_column_metadata(m_connection->handle(), database, table, column,
                                                  nullptr, nullptr, &notNull, &primaryKey,
                                                  nullptr) == SQLITE_OK) {
                    nullOk = !notNull && !primaryKey;
                }
            }
            ColumnType type;
            if (declared) {
                type = describeDeclaredType(QString::fromUtf8(declared));
            } else {
                const int storage = m_eof ? SQLITE_NULL : sqlite3_column_type(statement, i);
                type = describeDeclaredType(storage == SQLITE_INTEGER || storage == SQLITE_FLOAT
                                                ? QStringLiteral("NUMBER")
                                            : storage == SQLITE_BLOB ? QStringLiteral("BLOB")
                                                                     : QString());
            }
            m_fields.push_back(std::make_unique<SqliteField>(*this, i, name, type, nullOk));
        }
    }

    // Declared before the statement so that the statement is finalized first.
    std::shared_ptr<Connection> m_connection;
    Statement m_statement;
    QList<QVariant> m_row;
    bool m_eof = false;
    std::vector<std::unique_ptr<SqliteField>> m_fields;
};

QVariant SqliteField::Value() const {
    return m_owner.value(m_index);
}

// True when `tail`, the text after the first statement, holds no further statement.
bool onlySeparatorsLeft(sqlite3* db, const char* tail) {
    sqlite3_stmt* next = nullptr;
    const int rc = sqlite3_prepare_v2(db, tail, -1, &next, nullptr);
    sqlite3_finalize(next);
    return rc == SQLITE_OK && next == nullptr;
}

// A failure caused by another program changing the schema while a statement was prepared.
bool isSchemaChange(int code) {
    return (code & 0xff) == SQLITE_SCHEMA;
}

class SqliteDatabase final : public Database {
  public:
    SqliteDatabase(std::shared_ptr<Connection> connection, SqliteOptions options)
        : m_connection(std::move(connection)), m_options(std::move(options)) {}

    void LastServerErrReset() override { m_connection->resetError(); }
    int LastServerErr() const override { return m_connection->lastErr(); }
    QString LastServerErrText() const override { return m_connection->lastErrText(); }

    std::unique_ptr<Dynaset> DbCreateDynaset(const QString& sql, int /*options*/) override {
        for (int attempt = 0;; ++attempt) {
            try {
                checkOpen();
                // Inside a snapshot the schema cannot change: the catalogue was brought up to
                // date when the snapshot began.
                if (!InReadSnapshot())
                    bringCatalogueUpToDate();
                return createDynaset(sql);
            } catch (const DbError& error) {
                if (attempt > 0 || !isSchemaChange(error.number()))
                    throw;
            }
        }
    }

    void Close() override { m_connection->close(); }

    // Reads the schema into the table catalogue.
    void refresh() { bringCatalogueUpToDate(); }

  protected:
    // One read transaction: every query until its end sees the same committed state of the file.
    void beginSnapshot() override {
        for (int attempt = 0;; ++attempt) {
            try {
                checkOpen();
                if (m_options.beforeSnapshotAttempt)
                    m_options.beforeSnapshotAttempt();
                execute("BEGIN");
                bringCatalogueUpToDate();
                return;
            } catch (const DbError& error) {
                if (m_connection->isOpen() && !sqlite3_get_autocommit(m_connection->handle()))
                    sqlite3_exec(m_connection->handle(), "ROLLBACK", nullptr, nullptr, nullptr);
                if (attempt > 0 || !isSchemaChange(error.number()))
                    throw;
            }
        }
    }

    void endSnapshot() noexcept override {
        if (!m_connection->isOpen() || sqlite3_get_autocommit(m_connection->handle()))
            return;
        if (sqlite3_exec(m_connection->handle(), "COMMIT", nullptr, nullptr, nullptr) != SQLITE_OK)
            sqlite3_exec(m_connection->handle(), "ROLLBACK", nullptr, nullptr, nullptr);
    }

  private:
    void checkOpen() const {
        if (!m_connection->isOpen()) {
            throw DbError(QStringLiteral("データベースは閉じられています。"), SQLITE_MISUSE);
        }
    }

    void execute(const char* sql) {
        if (sqlite3_exec(m_connection->handle(), sql, nullptr, nullptr, nullptr) != SQLITE_OK)
            throw m_connection->failure();
    }

    std::unique_ptr<Dynaset> createDynaset(const QString& sql) {
        const std::optional<QString> described = describedTable(sql);
        const QByteArray text =
            described ? describeStatement(storedTableName(m_connection->handle(), *described))
                      : rewriteRowNumLimit(sql).toUtf8();
        sqlite3_stmt* raw = nullptr;
        const char* tail = nullptr;
        if (sqlite3_prepare_v2(m_connection->handle(), text.constData(), int(text.size()), &raw,
                               &tail) != SQLITE_OK) {
            throw m_connection->failure();
        }
        Statement statement(raw);
        if (!statement)
            throw DbError(QStringLiteral("SQL 文がありません。"));
        if (!onlySeparatorsLeft(m_connection->handle(), tail)) {
            throw DbError(QStringLiteral("一度に実行できる SQL 文は一つだけです。"));
        }
        if (!sqlite3_stmt_readonly(statement.get())) {
            throw DbError(QStringLiteral("この接続で実行できるのは参照の SQL 文だけです。"));
        }
        return std::make_unique<SqliteDynaset>(m_connection, std::move(statement));
    }

    // Another program may create or drop tables while the file is open: the catalogue follows.
    // The version is read and the catalogue refilled in one transaction, so the catalogue always
    // matches the version recorded; a failure (another program's lock outlasting the busy
    // timeout) leaves both as they were, and the next lookup tries again.
    void bringCatalogueUpToDate() {
        sqlite3* handle = m_connection->handle();
        execute("SAVEPOINT quarnel_catalogue");
        int version = -1;
        QString error;
        int rc = schemaVersion(handle, version);
        if (rc == SQLITE_OK && version != m_schemaVersion)
            rc = refreshTableCatalogue(handle, error);
        if (rc == SQLITE_OK)
            rc = sqlite3_exec(handle, "RELEASE quarnel_catalogue", nullptr, nullptr, nullptr);
        if (rc != SQLITE_OK) {
            const DbError failure = m_connection->failure();
            sqlite3_exec(handle,
                         "ROLLBACK TO quarnel_catalogue; RELEASE quarnel_catalogue;"
                         " PRAGMA query_only = ON;",
                         nullptr, nullptr, nullptr);
            throw failure;
        }
        m_schemaVersion = version;
    }

    std::shared_ptr<Connection> m_connection;
    SqliteOptions m_options;
    int m_schemaVersion = -1;
};

// The read-only URI of `path`, every byte that could be read as URI syntax percent-encoded.
QByteArray readOnlyUri(const QString& path, bool immutable) {
    QString absolute = QDir::fromNativeSeparators(QFileInfo(path).absoluteFilePath());
    if (!absolute.startsWith(u'/'))
        absolute.prepend(u'/');
    return "file:" + QUrl::toPercentEncoding(absolute, "/") + "?mode=ro" +
           (immutable ? "&immutable=1" : "");
}

// Refuses `path` unless it names an empty file (an empty database to SQLite) or one that starts
// with SQLite's header.
void checkDatabaseFile(const QString& path) {
    if (path.isEmpty()) {
        throw ServerRefusal(QStringLiteral("データベース ファイルが指定されていません。"),
                            SQLITE_CANTOPEN);
    }
    const QFileInfo info(path);
    if (!info.exists()) {
        throw ServerRefusal(QStringLiteral("データベース ファイルが見つかりません: %1").arg(path),
                            SQLITE_CANTOPEN);
    }
    QFile file(path);
    if (!info.isFile() || !file.open(QIODevice::ReadOnly)) {
        throw ServerRefusal(QStringLiteral("データベース ファイルを開けません: %1").arg(path),
                            SQLITE_CANTOPEN);
    }
    static const QByteArray header("SQLite format 3\0", 16);
    const QByteArray start = file.read(100);
    if (!start.isEmpty() && !start.startsWith(header)) {
        throw ServerRefusal(
            QStringLiteral("SQLite のデータベース ファイルではありません: %1").arg(path),
            SQLITE_NOTADB);
    }
}

// Failures of the ordinary read-only open that the immutable one avoids: a write-ahead-log file
// whose shared-memory file cannot be made, such as one in a folder that cannot be written.
bool needsImmutable(int code) {
    const int primary = code & 0xff;
    return primary == SQLITE_CANTOPEN || primary == SQLITE_READONLY || primary == SQLITE_IOERR;
}

// Opens the connection and reads the schema once; throws ServerRefusal with SQLite's reason.
std::shared_ptr<Connection> openConnection(const QString& path, bool immutable,
                                           const SqliteOptions& options) {
    sqlite3* handle = nullptr;
    const int rc = sqlite3_open_v2(readOnlyUri(path, immutable).constData(), &handle,
                                   SQLITE_OPEN_READONLY | SQLITE_OPEN_URI, nullptr);
    auto connection = std::make_shared<Connection>(handle);
    const auto refuse = [&](int code, const QString& reason) {
        return ServerRefusal(
            QStringLiteral("データベース ファイルを開けません: %1 (%2)").arg(path, reason), code);
    };
    if (rc != SQLITE_OK) {
        throw refuse(rc, handle ? QString::fromUtf8(sqlite3_errmsg(handle))
                                : QString::fromUtf8(sqlite3_errstr(rc)));
    }
    sqlite3_extended_result_codes(handle, 1);
    sqlite3_busy_timeout(handle, options.busyTimeoutMs);
    char* message = nullptr;
    if (sqlite3_exec(handle, "PRAGMA temp_store = MEMORY; PRAGMA schema_version;", nullptr, nullptr,
                     &message) != SQLITE_OK) {
        const QString reason = QString::fromUtf8(message ? message : sqlite3_errmsg(handle));
        sqlite3_free(message);
        throw refuse(sqlite3_extended_errcode(handle), reason);
    }
    QString error;
    if (const int installed = installDictionary(handle, options.userName, error);
        installed != SQLITE_OK) {
        throw refuse(installed, error);
    }
    // From here on nothing on this connection may change any database, the temporary one
    // included, but for the table catalogue's own refresh.
    sqlite3_exec(handle, "PRAGMA query_only = ON;", nullptr, nullptr, nullptr);
    return connection;
}

}  // namespace

std::shared_ptr<Database> OpenSqliteDatabase(const QString& path, const SqliteOptions& options) {
    checkDatabaseFile(path);
    std::shared_ptr<Connection> connection;
    try {
        connection = openConnection(path, false, options);
    } catch (const ServerRefusal& refusal) {
        if (!needsImmutable(refusal.number()))
            throw;
        connection = openConnection(path, true, options);
    }
    auto database = std::make_shared<SqliteDatabase>(std::move(connection), options);
    try {
        database->refresh();
    } catch (const DbError& error) {
        throw ServerRefusal(QStringLiteral("データベース ファイルを開けません: %1 (%2)")
                                .arg(path, error.description()),
                            error.number() ? error.number() : SQLITE_ERROR);
    }
    return database;
}

}  // namespace quarnel::db
