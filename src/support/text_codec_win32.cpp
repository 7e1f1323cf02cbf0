// The converter of Windows: the code-page API (WideCharToMultiByte, MultiByteToWideChar), with
// the names of support/windows_code_pages.h. UTF-8 and UTF-16 are converted by Qt.
#ifdef _WIN32

#include "support/text_codec.h"
#include "support/windows_code_pages.h"

#include <windows.h>

namespace quarnel::detail {
namespace {

// Code pages for which WideCharToMultiByte takes no flags and no default-character report; a
// character they cannot hold is found by reading the bytes back instead.
bool takesNoFlags(unsigned codePage) {
    return codePage == 42 || codePage == 50220 || codePage == 50221 || codePage == 50222 ||
           codePage == 50225 || codePage == 50227 || codePage == 50229 || codePage == 54936 ||
           codePage == 65000 || (codePage >= 57002 && codePage <= 57011);
}

class Win32Codec : public TextCodec {
  public:
    explicit Win32Codec(const codepages::CodePage& page) : m_page(page) {}

    std::optional<QByteArray> encode(const QString& text) const override {
        switch (m_page.number) {
            case codepages::kUtf8:
                return text.toUtf8();
            case codepages::kUtf16Le:
            case codepages::kUtf16Be:
                return utf16(text);
            default:
                break;
        }
        if (!m_page.jisShiftJis)
            return toCodePage(text);
        if (codepages::firstRefusedByJis(text) >= 0)
            return std::nullopt;
        std::optional<QByteArray> bytes = toCodePage(codepages::jisToCp932(text));
        if (bytes && !codepages::isJisX0208(*bytes))
            return std::nullopt;
        return bytes;
    }

    std::optional<QString> decode(const QByteArray& bytes) const override {
        switch (m_page.number) {
            case codepages::kUtf8: {
                QString text = QString::fromUtf8(bytes);
                // A byte that is not UTF-8 reads as U+FFFD; the text then no longer writes as
                // `bytes`.
                if (text.toUtf8() != bytes)
                    return std::nullopt;
                return text;
            }
            case codepages::kUtf16Le:
            case codepages::kUtf16Be:
                if (bytes.size() % 2 != 0)
                    return std::nullopt;
                return fromUtf16(bytes);
            default:
                break;
        }
        std::optional<QString> text = fromCodePage(bytes);
        if (text && m_page.jisShiftJis)
            return codepages::cp932ToJis(*text);
        return text;
    }

  private:
    QByteArray utf16(const QString& text) const {
        QByteArray bytes;
        bytes.reserve(text.size() * 2);
        const bool bigEndian = m_page.number == codepages::kUtf16Be;
        for (const QChar ch : text) {
            const char high = char(ch.unicode() >> 8);
            const char low = char(ch.unicode() & 0xFF);
            bytes.append(bigEndian ? high : low);
            bytes.append(bigEndian ? low : high);
        }
        return bytes;
    }

    QString fromUtf16(const QByteArray& bytes) const {
        QString text;
        text.reserve(bytes.size() / 2);
        const bool bigEndian = m_page.number == codepages::kUtf16Be;
        for (qsizetype i = 0; i + 1 < bytes.size(); i += 2) {
            const auto first = static_cast<unsigned char>(bytes[i]);
            const auto second = static_cast<unsigned char>(bytes[i + 1]);
            text.append(QChar(char16_t(bigEndian ? (first << 8) | second : (second << 8) | first)));
        }
        return text;
    }

    // WC_NO_BEST_FIT_CHARS: no look-alike for a character the code page lacks; the default
    // character report says whether one was missing (Windows would have written its '?').
    std::optional<QByteArray> toCodePage(const QString& text) const {
        if (text.isEmpty())
            return QByteArray();
        const auto* wide = reinterpret_cast<const wchar_t*>(text.utf16());
        const int length = int(text.size());
        const bool plain = takesNoFlags(m_page.number);
        const DWORD flags = plain ? 0 : WC_NO_BEST_FIT_CHARS;
        BOOL usedDefault = FALSE;
        BOOL* usedDefaultReport = plain ? nullptr : &usedDefault;
        const int size = WideCharToMultiByte(m_page.number, flags, wide, length, nullptr, 0,
                                             nullptr, usedDefaultReport);
        if (size <= 0 || usedDefault)
            return std::nullopt;
        QByteArray bytes(size, Qt::Uninitialized);
        const int written = WideCharToMultiByte(m_page.number, flags, wide, length, bytes.data(),
                                                size, nullptr, usedDefaultReport);
        if (written != size || usedDefault)
            return std::nullopt;
        return bytes;
    }

    // MB_ERR_INVALID_CHARS: bytes that are not valid in the code page are a failure, not U+FFFD.
    std::optional<QString> fromCodePage(const QByteArray& bytes) const {
        if (bytes.isEmpty())
            return QString();
        const DWORD flags = takesNoFlags(m_page.number) ? 0 : MB_ERR_INVALID_CHARS;
        const int length = int(bytes.size());
        const int size =
            MultiByteToWideChar(m_page.number, flags, bytes.constData(), length, nullptr, 0);
        if (size <= 0)
            return std::nullopt;
        QString text(size, Qt::Uninitialized);
        const int written = MultiByteToWideChar(m_page.number, flags, bytes.constData(), length,
                                                reinterpret_cast<wchar_t*>(text.data()), size);
        if (written != size)
            return std::nullopt;
        return text;
    }

    codepages::CodePage m_page;
};

}  // namespace

std::unique_ptr<TextCodec> openTextCodec(const QString& encodingName) {
    const std::optional<codepages::CodePage> page = codepages::codePageFor(encodingName);
    if (!page)
        return nullptr;
    const bool ownConversion = page->number == codepages::kUtf8 ||
                               page->number == codepages::kUtf16Le ||
                               page->number == codepages::kUtf16Be;
    if (!ownConversion && !IsValidCodePage(page->number))
        return nullptr;
    return std::make_unique<Win32Codec>(*page);
}

}  // namespace quarnel::detail

#endif  // _WIN32
