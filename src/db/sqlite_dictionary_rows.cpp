#include "db/sqlite_dictionary_rows.h"

#include "db/sqlite_types.h"

#include <algorithm>

namespace quarnel::db::dictionary {
namespace {

Value text(const QString& value) {
    return value.toUtf8();
}

Value textOrNull(const QString& value) {
    return value.isEmpty() ? Value() : Value(value.toUtf8());
}

template <typename T>
Value number(const std::optional<T>& value) {
    return value ? Value(qint64(*value)) : Value();
}

QList<QByteArray> columnSet(const std::vector<QByteArray>& columns) {
    QList<QByteArray> set;
    for (const QByteArray& column : columns)
        set.append(column.toUpper());
    std::sort(set.begin(), set.end());
    return set;
}

}  // namespace

unsigned partsOf(View view) {
    switch (view) {
        case View::TabColumns:
            return kColumns;
        case View::TabComments:
            return kTableComment;
        case View::ColComments:
            return kColumns | kColumnComments;
        case View::Constraints:
        case View::ConsColumns:
            return kKeysAndIndexes | kForeignKeys | kChecks;
        default:
            return kKeysAndIndexes;
    }
}

ReferencedKeys referencedKeysOf(const TableFacts& facts) {
    ReferencedKeys result;
    const auto add = [&](const TableFacts::Key& key) {
        std::vector<QByteArray> columns;
        for (const TableFacts::KeyColumn& column : key.columns)
            columns.push_back(column.name);
        result.keys.push_back({key.name, columnSet(columns)});
    };
    if (facts.primaryKey) {
        add(*facts.primaryKey);
        result.hasPrimary = true;
    }
    for (const TableFacts::Key& key : facts.uniqueKeys)
        add(key);
    return result;
}

QString referencedKeyName(const ReferencedKeys& keys, const TableFacts::ForeignKey& key) {
    if (key.referencedColumns.empty())
        return keys.hasPrimary ? keys.keys.front().name : QString();
    const QList<QByteArray> wanted = columnSet(key.referencedColumns);
    for (const ReferencedKeys::Key& candidate : keys.keys) {
        if (candidate.columns == wanted)
            return candidate.name;
    }
    return QString();
}

namespace {

void constraintRows(const TableFacts& facts, const QByteArray& user,
                    const ReferencedKey& referencedKey, Rows& rows) {
    const QByteArray& shown = facts.table.shown;
    const auto generated = [](bool g) {
        return text(g ? QStringLiteral("GENERATED NAME") : QStringLiteral("USER NAME"));
    };
    const Value enabled = text(QStringLiteral("ENABLED"));
    if (facts.primaryKey) {
        rows.push_back({shown,
                        user,
                        text(facts.primaryKey->name),
                        text(QStringLiteral("P")),
                        {},
                        {},
                        {},
                        {},
                        enabled,
                        generated(facts.primaryKey->generated)});
    }
    for (const TableFacts::Key& key : facts.uniqueKeys) {
        rows.push_back({shown,
                        user,
                        text(key.name),
                        text(QStringLiteral("U")),
                        {},
                        {},
                        {},
                        {},
                        enabled,
                        generated(key.generated)});
    }
    for (const TableFacts::ForeignKey& key : facts.foreignKeys) {
        rows.push_back({shown,
                        user,
                        text(key.name),
                        text(QStringLiteral("R")),
                        {},
                        user,
                        textOrNull(referencedKey(key)),
                        text(key.deleteRule),
                        enabled,
                        generated(key.generated)});
    }
    for (const TableFacts::Check& check : facts.checks) {
        rows.push_back({shown,
                        user,
                        text(check.name),
                        text(QStringLiteral("C")),
                        text(check.condition),
                        {},
                        {},
                        {},
                        enabled,
                        generated(check.generated)});
    }
}

void consColumnRows(const TableFacts& facts, const QByteArray& user, Rows& rows) {
    const QByteArray& shown = facts.table.shown;
    const auto keyRows = [&](const TableFacts::Key& key) {
        qint64 position = 0;
        for (const TableFacts::KeyColumn& column : key.columns)
            rows.push_back({shown, user, text(key.name), column.name, ++position});
    };
    if (facts.primaryKey)
        keyRows(*facts.primaryKey);
    for (const TableFacts::Key& key : facts.uniqueKeys)
        keyRows(key);
    for (const TableFacts::ForeignKey& key : facts.foreignKeys) {
        qint64 position = 0;
        for (const QByteArray& column : key.columns)
            rows.push_back({shown, user, text(key.name), column, ++position});
    }
}

}  // namespace

void appendRows(View view, const TableFacts& facts, const QByteArray& user,
                const ReferencedKey& referencedKey, Rows& rows) {
    const QByteArray& shown = facts.table.shown;
    switch (view) {
        case View::TabColumns:
            for (const TableFacts::Column& column : facts.columns) {
                const DictionaryType type = dictionaryType(column.type);
                rows.push_back({shown,
                                column.name,
                                qint64(column.id),
                                text(type.dataType),
                                {},
                                qint64(type.length),
                                number(type.precision),
                                number(type.scale),
                                text(column.nullable ? QStringLiteral("Y") : QStringLiteral("N")),
                                type.charUsed ? Value(QByteArray(1, *type.charUsed)) : Value(),
                                number(type.charLength),
                                column.defaultText ? Value(*column.defaultText) : Value(),
                                text(QStringLiteral("NO"))});
            }
            break;
        case View::TabComments:
            rows.push_back({shown, text(QStringLiteral("TABLE")), textOrNull(facts.comment)});
            break;
        case View::ColComments:
            for (const TableFacts::Column& column : facts.columns)
                rows.push_back({shown, column.name, textOrNull(column.comment)});
            break;
        case View::Constraints:
            constraintRows(facts, user, referencedKey, rows);
            break;
        case View::ConsColumns:
            consColumnRows(facts, user, rows);
            break;
        case View::Indexes:
            for (const TableFacts::Index& index : facts.indexes) {
                bool expression = false;
                for (const TableFacts::IndexColumn& column : index.columns)
                    expression = expression || column.expression.has_value();
                rows.push_back(
                    {shown, text(index.name),
                     text(index.unique ? QStringLiteral("UNIQUE") : QStringLiteral("NONUNIQUE")),
                     text(expression ? QStringLiteral("FUNCTION-BASED NORMAL")
                                     : QStringLiteral("NORMAL")),
                     text(index.generated ? QStringLiteral("Y") : QStringLiteral("N"))});
            }
            break;
        case View::IndColumns:
            for (const TableFacts::Index& index : facts.indexes) {
                qint64 position = 0;
                for (const TableFacts::IndexColumn& column : index.columns) {
                    rows.push_back(
                        {shown, text(index.name), column.name, ++position,
                         text(column.descending ? QStringLiteral("DESC") : QStringLiteral("ASC"))});
                }
            }
            break;
        case View::IndExpressions:
            for (const TableFacts::Index& index : facts.indexes) {
                qint64 position = 0;
                for (const TableFacts::IndexColumn& column : index.columns) {
                    ++position;
                    if (column.expression)
                        rows.push_back(
                            {shown, text(index.name), text(*column.expression), position});
                }
            }
            break;
    }
}

}  // namespace quarnel::db::dictionary
