#include "db/sqlite_table_facts.h"

#include "db/sqlite_ddl.h"
#include "db/sqlite_declared_table.h"
#include "db/sqlite_key_names.h"

#include <QHash>
#include <QSet>
#include <QStringDecoder>

#include <sqlite3.h>

#include <algorithm>
#include <memory>

namespace quarnel::db {
namespace {

struct StatementDeleter {
    void operator()(sqlite3_stmt* statement) const { sqlite3_finalize(statement); }
};
using Statement = std::unique_ptr<sqlite3_stmt, StatementDeleter>;

Statement prepare(sqlite3* db, const QByteArray& sql, int& rc) {
    sqlite3_stmt* statement = nullptr;
    rc = sqlite3_prepare_v2(db, sql.constData(), int(sql.size()), &statement, nullptr);
    return Statement(statement);
}

QByteArray bytes(sqlite3_stmt* statement, int column) {
    return QByteArray(reinterpret_cast<const char*>(sqlite3_column_text(statement, column)),
                      sqlite3_column_bytes(statement, column));
}

QString text(sqlite3_stmt* statement, int column) {
    return decodeText(reinterpret_cast<const char*>(sqlite3_column_text(statement, column)),
                      sqlite3_column_bytes(statement, column));
}

bool isNull(sqlite3_stmt* statement, int column) {
    return sqlite3_column_type(statement, column) == SQLITE_NULL;
}

// "PRAGMA main.<pragma>("<name>")", the name's quotes doubled.
QByteArray pragmaStatement(const char* name, const QByteArray& argument) {
    QByteArray quoted = argument;
    quoted.replace('"', "\"\"");
    return QByteArray("PRAGMA main.") + name + "(\"" + quoted + "\")";
}

// Slots of PragmaReader::statement.
enum Slot {
    kTakenName,
    kExpressionIndex,
    kTableShown,
    kTableNamed,
    kTableNamedNoCase,
    kIndexedTable
};

// Whether the schema holds an index of `table`: a table without one is not asked for its list.
bool hasIndexes(PragmaReader& reader, const QByteArray& table) {
    sqlite3_stmt* query =
        reader.statement(kIndexedTable, "SELECT 1 FROM temp.quarnel_indexed_tables WHERE tbl = ?1");
    if (!query)
        return true;
    sqlite3_bind_text(query, 1, table.constData(), int(table.size()), SQLITE_STATIC);
    const bool indexed = sqlite3_step(query) == SQLITE_ROW;
    sqlite3_reset(query);
    return indexed;
}

std::optional<CatalogueTable> catalogueTable(PragmaReader& reader, int slot, const char* sql,
                                             const QByteArray& key) {
    sqlite3_stmt* query = reader.statement(slot, sql);
    if (!query)
        return std::nullopt;
    sqlite3_bind_text(query, 1, key.constData(), int(key.size()), SQLITE_STATIC);
    std::optional<CatalogueTable> found;
    if (sqlite3_step(query) == SQLITE_ROW) {
        found = CatalogueTable{bytes(query, 0), bytes(query, 1), sqlite3_column_int64(query, 2),
                               text(query, 3)};
    }
    sqlite3_reset(query);
    return found;
}

// The number that ends SQLite's name for the index of a UNIQUE constraint, -1 for none.
int autoIndexNumber(const QString& autoIndexName) {
    bool numeric = false;
    const int number = autoIndexName.section(u'_', -1).toInt(&numeric);
    return numeric ? number : -1;
}

bool sameColumns(const QStringList& declared, const std::vector<QByteArray>& actual) {
    if (declared.size() != qsizetype(actual.size()))
        return false;
    for (size_t i = 0; i < actual.size(); ++i) {
        if (declared[qsizetype(i)].compare(decodeText(actual[i]), Qt::CaseInsensitive) != 0)
            return false;
    }
    return true;
}

// The names of a table's constraints, given by the rule of sqlite_key_names.h in the order the
// constraints are named: primary key, unique keys, foreign keys, checks.
class Namer {
  public:
    Namer(PragmaReader& reader, const CatalogueTable& table)
        : m_table(table),
          m_lookup(reader.statement(kTakenName,
                                    "SELECT explicit_index, owner_seq, owner_ordinal"
                                    " FROM temp.quarnel_taken_names WHERE name = ?1")) {}

    // The names of a key declared as `declared` (constraint number `ordinal` of the table, -1
    // when not declared) or else called `generated`.
    KeyNames name(const KeyConstraint* declared, int ordinal, const QString& generated,
                  bool& isGenerated) {
        const auto taken = [&](const QString& name) {
            return m_assigned.contains(name.toUpper()) || look(name).found;
        };
        const auto explicitIndex = [&](const QString& name) { return look(name).explicitIndex; };
        KeyNames names;
        isGenerated = declared == nullptr || declared->name.isEmpty();
        if (isGenerated) {
            names = nameKey(QString(), generated, taken, explicitIndex);
        } else if (firstComer(declared->name, ordinal)) {
            names = nameKey(declared->name, generated, taken, explicitIndex);
        } else {
            // A name declared before, in this table or an earlier one: the next free form.
            names = nameKey(QString(), declared->name, taken, explicitIndex);
        }
        m_assigned.insert(names.constraint.toUpper());
        m_assigned.insert(names.index.toUpper());
        return names;
    }

  private:
    struct Holder {
        bool found = false;
        bool explicitIndex = false;
        qint64 ownerSeq = -1;
        int ownerOrdinal = -1;
    };

    Holder look(const QString& name) {
        Holder holder;
        if (!m_lookup)
            return holder;
        const QByteArray utf8 = name.toUtf8();
        sqlite3_bind_text(m_lookup, 1, utf8.constData(), int(utf8.size()), SQLITE_STATIC);
        if (sqlite3_step(m_lookup) == SQLITE_ROW) {
            holder.found = true;
            holder.explicitIndex = sqlite3_column_int(m_lookup, 0) != 0;
            if (!isNull(m_lookup, 1)) {
                holder.ownerSeq = sqlite3_column_int64(m_lookup, 1);
                holder.ownerOrdinal = sqlite3_column_int(m_lookup, 2);
            }
        }
        sqlite3_reset(m_lookup);
        return holder;
    }

    bool firstComer(const QString& name, int ordinal) {
        if (m_assigned.contains(name.toUpper()))
            return false;
        const Holder holder = look(name);
        return holder.ownerSeq < 0 ||
               (holder.ownerSeq == m_table.seq && holder.ownerOrdinal == ordinal);
    }

    const CatalogueTable& m_table;
    sqlite3_stmt* m_lookup;
    QSet<QString> m_assigned;
};

struct IndexEntry {
    QByteArray name;
    bool unique = false;
    QByteArray origin;
    std::vector<TableFacts::IndexColumn> columns;
    std::vector<int> expressionPositions;  // 0-based
};

// The expression of each expression column of `index`, from its CREATE INDEX statement.
int readExpressions(PragmaReader& reader, IndexEntry& index) {
    if (index.expressionPositions.empty())
        return SQLITE_OK;
    sqlite3_stmt* query = reader.statement(
        kExpressionIndex, "SELECT sql FROM temp.quarnel_expression_indexes WHERE name = ?1");
    if (!query)
        return sqlite3_errcode(reader.db());
    sqlite3_bind_text(query, 1, index.name.constData(), int(index.name.size()), SQLITE_STATIC);
    const QString sql = sqlite3_step(query) == SQLITE_ROW ? text(query, 0) : QString();
    sqlite3_reset(query);
    for (const int position : index.expressionPositions) {
        const QString term = indexTerm(sql, position);
        if (!term.isEmpty())
            index.columns[size_t(position)].expression = term;
    }
    return SQLITE_OK;
}

// A file of schema format 1 to 3 (written before SQLite 3.7.10, or with the legacy file format
// asked for) keeps no DESC in index keys, a whole schema alike: the first descending key `table`
// declares is looked up once in index_xinfo, and `keeps` remembers what it showed. Clears `table`
// when that key is not found.
int settleDescendingKeys(PragmaReader& reader, std::optional<DeclaredTable>& table,
                         std::optional<bool>& keeps) {
    for (DeclaredTable::Index& index : table->indexes) {
        for (size_t i = 0; i < index.columns.size() && !keeps; ++i) {
            if (!index.columns[i].descending)
                continue;
            size_t position = 0;
            const int rc =
                reader.read(PragmaReader::Pragma::IndexXinfo, index.name, [&](sqlite3_stmt* row) {
                    if (position++ == i)
                        keeps = sqlite3_column_int(row, 3) != 0;
                });
            if (rc != SQLITE_OK || !keeps) {
                table.reset();
                return rc;
            }
        }
        if (keeps == false) {
            for (DeclaredTable::Index::Column& column : index.columns)
                column.descending = false;
        }
    }
    return SQLITE_OK;
}

// SQLite's list of the indexes of `table`, each with its key columns.
int readIndexes(PragmaReader& reader, const CatalogueTable& table,
                std::vector<IndexEntry>& indexes) {
    using Pragma = PragmaReader::Pragma;
    int rc = SQLITE_OK;
    // A WITHOUT ROWID table is its primary key's index, with no entry of its own.
    if (hasIndexes(reader, table.name) ||
        table.sql.contains(QLatin1String("WITHOUT"), Qt::CaseInsensitive)) {
        rc = reader.read(Pragma::IndexList, table.name, [&](sqlite3_stmt* row) {
            indexes.push_back(
                {bytes(row, 1), sqlite3_column_int(row, 2) != 0, bytes(row, 3), {}, {}});
        });
    }
    for (IndexEntry& index : indexes) {
        if (rc != SQLITE_OK)
            return rc;
        rc = reader.read(Pragma::IndexXinfo, index.name, [&](sqlite3_stmt* row) {
            if (sqlite3_column_int(row, 5) == 0)
                return;
            const int position = int(index.columns.size());
            TableFacts::IndexColumn column;
            column.descending = sqlite3_column_int(row, 3) != 0;
            if (isNull(row, 2)) {
                column.name =
                    QStringLiteral("SYS_NC%1$").arg(position + 1, 5, 10, QLatin1Char('0')).toUtf8();
                if (sqlite3_column_int(row, 1) == -2)
                    index.expressionPositions.push_back(position);
            } else {
                column.name = bytes(row, 2);
            }
            index.columns.push_back(std::move(column));
        });
        if (rc == SQLITE_OK)
            rc = readExpressions(reader, index);
    }
    return rc;
}

}  // namespace

struct PragmaReader::Statements {
    static constexpr const char* kNames[] = {"table_xinfo", "index_list", "index_xinfo",
                                             "foreign_key_list"};
    static constexpr const char* kFunctions[] = {
        "SELECT cid, name, type, \"notnull\", dflt_value, pk, hidden"
        " FROM pragma_table_xinfo(?1, 'main')",
        "SELECT seq, name, \"unique\", origin, partial FROM pragma_index_list(?1, 'main')",
        "SELECT seqno, cid, name, \"desc\", coll, key FROM pragma_index_xinfo(?1, 'main')",
        "SELECT id, seq, \"table\", \"from\", \"to\", on_update, on_delete, \"match\""
        " FROM pragma_foreign_key_list(?1, 'main')"};
    Statement functions[4];
    Statement others[8];
};

sqlite3_stmt* PragmaReader::statement(int slot, const char* sql) {
    Statement& statement = m_statements->others[slot];
    if (!statement) {
        int rc = SQLITE_OK;
        statement = prepare(m_db, sql, rc);
    }
    return statement.get();
}

PragmaReader::PragmaReader(sqlite3* db) : m_db(db), m_statements(std::make_unique<Statements>()) {}

PragmaReader::~PragmaReader() = default;

int PragmaReader::read(Pragma pragma, const QByteArray& argument,
                       const std::function<void(sqlite3_stmt*)>& row) {
    const auto which = size_t(pragma);
    Statement& function = m_statements->functions[which];
    int rc = SQLITE_OK;
    // A table of the user's named like the function makes its preparation fail: the PRAGMA
    // statement reads the same.
    if (!function)
        function = prepare(m_db, Statements::kFunctions[which], rc);
    Statement own;
    sqlite3_stmt* statement = function.get();
    if (statement) {
        sqlite3_bind_text(statement, 1, argument.constData(), int(argument.size()), SQLITE_STATIC);
    } else {
        own = prepare(m_db, pragmaStatement(Statements::kNames[which], argument), rc);
        if (rc != SQLITE_OK)
            return rc;
        statement = own.get();
    }
    while ((rc = sqlite3_step(statement)) == SQLITE_ROW)
        row(statement);
    if (function)
        sqlite3_reset(statement);
    return rc == SQLITE_DONE ? SQLITE_OK : rc;
}

QString decodeText(const char* bytes, qsizetype size) {
    // Only a leading byte order mark reads differently from QString::fromUtf8.
    if (size < 3 || bytes[0] != '\xEF' || bytes[1] != '\xBB' || bytes[2] != '\xBF')
        return QString::fromUtf8(bytes, size);
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::ConvertInitialBom);
    return decoder.decode(QByteArrayView(bytes, size));
}

std::optional<CatalogueTable> catalogueTableShown(PragmaReader& reader, const QByteArray& shown) {
    return catalogueTable(reader, kTableShown,
                          "SELECT name, shown, seq, sql FROM temp.quarnel_tables WHERE shown = ?1",
                          shown);
}

std::optional<CatalogueTable> catalogueTableNamed(PragmaReader& reader, const QByteArray& name) {
    if (auto exact = catalogueTable(
            reader, kTableNamed,
            "SELECT name, shown, seq, sql FROM temp.quarnel_tables WHERE name = ?1", name))
        return exact;
    return catalogueTable(reader, kTableNamedNoCase,
                          "SELECT name, shown, seq, sql FROM temp.quarnel_tables"
                          " WHERE name = ?1 COLLATE NOCASE ORDER BY seq",
                          name);
}

int readTableFacts(PragmaReader& reader, const CatalogueTable& table, unsigned parts,
                   TableFacts& facts, const std::vector<IndexStatement>* indexStatements,
                   std::optional<bool>* keepsDescendingKeys) {
    using Pragma = PragmaReader::Pragma;
    facts = TableFacts{};
    facts.table = table;
    // Names are given in a fixed order (keys, foreign keys, checks): a part needs those before it.
    if (parts & kChecks)
        parts |= kForeignKeys;
    if (parts & kForeignKeys)
        parts |= kKeysAndIndexes;
    if (parts & (kKeysAndIndexes | kColumnComments))
        parts |= kColumns;
    const bool parse = (parts & ~kColumns) != 0;
    const TableDefinition definition = parse ? readTableDefinition(table.sql) : TableDefinition{};
    facts.comment = definition.comment;
    if (!(parts & kColumns))
        return SQLITE_OK;

    // Columns, as SELECT * gives them: hidden columns of virtual tables left out.
    QByteArray rowidAlias;
    const auto addColumn = [&](QByteArray name, const QString& type, bool notNull,
                               std::optional<QByteArray> defaultText, int primaryKey) {
        TableFacts::Column column;
        column.name = std::move(name);
        column.id = int(facts.columns.size()) + 1;
        column.type = describeDeclaredType(type);
        column.nullable = !notNull && primaryKey == 0;
        column.defaultText = std::move(defaultText);
        if (primaryKey == 1)
            rowidAlias = column.name;
        const QString decoded = decodeText(column.name);
        for (const ColumnComment& comment : definition.columnComments) {
            if (comment.column.compare(decoded, Qt::CaseInsensitive) == 0) {
                column.comment = comment.comment;
                break;
            }
        }
        facts.columns.push_back(std::move(column));
    };
    std::vector<IndexEntry> indexes;
    int rc = SQLITE_OK;
    std::optional<DeclaredTable> declared =
        indexStatements ? readDeclaredTable(table.name, table.sql, *indexStatements) : std::nullopt;
    if (declared) {
        std::optional<bool> known;
        rc = settleDescendingKeys(reader, declared,
                                  keepsDescendingKeys ? *keepsDescendingKeys : known);
        if (rc != SQLITE_OK)
            return rc;
    }
    if (declared) {
        for (const DeclaredTable::Column& column : declared->columns)
            addColumn(column.name, column.type, column.notNull, column.defaultText,
                      column.primaryKey);
        if (!(parts & kKeysAndIndexes))
            return SQLITE_OK;
        for (const DeclaredTable::Index& index : declared->indexes) {
            IndexEntry entry{index.name, index.unique, index.origin, {}, {}};
            for (const DeclaredTable::Index::Column& column : index.columns)
                entry.columns.push_back({column.name, std::nullopt, column.descending});
            indexes.push_back(std::move(entry));
        }
    } else {
        rc = reader.read(Pragma::TableXinfo, table.name, [&](sqlite3_stmt* row) {
            if (sqlite3_column_int(row, 6) == 1)
                return;
            addColumn(bytes(row, 1), text(row, 2), sqlite3_column_int(row, 3) != 0,
                      isNull(row, 4) ? std::nullopt : std::optional<QByteArray>(bytes(row, 4)),
                      sqlite3_column_int(row, 5));
        });
        if (rc != SQLITE_OK || !(parts & kKeysAndIndexes))
            return rc;
        rc = readIndexes(reader, table, indexes);
    }
    if (rc != SQLITE_OK)
        return rc;

    // Names, in the order the rule takes them.
    const QString shown = decodeText(table.shown);
    Namer namer(reader, table);
    const auto declaredOf = [&](KeyConstraint::Kind kind, auto matches) {
        std::pair<const KeyConstraint*, int> found{nullptr, -1};
        for (size_t i = 0; i < definition.constraints.size(); ++i) {
            const KeyConstraint& constraint = definition.constraints[i];
            if (constraint.kind == kind && matches(constraint, int(i))) {
                found = {&constraint, int(i)};
                break;
            }
        }
        return found;
    };

    const auto primaryIndex = std::find_if(indexes.begin(), indexes.end(),
                                           [](const IndexEntry& i) { return i.origin == "pk"; });
    if (primaryIndex != indexes.end() || !rowidAlias.isEmpty()) {
        TableFacts::Key key;
        if (primaryIndex != indexes.end()) {
            for (const TableFacts::IndexColumn& column : primaryIndex->columns)
                key.columns.push_back({column.name, column.descending});
        } else {
            key.columns.push_back({rowidAlias, false});
        }
        const auto [declared, ordinal] =
            declaredOf(KeyConstraint::Kind::PrimaryKey,
                       [](const KeyConstraint& c, int) { return !c.name.isEmpty(); });
        const KeyNames names =
            namer.name(declared, ordinal, shown + QLatin1String("_PK"), key.generated);
        key.name = names.constraint;
        key.indexName = names.index;
        facts.indexes.push_back({key.indexName, true, key.generated, {}});
        for (const TableFacts::KeyColumn& column : key.columns)
            facts.indexes.back().columns.push_back({column.name, std::nullopt, column.descending});
        facts.primaryKey = std::move(key);
    }

    std::vector<const IndexEntry*> autoIndexes;
    for (const IndexEntry& index : indexes) {
        if (index.origin == "u")
            autoIndexes.push_back(&index);
    }
    std::sort(autoIndexes.begin(), autoIndexes.end(), [](const IndexEntry* a, const IndexEntry* b) {
        return autoIndexNumber(decodeText(a->name)) < autoIndexNumber(decodeText(b->name));
    });
    QSet<int> usedOrdinals;
    QHash<QByteArray, size_t> uniqueOf;  // SQLite's index name -> place in uniqueKeys
    for (const IndexEntry* index : autoIndexes) {
        TableFacts::Key key;
        std::vector<QByteArray> columns;
        for (const TableFacts::IndexColumn& column : index->columns) {
            key.columns.push_back({column.name, column.descending});
            columns.push_back(column.name);
        }
        const auto [declared, ordinal] =
            declaredOf(KeyConstraint::Kind::Unique, [&](const KeyConstraint& c, int i) {
                return !c.name.isEmpty() && !usedOrdinals.contains(i) &&
                       sameColumns(c.columns, columns);
            });
        usedOrdinals.insert(ordinal);
        const int number = autoIndexNumber(decodeText(index->name));
        const QString generated = number >= 0
                                      ? shown + QLatin1String("_UK") + QString::number(number)
                                      : decodeText(index->name);
        const KeyNames names = namer.name(declared, ordinal, generated, key.generated);
        key.name = names.constraint;
        key.indexName = names.index;
        uniqueOf.insert(index->name, facts.uniqueKeys.size());
        facts.uniqueKeys.push_back(std::move(key));
    }

    for (const IndexEntry& index : indexes) {
        if (index.origin == "pk")
            continue;
        TableFacts::Index entry{decodeText(index.name), index.unique, false, index.columns};
        if (const auto unique = uniqueOf.constFind(index.name); unique != uniqueOf.cend()) {
            const TableFacts::Key& key = facts.uniqueKeys[*unique];
            entry.name = key.indexName;
            entry.generated = key.generated;
        }
        facts.indexes.push_back(std::move(entry));
    }

    // Foreign keys: SQLite lists them last declared first.
    if ((parts & kForeignKeys) &&
        table.sql.contains(QLatin1String("REFERENCES"), Qt::CaseInsensitive)) {
        std::vector<TableFacts::ForeignKey> foreign;
        int lastId = -1;
        rc = reader.read(Pragma::ForeignKeyList, table.name, [&](sqlite3_stmt* row) {
            const int id = sqlite3_column_int(row, 0);
            if (id != lastId) {
                foreign.insert(foreign.begin(), TableFacts::ForeignKey{});
                foreign.front().referencedTable = bytes(row, 2);
                foreign.front().deleteRule = text(row, 6);
                lastId = id;
            }
            foreign.front().columns.push_back(bytes(row, 3));
            if (!isNull(row, 4))
                foreign.front().referencedColumns.push_back(bytes(row, 4));
        });
        if (rc != SQLITE_OK)
            return rc;
        int generatedNumber = 0;
        for (TableFacts::ForeignKey& key : foreign) {
            const auto [declared, ordinal] =
                declaredOf(KeyConstraint::Kind::ForeignKey, [&](const KeyConstraint& c, int i) {
                    return !usedOrdinals.contains(i) && sameColumns(c.columns, key.columns) &&
                           c.referencedTable.compare(decodeText(key.referencedTable),
                                                     Qt::CaseInsensitive) == 0;
                });
            usedOrdinals.insert(ordinal);
            const KeyConstraint* named = declared && !declared->name.isEmpty() ? declared : nullptr;
            key.name = namer
                           .name(named, ordinal,
                                 shown + QLatin1String("_FK") + QString::number(++generatedNumber),
                                 key.generated)
                           .constraint;
            if (auto referenced = catalogueTableNamed(reader, key.referencedTable))
                key.referencedTable = referenced->shown;
        }
        facts.foreignKeys = std::move(foreign);
    }

    int checkNumber = 0;
    for (size_t i = 0; (parts & kChecks) && i < definition.constraints.size(); ++i) {
        const KeyConstraint& constraint = definition.constraints[i];
        if (constraint.kind != KeyConstraint::Kind::Check)
            continue;
        TableFacts::Check check;
        check.condition = constraint.condition;
        const KeyConstraint* named = constraint.name.isEmpty() ? nullptr : &constraint;
        check.name =
            namer
                .name(named, int(i), shown + QLatin1String("_CK") + QString::number(++checkNumber),
                      check.generated)
                .constraint;
        facts.checks.push_back(std::move(check));
    }
    return SQLITE_OK;
}

}  // namespace quarnel::db
