// A device over an open file descriptor (standard output, standard error) that writes every
// byte straight to the system. A write that fails, even after part of the bytes went out (a
// reader that closed its end of a pipe), fails the whole write with the system's reason
// ("Broken pipe", "No space left on device") as its error string.
#pragma once

#include <QIODevice>

namespace quarnel {

class DescriptorDevice : public QIODevice {
  public:
    // Not owned: the descriptor stays open after the device.
    explicit DescriptorDevice(int fd) : m_fd(fd) {}

    bool isSequential() const override { return true; }

  protected:
    qint64 readData(char* data, qint64 maxSize) override;
    qint64 writeData(const char* data, qint64 size) override;

  private:
    int m_fd;
};

}  // namespace quarnel
