// The handles of the stand-in client library and the rules by which it describes columns and
// delivers values (stand_in.cpp exports the calls).
#pragma once

#include "oci_declarations.h"

#include "db/data_access.h"

#include <QByteArray>
#include <QHash>
#include <QString>

#include <map>
#include <memory>
#include <vector>

namespace standin {

// The counters the tests read ("fetch", "logon", "live-env", ...).
QHash<QByteArray, long>& counters();

struct EnvHandle;

// A handle made from an environment, and freed with it when not freed before.
struct ChildHandle {
    virtual ~ChildHandle() = default;
    EnvHandle* env = nullptr;
};

struct ErrorRecord {
    sb4 code = 0;
    QByteArray text;
    void set(sb4 number, const QString& message);
    void clear() {
        code = 0;
        text.clear();
    }
};

struct ErrorHandle : ChildHandle, ErrorRecord {
    ~ErrorHandle() override { --counters()["live-error"]; }
};

struct EnvHandle {
    bool objectMode = false;
    ErrorRecord error;  // what a failed OCIEnvNlsCreate left
    std::vector<std::unique_ptr<ChildHandle>> children;

    // Freeing the environment frees what was made from it, the newest first.
    ~EnvHandle() {
        while (!children.empty())
            children.pop_back();
    }
    template <typename T>
    T* adopt(std::unique_ptr<T> child) {
        child->env = this;
        T* raw = child.get();
        children.push_back(std::move(child));
        return raw;
    }
    void release(ChildHandle* child);
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
    bool objectMode = false;
};

struct Session : ChildHandle {
    ~Session() override { --counters()["live-session"]; }
    std::shared_ptr<quarnel::db::Database> database;
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
    OCICallbackDefine callback = nullptr;
};

struct StatementHandle : ChildHandle {
    ~StatementHandle() override { --counters()["live-statement"]; }
    QString sql;
    Session* session = nullptr;
    std::unique_ptr<quarnel::db::Dynaset> dynaset;
    std::vector<Column> columns;
    std::map<ub4, std::unique_ptr<DefineHandle>> defines;
    ub4 rowsFetched = 0;
};

// Records the error on `error` and answers OCI_ERROR.
sword fail(ErrorHandle* error, sb4 code, const QString& message);

// A result column as a server describes it, from the embedded engine's field or from an
// OCI_STANDIN_DESCRIBE row.
Column describe(const quarnel::db::Field& field);
Column describeOverride(Column column);
QHash<QString, Column> readOverrides(const QString& path);

// Whether a column of described type `code` may be defined as text.
bool hasTextForm(int code);

sword attributeOf(const void* handle, ub4 type, void* attribute, ub4* size, ub4 which,
                  ErrorHandle* error);

// Writes one row's value into a define; OCI_SUCCESS_WITH_INFO when it was cut or carries a
// column return code.
sword deliver(DefineHandle& define, ub4 row, const QVariant& value, ErrorHandle* error);

}  // namespace standin
