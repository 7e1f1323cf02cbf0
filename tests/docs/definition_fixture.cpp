// Writes the table-definition document of a small hand-made schema, for definition_check.py to
// read back: usage: definition_fixture OUTPUT_FOLDER. Writes book.xlsx (a sheet per table),
// one.xlsx (the single-sheet layout) and md/ (the Markdown folder).
#include "docs/definition_document.h"

#include <QCoreApplication>
#include <QDir>
#include <QTimeZone>

#include <cstdio>

using namespace quarnel;
using namespace quarnel::schema;

namespace {

namespace ot = db::oracle_type;

Column column(const QString& name, int type, int size, int precision, int scale, bool nullOk,
              const QString& comment = {}, std::optional<QString> defaultText = {}) {
    Column c;
    c.description.name = name;
    c.description.oraIDataType = type;
    c.description.size = size;
    c.description.precision = precision;
    c.description.scale = scale;
    c.description.nullOk = nullOk;
    c.comment = comment;
    c.defaultText = std::move(defaultText);
    return c;
}

Schema fixture() {
    Schema s;
    s.user = QStringLiteral("DEMO");
    s.host = QStringLiteral("sqlite:demo.db");
    s.readAt = QDateTime(QDate(2026, 12, 7), QTime(9, 30, 0), QTimeZone::systemTimeZone());

    Table dept;
    dept.name = QStringLiteral("DEPT");
    dept.comment = QStringLiteral("部署\n組織の単位");
    dept.columns = {column("DEPTNO", ot::kNumber, 22, 2, 0, false, "部署番号"),
                    column("DNAME", ot::kVarchar2, 14, 0, 0, true, "部署名"),
                    column("LOC", ot::kVarchar2, 13, 0, 0, true, {}, "'TOKYO'  \n")};
    dept.primaryKey = KeyConstraint{"PK_DEPT", {"DEPTNO"}, false};
    dept.uniqueKeys = {KeyConstraint{"UK_DEPT_DNAME", {"DNAME"}, false}};
    dept.indexes = {Index{"PK_DEPT", true, false, {IndexColumn{"DEPTNO", {}, false}}, {}},
                    Index{"UK_DEPT_DNAME", true, false, {IndexColumn{"DNAME", {}, false}}, {}}};

    Table emp;
    emp.name = QStringLiteral("EMP");
    emp.comment = QStringLiteral("社員");
    Column ename = column("ENAME", ot::kVarchar2, 40, 0, 0, false,
                          QStringLiteral("氏名\n姓と名 | 全角 \"引用\" 'quote'"));
    ename.description.charUsed = true;
    ename.description.charLength = 10;
    emp.columns = {column("EMPNO", ot::kNumber, 22, 4, 0, false, "社員番号"), ename,
                   column("SAL", ot::kNumber, 22, 9, 2, true, "給与", "0"),
                   column("HIREDATE", ot::kDate, 7, 0, 0, true, "入社日", "SYSDATE"),
                   column("DEPTNO", ot::kNumber, 22, 2, 0, true, "部署番号")};
    emp.primaryKey = KeyConstraint{"PK_EMP", {"EMPNO"}, false};
    emp.foreignKeys = {ForeignKey{
        "FK_EMP_DEPT", {"DEPTNO"}, "DEMO", "DEPT", {"DEPTNO"}, "PK_DEPT", "SET NULL", false}};
    emp.checks = {CheckConstraint{"CK_EMP_SAL", "SAL >= 0", false}};
    emp.indexes = {Index{"EMP_NAME_IX",
                         false,
                         false,
                         {IndexColumn{"SYS_NC00006$", QStringLiteral("UPPER(\"ENAME\")"), false},
                          IndexColumn{"HIREDATE", {}, true}},
                         {}},
                   Index{"PK_EMP", true, false, {IndexColumn{"EMPNO", {}, false}}, {}}};

    // Names a sheet or a file cannot take as they are.
    Table odd;
    odd.name = QStringLiteral("Order Lines/2024: [draft]?");
    odd.columns = {column("Line No", ot::kNumber, 22, 0, -127, true)};
    Table lower;
    lower.name = QStringLiteral("emp");
    lower.columns = {column("A|B", ot::kChar, 1, 0, 0, true, "パイプ|入り")};
    Table longName;
    longName.name = QStringLiteral("A_VERY_LONG_TABLE_NAME_THAT_EXCEEDS_THIRTY_ONE");
    longName.columns = {column("X", ot::kRaw, 16, 0, 0, true)};
    Table con;
    con.name = QStringLiteral("CON");
    con.columns = {column("Y", ot::kVarchar2, 10, 0, 0, true)};

    s.tables = {dept, emp, odd, lower, longName, con};
    return s;
}

bool write(const Schema& schema, docs::DocumentFormat format, const QString& target,
           bool oneSheet) {
    try {
        auto writer = docs::makeDefinitionWriter(format, target, oneSheet);
        writeSchema(schema, *writer, {});
        return true;
    } catch (const WriteError& error) {
        std::fprintf(stderr, "%s: %s\n", qPrintable(target), qPrintable(error.reason()));
        return false;
    }
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: definition_fixture OUTPUT_FOLDER\n");
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    QDir().mkpath(out.path());
    const Schema schema = fixture();
    const bool ok = write(schema, docs::DocumentFormat::Excel, out.filePath("book.xlsx"), false) &&
                    write(schema, docs::DocumentFormat::Excel, out.filePath("one.xlsx"), true) &&
                    write(schema, docs::DocumentFormat::Markdown, out.filePath("md"), false);
    return ok ? 0 : 1;
}
