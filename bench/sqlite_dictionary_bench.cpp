#include "sqlite_dictionary_bench.h"
#include "shared_root_schema.h"

#include "bench_report.h"
#include "db/engines.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>

#include <sqlite3.h>

#include <cstdio>
#include <string>

namespace quarnel::bench {
namespace {

constexpr int kTables = 20000;

// As for the 100,000-table schema, the tables are written straight into the schema table and
// share the root page of one real empty table (their indexes that of one real empty index).
bool buildSchema(const QString& path) {
    const QString temp = path + QStringLiteral(".tmp");
    QFile::remove(temp);
    sqlite3* db = nullptr;
    if (sqlite3_open(QFile::encodeName(temp).constData(), &db) != SQLITE_OK)
        return false;
    bool ok = sqlite3_exec(db,
                           "PRAGMA journal_mode=OFF; PRAGMA synchronous=OFF; BEGIN;"
                           "CREATE TABLE SHARED_EMPTY (ID INTEGER PRIMARY KEY, NAME TEXT);"
                           "CREATE INDEX SHARED_EMPTY_IX1 ON SHARED_EMPTY (NAME);"
                           "PRAGMA writable_schema=ON;",
                           nullptr, nullptr, nullptr) == SQLITE_OK;
    SharedRootEntries entries(db);
    const int tablePage = entries.tablePage();
    const int indexPage = entries.indexPage();
    ok = ok && entries.ok();
    char name[32];
    char parent[32] = "SHARED_EMPTY";
    for (int i = 1; ok && i <= kTables; ++i) {
        std::snprintf(name, sizeof name, "T%05d", i);
        const std::string table = name;
        ok = entries.add("table", table, table,
                         "CREATE TABLE " + table + " (  -- 表" + table +
                             "\n  ID INTEGER NOT NULL,  -- 番号"
                             "\n  PARENT_ID INTEGER REFERENCES " +
                             parent +
                             ","
                             "\n  NAME VARCHAR2(40) NOT NULL,  -- 名称"
                             "\n  CODE CHAR(4) DEFAULT 'A',"
                             "\n  AMOUNT NUMBER(9,2) DEFAULT 0,"
                             "\n  RATE FLOAT(20),"
                             "\n  CREATED DATE,"
                             "\n  NOTE VARCHAR2(200),"
                             "\n  FLAG NUMBER(1),"
                             "\n  STAMP TIMESTAMP(6),"
                             "\n  CONSTRAINT " +
                             table +
                             "_PK PRIMARY KEY (ID),"
                             "\n  CONSTRAINT " +
                             table + "_CK CHECK (AMOUNT >= 0))",
                         tablePage);
        if (ok && i % 10 == 0) {
            ok = entries.add("index", table + "_IX1", table,
                             "CREATE INDEX " + table + "_IX1 ON " + table + " (NAME)", indexPage);
        }
        std::snprintf(parent, sizeof parent, "%s", name);
    }
    entries.finish();
    ok = ok && sqlite3_exec(db, "PRAGMA schema_version = 1000; COMMIT;", nullptr, nullptr,
                            nullptr) == SQLITE_OK;
    sqlite3_close(db);
    if (!ok)
        return false;
    QFile::remove(path);
    return QFile::rename(temp, path);
}

// Fetches every value of every row of `sql`.
qint64 readAll(db::Database& database, const QString& sql) {
    qint64 values = 0;
    auto dynaset = database.DbCreateDynaset(sql, 12);
    const int fields = dynaset->FieldCount();
    for (; !dynaset->Eof(); dynaset->DbMoveNext()) {
        for (int i = 0; i < fields; ++i)
            values += dynaset->Fields(i).Value().isValid() ? 1 : 0;
    }
    return values;
}

}  // namespace

bool runSqliteDictionary(const QString& dataDir, int runs) {
    const QString path = QDir(dataDir).filePath(QStringLiteral("schema-20k.db"));
    if (!QFileInfo::exists(path)) {
        std::fprintf(stderr, "bench: building %s (once)...\n", qUtf8Printable(path));
        if (!buildSchema(path))
            return false;
    }
    try {
        const double open = medianMs(runs, [&] {
            auto database = db::OpenSqliteDatabase(path);
            readAll(*database, QStringLiteral("SELECT table_name FROM user_tables"));
        });
        print("sqlite-dictionary-open", open, "ms");
        auto database = db::OpenSqliteDatabase(path);
        const struct {
            const char* figure;
            const char* sql;
        } views[] = {
            {"tab-columns",
             "SELECT table_name, column_name, column_id, data_type, data_type_owner, data_length,"
             " data_precision, data_scale, nullable, char_used, char_length, identity_column"
             " FROM user_tab_columns"},
            {"data-default", "SELECT table_name, column_name, data_default FROM user_tab_columns"},
            {"tab-comments", "SELECT table_name, table_type, comments FROM user_tab_comments"},
            {"col-comments", "SELECT table_name, column_name, comments FROM user_col_comments"},
            {"constraints",
             "SELECT constraint_name, constraint_type, table_name, r_owner, r_constraint_name,"
             " delete_rule, generated, status FROM user_constraints"},
            {"cons-columns",
             "SELECT owner, constraint_name, table_name, column_name, position"
             " FROM user_cons_columns"},
            {"indexes",
             "SELECT index_name, table_name, uniqueness, index_type, generated FROM user_indexes"},
            {"ind-columns",
             "SELECT index_name, table_name, column_name, column_position, descend"
             " FROM user_ind_columns"},
        };
        // As a whole-schema load reads them: every view once, in one read snapshot.
        double first = 0;
        const double all = medianMs(runs, [&] {
            const db::ReadSnapshot snapshot(*database);
            bool firstView = true;
            for (const auto& view : views) {
                QElapsedTimer timer;
                timer.start();
                readAll(*database, QString::fromLatin1(view.sql));
                if (firstView)
                    first = double(timer.nsecsElapsed()) / 1e6;
                firstView = false;
            }
        });
        print("sqlite-dictionary-first-view", first, "ms");
        print("sqlite-dictionary-all-views", all, "ms");
        print("sqlite-dictionary-all-views-ratio", all / open, "x");
        // One view read alone, outside a snapshot: each table read for it.
        const double alone =
            medianMs(runs, [&] { readAll(*database, QString::fromLatin1(views[4].sql)); });
        print("sqlite-dictionary-constraints-alone", alone, "ms");
    } catch (const db::DbError& error) {
        std::fprintf(stderr, "bench: %s\n", qUtf8Printable(error.description()));
        return false;
    }
    return true;
}

}  // namespace quarnel::bench
