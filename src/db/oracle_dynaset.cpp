// Queries on an Oracle session: prepare, execute, describe every column, and fetch the rows in
// arrays of up to 1,000 per round trip.
#include "db/dynaset_errors.h"
#include "db/oracle_connection.h"
#include "db/oracle_number.h"
#include "db/oracle_types.h"

#include <QByteArray>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

namespace quarnel::db {
namespace {

using namespace oracle_type;

// Rows per fetch call, and the memory one fetch may fill: a wide row fetches fewer at a time.
// The budget holds a full fetch of the widest dictionary read (three names and a 4,000-byte
// column name, each with room for UTF-8), so that a whole-schema load takes a thousand rows at a
// time.
constexpr oci::ub4 kRowsPerFetch = 1000;
constexpr size_t kFetchBudgetBytes = 24u << 20;
// The pieces a LONG or CLOB value is read in: a small first piece, then each twice as large, up
// to a limit.
constexpr oci::ub4 kFirstPieceBytes = 4u << 10;
constexpr oci::ub4 kLargestPieceBytes = 1u << 20;

// The value type code (Field::Type) of an Oracle type code.
int valueType(int code) {
    switch (code) {
        case kNumber:
        case kBinaryDouble:
            return 7;
        case kBinaryFloat:
            return 6;
        case kDate:
        case kTimestamp:
        case kTimestampTz:
        case kTimestampLtz:
        case kTimestampDescribed:
        case kTimestampTzDescribed:
        case kTimestampLtzDescribed:
            return 8;
        case kLong:
        case kClob:
        case kJson:
        case kVector:
            return 12;
        case kRaw:
        case kLongRaw:
        case kBlob:
        case kBfile:
            return 11;
        case kNamedType:
            return 9;
        case kBoolean:
            return 1;
        default:
            return 10;
    }
}

// How a column's values are fetched: as text, as an Oracle NUMBER, as a double (the binary
// floating-point types), piecewise (LONG, LONG RAW, CLOB), or not at all. BLOB, BFILE, objects,
// REFs, collections, JSON, vectors, BOOLEAN and any code not named here are never read (their Value
// is null): a text define of such a column is refused by the server.
enum class Fetch { Text, Number, Double, Pieces, None };

Fetch fetchKind(int code) {
    switch (code) {
        case kNumber:
            return Fetch::Number;
        case kBinaryFloat:
        case kBinaryDouble:
            return Fetch::Double;
        case kLong:
        case kLongRaw:
        case kClob:
            // A CLOB is read through the LOB data interface: defined as text, piece by piece.
            return Fetch::Pieces;
        case kVarchar2:
        case kChar:
        case kRowid:
        case kRowidDescriptor:
        case kUrowid:
        case kDate:
        case kRaw:
        case kMlslabel:
        case kTimestamp:
        case kTimestampTz:
        case kTimestampLtz:
        case kIntervalYearToMonth:
        case kIntervalDayToSecond:
        case kTimestampDescribed:
        case kTimestampTzDescribed:
        case kTimestampLtzDescribed:
        case kIntervalYearToMonthDescribed:
        case kIntervalDayToSecondDescribed:
            return Fetch::Text;
        default:
            return Fetch::None;
    }
}

// Whether the character-set attributes (form, char-used, char size) describe a column of `code`.
bool isCharacterType(int code) {
    return code == kVarchar2 || code == kLong || code == kChar || code == kClob;
}

// One piece of a LONG or CLOB value: a buffer that stays where it is while the client library
// fills it, and the length slot the library writes.
struct Piece {
    explicit Piece(oci::ub4 bytes) : data(new char[bytes]), capacity(bytes) {}
    std::unique_ptr<char[]> data;
    oci::ub4 capacity;
    oci::ub4 length = 0;
};

// The pieces of one row's value. Pieces are kept from fetch to fetch and reused; `used` counts
// those of the current fetch.
struct RowPieces {
    std::vector<std::unique_ptr<Piece>> pieces;
    size_t used = 0;
};

class OracleField;

struct ColumnBuffer {
    Fetch kind = Fetch::Text;
    oci::ub4 width = 0;
    std::vector<char> data;
    std::vector<oci::sb2> indicator;
    std::vector<oci::ub2> length;
    std::vector<oci::ub2> returnCode;
    // LONG and CLOB values, one per row of the array.
    std::vector<RowPieces> rows;

    // Forgets the pieces of the previous fetch: a value never continues across fetches.
    void startFetch() {
        for (size_t row = 0; row < rows.size(); ++row) {
            rows[row].used = 0;
            indicator[row] = -1;
            returnCode[row] = 0;
        }
    }

    QByteArray piecesOf(size_t row) const {
        QByteArray value;
        const RowPieces& pieces = rows[row];
        for (size_t i = 0; i < pieces.used; ++i) {
            const Piece& piece = *pieces.pieces[i];
            value.append(piece.data.get(), qsizetype(std::min(piece.length, piece.capacity)));
        }
        return value;
    }
};

// Hands the client library a new piece for the value of row `iteration`. Whether a value starts
// is known from the fetch, not from the piece flag the library passes, which is left alone; each
// piece has a buffer and a length of its own, so nothing handed out earlier moves.
oci::sb4 longPiece(void* context, oci::Define*, oci::ub4 iteration, void** buffer,
                   oci::ub4** length, oci::ub1* /*piece*/, void** indicator,
                   oci::ub2** returnCode) {
    auto& column = *static_cast<ColumnBuffer*>(context);
    if (iteration >= column.rows.size())
        return oci::kError;
    RowPieces& value = column.rows[iteration];
    if (value.used == value.pieces.size()) {
        // Each piece twice the one before, from a small first one up to a limit.
        const oci::ub4 bytes =
            std::min(kFirstPieceBytes << std::min<size_t>(value.used, 8), kLargestPieceBytes);
        value.pieces.push_back(std::make_unique<Piece>(bytes));
    }
    Piece& next = *value.pieces[value.used++];
    next.length = next.capacity;
    *buffer = next.data.get();
    *length = &next.length;
    *indicator = &column.indicator[iteration];
    *returnCode = &column.returnCode[iteration];
    return oci::kContinue;
}

class OracleDynaset;

class OracleField final : public Field {
  public:
    OracleField(const OracleDynaset& owner, int index) : m_owner(owner), m_index(index) {}

    QVariant Value() const override;
    QString Name() const override { return name; }
    int Type() const override { return valueType(dataType); }
    int OraIDataType() const override { return dataType; }
    int Size() const override { return size; }
    int OraPrecision() const override { return precision; }
    int OraScale() const override { return scale; }
    bool OraNullOK() const override { return nullOk; }
    int OraCharsetForm() const override { return charsetForm; }
    bool OraCharUsed() const override { return charUsed; }
    int OraCharSize() const override { return charSize; }
    QString OraTypeName() const override { return typeName; }

    QString name;
    int dataType = 0;
    int size = 0;
    int precision = 0;
    int scale = 0;
    bool nullOk = true;
    int charsetForm = 0;
    bool charUsed = false;
    int charSize = 0;
    QString typeName;
    ColumnBuffer buffer;

  private:
    const OracleDynaset& m_owner;
    int m_index;
};

class OracleDynaset final : public Dynaset {
  public:
    OracleDynaset(std::shared_ptr<OracleConnection> connection, oci::Stmt* statement)
        : m_connection(std::move(connection)), m_statement(statement) {
        m_connection->adoptStatement(statement);
    }

    ~OracleDynaset() override { m_connection->releaseStatement(m_statement); }

    void start() {
        describe();
        // A select list with nothing to define (only BLOBs, objects, ...) cannot be fetched at
        // all: the server refuses a fetch without defines (ORA-24374).
        if (define() == 0) {
            m_done = true;
            return;
        }
        fetchBatch();
    }

    bool Eof() const override { return m_row >= m_rows; }

    void DbMoveNext() override {
        if (Eof())
            throw pastLastRowError();
        ++m_row;
        if (m_row >= m_rows && !m_done)
            fetchBatch();
    }

    int FieldCount() const override { return int(m_fields.size()); }

    const Field& Fields(int index) const override { return fieldAt(m_fields, index); }
    using Dynaset::Fields;

    QVariant value(int index) const {
        if (Eof())
            return {};
        const ColumnBuffer& column = m_fields[size_t(index)]->buffer;
        const size_t row = size_t(m_row);
        if (column.kind == Fetch::None || column.indicator[row] == -1)
            return {};
        switch (column.kind) {
            case Fetch::Number: {
                const auto* varnum =
                    reinterpret_cast<const std::uint8_t*>(column.data.data() + row * column.width);
                return oracleNumberValue(oracleNumberText(varnum, column.width));
            }
            case Fetch::Double: {
                double number = 0;
                std::memcpy(&number, column.data.data() + row * sizeof(double), sizeof number);
                if (std::nearbyint(number) == number && std::fabs(number) < 9.0e15)
                    return QVariant(qlonglong(number));
                return QVariant(number);
            }
            case Fetch::Pieces:
                return QVariant(QString::fromUtf8(column.piecesOf(row)));
            default:
                return QVariant(
                    QString::fromUtf8(column.data.data() + row * column.width, column.length[row]));
        }
    }

  private:
    template <typename T>
    T attribute(void* param, oci::ub4 which) {
        T value{};
        oci::ub4 size = 0;
        const oci::sword rc = m_connection->f.attrGet(param, oci::kDtypeParam, &value, &size, which,
                                                      m_connection->error());
        if (rc != oci::kSuccess)
            throw m_connection->failure(rc);
        return value;
    }

    // An attribute that not every client reports for every column: its default when refused.
    template <typename T>
    T optionalAttribute(void* param, oci::ub4 which) {
        T value{};
        oci::ub4 size = 0;
        if (m_connection->f.attrGet(param, oci::kDtypeParam, &value, &size, which,
                                    m_connection->error()) != oci::kSuccess) {
            return T{};
        }
        return value;
    }

    QString textAttribute(void* param, oci::ub4 which) {
        oci::OraText* text = nullptr;
        oci::ub4 size = 0;
        const oci::sword rc = m_connection->f.attrGet(param, oci::kDtypeParam, &text, &size, which,
                                                      m_connection->error());
        if (rc != oci::kSuccess)
            throw m_connection->failure(rc);
        return text ? QString::fromUtf8(reinterpret_cast<const char*>(text), qsizetype(size))
                    : QString();
    }

    void describe() {
        const oci::Functions& f = m_connection->f;
        oci::ub4 count = 0;
        oci::sword rc = f.attrGet(m_statement, oci::kHtypeStmt, &count, nullptr,
                                  oci::kAttrParamCount, m_connection->error());
        if (rc != oci::kSuccess)
            throw m_connection->failure(rc);
        for (oci::ub4 position = 1; position <= count; ++position) {
            void* param = nullptr;
            rc = f.paramGet(m_statement, oci::kHtypeStmt, m_connection->error(), &param, position);
            if (rc != oci::kSuccess)
                throw m_connection->failure(rc);
            auto field = std::make_unique<OracleField>(*this, int(position - 1));
            try {
                field->name = textAttribute(param, oci::kAttrName);
                field->dataType = attribute<oci::ub2>(param, oci::kAttrDataType);
                field->size = attribute<oci::ub2>(param, oci::kAttrDataSize);
                field->precision = attribute<oci::sb2>(param, oci::kAttrPrecision);
                field->scale = attribute<oci::sb1>(param, oci::kAttrScale);
                field->nullOk = attribute<oci::ub1>(param, oci::kAttrIsNull) != 0;
                if (isCharacterType(field->dataType)) {
                    field->charsetForm = optionalAttribute<oci::ub1>(param, oci::kAttrCharsetForm);
                    field->charUsed = optionalAttribute<oci::ub1>(param, oci::kAttrCharUsed) != 0;
                    field->charSize = optionalAttribute<oci::ub2>(param, oci::kAttrCharSize);
                }
                // A ROWID and a UROWID describe alike; only a universal rowid is longer than
                // the 10 bytes of a physical one.
                if (field->dataType == kRowidDescriptor && field->size > kRowidBytes)
                    field->dataType = kUrowid;
                if (field->dataType == kNamedType) {
                    const QString schema = textAttribute(param, oci::kAttrSchemaName);
                    const QString type = textAttribute(param, oci::kAttrTypeName);
                    field->typeName = schema.isEmpty() ? type : schema + u'.' + type;
                }
            } catch (...) {
                f.descriptorFree(param, oci::kDtypeParam);
                throw;
            }
            f.descriptorFree(param, oci::kDtypeParam);
            m_fields.push_back(std::move(field));
        }
    }

    // Gives every fetched column its buffers, sized for as many rows as one fetch may fill.
    // Returns how many columns are defined.
    int define() {
        size_t rowBytes = 1;
        for (const auto& field : m_fields) {
            ColumnBuffer& column = field->buffer;
            column.kind = fetchKind(field->dataType);
            if (column.kind == Fetch::Number)
                column.width = oci::kVarnumBytes;
            else if (column.kind == Fetch::Double)
                column.width = sizeof(double);
            else if (column.kind == Fetch::Text)
                // The size is in the server's bytes: room for any conversion to UTF-8.
                column.width = oci::ub4(std::clamp(std::max(field->size, 32) * 4, 64, 65535));
            rowBytes += column.width + 8;
        }
        m_arraySize = oci::ub4(std::clamp<size_t>(kFetchBudgetBytes / rowBytes, 1, kRowsPerFetch));
        const oci::Functions& f = m_connection->f;
        int defined = 0;
        for (size_t i = 0; i < m_fields.size(); ++i) {
            ColumnBuffer& column = m_fields[i]->buffer;
            column.indicator.assign(m_arraySize, 0);
            column.length.assign(m_arraySize, 0);
            column.returnCode.assign(m_arraySize, 0);
            if (column.kind == Fetch::None)
                continue;
            oci::Define* define = nullptr;
            oci::sword rc = oci::kSuccess;
            if (column.kind == Fetch::Pieces) {
                column.rows.resize(m_arraySize);
                rc = f.defineByPos(m_statement, &define, m_connection->error(), oci::ub4(i + 1),
                                   nullptr, oci::sb4(0x7fffffff), oci::kSqltChr, nullptr, nullptr,
                                   nullptr, oci::kDynamicFetch);
                if (rc == oci::kSuccess)
                    rc = f.defineDynamic(define, m_connection->error(), &column, &longPiece);
            } else {
                column.data.assign(size_t(column.width) * m_arraySize, 0);
                const oci::ub2 external = column.kind == Fetch::Number   ? oci::kSqltVnu
                                          : column.kind == Fetch::Double ? oci::kSqltFlt
                                                                         : oci::kSqltChr;
                rc = f.defineByPos(m_statement, &define, m_connection->error(), oci::ub4(i + 1),
                                   column.data.data(), oci::sb4(column.width), external,
                                   column.indicator.data(), column.length.data(),
                                   column.returnCode.data(), oci::kDefault);
            }
            if (rc != oci::kSuccess)
                throw m_connection->failure(rc);
            ++defined;
        }
        return defined;
    }

    void fetchBatch() {
        m_row = 0;
        m_rows = 0;
        if (!m_connection->isOpen()) {
            m_done = true;
            throw OracleConnection::closedFailure();
        }
        const oci::Functions& f = m_connection->f;
        for (auto& field : m_fields) {
            if (field->buffer.kind == Fetch::Pieces)
                field->buffer.startFetch();
        }
        const oci::sword rc = f.stmtFetch2(m_statement, m_connection->error(), m_arraySize,
                                           oci::kFetchNext, 0, oci::kDefault);
        if (rc != oci::kSuccess && rc != oci::kSuccessWithInfo && rc != oci::kNoData) {
            m_done = true;
            throw m_connection->failure(rc);
        }
        oci::ub4 fetched = 0;
        f.attrGet(m_statement, oci::kHtypeStmt, &fetched, nullptr, oci::kAttrRowsFetched,
                  m_connection->error());
        m_rows = int(std::min(fetched, m_arraySize));
        m_done = rc == oci::kNoData || m_rows == 0;
        checkReturnCodes();
    }

    // A value the client library could not deliver whole or at all (its column return code)
    // is an error, never a value shown cut or wrong.
    void checkReturnCodes() {
        for (const auto& field : m_fields) {
            const ColumnBuffer& column = field->buffer;
            if (column.kind == Fetch::None)
                continue;
            for (size_t row = 0; row < size_t(m_rows); ++row) {
                const oci::ub2 code = column.returnCode[row];
                if (code == 0 || column.indicator[row] == -1)
                    continue;
                m_done = true;
                if (code == oci::kTruncated)
                    throw DbError(
                        QStringLiteral("列 %1 の値が長すぎて読めません。").arg(field->name), code);
                throw DbError(QStringLiteral("列 %1 の値を読めません (ORA-%2)。")
                                  .arg(field->name)
                                  .arg(int(code), 5, 10, QLatin1Char('0')),
                              code);
            }
        }
    }

    std::shared_ptr<OracleConnection> m_connection;
    oci::Stmt* m_statement;
    std::vector<std::unique_ptr<OracleField>> m_fields;
    oci::ub4 m_arraySize = 1;
    int m_row = 0;
    int m_rows = 0;
    bool m_done = false;
};

QVariant OracleField::Value() const {
    return m_owner.value(m_index);
}

// A statement handle with `sql` prepared on it; freed by the caller.
oci::Stmt* prepare(OracleConnection& connection, const QString& sql) {
    const oci::Functions& f = connection.f;
    void* handle = nullptr;
    if (f.handleAlloc(connection.env(), &handle, oci::kHtypeStmt, 0, nullptr) != oci::kSuccess ||
        !handle) {
        throw DbError(QStringLiteral("Oracle クライアントの文ハンドルを作成できません。"));
    }
    auto* statement = static_cast<oci::Stmt*>(handle);
    const QByteArray text = sql.toUtf8();
    const oci::sword rc = f.stmtPrepare(statement, connection.error(),
                                        reinterpret_cast<const oci::OraText*>(text.constData()),
                                        oci::ub4(text.size()), oci::kNtvSyntax, oci::kDefault);
    if (rc != oci::kSuccess) {
        const DbError failure = connection.failure(rc);
        f.handleFree(statement, oci::kHtypeStmt);
        throw failure;
    }
    return statement;
}

void execute(OracleConnection& connection, oci::Stmt* statement, oci::ub4 iterations) {
    const oci::sword rc =
        connection.f.stmtExecute(connection.service(), statement, connection.error(), iterations, 0,
                                 nullptr, nullptr, oci::kDefault);
    if (rc != oci::kSuccess && rc != oci::kSuccessWithInfo)
        throw connection.failure(rc);
}

}  // namespace

std::unique_ptr<Dynaset> executeOracleQuery(std::shared_ptr<OracleConnection> connection,
                                            const QString& sql) {
    oci::Stmt* statement = prepare(*connection, sql);
    // The dynaset owns the statement handle from here on, also when a step below fails.
    auto dynaset = std::make_unique<OracleDynaset>(connection, statement);
    // No iteration: a query is executed and described; anything but a query is refused by the
    // server (ORA-24333) without being run.
    execute(*connection, statement, 0);
    dynaset->start();
    return dynaset;
}

void executeOracleStatement(OracleConnection& connection, const QString& sql) {
    oci::Stmt* statement = prepare(connection, sql);
    try {
        execute(connection, statement, 1);
    } catch (...) {
        connection.f.handleFree(statement, oci::kHtypeStmt);
        throw;
    }
    connection.f.handleFree(statement, oci::kHtypeStmt);
}

}  // namespace quarnel::db
