// A stand-in for the Oracle client library, for the tests only: it exports the OCI calls the
// Oracle engine uses and answers them from an SQLite file through the embedded engine.
//
// It is written from the same reading of Oracle's documentation as the engine (db/oci_api.h), so
// it checks how the engine drives the calls, not the constants themselves.
//
// The database name given at logon is the path of the SQLite file. Scripted behaviour:
// - password "wrong": ORA-01017; user LOCKED: ORA-28000; user EXPIRING: logon with the warning
//   ORA-28002; a name that is no file: ORA-12541 when it holds ':' (host:port/service), else
//   ORA-12154.
// - the table OCI_STANDIN_DESCRIBE of the file, when present, overrides the description of the
//   result columns it names (column_name, data_type, data_size, precision, scale, charset_form,
//   char_used, char_size, type_name, schema_name), for types SQLite cannot declare.
// - the environment variable QUARNEL_OCI_STANDIN_FAIL_AT_ROW=N makes the fetch call that would
//   deliver row N (counted from 0 over the session) fail with ORA-03113, and the session dropped.
// The counters (fetch calls, executes, logons, ...) are read by the tests through
// quarnelStandInCounter().
#include "db/data_access.h"
#include "db/engines.h"
#include "db/oci_api.h"
#include "db/oracle_types.h"

#include <QByteArray>
#include <QFileInfo>
#include <QHash>
#include <QString>

#include <sqlite3.h>

#include <cstring>
#include <map>
#include <memory>
#include <vector>

using namespace quarnel::db;
using namespace quarnel::db::oci;

#define STAND_IN_EXPORT extern "C" __attribute__((visibility("default")))

namespace {

QHash<QByteArray, long> g_counters;

struct ErrorHandle {
    sb4 code = 0;
    QByteArray text;
    void set(sb4 number, const QString& message) {
        code = number;
        text =
            QStringLiteral("ORA-%1: %2").arg(number, 5, 10, QLatin1Char('0')).arg(message).toUtf8();
    }
    void clear() {
        code = 0;
        text.clear();
    }
};

struct Column {
    QByteArray name;
    ub2 dataType = 1;
    ub2 dataSize = 0;
    sb2 precision = 0;
    sb1 scale = 0;
    ub1 isNull = 1;
    ub1 charsetForm = 0;
    ub1 charUsed = 0;
    ub2 charSize = 0;
    QByteArray typeName;
    QByteArray schemaName;
};

struct StandInSession {
    std::shared_ptr<Database> database;
    QHash<QString, Column> overrides;
    bool dropped = false;
    bool readOnly = false;
    long rowsDelivered = 0;
};

struct DefineHandle {
    void* value = nullptr;
    sb4 size = 0;
    ub2 type = 0;
    sb2* indicator = nullptr;
    ub2* length = nullptr;
    ub2* returnCode = nullptr;
    ub4 mode = 0;
    void* context = nullptr;
    DefineCallback callback = nullptr;
};

struct StatementHandle {
    QString sql;
    StandInSession* session = nullptr;
    std::unique_ptr<Dynaset> dynaset;
    std::vector<Column> columns;
    std::map<ub4, std::unique_ptr<DefineHandle>> defines;
    ub4 rowsFetched = 0;
};

sword fail(void* error, sb4 code, const QString& message) {
    if (error)
        static_cast<ErrorHandle*>(error)->set(code, message);
    return kError;
}

ub2 describedCode(int code) {
    switch (code) {
        case oracle_type::kTimestamp:
            return oracle_type::kTimestampDescribed;
        case oracle_type::kTimestampTz:
            return oracle_type::kTimestampTzDescribed;
        case oracle_type::kTimestampLtz:
            return oracle_type::kTimestampLtzDescribed;
        case oracle_type::kIntervalYearToMonth:
            return oracle_type::kIntervalYearToMonthDescribed;
        case oracle_type::kIntervalDayToSecond:
            return oracle_type::kIntervalDayToSecondDescribed;
        case oracle_type::kRowid:
            return oracle_type::kRowidDescriptor;
        default:
            return ub2(code);
    }
}

// A result column as Oracle's describe would report it.
Column describe(const Field& field) {
    Column column;
    column.name = field.Name().toUtf8();
    const int code = field.OraIDataType();
    column.dataType = describedCode(code);
    column.dataSize = ub2(field.Size());
    column.precision = sb2(field.OraPrecision());
    column.scale = sb1(field.OraScale());
    // A NUMBER without precision describes with the scale of a floating-point number.
    if (code == oracle_type::kNumber && column.precision == 0)
        column.scale = sb1(oracle_type::kFloatScale);
    column.isNull = field.OraNullOK() ? 1 : 0;
    if (code == oracle_type::kVarchar2 || code == oracle_type::kChar ||
        code == oracle_type::kClob || code == oracle_type::kLong) {
        column.charsetForm = kCharsetFormImplicit;
    }
    if (code == oracle_type::kVarchar2 || code == oracle_type::kChar)
        column.charSize = ub2(field.Size());
    // The dictionary's index expressions are a LONG column.
    if (field.Name().compare(QLatin1String("column_expression"), Qt::CaseInsensitive) == 0) {
        column.dataType = oracle_type::kLong;
        column.dataSize = 0;
        column.charsetForm = kCharsetFormImplicit;
        column.charSize = 0;
    }
    return column;
}

QHash<QString, Column> readOverrides(const QString& path) {
    QHash<QString, Column> overrides;
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr) ==
        SQLITE_OK) {
        sqlite3_stmt* statement = nullptr;
        if (sqlite3_prepare_v2(db,
                               "SELECT column_name, data_type, data_size, precision, scale, "
                               "charset_form, char_used, char_size, type_name, schema_name "
                               "FROM OCI_STANDIN_DESCRIBE",
                               -1, &statement, nullptr) == SQLITE_OK) {
            while (sqlite3_step(statement) == SQLITE_ROW) {
                Column c;
                c.name = reinterpret_cast<const char*>(sqlite3_column_text(statement, 0));
                c.dataType = ub2(sqlite3_column_int(statement, 1));
                c.dataSize = ub2(sqlite3_column_int(statement, 2));
                c.precision = sb2(sqlite3_column_int(statement, 3));
                c.scale = sb1(sqlite3_column_int(statement, 4));
                c.charsetForm = ub1(sqlite3_column_int(statement, 5));
                c.charUsed = ub1(sqlite3_column_int(statement, 6));
                c.charSize = ub2(sqlite3_column_int(statement, 7));
                if (const auto* t = sqlite3_column_text(statement, 8))
                    c.typeName = reinterpret_cast<const char*>(t);
                if (const auto* s = sqlite3_column_text(statement, 9))
                    c.schemaName = reinterpret_cast<const char*>(s);
                overrides.insert(QString::fromUtf8(c.name), c);
            }
        }
        sqlite3_finalize(statement);
    }
    sqlite3_close(db);
    return overrides;
}

QByteArray valueText(const QVariant& value) {
    if (value.typeId() == QMetaType::QByteArray)
        return value.toByteArray().toHex().toUpper();
    if (value.typeId() == QMetaType::Double)
        return QByteArray::number(value.toDouble(), 'g', 15);
    return value.toString().toUtf8();
}

// Writes one row's value of a column into the define's buffers at row `row`.
sword deliver(DefineHandle& define, Define* handle, ub4 row, const QVariant& value, void* error) {
    const bool isNull = !value.isValid() || value.isNull();
    if (define.mode == kDynamicFetch) {
        const QByteArray bytes = isNull ? QByteArray() : valueText(value);
        qsizetype offset = 0;
        ub1 piece = kFirstPiece;
        do {
            void* buffer = nullptr;
            ub4* length = nullptr;
            void* indicator = nullptr;
            ub2* returnCode = nullptr;
            if (define.callback(define.context, handle, row, &buffer, &length, &piece, &indicator,
                                &returnCode) != kContinue) {
                return fail(error, 24343, QStringLiteral("user defined callback error"));
            }
            const ub4 room = length ? *length : 0;
            const ub4 copied = ub4(std::min<qsizetype>(room, bytes.size() - offset));
            if (copied > 0)
                std::memcpy(buffer, bytes.constData() + offset, copied);
            *length = copied;
            if (indicator)
                *static_cast<sb2*>(indicator) = isNull ? -1 : 0;
            offset += copied;
            piece = kNextPiece;
            if (room == 0)
                break;
        } while (offset < bytes.size());
        return kSuccess;
    }
    if (define.indicator)
        define.indicator[row] = isNull ? -1 : 0;
    if (define.returnCode)
        define.returnCode[row] = 0;
    if (isNull) {
        if (define.length)
            define.length[row] = 0;
        return kSuccess;
    }
    char* target = static_cast<char*>(define.value) + size_t(define.size) * row;
    if (define.type == kSqltFlt) {
        bool ok = false;
        const double number = value.toDouble(&ok);
        if (!ok)
            return fail(error, 1722, QStringLiteral("invalid number"));
        std::memcpy(target, &number, sizeof number);
        if (define.length)
            define.length[row] = sizeof number;
        return kSuccess;
    }
    const QByteArray bytes = valueText(value);
    const qsizetype copied = std::min<qsizetype>(bytes.size(), define.size);
    std::memcpy(target, bytes.constData(), size_t(copied));
    if (define.length)
        define.length[row] = ub2(copied);
    if (copied < bytes.size() && define.returnCode)
        define.returnCode[row] = kTruncated;
    return kSuccess;
}

}  // namespace

STAND_IN_EXPORT long quarnelStandInCounter(const char* name) {
    return g_counters.value(QByteArray(name));
}

STAND_IN_EXPORT void quarnelStandInReset() {
    g_counters.clear();
}

STAND_IN_EXPORT sword OCIEnvNlsCreate(Env** env, ub4, void*, void* (*)(void*, size_t),
                                      void* (*)(void*, void*, size_t), void (*)(void*, void*),
                                      size_t, void**, ub2 charset, ub2 ncharset) {
    ++g_counters["env"];
    if (charset == kAl32Utf8 && ncharset == kAl32Utf8)
        ++g_counters["env-al32utf8"];
    *env = reinterpret_cast<Env*>(new int(1));
    return kSuccess;
}

STAND_IN_EXPORT sword OCIHandleAlloc(const void*, void** handle, ub4 type, size_t, void**) {
    switch (type) {
        case kHtypeError:
            *handle = new ErrorHandle;
            return kSuccess;
        case kHtypeStmt:
            *handle = new StatementHandle;
            return kSuccess;
        default:
            return kInvalidHandle;
    }
}

STAND_IN_EXPORT sword OCIHandleFree(void* handle, ub4 type) {
    switch (type) {
        case kHtypeEnv:
            delete static_cast<int*>(handle);
            return kSuccess;
        case kHtypeError:
            delete static_cast<ErrorHandle*>(handle);
            return kSuccess;
        case kHtypeStmt:
            ++g_counters["statement-free"];
            delete static_cast<StatementHandle*>(handle);
            return kSuccess;
        default:
            return kInvalidHandle;
    }
}

STAND_IN_EXPORT sword OCIDescriptorFree(void*, ub4 type) {
    return type == kDtypeParam ? kSuccess : kInvalidHandle;
}

STAND_IN_EXPORT sword OCIErrorGet(void* handle, ub4 record, OraText*, sb4* code, OraText* buffer,
                                  ub4 size, ub4 type) {
    const auto* error = static_cast<ErrorHandle*>(handle);
    if (type != kHtypeError || !error || record != 1 || error->code == 0)
        return kNoData;
    *code = error->code;
    const QByteArray text = error->text + '\n';
    const size_t copied = std::min<size_t>(size_t(text.size()), size - 1);
    std::memcpy(buffer, text.constData(), copied);
    buffer[copied] = 0;
    return kSuccess;
}

STAND_IN_EXPORT sword OCILogon2(Env*, Error* errorHandle, SvcCtx** service, const OraText* user,
                                ub4 userLength, const OraText* password, ub4 passwordLength,
                                const OraText* database, ub4 databaseLength, ub4) {
    ++g_counters["logon"];
    auto* error = reinterpret_cast<ErrorHandle*>(errorHandle);
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
    auto session = std::make_unique<StandInSession>();
    try {
        session->database = OpenSqliteDatabase(path);
    } catch (const DbError& refused) {
        return fail(error, 12154, refused.description());
    }
    session->overrides = readOverrides(path);
    *service = reinterpret_cast<SvcCtx*>(session.release());
    if (userName == QLatin1String("EXPIRING")) {
        error->set(28002, QStringLiteral("the password will expire within 7 days"));
        return kSuccessWithInfo;
    }
    return kSuccess;
}

STAND_IN_EXPORT sword OCILogoff(SvcCtx* service, Error*) {
    ++g_counters["logoff"];
    delete reinterpret_cast<StandInSession*>(service);
    return kSuccess;
}

STAND_IN_EXPORT sword OCIStmtPrepare(Stmt* statement, Error* error, const OraText* text, ub4 length,
                                     ub4 language, ub4) {
    if (language != kNtvSyntax)
        return fail(error, 1041, QStringLiteral("unsupported language"));
    auto* s = reinterpret_cast<StatementHandle*>(statement);
    s->sql = QString::fromUtf8(reinterpret_cast<const char*>(text), length);
    return kSuccess;
}

STAND_IN_EXPORT sword OCIStmtExecute(SvcCtx* service, Stmt* statement, Error* error, ub4 iterations,
                                     ub4, const Snapshot*, Snapshot*, ub4) {
    ++g_counters["execute"];
    auto* session = reinterpret_cast<StandInSession*>(service);
    auto* s = reinterpret_cast<StatementHandle*>(statement);
    if (session->dropped)
        return fail(error, 3114, QStringLiteral("not connected to ORACLE"));
    const QString sql = s->sql.simplified().toUpper();
    const bool isQuery = sql.startsWith(QLatin1String("SELECT"));
    if (!isQuery && iterations == 0)
        return fail(error, 24333, QStringLiteral("zero iteration count"));
    if (sql == QLatin1String("SET TRANSACTION READ ONLY")) {
        ++g_counters["read-only"];
        session->database->BeginReadSnapshot();
        session->readOnly = true;
        return kSuccess;
    }
    if (!isQuery)
        return fail(error, 900, QStringLiteral("invalid SQL statement"));
    try {
        s->dynaset = session->database->DbCreateDynaset(s->sql, 12);
    } catch (const DbError& failure) {
        const QString text = failure.description();
        if (text.contains(QLatin1String("no such table")))
            return fail(error, 942, QStringLiteral("table or view does not exist"));
        return fail(error, 900, QStringLiteral("invalid SQL statement (%1)").arg(text));
    }
    s->session = session;
    s->columns.clear();
    for (const Field* field : s->dynaset->Fields()) {
        const auto found = session->overrides.constFind(field->Name());
        s->columns.push_back(found != session->overrides.constEnd() ? *found : describe(*field));
    }
    return kSuccess;
}

STAND_IN_EXPORT sword OCIParamGet(const void* handle, ub4 type, Error* error, void** param,
                                  ub4 position) {
    const auto* s = static_cast<const StatementHandle*>(handle);
    if (type != kHtypeStmt || position < 1 || position > s->columns.size())
        return fail(error, 24334, QStringLiteral("no descriptor for this position"));
    *param = const_cast<Column*>(&s->columns[position - 1]);
    return kSuccess;
}

STAND_IN_EXPORT sword OCIAttrGet(const void* handle, ub4 type, void* attribute, ub4* size,
                                 ub4 which, Error* error) {
    const auto put = [&](auto value) {
        std::memcpy(attribute, &value, sizeof value);
        if (size)
            *size = sizeof value;
        return kSuccess;
    };
    const auto putText = [&](const QByteArray& text) {
        *static_cast<const OraText**>(attribute) =
            reinterpret_cast<const OraText*>(text.constData());
        if (size)
            *size = ub4(text.size());
        return kSuccess;
    };
    if (type == kHtypeStmt) {
        const auto* s = static_cast<const StatementHandle*>(handle);
        if (which == kAttrParamCount)
            return put(ub4(s->columns.size()));
        if (which == kAttrRowsFetched)
            return put(s->rowsFetched);
    } else if (type == kDtypeParam) {
        const auto* c = static_cast<const Column*>(handle);
        switch (which) {
            case kAttrName:
                return putText(c->name);
            case kAttrDataType:
                return put(c->dataType);
            case kAttrDataSize:
                return put(c->dataSize);
            case kAttrPrecision:
                return put(c->precision);
            case kAttrScale:
                return put(c->scale);
            case kAttrIsNull:
                return put(c->isNull);
            case kAttrCharsetForm:
                return put(c->charsetForm);
            case kAttrCharUsed:
                return put(c->charUsed);
            case kAttrCharSize:
                return put(c->charSize);
            case kAttrTypeName:
                return putText(c->typeName);
            case kAttrSchemaName:
                return putText(c->schemaName);
            default:
                break;
        }
    }
    return fail(error, 24315, QStringLiteral("illegal attribute type"));
}

STAND_IN_EXPORT sword OCIDefineByPos(Stmt* statement, Define** define, Error* error, ub4 position,
                                     void* value, sb4 size, ub2 type, void* indicator, ub2* length,
                                     ub2* returnCode, ub4 mode) {
    auto* s = reinterpret_cast<StatementHandle*>(statement);
    if (position < 1 || position > s->columns.size())
        return fail(error, 1007, QStringLiteral("variable not in select list"));
    if (type != kSqltChr && type != kSqltFlt)
        return fail(error, 3115, QStringLiteral("unsupported network datatype or representation"));
    auto handle = std::make_unique<DefineHandle>();
    *handle = {value, size,    type,   static_cast<sb2*>(indicator), length, returnCode,
               mode,  nullptr, nullptr};
    *define = reinterpret_cast<Define*>(handle.get());
    s->defines[position] = std::move(handle);
    return kSuccess;
}

STAND_IN_EXPORT sword OCIDefineDynamic(Define* define, Error*, void* context,
                                       DefineCallback callback) {
    auto* d = reinterpret_cast<DefineHandle*>(define);
    d->context = context;
    d->callback = callback;
    return kSuccess;
}

STAND_IN_EXPORT sword OCIStmtFetch2(Stmt* statement, Error* error, ub4 rows, ub2 orientation, sb4,
                                    ub4) {
    ++g_counters["fetch"];
    auto* s = reinterpret_cast<StatementHandle*>(statement);
    s->rowsFetched = 0;
    if (!s->dynaset)
        return fail(error, 24338, QStringLiteral("statement handle not executed"));
    if (orientation != kFetchNext)
        return fail(error, 24391, QStringLiteral("invalid fetch operation"));
    StandInSession& session = *s->session;
    if (session.dropped)
        return fail(error, 3114, QStringLiteral("not connected to ORACLE"));
    bool ok = false;
    const long failAt = qEnvironmentVariableIntValue("QUARNEL_OCI_STANDIN_FAIL_AT_ROW", &ok);
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
                const sword rc =
                    deliver(*define, reinterpret_cast<Define*>(define.get()), row, value, error);
                if (rc != kSuccess)
                    return rc;
            }
            ++session.rowsDelivered;
            s->dynaset->DbMoveNext();
        }
    } catch (const DbError& failure) {
        s->rowsFetched = row;
        return fail(error, 1002, failure.description());
    }
    s->rowsFetched = row;
    return row < rows ? kNoData : kSuccess;
}

STAND_IN_EXPORT sword OCITransCommit(SvcCtx* service, Error*, ub4) {
    ++g_counters["commit"];
    auto* session = reinterpret_cast<StandInSession*>(service);
    if (session->readOnly) {
        session->readOnly = false;
        session->database->EndReadSnapshot();
    }
    return kSuccess;
}
