#pragma once

#include <cstdint>

namespace vs {

// One absolute moment in 100-nanosecond units of a steady clock (one that no
// change of the wall-clock time moves). The master keeps the earliest time its
// next request may go out.
class DeadlineTimer {
 public:
  DeadlineTimer();  // now

  void setFromNow(int milliseconds);
  // Sleeps until the deadline, rounded to the nearest millisecond; returns at
  // once when it has passed.
  void sleepUntil() const;

  std::int64_t ticks() const { return ticks_; }
  static std::int64_t now();

 private:
  std::int64_t ticks_;
};

}  // namespace vs
