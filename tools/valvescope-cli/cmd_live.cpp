#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <string>
#include <thread>

#include "cli_text.h"
#include "commands.h"
#include "diagnostics/line_advice.h"
#include "diagnostics/monitor_text.h"
#include "diagnostics/tick_recorder.h"
#include "forms/valve_link.h"
#include "interrupt.h"
#include "link/port_problems.h"
#include "link_session.h"
#include "registers/mode_label.h"
#include "shell/live_values.h"

namespace vs::cli {
namespace {

// The application's poll interval.
constexpr auto kTick = std::chrono::milliseconds(200);

// "NAME=VALUE UNIT" pairs separated by ", ", after the local time.
std::string liveLine(std::int64_t unixTime, const LiveValues& v) {
  const std::string mode =
      std::to_string(v[LIVE_MODE]) + " (" + std::string(modeLabel(v[LIVE_MODE])) + ")";
  return localTimeText(unixTime) + "  O2 set point=" + scaled(v[LIVE_O2_SET_POINT], 3) +
         " V, O2 feedback=" + scaled(v[LIVE_O2_FEEDBACK], 3) +
         " V, Pressure feedback=" + scaled(v[LIVE_PRESSURE], 3) +
         " in. W.C., Actuator output=" + std::to_string(v[LIVE_ACTUATOR]) +
         ", 4-20 mA input=" + scaled(v[LIVE_ANALOG_INPUT], 2) + " mA, Mode=" + mode +
         ", Pressure set point=" + scaled(v[LIVE_PRESSURE_SET_POINT], 3) +
         " in. W.C., Pre-cat temperature=" + std::to_string(v[LIVE_PRE_CAT_TEMP]) +
         " F, Post-cat temperature=" + std::to_string(v[LIVE_POST_CAT_TEMP]) +
         " F, Spare=" + std::to_string(v[LIVE_SPARE]);
}

// Prints one text to standard output; false (after saying so) when it cannot.
bool print(const std::string& text) {
  if (std::fputs(text.c_str(), stdout) >= 0 && std::fflush(stdout) == 0) return true;
  if (errno != EPIPE) complain("cannot write to standard output");
  return false;
}

// The statistics of the run and what they advise, after a blank line.
bool printStatistics(const LinkSession& link, const TickRecorder& ticks) {
  const TickStatistics tickStatistics = ticks.statistics();
  std::string text(1, '\n');
  text += statisticsText(*link.statistics(), &tickStatistics);
  const auto latency = link.simulated() ? std::nullopt : adapterLatencyTimer(link.port());
  if (latency) text += "adapter latency timer: " + std::to_string(*latency) + " ms\n";
  for (const auto& sentence : lineAdvice(tickStatistics, link.port(), latency).sentences) {
    text += sentence + "\n";
  }
  return print(text);
}

// The ticks until the count or an interrupt; CLI_OK, or the exit code after a
// failure has been reported.
int pollTicks(const Invocation& invocation, LinkSession& link, TickRecorder& ticks) {
  // The register images and live values, kept as the application keeps them.
  ValveLink live;
  auto due = std::chrono::steady_clock::now();
  for (long tick = 0; !invocation.count || tick < *invocation.count; ++tick) {
    if (tick > 0) {
      // A slow tick is not made up for: the next one starts at once.
      due = std::max(due + kTick, std::chrono::steady_clock::now());
      std::this_thread::sleep_until(due);
    }
    if (stopRequested()) break;
    const std::int64_t now = std::time(nullptr);
    ticks.tickStarted();
    for (std::size_t i = 0; i < kLiveBlocks.size(); ++i) {
      const LiveBlock& block = kLiveBlocks[i];
      const int result = link.master().readHoldingRegisters(link.slave(), block.first,
                                                            liveImage(live, i), block.count);
      if (result != MODBUS_OK) {
        ticks.tickEnded();
        return link.fail("reading registers " + std::to_string(block.first) + " to " +
                             std::to_string(block.first + block.count - 1),
                         result);
      }
    }
    ticks.tickEnded();
    fillLiveValues(live);
    if (!print(liveLine(now, live.liveValues) + "\n")) return CLI_FILE;
  }
  return CLI_OK;
}

}  // namespace

int runPoll(const Invocation& invocation) {
  LinkSession link(invocation);
  if (const int opened = link.open(); opened != CLI_OK) return opened;
  stopOnInterrupt();
  TickRecorder ticks(kTick);
  const int result = pollTicks(invocation, link, ticks);
  if (invocation.stats && !printStatistics(link, ticks) && result == CLI_OK) return CLI_FILE;
  return result;
}

}  // namespace vs::cli
