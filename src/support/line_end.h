// The line end of every text the program builds, copies and saves: CR LF.
#pragma once

#include <QString>

namespace quarnel {

inline const QString kCrLf = QStringLiteral("\r\n");

}  // namespace quarnel
