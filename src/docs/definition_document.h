// The table-definition document's two formats behind the one writer interface, as the window
// and quarnel-dump choose them.
#pragma once

#include "schema/schema_writer.h"

#include <memory>

namespace quarnel::docs {

enum class DocumentFormat { Excel, Markdown };

// A writer of the document to `target` (a workbook file, or a folder of Markdown files);
// `oneSheet` asks the workbook for its single-sheet layout whatever the number of tables.
std::unique_ptr<schema::SchemaWriter> makeDefinitionWriter(DocumentFormat format,
                                                           const QString& target, bool oneSheet);

}  // namespace quarnel::docs
