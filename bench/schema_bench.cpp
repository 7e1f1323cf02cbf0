#include "schema_bench.h"
#include "shared_root_schema.h"

#include "oracle_bench.h"

#include "bench_report.h"

#include "catalog/queries.h"
#include "db/data_access.h"
#include "db/engines.h"
#include "dump/dump_text.h"
#include "schema/load_schema.h"

#include <sqlite3.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>

#include <malloc.h>

#include <cmath>
#include <cstdio>
#include <string>

namespace quarnel::bench {
namespace {

constexpr int kLoadTables = 100000;
constexpr int kLoadColumns = 10;
constexpr int kDumpTables = 20000;

bool exec(sqlite3* db, const std::string& sql) {
    char* error = nullptr;
    if (sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &error) != SQLITE_OK) {
        std::fprintf(stderr, "bench: %s\n", error ? error : "sqlite error");
        sqlite3_free(error);
        return false;
    }
    return true;
}

// `tables` tables T000001 ... of 10 columns, each with a primary key and one index. As in the
// main benchmark's schema, the tables are written straight into the schema table and share the
// root page of one real empty table (their indexes that of one real empty index), since SQLite
// would take hours to create them one by one; only the dictionary is read.
bool buildTables(const QString& path, int tables) {
    const QString temp = path + QStringLiteral(".tmp");
    QFile::remove(temp);
    sqlite3* db = nullptr;
    if (sqlite3_open(temp.toUtf8().constData(), &db) != SQLITE_OK)
        return false;
    bool ok = exec(db,
                   "PRAGMA journal_mode=OFF; PRAGMA synchronous=OFF; BEGIN;"
                   "CREATE TABLE SHARED_EMPTY (ID INTEGER PRIMARY KEY, NAME VARCHAR2(40));"
                   "CREATE INDEX SHARED_EMPTY_IX1 ON SHARED_EMPTY (NAME);"
                   "PRAGMA writable_schema=ON;");
    SharedRootEntries entries(db);
    const int tablePage = entries.tablePage();
    const int indexPage = entries.indexPage();
    ok = ok && entries.ok();
    char name[32];
    for (int i = 1; ok && i <= tables; ++i) {
        std::snprintf(name, sizeof name, "T%06d", i);
        const std::string table = name;
        ok = entries.add("table", table, table,
                         "CREATE TABLE " + table +
                             " (ID INTEGER NOT NULL, NAME VARCHAR2(40), CODE CHAR(4),"
                             " PRICE NUMBER(9,2), QTY NUMBER(5), CREATED DATE,"
                             " NOTE VARCHAR2(200), RATE FLOAT, STAMP TIMESTAMP(3),"
                             " FLAG NUMBER(1), CONSTRAINT " +
                             table + "_PK PRIMARY KEY (ID))",
                         tablePage) &&
             entries.add("index", table + "_IX1", table,
                         "CREATE INDEX " + table + "_IX1 ON " + table + " (NAME)", indexPage);
    }
    entries.finish();
    ok = ok && exec(db, "PRAGMA schema_version = 1000; COMMIT;");
    sqlite3_close(db);
    if (!ok)
        return false;
    QFile::remove(path);
    return QFile::rename(temp, path);
}

bool ensureFile(const QString& path, int tables) {
    if (QFileInfo::exists(path))
        return true;
    std::fprintf(stderr, "bench: building %s (once)...\n", qUtf8Printable(path));
    return buildTables(path, tables);
}

long roundTrips(const QString& standInLib) {
    return standInCounter(standInLib, "execute") + standInCounter(standInLib, "fetch") +
           standInCounter(standInLib, "commit");
}

// Every whole-schema query through the engine, each value read once; returns the rows of each.
std::vector<long> bareLoad(db::Database& database) {
    std::vector<long> rows;
    const db::ReadSnapshot snapshot(database);
    long sink = 0;
    for (const catalog::CatalogQuery& query : catalog::schemaQueries(QStringLiteral("BENCH"))) {
        auto dynaset = database.DbCreateDynaset(query.sql, query.options);
        const std::vector<const db::Field*> fields = dynaset->Fields();
        long count = 0;
        for (; !dynaset->Eof(); dynaset->DbMoveNext(), ++count) {
            for (const db::Field* field : fields)
                sink += field->Value().isNull() ? 0 : 1;
        }
        rows.push_back(count);
    }
    asm volatile("" : : "r"(sink) : "memory");
    return rows;
}

// The bytes the heap has handed out; 0 where the C library cannot tell.
size_t heapInUse() {
#if defined(__GLIBC__)
    return mallinfo2().uordblks;
#else
    return 0;
#endif
}

bool oracleFigures(const QString& path, const QString& standInLib, int runs) {
    QDir home(standInLib);
    home.cdUp();
    qputenv("ORACLE_HOME", home.absolutePath().toUtf8());
    std::shared_ptr<db::Database> oracle;
    try {
        oracle = db::CreateSession(QLatin1String(db::kSessionClassName))
                     ->DbOpenDatabase(path, QStringLiteral("bench/"), 3);
        const std::vector<long> rows = bareLoad(*oracle);
        double target = 20;
        for (const long count : rows)
            target += std::ceil(double(std::max(count, 1L)) / 1000.0);

        const long before = roundTrips(standInLib);
        const size_t heapBefore = heapInUse();
        std::optional<schema::Schema> loaded = schema::loadSchema(*oracle, {});
        const size_t heapAfter = heapInUse();
        const long trips = roundTrips(standInLib) - before;
        // The generated tables and the one real empty table whose pages they share.
        if (!loaded || loaded->tables.size() != size_t(kLoadTables) + 1) {
            std::fprintf(stderr, "bench: the whole-schema load read %zu tables\n",
                         loaded ? loaded->tables.size() : size_t(0));
            return false;
        }
        size_t columns = 0;
        for (const schema::Table& table : loaded->tables)
            columns += table.columns.size();
        loaded.reset();

        const double bareMs = medianMs(runs, [&] { bareLoad(*oracle); });
        const double loadMs = medianMs(runs, [&] { schema::loadSchema(*oracle, {}); });
        print("schema-load-round-trips", double(trips), "calls");
        print("schema-load-round-trip-target", target, "calls");
        print("schema-load-bare", bareMs, "ms");
        print("schema-load-time", loadMs, "ms");
        print("schema-load-ratio", loadMs / bareMs, "x");
        print("schema-model-bytes-per-column",
              double(heapAfter - heapBefore) / double(std::max<size_t>(columns, 1)), "bytes");
    } catch (const db::DbError& error) {
        std::fprintf(stderr, "bench: %s\n", qUtf8Printable(error.description()));
        return false;
    }
    return true;
}

bool sqliteFigures(const QString& path, int runs) {
    try {
        // Opening the schema: a fresh connection's first query reads the whole schema.
        const double openMs = medianMs(runs, [&] {
            auto database = db::OpenSqliteDatabase(path);
            database->DbCreateDynaset(catalog::tableExistsSql(QStringLiteral("X")),
                                      catalog::kDictionaryReadOptions);
        });
        bool ok = true;
        const double dumpMs = medianMs(runs, [&] {
            auto database = db::OpenSqliteDatabase(path);
            const db::ReadSnapshot snapshot(*database);
            ok = ok && dump::buildDumpText(*database, dump::DumpText::Ddl, {}).text.has_value();
        });
        if (!ok)
            return false;
        print("sqlite-schema-open", openMs, "ms");
        print("sqlite-all-ddl", dumpMs, "ms");
        print("sqlite-all-ddl-ratio", dumpMs / openMs, "x");
    } catch (const db::DbError& error) {
        std::fprintf(stderr, "bench: %s\n", qUtf8Printable(error.description()));
        return false;
    }
    return true;
}

}  // namespace

bool runSchemaLoad(const QString& dataDir, const QString& standInLib, int runs) {
    const QString loadPath = QDir(dataDir).filePath(QStringLiteral("schema-load-100k.db"));
    const QString dumpPath = QDir(dataDir).filePath(QStringLiteral("schema-dump-20k.db"));
    if (!ensureFile(loadPath, kLoadTables) || !ensureFile(dumpPath, kDumpTables))
        return false;
    return oracleFigures(loadPath, standInLib, runs) && sqliteFigures(dumpPath, runs);
}

}  // namespace quarnel::bench
