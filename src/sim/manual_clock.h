#pragma once

#include <atomic>
#include <chrono>

#include "sim/sim_clock.h"

namespace vs::sim {

// A clock that moves only when told to. Safe to read from a serving thread
// while a test advances it; it must outlive every controller that uses it.
class ManualClock {
 public:
  std::chrono::steady_clock::time_point now() const {
    return std::chrono::steady_clock::time_point(
        std::chrono::steady_clock::duration(ticks_.load()));
  }
  void advance(std::chrono::steady_clock::duration by) { ticks_ += by.count(); }
  SimClock source() {
    return [this] { return now(); };
  }

 private:
  std::atomic<std::chrono::steady_clock::rep> ticks_{0};
};

}  // namespace vs::sim
