// quarnel-dump: the catalogue texts on the command line.
#include "dump/dump_run.h"

#include <QFile>

#include <cstdio>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

namespace {

// One line of standard input, read a byte at a time from an unbuffered stream so that no copy
// of it (it may be a password) stays behind in a stdio buffer.
QByteArray readStdinLine() {
    std::setvbuf(stdin, nullptr, _IONBF, 0);
    QByteArray line;
    for (int c = std::fgetc(stdin); c != EOF; c = std::fgetc(stdin)) {
        line.append(char(c));
        if (c == '\n')
            break;
    }
    return line;
}

}  // namespace

int main(int argc, char** argv) {
#ifdef _WIN32
    _setmode(_fileno(stdin), _O_BINARY);
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
#endif
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments += QString::fromLocal8Bit(argv[i]);

    QFile out;
    QFile err;
    out.open(stdout, QIODevice::WriteOnly | QIODevice::Unbuffered);
    err.open(stderr, QIODevice::WriteOnly | QIODevice::Unbuffered);
    const int status = quarnel::dump::dumpMain(arguments, readStdinLine, out, err);
    out.close();
    err.close();
    return status;
}
