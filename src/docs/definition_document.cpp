#include "docs/definition_document.h"

#include "docs/markdown_definition_writer.h"
#include "docs/xlsx_definition_writer.h"

namespace quarnel::docs {

std::unique_ptr<schema::SchemaWriter> makeDefinitionWriter(DocumentFormat format,
                                                           const QString& target, bool oneSheet) {
    if (format == DocumentFormat::Markdown)
        return std::make_unique<MarkdownDefinitionWriter>(target);
    return std::make_unique<XlsxDefinitionWriter>(target, oneSheet);
}

}  // namespace quarnel::docs
