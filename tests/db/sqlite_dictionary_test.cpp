// The whole-schema dictionary views of the embedded engine, compared with what the files hold.
#include "db/engines.h"
#include "db/sqlite_types.h"
#include "testing/sqlite_fixture.h"

#include <QFile>

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <map>
#include <set>

namespace quarnel::db {
namespace {

using testing::SqliteFixture;
using Rows = std::vector<std::string>;

Rows rowsOf(Database& db, const QString& sql) {
    Rows result;
    for (auto d = db.DbCreateDynaset(sql, 12); !d->Eof(); d->DbMoveNext()) {
        QStringList values;
        for (const Field* field : d->Fields())
            values.append(field->Value().toString());
        result.push_back(values.join(u'|').toStdString());
    }
    return result;
}

QString literal(QString text) {
    return u'\'' + text.replace(u'\'', QStringLiteral("''")) + u'\'';
}

// A music shop in the manner of the Chinook sample: foreign keys of every form, one of them to
// its own table, and names holding quotes, TAB, CR LF, "--" and Japanese.
constexpr const char* kShopSql = R"sql(
CREATE TABLE Artist (ArtistId INTEGER PRIMARY KEY, Name NVARCHAR(120)); -- not the table's
CREATE TABLE "Album ""Odd""" (  -- アルバム
  AlbumId INTEGER NOT NULL,
  Title NVARCHAR(160) NOT NULL,  -- 題名 -- 正式
  "Artist	Id" INTEGER NOT NULL REFERENCES Artist (ArtistId) ON DELETE CASCADE,
  CONSTRAINT PK_Album PRIMARY KEY (AlbumId));
CREATE TABLE Genre (GenreId INTEGER PRIMARY KEY, Name NVARCHAR(120) UNIQUE);
CREATE TABLE "曲" (
  TrackId INTEGER PRIMARY KEY AUTOINCREMENT,
  "Album
Id" INTEGER,  -- 'アルバム'
  GenreName NVARCHAR(120) DEFAULT 'Rock--n' CHECK (length(GenreName) > 0),
  Bytes NUMBER(10) DEFAULT (0) CONSTRAINT "Bytes ""ck""" CHECK (Bytes >= 0),
  CONSTRAINT FK_TrackAlbum FOREIGN KEY ("Album
Id") REFERENCES "Album ""Odd""" ON DELETE SET NULL,
  FOREIGN KEY (GenreName) REFERENCES genre (name));
CREATE TABLE Employee (EmployeeId INTEGER PRIMARY KEY, ReportsTo INTEGER REFERENCES Employee,
  Note TEXT REFERENCES Missing (X));
)sql";

class DictionaryTest : public ::testing::Test {
  protected:
    void open(const char* script) {
        m_path = m_files.createDatabase(QString::fromUtf8(script));
        m_db = OpenSqliteDatabase(m_path);
    }
    Rows rows(const QString& sql) { return rowsOf(*m_db, sql); }

    SqliteFixture m_files;
    QString m_path;
    std::shared_ptr<Database> m_db;
};

TEST_F(DictionaryTest, ForeignKeysAreTheFilesWithTheReferencedKeysNames) {
    open(kShopSql);
    // What SQLite itself says, through a connection of its own.
    sqlite3* raw = nullptr;
    ASSERT_EQ(
        sqlite3_open_v2(QFile::encodeName(m_path).constData(), &raw, SQLITE_OPEN_READONLY, nullptr),
        SQLITE_OK);
    std::multiset<std::string> held;
    sqlite3_stmt* list = nullptr;
    sqlite3_prepare_v2(raw,
                       "SELECT m.name, f.\"from\", f.\"table\", f.on_delete FROM sqlite_master m,"
                       " pragma_foreign_key_list(m.name) f WHERE m.type = 'table'",
                       -1, &list, nullptr);
    while (sqlite3_step(list) == SQLITE_ROW) {
        QStringList values;
        for (int i = 0; i < 4; ++i)
            values << QString::fromUtf8(
                reinterpret_cast<const char*>(sqlite3_column_text(list, i)));
        held.insert(values.join(u'|').toStdString());
    }
    sqlite3_finalize(list);
    sqlite3_close(raw);

    // The views' foreign keys, the referenced table found through r_constraint_name.
    std::multiset<std::string> shown;
    for (const std::string& row : rows(QStringLiteral(
             "SELECT c.table_name, k.column_name, coalesce(r.table_name, 'Missing'),"
             " c.delete_rule FROM user_constraints c JOIN user_cons_columns k"
             " ON k.table_name = c.table_name AND k.constraint_name = c.constraint_name"
             " LEFT JOIN user_constraints r ON r.constraint_name = c.r_constraint_name"
             " WHERE c.constraint_type = 'R'")))
        shown.insert(row);
    // SQLite keeps the referenced name as written; the views give the table's own.
    held.erase(held.find("曲|GenreName|genre|NO ACTION"));
    held.insert("曲|GenreName|Genre|NO ACTION");
    EXPECT_EQ(shown, held);

    EXPECT_EQ(rows(QStringLiteral("SELECT constraint_name, constraint_type, search_condition,"
                                  " r_constraint_name, generated FROM user_constraints"
                                  " WHERE table_name = '曲' ORDER BY 1")),
              (Rows{"Bytes \"ck\"|C|Bytes >= 0||USER NAME", "FK_TrackAlbum|R||PK_Album|USER NAME",
                    "曲_CK1|C|length(GenreName) > 0||GENERATED NAME",
                    "曲_FK2|R||Genre_UK1|GENERATED NAME", "曲_PK|P|||GENERATED NAME"}));
    EXPECT_EQ(rows(QStringLiteral("SELECT r_constraint_name FROM user_constraints"
                                  " WHERE table_name = 'Employee' ORDER BY constraint_name")),
              (Rows{"Employee_PK", "", ""}));
}

TEST_F(DictionaryTest, CommentsAndDefaultsAreTheCreateStatementsText) {
    open(kShopSql);
    EXPECT_EQ(rows(QStringLiteral("SELECT table_name, comments FROM user_tab_comments")),
              (Rows{"Artist|", "Album \"Odd\"|アルバム", "Genre|", "曲|", "Employee|"}));
    EXPECT_EQ(rows(QStringLiteral("SELECT column_name, comments FROM user_col_comments"
                                  " WHERE table_name = 'Album \"Odd\"'")),
              (Rows{"AlbumId|", "Title|題名 -- 正式", "Artist\tId|"}));
    EXPECT_EQ(rows(QStringLiteral("SELECT column_name, comments FROM user_col_comments"
                                  " WHERE table_name = '曲' AND comments IS NOT NULL")),
              (Rows{"Album\nId|'アルバム'"}));
    EXPECT_EQ(rows(QStringLiteral("SELECT column_name, data_default FROM user_tab_columns"
                                  " WHERE table_name = '曲' AND data_default IS NOT NULL")),
              (Rows{"GenreName|'Rock--n'", "Bytes|0"}));
}

// Files SQLite reads otherwise than their statements say, read table by table and in a
// snapshot's whole-schema read: one of the schema format before 3.7.10 (header bytes 44-47 below
// 4), which keeps no DESC in index keys, and one whose index row names its table in other case.
TEST_F(DictionaryTest, OddFilesGiveTheIndexesSQLiteReads) {
    m_path = m_files.createDatabase(
        QStringLiteral("CREATE TABLE t(a, b INTEGER PRIMARY KEY DESC, UNIQUE(a DESC));"
                       "CREATE TABLE u(c, d); CREATE INDEX i ON u(c, d DESC);"));
    QFile file(m_path);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite) && file.seek(47) && file.write("\x01", 1) == 1);
    file.close();
    m_db = OpenSqliteDatabase(m_path);
    const QString sql = QStringLiteral(
        "SELECT table_name, index_name, column_name, descend"
        " FROM user_ind_columns ORDER BY 1, 2, 3");
    const Rows expected{"t|t_PK|b|ASC", "t|t_UK2|a|ASC", "u|i|c|ASC", "u|i|d|ASC"};
    EXPECT_EQ(rows(sql), expected);
    {
        const ReadSnapshot snapshot(*m_db);
        EXPECT_EQ(rows(sql), expected);
    }

    open(
        "CREATE TABLE t(a); CREATE INDEX i ON t(a); PRAGMA writable_schema = 1;"
        "UPDATE sqlite_schema SET tbl_name = 'T' WHERE name = 'i';");
    const ReadSnapshot snapshot(*m_db);
    EXPECT_EQ(rows(sql), (Rows{"t|i|a|ASC"}));
}

// Every view read for the whole schema gives, table by table, what it gives for one table, and
// the same inside a read snapshot, where the first whole-schema read keeps what it read.
TEST_F(DictionaryTest, WholeSchemaReadsGiveWhatEachTablesReadGives) {
    open(kShopSql);
    const Rows tables = rows(QStringLiteral("SELECT table_name FROM user_tables"));
    ASSERT_EQ(tables.size(), 5u);
    const char* views[] = {"user_tab_columns", "user_tab_comments", "user_col_comments",
                           "user_constraints", "user_cons_columns", "all_cons_columns",
                           "user_indexes",     "user_ind_columns",  "user_ind_expressions"};
    std::map<std::string, Rows> outside;
    for (const char* view : views) {
        const Rows all = rows(QStringLiteral("SELECT * FROM %1").arg(QLatin1String(view)));
        Rows byTable;
        for (const std::string& table : tables) {
            for (const std::string& row :
                 rows(QStringLiteral("SELECT * FROM %1 WHERE table_name = %2")
                          .arg(QLatin1String(view), literal(QString::fromStdString(table)))))
                byTable.push_back(row);
        }
        EXPECT_EQ(all, byTable) << view;
        outside[view] = all;
    }
    const ReadSnapshot snapshot(*m_db);
    for (const char* view : views) {
        EXPECT_EQ(rows(QStringLiteral("SELECT * FROM %1").arg(QLatin1String(view))), outside[view])
            << view;
    }
    EXPECT_EQ(rows(QStringLiteral("SELECT column_name FROM user_tab_columns"
                                  " WHERE table_name = 'Genre'")),
              (Rows{"GenreId", "Name"}));
}

// A column's dictionary row holds the numbers its describe reports, for every declared type.
TEST_F(DictionaryTest, ColumnTypesAreTheDescribesNumbers) {
    open(
        "CREATE TABLE T (A VARCHAR2(20) NOT NULL, B NUMBER, C NUMBER(7,2), D INTEGER,"
        " E FLOAT(10), F REAL, G DATE, H CHAR(3), I LONG, J LONG RAW, K RAW(16), L ROWID,"
        " M CLOB, N BLOB, O BFILE, P TIMESTAMP(3), V UROWID(100), W BINARY_FLOAT, X BINARY_DOUBLE,"
        " Y MLSLABEL, Z BOOLEAN, AA, AB JSON, AC NVARCHAR2(5), AD DOUBLE PRECISION,"
        " PRIMARY KEY (B));");
    auto describe = m_db->DbCreateDynaset(QStringLiteral("SELECT * FROM T WHERE RowNum < 1"), 0);
    Rows expected;
    int id = 0;
    for (const Field* field : describe->Fields()) {
        const DictionaryType type =
            dictionaryType({field->OraIDataType(), field->Size(), field->OraPrecision(),
                            field->OraScale(), field->Type()});
        const auto optional = [](const auto& value) {
            return value ? QString::number(*value) : QString();
        };
        expected.push_back(QStringLiteral("%1|%2|%3|%4|%5|%6|%7|%8")
                               .arg(field->Name())
                               .arg(++id)
                               .arg(type.dataType)
                               .arg(type.length)
                               .arg(optional(type.precision), optional(type.scale),
                                    field->OraNullOK() ? QStringLiteral("Y") : QStringLiteral("N"),
                                    type.charUsed ? QString(QChar(*type.charUsed)) : QString())
                               .toStdString());
    }
    EXPECT_EQ(rows(QStringLiteral("SELECT column_name, column_id, data_type, data_length,"
                                  " data_precision, data_scale, nullable, char_used"
                                  " FROM user_tab_columns")),
              expected);
    // Spot checks of the conversion itself.
    EXPECT_EQ(expected[2], "C|3|NUMBER|22|7|2|Y|");
    EXPECT_EQ(expected[4], "E|5|FLOAT|22|10||Y|");
    EXPECT_EQ(expected[15], "P|16|TIMESTAMP(3)|11||3|Y|");
    EXPECT_EQ(expected[16], "V|17|UROWID|100|||Y|");
    const DictionaryType interval = dictionaryType({183, 11, 3, 2, 10});
    EXPECT_EQ(interval.dataType, QStringLiteral("INTERVAL DAY(3) TO SECOND(2)"));
    EXPECT_EQ(std::make_pair(interval.precision, interval.scale),
              std::make_pair(std::optional<int>(3), std::optional<int>(2)));
}

TEST(DictionaryOwner, IsTheLogonsUserInUpperCase) {
    SqliteFixture files;
    const QString path = files.createDatabase(
        QStringLiteral("CREATE TABLE P (A PRIMARY KEY); CREATE TABLE C (B REFERENCES P);"));
    auto session = CreateSession(QString::fromLatin1(kSessionClassName));
    auto db = session->DbOpenDatabase(SqliteFixture::hostFor(path), QStringLiteral("scott/x"), 0);
    EXPECT_EQ(rowsOf(*db, QStringLiteral("SELECT username FROM user_users")), Rows{"SCOTT"});
    EXPECT_EQ(rowsOf(*db, QStringLiteral("SELECT owner, r_owner FROM user_constraints"
                                         " WHERE constraint_type = 'R'")),
              Rows{"SCOTT|SCOTT"});
}

}  // namespace
}  // namespace quarnel::db
