// Schema comparison: real differences are reported, generated names are matched by what they
// are, names are compared exactly.
#include "schema/compare.h"

#include <gtest/gtest.h>

namespace quarnel::schema {
namespace {

Column column(const QString& name, int position, int type, int size, int precision = 0,
              int scale = 0) {
    Column c;
    c.description.name = name;
    c.description.oraIDataType = type;
    c.description.size = size;
    c.description.precision = precision;
    c.description.scale = scale;
    c.position = position;
    return c;
}

// EMP and DEPT as one script builds them, with names the server generated.
Schema baseSchema() {
    Schema schema;
    schema.user = QStringLiteral("SCOTT");
    Table dept;
    dept.name = QStringLiteral("DEPT");
    dept.columns = {column(QStringLiteral("DEPTNO"), 1, 2, 22, 2),
                    column(QStringLiteral("DNAME"), 2, 1, 14)};
    dept.primaryKey = KeyConstraint{QStringLiteral("SYS_C001"), {QStringLiteral("DEPTNO")}, true};
    dept.indexes = {Index{QStringLiteral("SYS_C001"),
                          true,
                          true,
                          {{QStringLiteral("DEPTNO"), std::nullopt, false}},
                          {}}};
    Table emp;
    emp.name = QStringLiteral("EMP");
    emp.comment = QStringLiteral("社員");
    emp.columns = {column(QStringLiteral("EMPNO"), 1, 2, 22, 4),
                   column(QStringLiteral("ENAME"), 2, 1, 10),
                   column(QStringLiteral("DEPTNO"), 3, 2, 22, 2)};
    emp.columns[1].comment = QStringLiteral("氏名");
    emp.primaryKey = KeyConstraint{QStringLiteral("EMP_PK"), {QStringLiteral("EMPNO")}, false};
    emp.foreignKeys = {ForeignKey{QStringLiteral("SYS_C002"),
                                  {QStringLiteral("DEPTNO")},
                                  QStringLiteral("SCOTT"),
                                  QStringLiteral("DEPT"),
                                  {QStringLiteral("DEPTNO")},
                                  QStringLiteral("SYS_C001"),
                                  QStringLiteral("NO ACTION"),
                                  true}};
    emp.checks = {CheckConstraint{QStringLiteral("SYS_C003"), QStringLiteral("EMPNO > 0"), true}};
    emp.indexes = {
        Index{QStringLiteral("EMP_ENAME"),
              false,
              false,
              {{QStringLiteral("ENAME"), std::nullopt, false}},
              {}},
        Index{QStringLiteral("EMP_PK"),
              true,
              false,
              {{QStringLiteral("EMPNO"), std::nullopt, false}},
              {}},
        Index{QStringLiteral("SYS_C004"),
              false,
              true,
              {{QStringLiteral("SYS_NC00005$"), QStringLiteral("UPPER(\"ENAME\")"), true}},
              {}}};
    schema.tables = {dept, emp};
    return schema;
}

Table& tableOf(Schema& schema, const char* name) {
    for (Table& table : schema.tables) {
        if (table.name == QLatin1String(name))
            return table;
    }
    throw std::logic_error(name);
}

TEST(CompareTest, ASchemaComparedWithItselfIsEqual) {
    const Schema schema = baseSchema();
    EXPECT_TRUE(compareSchemas(schema, schema).equal());
}

TEST(CompareTest, ReportsTheFourRealDifferencesAndNoneForRenamedGeneratedNames) {
    const Schema a = baseSchema();
    Schema b = baseSchema();
    Table& emp = tableOf(b, "EMP");
    emp.columns.push_back(column(QStringLiteral("BONUS"), 4, 2, 22, 7, 2));
    emp.columns[1].description.size = 20;
    emp.indexes.erase(emp.indexes.begin());
    emp.columns[1].comment = QStringLiteral("社員氏名");
    // Another database gave the same constraints and index other names.
    emp.foreignKeys[0].name = QStringLiteral("SYS_C102");
    emp.checks[0].name = QStringLiteral("SYS_C103");
    emp.indexes.back().name = QStringLiteral("SYS_C104");
    emp.indexes.back().columns[0].name = QStringLiteral("SYS_NC00007$");
    tableOf(b, "DEPT").primaryKey->name = QStringLiteral("SYS_C101");
    tableOf(b, "DEPT").indexes[0].name = QStringLiteral("SYS_C101");

    const Comparison comparison = compareSchemas(a, b);
    ASSERT_EQ(comparison.tables.size(), 1u);
    EXPECT_EQ(comparison.tables[0].table, QStringLiteral("EMP"));
    EXPECT_EQ(
        comparison.tables[0].changes,
        QStringList({QStringLiteral("column changed: ENAME: type VARCHAR2(10) -> "
                                    "VARCHAR2(20)"),
                     QStringLiteral("column changed: ENAME: comment \"氏名\" -> \"社員氏名\""),
                     QStringLiteral("column added: BONUS NUMBER(7,2)"),
                     QStringLiteral("index removed: EMP_ENAME (ENAME)")}));
    EXPECT_EQ(comparison.differenceCount(), 4);
}

TEST(CompareTest, ChosenNamesAreComparedExactly) {
    const Schema a = baseSchema();
    Schema b = baseSchema();
    tableOf(b, "EMP").primaryKey->name = QStringLiteral("emp_pk");
    tableOf(b, "EMP").indexes[0].name = QStringLiteral("EMP_ENAME\"");
    tableOf(b, "DEPT").name = QStringLiteral("Dept");

    const QString report = comparisonReport(compareSchemas(a, b), QStringLiteral("a"),
                                            QStringLiteral("b"), ReportFormat::Text);
    EXPECT_EQ(report.toStdString(),
              QStringLiteral("Schema comparison\r\nA: a\r\nB: b\r\nDifferences: 4\r\n"
                             "\r\nTables only in A\r\n  DEPT\r\n"
                             "\r\nTables only in B\r\n  \"Dept\"\r\n"
                             "\r\nTable EMP\r\n"
                             "  primary key renamed: EMP_PK -> \"emp_pk\"\r\n"
                             "  index renamed: EMP_ENAME -> \"EMP_ENAME\"\"\"\r\n")
                  .toStdString());
}

TEST(CompareTest, MarkdownReportHasHeadingsAndItems) {
    Schema b = baseSchema();
    tableOf(b, "EMP").comment.clear();
    const QString report = comparisonReport(compareSchemas(baseSchema(), b), QStringLiteral("a"),
                                            QStringLiteral("b"), ReportFormat::Markdown);
    EXPECT_EQ(report.toStdString(),
              QStringLiteral("# Schema comparison\r\n\r\n- A: a\r\n- B: b\r\n- Differences: 1\r\n"
                             "\r\n## Table `EMP`\r\n\r\n"
                             "- table comment changed: \"社員\" -> \"\"\r\n")
                  .toStdString());
}

}  // namespace
}  // namespace quarnel::schema
