#include "catalog/column_types.h"

namespace quarnel::catalog {
namespace {

using namespace oracle_type;

// The describe codes of the datetime and interval types stand for the dictionary's codes.
int dictionaryCode(int code) {
    switch (code) {
        case kTimestampDescribed:
            return kTimestamp;
        case kTimestampTzDescribed:
            return kTimestampTz;
        case kTimestampLtzDescribed:
            return kTimestampLtz;
        case kIntervalYearToMonthDescribed:
            return kIntervalYearToMonth;
        case kIntervalDayToSecondDescribed:
            return kIntervalDayToSecond;
        default:
            return code;
    }
}

bool readsPrecision(int code) {
    code = dictionaryCode(code);
    return code == kNumber || code == kIntervalYearToMonth || code == kIntervalDayToSecond;
}

bool readsScale(int code) {
    code = dictionaryCode(code);
    return code == kNumber || code == kTimestamp || code == kTimestampTz || code == kTimestampLtz ||
           code == kIntervalDayToSecond;
}

bool isCharacterType(int code) {
    return code == kVarchar2 || code == kChar || code == kClob;
}

QString bracketed(int value) {
    return u'(' + QString::number(value) + u')';
}

// A length in brackets where the column has one; Oracle takes the type's default otherwise.
QString withLength(const QString& name, int length) {
    return length > 0 ? name + bracketed(length) : name;
}

// VARCHAR2 and CHAR as declared: NVARCHAR2(n) and NCHAR(n) in the national character set with
// their length in characters, VARCHAR2(n CHAR) with character semantics, else the byte length.
QString characterType(const ColumnDescription& column) {
    const QString name = oracleTypeName(column.oraIDataType);
    const int characters = column.charLength > 0 ? column.charLength : column.size;
    if (column.charsetForm == kNationalCharsetForm)
        return withLength(u'N' + name, characters);
    if (column.charUsed && characters > 0)
        return name + QStringLiteral("(%1 CHAR)").arg(characters);
    return withLength(name, column.size);
}

QString numberType(const ColumnDescription& column) {
    const QString number = oracleTypeName(kNumber);
    if (column.precision <= 0)
        return number;
    if (column.scale == kFloatScale)
        return QStringLiteral("FLOAT") + bracketed(column.precision);
    if (column.scale != 0) {
        return number + QStringLiteral("(%1,%2)").arg(column.precision).arg(column.scale);
    }
    return number + bracketed(column.precision);
}

// TIMESTAMP(s) and its time-zone variants; the scale is the fractional-second precision.
QString timestampType(int scale, const QString& suffix) {
    const QString timestamp = QStringLiteral("TIMESTAMP");
    return (scale >= 0 ? timestamp + bracketed(scale) : timestamp) + suffix;
}

}  // namespace

ColumnDescription describeColumn(const db::Field& field) {
    ColumnDescription column;
    column.name = field.Name();
    column.oraIDataType = field.OraIDataType();
    if (readsPrecision(column.oraIDataType))
        column.precision = field.OraPrecision();
    if (readsScale(column.oraIDataType))
        column.scale = field.OraScale();
    column.size = field.Size();
    column.type = field.Type();
    column.nullOk = field.OraNullOK();
    if (isCharacterType(column.oraIDataType)) {
        column.charsetForm = field.OraCharsetForm();
        column.charUsed = field.OraCharUsed();
        column.charLength = field.OraCharSize();
    }
    if (column.oraIDataType == kNamedType)
        column.typeName = field.OraTypeName();
    return column;
}

QString sizeText(const ColumnDescription& column) {
    switch (column.oraIDataType) {
        case kNumber:
            return column.precision > 0 ? QString::number(column.precision) : QStringLiteral("-");
        case kLong:
        case kLongRaw:
            return QStringLiteral("-");
        default:
            return QString::number(column.size);
    }
}

// Codes 23 and 24 keep the names "ROW" and "LONG ROW" that the grid and the lists have always
// shown; the script writes them as RAW and LONG RAW (scriptColumnType).
QString oracleTypeName(int oraIDataType) {
    switch (dictionaryCode(oraIDataType)) {
        case kVarchar2:
            return QStringLiteral("VARCHAR2");
        case kNumber:
            return QStringLiteral("NUMBER");
        case kLong:
            return QStringLiteral("LONG");
        case kRowid:
            return QStringLiteral("ROWID");
        case kDate:
            return QStringLiteral("DATE");
        case kRaw:
            return QStringLiteral("ROW");
        case kLongRaw:
            return QStringLiteral("LONG ROW");
        case kChar:
            return QStringLiteral("CHAR");
        case kMlslabel:
            return QStringLiteral("MLSLABEL");
        case kBinaryFloat:
            return QStringLiteral("BINARY_FLOAT");
        case kBinaryDouble:
            return QStringLiteral("BINARY_DOUBLE");
        case kRowidDescriptor:
            return QStringLiteral("ROWID");
        case kClob:
            return QStringLiteral("CLOB");
        case kBlob:
            return QStringLiteral("BLOB");
        case kBfile:
            return QStringLiteral("BFILE");
        case kTimestamp:
            return QStringLiteral("TIMESTAMP");
        case kTimestampTz:
            return QStringLiteral("TIMESTAMP WITH TIME ZONE");
        case kTimestampLtz:
            return QStringLiteral("TIMESTAMP WITH LOCAL TIME ZONE");
        case kIntervalYearToMonth:
            return QStringLiteral("INTERVAL YEAR TO MONTH");
        case kIntervalDayToSecond:
            return QStringLiteral("INTERVAL DAY TO SECOND");
        case kUrowid:
            return QStringLiteral("UROWID");
        case kJson:
            return QStringLiteral("JSON");
        case kBoolean:
            return QStringLiteral("BOOLEAN");
        case kVector:
            return QStringLiteral("VECTOR");
        default:
            return QStringLiteral("UNKNOWN(%1)").arg(oraIDataType);
    }
}

QString oracleTypeName(const ColumnDescription& column) {
    if (column.oraIDataType == kClob && column.charsetForm == kNationalCharsetForm)
        return QStringLiteral("NCLOB");
    if (column.oraIDataType == kNamedType && !column.typeName.isEmpty())
        return column.typeName;
    return oracleTypeName(column.oraIDataType);
}

QString valueTypeName(int type) {
    switch (type) {
        case 1:
            return QStringLiteral("Boolean");
        case 2:
            return QStringLiteral("Byte");
        case 3:
            return QStringLiteral("Integer");
        case 4:
            return QStringLiteral("Long");
        case 5:
            return QStringLiteral("Curreney");
        case 6:
            return QStringLiteral("Single");
        case 7:
            return QStringLiteral("Double");
        case 8:
            return QStringLiteral("Date");
        case 9:
            return QStringLiteral("Object");
        case 10:
        case 11:
        case 12:
            return QStringLiteral("String");
        default:
            return QStringLiteral("Unknown(%1)").arg(type);
    }
}

QString nullText(bool nullOk) {
    return nullOk ? QStringLiteral("Null") : QStringLiteral("Not Null");
}

QString scriptColumnType(const ColumnDescription& column) {
    const int code = dictionaryCode(column.oraIDataType);
    switch (code) {
        case kNumber:
            return numberType(column);
        case kVarchar2:
        case kChar:
            return characterType(column);
        case kClob:
        case kNamedType:
            return oracleTypeName(column);
        case kRaw:
            return withLength(QStringLiteral("RAW"), column.size);
        case kLongRaw:
            return QStringLiteral("LONG RAW");
        case kRowidDescriptor:
            return oracleTypeName(kRowid);
        case kUrowid:
            return withLength(oracleTypeName(code), column.size);
        case kTimestamp:
            return timestampType(column.scale, QString());
        case kTimestampTz:
            return timestampType(column.scale, QStringLiteral(" WITH TIME ZONE"));
        case kTimestampLtz:
            return timestampType(column.scale, QStringLiteral(" WITH LOCAL TIME ZONE"));
        case kIntervalYearToMonth:
            return column.precision > 0
                       ? QStringLiteral("INTERVAL YEAR(%1) TO MONTH").arg(column.precision)
                       : oracleTypeName(code);
        case kIntervalDayToSecond:
            return QStringLiteral("INTERVAL DAY%1 TO SECOND%2")
                .arg(column.precision > 0 ? bracketed(column.precision) : QString(),
                     column.scale >= 0 ? bracketed(column.scale) : QString());
        default:
            // LONG, DATE, ROWID, MLSLABEL, the LOBs and the binary floating-point types take no
            // length; a code without a name is written as its name so the script shows it.
            return oracleTypeName(code);
    }
}

}  // namespace quarnel::catalog
