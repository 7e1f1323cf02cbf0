#include "varnum.h"

#include <cctype>

namespace standin {

QByteArray encodeVarnum(const QByteArray& text) {
    QByteArray body = text.trimmed();
    bool negative = false;
    if (body.startsWith('-') || body.startsWith('+')) {
        negative = body.startsWith('-');
        body.remove(0, 1);
    }
    // The digits without the point, and how many of them stand before it.
    QByteArray digits;
    int beforePoint = -1;
    for (const char c : body) {
        if (c == '.' && beforePoint < 0)
            beforePoint = int(digits.size());
        else if (std::isdigit(static_cast<unsigned char>(c)))
            digits += c;
        else
            return {};
    }
    if (digits.isEmpty())
        return {};
    if (beforePoint < 0)
        beforePoint = int(digits.size());
    while (!digits.isEmpty() && digits.front() == '0') {
        digits.remove(0, 1);
        --beforePoint;
    }
    while (!digits.isEmpty() && digits.back() == '0')
        digits.chop(1);
    if (digits.isEmpty())
        return QByteArray("\x01\x80", 2);
    // Base-100 digits start on an even decimal position.
    if (beforePoint % 2 != 0) {
        digits.prepend('0');
        ++beforePoint;
    }
    if (digits.size() % 2 != 0)
        digits += '0';
    digits.truncate(40);
    const int exponent = beforePoint / 2 - 1;
    QByteArray number;
    number += char(negative ? 62 - exponent : exponent + 193);
    for (qsizetype i = 0; i < digits.size(); i += 2) {
        const int pair = (digits[i] - '0') * 10 + (digits[i + 1] - '0');
        number += char(negative ? 101 - pair : pair + 1);
    }
    if (negative && number.size() < 21)
        number += char(102);
    number.prepend(char(number.size()));
    return number;
}

}  // namespace standin
