#include "catalog/identifiers.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace quarnel::catalog {
namespace {

// Oracle's reserved words, sorted for binary search.
constexpr std::array kReservedWords = {
    "ACCESS",
    "ADD",
    "ALL",
    "ALTER",
    "AND",
    "ANY",
    "AS",
    "ASC",
    "AUDIT",
    "BETWEEN",
    "BY",
    "CHAR",
    "CHECK",
    "CLUSTER",
    "COLUMN",
    "COLUMN_VALUE",
    "COMMENT",
    "COMPRESS",
    "CONNECT",
    "CREATE",
    "CURRENT",
    "DATE",
    "DECIMAL",
    "DEFAULT",
    "DELETE",
    "DESC",
    "DISTINCT",
    "DROP",
    "ELSE",
    "EXCLUSIVE",
    "EXISTS",
    "FILE",
    "FLOAT",
    "FOR",
    "FROM",
    "GRANT",
    "GROUP",
    "HAVING",
    "IDENTIFIED",
    "IMMEDIATE",
    "IN",
    "INCREMENT",
    "INDEX",
    "INITIAL",
    "INSERT",
    "INTEGER",
    "INTERSECT",
    "INTO",
    "IS",
    "LEVEL",
    "LIKE",
    "LOCK",
    "LONG",
    "MAXEXTENTS",
    "MINUS",
    "MLSLABEL",
    "MODE",
    "MODIFY",
    "NESTED_TABLE_ID",
    "NOAUDIT",
    "NOCOMPRESS",
    "NOT",
    "NOWAIT",
    "NULL",
    "NUMBER",
    "OF",
    "OFFLINE",
    "ON",
    "ONLINE",
    "OPTION",
    "OR",
    "ORDER",
    "PCTFREE",
    "PRIOR",
    "PRIVILEGES",
    "PUBLIC",
    "RAW",
    "RENAME",
    "RESOURCE",
    "REVOKE",
    "ROW",
    "ROWID",
    "ROWNUM",
    "ROWS",
    "SELECT",
    "SESSION",
    "SET",
    "SHARE",
    "SIZE",
    "SMALLINT",
    "START",
    "SUCCESSFUL",
    "SYNONYM",
    "SYSDATE",
    "TABLE",
    "THEN",
    "TO",
    "TRIGGER",
    "UID",
    "UNION",
    "UNIQUE",
    "UPDATE",
    "USER",
    "VALIDATE",
    "VALUES",
    "VARCHAR",
    "VARCHAR2",
    "VIEW",
    "WHENEVER",
    "WHERE",
    "WITH",
};

static_assert(std::is_sorted(kReservedWords.begin(), kReservedWords.end(),
                             [](const char* a, const char* b) {
                                 return std::string_view(a) < std::string_view(b);
                             }));

bool isUpperAsciiLetter(QChar c) {
    return c >= u'A' && c <= u'Z';
}

bool isPlainTail(QChar c) {
    return isUpperAsciiLetter(c) || (c >= u'0' && c <= u'9') || c == u'_' || c == u'$' || c == u'#';
}

}  // namespace

bool isReservedWord(QStringView word) {
    const QByteArray latin1 = word.toLatin1();
    const std::string_view key(latin1.constData(), size_t(latin1.size()));
    return std::binary_search(kReservedWords.begin(), kReservedWords.end(), key,
                              [](std::string_view a, std::string_view b) { return a < b; });
}

bool isPlainIdentifier(QStringView name) {
    if (name.isEmpty() || !isUpperAsciiLetter(name.front()))
        return false;
    if (!std::all_of(name.begin() + 1, name.end(), isPlainTail))
        return false;
    return !isReservedWord(name);
}

QString sqlLiteralContent(const QString& text) {
    QString doubled = text;
    doubled.replace(u'\'', QStringLiteral("''"));
    return doubled;
}

QString sqlLiteral(const QString& text) {
    return u'\'' + sqlLiteralContent(text) + u'\'';
}

QString sqlIdentifier(const QString& name) {
    if (isPlainIdentifier(name))
        return name;
    QString quoted = name;
    quoted.replace(u'"', QStringLiteral("\"\""));
    return u'"' + quoted + u'"';
}

}  // namespace quarnel::catalog
