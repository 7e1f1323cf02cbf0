#include "support/text_file.h"

#include "support/safe_file.h"
#include "support/text_encoding.h"

#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace quarnel {

QString systemTextEncoding() {
#ifdef Q_OS_WIN
    return QStringLiteral("CP%1").arg(GetACP());
#else
    return QStringLiteral("UTF-8");
#endif
}

std::optional<QByteArray> encodeForFile(const QString& text, const QString& encoding,
                                        QString* error) {
    if (std::optional<QByteArray> bytes = encodeText(text, encoding))
        return bytes;
    std::optional<QByteArray> utf8 = encodeText(text, QStringLiteral("UTF-8"), error);
    if (!utf8)
        return std::nullopt;
    return QByteArray("\xEF\xBB\xBF", 3) + *utf8;
}

std::optional<QString> writeTextFile(const QString& path, const QString& text,
                                     const QString& encoding) {
    QString reason;
    const std::optional<QByteArray> bytes = encodeForFile(text, encoding, &reason);
    if (!bytes)
        return reason;
    return writeFileSafely(path, *bytes);
}

}  // namespace quarnel
