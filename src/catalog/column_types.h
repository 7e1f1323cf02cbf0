// What a described column shows in the detail grid and the column lists, and the type its
// CREATE TABLE line declares.
#pragma once

#include "db/data_access.h"

#include <QString>

namespace quarnel::catalog {

// Oracle's internal data type codes, as the data access component reports them.
namespace oracle_type {
inline constexpr int kVarchar2 = 1;
inline constexpr int kNumber = 2;
inline constexpr int kLong = 8;
inline constexpr int kRowid = 11;
inline constexpr int kDate = 12;
inline constexpr int kRaw = 23;
inline constexpr int kLongRaw = 24;
inline constexpr int kChar = 96;
inline constexpr int kBinaryFloat = 100;
inline constexpr int kBinaryDouble = 101;
inline constexpr int kRowidDescriptor = 104;
inline constexpr int kMlslabel = 106;
inline constexpr int kClob = 112;
inline constexpr int kBlob = 113;
inline constexpr int kBfile = 114;
inline constexpr int kTimestamp = 180;
inline constexpr int kTimestampTz = 181;
inline constexpr int kIntervalYearToMonth = 182;
inline constexpr int kIntervalDayToSecond = 183;
inline constexpr int kUrowid = 208;
inline constexpr int kTimestampLtz = 231;
// The scale Oracle reports for FLOAT(p), a NUMBER with a binary precision.
inline constexpr int kFloatScale = -127;
}  // namespace oracle_type

// One column as the describe query reports it. `precision` is read only for NUMBER and the
// interval types, `scale` only for NUMBER, TIMESTAMP and INTERVAL DAY TO SECOND; otherwise 0.
struct ColumnDescription {
    QString name;
    int oraIDataType = oracle_type::kVarchar2;
    int precision = 0;
    int scale = 0;
    int size = 0;
    int type = 10;
    bool nullOk = true;
};

// Reads one field's description: Name, OraIDataType, OraPrecision and OraScale (where the type
// uses them), Size, Type, OraNullOK, in that order.
ColumnDescription describeColumn(const db::Field& field);

// SIZE: the precision of a NUMBER ("-" without one), "-" for LONG and LONG RAW, else the size.
QString sizeText(const ColumnDescription& column);

// TYPE1: the name of an Oracle type code; "UNKNOWN(code)" for a code without one.
QString oracleTypeName(int oraIDataType);

// TYPE2: the name of a value type code; "Object" for 9, "Unknown(code)" for codes without one.
QString valueTypeName(int type);

// NULL: "Not Null" or "Null".
QString nullText(bool nullOk);

// The type as a CREATE TABLE statement declares it, e.g. NUMBER(7,2), VARCHAR2(20), LONG RAW.
QString scriptColumnType(const ColumnDescription& column);

}  // namespace quarnel::catalog
