#include "catalog/csv.h"

#include <algorithm>

namespace quarnel::catalog {

QString csvField(const QString& field) {
    const bool needsQuotes = std::any_of(field.begin(), field.end(), [](QChar c) {
        return c == u',' || c == u'"' || c == u'\r' || c == u'\n';
    });
    if (!needsQuotes)
        return field;
    QString quoted = field;
    quoted.replace(u'"', QStringLiteral("\"\""));
    return u'"' + quoted + u'"';
}

}  // namespace quarnel::catalog
