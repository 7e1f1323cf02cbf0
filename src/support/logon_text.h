// Rules for the texts typed at logon: how they are trimmed, and how a text that held a password
// is cleared.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringView>

#include <cstddef>

namespace quarnel {

// Removes leading and trailing spaces (U+0020) only; tabs and ideographic spaces stay.
QString trimSpaces(const QString& text);
QStringView trimSpaces(QStringView text);

// Overwrites the characters of a text that held a password, then empties it. A buffer still
// shared with another string is only released here; its last owner wipes it in place.
void wipe(QString& text);
void wipe(QByteArray& bytes);

// Overwrites `size` bytes at `data` with zeros in a way the compiler does not leave out.
void wipe(char* data, size_t size);

}  // namespace quarnel
