// Oracle's internal data type codes, as the data access component reports them. The engines
// report these codes and the catalogue names them; both use the names below.
#pragma once

namespace quarnel::db {

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
// The codes a client's describe reports for the datetime and interval types, where the
// dictionary reports 180 to 183 and 231.
inline constexpr int kTimestampDescribed = 187;
inline constexpr int kTimestampTzDescribed = 188;
inline constexpr int kIntervalYearToMonthDescribed = 189;
inline constexpr int kIntervalDayToSecondDescribed = 190;
inline constexpr int kTimestampLtzDescribed = 232;
// An object type (the column's type name tells which), a REF, a collection, a PL/SQL record,
// JSON, BOOLEAN and VECTOR.
inline constexpr int kNamedType = 108;
inline constexpr int kRef = 110;
inline constexpr int kCollection = 122;
inline constexpr int kRecord = 250;
inline constexpr int kJson = 119;
inline constexpr int kBoolean = 252;
inline constexpr int kVector = 127;
// The bytes of a physical ROWID; a UROWID, which describes with the same code 104, is longer.
inline constexpr int kRowidBytes = 10;
// The character-set form of a column in the national character set (NCHAR, NVARCHAR2, NCLOB).
inline constexpr int kNationalCharsetForm = 2;
// The scale Oracle reports for FLOAT(p), a NUMBER with a binary precision.
inline constexpr int kFloatScale = -127;
}  // namespace oracle_type

}  // namespace quarnel::db
