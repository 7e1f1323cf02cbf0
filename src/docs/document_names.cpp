#include "docs/document_names.h"

#include <QUrl>

namespace quarnel::docs {
namespace {

// `text` cut to at most `length` UTF-16 units without splitting a surrogate pair.
QString cut(const QString& text, qsizetype length) {
    if (text.size() <= length)
        return text;
    if (length > 0 && text[length - 1].isHighSurrogate())
        --length;
    return text.left(length);
}

bool isWide(char32_t c) {
    return (c >= 0x1100 && c <= 0x115F) || (c >= 0x2E80 && c <= 0x303E) ||
           (c >= 0x3041 && c <= 0x33FF) || (c >= 0x3400 && c <= 0x4DBF) ||
           (c >= 0x4E00 && c <= 0x9FFF) || (c >= 0xA000 && c <= 0xA4CF) ||
           (c >= 0xAC00 && c <= 0xD7A3) || (c >= 0xF900 && c <= 0xFAFF) ||
           (c >= 0xFE30 && c <= 0xFE4F) || (c >= 0xFF00 && c <= 0xFF60) ||
           (c >= 0xFFE0 && c <= 0xFFE6) || (c >= 0x1F300 && c <= 0x1F64F) ||
           (c >= 0x20000 && c <= 0x3FFFD);
}

bool isWindowsDeviceName(const QString& name) {
    static const QStringList fixed{QStringLiteral("CON"), QStringLiteral("PRN"),
                                   QStringLiteral("AUX"), QStringLiteral("NUL")};
    const QString upper = name.toUpper();
    if (fixed.contains(upper))
        return true;
    return upper.size() == 4 &&
           (upper.startsWith(QLatin1String("COM")) || upper.startsWith(QLatin1String("LPT"))) &&
           upper[3] >= u'1' && upper[3] <= u'9';
}

}  // namespace

UniqueNames::UniqueNames(const QStringList& taken) {
    for (const QString& name : taken)
        m_taken.insert(name.toCaseFolded());
}

QString UniqueNames::claim(const QString& wanted, qsizetype maxLength) {
    QString name = cut(wanted, maxLength);
    for (int n = 2; m_taken.contains(name.toCaseFolded()); ++n) {
        const QString suffix = u'~' + QString::number(n);
        name = cut(wanted, maxLength - suffix.size()) + suffix;
    }
    m_taken.insert(name.toCaseFolded());
    return name;
}

QString sheetNameFor(const QString& table) {
    QString name = table;
    for (QChar& c : name) {
        if (QStringView(u"[]:*?/\\").contains(c) || c.unicode() < 0x20)
            c = u'_';
    }
    name = cut(name, kMaxSheetName);
    if (name.isEmpty())
        return QStringLiteral("_");
    if (name.front() == u'\'')
        name.front() = u'_';
    if (name.back() == u'\'')
        name.back() = u'_';
    return name;
}

QString sheetCellReference(const QString& sheet, const QString& cell) {
    QString quoted = sheet;
    quoted.replace(u'\'', QStringLiteral("''"));
    return u'\'' + quoted + QStringLiteral("'!") + cell;
}

QString fileBaseNameFor(const QString& table) {
    QString name = table;
    for (QChar& c : name) {
        if (QStringView(u"<>:\"/\\|?*").contains(c) || c.unicode() < 0x20 || c.unicode() == 0x7F)
            c = u'_';
    }
    name = cut(name, 100);
    for (qsizetype i = name.size() - 1; i >= 0 && (name[i] == u'.' || name[i] == u' '); --i)
        name[i] = u'_';
    if (name.isEmpty())
        return QStringLiteral("_");
    const qsizetype dot = name.indexOf(u'.');
    if (isWindowsDeviceName(dot < 0 ? name : name.left(dot)))
        name.insert(dot < 0 ? name.size() : dot, u'_');
    return name;
}

int displayWidth(const QString& text) {
    int widest = 0;
    int width = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        char32_t c = text[i].unicode();
        if (QChar::isHighSurrogate(c) && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            c = QChar::surrogateToUcs4(text[i], text[i + 1]);
            ++i;
        }
        if (c == u'\n' || c == u'\r') {
            width = 0;
            continue;
        }
        width += isWide(c) ? 2 : 1;
        widest = std::max(widest, width);
    }
    return widest;
}

QString markdownCell(const QString& text) {
    QString cell;
    cell.reserve(text.size() + 8);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == u'\r' || c == u'\n') {
            if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')
                ++i;
            cell += QStringLiteral("<br>");
        } else if (QStringView(u"\\`*_[]<>|&").contains(c)) {
            cell += u'\\';
            cell += c;
        } else {
            cell += c;
        }
    }
    return cell;
}

QString markdownCode(const QString& text) {
    if (text.isEmpty())
        return QString();
    qsizetype longest = 0;
    qsizetype run = 0;
    for (QChar c : text) {
        run = c == u'`' ? run + 1 : 0;
        longest = std::max(longest, run);
    }
    const QString fence(longest + 1, u'`');
    QString inner = text;
    inner.replace(u'|', QStringLiteral("\\|"));
    inner.replace(u'\r', u' ');
    inner.replace(u'\n', u' ');
    // A space on each side keeps a backtick at either end from joining the fence.
    const bool pad = inner.startsWith(u'`') || inner.endsWith(u'`');
    if (pad)
        return fence + u' ' + inner + u' ' + fence;
    return fence + inner + fence;
}

QString markdownLinkTarget(const QString& fileName) {
    return QString::fromLatin1(QUrl::toPercentEncoding(fileName));
}

}  // namespace quarnel::docs
