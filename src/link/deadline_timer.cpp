#include "link/deadline_timer.h"

#include <chrono>
#include <thread>

namespace vs {
namespace {

using Ticks = std::chrono::duration<std::int64_t, std::ratio<1, 10'000'000>>;

constexpr std::int64_t kTicksPerMs = 10'000;
constexpr std::int64_t kLongestSleepMs = 3'600'000;

}  // namespace

DeadlineTimer::DeadlineTimer() : ticks_(now()) {}

std::int64_t DeadlineTimer::now() {
  // A steady clock: a change of the wall-clock time must not stretch a wait.
  return std::chrono::duration_cast<Ticks>(std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

void DeadlineTimer::setFromNow(int milliseconds) {
  ticks_ = now() + static_cast<std::int64_t>(milliseconds) * kTicksPerMs;
}

void DeadlineTimer::sleepUntil() const {
  const std::int64_t remaining = ticks_ - now();
  if (remaining <= 0) return;
  std::int64_t ms = (remaining + kTicksPerMs / 2) / kTicksPerMs;
  while (ms > kLongestSleepMs) {
    std::this_thread::sleep_for(std::chrono::milliseconds(kLongestSleepMs));
    ms -= kLongestSleepMs;
  }
  if (ms != 0) std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

}  // namespace vs
