#include "schema/compare.h"

#include "catalog/identifiers.h"
#include "support/line_end.h"

#include <algorithm>
#include <functional>

namespace quarnel::schema {
namespace {

using catalog::sqlIdentifier;

// A text value in the report: in double quotes, its quotes, backslashes and line breaks escaped.
QString quoted(const QString& text) {
    QString out = QStringLiteral("\"");
    for (const QChar c : text) {
        if (c == u'"' || c == u'\\')
            out += u'\\' + QString(c);
        else if (c == u'\n')
            out += QStringLiteral("\\n");
        else if (c == u'\r')
            out += QStringLiteral("\\r");
        else if (c == u'\t')
            out += QStringLiteral("\\t");
        else
            out += c;
    }
    return out + u'"';
}

QString optionalText(const std::optional<QString>& text) {
    return text ? quoted(*text) : QStringLiteral("none");
}

QString nameList(const QStringList& names) {
    QStringList shown;
    for (const QString& name : names)
        shown << sqlIdentifier(name);
    return u'(' + shown.join(QStringLiteral(", ")) + u')';
}

QString columnTypeText(const Column& column) {
    return catalog::scriptColumnType(column.description);
}

QString columnText(const Column& column) {
    QString text = sqlIdentifier(column.name()) + u' ' + columnTypeText(column);
    if (column.defaultText)
        text += QStringLiteral(" DEFAULT ") + quoted(*column.defaultText);
    if (!column.description.nullOk)
        text += QStringLiteral(" NOT NULL");
    return text;
}

QString indexColumnsText(const Index& index) {
    QStringList parts;
    for (const IndexColumn& column : index.columns) {
        QString part = column.expression ? *column.expression : sqlIdentifier(column.name);
        if (column.descending)
            part += QStringLiteral(" DESC");
        parts << part;
    }
    return u'(' + parts.join(QStringLiteral(", ")) + u')';
}

// What an index is, whatever its name: its columns (an expression by its text, not by the system
// name the server gave its column) and their directions.
QString indexSignature(const Index& index) {
    QStringList parts;
    for (const IndexColumn& column : index.columns) {
        parts << (column.expression ? u'E' + *column.expression : u'C' + column.name) +
                     (column.descending ? u'-' : u'+');
    }
    return parts.join(QChar(0));
}

// The owner of a referenced key as the report compares it: none for the schema's own tables, so
// that two schemas of different users compare equal.
QString foreignOwner(const ForeignKey& key, const Schema& schema) {
    return key.referencedOwner.compare(schema.user, Qt::CaseInsensitive) == 0 ? QString()
                                                                              : key.referencedOwner;
}

QString foreignKeyText(const ForeignKey& key, const Schema& schema) {
    const QString owner = foreignOwner(key, schema);
    QString text = sqlIdentifier(key.name) + u' ' + nameList(key.columns) +
                   QStringLiteral(" REFERENCES ") +
                   (owner.isEmpty() ? QString() : sqlIdentifier(owner) + u'.') +
                   sqlIdentifier(key.referencedTable) + u' ' + nameList(key.referencedColumns);
    if (!key.deleteRule.isEmpty() && key.deleteRule != QLatin1String("NO ACTION"))
        text += QStringLiteral(" ON DELETE ") + key.deleteRule;
    return text;
}

template <class T>
struct Matched {
    std::vector<std::pair<const T*, const T*>> pairs;
    std::vector<const T*> onlyA;
    std::vector<const T*> onlyB;
};

// Pairs the items of both sides: by exact name where both carry the same chosen name, else by
// what they are (`signature`) among those left, in A's order.
template <class T>
Matched<T> match(const std::vector<T>& a, const std::vector<T>& b,
                 const std::function<QString(const T&)>& signature) {
    Matched<T> matched;
    std::vector<bool> takenB(b.size(), false);
    std::vector<const T*> leftA;
    for (const T& item : a) {
        bool found = false;
        if (!isGeneratedName(item.name, item.generatedName)) {
            for (size_t j = 0; j < b.size() && !found; ++j) {
                if (!takenB[j] && !isGeneratedName(b[j].name, b[j].generatedName) &&
                    b[j].name == item.name) {
                    takenB[j] = found = true;
                    matched.pairs.emplace_back(&item, &b[j]);
                }
            }
        }
        if (!found)
            leftA.push_back(&item);
    }
    for (const T* item : leftA) {
        bool found = false;
        const QString wanted = signature(*item);
        for (size_t j = 0; j < b.size() && !found; ++j) {
            if (!takenB[j] && signature(b[j]) == wanted) {
                takenB[j] = found = true;
                matched.pairs.emplace_back(item, &b[j]);
            }
        }
        if (!found)
            matched.onlyA.push_back(item);
    }
    for (size_t j = 0; j < b.size(); ++j) {
        if (!takenB[j])
            matched.onlyB.push_back(&b[j]);
    }
    return matched;
}

// A chosen name that differs on both sides.
void compareNames(QStringList& out, const QString& what, const QString& nameA, bool generatedA,
                  const QString& nameB, bool generatedB) {
    if (!isGeneratedName(nameA, generatedA) && !isGeneratedName(nameB, generatedB) &&
        nameA != nameB) {
        out << QStringLiteral("%1 renamed: %2 -> %3")
                   .arg(what, sqlIdentifier(nameA), sqlIdentifier(nameB));
    }
}

void compareColumns(QStringList& out, const Table& a, const Table& b) {
    for (const Column& column : a.columns) {
        const Column* other = b.column(column.name());
        if (!other) {
            out << QStringLiteral("column removed: ") + columnText(column);
            continue;
        }
        QStringList changed;
        const catalog::ColumnDescription& da = column.description;
        const catalog::ColumnDescription& db = other->description;
        if (columnTypeText(column) != columnTypeText(*other)) {
            changed << QStringLiteral("type %1 -> %2")
                           .arg(columnTypeText(column), columnTypeText(*other));
        } else {
            if (da.size != db.size)
                changed << QStringLiteral("size %1 -> %2").arg(da.size).arg(db.size);
            if (da.precision != db.precision || da.scale != db.scale) {
                changed << QStringLiteral("precision %1,%2 -> %3,%4")
                               .arg(da.precision)
                               .arg(da.scale)
                               .arg(db.precision)
                               .arg(db.scale);
            }
        }
        if (da.nullOk != db.nullOk) {
            changed << QStringLiteral("nullable %1 -> %2")
                           .arg(catalog::nullText(da.nullOk), catalog::nullText(db.nullOk));
        }
        if (column.defaultText != other->defaultText) {
            changed << QStringLiteral("default %1 -> %2")
                           .arg(optionalText(column.defaultText), optionalText(other->defaultText));
        }
        if (column.comment != other->comment) {
            changed << QStringLiteral("comment %1 -> %2")
                           .arg(quoted(column.comment), quoted(other->comment));
        }
        if (column.position != other->position) {
            changed
                << QStringLiteral("position %1 -> %2").arg(column.position).arg(other->position);
        }
        for (const QString& change : changed)
            out << QStringLiteral("column changed: %1: %2")
                       .arg(sqlIdentifier(column.name()), change);
    }
    for (const Column& column : b.columns) {
        if (!a.column(column.name()))
            out << QStringLiteral("column added: ") + columnText(column);
    }
}

void compareKeys(QStringList& out, const QString& what, const std::vector<KeyConstraint>& a,
                 const std::vector<KeyConstraint>& b) {
    const Matched<KeyConstraint> matched = match<KeyConstraint>(
        a, b, [](const KeyConstraint& key) { return key.columns.join(QChar(0)); });
    for (const auto& [ka, kb] : matched.pairs) {
        compareNames(out, what, ka->name, ka->generatedName, kb->name, kb->generatedName);
        if (ka->columns != kb->columns) {
            out << QStringLiteral("%1 changed: %2 columns %3 -> %4")
                       .arg(what, sqlIdentifier(ka->name), nameList(ka->columns),
                            nameList(kb->columns));
        }
    }
    for (const KeyConstraint* key : matched.onlyA) {
        out << QStringLiteral("%1 removed: %2 %3")
                   .arg(what, sqlIdentifier(key->name), nameList(key->columns));
    }
    for (const KeyConstraint* key : matched.onlyB) {
        out << QStringLiteral("%1 added: %2 %3")
                   .arg(what, sqlIdentifier(key->name), nameList(key->columns));
    }
}

void compareTables(QStringList& out, const Table& a, const Table& b, const Schema& sa,
                   const Schema& sb) {
    compareColumns(out, a, b);
    if (a.comment != b.comment) {
        out << QStringLiteral("table comment changed: %1 -> %2")
                   .arg(quoted(a.comment), quoted(b.comment));
    }

    // One primary key a table: the two are the same key whatever their names.
    if (a.primaryKey && b.primaryKey) {
        compareNames(out, QStringLiteral("primary key"), a.primaryKey->name,
                     a.primaryKey->generatedName, b.primaryKey->name, b.primaryKey->generatedName);
        if (a.primaryKey->columns != b.primaryKey->columns) {
            out << QStringLiteral("primary key changed: columns %1 -> %2")
                       .arg(nameList(a.primaryKey->columns), nameList(b.primaryKey->columns));
        }
    } else if (a.primaryKey || b.primaryKey) {
        const KeyConstraint& key = a.primaryKey ? *a.primaryKey : *b.primaryKey;
        out << QStringLiteral("primary key %1: %2 %3")
                   .arg(a.primaryKey ? QStringLiteral("removed") : QStringLiteral("added"),
                        sqlIdentifier(key.name), nameList(key.columns));
    }
    compareKeys(out, QStringLiteral("unique key"), a.uniqueKeys, b.uniqueKeys);

    const Matched<ForeignKey> foreign =
        match<ForeignKey>(a.foreignKeys, b.foreignKeys, [](const ForeignKey& key) -> QString {
            return key.columns.join(QChar(0)) + QChar(1) + key.referencedTable + QChar(1) +
                   key.referencedColumns.join(QChar(0));
        });
    for (const auto& [ka, kb] : foreign.pairs) {
        compareNames(out, QStringLiteral("foreign key"), ka->name, ka->generatedName, kb->name,
                     kb->generatedName);
        const QString textA = foreignKeyText(*ka, sa);
        const QString textB = foreignKeyText(*kb, sb);
        // The name is reported above, or is generated; compare the rest.
        if (textA.mid(sqlIdentifier(ka->name).size()) != textB.mid(sqlIdentifier(kb->name).size()))
            out << QStringLiteral("foreign key changed: %1 -> %2").arg(textA, textB);
    }
    for (const ForeignKey* key : foreign.onlyA)
        out << QStringLiteral("foreign key removed: ") + foreignKeyText(*key, sa);
    for (const ForeignKey* key : foreign.onlyB)
        out << QStringLiteral("foreign key added: ") + foreignKeyText(*key, sb);

    const Matched<CheckConstraint> checks = match<CheckConstraint>(
        a.checks, b.checks, [](const CheckConstraint& check) { return check.condition; });
    for (const auto& [ca, cb] : checks.pairs) {
        compareNames(out, QStringLiteral("check"), ca->name, ca->generatedName, cb->name,
                     cb->generatedName);
        if (ca->condition != cb->condition) {
            out << QStringLiteral("check changed: %1 %2 -> %3")
                       .arg(sqlIdentifier(ca->name), quoted(ca->condition), quoted(cb->condition));
        }
    }
    for (const CheckConstraint* check : checks.onlyA) {
        out << QStringLiteral("check removed: %1 %2")
                   .arg(sqlIdentifier(check->name), quoted(check->condition));
    }
    for (const CheckConstraint* check : checks.onlyB) {
        out << QStringLiteral("check added: %1 %2")
                   .arg(sqlIdentifier(check->name), quoted(check->condition));
    }

    const auto indexText = [](const Index& index) -> QString {
        return sqlIdentifier(index.name) +
               (index.unique ? QStringLiteral(" UNIQUE ") : QStringLiteral(" ")) +
               indexColumnsText(index);
    };
    const Matched<Index> indexes = match<Index>(a.indexes, b.indexes, indexSignature);
    for (const auto& [ia, ib] : indexes.pairs) {
        compareNames(out, QStringLiteral("index"), ia->name, ia->generatedName, ib->name,
                     ib->generatedName);
        if (ia->unique != ib->unique || indexSignature(*ia) != indexSignature(*ib))
            out << QStringLiteral("index changed: %1 -> %2").arg(indexText(*ia), indexText(*ib));
    }
    for (const Index* index : indexes.onlyA)
        out << QStringLiteral("index removed: ") + indexText(*index);
    for (const Index* index : indexes.onlyB)
        out << QStringLiteral("index added: ") + indexText(*index);
}

bool byName(const TableComparison& x, const TableComparison& y) {
    return x.table < y.table;
}

}  // namespace

bool isGeneratedName(const QString& name, bool flagged) {
    return flagged || name.isEmpty() || name.startsWith(QLatin1String("SYS_C")) ||
           name.startsWith(QLatin1String("SYS_IL")) || name.startsWith(QLatin1String("BIN$"));
}

int Comparison::differenceCount() const {
    int count = 0;
    for (const TableComparison& table : tables)
        count += table.presence == TableComparison::Presence::Both ? int(table.changes.size()) : 1;
    return count;
}

Comparison compareSchemas(const Schema& a, const Schema& b) {
    std::vector<TableComparison> onlyA;
    std::vector<TableComparison> onlyB;
    std::vector<TableComparison> changed;
    for (const Table& table : a.tables) {
        const Table* other = b.table(table.name);
        if (!other) {
            onlyA.push_back({table.name, TableComparison::Presence::OnlyInA, {}});
            continue;
        }
        TableComparison comparison{table.name, TableComparison::Presence::Both, {}};
        compareTables(comparison.changes, table, *other, a, b);
        if (!comparison.changes.isEmpty())
            changed.push_back(std::move(comparison));
    }
    for (const Table& table : b.tables) {
        if (!a.table(table.name))
            onlyB.push_back({table.name, TableComparison::Presence::OnlyInB, {}});
    }
    Comparison comparison;
    for (auto* part : {&onlyA, &onlyB, &changed}) {
        std::stable_sort(part->begin(), part->end(), byName);
        for (TableComparison& table : *part)
            comparison.tables.push_back(std::move(table));
    }
    return comparison;
}

QString comparisonReport(const Comparison& comparison, const QString& labelA, const QString& labelB,
                         ReportFormat format) {
    const bool markdown = format == ReportFormat::Markdown;
    const auto name = [markdown](const QString& table) -> QString {
        const QString shown = sqlIdentifier(table);
        return markdown ? u'`' + shown + u'`' : shown;
    };
    QString out = markdown ? QString(QStringLiteral("# Schema comparison") + kCrLf + kCrLf)
                           : QString(QStringLiteral("Schema comparison") + kCrLf);
    const QString item = markdown ? QStringLiteral("- ") : QStringLiteral("  ");
    out += (markdown ? QStringLiteral("- A: ") : QStringLiteral("A: ")) + labelA + kCrLf;
    out += (markdown ? QStringLiteral("- B: ") : QStringLiteral("B: ")) + labelB + kCrLf;
    out += (markdown ? QStringLiteral("- Differences: ") : QStringLiteral("Differences: ")) +
           QString::number(comparison.differenceCount()) + kCrLf;

    const auto heading = [&](const QString& title) {
        out += kCrLf + (markdown ? QStringLiteral("## ") : QString()) + title + kCrLf;
        if (markdown)
            out += kCrLf;
    };
    for (const auto presence :
         {TableComparison::Presence::OnlyInA, TableComparison::Presence::OnlyInB}) {
        bool first = true;
        for (const TableComparison& table : comparison.tables) {
            if (table.presence != presence)
                continue;
            if (first) {
                heading(presence == TableComparison::Presence::OnlyInA
                            ? QStringLiteral("Tables only in A")
                            : QStringLiteral("Tables only in B"));
                first = false;
            }
            out += item + name(table.table) + kCrLf;
        }
    }
    for (const TableComparison& table : comparison.tables) {
        if (table.presence != TableComparison::Presence::Both)
            continue;
        heading(QStringLiteral("Table ") + name(table.table));
        for (const QString& change : table.changes)
            out += item + change + kCrLf;
    }
    return out;
}

}  // namespace quarnel::schema
