#include "diagnostics/tick_recorder.h"

#include <algorithm>

namespace vs {

TickRecorder::TickRecorder(std::chrono::microseconds period) : periodMicros_(period.count()) {
  totals_.periodMicros = periodMicros_;
}

std::int64_t TickRecorder::now() {
  return std::chrono::duration_cast<std::chrono::microseconds>(
             std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

void TickRecorder::tickStarted(std::int64_t steadyMicros) {
  std::lock_guard lock(mutex_);
  startedAt_ = steadyMicros;
  if (startCount_ == 0) firstStart_ = steadyMicros;
  starts_[startCount_ % kRecentTicks] = steadyMicros;
  ++startCount_;
}

void TickRecorder::tickEnded(std::int64_t steadyMicros) {
  std::lock_guard lock(mutex_);
  if (startedAt_ < 0) return;
  const std::int64_t took = std::max<std::int64_t>(steadyMicros - startedAt_, 0);
  startedAt_ = -1;
  const bool overran = took > periodMicros_;
  endings_[static_cast<std::size_t>(totals_.ticks) % kRecentTicks] = {steadyMicros, overran};
  ++totals_.ticks;
  if (overran) ++totals_.overruns;
  totals_.lastMicros = took;
  totals_.longestMicros = std::max(totals_.longestMicros, took);
}

// Over the last five seconds: while ticks keep coming, from the spacing of
// their starts; once they stop coming, from how few started, so that the rate
// falls when the poll stalls rather than keeping its past.
TickStatistics TickRecorder::statistics(std::int64_t steadyMicros) const {
  std::lock_guard lock(mutex_);
  TickStatistics s = totals_;
  const auto ended = static_cast<std::size_t>(totals_.ticks);
  for (std::size_t i = 1; i <= std::min(ended, kRecentTicks); ++i) {
    const Ending& ending = endings_[(ended - i) % kRecentTicks];
    if (ending.at < steadyMicros - kRateWindowMicros) break;
    ++s.recentTicks;
    if (ending.overran) ++s.recentOverruns;
  }
  if (startCount_ == 0) return s;
  const std::int64_t from = std::max(steadyMicros - kRateWindowMicros, firstStart_);
  const std::size_t kept = std::min(startCount_, kRecentTicks);
  const std::int64_t newest = starts_[(startCount_ - 1) % kRecentTicks];
  std::int64_t oldest = newest;
  std::size_t inWindow = 0;
  for (std::size_t i = 1; i <= kept; ++i) {
    const std::int64_t start = starts_[(startCount_ - i) % kRecentTicks];
    if (start < from) break;
    oldest = start;
    ++inWindow;
  }
  const std::int64_t spacing =
      inWindow >= 2 ? (newest - oldest) / static_cast<std::int64_t>(inWindow - 1) : 0;
  if (inWindow >= 2 && steadyMicros - newest <= 2 * std::max(periodMicros_, spacing)) {
    s.ticksPerSecond = static_cast<double>(inWindow - 1) * 1e6 / static_cast<double>(newest - oldest);
  } else {
    const std::int64_t window = std::max(steadyMicros - from, periodMicros_);
    const std::size_t after = inWindow > 0 && oldest == from ? inWindow - 1 : inWindow;
    s.ticksPerSecond = static_cast<double>(after) * 1e6 / static_cast<double>(window);
  }
  return s;
}

void TickRecorder::clear() {
  std::lock_guard lock(mutex_);
  totals_ = TickStatistics();
  totals_.periodMicros = periodMicros_;
  startedAt_ = -1;
  startCount_ = 0;
}

}  // namespace vs
