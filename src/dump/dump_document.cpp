#include "dump/dump_document.h"

#include "docs/definition_document.h"
#include "dump/dump_run.h"
#include "schema/load_schema.h"
#include "support/logon_text.h"

namespace quarnel::dump {
namespace {

void report(QIODevice& err, const QString& message) {
    QString line = message;
    line.replace(u'\n', u' ').replace(u'\r', u' ');
    err.write((QStringLiteral("quarnel-dump: ") + line + u'\n').toUtf8());
}

}  // namespace

int writeDumpDocument(db::Database& database, const DumpOptions& options,
                      const DumpEnvironment& environment) {
    QIODevice& err = environment.err;
    ProgressLine line(environment);
    schema::LoadRequest request;
    request.progress = line.report();
    request.user = trimSpaces(options.user);
    request.host = trimSpaces(options.host);
    if (!options.tables.isEmpty())
        request.tables = options.tables;
    std::optional<schema::Schema> loaded;
    try {
        loaded = schema::loadSchema(database, request);
    } catch (const db::DbError& error) {
        report(err, error.description());
        return kExitFailure;
    }
    if (!loaded)
        return kExitFailure;
    QStringList missing;
    for (const QString& name : options.tables) {
        if (!loaded->table(name))
            missing << name;
    }
    if (!missing.isEmpty()) {
        report(err, (missing.size() == 1 ? QStringLiteral("no such table: ")
                                         : QStringLiteral("no such tables: ")) +
                        missing.join(QStringLiteral(", ")));
        return kExitFailure;
    }
    const auto format = options.document == DumpDocument::Markdown ? docs::DocumentFormat::Markdown
                                                                   : docs::DocumentFormat::Excel;
    try {
        auto writer = docs::makeDefinitionWriter(format, options.documentTarget, options.oneSheet);
        schema::writeSchema(*loaded, *writer, {});
    } catch (const schema::WriteError& error) {
        report(err,
               QStringLiteral("cannot write %1: %2").arg(options.documentTarget, error.reason()));
        return kExitFailure;
    }
    return kExitSuccess;
}

}  // namespace quarnel::dump
