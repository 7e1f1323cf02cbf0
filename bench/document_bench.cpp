#include "document_bench.h"

#include "bench_report.h"
#include "docs/definition_document.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>

#include <cstdio>

namespace quarnel::bench {
namespace {

namespace ot = db::oracle_type;

// A schema of `tables` tables of 10 columns, each with a key, a comment and an index.
schema::Schema syntheticSchema(int tables) {
    schema::Schema s;
    s.user = QStringLiteral("BENCH");
    s.host = QStringLiteral("bench");
    s.readAt = QDateTime::currentDateTime();
    s.tables.resize(size_t(tables));
    for (int t = 0; t < tables; ++t) {
        schema::Table& table = s.tables[size_t(t)];
        table.name = QStringLiteral("TABLE_%1").arg(t, 6, 10, QLatin1Char('0'));
        table.comment = QStringLiteral("テーブル%1").arg(t);
        for (int c = 0; c < 10; ++c) {
            schema::Column column;
            column.description.name = QStringLiteral("COLUMN_%1").arg(c);
            column.description.oraIDataType = c == 0 ? ot::kNumber : ot::kVarchar2;
            column.description.precision = c == 0 ? 9 : 0;
            column.description.size = c == 0 ? 22 : 40;
            column.description.nullOk = c != 0;
            column.position = c + 1;
            column.comment = QStringLiteral("項目%1").arg(c);
            table.columns.push_back(std::move(column));
        }
        table.primaryKey = schema::KeyConstraint{
            table.name + QStringLiteral("_PK"), {QStringLiteral("COLUMN_0")}, false};
        table.indexes.push_back(schema::Index{table.name + QStringLiteral("_IX"),
                                              false,
                                              false,
                                              {{QStringLiteral("COLUMN_1"), {}, false}},
                                              {}});
    }
    return s;
}

// A figure of /proc/self/status in MB (VmRSS, VmHWM); 0 where there is none.
double statusMb(const char* field) {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith(field))
            return line.mid(int(qstrlen(field))).trimmed().split(' ').value(0).toDouble() / 1024;
    }
    return 0;
}

// Starts the peak over from what is resident now (Linux: clear_refs 5).
void resetPeak() {
    QFile refs(QStringLiteral("/proc/self/clear_refs"));
    if (refs.open(QIODevice::WriteOnly))
        refs.write("5");
}

bool write(const schema::Schema& s, docs::DocumentFormat format, const QString& target,
           bool oneSheet) {
    try {
        auto writer = docs::makeDefinitionWriter(format, target, oneSheet);
        return schema::writeSchema(s, *writer, {});
    } catch (const schema::WriteError& error) {
        std::fprintf(stderr, "bench: %s: %s\n", qUtf8Printable(target),
                     qUtf8Printable(error.reason()));
        return false;
    }
}

// Writes once to measure the peak, then times `runs` runs.
bool measure(const char* name, const schema::Schema& s, docs::DocumentFormat format,
             const QString& target, bool oneSheet, int runs, bool peak) {
    resetPeak();
    const double before = statusMb("VmRSS:");
    QElapsedTimer first;
    first.start();
    if (!write(s, format, target, oneSheet))
        return false;
    double ms = double(first.nsecsElapsed()) / 1e6;
    const double grown = statusMb("VmHWM:") - before;
    if (runs > 1) {
        bool ok = true;
        ms = std::min(ms, medianMs(runs, [&] { ok = ok && write(s, format, target, oneSheet); }));
        if (!ok)
            return false;
    }
    print((std::string(name) + "-ms").c_str(), ms, "ms");
    if (peak)
        print((std::string(name) + "-peak-mb").c_str(), grown, "MB");
    return true;
}

}  // namespace

bool runDocumentBench(const QString& dataDir, int runs) {
    const QDir dir(dataDir);
    const schema::Schema thousand = syntheticSchema(1000);
    if (!measure("definition-xlsx-1k", thousand, docs::DocumentFormat::Excel,
                 dir.filePath(QStringLiteral("definition-1k.xlsx")), false, runs, true) ||
        !measure("definition-md-1k", thousand, docs::DocumentFormat::Markdown,
                 dir.filePath(QStringLiteral("definition-1k-md")), false, runs, false))
        return false;
    const schema::Schema large = syntheticSchema(100000);
    return measure("definition-xlsx-100k", large, docs::DocumentFormat::Excel,
                   dir.filePath(QStringLiteral("definition-100k.xlsx")), true, 1, true);
}

}  // namespace quarnel::bench
