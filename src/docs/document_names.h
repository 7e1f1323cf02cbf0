// Names and measures the document's outputs must respect: Excel's sheet-name rules, file names
// that both Windows and Linux accept, the width of a text in a spreadsheet column, and GitHub
// Markdown table cells.
#pragma once

#include <QSet>
#include <QString>
#include <QStringList>

namespace quarnel::docs {

// Hands out names unique ignoring case; the names given at construction are taken already.
class UniqueNames {
  public:
    explicit UniqueNames(const QStringList& taken = {});
    // `wanted`, or, when that is taken, `wanted` shortened to leave room for "~n" and followed by
    // it, with the lowest n from 2 that is free. `maxLength` counts UTF-16 units and never
    // splits a surrogate pair.
    QString claim(const QString& wanted, qsizetype maxLength);

  private:
    QSet<QString> m_taken;
};

// The longest sheet name Excel takes.
inline constexpr qsizetype kMaxSheetName = 31;

// `table` as a sheet name: each of []:*?/\ becomes "_", an apostrophe that would begin or end it
// too, an empty name becomes "_", and the name is cut to 31 characters. Uniqueness is the
// caller's (UniqueNames).
QString sheetNameFor(const QString& table);

// An Excel reference to cell A1 of `sheet`, quoted: 'name'!A1 with each inner ' doubled.
QString sheetCellReference(const QString& sheet, const QString& cell = QStringLiteral("A1"));

// `table` as a file name without extension, safe on Windows and Linux: the characters <>:"/\|?*
// and control characters become "_", trailing dots and spaces too, a Windows device name (CON,
// PRN, AUX, NUL, COM1-9, LPT1-9) gets a "_" after it, and the name is cut to 100 characters.
QString fileBaseNameFor(const QString& table);

// The width of `text` in spreadsheet column units: full-width and wide characters (CJK, the
// full-width forms) count 2, everything else 1; the longest line counts.
int displayWidth(const QString& text);

// `text` for a GitHub Markdown table cell: \ ` * _ [ ] < > | & escaped with a backslash, and each
// line break (CR LF, LF or CR) written as <br>.
QString markdownCell(const QString& text);

// `text` as a Markdown code span fit for a table cell: enough backticks around it that none
// inside ends it, and each | escaped; an empty text gives nothing.
QString markdownCode(const QString& text);

// A relative link target for `fileName`: percent-encoded UTF-8, "/" never occurring.
QString markdownLinkTarget(const QString& fileName);

}  // namespace quarnel::docs
