// The names the embedded engine reports for keys and indexes, and the names of tables it can
// describe.
#include "db/engines.h"
#include "testing/sqlite_fixture.h"

#include <gtest/gtest.h>

namespace quarnel::db {
namespace {

using testing::SqliteFixture;
using Rows = std::vector<std::string>;

// All rows of `sql` on `db`, each row's values joined by "|".
Rows rowsOf(Database& db, const QString& sql) {
    Rows result;
    auto dynaset = db.DbCreateDynaset(sql, 12);
    for (; !dynaset->Eof(); dynaset->DbMoveNext()) {
        QStringList values;
        for (const Field* field : dynaset->Fields())
            values.append(field->Value().toString());
        result.push_back(values.join(u'|').toStdString());
    }
    return result;
}

TEST(SqliteKeyNames, DoubledQuoteInADeclaredNameStandsForOne) {
    SqliteFixture files;
    auto db = OpenSqliteDatabase(files.createDatabase(
        QStringLiteral("CREATE TABLE Q (A NUMBER, B NUMBER CONSTRAINT \"Q \"\"U\"\"\" UNIQUE,"
                       " CONSTRAINT \"Q\"\"K\" PRIMARY KEY (A));")));
    EXPECT_EQ(rowsOf(*db, QStringLiteral("SELECT constraint_name, constraint_type FROM "
                                         "user_constraints ORDER BY 2")),
              (Rows{"Q\"K|P", "Q \"U\"|U"}));
}

}  // namespace
}  // namespace quarnel::db
