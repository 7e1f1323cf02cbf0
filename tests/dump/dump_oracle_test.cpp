// quarnel-dump on an Oracle host string, as an ordinary run finds (or fails to find) the client
// library: with no library anywhere, and with the stand-in on LD_LIBRARY_PATH.
#include "catalog/table_info.h"
#include "db/engines.h"
#include "testing/oci_stand_in.h"
#include "testing/sqlite_fixture.h"

#include <QCoreApplication>
#include <QProcess>
#include <QProcessEnvironment>

#include <gtest/gtest.h>

namespace quarnel::dump {
namespace {

struct DumpRun {
    int exitCode = -1;
    QByteArray out;
    QString err;
};

DumpRun dump(const QStringList& arguments, const QString& libraryPath,
             const QString& standInLog = {}) {
    if (QCoreApplication::instance() == nullptr) {
        static int argc = 1;
        static char name[] = "quarnel_core_tests";
        static char* argv[] = {name, nullptr};
        new QCoreApplication(argc, argv);  // Kept for the whole test program.
    }
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("ORACLE_HOME"));
    environment.remove(QStringLiteral("LD_LIBRARY_PATH"));
    if (!libraryPath.isEmpty())
        environment.insert(QStringLiteral("LD_LIBRARY_PATH"), libraryPath);
    if (!standInLog.isEmpty())
        environment.insert(QStringLiteral("QUARNEL_OCI_STANDIN_LOG"), standInLog);
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral(QUARNEL_DUMP), arguments);
    EXPECT_TRUE(process.waitForFinished(-1));
    return {process.exitCode(), process.readAllStandardOutput(),
            QString::fromUtf8(process.readAllStandardError())};
}

TEST(DumpOracleTest, WithoutAClientLibraryTheLogonIsRefusedWithTheLoadersMessage) {
    const DumpRun run = dump({"--host", "dbhost:1521/XEPDB1", "--user", "scott", "--list"}, {});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.out.isEmpty());
    EXPECT_TRUE(run.err.startsWith(QStringLiteral(
        "quarnel-dump: logon refused: Oracle クライアント ライブラリ (libclntsh.so")))
        << run.err.toStdString();
    EXPECT_TRUE(
        run.err.contains(QStringLiteral("理由: libclntsh.so: cannot open shared object file")))
        << run.err.toStdString();
    EXPECT_TRUE(run.err.contains(QLatin1String("Oracle Instant Client"))) << run.err.toStdString();
}

TEST(DumpOracleTest, ClientLibraryOnTheLibraryPathAnswersAsTheEmbeddedEngine) {
    quarnel::testing::SqliteFixture files;
    const QString path = files.createDatabase(
        QStringLiteral("CREATE TABLE 受注 (受注番号 NUMBER(6) PRIMARY KEY, 品名 VARCHAR2(20));"));
    const QString log = files.filePath(QStringLiteral("stand-in.log"));
    const DumpRun run = dump({"--host", path, "--user", "scott", "--table-ddl", "受注"},
                             QString::fromUtf8(quarnel::testing::kStandInHome) + "/lib", log);
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    // The session is logged off, and its environment freed, before the program ends.
    EXPECT_EQ(quarnel::testing::SqliteFixture::readText(log), QStringLiteral("logoff\nenv-free\n"));
    EXPECT_EQ(run.out.toStdString(),
              catalog::loadTableInfo(*db::OpenSqliteDatabase(path), QStringLiteral("受注"))
                  .strCreateTableSql.toUtf8()
                  .toStdString());
}

}  // namespace
}  // namespace quarnel::dump
