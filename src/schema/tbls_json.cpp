#include "schema/tbls_json.h"

#include "catalog/identifiers.h"
#include "support/staged_output.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>

namespace quarnel::schema {
namespace {

using catalog::sqlIdentifier;

QJsonArray stringArray(const QStringList& texts) {
    QJsonArray array;
    for (const QString& text : texts)
        array.append(text);
    return array;
}

QString identifierList(const QStringList& names) {
    QStringList shown;
    for (const QString& name : names)
        shown << sqlIdentifier(name);
    return u'(' + shown.join(QStringLiteral(", ")) + u')';
}

QString referencedTable(const ForeignKey& key, const Schema& schema) {
    return key.referencedOwner.isEmpty() ||
                   key.referencedOwner.compare(schema.user, Qt::CaseInsensitive) == 0
               ? key.referencedTable
               : key.referencedOwner + u'.' + key.referencedTable;
}

// The key as DDL writes it; the referenced table qualified only when another schema owns it.
QString foreignKeyDef(const ForeignKey& key, const Schema& schema) {
    const QString parent = referencedTable(key, schema);
    QString def =
        QStringLiteral("FOREIGN KEY ") + identifierList(key.columns) +
        QStringLiteral(" REFERENCES ") +
        (parent == key.referencedTable ? QString() : sqlIdentifier(key.referencedOwner) + u'.') +
        sqlIdentifier(key.referencedTable) + u' ' + identifierList(key.referencedColumns);
    if (key.deleteRule == QLatin1String("CASCADE") || key.deleteRule == QLatin1String("SET NULL"))
        def += QStringLiteral(" ON DELETE ") + key.deleteRule;
    return def;
}

QJsonObject constraint(const QString& name, const QString& type, const QString& def,
                       const QString& table, const QStringList& columns) {
    return {{QStringLiteral("name"), name},
            {QStringLiteral("type"), type},
            {QStringLiteral("def"), def},
            {QStringLiteral("table"), table},
            {QStringLiteral("columns"), stringArray(columns)}};
}

QJsonObject tableObject(const Table& table, const Schema& schema) {
    QJsonArray columns;
    for (const Column& column : table.columns) {
        QJsonObject object{{QStringLiteral("name"), column.name()},
                           {QStringLiteral("type"), catalog::scriptColumnType(column.description)},
                           {QStringLiteral("nullable"), column.description.nullOk},
                           {QStringLiteral("default"),
                            column.defaultText ? QJsonValue(*column.defaultText) : QJsonValue()}};
        if (column.identity)
            object.insert(QStringLiteral("extra_def"), QStringLiteral("GENERATED AS IDENTITY"));
        if (!column.comment.isEmpty())
            object.insert(QStringLiteral("comment"), column.comment);
        columns.append(object);
    }

    QJsonArray indexes;
    for (const Index& index : table.indexes) {
        QStringList names;
        QStringList parts;
        for (const IndexColumn& column : index.columns) {
            const QString part =
                column.expression ? *column.expression : sqlIdentifier(column.name);
            names << (column.expression ? *column.expression : column.name);
            parts << (column.descending ? part + QStringLiteral(" DESC") : part);
        }
        const QString def = (index.unique ? QStringLiteral("CREATE UNIQUE INDEX ")
                                          : QStringLiteral("CREATE INDEX ")) +
                            sqlIdentifier(index.name) + QStringLiteral(" ON ") +
                            sqlIdentifier(table.name) + QStringLiteral(" (") +
                            parts.join(QStringLiteral(", ")) + u')';
        indexes.append(QJsonObject{{QStringLiteral("name"), index.name},
                                   {QStringLiteral("def"), def},
                                   {QStringLiteral("table"), table.name},
                                   {QStringLiteral("columns"), stringArray(names)}});
    }

    QJsonArray constraints;
    if (const auto& key = table.primaryKey) {
        constraints.append(constraint(key->name, QStringLiteral("PRIMARY KEY"),
                                      QStringLiteral("PRIMARY KEY ") + identifierList(key->columns),
                                      table.name, key->columns));
    }
    for (const KeyConstraint& key : table.uniqueKeys) {
        constraints.append(constraint(key.name, QStringLiteral("UNIQUE"),
                                      QStringLiteral("UNIQUE ") + identifierList(key.columns),
                                      table.name, key.columns));
    }
    QStringList referenced;
    for (const ForeignKey& key : table.foreignKeys) {
        QJsonObject object = constraint(key.name, QStringLiteral("FOREIGN KEY"),
                                        foreignKeyDef(key, schema), table.name, key.columns);
        object.insert(QStringLiteral("referenced_table"), referencedTable(key, schema));
        object.insert(QStringLiteral("referenced_columns"), stringArray(key.referencedColumns));
        constraints.append(object);
        if (!referenced.contains(referencedTable(key, schema)))
            referenced << referencedTable(key, schema);
    }
    for (const CheckConstraint& check : table.checks) {
        constraints.append(constraint(check.name, QStringLiteral("CHECK"),
                                      QStringLiteral("CHECK (") + check.condition + u')',
                                      table.name, {}));
    }

    QJsonObject object{{QStringLiteral("name"), table.name},
                       {QStringLiteral("type"), QStringLiteral("TABLE")},
                       {QStringLiteral("columns"), columns},
                       {QStringLiteral("indexes"), indexes},
                       {QStringLiteral("constraints"), constraints}};
    if (!table.comment.isEmpty())
        object.insert(QStringLiteral("comment"), table.comment);
    if (!referenced.isEmpty())
        object.insert(QStringLiteral("referenced_tables"), stringArray(referenced));
    return object;
}

}  // namespace

QJsonObject tblsDocument(const Schema& schema) {
    QJsonArray tables;
    QJsonArray relations;
    for (const Table& table : schema.tables) {
        tables.append(tableObject(table, schema));
        for (const ForeignKey& key : table.foreignKeys) {
            // tbls draws relations between the document's own tables only.
            const QString parent = referencedTable(key, schema);
            if (!schema.table(parent))
                continue;
            relations.append(
                QJsonObject{{QStringLiteral("table"), table.name},
                            {QStringLiteral("columns"), stringArray(key.columns)},
                            {QStringLiteral("parent_table"), parent},
                            {QStringLiteral("parent_columns"), stringArray(key.referencedColumns)},
                            {QStringLiteral("def"), foreignKeyDef(key, schema)}});
        }
    }
    QJsonObject driver{{QStringLiteral("name"), schema.engine.toLower()}};
    if (!schema.serverVersion.isEmpty())
        driver.insert(QStringLiteral("database_version"), schema.serverVersion);
    driver.insert(QStringLiteral("meta"),
                  QJsonObject{{QStringLiteral("current_schema"), schema.user.toUpper()}});
    return {{QStringLiteral("name"), schema.user.toUpper()},
            {QStringLiteral("tables"), tables},
            {QStringLiteral("relations"), relations},
            {QStringLiteral("driver"), driver}};
}

TblsJsonWriter::TblsJsonWriter(const QString& target) : m_target(target) {}

TblsJsonWriter::~TblsJsonWriter() = default;

void TblsJsonWriter::begin(const Schema& schema) {
    m_schema = schema;
    m_schema.tables.clear();
}

void TblsJsonWriter::table(const Table& table, int /*number*/) {
    m_schema.tables.push_back(table);
}

void TblsJsonWriter::finish() {
    const QByteArray bytes = QJsonDocument(tblsDocument(m_schema)).toJson(QJsonDocument::Indented);
    StagedOutput output(m_target, StagedOutput::Kind::File);
    if (const std::optional<QString> reason = output.prepare())
        throw WriteError(*reason);
    {
        // Unbuffered: a failed write is seen at the write, not lost in a later flush.
        QFile file(output.temporaryPath());
        if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
            throw WriteError(file.errorString());
        qint64 written = 0;
        while (written < bytes.size()) {
            const qint64 count = file.write(bytes.constData() + written, bytes.size() - written);
            if (count <= 0)
                throw WriteError(file.errorString());
            written += count;
        }
        file.close();
        if (file.error() != QFileDevice::NoError)
            throw WriteError(file.errorString());
    }
    if (const std::optional<QString> reason = output.commit())
        throw WriteError(*reason);
}

}  // namespace quarnel::schema
