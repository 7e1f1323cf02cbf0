// The system clipboard through QClipboard. On X11 the text stays pasteable while the program runs.
#pragma once

#include "export/clipboard.h"

namespace quarnel {

class QtClipboard : public Clipboard {
  public:
    void clear() override;
    bool setText(const QString& text) override;
};

}  // namespace quarnel
