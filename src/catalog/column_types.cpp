#include "catalog/column_types.h"

namespace quarnel::catalog {
namespace {

using namespace oracle_type;

bool readsPrecision(int code) {
    return code == kNumber || code == kIntervalYearToMonth || code == kIntervalDayToSecond;
}

bool readsScale(int code) {
    return code == kNumber || code == kTimestamp || code == kTimestampTz || code == kTimestampLtz ||
           code == kIntervalDayToSecond;
}

QString bracketed(int value) {
    return u'(' + QString::number(value) + u')';
}

// A length in brackets where the column has one; Oracle takes the type's default otherwise.
QString withLength(const QString& name, int length) {
    return length > 0 ? name + bracketed(length) : name;
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
    switch (oraIDataType) {
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
        default:
            return QStringLiteral("UNKNOWN(%1)").arg(oraIDataType);
    }
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
    const int code = column.oraIDataType;
    switch (code) {
        case kNumber:
            return numberType(column);
        case kVarchar2:
        case kChar:
            return withLength(oracleTypeName(code), column.size);
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
