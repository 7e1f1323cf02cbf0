#include "support/text_encoding.h"

#include <iconv.h>

#include <cerrno>

namespace quarnel {
namespace {

// An open iconv conversion from UTF-8, closed with the object.
class Converter {
  public:
    explicit Converter(const QString& encodingName) {
        // Suffixes such as "//TRANSLIT" or "//IGNORE" would make iconv substitute or drop
        // characters, so names carrying them are not accepted.
        if (encodingName.isEmpty() || encodingName.contains(u'/') || encodingName.contains(u','))
            return;
        m_handle = iconv_open(encodingName.toLatin1().constData(), "UTF-8");
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

// The message for the character that starts at UTF-16 index `index` of `text`.
QString unwritableMessage(const QString& text, qsizetype index, const QString& encodingName) {
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
    return QStringLiteral("%1 at line %2, column %3 cannot be written in %4")
        .arg(character)
        .arg(line)
        .arg(column)
        .arg(encodingName);
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

std::optional<QByteArray> encodeText(const QString& text, const QString& encodingName,
                                     QString* error) {
    Converter converter(encodingName);
    if (!converter.isOpen())
        return fail(error, QStringLiteral("unknown encoding %1").arg(encodingName));
    if (const qsizetype bad = unpairedSurrogate(text); bad >= 0)
        return fail(error, unwritableMessage(text, bad, encodingName));

    QByteArray input = text.toUtf8();
    QByteArray output(input.size() * 2 + 16, Qt::Uninitialized);
    char* in = input.data();
    size_t inLeft = size_t(input.size());
    qsizetype written = 0;
    // One more round after the input lets stateful encodings write their closing sequence.
    bool flushing = false;
    for (;;) {
        char* out = output.data() + written;
        size_t outLeft = size_t(output.size() - written);
        const size_t rc = flushing ? iconv(converter.handle(), nullptr, nullptr, &out, &outLeft)
                                   : iconv(converter.handle(), &in, &inLeft, &out, &outLeft);
        const int cause = errno;
        written = out - output.data();
        if (rc == size_t(-1) && cause == E2BIG) {
            output.resize(output.size() * 2);
            continue;
        }
        if (rc == size_t(-1)) {
            // EILSEQ (or EINVAL, which valid UTF-8 cannot cause): `in` is at the character.
            const qsizetype index =
                QString::fromUtf8(input.constData(), qsizetype(in - input.data())).size();
            return fail(error, unwritableMessage(text, index, encodingName));
        }
        if (flushing)
            break;
        if (inLeft == 0)
            flushing = true;
    }
    output.truncate(written);
    return output;
}

}  // namespace quarnel
