// The platform's converter behind encodeText (support/text_encoding.h), one implementation per
// system, chosen when the program is built: the C library's iconv (text_codec_iconv.cpp) or
// Windows' code-page API (text_codec_win32.cpp). The rules of encodeText (what counts as
// writable, the messages, CP932's variant pairs) are kept once, in text_encoding.cpp, over this
// interface.
#pragma once

#include <QByteArray>
#include <QString>

#include <memory>
#include <optional>

namespace quarnel::detail {

class TextCodec {
  public:
    virtual ~TextCodec() = default;
    // `text` (no unpaired surrogates) in the encoding, whole, with a stateful encoding's closing
    // sequence; nothing when a character of it has no code at all. Never substitutes one.
    virtual std::optional<QByteArray> encode(const QString& text) const = 0;
    // What `bytes` read back as; nothing when they are not valid in the encoding.
    virtual std::optional<QString> decode(const QByteArray& bytes) const = 0;
};

// The converter for `encodingName`, or null when the system knows no such encoding (or the name
// carries a suffix that would make the converter substitute or drop characters).
std::unique_ptr<TextCodec> openTextCodec(const QString& encodingName);

}  // namespace quarnel::detail
