// A clipboard for tests: keeps its text in memory, counts what was done to it, and can be made
// to refuse every write.
#pragma once

#include "export/clipboard.h"

#include <optional>

namespace quarnel::testing {

class FakeClipboard : public Clipboard {
  public:
    // The text on the clipboard; nullopt when it is empty.
    std::optional<QString> text;
    int clears = 0;
    int writes = 0;
    // While true the clipboard cannot be opened: clearing does nothing and every write fails.
    bool refuseWrites = false;

    void clear() override {
        ++clears;
        if (!refuseWrites)
            text.reset();
    }
    bool setText(const QString& newText) override {
        ++writes;
        if (refuseWrites)
            return false;
        text = newText;
        return true;
    }
};

}  // namespace quarnel::testing
