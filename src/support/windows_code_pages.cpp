#include "support/windows_code_pages.h"

#include <QStringList>

#include <algorithm>
#include <array>
#include <utility>

namespace quarnel::codepages {
namespace {

struct NamedPage {
    const char* name;
    unsigned number;
    bool jisShiftJis;
};

constexpr NamedPage kNamedPages[] = {
    {"UTF-8", kUtf8, false},       {"UTF8", kUtf8, false},
    {"UTF-16LE", kUtf16Le, false}, {"UTF-16BE", kUtf16Be, false},
    {"CP932", kCp932, false},      {"WINDOWS-31J", kCp932, false},
    {"MS932", kCp932, false},      {"SJIS-OPEN", kCp932, false},
    {"SJIS-WIN", kCp932, false},   {"CSWINDOWS31J", kCp932, false},
    {"SHIFT_JIS", kCp932, true},   {"SHIFT-JIS", kCp932, true},
    {"SJIS", kCp932, true},        {"MS_KANJI", kCp932, true},
    {"CSSHIFTJIS", kCp932, true},  {"EUC-JP", 20932, false},
    {"EUCJP", 20932, false},       {"UJIS", 20932, false},
    {"ISO-2022-JP", 50220, false}, {"CSISO2022JP", 50220, false},
    {"US-ASCII", 20127, false},    {"ASCII", 20127, false},
    {"ISO-8859-1", 28591, false},  {"LATIN1", 28591, false},
    {"EUC-KR", 51949, false},      {"GBK", 936, false},
    {"GB18030", 54936, false},     {"BIG5", 950, false},
};

// The characters SHIFT_JIS writes by a code that 932 reads as another one: (SHIFT_JIS, 932).
constexpr std::array<std::pair<char16_t, char16_t>, 8> kJisSwaps{{
    {u'\u00A5', u'\u005C'},  // YEN SIGN / REVERSE SOLIDUS, 5C
    {u'\u203E', u'\u007E'},  // OVERLINE / TILDE, 7E
    {u'\u301C', u'\uFF5E'},  // WAVE DASH / FULLWIDTH TILDE, 81 60
    {u'\u2016', u'\u2225'},  // DOUBLE VERTICAL LINE / PARALLEL TO, 81 61
    {u'\u2212', u'\uFF0D'},  // MINUS SIGN / FULLWIDTH HYPHEN-MINUS, 81 7C
    {u'\u00A2', u'\uFFE0'},  // CENT SIGN / FULLWIDTH CENT SIGN, 81 91
    {u'\u00A3', u'\uFFE1'},  // POUND SIGN / FULLWIDTH POUND SIGN, 81 92
    {u'\u00AC', u'\uFFE2'},  // NOT SIGN / FULLWIDTH NOT SIGN, 81 CA
}};

// Windows look-alikes that SHIFT_JIS has no code for at all.
constexpr char16_t kRefusedByJis[] = {u'\uFF5E', u'\u2225', u'\uFF0D'};

}  // namespace

std::optional<CodePage> codePageFor(const QString& encodingName) {
    const QString name = encodingName.toUpper();
    for (const NamedPage& page : kNamedPages) {
        if (name == QLatin1String(page.name))
            return CodePage{page.number, page.jisShiftJis};
    }
    for (const char* prefix : {"CP", "WINDOWS-", "IBM"}) {
        if (!name.startsWith(QLatin1String(prefix)))
            continue;
        const QString digits = name.mid(qsizetype(qstrlen(prefix)));
        bool ok = false;
        const unsigned number = digits.toUInt(&ok);
        // Digits only: toUInt would also take "+1252" or " 1252".
        const bool onlyDigits =
            !digits.isEmpty() && std::all_of(digits.begin(), digits.end(),
                                             [](QChar c) { return c >= u'0' && c <= u'9'; });
        if (ok && onlyDigits && number > 0 && number <= 65535)
            return CodePage{number, false};
    }
    return std::nullopt;
}

qsizetype firstRefusedByJis(const QString& text) {
    for (qsizetype i = 0; i < text.size(); ++i) {
        for (const char16_t refused : kRefusedByJis) {
            if (text[i] == QChar(refused))
                return i;
        }
    }
    return -1;
}

QString jisToCp932(QString text) {
    for (QChar& ch : text) {
        for (const auto& [jis, cp932] : kJisSwaps) {
            if (ch == QChar(jis)) {
                ch = QChar(cp932);
                break;
            }
        }
    }
    return text;
}

QString cp932ToJis(QString text) {
    for (QChar& ch : text) {
        for (const auto& [jis, cp932] : kJisSwaps) {
            if (ch == QChar(cp932)) {
                ch = QChar(jis);
                break;
            }
        }
    }
    return text;
}

bool isJisX0208(const QByteArray& bytes) {
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const auto byte = static_cast<unsigned char>(bytes[i]);
        if (byte < 0x80 || (byte >= 0xA1 && byte <= 0xDF))
            continue;
        const bool jisLead = (byte >= 0x81 && byte <= 0x84) || (byte >= 0x88 && byte <= 0x9F) ||
                             (byte >= 0xE0 && byte <= 0xEA);
        if (!jisLead || i + 1 >= bytes.size())
            return false;
        ++i;
    }
    return true;
}

}  // namespace quarnel::codepages
