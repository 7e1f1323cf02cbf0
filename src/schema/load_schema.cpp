// The whole schema in a fixed number of dictionary reads.
#include "schema/load_schema.h"

#include "catalog/queries.h"
#include "schema/dictionary_types.h"

#include <QHash>
#include <QSet>

#include <algorithm>

namespace quarnel::schema {
namespace {

using catalog::kDictionaryReadOptions;

// Rows between two looks at the cancel flag and two progress reports: one fetch's worth.
constexpr qint64 kRowsPerReport = 1000;

struct Cancelled {};

// One row of a dictionary read: its values by field number, each read once.
class Row {
  public:
    explicit Row(const std::vector<const db::Field*>& fields) : m_fields(fields) {}
    QVariant value(int field) const { return m_fields[size_t(field)]->Value(); }
    QString text(int field) const { return value(field).toString(); }
    std::optional<int> number(int field) const {
        const QVariant v = value(field);
        if (v.isNull())
            return std::nullopt;
        return v.toInt();
    }

  private:
    const std::vector<const db::Field*>& m_fields;
};

// What a constraint row says before its columns are known.
struct ConstraintRow {
    QString name;
    QString type;
    int table = -1;
    QString referencedOwner;
    QString referencedConstraint;
    QString deleteRule;
    bool generatedName = false;
    QString condition;
    QStringList columns;
};

// The columns and table of a key that a foreign key of the schema refers to.
struct ReferencedKey {
    QString table;
    QStringList columns;
};

class Loader {
  public:
    Loader(db::Database& database, const LoadRequest& request)
        : m_database(database), m_request(request) {}

    Schema load() {
        m_schema.user = m_request.user;
        m_schema.host = m_request.host;
        m_schema.readAt = QDateTime::currentDateTimeUtc();
        m_progress.queryCount = int(catalog::schemaQueries(QString()).size());
        readUser();
        readTables();
        readTableComments();
        readColumns();
        readDefaults();
        readColumnComments();
        readConstraints();
        readIndexes();
        describeUnsureColumns();
        return std::move(m_schema);
    }

  private:
    // Runs `sql`, hands each row to `onRow`, and between fetches reports progress and stops when
    // cancelled.
    template <typename OnRow>
    void forEachRow(const QString& sql, OnRow onRow) {
        checkCancel();
        const auto dynaset = m_database.DbCreateDynaset(sql, kDictionaryReadOptions);
        const std::vector<const db::Field*> fields = dynaset->Fields();
        const Row row(fields);
        qint64 sinceReport = 0;
        for (; !dynaset->Eof(); dynaset->DbMoveNext()) {
            onRow(row);
            ++m_progress.rowsRead;
            if (++sinceReport == kRowsPerReport) {
                sinceReport = 0;
                report();
                checkCancel();
            }
        }
        ++m_progress.queriesDone;
        report();
    }

    void checkCancel() const {
        if (m_request.cancel && m_request.cancel->load(std::memory_order_relaxed))
            throw Cancelled{};
    }
    void report() const {
        if (m_request.progress)
            m_request.progress(m_progress);
    }

    // The place of the table `name` in the schema, or -1 for a table left out.
    int tableAt(const QString& name) {
        // The rows of one table mostly come together.
        if (m_lastLookup.second >= -1 && name == m_lastLookup.first)
            return m_lastLookup.second;
        m_lastLookup = {name, m_tables.value(name, -1)};
        return m_lastLookup.second;
    }

    // The column `name` of table `table`; tries the column after the last one found first, as
    // the dictionary mostly lists columns in order.
    Column* columnOf(int table, const QString& name) {
        std::vector<Column>& columns = m_schema.tables[size_t(table)].columns;
        if (table == m_lastTable && m_lastColumn + 1 < columns.size() &&
            columns[m_lastColumn + 1].name() == name) {
            return &columns[++m_lastColumn];
        }
        for (size_t i = 0; i < columns.size(); ++i) {
            if (columns[i].name() == name) {
                m_lastTable = table;
                m_lastColumn = i;
                return &columns[i];
            }
        }
        return nullptr;
    }

    // One shared copy of each type text.
    QString interned(const QString& text) {
        auto found = m_texts.constFind(text);
        if (found == m_texts.constEnd())
            found = m_texts.insert(text);
        return *found;
    }

    void readUser() {
        forEachRow(catalog::schemaUserSql(), [&](const Row& row) { m_user = row.text(0); });
    }

    void readTables() {
        std::optional<QSet<QString>> wanted;
        if (m_request.tables)
            wanted = QSet<QString>(m_request.tables->begin(), m_request.tables->end());
        forEachRow(catalog::schemaTablesSql(), [&](const Row& row) {
            const QString name = row.text(0);
            if (row.text(1) == u"YES" || (wanted && !wanted->contains(name)) ||
                m_tables.contains(name))
                return;
            m_tables.insert(name, int(m_schema.tables.size()));
            Table table;
            table.name = name;
            m_schema.tables.push_back(std::move(table));
        });
        m_progress.tableCount = int(m_schema.tables.size());
    }

    void readTableComments() {
        forEachRow(catalog::schemaTableCommentsSql(), [&](const Row& row) {
            const int table = tableAt(row.text(0));
            if (table >= 0)
                m_schema.tables[size_t(table)].comment = row.text(1);
        });
    }

    void readColumns() {
        forEachRow(catalog::schemaColumnsSql(), [&](const Row& row) {
            const int table = tableAt(row.text(0));
            if (table < 0)
                return;
            Column column;
            column.description.name = row.text(1);
            column.position = row.number(2).value_or(0);
            DictionaryType type;
            type.dataType = row.text(3);
            type.dataTypeOwner = row.text(4);
            type.dataLength = row.number(5).value_or(0);
            type.dataPrecision = row.number(6);
            type.dataScale = row.number(7);
            type.charUsed = row.text(9);
            type.charLength = row.number(10).value_or(0);
            column.description.nullOk = row.text(8) != u"N";
            column.identity = row.text(11) == u"YES";
            if (!describeFromDictionary(type, column.description))
                m_unsure.insert(table);
            if (m_schema.tables[size_t(table)].columns.empty())
                ++m_progress.tablesRead;
            column.dataType = interned(type.dataTypeOwner.isEmpty()
                                           ? type.dataType
                                           : QString(type.dataTypeOwner + u'.' + type.dataType));
            m_schema.tables[size_t(table)].columns.push_back(std::move(column));
        });
        m_progress.tablesRead = m_progress.tableCount;
        for (Table& table : m_schema.tables) {
            std::stable_sort(
                table.columns.begin(), table.columns.end(),
                [](const Column& a, const Column& b) { return a.position < b.position; });
            table.columns.shrink_to_fit();
        }
    }

    void readDefaults() {
        forEachRow(catalog::schemaColumnDefaultsSql(), [&](const Row& row) {
            const QVariant value = row.value(2);
            if (value.isNull())
                return;
            const int table = tableAt(row.text(0));
            if (table < 0)
                return;
            if (Column* column = columnOf(table, row.text(1)))
                column->defaultText = value.toString();
        });
    }

    void readColumnComments() {
        forEachRow(catalog::schemaColumnCommentsSql(), [&](const Row& row) {
            const int table = tableAt(row.text(0));
            if (table < 0)
                return;
            if (Column* column = columnOf(table, row.text(1)))
                column->comment = row.text(2);
        });
    }

    // The constraints with their check texts and columns, then the keys foreign keys refer to.
    void readConstraints() {
        std::vector<ConstraintRow> constraints;
        QHash<QString, size_t> byName;
        const auto key = [](const QString& table, const QString& name) -> QString {
            return table + QChar(0) + name;
        };
        forEachRow(catalog::schemaConstraintsSql(), [&](const Row& row) {
            ConstraintRow c;
            c.name = row.text(0);
            c.type = row.text(1);
            const QString table = row.text(2);
            c.table = tableAt(table);
            c.referencedOwner = row.text(3);
            c.referencedConstraint = row.text(4);
            c.deleteRule = row.text(5);
            c.generatedName = row.text(6) == u"GENERATED NAME";
            byName.insert(key(table, c.name), constraints.size());
            constraints.push_back(std::move(c));
        });
        // Constraint names are the schema's, so a check's name alone finds it.
        QHash<QString, size_t> checks;
        for (size_t i = 0; i < constraints.size(); ++i) {
            if (constraints[i].type == u"C")
                checks.insert(constraints[i].name, i);
        }
        forEachRow(catalog::schemaCheckConditionsSql(), [&](const Row& row) {
            const auto found = checks.constFind(row.text(0));
            if (found != checks.constEnd())
                constraints[*found].condition = row.text(1);
        });
        // The referenced keys of the user's own schema, by name.
        QHash<QString, ReferencedKey> ownKeys;
        forEachRow(catalog::schemaConstraintColumnsSql(), [&](const Row& row) {
            const QString table = row.text(1);
            const QString name = row.text(0);
            const auto found = byName.constFind(key(table, name));
            if (found == byName.constEnd())
                return;
            ConstraintRow& c = constraints[*found];
            const QString column = row.text(2);
            c.columns << column;
            if (c.type == u"P" || c.type == u"U") {
                ReferencedKey& referenced = ownKeys[name];
                referenced.table = table;
                referenced.columns << column;
            }
        });
        QHash<QString, ReferencedKey> otherKeys;
        forEachRow(catalog::schemaForeignReferencesSql(m_user), [&](const Row& row) {
            ReferencedKey& referenced = otherKeys[key(row.text(0), row.text(1))];
            const QString column = row.text(3);
            const int position = row.number(4).value_or(0);
            // A key that several foreign keys refer to comes once for each of them.
            if (referenced.columns.size() < position) {
                referenced.table = row.text(2);
                referenced.columns << column;
            }
        });
        for (ConstraintRow& c : constraints)
            addConstraint(c, c.referencedOwner == m_user
                                 ? ownKeys.value(c.referencedConstraint)
                                 : otherKeys.value(key(c.referencedOwner, c.referencedConstraint)));
    }

    void addConstraint(ConstraintRow& c, const ReferencedKey& referenced) {
        if (c.table < 0)
            return;
        Table& table = m_schema.tables[size_t(c.table)];
        if (c.type == u"P") {
            table.primaryKey = KeyConstraint{c.name, c.columns, c.generatedName};
            for (const QString& name : c.columns) {
                if (Column* column = columnOf(c.table, name))
                    column->description.nullOk = false;
            }
        } else if (c.type == u"U") {
            table.uniqueKeys.push_back(KeyConstraint{c.name, c.columns, c.generatedName});
        } else if (c.type == u"R") {
            ForeignKey fk;
            fk.name = c.name;
            fk.columns = c.columns;
            fk.referencedOwner = c.referencedOwner;
            fk.referencedTable = referenced.table;
            fk.referencedColumns = referenced.columns;
            fk.referencedConstraint = c.referencedConstraint;
            fk.deleteRule = c.deleteRule;
            fk.generatedName = c.generatedName;
            table.foreignKeys.push_back(std::move(fk));
        } else if (c.type == u"C" && !isGeneratedNotNull(c)) {
            table.checks.push_back(CheckConstraint{c.name, c.condition, c.generatedName});
        }
    }

    // The check Oracle makes for a NOT NULL column: a generated name and "COL" IS NOT NULL.
    static bool isGeneratedNotNull(const ConstraintRow& c) {
        return c.generatedName && c.columns.size() == 1 &&
               c.condition == QString(u'"' + c.columns.front() + QStringLiteral("\" IS NOT NULL"));
    }

    void readIndexes() {
        struct IndexFacts {
            bool unique = false;
            bool generated = false;
            QString type;
        };
        QHash<QString, IndexFacts> facts;
        const auto key = [](const QString& table, const QString& name) -> QString {
            return table + QChar(0) + name;
        };
        forEachRow(catalog::schemaIndexesSql(), [&](const Row& row) {
            const QString table = row.text(1);
            if (tableAt(table) < 0)
                return;
            facts.insert(
                key(table, row.text(0)),
                IndexFacts{row.text(2) == u"UNIQUE", row.text(4) == u"Y", interned(row.text(3))});
        });
        forEachRow(catalog::schemaIndexColumnsSql(), [&](const Row& row) {
            const QString tableName = row.text(1);
            const int at = tableAt(tableName);
            if (at < 0)
                return;
            Table& table = m_schema.tables[size_t(at)];
            const QString name = row.text(0);
            if (table.indexes.empty() || table.indexes.back().name != name) {
                const IndexFacts f = facts.value(key(tableName, name));
                if (f.type == u"LOB")
                    return;
                Index index;
                index.name = name;
                index.unique = f.unique;
                index.generatedName = f.generated;
                index.type = f.type;
                table.indexes.push_back(std::move(index));
            }
            IndexColumn column;
            column.name = row.text(2);
            column.position = row.number(3).value_or(0);
            column.descending = row.text(4) == u"DESC";
            table.indexes.back().columns.push_back(std::move(column));
        });
        forEachRow(catalog::schemaIndexExpressionsSql(), [&](const Row& row) {
            const QVariant expression = row.value(3);
            const int at = tableAt(row.text(1));
            if (at < 0 || expression.isNull())
                return;
            const QString name = row.text(0);
            const int position = row.number(2).value_or(0);
            for (Index& index : m_schema.tables[size_t(at)].indexes) {
                if (index.name != name)
                    continue;
                for (IndexColumn& column : index.columns) {
                    if (column.position == position)
                        column.expression = expression.toString();
                }
            }
        });
    }

    // Columns of types the dictionary does not describe for sure take the describe's facts.
    void describeUnsureColumns() {
        for (const int at : std::as_const(m_unsure)) {
            checkCancel();
            Table& table = m_schema.tables[size_t(at)];
            const auto describe = m_database.DbCreateDynaset(catalog::describeSql(table.name),
                                                             catalog::kDescribeOptions);
            for (const db::Field* field : describe->Fields()) {
                for (Column& column : table.columns) {
                    if (column.name() == field->Name()) {
                        column.description = catalog::describeColumn(*field);
                        break;
                    }
                }
            }
        }
    }

    db::Database& m_database;
    const LoadRequest& m_request;
    Schema m_schema;
    LoadProgress m_progress;
    QString m_user;
    QHash<QString, int> m_tables;
    std::pair<QString, int> m_lastLookup{QString(), -2};
    QSet<int> m_unsure;
    QSet<QString> m_texts;
    int m_lastTable = -1;
    size_t m_lastColumn = 0;
};

}  // namespace

std::optional<Schema> loadSchema(db::Database& database, const LoadRequest& request) {
    const db::ReadSnapshot snapshot(database);
    try {
        return Loader(database, request).load();
    } catch (const Cancelled&) {
        return std::nullopt;
    }
}

}  // namespace quarnel::schema
