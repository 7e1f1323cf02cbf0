// The Oracle engine: logon, the database object and its read snapshots, over the client library
// loaded at run time.
#include "db/engines.h"
#include "db/oci_library.h"
#include "db/oracle_connection.h"

#include <QByteArray>

#include <algorithm>

namespace quarnel::db {

OracleConnection::~OracleConnection() {
    for (oci::Stmt* statement : m_statements)
        f.handleFree(statement, oci::kHtypeStmt);
    if (m_error)
        f.handleFree(m_error, oci::kHtypeError);
    if (m_env)
        f.handleFree(m_env, oci::kHtypeEnv);
}

void OracleConnection::releaseStatement(oci::Stmt* statement) {
    const auto found = std::find(m_statements.begin(), m_statements.end(), statement);
    if (found == m_statements.end())
        return;
    m_statements.erase(found);
    f.handleFree(statement, oci::kHtypeStmt);
}

DbError OracleConnection::failure(oci::sword rc) {
    oci::sb4 code = 0;
    QString text;
    if (rc != oci::kInvalidHandle) {
        unsigned char buffer[3072] = {};
        if (f.errorGet(m_error, 1, nullptr, &code, buffer, sizeof buffer, oci::kHtypeError) ==
            oci::kSuccess) {
            text = QString::fromUtf8(reinterpret_cast<const char*>(buffer)).trimmed();
        }
    }
    if (text.isEmpty())
        text = QStringLiteral("Oracle クライアントの呼び出しが失敗しました (戻り値 %1)。").arg(rc);
    m_lastErr = code;
    m_lastErrText = text;
    return DbError(text, code);
}

DbError OracleConnection::closedFailure() {
    return DbError(QStringLiteral("データベースは閉じられています。"));
}

void OracleConnection::logoff() {
    if (!m_service)
        return;
    for (oci::Stmt* statement : m_statements)
        f.handleFree(statement, oci::kHtypeStmt);
    m_statements.clear();
    f.logoff(m_service, m_error);
    m_service = nullptr;
}

namespace {

class OracleDatabase final : public Database {
  public:
    explicit OracleDatabase(std::shared_ptr<OracleConnection> connection)
        : m_connection(std::move(connection)) {}

    void LastServerErrReset() override { m_connection->resetError(); }
    int LastServerErr() const override { return m_connection->lastErr(); }
    QString LastServerErrText() const override { return m_connection->lastErrText(); }

    std::unique_ptr<Dynaset> DbCreateDynaset(const QString& sql, int /*options*/) override {
        if (!m_connection->isOpen())
            throw OracleConnection::closedFailure();
        return executeOracleQuery(m_connection, sql);
    }

    void Close() override { m_connection->logoff(); }

  protected:
    void beginSnapshot() override {
        if (!m_connection->isOpen())
            throw OracleConnection::closedFailure();
        executeOracleStatement(*m_connection, QStringLiteral("SET TRANSACTION READ ONLY"));
    }

    void endSnapshot() noexcept override {
        if (m_connection->isOpen()) {
            m_connection->f.transCommit(m_connection->service(), m_connection->error(),
                                        oci::kDefault);
        }
    }

  private:
    std::shared_ptr<OracleConnection> m_connection;
};

// The text of the error recorded on an environment handle that failed to initialise.
QString environmentError(const oci::Functions& f, oci::Env* env) {
    if (!env)
        return {};
    unsigned char buffer[3072] = {};
    oci::sb4 code = 0;
    if (f.errorGet(env, 1, nullptr, &code, buffer, sizeof buffer, oci::kHtypeEnv) != oci::kSuccess)
        return {};
    return QString::fromUtf8(reinterpret_cast<const char*>(buffer)).trimmed();
}

void wipeBytes(QByteArray& bytes) {
    if (!bytes.isEmpty()) {
        volatile char* data = bytes.data();
        for (qsizetype i = 0; i < bytes.size(); ++i)
            data[i] = 0;
    }
    bytes.clear();
}

}  // namespace

std::shared_ptr<Database> OpenOracleDatabase(const QString& host, const QString& user,
                                             const QString& password) {
    const oci::Functions& f = loadOciLibrary();
    oci::Env* env = nullptr;
    // Both character sets AL32UTF8, so that every name arrives as UTF-8 whatever NLS_LANG says;
    // object mode, without which the type of an object column cannot be described.
    oci::sword rc = f.envNlsCreate(&env, oci::kObject, nullptr, nullptr, nullptr, nullptr, 0,
                                   nullptr, oci::kAl32Utf8, oci::kAl32Utf8);
    // A warning (such as a time zone file that differs from the server's) still gives an
    // environment.
    if ((rc != oci::kSuccess && rc != oci::kSuccessWithInfo) || !env) {
        const QString reason = environmentError(f, env);
        if (env)
            f.handleFree(env, oci::kHtypeEnv);
        throw DbError(
            QStringLiteral("Oracle クライアントの環境を作成できません (OCIEnvNlsCreate: %1)。")
                .arg(rc) +
            (reason.isEmpty() ? QString() : u'\n' + reason));
    }
    void* error = nullptr;
    if (f.handleAlloc(env, &error, oci::kHtypeError, 0, nullptr) != oci::kSuccess || !error) {
        f.handleFree(env, oci::kHtypeEnv);
        throw DbError(QStringLiteral("Oracle クライアントのエラー ハンドルを作成できません。"));
    }
    auto connection = std::make_shared<OracleConnection>(f, env, static_cast<oci::Error*>(error));

    const QByteArray userBytes = user.toUtf8();
    QByteArray passwordBytes = password.toUtf8();
    const QByteArray hostBytes = host.toUtf8();
    oci::SvcCtx* service = nullptr;
    rc = f.logon2(env, connection->error(), &service,
                  reinterpret_cast<const oci::OraText*>(userBytes.constData()),
                  oci::ub4(userBytes.size()),
                  reinterpret_cast<const oci::OraText*>(passwordBytes.constData()),
                  oci::ub4(passwordBytes.size()),
                  reinterpret_cast<const oci::OraText*>(hostBytes.constData()),
                  oci::ub4(hostBytes.size()), oci::kDefault);
    wipeBytes(passwordBytes);
    // A warning such as ORA-28002 (the password will expire) still logs on.
    if (rc == oci::kSuccess || rc == oci::kSuccessWithInfo) {
        connection->setService(service);
        return std::make_shared<OracleDatabase>(std::move(connection));
    }
    const DbError refused = connection->failure(rc);
    throw ServerRefusal(refused.description(), refused.number());
}

}  // namespace quarnel::db
