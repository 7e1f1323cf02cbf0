// Large benchmark schemas written straight into sqlite_master: every table shares the root page of
// one real empty table SHARED_EMPTY, every index that of its real empty index SHARED_EMPTY_IX1,
// since SQLite would take hours to create 100,000 tables one by one and only the dictionary is
// read. The caller creates those two and sets PRAGMA writable_schema=ON first.
#pragma once

#include <string>

struct sqlite3;
struct sqlite3_stmt;

namespace quarnel::bench {

class SharedRootEntries {
  public:
    explicit SharedRootEntries(sqlite3* db);
    ~SharedRootEntries();
    SharedRootEntries(const SharedRootEntries&) = delete;
    SharedRootEntries& operator=(const SharedRootEntries&) = delete;

    // False when the shared table, its index or the insert statement could not be had.
    bool ok() const { return m_insert != nullptr && m_tablePage > 0 && m_indexPage > 0; }
    int tablePage() const { return m_tablePage; }
    int indexPage() const { return m_indexPage; }
    // One schema entry ("table" or "index") with its CREATE statement.
    bool add(const char* type, const std::string& name, const std::string& table,
             const std::string& sql, int page);
    // Lets go of the insert statement, so that the connection can be closed.
    void finish();

  private:
    sqlite3* m_db;
    sqlite3_stmt* m_insert = nullptr;
    int m_tablePage = 0;
    int m_indexPage = 0;
};

}  // namespace quarnel::bench
