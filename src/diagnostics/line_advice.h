#pragma once

#include <optional>
#include <string>
#include <vector>

#include "diagnostics/tick_recorder.h"

namespace vs {

// A USB adapter's latency timer above this holds replies long enough to
// matter at five polls a second (four replies a tick).
inline constexpr int kLatencyTimerConcernMs = 4;

struct LineAdvice {
  // A few words for a status bar about the last few seconds: ticks that
  // overran, else an adapter that holds replies; empty when all is well.
  std::string status;
  std::vector<std::string> sentences;  // what is wrong and what to do, a sentence each
};

// Whether the poll keeps its period, and what to do when it does not or when
// the port's adapter holds what it receives too long (`latencyTimerMs`, where
// known).
LineAdvice lineAdvice(const TickStatistics& ticks, const std::string& port,
                      std::optional<int> latencyTimerMs);

}  // namespace vs
