#include "db/oci_library.h"

#include "db/data_access.h"
#include "db/library_search.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <iterator>

#if defined(_WIN32)
#include <windows.h>
#else
#include <dlfcn.h>
#endif

namespace quarnel::db {
namespace {

// The platform's loader: a handle, or null with the loader's reason in `reason`.
void* openLibrary(const QString& target, QString& reason) {
#if defined(_WIN32)
    // Always a full path (see openOciLibrary). The library's own folder is searched first for
    // the libraries it loads in turn (Instant Client's oraociei*.dll lie beside oci.dll).
    const QString native = QDir::toNativeSeparators(target);
    HMODULE module = LoadLibraryExW(reinterpret_cast<const wchar_t*>(native.utf16()), nullptr,
                                    LOAD_WITH_ALTERED_SEARCH_PATH);
    if (!module) {
        wchar_t* text = nullptr;
        FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                           FORMAT_MESSAGE_IGNORE_INSERTS,
                       nullptr, GetLastError(), 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
        reason = native + QStringLiteral(": ") +
                 QString::fromWCharArray(text ? text : L"LoadLibrary failed").trimmed();
        LocalFree(text);
    }
    return reinterpret_cast<void*>(module);
#else
    void* handle = dlopen(QFile::encodeName(target).constData(), RTLD_NOW | RTLD_LOCAL);
    if (!handle)
        reason = QString::fromLocal8Bit(dlerror());
    return handle;
#endif
}

void* librarySymbol(void* handle, const char* name) {
#if defined(_WIN32)
    return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(handle), name));
#else
    return dlsym(handle, name);
#endif
}

void closeLibrary(void* handle) {
#if defined(_WIN32)
    FreeLibrary(static_cast<HMODULE>(handle));
#else
    dlclose(handle);
#endif
}

// The library of the run, once loaded; never unloaded (the client library does not support it).
OciLibrary& loaded() {
    static OciLibrary instance;
    return instance;
}

QString programFolder() {
    if (QCoreApplication::instance())
        return QCoreApplication::applicationDirPath();
#if defined(_WIN32)
    wchar_t path[32768];
    const DWORD length = GetModuleFileNameW(nullptr, path, DWORD(std::size(path)));
    if (length == 0 || length >= std::size(path))
        return {};
    return QFileInfo(QString::fromWCharArray(path, int(length))).absolutePath();
#else
    return QFileInfo(QStringLiteral("/proc/self/exe")).canonicalPath();
#endif
}

// The place reported when ORACLE_HOME is not set.
QString unsetOracleHomePlace() {
#if defined(_WIN32)
    return QStringLiteral("%ORACLE_HOME%\\bin (ORACLE_HOME は未設定)");
#else
    return QStringLiteral("$ORACLE_HOME/lib (ORACLE_HOME は未設定)");
#endif
}

// What the message of a failed search advises.
QString installAdvice() {
#if defined(_WIN32)
    return QStringLiteral(
        "そのフォルダーを PATH に加えるか、"
        "プログラムと同じフォルダーに置いてください。");
#else
    return QStringLiteral(
        "そのフォルダーを LD_LIBRARY_PATH に加えるか、"
        "プログラムと同じフォルダーに置いてください。");
#endif
}

template <typename Fn>
bool resolve(void* handle, const char* name, Fn& target, QString& missing) {
    target = reinterpret_cast<Fn>(librarySymbol(handle, name));
    if (!target)
        missing = QString::fromLatin1(name);
    return target != nullptr;
}

// Resolves every call the engine uses; `missing` names the first one the library lacks.
bool resolveAll(void* handle, oci::Functions& f, QString& missing) {
    return resolve(handle, "OCIEnvNlsCreate", f.envNlsCreate, missing) &&
           resolve(handle, "OCIHandleAlloc", f.handleAlloc, missing) &&
           resolve(handle, "OCIHandleFree", f.handleFree, missing) &&
           resolve(handle, "OCIDescriptorFree", f.descriptorFree, missing) &&
           resolve(handle, "OCIErrorGet", f.errorGet, missing) &&
           resolve(handle, "OCILogon2", f.logon2, missing) &&
           resolve(handle, "OCILogoff", f.logoff, missing) &&
           resolve(handle, "OCIStmtPrepare", f.stmtPrepare, missing) &&
           resolve(handle, "OCIStmtExecute", f.stmtExecute, missing) &&
           resolve(handle, "OCIStmtFetch2", f.stmtFetch2, missing) &&
           resolve(handle, "OCIParamGet", f.paramGet, missing) &&
           resolve(handle, "OCIAttrGet", f.attrGet, missing) &&
           resolve(handle, "OCIDefineByPos", f.defineByPos, missing) &&
           resolve(handle, "OCIDefineDynamic", f.defineDynamic, missing) &&
           resolve(handle, "OCITransCommit", f.transCommit, missing);
}

bool isNotFound(const QString& reason) {
    return reason.contains(QLatin1String("No such file")) ||
           reason.contains(QLatin1String("not found"), Qt::CaseInsensitive);
}

}  // namespace

OciLibrarySearch defaultOciLibrarySearch() {
    OciLibrarySearch search;
#if defined(_WIN32)
    search.names = {QStringLiteral("oci.dll")};
#elif defined(__APPLE__)
    search.names = {QStringLiteral("libclntsh.dylib")};
#else
    search.names = {QStringLiteral("libclntsh.so")};
    // Instant Client ships the versioned names; the unversioned link is not always made.
    for (const char* version : {"23.1", "21.1", "19.1", "18.1", "12.1", "11.1"})
        search.names << QStringLiteral("libclntsh.so.") + QLatin1String(version);
#endif
    search.folders = {programFolder()};
    const QString home = qEnvironmentVariable("ORACLE_HOME");
#if defined(_WIN32)
    // A full client installation keeps oci.dll in its bin folder.
    if (!home.isEmpty())
        search.oracleHomeLib = QDir(home).filePath(QStringLiteral("bin"));
#else
    if (!home.isEmpty())
        search.oracleHomeLib = QDir(home).filePath(QStringLiteral("lib"));
#endif
    return search;
}

const oci::Functions& loadOciLibrary(const OciLibrarySearch& search) {
    OciLibrary& library = loaded();
    if (!library.handle)
        library = openOciLibrary(search);
    return library.functions;
}

OciLibrary openOciLibrary(const OciLibrarySearch& search) {
    removeCurrentFolderFromLibrarySearch();
    OciLibrary library;

    // The reasons the loader gave for files that exist but could not be used; a plain "not
    // found" only when nothing better is known.
    QStringList reasons;
    QString notFound;
    const auto attempt = [&](const QString& target, bool isPath) -> bool {
        if (isPath && !QFileInfo::exists(target))
            return false;
        QString reason;
        void* handle = openLibrary(target, reason);
        if (!handle) {
            // A name the system search did not find at all; any other reason, such as a
            // dependency of the library that is missing, is worth showing.
            if (!isPath && reason.startsWith(target + u':') && isNotFound(reason)) {
                if (notFound.isEmpty())
                    notFound = reason;
            } else
                reasons << reason;
            return false;
        }
        oci::Functions functions;
        QString missing;
        if (!resolveAll(handle, functions, missing)) {
            reasons << QStringLiteral("%1 に %2 がありません").arg(target, missing);
            closeLibrary(handle);
            return false;
        }
        library.handle = handle;
        library.functions = functions;
        return true;
    };

    QStringList places;
    for (const QString& folder : search.folders) {
        places << QDir::toNativeSeparators(folder);
        for (const QString& name : search.names) {
            if (attempt(QDir(folder).filePath(name), true))
                return library;
        }
    }
    if (search.systemSearch) {
#if defined(_WIN32)
        // Never the bare name: LoadLibrary would look in the current folder too, and in places
        // nobody meant. The folders of PATH instead, where Instant Client's instructions put
        // it, each with a full path.
        for (const QString& folder : absolutePathFolders(qEnvironmentVariable("PATH"), u';')) {
            places << QDir::toNativeSeparators(folder);
            for (const QString& name : search.names) {
                if (attempt(QDir(folder).filePath(name), true))
                    return library;
            }
        }
#else
        places << QStringLiteral("システムのライブラリ検索パス (LD_LIBRARY_PATH, ldconfig)");
        for (const QString& name : search.names) {
            if (attempt(name, false))
                return library;
        }
#endif
    }
    if (!search.oracleHomeLib.isEmpty()) {
        places << QDir::toNativeSeparators(search.oracleHomeLib);
        for (const QString& name : search.names) {
            if (attempt(QDir(search.oracleHomeLib).filePath(name), true))
                return library;
        }
    } else {
        places << unsetOracleHomePlace();
    }
    if (reasons.isEmpty())
        reasons << (notFound.isEmpty() ? QStringLiteral("ファイルが見つかりません") : notFound);
    throw DbError(
        QStringLiteral("Oracle クライアント ライブラリ (%1) を読み込めません。\n"
                       "探した場所: %2\n"
                       "理由: %3\n"
                       "Oracle Instant Client (Basic または Basic Light) をインストールし、%4")
            .arg(search.names.join(QStringLiteral(", ")), places.join(QStringLiteral(", ")),
                 reasons.join(QStringLiteral("; ")), installAdvice()));
}

}  // namespace quarnel::db
