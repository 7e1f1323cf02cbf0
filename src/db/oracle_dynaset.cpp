// Queries on an Oracle session: prepare, execute, describe every column, and fetch the rows in
// arrays of up to 1,000 per round trip.
#include "db/dynaset_errors.h"
#include "db/oracle_connection.h"
#include "db/oracle_types.h"

#include <QByteArray>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

namespace quarnel::db {
namespace {

using namespace oracle_type;

// Rows per fetch call, and the memory one fetch may fill: a wide row fetches fewer at a time.
constexpr oci::ub4 kRowsPerFetch = 1000;
constexpr size_t kFetchBudgetBytes = 16u << 20;
// The pieces a LONG or CLOB value is read in, whole: a small first piece, then each piece as
// large as what has been read so far, up to a limit.
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

// How a column's values are fetched: as text, as a number, piecewise (LONG, CLOB), or not at all
// (BLOB, BFILE, objects, JSON, vectors and BOOLEAN, which the program never reads; their Value is
// null).
enum class Fetch { Text, Number, Pieces, None };

Fetch fetchKind(int code) {
    switch (code) {
        case kNumber:
        case kBinaryFloat:
        case kBinaryDouble:
            return Fetch::Number;
        case kLong:
        case kLongRaw:
        case kClob:
            // A CLOB is read through the LOB data interface: defined as text, piece by piece.
            return Fetch::Pieces;
        case kBlob:
        case kBfile:
        case kNamedType:
        case kJson:
        case kVector:
        case kBoolean:
            return Fetch::None;
        default:
            return Fetch::Text;
    }
}

class OracleField;

struct ColumnBuffer {
    Fetch kind = Fetch::Text;
    oci::ub4 width = 0;
    std::vector<char> data;
    std::vector<oci::sb2> indicator;
    std::vector<oci::ub2> length;
    std::vector<oci::ub2> returnCode;
    // LONG values, one per row of the array, and the piece being filled.
    std::vector<QByteArray> pieces;
    int pendingRow = -1;
    qsizetype pendingOffset = 0;
    oci::ub4 pendingLength = 0;

    void commitPiece() {
        if (pendingRow >= 0)
            pieces[size_t(pendingRow)].resize(pendingOffset + pendingLength);
        pendingRow = -1;
    }
};

// Hands the client library the next piece of a LONG value of row `iteration`.
oci::sb4 longPiece(void* context, oci::Define*, oci::ub4 iteration, void** buffer,
                   oci::ub4** length, oci::ub1* piece, void** indicator, oci::ub2** returnCode) {
    auto& column = *static_cast<ColumnBuffer*>(context);
    column.commitPiece();
    if (iteration >= column.pieces.size())
        return oci::kError;
    QByteArray& value = column.pieces[iteration];
    if (*piece == oci::kFirstPiece || *piece == oci::kOnePiece)
        value.clear();
    column.pendingRow = int(iteration);
    column.pendingOffset = value.size();
    const oci::ub4 pieceBytes =
        std::clamp(oci::ub4(value.size()), kFirstPieceBytes, kLargestPieceBytes);
    value.resize(value.size() + pieceBytes);
    column.pendingLength = pieceBytes;
    *buffer = value.data() + column.pendingOffset;
    *length = &column.pendingLength;
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
        : m_connection(std::move(connection)), m_statement(statement) {}

    ~OracleDynaset() override { m_connection->f.handleFree(m_statement, oci::kHtypeStmt); }

    void start() {
        describe();
        define();
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
                double number = 0;
                std::memcpy(&number, column.data.data() + row * sizeof(double), sizeof number);
                if (std::nearbyint(number) == number && std::fabs(number) < 9.0e15)
                    return QVariant(qlonglong(number));
                return QVariant(number);
            }
            case Fetch::Pieces:
                return QVariant(QString::fromUtf8(column.pieces[row]));
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
                field->charsetForm = attribute<oci::ub1>(param, oci::kAttrCharsetForm);
                field->charUsed = attribute<oci::ub1>(param, oci::kAttrCharUsed) != 0;
                field->charSize = attribute<oci::ub2>(param, oci::kAttrCharSize);
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
    void define() {
        size_t rowBytes = 1;
        for (const auto& field : m_fields) {
            ColumnBuffer& column = field->buffer;
            column.kind = fetchKind(field->dataType);
            if (column.kind == Fetch::Number)
                column.width = sizeof(double);
            else if (column.kind == Fetch::Text)
                // Room for any conversion to UTF-8: four bytes for each byte the server counts.
                column.width = oci::ub4(std::clamp(std::max(field->size, 32) * 4, 64, 65535));
            rowBytes += column.width + 8;
        }
        m_arraySize = oci::ub4(std::clamp<size_t>(kFetchBudgetBytes / rowBytes, 1, kRowsPerFetch));
        const oci::Functions& f = m_connection->f;
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
                column.pieces.assign(m_arraySize, QByteArray());
                rc = f.defineByPos(m_statement, &define, m_connection->error(), oci::ub4(i + 1),
                                   nullptr, oci::sb4(0x7fffffff), oci::kSqltChr, nullptr, nullptr,
                                   nullptr, oci::kDynamicFetch);
                if (rc == oci::kSuccess) {
                    rc = f.defineDynamic(define, m_connection->error(), &column, &longPiece);
                }
            } else {
                column.data.assign(size_t(column.width) * m_arraySize, 0);
                rc = f.defineByPos(m_statement, &define, m_connection->error(), oci::ub4(i + 1),
                                   column.data.data(), oci::sb4(column.width),
                                   column.kind == Fetch::Number ? oci::kSqltFlt : oci::kSqltChr,
                                   column.indicator.data(), column.length.data(),
                                   column.returnCode.data(), oci::kDefault);
            }
            if (rc != oci::kSuccess)
                throw m_connection->failure(rc);
        }
    }

    void fetchBatch() {
        m_row = 0;
        m_rows = 0;
        if (!m_connection->isOpen()) {
            m_done = true;
            throw OracleConnection::closedFailure();
        }
        const oci::Functions& f = m_connection->f;
        const oci::sword rc = f.stmtFetch2(m_statement, m_connection->error(), m_arraySize,
                                           oci::kFetchNext, 0, oci::kDefault);
        for (auto& field : m_fields)
            field->buffer.commitPiece();
        if (rc != oci::kSuccess && rc != oci::kSuccessWithInfo && rc != oci::kNoData) {
            m_done = true;
            throw m_connection->failure(rc);
        }
        oci::ub4 fetched = 0;
        f.attrGet(m_statement, oci::kHtypeStmt, &fetched, nullptr, oci::kAttrRowsFetched,
                  m_connection->error());
        m_rows = int(std::min(fetched, m_arraySize));
        m_done = rc == oci::kNoData || m_rows == 0;
        for (const auto& field : m_fields) {
            const ColumnBuffer& column = field->buffer;
            for (int row = 0; row < m_rows; ++row) {
                if (column.kind == Fetch::Text && column.returnCode[size_t(row)] == oci::kTruncated)
                    throw DbError(
                        QStringLiteral("列 %1 の値が長すぎて読めません。").arg(field->name));
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
