#include "db/sqlite_ddl.h"

#include <QRegularExpression>

namespace quarnel::db {
namespace {

struct Token {
    enum class Kind { Word, QuotedName, String, Punct };
    Kind kind = Kind::Punct;
    // Quoted names and strings without their quotes; words and punctuation share the statement's
    // text (QString::fromRawData), so the statement must outlive its tokens.
    QString text;
    qsizetype begin = 0;
    qsizetype end = 0;
};

using Tokens = std::vector<Token>;

bool isWordChar(QChar c) {
    return c.isLetterOrNumber() || c == u'_' || c == u'$';
}

// Reads a quoted text starting at `begin` and closed by `close`, a doubled `close` standing for
// one. Returns the position after the closing character.
qsizetype readQuoted(const QString& sql, qsizetype begin, QChar close, QString& text) {
    qsizetype i = begin + 1;
    while (i < sql.size()) {
        if (sql[i] == close) {
            if (close != u']' && i + 1 < sql.size() && sql[i + 1] == close) {
                text += close;
                i += 2;
                continue;
            }
            return i + 1;
        }
        text += sql[i++];
    }
    return i;
}

Tokens tokenize(const QString& sql) {
    Tokens tokens;
    tokens.reserve(size_t(sql.size() / 4));
    qsizetype i = 0;
    while (i < sql.size()) {
        const QChar c = sql[i];
        const QChar next = i + 1 < sql.size() ? sql[i + 1] : QChar();
        if (c.isSpace()) {
            ++i;
        } else if (c == u'-' && next == u'-') {
            while (i < sql.size() && sql[i] != u'\n')
                ++i;
        } else if (c == u'/' && next == u'*') {
            const qsizetype close = sql.indexOf(QLatin1String("*/"), i + 2);
            i = close < 0 ? sql.size() : close + 2;
        } else {
            Token token;
            token.begin = i;
            if (c == u'"' || c == u'`' || c == u'[') {
                token.kind = Token::Kind::QuotedName;
                i = readQuoted(sql, i, c == u'[' ? QChar(u']') : c, token.text);
            } else if (c == u'\'') {
                token.kind = Token::Kind::String;
                i = readQuoted(sql, i, c, token.text);
            } else if (isWordChar(c)) {
                token.kind = Token::Kind::Word;
                while (i < sql.size() && isWordChar(sql[i]))
                    ++i;
                token.text = QString::fromRawData(sql.constData() + token.begin, i - token.begin);
            } else {
                token.text = QString::fromRawData(sql.constData() + i, 1);
                ++i;
            }
            token.end = i;
            tokens.push_back(std::move(token));
        }
    }
    return tokens;
}

bool isKeyword(const Token& token, const char* keyword) {
    if (token.kind != Token::Kind::Word || token.text.size() != qsizetype(qstrlen(keyword)))
        return false;
    for (qsizetype i = 0; i < token.text.size(); ++i) {
        char16_t c = token.text[i].unicode();
        if (c >= u'a' && c <= u'z')
            c -= 32;
        if (c != char16_t(keyword[i]))
            return false;
    }
    return true;
}

bool isPunct(const Token& token, char16_t c) {
    return token.kind == Token::Kind::Punct && token.text.size() == 1 && token.text[0] == c;
}

// A run of tokens [begin, end).
struct Span {
    size_t begin = 0;
    size_t end = 0;
    bool empty() const { return begin >= end; }
};

// The position after the parenthesis that closes the one at `open`.
size_t skipGroup(const Tokens& tokens, size_t open) {
    int depth = 0;
    for (size_t i = open; i < tokens.size(); ++i) {
        if (isPunct(tokens[i], u'('))
            ++depth;
        if (isPunct(tokens[i], u')') && --depth == 0)
            return i + 1;
    }
    return tokens.size();
}

// The comma-separated items inside the parenthesis at `open`.
std::vector<Span> groupItems(const Tokens& tokens, size_t open) {
    std::vector<Span> items;
    const size_t close = skipGroup(tokens, open) - 1;
    size_t begin = open + 1;
    for (size_t i = open + 1; i <= close && i < tokens.size();) {
        if (i == close || isPunct(tokens[i], u',')) {
            items.push_back({begin, i});
            begin = i + 1;
            ++i;
        } else if (isPunct(tokens[i], u'(')) {
            i = skipGroup(tokens, i);
        } else {
            ++i;
        }
    }
    return items;
}

// A copy of the name at `index`, which outlives the statement.
QString nameOf(const Tokens& tokens, size_t index) {
    if (index >= tokens.size() || tokens[index].kind == Token::Kind::Punct)
        return QString();
    const QString& text = tokens[index].text;
    return QString(text.constData(), text.size());
}

// The column names of the parenthesised list at `open`.
QStringList columnList(const Tokens& tokens, size_t open) {
    QStringList columns;
    if (open >= tokens.size() || !isPunct(tokens[open], u'('))
        return columns;
    for (const Span& item : groupItems(tokens, open)) {
        if (!item.empty())
            columns.append(nameOf(tokens, item.begin));
    }
    return columns;
}

// The text inside the parenthesis at `open`, as written.
QString groupText(const QString& sql, const Tokens& tokens, size_t open) {
    const size_t close = skipGroup(tokens, open) - 1;
    if (close >= tokens.size() || close <= open)
        return QString();
    const qsizetype begin = tokens[open].end;
    return sql.mid(begin, tokens[close].begin - begin).trimmed();
}

// REFERENCES at `at`: the referenced table and its column list. Returns the position after them.
size_t readReference(const Tokens& tokens, size_t at, KeyConstraint& constraint) {
    constraint.kind = KeyConstraint::Kind::ForeignKey;
    constraint.referencedTable = nameOf(tokens, at + 1);
    size_t next = at + 2;
    if (next < tokens.size() && isPunct(tokens[next], u'(')) {
        constraint.referencedColumns = columnList(tokens, next);
        next = skipGroup(tokens, next);
    }
    return next;
}

void readTableConstraint(const QString& sql, const Tokens& tokens, Span item,
                         std::vector<KeyConstraint>& out) {
    size_t i = item.begin;
    KeyConstraint constraint;
    if (isKeyword(tokens[i], "CONSTRAINT")) {
        constraint.name = nameOf(tokens, i + 1);
        i += 2;
    }
    if (i + 1 < item.end && isKeyword(tokens[i], "PRIMARY") && isKeyword(tokens[i + 1], "KEY")) {
        constraint.columns = columnList(tokens, i + 2);
        out.push_back(constraint);
    } else if (i < item.end && isKeyword(tokens[i], "UNIQUE")) {
        constraint.kind = KeyConstraint::Kind::Unique;
        constraint.columns = columnList(tokens, i + 1);
        out.push_back(constraint);
    } else if (i + 1 < item.end && isKeyword(tokens[i], "CHECK") && isPunct(tokens[i + 1], u'(')) {
        constraint.kind = KeyConstraint::Kind::Check;
        constraint.condition = groupText(sql, tokens, i + 1);
        out.push_back(constraint);
    } else if (i + 2 < item.end && isKeyword(tokens[i], "FOREIGN") &&
               isKeyword(tokens[i + 1], "KEY") && isPunct(tokens[i + 2], u'(')) {
        constraint.columns = columnList(tokens, i + 2);
        const size_t references = skipGroup(tokens, i + 2);
        if (references < item.end && isKeyword(tokens[references], "REFERENCES")) {
            readReference(tokens, references, constraint);
            out.push_back(constraint);
        }
    }
}

void readColumnDefinition(const QString& sql, const Tokens& tokens, Span item,
                          std::vector<KeyConstraint>& out) {
    const QString column = nameOf(tokens, item.begin);
    QString pendingName;
    const auto add = [&](KeyConstraint constraint) {
        constraint.name = pendingName;
        pendingName.clear();
        out.push_back(std::move(constraint));
    };
    for (size_t i = item.begin + 1; i < item.end;) {
        const Token& token = tokens[i];
        if (isPunct(token, u'(')) {
            i = skipGroup(tokens, i);
            continue;
        }
        if (isKeyword(token, "CONSTRAINT")) {
            pendingName = nameOf(tokens, i + 1);
            i += 2;
            continue;
        }
        if (isKeyword(token, "PRIMARY")) {
            add({KeyConstraint::Kind::PrimaryKey, {}, {column}, {}, {}, {}});
        } else if (isKeyword(token, "UNIQUE")) {
            add({KeyConstraint::Kind::Unique, {}, {column}, {}, {}, {}});
        } else if (isKeyword(token, "CHECK") && i + 1 < item.end && isPunct(tokens[i + 1], u'(')) {
            add({KeyConstraint::Kind::Check, {}, {}, {}, {}, groupText(sql, tokens, i + 1)});
            i = skipGroup(tokens, i + 1);
            continue;
        } else if (isKeyword(token, "REFERENCES")) {
            KeyConstraint reference;
            reference.columns = QStringList{column};
            i = readReference(tokens, i, reference);
            add(std::move(reference));
            continue;
        } else {
            for (const char* other :
                 {"NOT", "NULL", "CHECK", "DEFAULT", "COLLATE", "GENERATED", "AS"}) {
                if (isKeyword(token, other))
                    pendingName.clear();
            }
        }
        ++i;
    }
}

// The "--" comment that follows position `from` on the same line, with nothing but blanks and
// at most one comma before it; empty when there is none.
QString lineEndComment(const QString& sql, qsizetype from) {
    qsizetype i = from;
    bool comma = false;
    while (i < sql.size()) {
        const QChar c = sql[i];
        if (c == u',' && !comma) {
            comma = true;
        } else if (c == u'\n' || c == u'\r' || !c.isSpace()) {
            break;
        }
        ++i;
    }
    if (!sql.mid(i, 2).startsWith(QLatin1String("--")))
        return QString();
    qsizetype end = i + 2;
    while (end < sql.size() && sql[end] != u'\n' && sql[end] != u'\r')
        ++end;
    return sql.mid(i + 2, end - i - 2).trimmed();
}

bool startsTableConstraint(const Token& first) {
    return isKeyword(first, "CONSTRAINT") || isKeyword(first, "PRIMARY") ||
           isKeyword(first, "UNIQUE") || isKeyword(first, "CHECK") || isKeyword(first, "FOREIGN");
}

size_t firstOpenParen(const Tokens& tokens, size_t from) {
    for (size_t i = from; i < tokens.size(); ++i) {
        if (isPunct(tokens[i], u'('))
            return i;
    }
    return tokens.size();
}

}  // namespace

TableDefinition readTableDefinition(const QString& createTableSql) {
    TableDefinition definition;
    const Tokens tokens = tokenize(createTableSql);
    const size_t open = firstOpenParen(tokens, 0);
    if (open >= tokens.size())
        return definition;
    const std::vector<Span> items = groupItems(tokens, open);
    if (!items.empty() && !items.front().empty())
        definition.comment = lineEndComment(createTableSql, tokens[open].end);
    for (const Span& item : items) {
        if (item.empty())
            continue;
        if (startsTableConstraint(tokens[item.begin])) {
            readTableConstraint(createTableSql, tokens, item, definition.constraints);
            continue;
        }
        readColumnDefinition(createTableSql, tokens, item, definition.constraints);
        const QString comment = lineEndComment(createTableSql, tokens[item.end - 1].end);
        if (!comment.isEmpty())
            definition.columnComments.push_back({nameOf(tokens, item.begin), comment});
    }
    return definition;
}

std::vector<KeyConstraint> keyConstraints(const QString& createTableSql) {
    std::vector<KeyConstraint> keys;
    for (KeyConstraint& constraint : readTableDefinition(createTableSql).constraints) {
        if (constraint.kind == KeyConstraint::Kind::PrimaryKey ||
            constraint.kind == KeyConstraint::Kind::Unique) {
            keys.push_back(std::move(constraint));
        }
    }
    return keys;
}

QString indexTerm(const QString& createIndexSql, int position) {
    const Tokens tokens = tokenize(createIndexSql);
    size_t on = 0;
    while (on < tokens.size() && !isKeyword(tokens[on], "ON"))
        ++on;
    const size_t open = firstOpenParen(tokens, on);
    if (open >= tokens.size() || position < 0)
        return QString();
    const std::vector<Span> items = groupItems(tokens, open);
    if (static_cast<size_t>(position) >= items.size())
        return QString();
    Span term = items[static_cast<size_t>(position)];
    if (term.end - term.begin > 1 &&
        (isKeyword(tokens[term.end - 1], "ASC") || isKeyword(tokens[term.end - 1], "DESC"))) {
        --term.end;
    }
    if (term.empty())
        return QString();
    const qsizetype begin = tokens[term.begin].begin;
    return createIndexSql.mid(begin, tokens[term.end - 1].end - begin);
}

bool mayIndexExpression(const QString& createIndexSql) {
    static const QRegularExpression plainColumn(
        QString::fromLatin1(R"re(^(?:"(?:[^"]|"")*"|`[^`]*`|\[[^\]]*\]|[\w$]+))re"
                            R"re((?:\s+COLLATE\s+(?:"(?:[^"]|"")*"|[\w$]+))?$)re"),
        QRegularExpression::CaseInsensitiveOption);
    for (int position = 0;; ++position) {
        const QString term = indexTerm(createIndexSql, position);
        if (term.isEmpty())
            return position == 0;
        if (!plainColumn.match(term).hasMatch())
            return true;
    }
}

}  // namespace quarnel::db
