// One logged-on Oracle session through the client library: the handles shared by the database
// and its dynasets, and the last error the server reported.
#pragma once

#include "db/data_access.h"
#include "db/oci_api.h"

#include <QString>

#include <memory>
#include <vector>

namespace quarnel::db {

class OracleConnection {
  public:
    OracleConnection(const oci::Functions& functions, oci::Env* env, oci::Error* error)
        : f(functions), m_env(env), m_error(error) {}
    // Frees every handle. A session still open (as at exit) is not logged off: freeing the
    // environment drops it as the end of the process would, without a call to the server.
    ~OracleConnection();
    OracleConnection(const OracleConnection&) = delete;
    OracleConnection& operator=(const OracleConnection&) = delete;

    const oci::Functions& f;
    oci::Env* env() const { return m_env; }
    oci::Error* error() const { return m_error; }
    oci::SvcCtx* service() const { return m_service; }
    void setService(oci::SvcCtx* service) { m_service = service; }
    bool isOpen() const { return m_service != nullptr; }

    // Reads the error of the failed call that returned `rc`, records it as the last server error
    // and returns it as the failure to throw ("ORA-nnnnn: ..." as the server wrote it).
    DbError failure(oci::sword rc);
    // The failure of a call on a session that is closed already.
    static DbError closedFailure();

    // Frees the statements still open, then logs off. Errors are ignored: a session the server
    // has dropped is closed all the same.
    void logoff();

    // A statement handle the connection frees at logoff unless released before.
    void adoptStatement(oci::Stmt* statement) { m_statements.push_back(statement); }
    // Frees `statement` unless logoff freed it already.
    void releaseStatement(oci::Stmt* statement);

    void resetError() {
        m_lastErr = 0;
        m_lastErrText.clear();
    }
    int lastErr() const { return m_lastErr; }
    const QString& lastErrText() const { return m_lastErrText; }

  private:
    oci::Env* m_env;
    oci::Error* m_error;
    oci::SvcCtx* m_service = nullptr;
    std::vector<oci::Stmt*> m_statements;
    int m_lastErr = 0;
    QString m_lastErrText;
};

// Prepares and executes `sql`: for a query (`iterations` 0) the result is described and its rows
// are fetched in arrays of up to 1,000 rows per call.
std::unique_ptr<Dynaset> executeOracleQuery(std::shared_ptr<OracleConnection> connection,
                                            const QString& sql);

// Prepares and executes a statement that returns no rows, such as SET TRANSACTION.
void executeOracleStatement(OracleConnection& connection, const QString& sql);

}  // namespace quarnel::db
