#include "support/text_encoding.h"

#include <QStringList>

#include <iconv.h>

#include <cerrno>

namespace quarnel {
namespace {

enum class Direction { FromUtf8, ToUtf8 };

// An open iconv conversion between UTF-8 and a named encoding, closed with the object.
class Converter {
  public:
    explicit Converter(const QString& encodingName, Direction direction = Direction::FromUtf8) {
        // Suffixes such as "//TRANSLIT" or "//IGNORE" would make iconv substitute or drop
        // characters, so names carrying them are not accepted.
        if (encodingName.isEmpty() || encodingName.contains(u'/') || encodingName.contains(u','))
            return;
        const QByteArray name = encodingName.toLatin1();
        m_handle = direction == Direction::FromUtf8 ? iconv_open(name.constData(), "UTF-8")
                                                    : iconv_open("UTF-8", name.constData());
    }
    ~Converter() {
        if (isOpen())
            iconv_close(m_handle);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    bool isOpen() const { return m_handle != invalidHandle(); }
    iconv_t handle() const { return m_handle; }

  private:
    static iconv_t invalidHandle() { return reinterpret_cast<iconv_t>(-1); }

    iconv_t m_handle = invalidHandle();
};

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

// Converts `input` whole with `converter`. Returns -1 with the result in `*output`, or the byte
// offset in `input` of the sequence that could not be converted.
qsizetype convert(const Converter& converter, const QByteArray& input, QByteArray* output) {
    iconv(converter.handle(), nullptr, nullptr, nullptr, nullptr);
    output->resize(input.size() * 2 + 16);
    char* in = const_cast<char*>(input.constData());
    size_t inLeft = size_t(input.size());
    qsizetype written = 0;
    // One more round after the input lets stateful encodings write their closing sequence.
    bool flushing = false;
    for (;;) {
        char* out = output->data() + written;
        size_t outLeft = size_t(output->size() - written);
        const size_t rc = flushing ? iconv(converter.handle(), nullptr, nullptr, &out, &outLeft)
                                   : iconv(converter.handle(), &in, &inLeft, &out, &outLeft);
        const int cause = errno;
        written = out - output->data();
        if (rc == size_t(-1) && cause == E2BIG) {
            output->resize(output->size() * 2);
            continue;
        }
        if (rc == size_t(-1)) {
            // EILSEQ, or EINVAL for a sequence cut short: `in` is at it.
            output->truncate(written);
            return qsizetype(in - input.constData());
        }
        if (flushing)
            break;
        if (inLeft == 0)
            flushing = true;
    }
    output->truncate(written);
    return -1;
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
    return Converter(encodingName).isOpen();
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
    Converter encoder(encodingName);
    Converter decoder(encodingName, Direction::ToUtf8);
    if (!encoder.isOpen() || !decoder.isOpen())
        return fail(error, QStringLiteral("unknown encoding %1").arg(encodingName));
    if (const qsizetype bad = unpairedSurrogate(text); bad >= 0)
        return fail(error, unwritableMessage(text, bad, encodingName));

    const QString prepared = isCp932(encodingName) ? withCp932VariantsMapped(text) : text;
    const QByteArray input = prepared.toUtf8();
    QByteArray output;
    if (const qsizetype at = convert(encoder, input, &output); at >= 0) {
        const qsizetype index = QString::fromUtf8(input.constData(), at).size();
        return fail(error, unwritableMessage(text, index, encodingName));
    }

    // The converters write some characters silently as the code of a look-alike; reading the
    // bytes back finds them.
    QByteArray readBack;
    if (convert(decoder, output, &readBack) < 0 && readBack == input)
        return output;

    // The first character that does not come back by itself is the one to name.
    QByteArray one;
    QByteArray oneBack;
    for (qsizetype i = 0; i < prepared.size();) {
        const qsizetype length = prepared[i].isHighSurrogate() && i + 1 < prepared.size() ? 2 : 1;
        const QByteArray character = prepared.mid(i, length).toUtf8();
        if (convert(encoder, character, &one) < 0 &&
            (convert(decoder, one, &oneBack) >= 0 || oneBack != character)) {
            return fail(error,
                        unwritableMessage(text, i, encodingName, QString::fromUtf8(oneBack)));
        }
        i += length;
    }
    return fail(error,
                QStringLiteral("the text does not read back unchanged in %1").arg(encodingName));
}

}  // namespace quarnel
