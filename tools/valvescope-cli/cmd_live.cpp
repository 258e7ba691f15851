#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <string>
#include <thread>

#include "cli_text.h"
#include "commands.h"
#include "forms/valve_link.h"
#include "interrupt.h"
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

}  // namespace

int runPoll(const Invocation& invocation) {
  LinkSession link(invocation);
  if (const int opened = link.open(); opened != CLI_OK) return opened;
  stopOnInterrupt();

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
    for (std::size_t i = 0; i < kLiveBlocks.size(); ++i) {
      const LiveBlock& block = kLiveBlocks[i];
      const int result = link.master().readHoldingRegisters(link.slave(), block.first,
                                                            liveImage(live, i), block.count);
      if (result != MODBUS_OK) {
        return link.fail("reading registers " + std::to_string(block.first) + " to " +
                             std::to_string(block.first + block.count - 1),
                         result);
      }
    }
    fillLiveValues(live);
    const std::string line = liveLine(now, live.liveValues) + "\n";
    if (std::fputs(line.c_str(), stdout) < 0 || std::fflush(stdout) != 0) {
      if (errno != EPIPE) complain("cannot write to standard output");
      return CLI_FILE;
    }
  }
  return CLI_OK;
}

}  // namespace vs::cli
