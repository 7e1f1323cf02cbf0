// quarnel-dump: the catalogue texts on the command line.
#include "db/library_search.h"
#include "dump/dump_run.h"
#include "dump/password_terminal.h"
#include "support/descriptor_device.h"

#include <cerrno>
#include <cstdio>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#define QUARNEL_READ _read
#define QUARNEL_ISATTY _isatty
#else
#include <unistd.h>
#define QUARNEL_READ ::read
#define QUARNEL_ISATTY ::isatty
#endif

namespace {

// Standard input read straight from its descriptor, so that no copy of the password stays
// behind in a stdio buffer.
qint64 readStdin(char* buffer, qint64 size) {
    for (;;) {
        const auto count = QUARNEL_READ(0, buffer, static_cast<unsigned>(size));
        if (count >= 0 || errno != EINTR)
            return qint64(count);
    }
}

}  // namespace

int main(int argc, char** argv) {
    // Libraries are never looked for in the current folder (the Oracle client is loaded later).
    quarnel::db::removeCurrentFolderFromLibrarySearch();
#ifdef _WIN32
    _setmode(_fileno(stdin), _O_BINARY);
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
#endif
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments += QString::fromLocal8Bit(argv[i]);

    // The descriptors themselves, unbuffered: every write reaches the system at once, so its
    // failure (a full disk, /dev/full, a closed pipe) is seen where it happens, with its reason.
    quarnel::DescriptorDevice out(1);
    quarnel::DescriptorDevice err(2);
    out.open(QIODevice::WriteOnly | QIODevice::Unbuffered);
    err.open(QIODevice::WriteOnly | QIODevice::Unbuffered);
    // Progress goes to standard error only when a person watches it, never into a pipe or file.
    const bool terminal = QUARNEL_ISATTY(2) != 0;
    const int status =
        quarnel::dump::dumpMain(arguments, {quarnel::db::CreateSession, readStdin, out, err,
                                            quarnel::dump::hideTerminalInput, terminal});
    out.close();
    err.close();
    return status;
}
