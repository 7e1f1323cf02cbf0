// Oracle NUMBER values in the VARNUM form a define of SQLT_VNU receives, encoded from decimal
// text as a server stores them.
#pragma once

#include <QByteArray>

namespace standin {

// The VARNUM bytes (length byte first) of the decimal `text` ("-12.5", "1e3" is not accepted);
// empty when `text` is not a plain decimal number. Digits past the 40th are dropped.
QByteArray encodeVarnum(const QByteArray& text);

}  // namespace standin
