#include "dump/password_input.h"

#include "support/logon_text.h"

#include <QStringDecoder>

#include <array>
#include <cstring>

namespace quarnel::dump {
namespace {

// The line content, a CR and an LF.
constexpr qsizetype kBufferSize = kMaxPasswordBytes + 2;

// Holds the bytes read and wipes them on every path.
struct WipedBuffer {
    std::array<char, kBufferSize> bytes{};
    ~WipedBuffer() { wipe(bytes.data(), bytes.size()); }
};

}  // namespace

std::optional<QString> readPasswordLine(const InputReader& read, QString* error) {
    WipedBuffer buffer;
    qsizetype filled = 0;
    qsizetype lineEnd = -1;
    while (filled < kBufferSize) {
        const qint64 count = read(buffer.bytes.data() + filled, kBufferSize - filled);
        if (count < 0) {
            *error = QStringLiteral("cannot read the password from standard input");
            return std::nullopt;
        }
        if (count == 0)
            break;
        const void* newline = std::memchr(buffer.bytes.data() + filled, '\n', size_t(count));
        filled += qsizetype(count);
        if (newline != nullptr) {
            lineEnd = static_cast<const char*>(newline) - buffer.bytes.data();
            break;
        }
    }

    qsizetype length = lineEnd >= 0 ? lineEnd : filled;
    if (lineEnd >= 0 && length > 0 && buffer.bytes[size_t(length - 1)] == '\r')
        --length;
    if (length > kMaxPasswordBytes || (lineEnd < 0 && filled == kBufferSize)) {
        *error = QStringLiteral("the password line is longer than %1 bytes").arg(kMaxPasswordBytes);
        return std::nullopt;
    }

    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString password = decoder.decode(QByteArrayView(buffer.bytes.data(), length));
    if (decoder.hasError()) {
        wipe(password);
        *error = QStringLiteral("the password line is not UTF-8");
        return std::nullopt;
    }
    return password;
}

}  // namespace quarnel::dump
