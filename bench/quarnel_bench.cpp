// Speed and memory of the lookups on a schema of 100,000 tables.
//
// Usage: quarnel-bench [--data DIR] [--runs N] [--search-only] [--documents]
//                      [--schema-load-only]
// The schema is built once into DIR/schema-100k.db and reused. Every figure is printed on a line
// of its own as "name: value unit". Each time is the median of N runs (default 5).
//
// Figures: for the table list, the bare engine query (the same SQL through the engine, rows
// fetched, nothing else), the whole table-list read of the main window (query, list filled,
// count shown, text built), their ratio and the growth of resident memory the first window read
// caused; the same table list through the Oracle engine on the stand-in client library of the
// tests (fetch calls, and the ratio to a bare OCI fetch loop over that library). For the
// select-table command, on a table of 1,000 columns with a 10-column primary key
// and on a table with 500 indexes of 4 columns: the bare engine time of the same queries, the
// whole command (grid and tree filled, all texts built) and their ratio. For the search window,
// over a model of 100,000 tables of 10 commented columns: a keystroke to the repainted result
// list, and the memory of the search index per column. Last, the whole-schema load
// (schema_bench.h); --schema-load-only runs that alone.
#include "app/frm_mainkey.h"
#include "bench_report.h"
#include "catalog/queries.h"
#include "db/data_access.h"
#include "db/engines.h"
#include "document_bench.h"
#include "oracle_bench.h"
#include "schema_bench.h"
#include "search_bench.h"
#include "shared_root_schema.h"
#include "shell/app_state.h"
#include "shell/dialogs.h"
#include "sqlite_dictionary_bench.h"

#include <sqlite3.h>

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTextStream>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

using namespace quarnel;
using bench::medianMs;
using bench::print;

namespace {

constexpr int kTables = 100000;
const char* const kWideTable = "WIDE_TABLE";
const char* const kIndexedTable = "INDEXED_TABLE";
constexpr int kWideColumns = 1000;
constexpr int kWideKeyColumns = 10;
constexpr int kIndexes = 500;
constexpr int kIndexColumns = 4;
constexpr int kIndexedTableColumns = 40;

// Messages from the window go to standard error, so a failing lookup shows in the output.
class ConsoleDialogs : public Dialogs {
  public:
    void message(QWidget*, const QString& text, MessageIcon, const QString& title) override {
        std::fprintf(stderr, "message %s: %s\n", qUtf8Printable(title), qUtf8Printable(text));
        ++messages;
    }
    bool askYesNo(QWidget*, const QString&, const QString&) override { return false; }
    void runModal(QDialog&) override {}
    int messages = 0;
};

bool exec(sqlite3* db, const std::string& sql) {
    char* error = nullptr;
    if (sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &error) != SQLITE_OK) {
        std::fprintf(stderr, "bench: %s\n", error ? error : "sqlite error");
        sqlite3_free(error);
        return false;
    }
    return true;
}

// Builds the schema: 100,000 tables, two of them the wide and the indexed table.
//
// Creating 100,000 tables one statement at a time takes SQLite hours, as every CREATE re-reads
// the whole schema table. So the two measured tables are created normally, and the other tables
// are written straight into the schema table, all of them sharing the root page of one real empty
// table (and their indexes that of one real empty index). Every such table reads as empty, which
// is all the lookups need: they only describe tables, never read their rows.
bool buildSchema(const QString& path) {
    const QString temp = path + QStringLiteral(".tmp");
    QFile::remove(temp);
    sqlite3* db = nullptr;
    if (sqlite3_open(temp.toUtf8().constData(), &db) != SQLITE_OK)
        return false;
    bool ok = exec(db, "PRAGMA journal_mode=OFF; PRAGMA synchronous=OFF; BEGIN;");
    if (ok) {
        std::string sql = std::string("CREATE TABLE ") + kWideTable + " (";
        for (int c = 1; c <= kWideColumns; ++c) {
            char column[48];
            std::snprintf(column, sizeof column, "C%04d %s, ", c,
                          c % 3 == 0 ? "NUMBER(9,2)" : (c % 3 == 1 ? "VARCHAR2(30)" : "DATE"));
            sql += column;
        }
        sql += "CONSTRAINT WIDE_PK PRIMARY KEY (";
        for (int c = 1; c <= kWideKeyColumns; ++c) {
            char column[16];
            std::snprintf(column, sizeof column, "%sC%04d", c > 1 ? ", " : "", c);
            sql += column;
        }
        sql += "));";
        ok = exec(db, sql);
    }
    if (ok) {
        std::string sql = std::string("CREATE TABLE ") + kIndexedTable + " (";
        for (int c = 1; c <= kIndexedTableColumns; ++c) {
            char column[32];
            std::snprintf(column, sizeof column, "%sK%02d VARCHAR2(20)", c > 1 ? ", " : "", c);
            sql += column;
        }
        sql += ");";
        for (int i = 1; i <= kIndexes; ++i) {
            char index[160];
            std::snprintf(index, sizeof index,
                          "CREATE INDEX IX%04d ON %s (K%02d, K%02d, K%02d, K%02d);", i,
                          kIndexedTable, (i % 40) + 1, ((i / 40) % 40) + 1, ((i * 7) % 40) + 1,
                          ((i * 13 + 5) % 40) + 1);
            sql += index;
        }
        ok = exec(db, sql);
    }
    ok = ok && exec(db,
                    "CREATE TABLE SHARED_EMPTY (ID INTEGER PRIMARY KEY, NAME VARCHAR2(40));"
                    "CREATE INDEX SHARED_EMPTY_IX1 ON SHARED_EMPTY (NAME);"
                    "PRAGMA writable_schema=ON;");
    bench::SharedRootEntries entries(db);
    const int tablePage = entries.tablePage();
    const int indexPage = entries.indexPage();
    ok = ok && entries.ok();
    char name[32];
    for (int i = 1; ok && i <= kTables - 3; ++i) {
        std::snprintf(name, sizeof name, "T%06d", i);
        const std::string table = name;
        ok = entries.add("table", table, table,
                         "CREATE TABLE " + table +
                             " (ID INTEGER NOT NULL, NAME VARCHAR2(40), CREATED DATE, CONSTRAINT " +
                             table + "_PK PRIMARY KEY (ID))",
                         tablePage);
        if (ok && i % 10 == 0) {
            ok = entries.add("index", table + "_IX1", table,
                             "CREATE INDEX " + table + "_IX1 ON " + table + " (NAME)", indexPage);
        }
    }
    entries.finish();
    ok = ok && exec(db, "PRAGMA schema_version = 1000; COMMIT;");
    sqlite3_close(db);
    if (!ok)
        return false;
    QFile::remove(path);
    return QFile::rename(temp, path);
}

double residentMb() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:")) {
            return line.mid(6).trimmed().split(' ').first().toDouble() / 1024.0;
        }
    }
    return 0;
}

// Runs one query through the engine and fetches every row's values: no list or text work.
void bareQuery(db::Database& database, const QString& sql, int options) {
    auto dynaset = database.DbCreateDynaset(sql, options);
    const int fields = dynaset->FieldCount();
    long sink = 0;
    for (const db::Field* field : dynaset->Fields()) {
        sink += field->Type() + field->OraIDataType() + field->Size() + field->OraPrecision() +
                field->OraScale() + (field->OraNullOK() ? 1 : 0) + int(field->Name().size());
    }
    for (; !dynaset->Eof(); dynaset->DbMoveNext()) {
        for (int i = 0; i < fields; ++i)
            sink += dynaset->Fields(i).Value().isValid() ? 1 : 0;
    }
    // Keeps the reads from being optimised away.
    asm volatile("" : : "r"(sink) : "memory");
}

// The queries of one select-table command, as bare engine work.
void bareSelectTable(db::Database& database, const QString& table) {
    bareQuery(database, catalog::tableExistsSql(table), catalog::kDictionaryReadOptions);
    bareQuery(database, catalog::primaryKeySql(table), catalog::kDictionaryReadOptions);
    bareQuery(database, catalog::describeSql(table), catalog::kDescribeOptions);
    bareQuery(database, catalog::tableExistsSql(table), catalog::kDictionaryReadOptions);
    bareQuery(database, catalog::indexDirectionsSql(table), catalog::kDictionaryReadOptions);
    bareQuery(database, catalog::indexExpressionsSql(table), catalog::kDictionaryReadOptions);
    bareQuery(database, catalog::indexColumnsSql(table), catalog::kDictionaryReadOptions);
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    QString dataDir = QStringLiteral("bench-data");
    int runs = 5;
    bool searchOnly = false;
    bool documentsOnly = false;
    bool schemaLoadOnly = false;
    const QStringList args = application.arguments();
    for (int i = 1; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--data") && i + 1 < args.size()) {
            dataDir = args[++i];
        } else if (args[i] == QLatin1String("--runs") && i + 1 < args.size()) {
            runs = std::max(1, args[++i].toInt());
        } else if (args[i] == QLatin1String("--search-only")) {
            searchOnly = true;
        } else if (args[i] == QLatin1String("--documents")) {
            documentsOnly = true;
        } else if (args[i] == QLatin1String("--schema-load-only")) {
            schemaLoadOnly = true;
        } else {
            std::fprintf(stderr,
                         "usage: quarnel-bench [--data DIR] [--runs N] [--search-only] "
                         "[--documents] [--schema-load-only]\n");
            return 2;
        }
    }
    if (searchOnly) {
        ConsoleDialogs dialogs;
        AppState state;
        state.dialogs = &dialogs;
        frm_mainkey window(state);
        window.setAttribute(Qt::WA_DeleteOnClose, false);
        return bench::runSearchBench(state, &window, runs) ? 0 : 1;
    }
    QDir().mkpath(dataDir);
    const QString standInLib = QStringLiteral(QUARNEL_OCI_STAND_IN_LIB);
    if (schemaLoadOnly)
        return bench::runSchemaLoad(dataDir, standInLib, runs) ? 0 : 1;
    // The document figures first: their peak memory is measured before the window's share.
    if (!bench::runDocumentBench(dataDir, runs))
        return 1;
    if (documentsOnly)
        return 0;
    if (!bench::runSqliteDictionary(dataDir, runs)) {
        std::fprintf(stderr, "bench: the embedded engine's dictionary read failed\n");
        return 1;
    }
    const QString schema = QDir(dataDir).filePath(QStringLiteral("schema-100k.db"));
    if (!QFileInfo::exists(schema)) {
        std::fprintf(stderr, "bench: building %s (once)...\n", qUtf8Printable(schema));
        if (!buildSchema(schema))
            return 1;
    }

    ConsoleDialogs dialogs;
    AppState state;
    state.dialogs = &dialogs;
    QElapsedTimer opening;
    opening.start();
    try {
        state.objOraSession = db::CreateSession(QLatin1String(db::kSessionClassName));
        state.objOraDatabase =
            state.objOraSession->DbOpenDatabase(QStringLiteral("sqlite:") + schema, "bench/", 3);
        // The engine reads the schema on its first query.
        state.objOraDatabase->DbCreateDynaset(catalog::tableExistsSql(QStringLiteral("X")), 12);
    } catch (const db::DbError& error) {
        std::fprintf(stderr, "bench: %s\n", qUtf8Printable(error.description()));
        return 1;
    }
    state.blnConnected = true;
    db::Database& database = *state.objOraDatabase;
    print("schema-open", double(opening.nsecsElapsed()) / 1e6, "ms");

    // Table list.
    const double listBare = medianMs(runs, [&] {
        bareQuery(database, catalog::tableListSql(), catalog::kDictionaryReadOptions);
    });
    frm_mainkey window(state);
    window.setAttribute(Qt::WA_DeleteOnClose, false);
    window.setUpControls();
    window.show();
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
    const double rssBefore = residentMb();
    QElapsedTimer first;
    first.start();
    window.LoadTableList();
    const double firstRead = double(first.nsecsElapsed()) / 1e6;
    const double rssGrowth = residentMb() - rssBefore;
    const double listWindow = std::min(firstRead, medianMs(runs, [&] { window.LoadTableList(); }));
    print("table-list-tables", window.panelText(4).isEmpty() ? 0 : kTables, "tables");
    print("table-list-engine", listBare, "ms");
    print("table-list-window", listWindow, "ms");
    print("table-list-ratio", listWindow / listBare, "x");
    print("table-list-rss-growth", rssGrowth, "MB");

    // The same table list through the Oracle engine on the tests' stand-in client library.
    if (!bench::runOracleTableList(state, window, schema, standInLib, runs)) {
        std::fprintf(stderr, "bench: the Oracle table list failed\n");
        return 1;
    }

    // Select-table command.
    struct Case {
        const char* table;
        const char* prefix;
    } cases[] = {{kWideTable, "select-table"}, {kIndexedTable, "index-tree"}};
    for (const Case& c : cases) {
        const QString table = QString::fromLatin1(c.table);
        if (!window.selectTableInList(table)) {
            std::fprintf(stderr, "bench: %s is not in the list\n", c.table);
            return 1;
        }
        const double bare = medianMs(runs, [&] { bareSelectTable(database, table); });
        for (const catalog::CatalogQuery& query : catalog::catalogQueries(table)) {
            if (QByteArray(query.purpose) == "table list")
                continue;
            const double ms =
                medianMs(runs, [&] { bareQuery(database, query.sql, query.options); });
            std::printf("%s-engine-query: %.2f ms (%s)\n", c.prefix, ms, query.purpose);
        }
        const double whole = medianMs(runs, [&] { window.cmdView_Click(); });
        const std::string prefix = c.prefix;
        print((prefix + "-engine").c_str(), bare, "ms");
        print((prefix + "-window").c_str(), whole, "ms");
        print((prefix + "-ratio").c_str(), whole / bare, "x");
    }

    // The search window over a model of 100,000 commented tables.
    if (!bench::runSearchBench(state, &window, runs)) {
        std::fprintf(stderr, "bench: a search found other than expected\n");
        return 1;
    }
    if (!bench::runSchemaLoad(dataDir, standInLib, runs)) {
        std::fprintf(stderr, "bench: the whole-schema load failed\n");
        return 1;
    }
    return dialogs.messages == 0 ? 0 : 1;
}
