#include "diagnostics/line_advice.h"

#include "link/port_problems.h"

namespace vs {

LineAdvice lineAdvice(const TickStatistics& ticks, const std::string& port,
                      std::optional<int> latencyTimerMs) {
  LineAdvice advice;
  const bool slowAdapter = latencyTimerMs && *latencyTimerMs > kLatencyTimerConcernMs;
  const std::string period = std::to_string(ticks.periodMicros / 1000) + " ms";
  // The status says what holds now; the sentences what happened since the start.
  if (ticks.recentOverruns > 0) {
    advice.status = "Polls over " + period + ": " + std::to_string(ticks.recentOverruns) +
                    " of the last " + std::to_string(ticks.recentTicks);
  } else if (slowAdapter) {
    advice.status = "USB adapter latency " + std::to_string(*latencyTimerMs) + " ms";
  }
  if (ticks.overruns > 0) {
    advice.sentences.push_back(
        std::to_string(ticks.overruns) + " of " + std::to_string(ticks.ticks) +
        " poll ticks took longer than " + period + " (the longest " +
        std::to_string(ticks.longestMicros / 1000) +
        " ms): the controller's replies come too slowly for five polls a second.");
    if (!slowAdapter) {
      advice.sentences.push_back(
          "If the port is a USB adapter, lower its latency timer to 1 ms; otherwise look for "
          "time-outs and retries in the statistics.");
    }
  }
  if (slowAdapter) advice.sentences.push_back(lowerLatencyAdvice(port, *latencyTimerMs));
  return advice;
}

}  // namespace vs
