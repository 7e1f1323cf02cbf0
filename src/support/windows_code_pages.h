// How the encoding names of quarnel-dump and the saves map to Windows code pages, and the rules
// with which Windows' own code-page converter is made to write and read as the C library's
// converter does on Linux. Plain data and text; used by the Windows converter and tested on
// every system.
#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

namespace quarnel::codepages {

// Windows' numbers for UTF-8 and UTF-16, which its code-page API does not convert itself.
inline constexpr unsigned kUtf8 = 65001;
inline constexpr unsigned kUtf16Le = 1200;
inline constexpr unsigned kUtf16Be = 1201;
inline constexpr unsigned kCp932 = 932;

struct CodePage {
    unsigned number = 0;
    // Shift_JIS as JIS X 0208 defines it (the C library's SHIFT_JIS), written over code page 932:
    // 932's extensions refused, and the characters 932 reads differently swapped (see below).
    bool jisShiftJis = false;
};

// The code page of `encodingName` (case-insensitive): the names below, and "CPn", "WINDOWS-n"
// and "IBMn" for any number n (the system checks that it has that code page). Nothing for any
// other name, and for names with suffixes ("CP932//TRANSLIT").
//   UTF-8 UTF8 -> 65001          UTF-16LE -> 1200, UTF-16BE -> 1201
//   CP932 WINDOWS-31J MS932 SJIS-OPEN SJIS-WIN CSWINDOWS31J -> 932
//   SHIFT_JIS SHIFT-JIS SJIS MS_KANJI CSSHIFTJIS -> 932 with the JIS rules
//   EUC-JP EUCJP UJIS -> 20932   ISO-2022-JP CSISO2022JP -> 50220
//   US-ASCII ASCII -> 20127      ISO-8859-1 LATIN1 -> 28591
//   EUC-KR -> 51949  GBK -> 936  GB18030 -> 54936  BIG5 -> 950
std::optional<CodePage> codePageFor(const QString& encodingName);

// The JIS rules over 932. The C library's SHIFT_JIS reads 5C as U+00A5 and 7E as U+203E, and the
// JIS codes of 〜 ‖ − ¢ £ ¬ as those characters, where 932 reads backslash, tilde and the Windows
// look-alikes ～ ∥ － ￠ ￡ ￢. It refuses ～ ∥ － outright, and writes ￠ ￡ ￢ (which read back
// as ¢ £ ¬).

// Whether SHIFT_JIS refuses a character of `text` that 932 would write; the index of the first,
// or -1.
qsizetype firstRefusedByJis(const QString& text);
// `text` with each character that SHIFT_JIS writes by a code 932 reads as another character
// replaced by that character, so that 932 writes SHIFT_JIS's code. One UTF-16 unit each way.
QString jisToCp932(QString text);
// What SHIFT_JIS reads from bytes that 932 read as `text`.
QString cp932ToJis(QString text);
// Whether `bytes` hold only codes of JIS X 0208 Shift_JIS: single bytes and two-byte codes whose
// first byte is 81-84, 88-9F or E0-EA (932's NEC and IBM extensions and user area lie outside).
bool isJisX0208(const QByteArray& bytes);

}  // namespace quarnel::codepages
