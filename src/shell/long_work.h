// Long work that the window runs with a progress dialog and a cancel button: loading the whole
// schema, writing a document or a snapshot. The work reports how far it is and looks at the
// cancel flag between steps; both are atomics, so the work may run on a thread of its own.
#pragma once

#include <QString>

#include <atomic>
#include <functional>

namespace quarnel {

struct WorkProgress {
    // Set when the user asks to stop; the work ends at its next step and leaves nothing behind.
    std::atomic<bool> cancel{false};
    // Steps done of all; a total of 0 means the number of steps is not known yet.
    std::atomic<qint64> done{0};
    std::atomic<qint64> total{0};

    bool cancelled() const { return cancel.load(); }
    void set(qint64 stepsDone, qint64 stepsTotal) {
        total.store(stepsTotal);
        done.store(stepsDone);
    }
};

// The work itself: it must not touch any widget, since it may run off the window's thread, and
// it must not throw.
using LongWork = std::function<void(WorkProgress&)>;

}  // namespace quarnel
