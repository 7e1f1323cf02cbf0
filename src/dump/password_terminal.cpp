#include "dump/password_terminal.h"

#ifdef _WIN32
#include <io.h>
#include <windows.h>
#else
#include <termios.h>
#include <unistd.h>
#include <csignal>
#include <iterator>
#endif

namespace quarnel::dump {

#ifdef _WIN32

std::shared_ptr<void> hideTerminalInput() {
    HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
    DWORD mode = 0;
    if (!GetConsoleMode(input, &mode))
        return nullptr;
    SetConsoleMode(input, mode & ~DWORD(ENABLE_ECHO_INPUT));
    _write(2, "Password: ", 10);
    return std::shared_ptr<void>(nullptr, [input, mode](void*) {
        SetConsoleMode(input, mode);
        _write(2, "\n", 1);
    });
}

#else

namespace {

// The terminal's settings before the echo went off, for the signal handler.
struct termios g_saved;

constexpr int kEndingSignals[] = {SIGINT, SIGTERM, SIGHUP, SIGQUIT};
struct sigaction g_previous[sizeof kEndingSignals / sizeof kEndingSignals[0]];

void restoreEcho() {
    tcsetattr(0, TCSAFLUSH, &g_saved);
}

// Only async-signal-safe calls: the echo back on, then the signal's own action.
void onEndingSignal(int signal) {
    restoreEcho();
    if (::write(2, "\n", 1) < 0) {
        // Nothing to do about it in a signal handler.
    }
    for (size_t i = 0; i < std::size(kEndingSignals); ++i) {
        if (kEndingSignals[i] == signal)
            sigaction(signal, &g_previous[i], nullptr);
    }
    raise(signal);
}

void writePrompt() {
    const char prompt[] = "Password: ";
    if (::write(2, prompt, sizeof prompt - 1) < 0) {
        // Standard error is gone: the password is still read.
    }
}

}  // namespace

std::shared_ptr<void> hideTerminalInput() {
    if (!isatty(0) || tcgetattr(0, &g_saved) != 0)
        return nullptr;
    struct sigaction action {};
    action.sa_handler = onEndingSignal;
    sigemptyset(&action.sa_mask);
    for (size_t i = 0; i < std::size(kEndingSignals); ++i)
        sigaction(kEndingSignals[i], &action, &g_previous[i]);

    struct termios quiet = g_saved;
    quiet.c_lflag &= ~tcflag_t(ECHO | ECHOE | ECHOK);
    quiet.c_lflag |= ECHONL;
    tcsetattr(0, TCSAFLUSH, &quiet);
    writePrompt();
    return std::shared_ptr<void>(nullptr, [](void*) {
        restoreEcho();
        for (size_t i = 0; i < std::size(kEndingSignals); ++i)
            sigaction(kEndingSignals[i], &g_previous[i], nullptr);
    });
}

#endif

}  // namespace quarnel::dump
