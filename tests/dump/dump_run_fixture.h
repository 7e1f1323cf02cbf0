// Runs quarnel-dump's program in-process, with standard input and output in memory.
#pragma once

#include "dump/dump_run.h"

#include <QBuffer>

#include <algorithm>
#include <cstring>

namespace quarnel::dump::testing {

struct DumpOutput {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

// An input that hands out `bytes`, at most `block` bytes a call.
inline InputReader inputOf(QByteArray bytes, qint64 block = 1 << 16) {
    auto position = std::make_shared<qsizetype>(0);
    return [bytes = std::move(bytes), position, block](char* buffer, qint64 size) -> qint64 {
        const qint64 count = std::min({size, block, qint64(bytes.size() - *position)});
        std::memcpy(buffer, bytes.constData() + *position, size_t(count));
        *position += count;
        return count;
    };
}

// `terminal`: standard error is a terminal, where progress is shown.
inline DumpOutput runDumpMain(const QStringList& arguments,
                              const db::SessionFactory& createSession = db::CreateSession,
                              const QByteArray& input = {}, bool terminal = false) {
    QBuffer out;
    QBuffer err;
    out.open(QIODevice::WriteOnly);
    err.open(QIODevice::WriteOnly);
    const int status =
        dumpMain(arguments, {createSession, inputOf(input), out, err, {}, terminal});
    return {status, out.data(), err.data()};
}

}  // namespace quarnel::dump::testing
