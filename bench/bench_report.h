// What every benchmark figure shares: the median time of repeated runs and the printed line.
#pragma once

#include <functional>

namespace quarnel::bench {

// The median wall time of `runs` runs of `work`, in milliseconds. What the previous run left to
// paint is painted before the clock starts, as the event loop would between two commands.
double medianMs(int runs, const std::function<void()>& work);

// Prints one figure as "name: value unit".
void print(const char* name, double value, const char* unit);

}  // namespace quarnel::bench
