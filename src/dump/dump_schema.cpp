#include "dump/dump_schema.h"

#include "db/logon.h"
#include "dump/dump_run.h"
#include "schema/compare.h"
#include "schema/load_schema.h"
#include "schema/snapshot_header.h"
#include "schema/snapshot_writer.h"
#include "schema/tbls_json.h"
#include "support/text_encoding.h"

#include <optional>

namespace quarnel::dump {
namespace {

void report(QIODevice& err, const QString& message) {
    const QByteArray line = (QStringLiteral("quarnel-dump: ") + message + u'\n').toUtf8();
    err.write(line);
}

// The schema of the tables asked for (every table when none); nothing, with the reason in
// `error`, when it cannot be read or a named table is missing.
std::optional<schema::Schema> readSchema(db::Database& database, const QString& user,
                                         const QString& host, const QStringList& tables,
                                         const DumpEnvironment& environment, QString& error) {
    ProgressLine line(environment);
    schema::LoadRequest request;
    request.progress = line.report();
    if (!tables.isEmpty())
        request.tables = tables;
    request.user = user;
    request.host = host;
    try {
        std::optional<schema::Schema> schema = schema::loadSchema(database, request);
        if (!schema) {
            error = QStringLiteral("the schema could not be read");
            return std::nullopt;
        }
        for (const QString& table : tables) {
            if (!schema->table(table)) {
                error = QStringLiteral("no table named %1 in %2").arg(table, host);
                return std::nullopt;
            }
        }
        schema::describeSource(*schema, database, host);
        return schema;
    } catch (const db::DbError& failure) {
        error = failure.description();
        return std::nullopt;
    }
}

bool write(const schema::Schema& schema, schema::SchemaWriter& writer, QIODevice& err) {
    try {
        schema::writeSchema(schema, writer, {});
        return true;
    } catch (const schema::WriteError& failure) {
        report(err, failure.reason());
        return false;
    }
}

}  // namespace

int runSchemaOutputs(const DumpOptions& options, const DumpEnvironment& environment,
                     db::Database& database, const QString& comparePassword) {
    QString error;
    const std::optional<schema::Schema> schema =
        readSchema(database, options.user.trimmed(), options.host.trimmed(), options.tables,
                   environment, error);
    if (!schema) {
        report(environment.err, error);
        return kExitFailure;
    }
    if (!options.snapshotFile.isEmpty()) {
        schema::SnapshotWriter writer(options.snapshotFile);
        if (!write(*schema, writer, environment.err))
            return kExitFailure;
    }
    if (!options.tblsJsonFile.isEmpty()) {
        schema::TblsJsonWriter writer(options.tblsJsonFile);
        if (!write(*schema, writer, environment.err))
            return kExitFailure;
    }
    if (options.compareHost.isEmpty())
        return kExitSuccess;

    std::shared_ptr<db::Session> session;
    std::shared_ptr<db::Database> other;
    const db::LogonResult logon =
        db::logOn(environment.createSession,
                  {options.compareUser, comparePassword, options.compareHost}, session, other);
    if (!logon.connected) {
        report(environment.err,
               QStringLiteral("logon to --compare-with refused: ") + logon.failure);
        return kExitFailure;
    }
    const std::optional<schema::Schema> second =
        readSchema(*other, logon.userId, logon.hostString, options.tables, environment, error);
    other->Close();
    if (!second) {
        report(environment.err, error);
        return kExitFailure;
    }
    const schema::Comparison comparison = schema::compareSchemas(*schema, *second);
    const QString text = schema::comparisonReport(
        comparison, schema::sourceLabel(*schema, options.host.trimmed()),
        schema::sourceLabel(*second, logon.hostString),
        options.compareFormat == QLatin1String("markdown") ? schema::ReportFormat::Markdown
                                                           : schema::ReportFormat::Text);
    const std::optional<QByteArray> bytes = encodeText(text, options.encoding, &error);
    if (!bytes) {
        report(environment.err, QStringLiteral("cannot write the output: ") + error);
        return kExitFailure;
    }
    if (environment.out.write(*bytes) != bytes->size()) {
        report(environment.err,
               QStringLiteral("cannot write to standard output: ") + environment.out.errorString());
        return kExitFailure;
    }
    return comparison.equal() ? kExitSuccess : kExitDifferences;
}

}  // namespace quarnel::dump
