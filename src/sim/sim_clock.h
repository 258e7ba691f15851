#pragma once

#include <chrono>
#include <functional>

namespace vs::sim {

// Where the simulated controller takes its time from. An empty clock means the
// steady clock; tests hand in a ManualClock so that minutes pass at once.
using SimClock = std::function<std::chrono::steady_clock::time_point()>;

}  // namespace vs::sim
