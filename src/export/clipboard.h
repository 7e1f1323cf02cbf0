// The system clipboard as the copy commands see it: emptied, then given plain Unicode text.
#pragma once

#include <QString>

namespace quarnel {

class Clipboard {
  public:
    virtual ~Clipboard() = default;

    // Empties the clipboard.
    virtual void clear() = 0;
    // Puts `text` on the clipboard as plain Unicode text; false when the clipboard cannot be
    // written.
    virtual bool setText(const QString& text) = 0;
};

}  // namespace quarnel
