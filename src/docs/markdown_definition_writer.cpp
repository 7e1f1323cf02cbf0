#include "docs/markdown_definition_writer.h"

#include "docs/definition_facts.h"
#include "docs/document_names.h"
#include "docs/document_texts.h"

#include <QDir>
#include <QFile>

#include <cerrno>
#include <cstring>

namespace quarnel::docs {
namespace {

const QString kReadme = QStringLiteral("README.md");

QString row(const QStringList& cells) {
    return QStringLiteral("| ") + cells.join(QStringLiteral(" | ")) + QStringLiteral(" |\n");
}

// The header line and the alignment line; columns listed in `right` are right-aligned.
QString tableHead(const QStringList& labels, const QList<int>& right = {}) {
    QStringList rule;
    for (int i = 0; i < labels.size(); ++i)
        rule << (right.contains(i) ? QStringLiteral("---:") : QStringLiteral("---"));
    QStringList escaped;
    for (const QString& label : labels)
        escaped << markdownCell(label);
    return row(escaped) + u'|' + rule.join(u'|') + QStringLiteral("|\n");
}

// SQL text as a code span, or, when it spans lines, as escaped text with <br> between them.
QString sqlCell(const QString& text) {
    return text.contains(u'\n') || text.contains(u'\r') ? markdownCell(text) : markdownCode(text);
}

QString number(const std::optional<int>& value) {
    return value ? QString::number(*value) : QString();
}

}  // namespace

MarkdownDefinitionWriter::MarkdownDefinitionWriter(const QString& targetFolder)
    : m_output(targetFolder, StagedOutput::Kind::Folder) {}

void MarkdownDefinitionWriter::write(const QString& fileName, const QString& text) {
    const QString path = QDir(m_output.temporaryPath()).filePath(fileName);
    const QByteArray bytes = text.toUtf8();
    QFile file(path);
    const auto fail = [&](int error) {
        throw schema::WriteError(
            fileName + QStringLiteral(": ") +
            (error != 0 ? QString::fromLocal8Bit(std::strerror(error)) : file.errorString()));
    };
    // Unbuffered, so that a failing write is seen at the write, with the system's reason.
    errno = 0;
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        fail(errno);
    errno = 0;
    if (file.write(bytes) != bytes.size())
        fail(errno);
    file.close();
    if (file.error() != QFileDevice::NoError)
        fail(0);
}

void MarkdownDefinitionWriter::begin(const schema::Schema& schema) {
    m_user = schema.user;
    if (auto failure = m_output.prepare())
        throw schema::WriteError(*failure);
    UniqueNames names({QStringLiteral("README")});
    m_fileNames.reserve(schema.tables.size());
    for (const schema::Table& t : schema.tables)
        m_fileNames.push_back(names.claim(fileBaseNameFor(t.name), 100) + QStringLiteral(".md"));

    QString md = u"# " + text::kDocumentTitle + u"\n\n";
    md += tableHead({QString(), QString()});
    md += row({text::kUser, markdownCell(schema.user)});
    md += row({text::kHost, markdownCell(schema.host)});
    md += row({text::kReadAt, markdownCell(readAtText(schema.readAt))});
    md += u"\n## " + text::kTableListSheet + u"\n\n";
    md += tableHead({text::kNo, text::kPhysicalName, text::kLogicalName, text::kColumnCount,
                     text::kPrimaryKey, text::kRemarks},
                    {0, 3});
    for (size_t i = 0; i < schema.tables.size(); ++i) {
        const schema::Table& t = schema.tables[i];
        QStringList key;
        if (t.primaryKey) {
            for (const QString& column : t.primaryKey->columns)
                key << markdownCode(column);
        }
        md += row({QString::number(i + 1),
                   u'[' + markdownCode(t.name) + QStringLiteral("](") +
                       markdownLinkTarget(m_fileNames[i]) + u')',
                   markdownCell(schema::commentFirstLine(t.comment)),
                   QString::number(t.columns.size()), key.join(QStringLiteral(", ")),
                   markdownCell(schema::commentRest(t.comment))});
    }
    write(kReadme, md);
}

QString tableMarkdown(const schema::Table& t, const QString& user) {
    QString md = u"# " + markdownCell(t.name) + u"\n\n";
    md += tableHead({QString(), QString()});
    md += row({text::kTablePhysical, markdownCode(t.name)});
    md += row({text::kTableLogical, markdownCell(schema::commentFirstLine(t.comment))});
    md += row({text::kTableComment, markdownCell(t.comment)});

    md += u"\n## " + text::kColumnListSheet + u"\n\n";
    md += tableHead({text::kNo, text::kLogicalName, text::kPhysicalName, text::kDataType,
                     text::kLength, text::kPrecision, text::kScale, text::kNotNull, text::kPk,
                     text::kUk, text::kFk, text::kDefault, text::kRemarks},
                    {0, 4, 5, 6, 8, 9});
    for (const ColumnFacts& c : columnFacts(t, user)) {
        QStringList references;
        for (const QString& reference : c.references.split(u'\n', Qt::SkipEmptyParts))
            references << markdownCode(reference);
        md += row({QString::number(c.number), markdownCell(c.logicalName),
                   markdownCode(c.physicalName), markdownCell(c.dataType), number(c.length),
                   number(c.precision), number(c.scale), c.notNull ? text::kMark : QString(),
                   number(c.primaryKeyPosition), uniqueKeyText(c.uniqueKeyPositions),
                   references.join(QStringLiteral("<br>")), sqlCell(c.defaultText),
                   markdownCell(c.remarks)});
    }

    md += u"\n## " + text::kIndexes + u"\n\n";
    if (t.indexes.empty()) {
        md += text::kNone + u'\n';
    } else {
        md += tableHead({text::kNo, text::kIndexName, text::kUnique, text::kColumns}, {0});
        int n = 0;
        for (const schema::Index& index : t.indexes) {
            md += row({QString::number(++n), markdownCode(index.name),
                       index.unique ? text::kMark : QString(), sqlCell(indexColumnsText(index))});
        }
    }

    md += u"\n## " + text::kForeignKeys + u"\n\n";
    if (t.foreignKeys.empty()) {
        md += text::kNone + u'\n';
    } else {
        md += tableHead({text::kNo, text::kKeyName, text::kColumns, text::kReferencedTable,
                         text::kReferencedColumns, text::kOnDelete},
                        {0});
        int n = 0;
        for (const schema::ForeignKey& key : t.foreignKeys) {
            md += row({QString::number(++n), markdownCode(key.name),
                       markdownCode(key.columns.join(QStringLiteral(", "))),
                       markdownCode(referencedTableText(key, user)),
                       markdownCode(key.referencedColumns.join(QStringLiteral(", "))),
                       markdownCell(key.deleteRule)});
        }
    }

    md += u"\n## " + text::kConstraints + u"\n\n";
    const std::vector<ConstraintFacts> constraints = constraintFacts(t);
    if (constraints.empty()) {
        md += text::kNone + u'\n';
    } else {
        md += tableHead({text::kNo, text::kConstraintName, text::kKind, text::kCondition}, {0});
        int n = 0;
        for (const ConstraintFacts& c : constraints) {
            md += row({QString::number(++n), markdownCode(c.name), c.kind, sqlCell(c.detail)});
        }
    }
    return md;
}

void MarkdownDefinitionWriter::table(const schema::Table& table, int number) {
    const QString back = u'[' + text::kBackToList + QStringLiteral("](README.md)\n\n");
    QString md = tableMarkdown(table, m_user);
    const qsizetype afterTitle = md.indexOf(QStringLiteral("\n\n")) + 2;
    md.insert(afterTitle, back);
    write(m_fileNames.at(size_t(number - 1)), md);
}

void MarkdownDefinitionWriter::finish() {
    if (auto failure = m_output.commit())
        throw schema::WriteError(*failure);
}

}  // namespace quarnel::docs
