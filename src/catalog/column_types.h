// What a described column shows in the detail grid and the column lists, and the type its
// CREATE TABLE line declares.
#pragma once

#include "db/data_access.h"
#include "db/oracle_types.h"

#include <QString>

namespace quarnel::catalog {

namespace oracle_type = db::oracle_type;

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
    // Character columns only: 2 for the national character set; declared with character
    // semantics; the declared length in characters (0 when the engine does not report it).
    int charsetForm = 1;
    bool charUsed = false;
    int charLength = 0;
    // Object-type columns only: the type's name.
    QString typeName;
};

// Reads one field's description: Name, OraIDataType, OraPrecision and OraScale (where the type
// uses them), Size, Type, OraNullOK, in that order; then the character-set form and length
// semantics of a character column and the type name of an object column.
ColumnDescription describeColumn(const db::Field& field);

// SIZE: the precision of a NUMBER ("-" without one), "-" for LONG and LONG RAW, else the size.
QString sizeText(const ColumnDescription& column);

// TYPE1: the name of an Oracle type code; "UNKNOWN(code)" for a code without one.
QString oracleTypeName(int oraIDataType);
// TYPE1 of a described column: as above, but NCLOB for a CLOB in the national character set and
// the type's own name for an object column.
QString oracleTypeName(const ColumnDescription& column);

// TYPE2: the name of a value type code; "Object" for 9, "Unknown(code)" for codes without one.
QString valueTypeName(int type);

// NULL: "Not Null" or "Null".
QString nullText(bool nullOk);

// The type as a CREATE TABLE statement declares it, e.g. NUMBER(7,2), VARCHAR2(20), LONG RAW,
// NVARCHAR2(10) (national character set, length in characters), VARCHAR2(10 CHAR).
QString scriptColumnType(const ColumnDescription& column);

}  // namespace quarnel::catalog
