// Finding and loading the user's Oracle client library at run time.
#pragma once

#include "db/oci_api.h"

#include <QString>
#include <QStringList>

namespace quarnel::db {

// Where the client library is looked for, in this order: each folder of `folders` (the program's
// own folder first), then the system's library search when `systemSearch` is true, then
// `oracleHomeLib` when it is not empty. Each place is tried with every name of `names`.
struct OciLibrarySearch {
    QStringList names;
    QStringList folders;
    bool systemSearch = true;
    QString oracleHomeLib;
};

// The search of an ordinary run: the platform's library names, the program's folder, the system
// search, and $ORACLE_HOME/lib when ORACLE_HOME is set.
OciLibrarySearch defaultOciLibrarySearch();

// A client library opened by openOciLibrary: its handle and entry points.
struct OciLibrary {
    void* handle = nullptr;
    oci::Functions functions;
};

// Opens the first library of `search` that loads and exports every call the engine uses, without
// keeping it. Throws DbError as loadOciLibrary does.
OciLibrary openOciLibrary(const OciLibrarySearch& search);

// The OCI entry points of the first library of `search` that loads and exports every call the
// engine uses. A library once loaded stays loaded for the rest of the run; a failed search is
// tried again at the next call. Throws DbError with a message that names the library, the places
// looked in, the loader's reason and how to install Oracle Instant Client.
const oci::Functions& loadOciLibrary(const OciLibrarySearch& search = defaultOciLibrarySearch());

}  // namespace quarnel::db
