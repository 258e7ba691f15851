#pragma once

#include <array>
#include <chrono>
#include <cstdint>
#include <mutex>

namespace vs {

struct TickStatistics {
  std::int64_t ticks = 0;          // ticks that ended
  std::int64_t overruns = 0;       // of them, those that took longer than the period
  double ticksPerSecond = 0;       // started, over the last five seconds
  std::int64_t lastMicros = 0;     // how long the last tick took
  std::int64_t longestMicros = 0;
  std::int64_t periodMicros = 0;
  // Of the ticks that ended in the last five seconds (at most the last 32):
  // whether the poll keeps its period now, rather than since the start.
  std::int64_t recentTicks = 0;
  std::int64_t recentOverruns = 0;
};

// The poll's rhythm: when each tick starts and ends. The poll calls it from
// whichever thread runs the tick; a window reads it from its own. Every call
// holds a lock for a few instructions.
class TickRecorder {
 public:
  explicit TickRecorder(std::chrono::microseconds period = std::chrono::milliseconds(200));

  void tickStarted() { tickStarted(now()); }
  void tickEnded() { tickEnded(now()); }
  // Steady-clock microseconds, for a caller that has its own clock.
  void tickStarted(std::int64_t steadyMicros);
  void tickEnded(std::int64_t steadyMicros);

  TickStatistics statistics() const { return statistics(now()); }
  TickStatistics statistics(std::int64_t steadyMicros) const;
  void clear();

  static std::int64_t now();

 private:
  struct Ending {
    std::int64_t at = 0;
    bool overran = false;
  };

  // Starts and ends kept for the recent figures: more than five seconds of
  // ticks at five a second.
  static constexpr std::size_t kRecentTicks = 32;
  static constexpr std::int64_t kRateWindowMicros = 5'000'000;

  const std::int64_t periodMicros_;
  mutable std::mutex mutex_;
  TickStatistics totals_;
  std::int64_t startedAt_ = -1;  // the tick in progress
  std::array<std::int64_t, kRecentTicks> starts_{};
  std::size_t startCount_ = 0;  // all starts, of which the last kRecentTicks are kept
  std::int64_t firstStart_ = 0;
  std::array<Ending, kRecentTicks> endings_{};  // the last ends, by totals_.ticks
};

}  // namespace vs
