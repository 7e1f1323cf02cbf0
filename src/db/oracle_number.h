// Oracle's NUMBER format, as a define of external type VARNUM delivers it: a length byte, an
// exponent byte and up to 20 base-100 digits. Decoded exactly, never through a double.
#pragma once

#include <QString>
#include <QVariant>

#include <cstddef>
#include <cstdint>

namespace quarnel::db {

// The VARNUM bytes of one value as plain decimal text ("-12.5", "0", "12345678901234567"), or an
// empty string when the bytes are not a NUMBER. Infinities, which only old clients store, read as
// "~" and "-~" as SQL*Plus shows them.
QString oracleNumberText(const std::uint8_t* varnum, std::size_t size);

// The value of a NUMBER: a 64-bit integer when it is whole and fits one (always so for a column
// of precision 1 to 18 and scale 0); a double when it has at most 15 significant digits, which a
// double keeps exactly; otherwise the exact decimal text.
QVariant oracleNumberValue(const QString& text);

}  // namespace quarnel::db
