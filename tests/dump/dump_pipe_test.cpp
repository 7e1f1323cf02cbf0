// quarnel-dump writing into a pipe whose reader goes away part way: the failure says why.
#include "testing/sqlite_fixture.h"

#include <QFile>

#include <gtest/gtest.h>

#ifndef _WIN32
#include <sys/wait.h>
#include <unistd.h>
#include <csignal>

namespace quarnel::dump {
namespace {

// The reader takes the first bytes of a list far longer than the pipe holds, then closes its end;
// SIGPIPE is ignored, as a shell script or a Python caller often has it, so the write fails.
TEST(DumpPipe, BrokenPipeAfterAPartialWriteNamesTheSystemsReason) {
    quarnel::testing::SqliteFixture files;
    QString script = QStringLiteral("BEGIN;");
    const QString name(100, u'N');
    for (int i = 0; i < 1000; ++i)
        script += QStringLiteral("CREATE TABLE %1_%2 (X);").arg(name).arg(i);
    script += QStringLiteral("COMMIT;");
    const QByteArray host =
        QFile::encodeName(quarnel::testing::SqliteFixture::hostFor(files.createDatabase(script)));

    int out[2];
    int err[2];
    ASSERT_EQ(pipe(out), 0);
    ASSERT_EQ(pipe(err), 0);
    const pid_t child = fork();
    if (child == 0) {
        signal(SIGPIPE, SIG_IGN);
        dup2(out[1], 1);
        dup2(err[1], 2);
        close(out[0]);
        close(err[0]);
        execl(QUARNEL_DUMP, QUARNEL_DUMP, "--host", host.constData(), "--user", "u", "--list",
              static_cast<char*>(nullptr));
        _exit(127);
    }
    close(out[1]);
    close(err[1]);
    char first[100];
    EXPECT_GT(read(out[0], first, sizeof first), 0);
    close(out[0]);
    QByteArray message;
    char buffer[256];
    for (ssize_t n; (n = read(err[0], buffer, sizeof buffer)) > 0;)
        message.append(buffer, n);
    close(err[0]);
    int status = 0;
    waitpid(child, &status, 0);

    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 1) << status;
    EXPECT_EQ(message.toStdString(), "quarnel-dump: cannot write to standard output: " +
                                         qt_error_string(EPIPE).toStdString() + "\n");
}

}  // namespace
}  // namespace quarnel::dump
#endif
