#include "db/sqlite_types.h"

#include <QStringList>

#include <algorithm>
#include <optional>
#include <vector>

namespace quarnel::db {
namespace {

// A declared type taken apart: the words outside parentheses joined by one space, upper case
// ("TIMESTAMP WITH TIME ZONE"), and the numbers of each parenthesised group ("(20 BYTE)" gives
// {20}; "(*,2)" gives {none, 2}).
struct ParsedType {
    QString name;
    std::vector<std::vector<std::optional<int>>> groups;
    // For each group, the number of words before it.
    std::vector<qsizetype> groupPositions;

    // Number `index` of the first group, or `fallback` when it is not given.
    int arg(size_t index, int fallback) const { return groupArg(0, index, fallback); }
    int groupArg(size_t group, size_t index, int fallback) const {
        if (group >= groups.size() || index >= groups[group].size())
            return fallback;
        return groups[group][index].value_or(fallback);
    }
    bool hasArgs() const { return !groups.empty() && !groups.front().empty(); }
    // The first number of the group that follows the first `words` words.
    int argAfterWords(qsizetype words, int fallback) const {
        for (size_t group = 0; group < groups.size(); ++group) {
            if (groupPositions[group] == words)
                return groupArg(group, 0, fallback);
        }
        return fallback;
    }
};

bool isWordChar(QChar c) {
    return c.isLetterOrNumber() || c == u'_' || c == u'$' || c == u'#';
}

ParsedType parse(const QString& declared) {
    ParsedType parsed;
    QStringList words;
    const QString text = declared.toUpper();
    int depth = 0;
    int sign = 1;
    for (qsizetype i = 0; i < text.size();) {
        const QChar c = text[i];
        if (c == u'(') {
            if (depth++ == 0) {
                parsed.groups.emplace_back(1);
                parsed.groupPositions.push_back(words.size());
                sign = 1;
            }
            ++i;
        } else if (c == u')') {
            depth = std::max(0, depth - 1);
            ++i;
        } else if (c == u',' && depth == 1) {
            parsed.groups.back().emplace_back();
            sign = 1;
            ++i;
        } else if (c == u'-' && depth == 1) {
            sign = -1;
            ++i;
        } else if (isWordChar(c)) {
            qsizetype end = i;
            while (end < text.size() && isWordChar(text[end]))
                ++end;
            const QString word = text.mid(i, end - i);
            if (depth == 0) {
                words.append(word);
            } else if (depth == 1 && !parsed.groups.back().back()) {
                bool ok = false;
                const int value = word.toInt(&ok);
                if (ok)
                    parsed.groups.back().back() = sign * value;
            }
            i = end;
        } else {
            ++i;
        }
    }
    // "NUMBER()" and the like: an empty group counts as no arguments.
    for (auto& group : parsed.groups) {
        if (group.size() == 1 && !group.front())
            group.clear();
    }
    parsed.name = words.join(u' ');
    return parsed;
}

bool isOneOf(const QString& name, std::initializer_list<const char*> names) {
    for (const char* candidate : names) {
        if (name == QLatin1String(candidate))
            return true;
    }
    return false;
}

constexpr ColumnType varchar2(int size) {
    return {oracle_type::kVarchar2, size, 0, 0, 10};
}
constexpr ColumnType number(int precision, int scale) {
    return {oracle_type::kNumber, 22, precision, scale, 7};
}
constexpr ColumnType kBinaryDouble{oracle_type::kBinaryDouble, 8, 0, 0, 7};
constexpr ColumnType kClob{oracle_type::kClob, 4000, 0, 0, 12};
constexpr ColumnType kBlob{oracle_type::kBlob, 4000, 0, 0, 11};

// FLOAT(p): a NUMBER with a binary precision.
constexpr ColumnType binaryFloat(int precision) {
    return number(precision, oracle_type::kFloatScale);
}

// Names not known by name, by SQLite's own column affinity rules in SQLite's order, but for the
// last rule: only a name that says something numeric is a NUMBER; any other is text.
ColumnType byAffinity(const QString& declared, const ParsedType& parsed) {
    const QString upper = declared.toUpper();
    const auto containsAny = [&](std::initializer_list<const char*> parts) {
        for (const char* part : parts) {
            if (upper.contains(QLatin1String(part)))
                return true;
        }
        return false;
    };
    if (upper.contains(u"INT"))
        return number(38, 0);
    if (upper.contains(u"CLOB"))
        return parsed.hasArgs() ? varchar2(parsed.arg(0, 4000)) : kClob;
    if (containsAny({"CHAR", "TEXT"}))
        return varchar2(parsed.arg(0, 4000));
    if (upper.contains(u"BLOB"))
        return kBlob;
    if (containsAny({"REAL", "FLOA", "DOUB"}))
        return binaryFloat(126);
    if (containsAny({"NUM", "DEC", "MONEY", "SERIAL"}))
        return number(parsed.arg(0, 0), parsed.arg(1, 0));
    return varchar2(4000);
}

}  // namespace

// Declared type (n, p, s, f: the declared numbers) and the description reported for it:
//
// | declared                                   | OraIDataType | Size  | Precision/Scale | Type |
// |--------------------------------------------|--------------|-------|-----------------|------|
// | VARCHAR2(n), VARCHAR(n), NVARCHAR2(n),     | 1            | n     | 0 / 0           | 10   |
// |   NVARCHAR(n), CHARACTER VARYING(n)        |              | (4000 without n)        |      |
// | NUMBER(p,s), DECIMAL(p,s), NUMERIC(p,s),   | 2            | 22    | p / s (0 / 0    | 7    |
// |   DEC(p,s) (s, p default to 0)             |              |       |   when bare)    |      |
// | FLOAT(p)                                   | 2            | 22    | p / -127        | 7    |
// |   (bare FLOAT: p = 126)                    |              |       |                 |      |
// | BOOLEAN, BOOL                              | 2            | 22    | 1 / 0           | 7    |
// | LONG, LONG VARCHAR                         | 8            | 0     | 0 / 0           | 12   |
// | ROWID                                      | 11           | 10    | 0 / 0           | 10   |
// | DATE, DATETIME                             | 12           | 7     | 0 / 0           | 8    |
// | RAW(n)                                     | 23           | n (2000 without n)      | 11   |
// | LONG RAW                                   | 24           | 0     | 0 / 0           | 11   |
// | CHAR(n), NCHAR(n), CHARACTER(n),           | 96           | n (1 without n)         | 10   |
// |   NATIONAL CHAR(n), NATIONAL CHARACTER(n)  |              |       |                 |      |
// | BINARY_FLOAT                               | 100          | 4     | 0 / 0           | 6    |
// | REAL, FLOAT4                               | 2            | 22    | 63 / -127       | 7    |
// | DOUBLE, DOUBLE PRECISION, FLOAT8           | 2            | 22    | 126 / -127      | 7    |
// | BINARY_DOUBLE                              | 101          | 8     | 0 / 0           | 7    |
// | MLSLABEL                                   | 106          | 255   | 0 / 0           | 10   |
// | TEXT, TINYTEXT                             | 1            | 4000  | 0 / 0           | 10   |
// | CLOB, NCLOB, MEDIUMTEXT, LONGTEXT          | 112          | 4000  | 0 / 0           | 12   |
// | BLOB                                       | 113          | 4000  | 0 / 0           | 11   |
// | BFILE                                      | 114          | 530   | 0 / 0           | 11   |
// | TIMESTAMP(f) [WITHOUT TIME ZONE]           | 180          | 11    | 0 / f (6)       | 8    |
// | TIMESTAMP(f) WITH TIME ZONE                | 181          | 13    | 0 / f (6)       | 8    |
// | INTERVAL YEAR(p) TO MONTH                  | 182          | 5     | p (2) / 0       | 10   |
// | INTERVAL DAY(p) TO SECOND(f)               | 183          | 11    | p (2) / f (6)   | 10   |
// | UROWID(n)                                  | 208          | n (4000 without n)      | 10   |
// | TIMESTAMP(f) WITH LOCAL TIME ZONE          | 231          | 11    | 0 / f (6)       | 8    |
// | no declared type                           | 1            | 4000  | 0 / 0           | 10   |
// | anything else, by SQLite's affinity rules: |              |       |                 |      |
// |   name contains INT (INTEGER, BIGINT, ...) | 2            | 22    | 38 / 0          | 7    |
// |   contains CLOB, without (n)               | 112          | 4000  | 0 / 0           | 12   |
// |   contains CLOB, CHAR or TEXT              | 1            | n (4000 without n)      | 10   |
// |   contains BLOB                            | 113          | 4000  | 0 / 0           | 11   |
// |   contains REAL, FLOA or DOUB              | 2            | 22    | 126 / -127      | 7    |
// |   contains NUM, DEC, MONEY or SERIAL       | 2            | 22    | p / s (0 / 0)   | 7    |
// |   any other name (STRING, JSON, UUID, ...) | 1            | 4000  | 0 / 0           | 10   |
ColumnType describeDeclaredType(const QString& declared) {
    const ParsedType parsed = parse(declared);
    const QString& name = parsed.name;
    if (name.isEmpty())
        return varchar2(4000);
    if (isOneOf(name, {"VARCHAR2", "VARCHAR", "NVARCHAR2", "NVARCHAR", "CHARACTER VARYING",
                       "CHAR VARYING", "NATIONAL CHARACTER VARYING", "NATIONAL CHAR VARYING"})) {
        return varchar2(parsed.arg(0, 4000));
    }
    if (isOneOf(name, {"CHAR", "NCHAR", "CHARACTER", "NATIONAL CHAR", "NATIONAL CHARACTER"})) {
        return {oracle_type::kChar, parsed.arg(0, 1), 0, 0, 10};
    }
    if (isOneOf(name, {"NUMBER", "DECIMAL", "NUMERIC", "DEC"})) {
        return number(parsed.arg(0, 0), parsed.arg(1, 0));
    }
    if (name == u"FLOAT")
        return number(parsed.arg(0, 126), -127);
    if (isOneOf(name, {"BOOLEAN", "BOOL"}))
        return number(1, 0);
    if (isOneOf(name, {"LONG", "LONG VARCHAR"}))
        return {oracle_type::kLong, 0, 0, 0, 12};
    if (name == u"ROWID")
        return {oracle_type::kRowid, 10, 0, 0, 10};
    if (isOneOf(name, {"DATE", "DATETIME"}))
        return {oracle_type::kDate, 7, 0, 0, 8};
    if (name == u"RAW")
        return {oracle_type::kRaw, parsed.arg(0, 2000), 0, 0, 11};
    if (name == u"LONG RAW")
        return {oracle_type::kLongRaw, 0, 0, 0, 11};
    if (name == u"MLSLABEL")
        return {oracle_type::kMlslabel, 255, 0, 0, 10};
    if (name == u"BINARY_FLOAT")
        return {oracle_type::kBinaryFloat, 4, 0, 0, 6};
    if (name == u"BINARY_DOUBLE")
        return kBinaryDouble;
    // ANSI and other dialects' floating-point names, converted as Oracle converts them.
    if (isOneOf(name, {"REAL", "FLOAT4"}))
        return binaryFloat(63);
    if (isOneOf(name, {"DOUBLE", "DOUBLE PRECISION", "FLOAT8"}))
        return binaryFloat(126);
    if (isOneOf(name, {"TEXT", "TINYTEXT"}))
        return varchar2(4000);
    if (isOneOf(name, {"CLOB", "NCLOB", "MEDIUMTEXT", "LONGTEXT"}))
        return kClob;
    if (name == u"BLOB")
        return kBlob;
    if (name == u"BFILE")
        return {oracle_type::kBfile, 530, 0, 0, 11};
    if (isOneOf(name, {"TIMESTAMP", "TIMESTAMP WITHOUT TIME ZONE"}))
        return {oracle_type::kTimestamp, 11, 0, parsed.arg(0, 6), 8};
    if (name == u"TIMESTAMP WITH TIME ZONE")
        return {oracle_type::kTimestampTz, 13, 0, parsed.arg(0, 6), 8};
    if (name == u"TIMESTAMP WITH LOCAL TIME ZONE")
        return {oracle_type::kTimestampLtz, 11, 0, parsed.arg(0, 6), 8};
    if (name == u"INTERVAL YEAR TO MONTH")
        return {oracle_type::kIntervalYearToMonth, 5, parsed.argAfterWords(2, 2), 0, 10};
    if (name == u"INTERVAL DAY TO SECOND") {
        return {oracle_type::kIntervalDayToSecond, 11, parsed.argAfterWords(2, 2),
                parsed.argAfterWords(4, 6), 10};
    }
    if (name == u"UROWID")
        return {oracle_type::kUrowid, parsed.arg(0, 4000), 0, 0, 10};
    return byAffinity(declared, parsed);
}

// Dictionary rows, by described type code:
//
// | code | data_type                        | data_length | data_precision | data_scale |
// |------|----------------------------------|-------------|----------------|------------|
// | 1    | VARCHAR2 (char_used 'B')         | size        |                |            |
// | 96   | CHAR (char_used 'B')             | size        |                |            |
// | 2    | NUMBER, scale -127: FLOAT        | 22          | precision      | scale (none for FLOAT)
// | | 180  | TIMESTAMP(f)                     | 11          |                | f          | | 181
// | TIMESTAMP(f) WITH TIME ZONE      | 13          |                | f          | | 231  |
// TIMESTAMP(f) WITH LOCAL TIME ZONE | 11         |                | f          | | 182  | INTERVAL
// YEAR(p) TO MONTH        | 5           | p              | 0          | | 183  | INTERVAL DAY(p) TO
// SECOND(f)     | 11          | p              | f          | | else | the type's name (LONG, RAW,
// ...)  | size        |                |            | A NUMBER declared without precision is
// described with precision 0 and scale 0, and so has data_precision 0 and data_scale 0 (Oracle
// itself leaves both empty for a bare NUMBER).
DictionaryType dictionaryType(const ColumnType& type) {
    using namespace oracle_type;
    DictionaryType row;
    row.length = type.size;
    switch (type.oraIDataType) {
        case kVarchar2:
        case kChar:
            row.dataType =
                type.oraIDataType == kChar ? QStringLiteral("CHAR") : QStringLiteral("VARCHAR2");
            row.charUsed = 'B';
            row.charLength = type.size;
            break;
        case kNumber:
            row.precision = type.precision;
            if (type.scale == kFloatScale) {
                row.dataType = QStringLiteral("FLOAT");
            } else {
                row.dataType = QStringLiteral("NUMBER");
                row.scale = type.scale;
            }
            break;
        case kTimestamp:
        case kTimestampTz:
        case kTimestampLtz: {
            const char* zone = type.oraIDataType == kTimestampTz    ? " WITH TIME ZONE"
                               : type.oraIDataType == kTimestampLtz ? " WITH LOCAL TIME ZONE"
                                                                    : "";
            row.dataType =
                QStringLiteral("TIMESTAMP(%1)%2").arg(type.scale).arg(QLatin1String(zone));
            row.scale = type.scale;
            break;
        }
        case kIntervalYearToMonth:
            row.dataType = QStringLiteral("INTERVAL YEAR(%1) TO MONTH").arg(type.precision);
            row.precision = type.precision;
            row.scale = 0;
            break;
        case kIntervalDayToSecond:
            row.dataType = QStringLiteral("INTERVAL DAY(%1) TO SECOND(%2)")
                               .arg(type.precision)
                               .arg(type.scale);
            row.precision = type.precision;
            row.scale = type.scale;
            break;
        case kLong:
            row.dataType = QStringLiteral("LONG");
            break;
        case kLongRaw:
            row.dataType = QStringLiteral("LONG RAW");
            break;
        case kRaw:
            row.dataType = QStringLiteral("RAW");
            break;
        case kRowid:
            row.dataType = QStringLiteral("ROWID");
            break;
        case kUrowid:
            row.dataType = QStringLiteral("UROWID");
            break;
        case kDate:
            row.dataType = QStringLiteral("DATE");
            break;
        case kBinaryFloat:
            row.dataType = QStringLiteral("BINARY_FLOAT");
            break;
        case oracle_type::kBinaryDouble:
            row.dataType = QStringLiteral("BINARY_DOUBLE");
            break;
        case kMlslabel:
            row.dataType = QStringLiteral("MLSLABEL");
            break;
        case oracle_type::kClob:
            row.dataType = QStringLiteral("CLOB");
            break;
        case oracle_type::kBlob:
            row.dataType = QStringLiteral("BLOB");
            break;
        case kBfile:
            row.dataType = QStringLiteral("BFILE");
            break;
        default:
            row.dataType = QStringLiteral("UNDEFINED");
            break;
    }
    return row;
}

}  // namespace quarnel::db
