// Names in SQL text: when a name may stand bare, and how literals and quoted identifiers are
// written.
#pragma once

#include <QString>
#include <QStringView>

namespace quarnel::catalog {

// True for one of Oracle's reserved words (upper case, as the dictionary stores names).
bool isReservedWord(QStringView word);

// True when `name` may stand unquoted in SQL and means itself there: an upper-case ASCII letter
// first, then only upper-case ASCII letters, digits, '_', '$' and '#', and not a reserved word.
bool isPlainIdentifier(QStringView name);

// `text` with each ' doubled, to be placed between the quotes of an SQL string literal.
QString sqlLiteralContent(const QString& text);

// `text` as a complete SQL string literal: '...' with each inner ' doubled.
QString sqlLiteral(const QString& text);

// `name` as an SQL identifier: a plain identifier as it is, any other name in double quotes with
// each inner " doubled.
QString sqlIdentifier(const QString& name);

}  // namespace quarnel::catalog
