#include "support/text_encoding.h"

#include "support/text_codec.h"

#include <QStringList>

namespace quarnel {
namespace {

// "U+XXXX" for a code point, with at least four hex digits.
QString codePointName(char32_t codePoint) {
    return QStringLiteral("U+") +
           QString::number(uint(codePoint), 16).toUpper().rightJustified(4, u'0');
}

// The character or characters of `text` for a message: U+XXXX "c" for each one, only U+XXXX
// for one that cannot be shown.
QString describeCharacters(const QString& text) {
    QStringList described;
    for (const char32_t codePoint : text.toUcs4()) {
        const QString shown = QString::fromUcs4(&codePoint, 1);
        described += QChar::isPrint(codePoint)
                         ? codePointName(codePoint) + QStringLiteral(" \"") + shown + u'"'
                         : codePointName(codePoint);
    }
    return described.isEmpty() ? QStringLiteral("nothing") : described.join(u' ');
}

// The seven JIS variant pairs: the character a Unix text holds, and the one CP932 reads back
// from the code Japanese Windows writes for it.
struct VariantPair {
    char16_t written;
    char16_t readBack;
};
constexpr VariantPair kCp932VariantPairs[] = {
    {u'\u301C', u'\uFF5E'},  // WAVE DASH -> FULLWIDTH TILDE, 81 60
    {u'\u2016', u'\u2225'},  // DOUBLE VERTICAL LINE -> PARALLEL TO, 81 61
    {u'\u2212', u'\uFF0D'},  // MINUS SIGN -> FULLWIDTH HYPHEN-MINUS, 81 7C
    {u'\u00A2', u'\uFFE0'},  // CENT SIGN -> FULLWIDTH CENT SIGN, 81 91
    {u'\u00A3', u'\uFFE1'},  // POUND SIGN -> FULLWIDTH POUND SIGN, 81 92
    {u'\u00AC', u'\uFFE2'},  // NOT SIGN -> FULLWIDTH NOT SIGN, 81 CA
    {u'\u00A5', u'\u005C'},  // YEN SIGN -> REVERSE SOLIDUS, 5C
};

// `text` with each variant pair's character replaced by the one CP932 reads back, so that the
// converter writes Windows' code and the text reads back unchanged. One UTF-16 unit each way, so
// indexes stay those of `text`.
QString withCp932VariantsMapped(QString text) {
    for (const VariantPair& pair : kCp932VariantPairs)
        text.replace(QChar(pair.written), QChar(pair.readBack));
    return text;
}

// The message for the character that starts at UTF-16 index `index` of `text`.
// `readBack`, when given, is what the character would read back as.
QString unwritableMessage(const QString& text, qsizetype index, const QString& encodingName,
                          const std::optional<QString>& readBack = std::nullopt) {
    qsizetype line = 1;
    qsizetype column = 1;
    for (qsizetype i = 0; i < index; ++i) {
        const QChar ch = text[i];
        if (ch == u'\n' || (ch == u'\r' && (i + 1 >= text.size() || text[i + 1] != u'\n'))) {
            ++line;
            column = 1;
            continue;
        }
        if (ch == u'\r')
            continue;
        if (ch.isHighSurrogate() && i + 1 < index && text[i + 1].isLowSurrogate())
            ++i;
        ++column;
    }

    const QChar first = text[index];
    QString character;
    if (first.isHighSurrogate() && index + 1 < text.size() && text[index + 1].isLowSurrogate()) {
        const char32_t codePoint = QChar::surrogateToUcs4(first, text[index + 1]);
        character = codePointName(codePoint) + QStringLiteral(" \"") + text.mid(index, 2) + u'"';
    } else if (first.isSurrogate()) {
        character = QStringLiteral("unpaired surrogate ") + codePointName(first.unicode());
    } else if (first.isPrint()) {
        character = codePointName(first.unicode()) + QStringLiteral(" \"") + first + u'"';
    } else {
        character = codePointName(first.unicode());
    }
    QString message = QStringLiteral("%1 at line %2, column %3 cannot be written in %4")
                          .arg(character)
                          .arg(line)
                          .arg(column)
                          .arg(encodingName);
    if (readBack)
        message += QStringLiteral(": it would read back as ") + describeCharacters(*readBack);
    return message;
}

// The UTF-16 index of the first unpaired surrogate in `text`, or -1.
qsizetype unpairedSurrogate(const QString& text) {
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar ch = text[i];
        if (!ch.isSurrogate())
            continue;
        if (ch.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            ++i;
            continue;
        }
        return i;
    }
    return -1;
}

std::optional<QByteArray> fail(QString* error, const QString& message) {
    if (error != nullptr)
        *error = message;
    return std::nullopt;
}

}  // namespace

bool isKnownEncoding(const QString& encodingName) {
    return detail::openTextCodec(encodingName) != nullptr;
}

bool isCp932(const QString& encodingName) {
    // The names under which the C library's converter for CP932 is known.
    static const QStringList names{QStringLiteral("CP932"),    QStringLiteral("WINDOWS-31J"),
                                   QStringLiteral("MS932"),    QStringLiteral("SJIS-OPEN"),
                                   QStringLiteral("SJIS-WIN"), QStringLiteral("CSWINDOWS31J")};
    return names.contains(encodingName, Qt::CaseInsensitive);
}

std::optional<QByteArray> encodeText(const QString& text, const QString& encodingName,
                                     QString* error) {
    const std::unique_ptr<detail::TextCodec> codec = detail::openTextCodec(encodingName);
    if (!codec)
        return fail(error, QStringLiteral("unknown encoding %1").arg(encodingName));
    if (const qsizetype bad = unpairedSurrogate(text); bad >= 0)
        return fail(error, unwritableMessage(text, bad, encodingName));
    // Text without an unpaired surrogate always reads back from UTF-8 unchanged.
    if (encodingName.compare(QLatin1String("UTF-8"), Qt::CaseInsensitive) == 0 ||
        encodingName.compare(QLatin1String("UTF8"), Qt::CaseInsensitive) == 0)
        return text.toUtf8();

    const QString prepared = isCp932(encodingName) ? withCp932VariantsMapped(text) : text;
    // The converters write some characters silently as the code of a look-alike; reading the
    // bytes back finds them.
    if (std::optional<QByteArray> bytes = codec->encode(prepared)) {
        if (codec->decode(*bytes) == prepared)
            return bytes;
    }

    // The first character that cannot be written, or does not come back by itself, is the one
    // to name.
    for (qsizetype i = 0; i < prepared.size();) {
        const qsizetype length = prepared[i].isHighSurrogate() && i + 1 < prepared.size() ? 2 : 1;
        const QString character = prepared.mid(i, length);
        const std::optional<QByteArray> one = codec->encode(character);
        if (!one)
            return fail(error, unwritableMessage(text, i, encodingName));
        const std::optional<QString> oneBack = codec->decode(*one);
        if (oneBack != character)
            return fail(error,
                        unwritableMessage(text, i, encodingName, oneBack.value_or(QString())));
        i += length;
    }
    return fail(error,
                QStringLiteral("the text does not read back unchanged in %1").arg(encodingName));
}

}  // namespace quarnel
