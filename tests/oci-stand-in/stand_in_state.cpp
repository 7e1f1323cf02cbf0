#include "stand_in_state.h"

#include "varnum.h"

#include <sqlite3.h>

#include <algorithm>
#include <cstring>

namespace standin {

QHash<QByteArray, long>& counters() {
    static QHash<QByteArray, long> instance;
    return instance;
}

void ErrorRecord::set(sb4 number, const QString& message) {
    code = number;
    text = QStringLiteral("ORA-%1: %2").arg(number, 5, 10, QLatin1Char('0')).arg(message).toUtf8();
}

void EnvHandle::release(ChildHandle* child) {
    const auto found = std::find_if(children.begin(), children.end(),
                                    [&](const auto& owned) { return owned.get() == child; });
    if (found != children.end())
        children.erase(found);
}

sword fail(ErrorHandle* error, sb4 code, const QString& message) {
    if (error)
        error->set(code, message);
    return OCI_ERROR;
}

namespace {

bool isCharacter(int code) {
    return code == TYPE_VARCHAR2 || code == TYPE_LONG || code == TYPE_CHAR || code == TYPE_CLOB;
}

// Bytes a character may take: AL32UTF8 for the database character set, AL16UTF16 for the
// national one.
int bytesPerCharacter(int form) {
    return form == SQLCS_NCHAR ? 2 : 4;
}

ub2 describedCode(int code) {
    switch (code) {
        case TYPE_TIMESTAMP:
            return SQLT_TIMESTAMP;
        case TYPE_TIMESTAMP_TZ:
            return SQLT_TIMESTAMP_TZ;
        case TYPE_TIMESTAMP_LTZ:
            return SQLT_TIMESTAMP_LTZ;
        case TYPE_INTERVAL_YM:
            return SQLT_INTERVAL_YM;
        case TYPE_INTERVAL_DS:
            return SQLT_INTERVAL_DS;
        case TYPE_ROWID:
        case TYPE_UROWID:
            return TYPE_RDD;
        default:
            return ub2(code);
    }
}

// The rowid types describe with one code; a physical rowid is 10 bytes.
void describeRowid(Column& column, int code) {
    column.dataType = describedCode(code);
    if (code == TYPE_ROWID)
        column.dataSize = 10;
}

}  // namespace

Column describe(const quarnel::db::Field& field) {
    Column column;
    column.name = field.Name().toUtf8();
    const int code = field.OraIDataType();
    column.dataSize = ub2(field.Size());
    describeRowid(column, code);
    column.precision = sb2(field.OraPrecision());
    column.scale = sb1(field.OraScale());
    // A NUMBER without precision describes with the scale of a floating-point number.
    if (code == TYPE_NUMBER && column.precision == 0)
        column.scale = -127;
    column.isNull = field.OraNullOK() ? 1 : 0;
    if (isCharacter(code))
        column.charsetForm = SQLCS_IMPLICIT;
    if (code == TYPE_VARCHAR2 || code == TYPE_CHAR)
        column.charSize = ub2(field.Size());
    // The dictionary's index expressions are a LONG column.
    if (field.Name().compare(QLatin1String("column_expression"), Qt::CaseInsensitive) == 0) {
        column.dataType = TYPE_LONG;
        column.dataSize = 0;
        column.charsetForm = SQLCS_IMPLICIT;
        column.charSize = 0;
    }
    return column;
}

Column describeOverride(Column column) {
    describeRowid(column, column.dataType);
    // The size of a column of character semantics is in the client's bytes.
    if ((column.dataType == TYPE_VARCHAR2 || column.dataType == TYPE_CHAR) && column.charUsed)
        column.dataSize = ub2(column.charSize * bytesPerCharacter(column.charsetForm));
    return column;
}

QHash<QString, Column> readOverrides(const QString& path) {
    QHash<QString, Column> overrides;
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr) ==
        SQLITE_OK) {
        sqlite3_stmt* statement = nullptr;
        if (sqlite3_prepare_v2(db,
                               "SELECT column_name, data_type, data_size, precision, scale, "
                               "charset_form, char_used, char_size, type_name, schema_name "
                               "FROM OCI_STANDIN_DESCRIBE",
                               -1, &statement, nullptr) == SQLITE_OK) {
            while (sqlite3_step(statement) == SQLITE_ROW) {
                Column c;
                c.name = reinterpret_cast<const char*>(sqlite3_column_text(statement, 0));
                c.dataType = ub2(sqlite3_column_int(statement, 1));
                c.dataSize = ub2(sqlite3_column_int(statement, 2));
                c.precision = sb2(sqlite3_column_int(statement, 3));
                c.scale = sb1(sqlite3_column_int(statement, 4));
                c.charsetForm = ub1(sqlite3_column_int(statement, 5));
                c.charUsed = ub1(sqlite3_column_int(statement, 6));
                c.charSize = ub2(sqlite3_column_int(statement, 7));
                if (const auto* t = sqlite3_column_text(statement, 8))
                    c.typeName = reinterpret_cast<const char*>(t);
                if (const auto* s = sqlite3_column_text(statement, 9))
                    c.schemaName = reinterpret_cast<const char*>(s);
                overrides.insert(QString::fromUtf8(c.name), c);
            }
        }
        sqlite3_finalize(statement);
    }
    sqlite3_close(db);
    return overrides;
}

bool hasTextForm(int code) {
    switch (code) {
        case TYPE_VARCHAR2:
        case TYPE_NUMBER:
        case TYPE_LONG:
        case TYPE_ROWID:
        case 12:  // DATE
        case 23:  // RAW
        case 24:  // LONG RAW
        case TYPE_CHAR:
        case 100:  // BINARY_FLOAT
        case 101:  // BINARY_DOUBLE
        case TYPE_RDD:
        case 106:  // MLSLABEL
        case TYPE_CLOB:
        case SQLT_TIMESTAMP:
        case SQLT_TIMESTAMP_TZ:
        case SQLT_INTERVAL_YM:
        case SQLT_INTERVAL_DS:
        case SQLT_TIMESTAMP_LTZ:
            return true;
        default:
            return false;
    }
}

sword attributeOf(const void* handle, ub4 type, void* attribute, ub4* size, ub4 which,
                  ErrorHandle* error) {
    const auto put = [&](auto value) {
        std::memcpy(attribute, &value, sizeof value);
        if (size)
            *size = sizeof value;
        return OCI_SUCCESS;
    };
    const auto putText = [&](const QByteArray& text) {
        *static_cast<const OraText**>(attribute) =
            reinterpret_cast<const OraText*>(text.constData());
        if (size)
            *size = ub4(text.size());
        return OCI_SUCCESS;
    };
    if (type == OCI_HTYPE_STMT) {
        const auto* s = static_cast<const StatementHandle*>(handle);
        if (which == OCI_ATTR_PARAM_COUNT)
            return put(ub4(s->columns.size()));
        if (which == OCI_ATTR_ROWS_FETCHED)
            return put(s->rowsFetched);
    } else if (type == OCI_DTYPE_PARAM) {
        const auto* c = static_cast<const Column*>(handle);
        const bool character = isCharacter(c->dataType);
        switch (which) {
            case OCI_ATTR_NAME:
                return putText(c->name);
            case OCI_ATTR_DATA_TYPE:
                return put(c->dataType);
            case OCI_ATTR_DATA_SIZE:
                return put(c->dataSize);
            case OCI_ATTR_PRECISION:
                return put(c->precision);
            case OCI_ATTR_SCALE:
                return put(c->scale);
            case OCI_ATTR_IS_NULL:
                return put(c->isNull);
            case OCI_ATTR_CHARSET_FORM:
                if (character)
                    return put(c->charsetForm);
                break;
            // Only the types with a declared length have length semantics.
            case OCI_ATTR_CHAR_USED:
                if (c->dataType == TYPE_VARCHAR2 || c->dataType == TYPE_CHAR)
                    return put(c->charUsed);
                break;
            case OCI_ATTR_CHAR_SIZE:
                if (c->dataType == TYPE_VARCHAR2 || c->dataType == TYPE_CHAR)
                    return put(c->charSize);
                break;
            case OCI_ATTR_TYPE_NAME:
            case OCI_ATTR_SCHEMA_NAME:
                if (c->dataType == SQLT_NTY && !c->objectMode)
                    return fail(error, 21301, QStringLiteral("not initialized in object mode"));
                return putText(which == OCI_ATTR_TYPE_NAME ? c->typeName : c->schemaName);
            default:
                break;
        }
    }
    return fail(error, 24315, QStringLiteral("illegal attribute type"));
}

namespace {

QByteArray valueText(const QVariant& value) {
    if (value.typeId() == QMetaType::QByteArray)
        return value.toByteArray().toHex().toUpper();
    if (value.typeId() == QMetaType::Double) {
        const QByteArray text = QByteArray::number(value.toDouble(), 'g', 15);
        return text.contains('e') ? QByteArray::number(value.toDouble(), 'f', 30) : text;
    }
    return value.toString().toUtf8();
}

constexpr char kReturnCodeMark[] = "OCI-STANDIN-RC:";
// The largest piece the stand-in hands over at once, whatever room the callback offers.
constexpr ub4 kPieceBytes = 3000;

// Serves a LONG or CLOB value through the define's callback, piece by piece.
sword deliverPieces(DefineHandle& define, ub4 row, const QByteArray& bytes, bool isNull,
                    ErrorHandle* error) {
    static unsigned pieceFlag = 0;
    qsizetype offset = 0;
    ub4* previousLength = nullptr;
    ub4 previousCopied = 0;
    do {
        void* buffer = nullptr;
        ub4* length = nullptr;
        void* indicator = nullptr;
        ub2* returnCode = nullptr;
        ub1 piece = ub1(pieceFlag++ % 3);  // OCI_ONE_PIECE, OCI_FIRST_PIECE, OCI_NEXT_PIECE
        if (define.callback(define.context, reinterpret_cast<OCIDefine*>(&define), row, &buffer,
                            &length, &piece, &indicator, &returnCode) != OCI_CONTINUE) {
            return fail(error, 24343, QStringLiteral("user defined callback error"));
        }
        if (previousLength)
            *previousLength = previousCopied;
        const ub4 room = length ? std::min(*length, kPieceBytes) : 0;
        const ub4 copied = ub4(std::min<qsizetype>(room, bytes.size() - offset));
        if (copied > 0)
            std::memcpy(buffer, bytes.constData() + offset, copied);
        if (indicator)
            *static_cast<sb2*>(indicator) = isNull ? -1 : 0;
        if (returnCode)
            *returnCode = 0;
        previousLength = length;
        previousCopied = copied;
        offset += copied;
        if (room == 0)
            break;
    } while (offset < bytes.size());
    if (previousLength)
        *previousLength = previousCopied;
    return OCI_SUCCESS;
}

}  // namespace

sword deliver(DefineHandle& define, ub4 row, const QVariant& value, ErrorHandle* error) {
    const bool isNull = !value.isValid() || value.isNull();
    if (define.mode == OCI_DYNAMIC_FETCH)
        return deliverPieces(define, row, isNull ? QByteArray() : valueText(value), isNull, error);
    if (define.indicator)
        define.indicator[row] = isNull ? -1 : 0;
    if (define.returnCode)
        define.returnCode[row] = 0;
    if (isNull) {
        if (define.length)
            define.length[row] = 0;
        return OCI_SUCCESS;
    }
    char* target = static_cast<char*>(define.value) + size_t(define.size) * row;
    const QByteArray bytes = valueText(value);
    if (bytes.startsWith(kReturnCodeMark)) {
        if (define.returnCode)
            define.returnCode[row] = ub2(bytes.mid(int(sizeof kReturnCodeMark) - 1).toInt());
        if (define.length)
            define.length[row] = 0;
        return OCI_SUCCESS_WITH_INFO;
    }
    if (define.type == SQLT_FLT) {
        bool ok = false;
        const double number = value.toDouble(&ok);
        if (!ok)
            return fail(error, 1722, QStringLiteral("invalid number"));
        std::memcpy(target, &number, sizeof number);
        if (define.length)
            define.length[row] = sizeof number;
        return OCI_SUCCESS;
    }
    if (define.type == SQLT_VNU) {
        const QByteArray number = encodeVarnum(bytes);
        if (number.isEmpty() || number.size() > define.size)
            return fail(error, 1722, QStringLiteral("invalid number"));
        std::memcpy(target, number.constData(), size_t(number.size()));
        if (define.length)
            define.length[row] = ub2(number.size());
        return OCI_SUCCESS;
    }
    const qsizetype copied = std::min<qsizetype>(bytes.size(), define.size);
    std::memcpy(target, bytes.constData(), size_t(copied));
    if (define.length)
        define.length[row] = ub2(copied);
    if (copied < bytes.size()) {
        if (define.returnCode)
            define.returnCode[row] = 1406;
        return OCI_SUCCESS_WITH_INFO;
    }
    return OCI_SUCCESS;
}

}  // namespace standin
