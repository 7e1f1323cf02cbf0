// A stand-in for the Oracle client library, for the tests only: it exports the OCI calls the
// Oracle engine uses and answers them from an SQLite file through the embedded engine.
//
// Its declarations are its own (oci_declarations.h), and it behaves as a server does where a
// client could easily assume otherwise:
// - OCI_ATTR_DATA_SIZE is in bytes: a column of character semantics reports four bytes a
//   character (two in the national character set), with OCI_ATTR_CHAR_SIZE the characters.
// - the character-set attributes are refused for columns that are not character data, and
//   char-used and char size for LONG and CLOB too.
// - ROWID and UROWID both describe as 104; a UROWID is told by its size.
// - an object column's type and schema name need an environment in object mode (OCI-21301).
// - a text define on a column that has no text form (objects, REFs, collections, LOBs other
//   than CLOB, unknown codes) fails the fetch with ORA-00932.
// - a fetch with columns but no defines is refused with ORA-24374.
// - a value longer than its define buffer is cut, with column return code 1406 and the fetch
//   answering OCI_SUCCESS_WITH_INFO.
// - a dynamic define (LONG, CLOB) is served in pieces no larger than a few kilobytes; the piece
//   flag handed to the callback is not to be trusted (it cycles through every value), and the
//   length of a piece is written only after the next piece has been asked for.
// - freeing the environment frees every handle made from it, sessions included.
//
// The database name given at logon is the path of the SQLite file. Scripted behaviour:
// - password "wrong": ORA-01017; user LOCKED: ORA-28000; user EXPIRING: logon with the warning
//   ORA-28002; a name that is no file: ORA-12541 when it holds ':' (host:port/service), else
//   ORA-12154.
// - the table OCI_STANDIN_DESCRIBE of the file, when present, overrides the description of the
//   result columns it names (column_name, data_type, data_size, precision, scale, charset_form,
//   char_used, char_size, type_name, schema_name), for types SQLite cannot declare.
// - a text value "OCI-STANDIN-RC:n" is delivered with column return code n.
// - QUARNEL_OCI_STANDIN_FAIL_AT_ROW=N makes the fetch call that would deliver row N (counted
//   from 0 over the session) fail with ORA-03113, and the session dropped.
// - QUARNEL_OCI_STANDIN_LOG=path makes logoff and the freeing of an environment append a line
//   ("logoff", "env-free") to the file at path, for programs run apart from the tests.
// - QUARNEL_OCI_STANDIN_ENV=warning makes OCIEnvNlsCreate answer OCI_SUCCESS_WITH_INFO; =error
//   makes it fail with ORA-01804, the text kept on the environment handle.
// The counters (fetch calls, executes, logons, live handles, ...) are read by the tests through
// quarnelStandInCounter().
#include "oci_declarations.h"
#include "stand_in_state.h"
#include "varnum.h"

#include "db/data_access.h"
#include "db/engines.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cstring>

using namespace standin;

#define STAND_IN_EXPORT extern "C" __attribute__((visibility("default")))

namespace {

void note(const char* event) {
    const QString path = qEnvironmentVariable("QUARNEL_OCI_STANDIN_LOG");
    if (path.isEmpty())
        return;
    QFile log(path);
    if (log.open(QIODevice::Append))
        log.write(QByteArray(event) + '\n');
}

}  // namespace

STAND_IN_EXPORT long quarnelStandInCounter(const char* name) {
    return counters().value(QByteArray(name));
}

STAND_IN_EXPORT void quarnelStandInReset() {
    counters().clear();
}

STAND_IN_EXPORT sword OCIEnvNlsCreate(EnvHandle** env, ub4 mode, void*, void* (*)(void*, size_t),
                                      void* (*)(void*, void*, size_t), void (*)(void*, void*),
                                      size_t, void**, ub2 charset, ub2 ncharset) {
    ++counters()["env"];
    ++counters()["live-env"];
    if (charset == AL32UTF8 && ncharset == AL32UTF8)
        ++counters()["env-al32utf8"];
    *env = new EnvHandle;
    (*env)->objectMode = (mode & OCI_OBJECT) != 0;
    const QByteArray scripted = qgetenv("QUARNEL_OCI_STANDIN_ENV");
    if (scripted == "warning")
        return OCI_SUCCESS_WITH_INFO;
    if (scripted == "error") {
        (*env)->error.set(1804, QStringLiteral("failure to initialize timezone information"));
        return OCI_ERROR;
    }
    return OCI_SUCCESS;
}

STAND_IN_EXPORT sword OCIHandleAlloc(const void* parent, void** handle, ub4 type, size_t, void**) {
    auto* env = static_cast<EnvHandle*>(const_cast<void*>(parent));
    if (!env)
        return OCI_INVALID_HANDLE;
    switch (type) {
        case OCI_HTYPE_ERROR:
            ++counters()["live-error"];
            *handle = env->adopt(std::make_unique<ErrorHandle>());
            return OCI_SUCCESS;
        case OCI_HTYPE_STMT: {
            ++counters()["live-statement"];
            auto statement = std::make_unique<StatementHandle>();
            statement->env = env;
            *handle = env->adopt(std::move(statement));
            return OCI_SUCCESS;
        }
        default:
            return OCI_INVALID_HANDLE;
    }
}

STAND_IN_EXPORT sword OCIHandleFree(void* handle, ub4 type) {
    if (!handle)
        return OCI_INVALID_HANDLE;
    switch (type) {
        case OCI_HTYPE_ENV:
            --counters()["live-env"];
            note("env-free");
            delete static_cast<EnvHandle*>(handle);
            return OCI_SUCCESS;
        case OCI_HTYPE_ERROR:
        case OCI_HTYPE_STMT: {
            auto* child = static_cast<ChildHandle*>(handle);
            if (type == OCI_HTYPE_STMT)
                ++counters()["statement-free"];
            child->env->release(child);
            return OCI_SUCCESS;
        }
        default:
            return OCI_INVALID_HANDLE;
    }
}

STAND_IN_EXPORT sword OCIDescriptorFree(void*, ub4 type) {
    return type == OCI_DTYPE_PARAM ? OCI_SUCCESS : OCI_INVALID_HANDLE;
}

STAND_IN_EXPORT sword OCIErrorGet(void* handle, ub4 record, OraText*, sb4* code, OraText* buffer,
                                  ub4 size, ub4 type) {
    const ErrorRecord* error = nullptr;
    if (type == OCI_HTYPE_ERROR)
        error = static_cast<ErrorHandle*>(handle);
    else if (type == OCI_HTYPE_ENV && handle)
        error = &static_cast<EnvHandle*>(handle)->error;
    if (!error || record != 1 || error->code == 0)
        return OCI_NO_DATA;
    *code = error->code;
    const QByteArray text = error->text + '\n';
    const size_t copied = std::min<size_t>(size_t(text.size()), size - 1);
    std::memcpy(buffer, text.constData(), copied);
    buffer[copied] = 0;
    return OCI_SUCCESS;
}

STAND_IN_EXPORT sword OCILogon2(EnvHandle* env, ErrorHandle* error, Session** service,
                                const OraText* user, ub4 userLength, const OraText* password,
                                ub4 passwordLength, const OraText* database, ub4 databaseLength,
                                ub4) {
    ++counters()["logon"];
    error->clear();
    const QString userName =
        QString::fromUtf8(reinterpret_cast<const char*>(user), userLength).toUpper();
    const QByteArray secret(reinterpret_cast<const char*>(password), passwordLength);
    const QString path = QString::fromUtf8(reinterpret_cast<const char*>(database), databaseLength);
    if (secret == "wrong")
        return fail(error, 1017, QStringLiteral("invalid username/password; logon denied"));
    if (userName == QLatin1String("LOCKED"))
        return fail(error, 28000, QStringLiteral("The account is locked."));
    if (!QFileInfo(path).isFile()) {
        if (path.contains(u':'))
            return fail(error, 12541, QStringLiteral("TNS:no listener"));
        return fail(error, 12154,
                    QStringLiteral("TNS:could not resolve the connect identifier specified"));
    }
    auto session = std::make_unique<Session>();
    ++counters()["live-session"];
    try {
        session->database = quarnel::db::OpenSqliteDatabase(path);
    } catch (const quarnel::db::DbError& refused) {
        return fail(error, 12154, refused.description());
    }
    session->overrides = readOverrides(path);
    *service = env->adopt(std::move(session));
    if (userName == QLatin1String("EXPIRING")) {
        error->set(28002, QStringLiteral("the password will expire within 7 days"));
        return OCI_SUCCESS_WITH_INFO;
    }
    return OCI_SUCCESS;
}

STAND_IN_EXPORT sword OCILogoff(Session* service, ErrorHandle*) {
    ++counters()["logoff"];
    note("logoff");
    // A server ends a session's cursors with it; a client that frees them only afterwards has
    // held them past the session's end.
    for (const auto& child : service->env->children) {
        const auto* statement = dynamic_cast<const StatementHandle*>(child.get());
        if (statement && statement->session == service)
            ++counters()["logoff-with-statements"];
    }
    service->env->release(service);
    return OCI_SUCCESS;
}

STAND_IN_EXPORT sword OCIStmtPrepare(StatementHandle* statement, ErrorHandle* error,
                                     const OraText* text, ub4 length, ub4 language, ub4) {
    if (language != OCI_NTV_SYNTAX)
        return fail(error, 1041, QStringLiteral("unsupported language"));
    statement->sql = QString::fromUtf8(reinterpret_cast<const char*>(text), length);
    return OCI_SUCCESS;
}

STAND_IN_EXPORT sword OCIStmtExecute(Session* session, StatementHandle* s, ErrorHandle* error,
                                     ub4 iterations, ub4, const void*, void*, ub4) {
    ++counters()["execute"];
    if (session->dropped)
        return fail(error, 3114, QStringLiteral("not connected to ORACLE"));
    const QString sql = s->sql.simplified().toUpper();
    const bool isQuery = sql.startsWith(QLatin1String("SELECT"));
    if (!isQuery && iterations == 0)
        return fail(error, 24333, QStringLiteral("zero iteration count"));
    if (sql == QLatin1String("SET TRANSACTION READ ONLY")) {
        ++counters()["read-only"];
        session->database->BeginReadSnapshot();
        session->readOnly = true;
        return OCI_SUCCESS;
    }
    if (!isQuery)
        return fail(error, 900, QStringLiteral("invalid SQL statement"));
    try {
        s->dynaset = session->database->DbCreateDynaset(s->sql, 12);
    } catch (const quarnel::db::DbError& failure) {
        const QString text = failure.description();
        if (text.contains(QLatin1String("no such table")))
            return fail(error, 942, QStringLiteral("table or view does not exist"));
        return fail(error, 900, QStringLiteral("invalid SQL statement (%1)").arg(text));
    }
    s->session = session;
    s->columns.clear();
    s->defines.clear();
    for (const quarnel::db::Field* field : s->dynaset->Fields()) {
        const auto found = session->overrides.constFind(field->Name());
        Column column =
            found != session->overrides.constEnd() ? describeOverride(*found) : describe(*field);
        column.objectMode = s->env->objectMode;
        s->columns.push_back(column);
    }
    return OCI_SUCCESS;
}

STAND_IN_EXPORT sword OCIParamGet(const void* handle, ub4 type, ErrorHandle* error, void** param,
                                  ub4 position) {
    const auto* s = static_cast<const StatementHandle*>(handle);
    if (type != OCI_HTYPE_STMT || position < 1 || position > s->columns.size())
        return fail(error, 24334, QStringLiteral("no descriptor for this position"));
    *param = const_cast<Column*>(&s->columns[position - 1]);
    return OCI_SUCCESS;
}

STAND_IN_EXPORT sword OCIAttrGet(const void* handle, ub4 type, void* attribute, ub4* size,
                                 ub4 which, ErrorHandle* error) {
    return attributeOf(handle, type, attribute, size, which, error);
}

STAND_IN_EXPORT sword OCIDefineByPos(StatementHandle* s, DefineHandle** define, ErrorHandle* error,
                                     ub4 position, void* value, sb4 size, ub2 type, void* indicator,
                                     ub2* length, ub2* returnCode, ub4 mode) {
    if (position < 1 || position > s->columns.size())
        return fail(error, 1007, QStringLiteral("variable not in select list"));
    if (type != SQLT_CHR && type != SQLT_FLT && type != SQLT_VNU)
        return fail(error, 3115, QStringLiteral("unsupported network datatype or representation"));
    auto handle = std::make_unique<DefineHandle>();
    *handle = {value, size,    type,   static_cast<sb2*>(indicator), length, returnCode,
               mode,  nullptr, nullptr};
    *define = handle.get();
    s->defines[position] = std::move(handle);
    return OCI_SUCCESS;
}

STAND_IN_EXPORT sword OCIDefineDynamic(DefineHandle* define, ErrorHandle*, void* context,
                                       OCICallbackDefine callback) {
    define->context = context;
    define->callback = callback;
    return OCI_SUCCESS;
}

STAND_IN_EXPORT sword OCIStmtFetch2(StatementHandle* s, ErrorHandle* error, ub4 rows,
                                    ub2 orientation, sb4, ub4) {
    ++counters()["fetch"];
    s->rowsFetched = 0;
    if (!s->dynaset)
        return fail(error, 24338, QStringLiteral("statement handle not executed"));
    if (orientation != OCI_FETCH_NEXT)
        return fail(error, 24391, QStringLiteral("invalid fetch operation"));
    if (s->defines.empty() && !s->columns.empty())
        return fail(error, 24374,
                    QStringLiteral("define not done before fetch or execute and fetch"));
    for (const auto& [position, define] : s->defines) {
        if (define->type == SQLT_CHR && !hasTextForm(s->columns[position - 1].dataType))
            return fail(error, 932,
                        QStringLiteral("inconsistent datatypes: expected CHAR got %1")
                            .arg(s->columns[position - 1].dataType));
    }
    Session& session = *s->session;
    if (session.dropped)
        return fail(error, 3114, QStringLiteral("not connected to ORACLE"));
    bool ok = false;
    const long failAt = qEnvironmentVariableIntValue("QUARNEL_OCI_STANDIN_FAIL_AT_ROW", &ok);
    bool cut = false;
    ub4 row = 0;
    try {
        for (; row < rows && !s->dynaset->Eof(); ++row) {
            if (ok && session.rowsDelivered == failAt) {
                session.dropped = true;
                s->rowsFetched = row;
                return fail(error, 3113, QStringLiteral("end-of-file on communication channel"));
            }
            for (auto& [position, define] : s->defines) {
                const QVariant value = s->dynaset->Fields(int(position - 1)).Value();
                const sword rc = deliver(*define, row, value, error);
                if (rc == OCI_SUCCESS_WITH_INFO)
                    cut = true;
                else if (rc != OCI_SUCCESS)
                    return rc;
            }
            ++session.rowsDelivered;
            s->dynaset->DbMoveNext();
        }
    } catch (const quarnel::db::DbError& failure) {
        s->rowsFetched = row;
        return fail(error, 1002, failure.description());
    }
    s->rowsFetched = row;
    if (row < rows)
        return OCI_NO_DATA;
    if (cut) {
        error->set(24345, QStringLiteral("A Truncation or null fetch error occurred"));
        return OCI_SUCCESS_WITH_INFO;
    }
    return OCI_SUCCESS;
}

STAND_IN_EXPORT sword OCITransCommit(Session* session, ErrorHandle*, ub4) {
    ++counters()["commit"];
    if (session->readOnly) {
        session->readOnly = false;
        session->database->EndReadSnapshot();
    }
    return OCI_SUCCESS;
}
