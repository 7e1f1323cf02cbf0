#include "oracle_bench.h"

#include "bench_report.h"

#include "app/frm_mainkey.h"
#include "catalog/queries.h"
#include "db/oci_api.h"
#include "db/oci_library.h"
#include "shell/app_state.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>

#if defined(_WIN32)
#include <windows.h>
#else
#include <dlfcn.h>
#endif

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace quarnel::bench {
namespace {

using namespace db;

// The table-list query through the client library alone: prepare, execute, one text define,
// fetch 1,000 rows per call until the end, every name's bytes read.
class BareOci {
  public:
    explicit BareOci(const oci::Functions& f) : f(f) {}

    bool logOn(const QString& schema) {
        f.envNlsCreate(&m_env, oci::kDefault, nullptr, nullptr, nullptr, nullptr, 0, nullptr,
                       oci::kAl32Utf8, oci::kAl32Utf8);
        void* error = nullptr;
        f.handleAlloc(m_env, &error, oci::kHtypeError, 0, nullptr);
        m_error = static_cast<oci::Error*>(error);
        const QByteArray path = schema.toUtf8();
        return f.logon2(m_env, m_error, &m_service, reinterpret_cast<const oci::OraText*>("bench"),
                        5, reinterpret_cast<const oci::OraText*>(""), 0,
                        reinterpret_cast<const oci::OraText*>(path.constData()),
                        oci::ub4(path.size()), oci::kDefault) == oci::kSuccess;
    }

    long readTableList() {
        constexpr oci::ub4 rows = 1000;
        constexpr oci::sb4 width = 512;
        std::vector<char> data(size_t(rows) * width);
        std::vector<oci::sb2> indicator(rows);
        std::vector<oci::ub2> length(rows);
        void* handle = nullptr;
        f.handleAlloc(m_env, &handle, oci::kHtypeStmt, 0, nullptr);
        auto* statement = static_cast<oci::Stmt*>(handle);
        const QByteArray sql = catalog::tableListSql().toUtf8();
        f.stmtPrepare(statement, m_error, reinterpret_cast<const oci::OraText*>(sql.constData()),
                      oci::ub4(sql.size()), oci::kNtvSyntax, oci::kDefault);
        f.stmtExecute(m_service, statement, m_error, 0, 0, nullptr, nullptr, oci::kDefault);
        oci::Define* define = nullptr;
        f.defineByPos(statement, &define, m_error, 1, data.data(), width, oci::kSqltChr,
                      indicator.data(), length.data(), nullptr, oci::kDefault);
        long bytes = 0;
        for (;;) {
            const oci::sword rc =
                f.stmtFetch2(statement, m_error, rows, oci::kFetchNext, 0, oci::kDefault);
            oci::ub4 fetched = 0;
            f.attrGet(statement, oci::kHtypeStmt, &fetched, nullptr, oci::kAttrRowsFetched,
                      m_error);
            for (oci::ub4 i = 0; i < fetched; ++i)
                bytes += length[i] + data[size_t(i) * width];
            if (rc != oci::kSuccess)
                break;
        }
        f.handleFree(statement, oci::kHtypeStmt);
        return bytes;
    }

  private:
    const oci::Functions& f;
    oci::Env* m_env = nullptr;
    oci::Error* m_error = nullptr;
    oci::SvcCtx* m_service = nullptr;
};

}  // namespace

long standInCounter(const QString& standInLib, const char* name) {
    using Counter = long (*)(const char*);
#if defined(_WIN32)
    const QString path = QDir::toNativeSeparators(QDir(standInLib).filePath("oci.dll"));
    HMODULE module = GetModuleHandleW(reinterpret_cast<const wchar_t*>(path.utf16()));
    if (!module)
        return -1;
    auto counter = reinterpret_cast<Counter>(
        reinterpret_cast<void*>(GetProcAddress(module, "quarnelStandInCounter")));
    return counter ? counter(name) : -1;
#else
    void* handle = dlopen(QDir(standInLib).filePath("libclntsh.so").toUtf8().constData(),
                          RTLD_NOW | RTLD_NOLOAD);
    if (!handle)
        return -1;
    auto counter = reinterpret_cast<Counter>(dlsym(handle, "quarnelStandInCounter"));
    const long value = counter ? counter(name) : -1;
    dlclose(handle);
    return value;
#endif
}

bool runOracleTableList(AppState& state, frm_mainkey& window, const QString& schema,
                        const QString& standInLib, int runs) {
    QDir home(standInLib);
    home.cdUp();
    qputenv("ORACLE_HOME", home.absolutePath().toUtf8());
    std::shared_ptr<Database> oracle;
    try {
        oracle = state.objOraSession->DbOpenDatabase(schema, QStringLiteral("bench/"), 3);
    } catch (const DbError& error) {
        std::fprintf(stderr, "bench: %s\n", qUtf8Printable(error.description()));
        return false;
    }
    BareOci bare(loadOciLibrary());
    if (!bare.logOn(schema))
        return false;
    const double bareMs = medianMs(runs, [&] { bare.readTableList(); });

    const std::shared_ptr<Database> embedded = state.objOraDatabase;
    state.objOraDatabase = oracle;
    const long before = standInCounter(standInLib, "fetch");
    window.LoadTableList();
    const long roundTrips = standInCounter(standInLib, "fetch") - before;
    const double windowMs = medianMs(runs, [&] { window.LoadTableList(); });
    const bool listed = window.panelText(4).contains(QStringLiteral("100000"));
    state.objOraDatabase = embedded;

    print("oracle-table-list-round-trips", double(roundTrips), "calls");
    print("oracle-table-list-bare", bareMs, "ms");
    print("oracle-table-list-window", windowMs, "ms");
    print("oracle-table-list-ratio", windowMs / bareMs, "x");
    return listed;
}

}  // namespace quarnel::bench
