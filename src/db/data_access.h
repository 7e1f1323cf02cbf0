// The data access component: session, database, dynaset and field.
//
// Every window and catalogue routine reaches a database only through these interfaces. The
// operations keep the names the rest of the program uses for them (DbOpenDatabase,
// DbCreateDynaset, LastServerErrText, ...); `EOF` is spelled `Eof` because <cstdio> reserves the
// other spelling as a macro.
//
// Failures are thrown as DbError, which carries the description text that callers show.
#pragma once

#include <QString>
#include <QVariant>

#include <functional>
#include <memory>
#include <stdexcept>
#include <vector>

namespace quarnel::db {

// The only class name from which a session can be created.
inline constexpr const char* kSessionClassName = "OracleInProcServer.XOraSession";

// A failure of the component. `description()` is the text shown to the user.
class DbError : public std::runtime_error {
  public:
    explicit DbError(const QString& description, int number = 0)
        : std::runtime_error(description.toStdString()),
          m_description(description),
          m_number(number) {}

    const QString& description() const { return m_description; }
    int number() const { return m_number; }

  private:
    QString m_description;
    int m_number;
};

// One column of a dynaset: its description and the current row's value.
class Field {
  public:
    virtual ~Field() = default;

    // The current row's value; null past the last row or for SQL NULL.
    virtual QVariant Value() const = 0;
    virtual QString Name() const = 0;
    // Value type code: 1 Boolean, 2 Byte, 3 Integer, 4 Long, 5 Currency, 6 Single, 7 Double,
    // 8 Date, 10 String (fixed), 11 binary, 12 String (long).
    virtual int Type() const = 0;
    // Oracle's internal data type code (1 VARCHAR2, 2 NUMBER, 12 DATE, ...).
    virtual int OraIDataType() const = 0;
    virtual int Size() const = 0;
    virtual int OraPrecision() const = 0;
    virtual int OraScale() const = 0;
    virtual bool OraNullOK() const = 0;

    // Character-set form of a character column: 1 the database character set, 2 the national
    // one (NCHAR, NVARCHAR2, NCLOB).
    virtual int OraCharsetForm() const { return 1; }
    // True for a column declared with character length semantics, VARCHAR2(n CHAR).
    virtual bool OraCharUsed() const { return false; }
    // The declared length in characters of a character column; 0 when not reported.
    virtual int OraCharSize() const { return 0; }
    // The name of a column's object type ("MDSYS.SDO_GEOMETRY"); empty for other columns.
    virtual QString OraTypeName() const { return {}; }
};

// The result cursor of one query, positioned on its first row when created.
class Dynaset {
  public:
    virtual ~Dynaset() = default;

    // True past the last row, and at once for a query without rows.
    virtual bool Eof() const = 0;
    virtual void DbMoveNext() = 0;
    virtual int FieldCount() const = 0;
    // The field with zero-based number `index`; throws DbError when out of range.
    virtual const Field& Fields(int index) const = 0;
    // All fields in select-list order.
    std::vector<const Field*> Fields() const {
        std::vector<const Field*> all;
        all.reserve(static_cast<size_t>(FieldCount()));
        for (int i = 0; i < FieldCount(); ++i)
            all.push_back(&Fields(i));
        return all;
    }
};

// Holder of the last error the server reported, shared by sessions and databases.
class ServerErrorSource {
  public:
    virtual ~ServerErrorSource() = default;
    virtual void LastServerErrReset() = 0;
    // The server's error number, 0 when none.
    virtual int LastServerErr() const = 0;
    virtual QString LastServerErrText() const = 0;
};

// An open connection.
class Database : public ServerErrorSource {
  public:
    // Runs `sql`; `options` is passed through (12 for dictionary reads, 0 for describes).
    virtual std::unique_ptr<Dynaset> DbCreateDynaset(const QString& sql, int options) = 0;
    virtual void Close() = 0;

    // A read snapshot: every query between the outermost BeginReadSnapshot and its matching
    // EndReadSnapshot sees one committed state of the database, whatever other programs change
    // meanwhile. Pairs nest; inner pairs do nothing. A Begin that throws leaves no snapshot open.
    // Use ReadSnapshot below rather than calling these directly.
    void BeginReadSnapshot() {
        if (m_snapshotDepth == 0)
            beginSnapshot();
        ++m_snapshotDepth;
    }
    void EndReadSnapshot() {
        if (m_snapshotDepth > 0 && --m_snapshotDepth == 0)
            endSnapshot();
    }
    bool InReadSnapshot() const { return m_snapshotDepth > 0; }

  protected:
    // The engine's side of the outermost pair; EndReadSnapshot's side must not throw.
    virtual void beginSnapshot() {}
    virtual void endSnapshot() noexcept {}

  private:
    int m_snapshotDepth = 0;
};

// Holds a read snapshot of `database` for its own lifetime, so it is ended on every path.
class ReadSnapshot {
  public:
    explicit ReadSnapshot(Database& database) : m_database(database) {
        m_database.BeginReadSnapshot();
    }
    ~ReadSnapshot() { m_database.EndReadSnapshot(); }
    ReadSnapshot(const ReadSnapshot&) = delete;
    ReadSnapshot& operator=(const ReadSnapshot&) = delete;

  private:
    Database& m_database;
};

// A session, from which databases are opened.
class Session : public ServerErrorSource {
  public:
    // Opens the database named by `host` with `connect` ("user/password"). `options` is passed
    // through. Throws DbError when the logon is refused; LastServerErr then tells why.
    virtual std::shared_ptr<Database> DbOpenDatabase(const QString& host, const QString& connect,
                                                     int options) = 0;
};

// Creates a session from a class name; throws DbError for any name but kSessionClassName.
using SessionFactory = std::function<std::shared_ptr<Session>(const QString& className)>;

// The real component: embedded SQLite for "sqlite:" host strings, Oracle for every other one.
std::shared_ptr<Session> CreateSession(const QString& className);

}  // namespace quarnel::db
