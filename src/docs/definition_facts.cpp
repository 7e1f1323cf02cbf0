#include "docs/definition_facts.h"

#include "catalog/column_types.h"
#include "docs/document_texts.h"

namespace quarnel::docs {
namespace {

namespace ot = db::oracle_type;

void fillSizes(const catalog::ColumnDescription& d, ColumnFacts& facts) {
    switch (d.oraIDataType) {
        case ot::kVarchar2:
        case ot::kChar: {
            const bool inCharacters = d.charsetForm == ot::kNationalCharsetForm || d.charUsed;
            const int length = inCharacters && d.charLength > 0 ? d.charLength : d.size;
            if (length > 0)
                facts.length = length;
            break;
        }
        case ot::kRaw:
            if (d.size > 0)
                facts.length = d.size;
            break;
        case ot::kNumber:
            if (d.precision > 0) {
                facts.precision = d.precision;
                if (d.scale != ot::kFloatScale)
                    facts.scale = d.scale;
            }
            break;
        default:
            break;
    }
}

}  // namespace

std::vector<ColumnFacts> columnFacts(const schema::Table& table, const QString& user) {
    std::vector<ColumnFacts> rows;
    rows.reserve(table.columns.size());
    int number = 0;
    for (const schema::Column& column : table.columns) {
        ColumnFacts facts;
        facts.number = ++number;
        facts.logicalName = schema::commentFirstLine(column.comment);
        facts.remarks = schema::commentRest(column.comment);
        facts.physicalName = column.name();
        facts.dataType = catalog::scriptColumnType(column.description);
        fillSizes(column.description, facts);
        facts.notNull = !column.description.nullOk;
        if (table.primaryKey) {
            const qsizetype at = table.primaryKey->columns.indexOf(column.name());
            if (at >= 0)
                facts.primaryKeyPosition = int(at) + 1;
        }
        for (const schema::KeyConstraint& key : table.uniqueKeys) {
            const qsizetype at = key.columns.indexOf(column.name());
            if (at >= 0)
                facts.uniqueKeyPositions.push_back(int(at) + 1);
        }
        QStringList references;
        for (const schema::ForeignKey& key : table.foreignKeys) {
            const qsizetype at = key.columns.indexOf(column.name());
            if (at >= 0 && at < key.referencedColumns.size())
                references << referencedTableText(key, user) + u'.' + key.referencedColumns[at];
        }
        facts.references = references.join(u'\n');
        if (column.defaultText)
            facts.defaultText = defaultTextShown(*column.defaultText);
        rows.push_back(std::move(facts));
    }
    return rows;
}

QString uniqueKeyText(const std::vector<int>& positions) {
    QStringList parts;
    for (int position : positions)
        parts << QString::number(position);
    return parts.join(u',');
}

QString indexColumnsText(const schema::Index& index) {
    QStringList parts;
    for (const schema::IndexColumn& column : index.columns) {
        QString part = column.expression ? *column.expression : column.name;
        if (column.descending)
            part += QStringLiteral(" DESC");
        parts << part;
    }
    return parts.join(QStringLiteral(", "));
}

QString referencedTableText(const schema::ForeignKey& key, const QString& user) {
    if (key.referencedOwner.isEmpty() ||
        key.referencedOwner.compare(user, Qt::CaseInsensitive) == 0)
        return key.referencedTable;
    return key.referencedOwner + u'.' + key.referencedTable;
}

std::vector<ConstraintFacts> constraintFacts(const schema::Table& table) {
    std::vector<ConstraintFacts> rows;
    for (const schema::KeyConstraint& key : table.uniqueKeys)
        rows.push_back({key.name, text::kKindUnique, key.columns.join(QStringLiteral(", "))});
    for (const schema::CheckConstraint& check : table.checks)
        rows.push_back({check.name, text::kKindCheck, check.condition});
    return rows;
}

QString readAtText(const QDateTime& readAt) {
    return readAt.isValid() ? readAt.toLocalTime().toString(QStringLiteral("yyyy/MM/dd HH:mm:ss"))
                            : QString();
}

QString defaultTextShown(const QString& defaultText) {
    qsizetype end = defaultText.size();
    while (end > 0 && defaultText[end - 1].isSpace())
        --end;
    return defaultText.left(end);
}

}  // namespace quarnel::docs
