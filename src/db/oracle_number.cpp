#include "db/oracle_number.h"

namespace quarnel::db {

QString oracleNumberText(const std::uint8_t* varnum, std::size_t size) {
    if (size < 2 || varnum[0] == 0 || varnum[0] > 21 || size_t(varnum[0]) + 1 > size)
        return {};
    const std::uint8_t* bytes = varnum + 1;
    size_t length = varnum[0];
    const std::uint8_t exponentByte = bytes[0];
    if (exponentByte == 0x80 && length == 1)
        return QStringLiteral("0");
    if (exponentByte == 0 && length == 1)
        return QStringLiteral("-~");
    if (exponentByte == 0xff && length == 2 && bytes[1] == 101)
        return QStringLiteral("~");
    const bool negative = (exponentByte & 0x80) == 0;
    // A negative number ends with the byte 102 when it has fewer than 20 digits.
    if (negative && length > 1 && bytes[length - 1] == 102)
        --length;
    if (length < 2)
        return {};
    // The power of 100 of the first base-100 digit.
    const int exponent =
        negative ? int(std::uint8_t(~exponentByte) & 0x7f) - 65 : int(exponentByte & 0x7f) - 65;

    // Every decimal digit of the mantissa, two per byte; the decimal point sits after
    // 2 * (exponent + 1) of them.
    QString digits;
    for (size_t i = 1; i < length; ++i) {
        const int digit = negative ? 101 - bytes[i] : bytes[i] - 1;
        if (digit < 0 || digit > 99)
            return {};
        digits += QChar(u'0' + digit / 10);
        digits += QChar(u'0' + digit % 10);
    }
    int point = 2 * (exponent + 1);
    if (point <= 0) {
        digits.prepend(QString(-point, u'0'));
        point = 0;
    } else if (point > digits.size()) {
        digits += QString(point - digits.size(), u'0');
    }
    QString whole = digits.left(point);
    QString fraction = digits.mid(point);
    while (whole.startsWith(u'0'))
        whole.remove(0, 1);
    while (fraction.endsWith(u'0'))
        fraction.chop(1);
    if (whole.isEmpty())
        whole = QStringLiteral("0");
    QString text = fraction.isEmpty() ? whole : whole + u'.' + fraction;
    if (negative && text != QLatin1String("0"))
        text.prepend(u'-');
    return text;
}

QVariant oracleNumberValue(const QString& text) {
    if (text.isEmpty())
        return {};
    bool ok = false;
    const qlonglong whole = text.toLongLong(&ok);
    if (ok)
        return QVariant(whole);
    int significant = 0;
    bool leading = true;
    for (const QChar c : text) {
        if (!c.isDigit() || (leading && c == u'0'))
            continue;
        leading = false;
        ++significant;
    }
    if (significant <= 15) {
        const double number = text.toDouble(&ok);
        if (ok)
            return QVariant(number);
    }
    return QVariant(text);
}

}  // namespace quarnel::db
