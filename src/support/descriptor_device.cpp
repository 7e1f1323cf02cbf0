#include "support/descriptor_device.h"

#include <cerrno>

#ifdef _WIN32
#include <io.h>
#define QUARNEL_READ ::_read
#define QUARNEL_WRITE ::_write
#else
#include <unistd.h>
#define QUARNEL_READ ::read
#define QUARNEL_WRITE ::write
#endif

namespace quarnel {

qint64 DescriptorDevice::readData(char* data, qint64 maxSize) {
    for (;;) {
        const auto count = QUARNEL_READ(m_fd, data, static_cast<unsigned>(maxSize));
        if (count >= 0)
            return qint64(count);
        if (errno != EINTR) {
            setErrorString(qt_error_string(errno));
            return -1;
        }
    }
}

qint64 DescriptorDevice::writeData(const char* data, qint64 size) {
    qint64 written = 0;
    while (written < size) {
        // At most 1 GiB a call, which every system takes.
        const qint64 chunk = qMin<qint64>(size - written, qint64(1) << 30);
        const auto count = QUARNEL_WRITE(m_fd, data + written, static_cast<unsigned>(chunk));
        if (count < 0 && errno == EINTR)
            continue;
        if (count <= 0) {
            setErrorString(qt_error_string(count < 0 ? errno : EIO));
            return -1;
        }
        written += count;
    }
    return written;
}

}  // namespace quarnel
