// The table-definition document's share of the benchmark: time and peak memory of writing the
// workbook for 1,000 tables x 10 columns (a sheet per table) and for 100,000 tables x 10 columns
// (the single-sheet layout in constant memory), from models built in memory.
#pragma once

#include <QString>

namespace quarnel::bench {

// Prints definition-xlsx-1k-ms, definition-xlsx-1k-peak-mb, definition-xlsx-100k-ms,
// definition-xlsx-100k-peak-mb and definition-md-1k-ms; the files go to `dataDir`. The peak is
// the resident memory the writing added above what the process held before it. Returns false
// when a write fails.
bool runDocumentBench(const QString& dataDir, int runs);

}  // namespace quarnel::bench
