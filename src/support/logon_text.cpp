#include "support/logon_text.h"

namespace quarnel {

QStringView trimSpaces(QStringView text) {
    qsizetype first = 0;
    qsizetype last = text.size();
    while (first < last && text[first] == u' ')
        ++first;
    while (last > first && text[last - 1] == u' ')
        --last;
    return text.mid(first, last - first);
}

QString trimSpaces(const QString& text) {
    return trimSpaces(QStringView(text)).toString();
}

void wipe(QString& text) {
    text.fill(QChar(u'\0'));
    text.clear();
}

void wipe(QByteArray& bytes) {
    if (!bytes.isDetached()) {
        bytes.clear();
        return;
    }
    wipe(bytes.data(), size_t(bytes.size()));
    bytes.clear();
}

void wipe(char* data, size_t size) {
    volatile char* bytes = data;
    for (size_t i = 0; i < size; ++i)
        bytes[i] = 0;
}

}  // namespace quarnel
