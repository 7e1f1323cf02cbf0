// The converter of Linux and the other Unix systems: the C library's iconv.
#ifndef _WIN32

#include "support/text_codec.h"

#include <iconv.h>

#include <cerrno>

namespace quarnel::detail {
namespace {

// An open iconv conversion, closed with the object.
class Conversion {
  public:
    Conversion(const char* to, const char* from) : m_handle(iconv_open(to, from)) {}
    ~Conversion() {
        if (isOpen())
            iconv_close(m_handle);
    }
    Conversion(const Conversion&) = delete;
    Conversion& operator=(const Conversion&) = delete;

    bool isOpen() const { return m_handle != reinterpret_cast<iconv_t>(-1); }

    // `input` converted whole, or nothing at a sequence that cannot be converted.
    std::optional<QByteArray> run(const QByteArray& input) const {
        iconv(m_handle, nullptr, nullptr, nullptr, nullptr);
        QByteArray output(input.size() * 2 + 16, Qt::Uninitialized);
        char* in = const_cast<char*>(input.constData());
        size_t inLeft = size_t(input.size());
        qsizetype written = 0;
        // One more round after the input lets stateful encodings write their closing sequence.
        bool flushing = false;
        for (;;) {
            char* out = output.data() + written;
            size_t outLeft = size_t(output.size() - written);
            const size_t rc = flushing ? iconv(m_handle, nullptr, nullptr, &out, &outLeft)
                                       : iconv(m_handle, &in, &inLeft, &out, &outLeft);
            const int cause = errno;
            written = out - output.data();
            if (rc == size_t(-1) && cause == E2BIG) {
                output.resize(output.size() * 2);
                continue;
            }
            if (rc == size_t(-1))
                return std::nullopt;  // EILSEQ, or EINVAL for a sequence cut short
            if (flushing)
                break;
            if (inLeft == 0)
                flushing = true;
        }
        output.truncate(written);
        return output;
    }

  private:
    iconv_t m_handle;
};

class IconvCodec : public TextCodec {
  public:
    explicit IconvCodec(const QByteArray& name)
        : m_encoder(name.constData(), "UTF-8"), m_decoder("UTF-8", name.constData()) {}

    bool isOpen() const { return m_encoder.isOpen() && m_decoder.isOpen(); }

    std::optional<QByteArray> encode(const QString& text) const override {
        return m_encoder.run(text.toUtf8());
    }
    std::optional<QString> decode(const QByteArray& bytes) const override {
        const std::optional<QByteArray> utf8 = m_decoder.run(bytes);
        if (!utf8)
            return std::nullopt;
        return QString::fromUtf8(*utf8);
    }

  private:
    Conversion m_encoder;
    Conversion m_decoder;
};

}  // namespace

std::unique_ptr<TextCodec> openTextCodec(const QString& encodingName) {
    // Suffixes such as "//TRANSLIT" or "//IGNORE" would make iconv substitute or drop
    // characters, so names carrying them are not accepted.
    if (encodingName.isEmpty() || encodingName.contains(u'/') || encodingName.contains(u','))
        return nullptr;
    auto codec = std::make_unique<IconvCodec>(encodingName.toLatin1());
    if (!codec->isOpen())
        return nullptr;
    return codec;
}

}  // namespace quarnel::detail

#endif  // _WIN32
