#include "db/sqlite_declared_table.h"

#include <sqlite3.h>

#include <algorithm>

namespace quarnel::db {
namespace {

// Thrown inside the reader when a statement holds something it does not know.
struct Unsupported {};

[[noreturn]] void unsupported() {
    throw Unsupported{};
}

// SQLite's character classes: white space, and the characters of a name (any non-ASCII one).
bool isSpace(QChar c) {
    return c == u' ' || (c.unicode() >= 0x09 && c.unicode() <= 0x0d);
}
bool isNameStart(QChar c) {
    const char16_t u = c.unicode();
    return u >= 0x80 || (u >= u'a' && u <= u'z') || (u >= u'A' && u <= u'Z') || u == u'_';
}
bool isDigit(QChar c) {
    return c.unicode() >= u'0' && c.unicode() <= u'9';
}
bool isNameChar(QChar c) {
    return isNameStart(c) || isDigit(c) || c == u'$';
}

char16_t asciiUpper(char16_t c) {
    return c >= u'a' && c <= u'z' ? char16_t(c - 32) : c;
}

// Names compared as SQLite compares them: ASCII letters without regard to case.
bool sameName(QStringView a, QStringView b) {
    if (a.size() != b.size())
        return false;
    for (qsizetype i = 0; i < a.size(); ++i) {
        if (asciiUpper(a[i].unicode()) != asciiUpper(b[i].unicode()))
            return false;
    }
    return true;
}

struct Token {
    enum class Kind { Word, Quoted, String, Number, Blob, Punct, End };
    Kind kind = Kind::End;
    qsizetype begin = 0;
    qsizetype end = 0;
    // A word as written (sharing the statement's text, which must outlive it), a quoted name
    // without its quotes.
    QString name;
};

class Tokenizer {
  public:
    explicit Tokenizer(const QString& sql) : m_sql(sql) {}

    std::vector<Token> all() {
        std::vector<Token> tokens;
        tokens.reserve(size_t(m_sql.size() / 4));
        for (;;) {
            skipSpaceAndComments();
            Token token;
            token.begin = m_at;
            if (m_at >= m_sql.size()) {
                token.end = m_at;
                tokens.push_back(token);
                return tokens;
            }
            read(token);
            token.end = m_at;
            tokens.push_back(std::move(token));
        }
    }

  private:
    QChar at(qsizetype i) const { return i < m_sql.size() ? m_sql[i] : QChar(); }

    // A byte order mark where a token would start counts as white space, as in SQLite.
    void skipSpaceAndComments() {
        for (;;) {
            if (m_at < m_sql.size() && (isSpace(m_sql[m_at]) || m_sql[m_at] == QChar(0xfeff))) {
                ++m_at;
            } else if (at(m_at) == u'-' && at(m_at + 1) == u'-') {
                while (m_at < m_sql.size() && m_sql[m_at] != u'\n')
                    ++m_at;
            } else if (at(m_at) == u'/' && at(m_at + 1) == u'*') {
                const qsizetype close = m_sql.indexOf(QLatin1String("*/"), m_at + 2);
                m_at = close < 0 ? m_sql.size() : close + 2;
            } else {
                return;
            }
        }
    }

    // Reads up to the closing `close`, a doubled one standing for itself unless `close` is ']'.
    QString quoted(QChar close) {
        QString text;
        ++m_at;
        while (m_at < m_sql.size()) {
            const QChar c = m_sql[m_at++];
            if (c != close) {
                text += c;
            } else if (close != u']' && at(m_at) == close) {
                text += c;
                ++m_at;
            } else {
                return text;
            }
        }
        unsupported();
    }

    void read(Token& token) {
        const QChar c = m_sql[m_at];
        if (c == u'"' || c == u'`' || c == u'[') {
            token.kind = Token::Kind::Quoted;
            token.name = quoted(c == u'[' ? QChar(u']') : c);
        } else if (c == u'\'') {
            token.kind = Token::Kind::String;
            quoted(c);
        } else if ((c == u'x' || c == u'X') && at(m_at + 1) == u'\'') {
            token.kind = Token::Kind::Blob;
            ++m_at;
            quoted(u'\'');
        } else if (isNameStart(c)) {
            token.kind = Token::Kind::Word;
            while (m_at < m_sql.size() && isNameChar(m_sql[m_at]))
                ++m_at;
            token.name = QString::fromRawData(m_sql.constData() + token.begin, m_at - token.begin);
        } else if (isDigit(c) || (c == u'.' && isDigit(at(m_at + 1)))) {
            token.kind = Token::Kind::Number;
            number();
        } else if (QStringView(u"(),;.+-*/%<>=!|&~").contains(c)) {
            token.kind = Token::Kind::Punct;
            ++m_at;
        } else {
            unsupported();
        }
    }

    void number() {
        if (at(m_at) == u'0' && (at(m_at + 1) == u'x' || at(m_at + 1) == u'X')) {
            m_at += 2;
            while (isDigit(at(m_at)) || QStringView(u"abcdefABCDEF").contains(at(m_at)))
                ++m_at;
        } else {
            while (isDigit(at(m_at)))
                ++m_at;
            if (at(m_at) == u'.') {
                ++m_at;
                while (isDigit(at(m_at)))
                    ++m_at;
            }
            if ((at(m_at) == u'e' || at(m_at) == u'E') &&
                (isDigit(at(m_at + 1)) ||
                 ((at(m_at + 1) == u'+' || at(m_at + 1) == u'-') && isDigit(at(m_at + 2))))) {
                m_at += 2;
                while (isDigit(at(m_at)))
                    ++m_at;
            }
        }
        if (m_at < m_sql.size() && isNameChar(m_sql[m_at]))
            unsupported();
    }

    const QString& m_sql;
    qsizetype m_at = 0;
};

// A PRIMARY KEY or UNIQUE constraint: the columns it names, in key order.
struct KeyDeclaration {
    bool primary = false;
    std::vector<int> columns;
    std::vector<bool> descending;
    // A column's own PRIMARY KEY DESC, which keeps an INTEGER column from being the rowid.
    bool descendingColumnKey = false;
};

class Reader {
  public:
    explicit Reader(const QString& sql) : m_sql(sql), m_tokens(Tokenizer(sql).all()) {}

    // CREATE TABLE name ( column, ... [, constraint ...] )
    void readTable(std::vector<DeclaredTable::Column>& columns, std::vector<KeyDeclaration>& keys,
                   std::vector<QString>& names) {
        m_columns = &columns;
        m_keys = &keys;
        expectWord("CREATE");
        expectWord("TABLE");
        skipIfNotExists();
        qualifiedName();
        expectPunct(u'(');
        do {
            if (startsTableConstraint()) {
                tableConstraints();
                break;
            }
            column();
        } while (acceptPunct(u','));
        expectPunct(u')');
        expectEnd();
        names = std::move(m_names);
    }

    // CREATE [UNIQUE] INDEX name ON table ( column [ASC|DESC], ... ) [WHERE ...], over the
    // columns of the table `columns` whose names are `names`.
    DeclaredTable::Index readIndex(const std::vector<DeclaredTable::Column>& columns,
                                   const std::vector<QString>& names) {
        DeclaredTable::Index index;
        index.origin = "c";
        expectWord("CREATE");
        index.unique = acceptWord("UNIQUE");
        expectWord("INDEX");
        skipIfNotExists();
        qualifiedName();
        expectWord("ON");
        name();
        expectPunct(u'(');
        do {
            const int column = columnNamed(names, name());
            if (std::any_of(index.columns.begin(), index.columns.end(),
                            [&](const DeclaredTable::Index::Column& c) {
                                return c.name == columns[size_t(column)].name;
                            }))
                unsupported();
            index.columns.push_back({columns[size_t(column)].name, sortOrder()});
        } while (acceptPunct(u','));
        expectPunct(u')');
        if (!acceptWord("WHERE"))
            expectEnd();
        return index;
    }

  private:
    const Token& peek(size_t ahead = 0) const {
        return m_tokens[std::min(m_at + ahead, m_tokens.size() - 1)];
    }
    const Token& take() {
        const Token& token = peek();
        if (m_at < m_tokens.size() - 1)
            ++m_at;
        return token;
    }
    QStringView textOf(const Token& token) const {
        return QStringView(m_sql).mid(token.begin, token.end - token.begin);
    }

    // Whether `token` is the keyword `word` (given in capitals).
    bool isWord(const Token& token, const char* word) const {
        if (token.kind != Token::Kind::Word || token.name.size() != qsizetype(qstrlen(word)))
            return false;
        for (qsizetype i = 0; i < token.name.size(); ++i) {
            if (asciiUpper(token.name[i].unicode()) != char16_t(word[i]))
                return false;
        }
        return true;
    }
    bool isPunct(const Token& token, char16_t c) const {
        return token.kind == Token::Kind::Punct && m_sql[token.begin] == c;
    }
    static bool isKeyword(const Token& token) {
        // Keywords are ASCII and at most 17 letters long.
        char word[24];
        if (token.kind != Token::Kind::Word || token.name.size() >= qsizetype(sizeof word))
            return false;
        for (qsizetype i = 0; i < token.name.size(); ++i) {
            const char16_t c = token.name[i].unicode();
            if (c >= 0x80)
                return false;
            word[i] = char(c);
        }
        return sqlite3_keyword_check(word, int(token.name.size())) != 0;
    }

    bool acceptWord(const char* word) {
        if (!isWord(peek(), word))
            return false;
        take();
        return true;
    }
    void expectWord(const char* word) {
        if (!acceptWord(word))
            unsupported();
    }
    bool acceptPunct(char16_t c) {
        if (!isPunct(peek(), c))
            return false;
        take();
        return true;
    }
    void expectPunct(char16_t c) {
        if (!acceptPunct(c))
            unsupported();
    }
    void expectEnd() {
        acceptPunct(u';');
        if (peek().kind != Token::Kind::End)
            unsupported();
    }

    void skipIfNotExists() {
        if (acceptWord("IF")) {
            expectWord("NOT");
            expectWord("EXISTS");
        }
    }

    // A name: a word that is no keyword, or a quoted name.
    QString name() {
        const Token& token = take();
        if (token.kind == Token::Kind::Quoted ||
            (token.kind == Token::Kind::Word && !isKeyword(token)))
            return token.name;
        unsupported();
    }
    void qualifiedName() {
        name();
        if (acceptPunct(u'.'))
            name();
    }

    static int columnNamed(const std::vector<QString>& names, const QString& name) {
        for (size_t i = 0; i < names.size(); ++i) {
            if (sameName(names[i], name))
                return int(i);
        }
        unsupported();
    }

    bool sortOrder() {
        if (acceptWord("DESC"))
            return true;
        acceptWord("ASC");
        return false;
    }

    // Skips a parenthesized text, the parenthesis first; returns the text between them.
    QStringView parenthesized() {
        const Token& open = peek();
        expectPunct(u'(');
        int depth = 1;
        for (;;) {
            const Token& token = take();
            if (token.kind == Token::Kind::End)
                unsupported();
            if (isPunct(token, u'('))
                ++depth;
            else if (isPunct(token, u')') && --depth == 0)
                return QStringView(m_sql).mid(open.end, token.begin - open.end);
        }
    }

    void noConflictClause() {
        if (isWord(peek(), "ON"))
            unsupported();
    }

    void column() {
        DeclaredTable::Column column;
        m_names.push_back(name());
        column.name = m_names.back().toUtf8();
        column.type = typeName();
        m_columns->push_back(std::move(column));
        const int index = int(m_columns->size()) - 1;
        while (!isPunct(peek(), u',') && !isPunct(peek(), u')'))
            columnConstraint(index);
    }

    // The words of a type and its ( size [, scale] ), spelled as written.
    QString typeName() {
        const Token& first = peek();
        qsizetype end = first.begin;
        while (peek().kind == Token::Kind::Word && !isKeyword(peek()))
            end = take().end;
        if (end == first.begin)
            return QString();
        if (isPunct(peek(), u'(')) {
            take();
            signedNumber();
            if (acceptPunct(u','))
                signedNumber();
            end = peek().end;
            expectPunct(u')');
        }
        QString type = m_sql.mid(first.begin, end - first.begin);
        // SQLite cuts a trailing "always" (and "generated" before it) off a long type, which
        // it takes for the start of a generated column.
        if (type.endsWith(QLatin1String("always"), Qt::CaseInsensitive))
            unsupported();
        // Since 3.37 SQLite keeps the six type names of its own (those a STRICT table takes) as
        // codes, and reports them in capitals.
        static const bool standardTypesAsCodes = sqlite3_libversion_number() >= 3037000;
        if (standardTypesAsCodes) {
            for (const char16_t* standard :
                 {u"ANY", u"BLOB", u"INT", u"INTEGER", u"REAL", u"TEXT"}) {
                if (sameName(type, standard))
                    return QString::fromUtf16(standard);
            }
        }
        return type;
    }

    void signedNumber() {
        if (!acceptPunct(u'+'))
            acceptPunct(u'-');
        if (take().kind != Token::Kind::Number)
            unsupported();
    }

    void columnConstraint(int column) {
        DeclaredTable::Column& target = (*m_columns)[size_t(column)];
        if (acceptWord("CONSTRAINT"))
            name();
        if (acceptWord("PRIMARY")) {
            expectWord("KEY");
            const bool descending = sortOrder();
            noConflictClause();
            acceptWord("AUTOINCREMENT");
            m_keys->push_back({true, {column}, {descending}, descending});
        } else if (isWord(peek(), "NOT") && isWord(peek(1), "NULL")) {
            take();
            take();
            noConflictClause();
            target.notNull = true;
        } else if (acceptWord("NULL")) {
            noConflictClause();
        } else if (acceptWord("UNIQUE")) {
            noConflictClause();
            m_keys->push_back({false, {column}, {false}});
        } else if (acceptWord("CHECK")) {
            parenthesized();
        } else if (acceptWord("DEFAULT")) {
            target.defaultText = defaultText();
        } else if (acceptWord("REFERENCES")) {
            references();
        } else if (isWord(peek(), "NOT") || isWord(peek(), "DEFERRABLE")) {
            deferrable();
        } else {
            unsupported();
        }
    }

    // The text SQLite keeps of a DEFAULT: a value as written, a signed number from its sign, an
    // expression in parentheses without them and the spaces at either end.
    QByteArray defaultText() {
        const Token& first = peek();
        if (isPunct(first, u'(')) {
            QStringView inner = parenthesized();
            while (!inner.isEmpty() && isSpace(inner.front()))
                inner = inner.mid(1);
            while (!inner.isEmpty() && isSpace(inner.back()))
                inner.chop(1);
            return inner.toUtf8();
        }
        if (isPunct(first, u'+') || isPunct(first, u'-')) {
            take();
            const Token& term = take();
            if (!isTerm(term))
                unsupported();
            return QStringView(m_sql).mid(first.begin, term.end - first.begin).toUtf8();
        }
        const Token& term = take();
        if (!isTerm(term) && (term.kind != Token::Kind::Word || isKeyword(term)))
            unsupported();
        return textOf(term).toUtf8();
    }

    bool isTerm(const Token& token) const {
        return token.kind == Token::Kind::Number || token.kind == Token::Kind::String ||
               token.kind == Token::Kind::Blob || isWord(token, "NULL") ||
               isWord(token, "CURRENT_TIME") || isWord(token, "CURRENT_DATE") ||
               isWord(token, "CURRENT_TIMESTAMP");
    }

    // REFERENCES table [( columns )] [ON DELETE|UPDATE action | MATCH name]...
    // [[NOT] DEFERRABLE [INITIALLY DEFERRED|IMMEDIATE]]; read by SQLite's foreign-key list.
    void references() {
        name();
        if (isPunct(peek(), u'(')) {
            take();
            do
                name();
            while (acceptPunct(u','));
            expectPunct(u')');
        }
        for (;;) {
            if (acceptWord("MATCH")) {
                if (take().kind != Token::Kind::Word)
                    unsupported();
            } else if (isWord(peek(), "ON")) {
                take();
                if (!acceptWord("DELETE") && !acceptWord("UPDATE"))
                    unsupported();
                if (acceptWord("SET")) {
                    if (!acceptWord("NULL") && !acceptWord("DEFAULT"))
                        unsupported();
                } else if (acceptWord("NO")) {
                    expectWord("ACTION");
                } else if (!acceptWord("CASCADE") && !acceptWord("RESTRICT")) {
                    unsupported();
                }
            } else {
                break;
            }
        }
        if (isWord(peek(), "DEFERRABLE") ||
            (isWord(peek(), "NOT") && isWord(peek(1), "DEFERRABLE")))
            deferrable();
    }

    // [NOT] DEFERRABLE [INITIALLY DEFERRED|IMMEDIATE]
    void deferrable() {
        acceptWord("NOT");
        expectWord("DEFERRABLE");
        if (acceptWord("INITIALLY") && !acceptWord("DEFERRED"))
            expectWord("IMMEDIATE");
    }

    bool startsTableConstraint() const {
        return isWord(peek(), "CONSTRAINT") || isWord(peek(), "PRIMARY") ||
               isWord(peek(), "UNIQUE") || isWord(peek(), "CHECK") || isWord(peek(), "FOREIGN");
    }

    // Table constraints, with or without commas between them.
    void tableConstraints() {
        while (!isPunct(peek(), u')')) {
            if (acceptWord("CONSTRAINT"))
                name();
            if (acceptWord("PRIMARY")) {
                expectWord("KEY");
                m_keys->push_back(keyColumns(true));
                noConflictClause();
            } else if (acceptWord("UNIQUE")) {
                m_keys->push_back(keyColumns(false));
                noConflictClause();
            } else if (acceptWord("CHECK")) {
                parenthesized();
                noConflictClause();
            } else if (acceptWord("FOREIGN")) {
                expectWord("KEY");
                expectPunct(u'(');
                do
                    name();
                while (acceptPunct(u','));
                expectPunct(u')');
                expectWord("REFERENCES");
                references();
            } else {
                unsupported();
            }
            acceptPunct(u',');
        }
    }

    KeyDeclaration keyColumns(bool primary) {
        KeyDeclaration key;
        key.primary = primary;
        expectPunct(u'(');
        do {
            const int column = columnNamed(m_names, name());
            if (std::find(key.columns.begin(), key.columns.end(), column) != key.columns.end())
                unsupported();
            key.columns.push_back(column);
            key.descending.push_back(sortOrder());
        } while (acceptPunct(u','));
        if (primary)
            acceptWord("AUTOINCREMENT");
        expectPunct(u')');
        return key;
    }

    const QString& m_sql;
    std::vector<Token> m_tokens;
    size_t m_at = 0;
    std::vector<DeclaredTable::Column>* m_columns = nullptr;
    std::vector<KeyDeclaration>* m_keys = nullptr;
    std::vector<QString> m_names;  // the columns' names, as read
};

}  // namespace

std::optional<DeclaredTable> readDeclaredTable(const QByteArray& tableName,
                                               const QString& createTableSql,
                                               const std::vector<IndexStatement>& indexes) {
    if (createTableSql.contains(QChar::ReplacementCharacter))
        return std::nullopt;
    try {
        DeclaredTable table;
        std::vector<KeyDeclaration> keys;
        std::vector<QString> names;
        Reader(createTableSql).readTable(table.columns, keys, names);

        // The keys' indexes, as SQLite makes them while it reads the statement: an INTEGER
        // column's ascending primary key is the rowid and has none; a key with the columns of one
        // made before shares that one (a primary key making it the primary key's).
        std::vector<DeclaredTable::Index> made;
        bool hasPrimaryKey = false;
        for (const KeyDeclaration& key : keys) {
            if (key.primary) {
                if (hasPrimaryKey)
                    unsupported();
                hasPrimaryKey = true;
                for (size_t i = 0; i < key.columns.size(); ++i)
                    table.columns[size_t(key.columns[i])].primaryKey = int(i) + 1;
                if (key.columns.size() == 1 && !key.descendingColumnKey &&
                    sameName(table.columns[size_t(key.columns[0])].type, u"INTEGER"))
                    continue;
            }
            const auto same = std::find_if(made.begin(), made.end(), [&](const auto& index) {
                if (index.columns.size() != key.columns.size())
                    return false;
                for (size_t i = 0; i < key.columns.size(); ++i) {
                    if (index.columns[i].name != table.columns[size_t(key.columns[i])].name)
                        return false;
                }
                return true;
            });
            if (same != made.end()) {
                if (key.primary)
                    same->origin = "pk";
                continue;
            }
            DeclaredTable::Index index;
            index.name =
                "sqlite_autoindex_" + tableName + '_' + QByteArray::number(made.size() + 1);
            index.unique = true;
            index.origin = key.primary ? "pk" : "u";
            for (size_t i = 0; i < key.columns.size(); ++i)
                index.columns.push_back(
                    {table.columns[size_t(key.columns[i])].name, bool(key.descending[i])});
            made.push_back(std::move(index));
        }
        for (const IndexStatement& statement : indexes) {
            if (statement.sql.contains(QChar::ReplacementCharacter))
                return std::nullopt;
            made.push_back(Reader(statement.sql).readIndex(table.columns, names));
            made.back().name = statement.name;
        }
        // SQLite lists a table's indexes newest first.
        table.indexes.assign(std::make_move_iterator(made.rbegin()),
                             std::make_move_iterator(made.rend()));
        return table;
    } catch (const Unsupported&) {
        return std::nullopt;
    }
}

}  // namespace quarnel::db
