// The stand-in Oracle client library from the tests' point of view: the engine finds it through
// ORACLE_HOME, and its counters are read through the same loaded library.
#pragma once

#include "db/data_access.h"

#include <QByteArray>
#include <QString>

#include <dlfcn.h>

#include <memory>
#include <stdexcept>

namespace quarnel::testing {

#ifdef QUARNEL_OCI_STAND_IN_HOME
inline constexpr const char* kStandInHome = QUARNEL_OCI_STAND_IN_HOME;
inline const QByteArray kStandInLibrary =
    QByteArray(QUARNEL_OCI_STAND_IN_HOME) + "/lib/libclntsh.so";

// Points the engine's search at the stand-in ($ORACLE_HOME/lib).
inline void useOciStandIn() {
    qputenv("ORACLE_HOME", kStandInHome);
}

// The stand-in's counter `name` ("fetch", "execute", "logon", "logoff", "commit", "read-only",
// "env-al32utf8", "statement-free").
inline long standInCounter(const char* name) {
    void* handle = dlopen(kStandInLibrary.constData(), RTLD_NOW | RTLD_LOCAL);
    if (!handle)
        throw std::runtime_error(dlerror());
    using Counter = long (*)(const char*);
    auto counter = reinterpret_cast<Counter>(dlsym(handle, "quarnelStandInCounter"));
    const long value = counter ? counter(name) : -1;
    dlclose(handle);
    return value;
}

// Logs on through the session, as the logon dialog does, with the SQLite file `path` as the
// database the stand-in answers from.
inline std::shared_ptr<db::Database> logOnThroughStandIn(
    const QString& path, const QString& connect = QStringLiteral("scott/tiger")) {
    useOciStandIn();
    return db::CreateSession(QLatin1String(db::kSessionClassName))
        ->DbOpenDatabase(path, connect, 3);
}
#endif

}  // namespace quarnel::testing
