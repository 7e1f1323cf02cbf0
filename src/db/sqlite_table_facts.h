// What the dictionary views report of one table of an SQLite file: its columns with their
// described types, defaults and comments, its keys, foreign keys, checks and indexes, each with
// the name the views give it. Read with SQLite's PRAGMA statements, which a table of the user's
// cannot hide the way it hides the pragma table functions of the same names.
#pragma once

#include "db/sqlite_declared_table.h"
#include "db/sqlite_types.h"

#include <QByteArray>
#include <QString>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

namespace quarnel::db {

// A table as the catalogue holds it.
struct CatalogueTable {
    QByteArray name;   // as stored
    QByteArray shown;  // as the views show it
    qint64 seq = 0;    // creation order
    QString sql;       // the CREATE TABLE statement
};

struct TableFacts {
    struct Column {
        QByteArray name;
        int id = 0;  // 1-based, in table order
        ColumnType type;
        bool nullable = true;
        std::optional<QByteArray> defaultText;
        QString comment;
    };
    struct KeyColumn {
        QByteArray name;
        bool descending = false;
    };
    // A primary or unique key, with the name of the index behind it.
    struct Key {
        QString name;
        QString indexName;
        bool generated = false;
        std::vector<KeyColumn> columns;  // in key order
    };
    struct ForeignKey {
        QString name;
        bool generated = false;
        std::vector<QByteArray> columns;
        QByteArray referencedTable;                 // as the catalogue shows it, else as written
        std::vector<QByteArray> referencedColumns;  // none: the referenced primary key
        QString deleteRule;
    };
    struct Check {
        QString name;
        bool generated = false;
        QString condition;
    };
    struct IndexColumn {
        QByteArray name;  // SYS_NCnnnnn$ for an expression
        std::optional<QString> expression;
        bool descending = false;
    };
    struct Index {
        QString name;
        bool unique = false;
        bool generated = false;
        std::vector<IndexColumn> columns;
    };

    CatalogueTable table;
    QString comment;
    std::vector<Column> columns;
    std::optional<Key> primaryKey;
    std::vector<Key> uniqueKeys;
    std::vector<ForeignKey> foreignKeys;
    std::vector<Check> checks;
    // The primary key's first, then the others as SQLite lists them.
    std::vector<Index> indexes;
};

// SQLite's table_xinfo, index_list, index_xinfo and foreign_key_list of the main database. Reads
// them through the pragma table functions, prepared once; where a table of the user's hides one
// of those functions, through the PRAGMA statements instead.
class PragmaReader {
  public:
    explicit PragmaReader(sqlite3* db);
    ~PragmaReader();
    PragmaReader(const PragmaReader&) = delete;
    PragmaReader& operator=(const PragmaReader&) = delete;

    enum class Pragma { TableXinfo, IndexList, IndexXinfo, ForeignKeyList };
    // Calls `row` for each row of the pragma on `argument`, whose columns are as the PRAGMA
    // statement gives them. Returns SQLite's result code.
    int read(Pragma pragma, const QByteArray& argument,
             const std::function<void(sqlite3_stmt*)>& row);

    sqlite3* db() const { return m_db; }

    // The statement `sql`, prepared on first use and kept in `slot` (0 to 7); null when it
    // cannot be prepared. The caller resets it after use.
    sqlite3_stmt* statement(int slot, const char* sql);

  private:
    struct Statements;
    sqlite3* m_db;
    std::unique_ptr<Statements> m_statements;
};

// The parts of TableFacts a view needs; the others are left empty.
enum TableParts : unsigned {
    kTableComment = 1,
    kColumns = 2,
    kColumnComments = 4,
    kKeysAndIndexes = 8,
    kForeignKeys = 16,
    kChecks = 32,
    kAllParts = 63,
};

// Reads the `parts` of `table` from the main database. The catalogue (temp.quarnel_tables,
// temp.quarnel_taken_names, temp.quarnel_expression_indexes) must be current. Given the table's
// CREATE INDEX statements too, reads its columns and indexes from its statements where it can
// (sqlite_declared_table.h) rather than through SQLite's PRAGMAs; `keepsDescendingKeys`, unset
// before the first table of a whole-schema read, then says whether the file keeps DESC in index
// keys. Returns SQLite's result code; on failure `facts` is incomplete.
int readTableFacts(PragmaReader& reader, const CatalogueTable& table, unsigned parts,
                   TableFacts& facts, const std::vector<IndexStatement>* indexStatements = nullptr,
                   std::optional<bool>* keepsDescendingKeys = nullptr);

// The catalogue's entry for the table the views show as `shown`, or for the stored name `name`
// compared as SQLite compares table names (without regard to ASCII case).
std::optional<CatalogueTable> catalogueTableShown(PragmaReader& reader, const QByteArray& shown);
std::optional<CatalogueTable> catalogueTableNamed(PragmaReader& reader, const QByteArray& name);

// Text from SQLite as it is stored, a leading byte order mark kept.
QString decodeText(const char* bytes, qsizetype size);
inline QString decodeText(const QByteArray& bytes) {
    return decodeText(bytes.constData(), bytes.size());
}

}  // namespace quarnel::db
