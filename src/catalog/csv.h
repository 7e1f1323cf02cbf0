// Fields of the CSV texts.
#pragma once

#include <QString>

namespace quarnel::catalog {

// `field` as one CSV field: enclosed in double quotes, with each inner double quote doubled, when
// it holds a comma, a double quote, a CR or an LF; every other field exactly as it is.
QString csvField(const QString& field);

}  // namespace quarnel::catalog
