#include "schema/snapshot_writer.h"

#include "db/sqlite_snapshot.h"
#include "support/staged_output.h"

#include <QVariant>

#include <sqlite3.h>

namespace quarnel::schema {
namespace {

namespace ot = db::oracle_type;

struct StatementDeleter {
    void operator()(sqlite3_stmt* statement) const { sqlite3_finalize(statement); }
};
using Statement = std::unique_ptr<sqlite3_stmt, StatementDeleter>;

// The statements that insert the rows, in the order of `kInserts`.
enum Insert {
    Header,
    Users,
    Tables,
    TabComments,
    TabColumns,
    ColComments,
    Constraints,
    ConsColumns,
    AllConsColumns,
    Indexes,
    IndColumns,
    IndExpressions,
    Describe,
    InsertCount
};

constexpr const char* kInserts[InsertCount] = {
    "INSERT INTO quarnel_snapshot VALUES (?,?,?,?,?,?,?)",
    "INSERT INTO user_users VALUES (?)",
    "INSERT INTO user_tables VALUES (?,?)",
    "INSERT INTO user_tab_comments VALUES (?,?,?)",
    "INSERT INTO user_tab_columns VALUES (?,?,?,?,?,?,?,?,?,?,?,?,?)",
    "INSERT INTO user_col_comments VALUES (?,?,?)",
    "INSERT INTO user_constraints VALUES (?,?,?,?,?,?,?,?,?)",
    "INSERT INTO user_cons_columns VALUES (?,?,?,?,?)",
    "INSERT INTO all_cons_columns VALUES (?,?,?,?,?)",
    "INSERT INTO user_indexes VALUES (?,?,?,?,?)",
    "INSERT INTO user_ind_columns VALUES (?,?,?,?,?)",
    "INSERT INTO user_ind_expressions VALUES (?,?,?,?)",
    "INSERT INTO quarnel_describe VALUES (?,?,?,?,?,?,?,?,?,?,?,?,?)",
};

bool isCharacter(int code) {
    return code == ot::kVarchar2 || code == ot::kChar || code == ot::kClob;
}

}  // namespace

QString dictionaryTypeText(const catalog::ColumnDescription& column) {
    const int code = column.oraIDataType;
    const bool national = column.charsetForm == ot::kNationalCharsetForm;
    switch (code) {
        case ot::kNumber:
            return column.precision > 0 && column.scale == ot::kFloatScale
                       ? QStringLiteral("FLOAT")
                       : QStringLiteral("NUMBER");
        case ot::kVarchar2:
            return national ? QStringLiteral("NVARCHAR2") : QStringLiteral("VARCHAR2");
        case ot::kChar:
            return national ? QStringLiteral("NCHAR") : QStringLiteral("CHAR");
        case ot::kRaw:
            return QStringLiteral("RAW");
        case ot::kUrowid:
            return QStringLiteral("UROWID");
        case ot::kRowidDescriptor:
            return QStringLiteral("ROWID");
        case ot::kNamedType: {
            const qsizetype dot = column.typeName.lastIndexOf(u'.');
            return dot < 0 ? column.typeName : column.typeName.mid(dot + 1);
        }
        default:
            return catalog::scriptColumnType(column);
    }
}

struct SnapshotWriter::State {
    explicit State(const QString& target) : output(target, StagedOutput::Kind::File) {}
    ~State() {
        for (Statement& statement : inserts)
            statement.reset();
        if (db)
            sqlite3_close_v2(db);
    }

    [[noreturn]] void fail() {
        throw WriteError(
            QStringLiteral("スナップショットを書き込めません: %1")
                .arg(db ? QString::fromUtf8(sqlite3_errmsg(db)) : QStringLiteral("out of memory")));
    }
    void check(int rc) {
        if (rc != SQLITE_OK && rc != SQLITE_DONE)
            fail();
    }

    void bind(sqlite3_stmt* statement, int place, const QVariant& value) {
        int rc = SQLITE_OK;
        if (value.isNull()) {
            rc = sqlite3_bind_null(statement, place);
        } else if (value.typeId() == QMetaType::Int || value.typeId() == QMetaType::LongLong ||
                   value.typeId() == QMetaType::Bool) {
            rc = sqlite3_bind_int64(statement, place, value.toLongLong());
        } else {
            const QByteArray text = value.toString().toUtf8();
            rc = sqlite3_bind_text(statement, place, text.constData(), int(text.size()),
                                   SQLITE_TRANSIENT);
        }
        check(rc);
    }

    void insert(Insert which, const QVariantList& values) {
        sqlite3_stmt* statement = inserts[which].get();
        for (int i = 0; i < int(values.size()); ++i)
            bind(statement, i + 1, values[i]);
        check(sqlite3_step(statement));
        check(sqlite3_reset(statement));
    }

    StagedOutput output;
    sqlite3* db = nullptr;
    Statement inserts[InsertCount];
    QString owner;
};

SnapshotWriter::SnapshotWriter(const QString& target) : m_state(std::make_unique<State>(target)) {}

SnapshotWriter::~SnapshotWriter() = default;

void SnapshotWriter::begin(const Schema& schema) {
    State& s = *m_state;
    if (const std::optional<QString> reason = s.output.prepare())
        throw WriteError(*reason);
    const QByteArray path = s.output.temporaryPath().toUtf8();
    if (sqlite3_open_v2(path.constData(), &s.db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE,
                        nullptr) != SQLITE_OK) {
        s.fail();
    }
    sqlite3_extended_result_codes(s.db, 1);
    // A file nobody else sees until it is complete: no journal, one transaction.
    s.check(sqlite3_exec(s.db, "PRAGMA journal_mode = OFF; PRAGMA synchronous = OFF; BEGIN;",
                         nullptr, nullptr, nullptr));
    s.check(sqlite3_exec(s.db, db::snapshotSchemaSql(), nullptr, nullptr, nullptr));
    for (int i = 0; i < InsertCount; ++i) {
        sqlite3_stmt* raw = nullptr;
        if (sqlite3_prepare_v2(s.db, kInserts[i], -1, &raw, nullptr) != SQLITE_OK)
            s.fail();
        s.inserts[i].reset(raw);
    }
    s.owner = schema.user.toUpper();
    s.insert(Header, {QString::fromLatin1(db::kSnapshotFormatName), db::kSnapshotVersion,
                      schema.host, schema.user, schema.engine, schema.serverVersion,
                      schema.readAt.toUTC().toString(Qt::ISODate)});
    s.insert(Users, {s.owner});
}

void SnapshotWriter::table(const Table& table, int /*number*/) {
    State& s = *m_state;
    const QVariant none;
    const auto orNull = [](const QString& text) { return text.isEmpty() ? QVariant() : text; };
    const auto generated = [](bool yes) {
        return yes ? QStringLiteral("GENERATED NAME") : QStringLiteral("USER NAME");
    };
    s.insert(Tables, {table.name, QStringLiteral("NO")});
    s.insert(TabComments, {table.name, QStringLiteral("TABLE"), orNull(table.comment)});
    for (const Column& column : table.columns) {
        const catalog::ColumnDescription& d = column.description;
        const bool character = isCharacter(d.oraIDataType) && d.oraIDataType != ot::kClob;
        const qsizetype dot = d.typeName.lastIndexOf(u'.');
        const bool number = d.oraIDataType == ot::kNumber;
        s.insert(
            TabColumns,
            {table.name, d.name, column.position,
             column.dataType.isEmpty() ? dictionaryTypeText(d) : column.dataType,
             dot < 0 ? none : QVariant(d.typeName.left(dot)), d.size,
             // A bare NUMBER (precision 0, scale -127) has neither; a NUMBER whose describe
             // reports precision 0 and scale 0 (the embedded engine's) keeps both.
             number && (d.precision > 0 || d.scale != ot::kFloatScale) ? QVariant(d.precision)
                                                                       : none,
             number && d.scale != ot::kFloatScale ? QVariant(d.scale) : none,
             d.nullOk ? QStringLiteral("Y") : QStringLiteral("N"),
             character ? QVariant(d.charUsed ? QStringLiteral("C") : QStringLiteral("B")) : none,
             character ? d.charLength : 0,
             column.defaultText ? QVariant(*column.defaultText) : none,
             column.identity ? QStringLiteral("YES") : QStringLiteral("NO")});
        s.insert(ColComments, {table.name, d.name, orNull(column.comment)});
        s.insert(Describe,
                 {table.name, column.position, d.name, d.oraIDataType, d.size, d.precision, d.scale,
                  int(d.nullOk), d.type, d.charsetForm, int(d.charUsed), d.charLength, d.typeName});
    }
    const auto keyColumns = [&](const QString& name, const QStringList& columns) {
        for (int i = 0; i < int(columns.size()); ++i) {
            const QVariantList row{s.owner, name, table.name, columns[i], i + 1};
            s.insert(ConsColumns, row);
            s.insert(AllConsColumns, row);
        }
    };
    const auto constraint = [&](const QString& name, const QString& type, const QVariant& check,
                                const QVariant& rOwner, const QVariant& rName,
                                const QVariant& deleteRule, bool generatedName) {
        s.insert(Constraints, {name, type, table.name, check, rOwner, rName, deleteRule,
                               generated(generatedName), QStringLiteral("ENABLED")});
    };
    if (table.primaryKey) {
        constraint(table.primaryKey->name, QStringLiteral("P"), none, none, none, none,
                   table.primaryKey->generatedName);
        keyColumns(table.primaryKey->name, table.primaryKey->columns);
    }
    for (const KeyConstraint& key : table.uniqueKeys) {
        constraint(key.name, QStringLiteral("U"), none, none, none, none, key.generatedName);
        keyColumns(key.name, key.columns);
    }
    for (const ForeignKey& key : table.foreignKeys) {
        const QString owner = key.referencedOwner.isEmpty() ? s.owner : key.referencedOwner;
        constraint(key.name, QStringLiteral("R"), none, owner, key.referencedConstraint,
                   key.deleteRule, key.generatedName);
        keyColumns(key.name, key.columns);
        // A key of another schema's table is found only through all_cons_columns.
        if (owner != s.owner) {
            for (int i = 0; i < int(key.referencedColumns.size()); ++i) {
                s.insert(AllConsColumns, {owner, key.referencedConstraint, key.referencedTable,
                                          key.referencedColumns[i], i + 1});
            }
        }
    }
    for (const CheckConstraint& check : table.checks) {
        constraint(check.name, QStringLiteral("C"), check.condition, none, none, none,
                   check.generatedName);
    }
    for (const Index& index : table.indexes) {
        bool expression = false;
        for (const IndexColumn& column : index.columns)
            expression = expression || column.expression;
        s.insert(Indexes,
                 {index.name, table.name,
                  index.unique ? QStringLiteral("UNIQUE") : QStringLiteral("NONUNIQUE"),
                  expression ? QStringLiteral("FUNCTION-BASED NORMAL") : QStringLiteral("NORMAL"),
                  index.generatedName ? QStringLiteral("Y") : QStringLiteral("N")});
        for (int i = 0; i < int(index.columns.size()); ++i) {
            const IndexColumn& column = index.columns[size_t(i)];
            s.insert(IndColumns,
                     {index.name, table.name, column.name, i + 1,
                      column.descending ? QStringLiteral("DESC") : QStringLiteral("ASC")});
            if (column.expression)
                s.insert(IndExpressions, {index.name, table.name, *column.expression, i + 1});
        }
    }
}

void SnapshotWriter::finish() {
    State& s = *m_state;
    s.check(sqlite3_exec(s.db, "COMMIT", nullptr, nullptr, nullptr));
    for (Statement& statement : s.inserts)
        statement.reset();
    const int rc = sqlite3_close(s.db);
    if (rc != SQLITE_OK)
        s.fail();
    s.db = nullptr;
    if (const std::optional<QString> reason = s.output.commit())
        throw WriteError(*reason);
}

}  // namespace quarnel::schema
