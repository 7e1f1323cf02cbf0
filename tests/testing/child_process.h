// Running a piece of a test in a child process: for limits (RLIMIT_FSIZE), another user, or a
// program state that must not outlive the piece. POSIX only.
#pragma once

#ifndef _WIN32
#include <QByteArray>

#include <sys/wait.h>
#include <unistd.h>
#include <functional>

namespace quarnel::testing {

// The user a child becomes to lose root's right to write anywhere.
inline constexpr uid_t kNobody = 65534;

// Runs `work` in a forked child and returns the bytes it answered; "<child died>" when it did
// not answer. The child ends with _exit, so nothing of the test program runs on in it.
inline QByteArray inChild(const std::function<QByteArray()>& work) {
    int fds[2];
    if (::pipe(fds) != 0)
        return "<no pipe>";
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(fds[0]);
        const QByteArray answer = work();
        const bool sent =
            ::write(fds[1], answer.constData(), size_t(answer.size())) == ssize_t(answer.size());
        ::_exit(sent ? 0 : 1);
    }
    ::close(fds[1]);
    QByteArray answer;
    char buffer[512];
    for (ssize_t n; (n = ::read(fds[0], buffer, sizeof buffer)) > 0;)
        answer.append(buffer, n);
    ::close(fds[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? answer : QByteArray("<child died>");
}

// In a child: gives up root for nobody; false when that failed. A non-root user stays itself.
inline bool becomeOrdinaryUser() {
    if (::geteuid() != 0)
        return true;
    return ::setgid(kNobody) == 0 && ::setuid(kNobody) == 0;
}

}  // namespace quarnel::testing
#endif
