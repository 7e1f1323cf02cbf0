#include "shared_root_schema.h"

#include <sqlite3.h>

namespace quarnel::bench {
namespace {

int rootPage(sqlite3* db, const char* name) {
    sqlite3_stmt* query = nullptr;
    int page = 0;
    if (sqlite3_prepare_v2(db, "SELECT rootpage FROM sqlite_master WHERE name = ?1", -1, &query,
                           nullptr) == SQLITE_OK) {
        sqlite3_bind_text(query, 1, name, -1, SQLITE_STATIC);
        if (sqlite3_step(query) == SQLITE_ROW)
            page = sqlite3_column_int(query, 0);
    }
    sqlite3_finalize(query);
    return page;
}

}  // namespace

SharedRootEntries::SharedRootEntries(sqlite3* db)
    : m_db(db),
      m_tablePage(rootPage(db, "SHARED_EMPTY")),
      m_indexPage(rootPage(db, "SHARED_EMPTY_IX1")) {
    sqlite3_prepare_v2(m_db,
                       "INSERT INTO sqlite_master (type, name, tbl_name, rootpage, sql)"
                       " VALUES (?1, ?2, ?3, ?4, ?5)",
                       -1, &m_insert, nullptr);
}

SharedRootEntries::~SharedRootEntries() {
    finish();
}

void SharedRootEntries::finish() {
    sqlite3_finalize(m_insert);
    m_insert = nullptr;
}

bool SharedRootEntries::add(const char* type, const std::string& name, const std::string& table,
                            const std::string& sql, int page) {
    sqlite3_bind_text(m_insert, 1, type, -1, SQLITE_STATIC);
    sqlite3_bind_text(m_insert, 2, name.c_str(), -1, SQLITE_TRANSIENT);
    sqlite3_bind_text(m_insert, 3, table.c_str(), -1, SQLITE_TRANSIENT);
    sqlite3_bind_int(m_insert, 4, page);
    sqlite3_bind_text(m_insert, 5, sql.c_str(), -1, SQLITE_TRANSIENT);
    const bool done = sqlite3_step(m_insert) == SQLITE_DONE;
    sqlite3_reset(m_insert);
    return done;
}

}  // namespace quarnel::bench
