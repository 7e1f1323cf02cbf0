#include "schema/dictionary_types.h"

namespace quarnel::schema {
namespace {

using namespace db::oracle_type;

// The value type codes the engines report.
constexpr int kValueDouble = 7;
constexpr int kValueSingle = 6;
constexpr int kValueDate = 8;
constexpr int kValueString = 10;
constexpr int kValueBinary = 11;
constexpr int kValueLongString = 12;

// Fills the character facts of CHAR, VARCHAR2 and the LOBs; `national` for the N types.
void setCharacter(const DictionaryType& type, catalog::ColumnDescription& column, bool national) {
    column.charsetForm = national ? kNationalCharsetForm : 1;
    column.charUsed = type.charUsed == u"C";
    column.charLength = type.charLength;
}

void set(catalog::ColumnDescription& column, int code, int size, int valueType) {
    column.oraIDataType = code;
    column.size = size;
    column.type = valueType;
    column.precision = 0;
    column.scale = 0;
}

// "TIMESTAMP(6) WITH TIME ZONE" -> "TIMESTAMP WITH TIME ZONE": the type's words without the
// bracketed numbers, which the precision and scale carry.
QString withoutNumbers(const QString& dataType) {
    QString words;
    int depth = 0;
    for (const QChar c : dataType) {
        if (c == u'(')
            ++depth;
        else if (c == u')')
            depth = depth > 0 ? depth - 1 : 0;
        else if (depth == 0)
            words += c;
    }
    return words.simplified();
}

}  // namespace

bool describeFromDictionary(const DictionaryType& type, catalog::ColumnDescription& column) {
    // An object type, XMLTYPE and the like: the owner names its schema.
    if (!type.dataTypeOwner.isEmpty())
        return false;
    const QString name = withoutNumbers(type.dataType);
    const int length = type.dataLength;
    column.charsetForm = 1;
    column.charUsed = false;
    column.charLength = 0;
    column.typeName.clear();
    if (name == u"VARCHAR2" || name == u"NVARCHAR2") {
        set(column, kVarchar2, length, kValueString);
        setCharacter(type, column, name.startsWith(u'N'));
    } else if (name == u"CHAR" || name == u"NCHAR") {
        set(column, kChar, length, kValueString);
        setCharacter(type, column, name.startsWith(u'N'));
    } else if (name == u"NUMBER") {
        set(column, kNumber, length, kValueDouble);
        if (!type.dataPrecision && !type.dataScale) {
            // NUMBER without precision or scale.
            column.scale = kFloatScale;
        } else {
            // INTEGER, NUMBER(*,s): no precision, which a describe reports as 38.
            column.precision = type.dataPrecision.value_or(38);
            column.scale = type.dataScale.value_or(0);
        }
    } else if (name == u"FLOAT") {
        set(column, kNumber, length, kValueDouble);
        column.precision = type.dataPrecision.value_or(126);
        column.scale = kFloatScale;
    } else if (name == u"BINARY_FLOAT") {
        set(column, kBinaryFloat, length, kValueSingle);
    } else if (name == u"BINARY_DOUBLE") {
        set(column, kBinaryDouble, length, kValueDouble);
    } else if (name == u"DATE") {
        set(column, kDate, length, kValueDate);
    } else if (name == u"TIMESTAMP" || name == u"TIMESTAMP WITH TIME ZONE" ||
               name == u"TIMESTAMP WITH LOCAL TIME ZONE") {
        const int code = name == u"TIMESTAMP"                  ? kTimestampDescribed
                         : name == u"TIMESTAMP WITH TIME ZONE" ? kTimestampTzDescribed
                                                               : kTimestampLtzDescribed;
        set(column, code, length, kValueDate);
        column.scale = type.dataScale.value_or(6);
    } else if (name == u"INTERVAL YEAR TO MONTH") {
        set(column, kIntervalYearToMonthDescribed, length, kValueString);
        column.precision = type.dataPrecision.value_or(2);
    } else if (name == u"INTERVAL DAY TO SECOND") {
        set(column, kIntervalDayToSecondDescribed, length, kValueString);
        column.precision = type.dataPrecision.value_or(2);
        column.scale = type.dataScale.value_or(6);
    } else if (name == u"RAW") {
        set(column, kRaw, length, kValueBinary);
    } else if (name == u"LONG") {
        set(column, kLong, 0, kValueLongString);
    } else if (name == u"LONG RAW") {
        set(column, kLongRaw, 0, kValueBinary);
    } else if (name == u"CLOB" || name == u"NCLOB") {
        set(column, kClob, length, kValueLongString);
        setCharacter(type, column, name == u"NCLOB");
    } else if (name == u"BLOB") {
        set(column, kBlob, length, kValueBinary);
    } else if (name == u"BFILE") {
        set(column, kBfile, length, kValueBinary);
    } else if (name == u"ROWID") {
        set(column, kRowidDescriptor, length, kValueString);
    } else if (name == u"UROWID") {
        set(column, kUrowid, length, kValueString);
    } else if (name == u"MLSLABEL") {
        set(column, kMlslabel, length, kValueString);
    } else {
        return false;
    }
    return true;
}

}  // namespace quarnel::schema
