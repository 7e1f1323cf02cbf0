// The tbls document of a hand-built model: the parts the placeholder reads cannot show yet
// (foreign keys, checks, unique keys, identity) and the DDL texts tbls replays.
#include "schema/tbls_json.h"

#include <QJsonArray>
#include <QJsonDocument>

#include <gtest/gtest.h>

namespace quarnel::schema {
namespace {

TEST(TblsJsonTest, KeysChecksIndexesAndRelationsAsTblsReadsThem) {
    Schema schema;
    schema.user = QStringLiteral("scott");
    schema.engine = QStringLiteral("Oracle");
    Table dept;
    dept.name = QStringLiteral("DEPT");
    Column deptno;
    deptno.description.name = QStringLiteral("DEPTNO");
    deptno.description.oraIDataType = 2;
    deptno.description.precision = 2;
    dept.columns = {deptno};
    Table emp;
    emp.name = QStringLiteral("Emp \"1\"");
    Column id = deptno;
    id.description.name = QStringLiteral("ID");
    id.identity = true;
    id.defaultText = QStringLiteral("\"SCOTT\".\"ISEQ$$_1\".nextval");
    id.comment = QStringLiteral("番号");
    emp.columns = {id, deptno};
    emp.uniqueKeys = {KeyConstraint{QStringLiteral("EMP_UK"), {QStringLiteral("ID")}, false}};
    emp.foreignKeys = {ForeignKey{QStringLiteral("EMP_FK"),
                                  {QStringLiteral("DEPTNO")},
                                  QStringLiteral("SCOTT"),
                                  QStringLiteral("DEPT"),
                                  {QStringLiteral("DEPTNO")},
                                  QStringLiteral("DEPT_PK"),
                                  QStringLiteral("CASCADE"),
                                  false}};
    emp.checks = {CheckConstraint{QStringLiteral("EMP_CK"), QStringLiteral("ID > 0"), false}};
    emp.indexes = {Index{QStringLiteral("EMP_IX"),
                         true,
                         false,
                         {{QStringLiteral("DEPTNO"), std::nullopt, true},
                          {QStringLiteral("SYS_NC00003$"), QStringLiteral("UPPER(\"X\")"), false}},
                         {}}};
    schema.tables = {dept, emp};

    const QJsonObject document = tblsDocument(schema);
    const QJsonObject table = document[QStringLiteral("tables")][1].toObject();
    const QJsonArray constraints = table[QStringLiteral("constraints")].toArray();
    ASSERT_EQ(constraints.size(), 3);
    EXPECT_EQ(constraints[0][QStringLiteral("def")].toString(), QStringLiteral("UNIQUE (ID)"));
    EXPECT_EQ(constraints[1][QStringLiteral("def")].toString(),
              QStringLiteral("FOREIGN KEY (DEPTNO) REFERENCES DEPT (DEPTNO) ON DELETE CASCADE"));
    EXPECT_EQ(constraints[1][QStringLiteral("referenced_table")].toString(),
              QStringLiteral("DEPT"));
    EXPECT_EQ(constraints[2][QStringLiteral("def")].toString(), QStringLiteral("CHECK (ID > 0)"));
    EXPECT_EQ(table[QStringLiteral("indexes")][0][QStringLiteral("def")].toString(),
              QStringLiteral("CREATE UNIQUE INDEX EMP_IX ON \"Emp \"\"1\"\"\" (DEPTNO DESC, "
                             "UPPER(\"X\"))"));
    const QJsonObject column = table[QStringLiteral("columns")][0].toObject();
    EXPECT_EQ(column[QStringLiteral("type")].toString(), QStringLiteral("NUMBER(2)"));
    EXPECT_EQ(column[QStringLiteral("extra_def")].toString(),
              QStringLiteral("GENERATED AS IDENTITY"));
    EXPECT_EQ(column[QStringLiteral("comment")].toString(), QStringLiteral("番号"));
    EXPECT_EQ(table[QStringLiteral("columns")][1][QStringLiteral("default")].type(),
              QJsonValue::Null);
    const QJsonArray relations = document[QStringLiteral("relations")].toArray();
    ASSERT_EQ(relations.size(), 1);
    EXPECT_EQ(relations[0][QStringLiteral("parent_table")].toString(), QStringLiteral("DEPT"));
    EXPECT_EQ(relations[0][QStringLiteral("table")].toString(), QStringLiteral("Emp \"1\""));
    EXPECT_EQ(document[QStringLiteral("driver")][QStringLiteral("name")].toString(),
              QStringLiteral("oracle"));
}

}  // namespace
}  // namespace quarnel::schema
