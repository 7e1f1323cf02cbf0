#include "db/sqlite_dictionary.h"

#include "db/sqlite_dictionary_rows.h"
#include "db/sqlite_table_facts.h"
#include "db/sqlite_types.h"

#include <QHash>

#include <sqlite3.h>

#include <cstring>
#include <memory>
#include <optional>
#include <variant>
#include <vector>

namespace quarnel::db {
namespace {

using namespace dictionary;

struct ViewDefinition {
    const char* name;
    View view;
    const char* columns;
};

// Column 0 of every view is table_name, the one column a query may narrow the rows by. The
// columns are declared as Oracle declares them, so that a client sizes its fetch buffers for
// these views as it would for the server's.
#define NAME " VARCHAR2(128)"
constexpr ViewDefinition kViews[] = {
    {"user_tab_columns", View::TabColumns,
     "table_name" NAME ", column_name" NAME ", column_id NUMBER, data_type" NAME
     ", data_type_owner" NAME ", data_length NUMBER, data_precision NUMBER, data_scale NUMBER,"
     " nullable VARCHAR2(1), char_used VARCHAR2(1), char_length NUMBER, data_default LONG,"
     " identity_column VARCHAR2(3)"},
    {"user_tab_comments", View::TabComments,
     "table_name" NAME ", table_type VARCHAR2(11), comments VARCHAR2(4000)"},
    {"user_col_comments", View::ColComments,
     "table_name" NAME ", column_name" NAME ", comments VARCHAR2(4000)"},
    {"user_constraints", View::Constraints,
     "table_name" NAME ", owner" NAME ", constraint_name" NAME ", constraint_type VARCHAR2(1),"
     " search_condition LONG, r_owner" NAME ", r_constraint_name" NAME
     ", delete_rule VARCHAR2(9), status VARCHAR2(8), generated VARCHAR2(14)"},
    {"user_cons_columns", View::ConsColumns,
     "table_name" NAME ", owner" NAME ", constraint_name" NAME
     ", column_name VARCHAR2(4000), position NUMBER"},
    {"all_cons_columns", View::ConsColumns,
     "table_name" NAME ", owner" NAME ", constraint_name" NAME
     ", column_name VARCHAR2(4000), position NUMBER"},
    {"user_indexes", View::Indexes,
     "table_name" NAME ", index_name" NAME ", uniqueness VARCHAR2(9), index_type VARCHAR2(27),"
     " generated VARCHAR2(1)"},
    {"user_ind_columns", View::IndColumns,
     "table_name" NAME ", index_name" NAME
     ", column_name VARCHAR2(4000), column_position NUMBER, descend VARCHAR2(4)"},
    {"user_ind_expressions", View::IndExpressions,
     "table_name" NAME ", index_name" NAME ", column_expression LONG, column_position NUMBER"},
};
#undef NAME

// What the tables of one connection share: the owner's name and the facts read last.
struct Shared {
    QByteArray user;
    sqlite3_int64 stamp = -1;
    QByteArray lastTable;
    unsigned lastParts = 0;
    TableFacts lastFacts;
    QHash<QByteArray, ReferencedKeys> referenced;
    // Inside a read snapshot, the first whole-schema read keeps every table's facts, so that the
    // other views of the same load read none of them again; kept until the catalogue changes or
    // a view is read outside a snapshot.
    std::vector<TableFacts> all;
    QHash<QByteArray, size_t> allByShown;
    bool haveAll = false;

    // Every refresh of the catalogue changes rows of the connection; what was read before it is
    // forgotten.
    void follow(sqlite3* db) {
        const sqlite3_int64 changes = sqlite3_total_changes64(db);
        if (changes != stamp) {
            stamp = changes;
            lastTable.clear();
            referenced.clear();
            dropAll();
        }
        if (sqlite3_get_autocommit(db))
            dropAll();
    }

    void dropAll() {
        if (!haveAll && all.empty())
            return;
        std::vector<TableFacts>().swap(all);
        allByShown = {};
        haveAll = false;
    }

    const TableFacts* cached(const QByteArray& shown) const {
        if (!haveAll)
            return nullptr;
        const auto found = allByShown.constFind(shown);
        return found == allByShown.cend() ? nullptr : &all[*found];
    }
};

struct Table {
    sqlite3_vtab base{};
    sqlite3* db = nullptr;
    View view = View::TabColumns;
    Shared* shared = nullptr;
};

struct StatementDeleter {
    void operator()(sqlite3_stmt* statement) const { sqlite3_finalize(statement); }
};

struct Cursor {
    explicit Cursor(sqlite3* db) : reader(db) {}
    sqlite3_vtab_cursor base{};
    PragmaReader reader;
    std::unique_ptr<sqlite3_stmt, StatementDeleter> tables;  // the whole schema's, in order
    Rows rows;
    // The next table of the whole-schema read from Shared::all, when it reads from there.
    std::optional<size_t> nextCached;
    size_t at = 0;
    sqlite3_int64 rowid = 0;
    bool eof = true;
};

int fail(Table* table, int rc) {
    sqlite3_free(table->base.zErrMsg);
    table->base.zErrMsg = sqlite3_mprintf("%s", sqlite3_errmsg(table->db));
    return rc == SQLITE_OK || rc == SQLITE_ROW || rc == SQLITE_DONE ? SQLITE_ERROR : rc;
}

int factsOf(Table* table, PragmaReader& reader, const CatalogueTable& entry,
            const TableFacts*& facts) {
    Shared& shared = *table->shared;
    shared.follow(table->db);
    if ((facts = shared.cached(entry.shown)))
        return SQLITE_OK;
    const unsigned parts = partsOf(table->view);
    if (shared.lastTable.isNull() || shared.lastTable != entry.name ||
        (shared.lastParts & parts) != parts) {
        shared.lastTable.clear();
        if (const int rc = readTableFacts(reader, entry, parts, shared.lastFacts); rc != SQLITE_OK)
            return rc;
        shared.lastTable = entry.name;
        shared.lastParts = parts;
    }
    facts = &shared.lastFacts;
    return SQLITE_OK;
}

// The name of the key `key` references, or empty when the referenced table or key is not there.
QString referencedKeyName(Table* table, PragmaReader& reader, const TableFacts& facts,
                          const TableFacts::ForeignKey& key) {
    ReferencedKeys keys;
    if (key.referencedTable == facts.table.shown) {
        keys = referencedKeysOf(facts);
    } else if (const TableFacts* other = table->shared->cached(key.referencedTable)) {
        keys = referencedKeysOf(*other);
    } else if (const auto cached = table->shared->referenced.constFind(key.referencedTable);
               cached != table->shared->referenced.cend()) {
        keys = *cached;
    } else {
        if (const auto entry = catalogueTableShown(reader, key.referencedTable)) {
            TableFacts other;
            if (readTableFacts(reader, *entry, kKeysAndIndexes, other) == SQLITE_OK)
                keys = referencedKeysOf(other);
        }
        table->shared->referenced.insert(key.referencedTable, keys);
    }
    return dictionary::referencedKeyName(keys, key);
}

void rowsOfFacts(Table* table, PragmaReader& reader, const TableFacts& facts, Rows& rows) {
    appendRows(
        table->view, facts, table->shared->user,
        [&](const TableFacts::ForeignKey& key) {
            return referencedKeyName(table, reader, facts, key);
        },
        rows);
}

int rowsOf(Table* table, PragmaReader& reader, const CatalogueTable& entry, Rows& rows) {
    const TableFacts* facts = nullptr;
    if (const int rc = factsOf(table, reader, entry, facts); rc != SQLITE_OK)
        return rc;
    rowsOfFacts(table, reader, *facts, rows);
    return SQLITE_OK;
}

QByteArray columnBytes(sqlite3_stmt* statement, int column) {
    return QByteArray(reinterpret_cast<const char*>(sqlite3_column_text(statement, column)),
                      sqlite3_column_bytes(statement, column));
}

// Moves on to the next table of the whole-schema scan that has rows.
int nextTable(Table* table, Cursor* cursor) {
    cursor->rows.clear();
    cursor->at = 0;
    if (cursor->nextCached) {
        const std::vector<TableFacts>& all = table->shared->all;
        while (cursor->rows.empty() && *cursor->nextCached < all.size())
            rowsOfFacts(table, cursor->reader, all[(*cursor->nextCached)++], cursor->rows);
        cursor->eof = cursor->rows.empty();
        return SQLITE_OK;
    }
    while (cursor->rows.empty()) {
        const int step = sqlite3_step(cursor->tables.get());
        if (step == SQLITE_DONE) {
            cursor->eof = true;
            return SQLITE_OK;
        }
        if (step != SQLITE_ROW)
            return step;
        sqlite3_stmt* row = cursor->tables.get();
        const CatalogueTable entry{
            columnBytes(row, 0), columnBytes(row, 1), sqlite3_column_int64(row, 2),
            decodeText(reinterpret_cast<const char*>(sqlite3_column_text(row, 3)),
                       sqlite3_column_bytes(row, 3))};
        if (const int rc = rowsOf(table, cursor->reader, entry, cursor->rows); rc != SQLITE_OK)
            return rc;
    }
    return SQLITE_OK;
}

// A table name as SQLite matches an index's table: without regard to ASCII case (Qt 6's
// QByteArray::toUpper changes ASCII letters only).
QByteArray tableKey(const QByteArray& name) {
    return name.toUpper();
}

// Reads every table's facts into Shared::all, through the cursor's list of tables.
int readAll(Cursor* cursor) {
    auto* table = reinterpret_cast<Table*>(cursor->base.pVtab);
    Shared& shared = *table->shared;
    shared.dropAll();
    // Every table's CREATE INDEX statements, in the order SQLite reads them, so that the tables
    // whose statements can be read need no PRAGMA.
    QHash<QByteArray, std::vector<IndexStatement>> indexStatements;
    {
        sqlite3_stmt* raw = nullptr;
        int rc = sqlite3_prepare_v2(table->db,
                                    "SELECT tbl_name, name, sql FROM main.sqlite_schema"
                                    " WHERE type = 'index' AND sql IS NOT NULL ORDER BY rowid",
                                    -1, &raw, nullptr);
        const std::unique_ptr<sqlite3_stmt, StatementDeleter> indexes(raw);
        while (rc == SQLITE_OK && sqlite3_step(raw) == SQLITE_ROW) {
            indexStatements[tableKey(columnBytes(raw, 0))].push_back(
                {columnBytes(raw, 1),
                 decodeText(reinterpret_cast<const char*>(sqlite3_column_text(raw, 2)),
                            sqlite3_column_bytes(raw, 2))});
        }
        if (rc != SQLITE_OK || (rc = sqlite3_reset(raw)) != SQLITE_OK)
            return rc;
    }
    const std::vector<IndexStatement> none;
    std::optional<bool> keepsDescendingKeys;
    int step = SQLITE_OK;
    while ((step = sqlite3_step(cursor->tables.get())) == SQLITE_ROW) {
        sqlite3_stmt* row = cursor->tables.get();
        const CatalogueTable entry{
            columnBytes(row, 0), columnBytes(row, 1), sqlite3_column_int64(row, 2),
            decodeText(reinterpret_cast<const char*>(sqlite3_column_text(row, 3)),
                       sqlite3_column_bytes(row, 3))};
        shared.all.emplace_back();
        const auto statements = indexStatements.constFind(tableKey(entry.name));
        if (const int rc = readTableFacts(
                cursor->reader, entry, kAllParts, shared.all.back(),
                statements == indexStatements.cend() ? &none : &*statements, &keepsDescendingKeys);
            rc != SQLITE_OK)
            return rc;
        shared.allByShown.insert(entry.shown, shared.all.size() - 1);
    }
    return step == SQLITE_DONE ? SQLITE_OK : step;
}

int connect(sqlite3* db, void* aux, int argc, const char* const* argv, sqlite3_vtab** out,
            char** error) {
    if (argc < 4) {
        *error = sqlite3_mprintf("quarnel_dictionary: which view?");
        return SQLITE_ERROR;
    }
    const QByteArray name(argv[3]);
    for (const ViewDefinition& definition : kViews) {
        if (name != definition.name)
            continue;
        const QByteArray declaration = QByteArray("CREATE TABLE x(") + definition.columns + ")";
        if (const int rc = sqlite3_declare_vtab(db, declaration.constData()); rc != SQLITE_OK)
            return rc;
        auto* table = new Table;
        table->db = db;
        table->view = definition.view;
        table->shared = static_cast<Shared*>(aux);
        *out = &table->base;
        return SQLITE_OK;
    }
    *error = sqlite3_mprintf("quarnel_dictionary: no view %s", argv[3]);
    return SQLITE_ERROR;
}

int disconnect(sqlite3_vtab* vtab) {
    delete reinterpret_cast<Table*>(vtab);
    return SQLITE_OK;
}

// A table_name = value condition reads one table; anything else reads them all.
int bestIndex(sqlite3_vtab*, sqlite3_index_info* info) {
    info->idxNum = 0;
    info->estimatedCost = 1e7;
    info->estimatedRows = 1000000;
    for (int i = 0; i < info->nConstraint; ++i) {
        const auto& constraint = info->aConstraint[i];
        if (constraint.usable && constraint.iColumn == 0 &&
            constraint.op == SQLITE_INDEX_CONSTRAINT_EQ) {
            info->idxNum = 1;
            info->aConstraintUsage[i].argvIndex = 1;
            info->aConstraintUsage[i].omit = 1;
            info->estimatedCost = 10;
            info->estimatedRows = 10;
            break;
        }
    }
    return SQLITE_OK;
}

int open(sqlite3_vtab* vtab, sqlite3_vtab_cursor** out) {
    *out = &(new Cursor(reinterpret_cast<Table*>(vtab)->db))->base;
    return SQLITE_OK;
}

int close(sqlite3_vtab_cursor* cursor) {
    delete reinterpret_cast<Cursor*>(cursor);
    return SQLITE_OK;
}

int filter(sqlite3_vtab_cursor* base, int idxNum, const char*, int argc, sqlite3_value** argv) {
    auto* cursor = reinterpret_cast<Cursor*>(base);
    auto* table = reinterpret_cast<Table*>(base->pVtab);
    cursor->rows.clear();
    cursor->at = 0;
    cursor->rowid = 0;
    cursor->eof = false;
    cursor->tables.reset();
    if (idxNum == 1 && argc == 1) {
        const QByteArray shown(reinterpret_cast<const char*>(sqlite3_value_text(argv[0])),
                               sqlite3_value_bytes(argv[0]));
        if (sqlite3_value_type(argv[0]) != SQLITE_NULL) {
            if (const auto entry = catalogueTableShown(cursor->reader, shown)) {
                if (const int rc = rowsOf(table, cursor->reader, *entry, cursor->rows);
                    rc != SQLITE_OK)
                    return fail(table, rc);
            }
        }
        cursor->eof = cursor->rows.empty();
        return SQLITE_OK;
    }
    cursor->nextCached.reset();
    sqlite3_stmt* statement = nullptr;
    const int rc = sqlite3_prepare_v2(
        table->db, "SELECT name, shown, seq, sql FROM temp.quarnel_tables ORDER BY seq", -1,
        &statement, nullptr);
    cursor->tables.reset(statement);
    if (rc != SQLITE_OK)
        return fail(table, rc);
    Shared& shared = *table->shared;
    shared.follow(table->db);
    if (!sqlite3_get_autocommit(table->db)) {
        if (!shared.haveAll) {
            if (const int read = readAll(cursor); read != SQLITE_OK) {
                shared.dropAll();
                return fail(table, read);
            }
            shared.haveAll = true;
        }
        cursor->tables.reset();
        cursor->nextCached = 0;
    }
    if (const int next = nextTable(table, cursor); next != SQLITE_OK)
        return fail(table, next);
    return SQLITE_OK;
}

int next(sqlite3_vtab_cursor* base) {
    auto* cursor = reinterpret_cast<Cursor*>(base);
    ++cursor->rowid;
    if (++cursor->at < cursor->rows.size())
        return SQLITE_OK;
    if (!cursor->tables && !cursor->nextCached) {
        cursor->eof = true;
        return SQLITE_OK;
    }
    auto* table = reinterpret_cast<Table*>(base->pVtab);
    if (const int rc = nextTable(table, cursor); rc != SQLITE_OK)
        return fail(table, rc);
    return SQLITE_OK;
}

int eof(sqlite3_vtab_cursor* base) {
    return reinterpret_cast<Cursor*>(base)->eof ? 1 : 0;
}

int column(sqlite3_vtab_cursor* base, sqlite3_context* context, int index) {
    const auto* cursor = reinterpret_cast<Cursor*>(base);
    const Row& row = cursor->rows[cursor->at];
    if (index < 0 || size_t(index) >= row.size()) {
        sqlite3_result_null(context);
        return SQLITE_OK;
    }
    const Value& value = row[size_t(index)];
    if (const auto* integer = std::get_if<qint64>(&value)) {
        sqlite3_result_int64(context, *integer);
    } else if (const auto* bytes = std::get_if<QByteArray>(&value)) {
        // Text without a NUL inside is handed over with its terminator, so that SQLite need not
        // copy it again to add one when the value is read.
        const bool plain = std::memchr(bytes->constData(), 0, size_t(bytes->size())) == nullptr;
        sqlite3_result_text(context, bytes->constData(), plain ? -1 : int(bytes->size()),
                            SQLITE_TRANSIENT);
    } else {
        sqlite3_result_null(context);
    }
    return SQLITE_OK;
}

int rowid(sqlite3_vtab_cursor* base, sqlite3_int64* out) {
    *out = reinterpret_cast<Cursor*>(base)->rowid;
    return SQLITE_OK;
}

sqlite3_module makeModule() {
    sqlite3_module module{};
    module.iVersion = 1;
    module.xCreate = connect;
    module.xConnect = connect;
    module.xBestIndex = bestIndex;
    module.xDisconnect = disconnect;
    module.xDestroy = disconnect;
    module.xOpen = open;
    module.xClose = close;
    module.xFilter = filter;
    module.xNext = next;
    module.xEof = eof;
    module.xColumn = column;
    module.xRowid = rowid;
    return module;
}

const sqlite3_module kModule = makeModule();

}  // namespace

int installDictionaryTables(sqlite3* db, const QByteArray& user, QString& error) {
    auto* shared = new Shared;
    shared->user = user;
    int rc = sqlite3_create_module_v2(db, "quarnel_dictionary", &kModule, shared,
                                      [](void* data) { delete static_cast<Shared*>(data); });
    for (const ViewDefinition& definition : kViews) {
        if (rc != SQLITE_OK)
            break;
        const QByteArray sql = QByteArray("CREATE VIRTUAL TABLE temp.") + definition.name +
                               " USING quarnel_dictionary(" + definition.name + ")";
        rc = sqlite3_exec(db, sql.constData(), nullptr, nullptr, nullptr);
    }
    if (rc != SQLITE_OK)
        error = QString::fromUtf8(sqlite3_errmsg(db));
    return rc;
}

}  // namespace quarnel::db
