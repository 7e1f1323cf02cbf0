// quarnel-dump run as a process: its exit status and the bytes on its standard output, where
// the real standard streams matter (reading the password, writes that fail).
#include "dump/dump_run_fixture.h"
#include "testing/sqlite_fixture.h"

#include <QCoreApplication>
#include <QProcess>

#include <gtest/gtest.h>

#include <memory>

namespace quarnel::dump {
namespace {

using testing::DumpOutput;

const QString kSchema = QStringLiteral(
    "CREATE TABLE ORDERS (ORD_NO NUMBER(6) NOT NULL, CUST_NO NUMBER(6) NOT NULL,"
    " CONSTRAINT ORDERS_PK PRIMARY KEY (ORD_NO));"
    "CREATE INDEX ORDERS_IX1 ON ORDERS (CUST_NO);"
    "CREATE TABLE ITEM (ORD_NO NUMBER(6) NOT NULL, LINE_NO NUMBER(3) NOT NULL,"
    " CONSTRAINT ITEM_PK PRIMARY KEY (ORD_NO, LINE_NO));"
    "CREATE TABLE 顧客 (顧客番号 NUMBER(6) PRIMARY KEY, 名前 VARCHAR2(40));");

class DumpProcessTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        if (QCoreApplication::instance() == nullptr) {
            static int argc = 1;
            static char name[] = "quarnel_core_tests";
            static char* argv[] = {name, nullptr};
            new QCoreApplication(argc, argv);  // Kept for the whole test program.
        }
        s_fixture = std::make_unique<quarnel::testing::SqliteFixture>();
        s_host = quarnel::testing::SqliteFixture::hostFor(s_fixture->createDatabase(kSchema));
    }
    static void TearDownTestSuite() { s_fixture.reset(); }

    static QStringList logOn(const QStringList& more) {
        return QStringList{QStringLiteral("--host"), s_host, QStringLiteral("--user"),
                           QStringLiteral("demo")} +
               more;
    }

    // Runs the program with `input` on its standard input, or with the files given.
    static DumpOutput dump(const QStringList& arguments, const QByteArray& input = {},
                           const QString& inputFile = {}, const QString& outputFile = {}) {
        QProcess process;
        if (!inputFile.isEmpty())
            process.setStandardInputFile(inputFile);
        if (!outputFile.isEmpty())
            process.setStandardOutputFile(outputFile);
        process.start(QStringLiteral(QUARNEL_DUMP), arguments);
        EXPECT_TRUE(process.waitForStarted(-1));
        if (inputFile.isEmpty()) {
            process.write(input);
            process.closeWriteChannel();
        }
        EXPECT_TRUE(process.waitForFinished(60000));
        EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
        return {process.exitCode(), process.readAllStandardOutput(),
                process.readAllStandardError()};
    }

    static inline std::unique_ptr<quarnel::testing::SqliteFixture> s_fixture;
    static inline QString s_host;
};

TEST_F(DumpProcessTest, WritesTheSameBytesAsTheProgramInProcess) {
    for (const QStringList& what :
         {QStringList{}, QStringList{QStringLiteral("--pk"), QStringLiteral("ORDERS")},
          QStringList{QStringLiteral("--list"), QStringLiteral("--encoding"),
                      QStringLiteral("CP932")}}) {
        const DumpOutput expected = testing::runDumpMain(logOn(what));
        ASSERT_EQ(expected.exitCode, 0) << expected.err.toStdString();

        const DumpOutput output = dump(logOn(what));

        EXPECT_EQ(output.exitCode, 0) << output.err.toStdString();
        EXPECT_EQ(output.out.toHex(' ').toStdString(), expected.out.toHex(' ').toStdString());
        EXPECT_TRUE(output.err.isEmpty()) << output.err.toStdString();
    }
}

TEST_F(DumpProcessTest, HelpIsWrittenWhole) {
    const DumpOutput output = dump({QStringLiteral("--help")});

    EXPECT_EQ(output.exitCode, 0);
    EXPECT_EQ(output.out.toStdString(), helpText().toUtf8().toStdString());
}

TEST_F(DumpProcessTest, PasswordIsTheFirstLineOfStandardInput) {
    const DumpOutput output = dump(
        logOn({QStringLiteral("--password-stdin"), QStringLiteral("--pk"), QStringLiteral("ITEM")}),
        "secret\r\nnot read\n");

    EXPECT_EQ(output.exitCode, 0) << output.err.toStdString();
    EXPECT_EQ(output.out.toStdString(), "ORD_NO\r\nLINE_NO\r\n");
}

// /dev/zero never ends and has no line end: the read stops at the limit.
TEST_F(DumpProcessTest, EndlessPasswordInputIsRefused) {
    const DumpOutput output =
        dump(logOn({QStringLiteral("--password-stdin")}), {}, QStringLiteral("/dev/zero"));

    EXPECT_EQ(output.exitCode, 2);
    EXPECT_TRUE(output.out.isEmpty());
    EXPECT_EQ(output.err.toStdString(),
              "quarnel-dump: the password line is longer than 4096 bytes\n");
}

TEST_F(DumpProcessTest, UnknownOptionWritesNothing) {
    const DumpOutput output = dump(logOn({QStringLiteral("--password=S3cret")}));

    EXPECT_EQ(output.exitCode, 2);
    EXPECT_TRUE(output.out.isEmpty());
    EXPECT_FALSE(output.err.contains("S3cret")) << output.err.toStdString();
}

// Every write is checked: a full device fails the help as well as a catalogue text.
class DumpFullDeviceTest : public DumpProcessTest,
                           public ::testing::WithParamInterface<const char*> {};

TEST_P(DumpFullDeviceTest, FailsWithANonZeroStatus) {
    QStringList arguments = QString::fromLatin1(GetParam()).split(u' ');
    arguments.replaceInStrings(QStringLiteral("{host}"), s_host);

    const DumpOutput output = dump(arguments, {}, {}, QStringLiteral("/dev/full"));

    EXPECT_EQ(output.exitCode, 1);
    EXPECT_TRUE(output.err.startsWith("quarnel-dump: cannot write to standard output: "))
        << output.err.toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DumpFullDeviceTest,
    ::testing::Values("--help", "--host {host} --user u --list", "--host {host} --user u"),
    [](const auto& info) {
        return std::string(info.index == 0 ? "Help" : info.index == 1 ? "List" : "DdlOfEveryTable");
    });

}  // namespace
}  // namespace quarnel::dump
