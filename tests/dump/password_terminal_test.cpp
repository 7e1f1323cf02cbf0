// quarnel-dump reading its password from a terminal: run on a pseudo-terminal as a user would.
#include "testing/sqlite_fixture.h"

#include <QElapsedTimer>
#include <QFile>

#include <gtest/gtest.h>

#ifndef _WIN32
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <sys/ioctl.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>
#include <csignal>

namespace quarnel::dump {
namespace {

struct TerminalRun {
    QByteArray screen;  // everything the terminal showed
    int status = -1;    // as waitpid gives it
    bool echoAfter = false;
};

// Runs quarnel-dump with a new pseudo-terminal as its controlling terminal and standard streams;
// once the prompt shows, `typed` is typed.
TerminalRun runOnTerminal(const QStringList& arguments, const QByteArray& typed) {
    TerminalRun run;
    int master = -1;
    int slave = -1;
    if (openpty(&master, &slave, nullptr, nullptr, nullptr) != 0)
        return run;
    QList<QByteArray> argumentBytes{QByteArray(QUARNEL_DUMP)};
    for (const QString& argument : arguments)
        argumentBytes += QFile::encodeName(argument);
    std::vector<char*> argv;
    for (QByteArray& argument : argumentBytes)
        argv.push_back(argument.data());
    argv.push_back(nullptr);

    const pid_t child = fork();
    if (child == 0) {
        setsid();
        ioctl(slave, TIOCSCTTY, 0);
        dup2(slave, 0);
        dup2(slave, 1);
        dup2(slave, 2);
        close(master);
        close(slave);
        signal(SIGINT, SIG_DFL);
        execv(argv[0], argv.data());
        _exit(127);
    }
    bool typedYet = false;
    QElapsedTimer clock;
    clock.start();
    for (;;) {
        pollfd ready{master, POLLIN, 0};
        if (poll(&ready, 1, 50) > 0) {
            char buffer[512];
            const ssize_t n = read(master, buffer, sizeof buffer);
            if (n > 0)
                run.screen.append(buffer, n);
        }
        if (!typedYet && run.screen.contains("Password: ")) {
            typedYet = write(master, typed.constData(), size_t(typed.size())) == typed.size();
        }
        if (waitpid(child, &run.status, WNOHANG) == child || clock.elapsed() > 30000)
            break;
    }
    // What is left on the screen once the program has ended.
    for (pollfd ready{master, POLLIN, 0}; poll(&ready, 1, 50) > 0;) {
        char buffer[512];
        const ssize_t n = read(master, buffer, sizeof buffer);
        if (n <= 0)
            break;
        run.screen.append(buffer, n);
    }
    termios settings{};
    run.echoAfter = tcgetattr(slave, &settings) == 0 && (settings.c_lflag & ECHO) != 0;
    close(master);
    close(slave);
    return run;
}

class PasswordTerminalTest : public ::testing::Test {
  protected:
    QStringList logOn() {
        const QString path = m_files.createDatabase(
            QStringLiteral("CREATE TABLE T (ID INTEGER PRIMARY KEY);"), QStringLiteral("t.db"));
        return {QStringLiteral("--host"),
                quarnel::testing::SqliteFixture::hostFor(path),
                QStringLiteral("--user"),
                QStringLiteral("u"),
                QStringLiteral("--password-stdin"),
                QStringLiteral("--pk"),
                QStringLiteral("T")};
    }
    quarnel::testing::SqliteFixture m_files;
};

// The prompt, no echo of what is typed, a new line after Enter, and the echo back on after.
TEST_F(PasswordTerminalTest, PromptsWithoutEchoAndRestoresTheTerminal) {
    const TerminalRun run = runOnTerminal(logOn(), "s3cret\r");

    ASSERT_TRUE(WIFEXITED(run.status)) << run.screen.toStdString();
    EXPECT_EQ(WEXITSTATUS(run.status), 0) << run.screen.toStdString();
    EXPECT_FALSE(run.screen.contains("s3cret")) << run.screen.toStdString();
    EXPECT_EQ(run.screen.toStdString(), "Password: \r\nID\r\r\n");
    EXPECT_TRUE(run.echoAfter);
}

// Ctrl+C at the prompt ends the program by the signal, with the echo back on.
TEST_F(PasswordTerminalTest, InterruptAtThePromptRestoresTheEcho) {
    const TerminalRun run = runOnTerminal(logOn(), "s3c\x03");

    EXPECT_TRUE(WIFSIGNALED(run.status) && WTERMSIG(run.status) == SIGINT)
        << run.screen.toStdString();
    EXPECT_FALSE(run.screen.contains("s3c")) << run.screen.toStdString();
    EXPECT_TRUE(run.echoAfter);
}

}  // namespace
}  // namespace quarnel::dump
#endif
