// Comparing two schema models: what one has that the other has not, and what differs between
// what both have. Constraints and indexes whose names the server generated are matched by what
// they are (columns, referenced key, condition), so two databases built from one script compare
// equal; every other name is compared exactly (case, quotes and all).
#pragma once

#include "schema/schema.h"

#include <QString>
#include <QStringList>

#include <vector>

namespace quarnel::schema {

struct TableComparison {
    enum class Presence { Both, OnlyInA, OnlyInB };
    QString table;
    Presence presence = Presence::Both;
    // For a table on both sides: one line per difference, in the order columns, table comment,
    // primary key, unique keys, foreign keys, checks, indexes.
    QStringList changes;
};

struct Comparison {
    // Tables only in A, then tables only in B, then tables with differences, each part in name
    // order. Tables that are the same are not listed.
    std::vector<TableComparison> tables;

    // A table on one side only counts one; a table on both, its lines.
    int differenceCount() const;
    bool equal() const { return tables.empty(); }
};

// A name the server chose: flagged so by the dictionary, empty, or of Oracle's generated forms
// (SYS_C..., SYS_IL..., BIN$...).
bool isGeneratedName(const QString& name, bool flagged);

Comparison compareSchemas(const Schema& a, const Schema& b);

enum class ReportFormat { Text, Markdown };

// The comparison as a report: a heading naming both sides (`labelA`, `labelB`), the number of
// differences, then the tables. Lines end with CR LF.
QString comparisonReport(const Comparison& comparison, const QString& labelA, const QString& labelB,
                         ReportFormat format);

}  // namespace quarnel::schema
