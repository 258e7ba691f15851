#include <algorithm>
#include <array>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <ctime>
#include <string>
#include <thread>

#include "app/mode_labels.h"
#include "app/valve_link.h"
#include "cli_text.h"
#include "commands.h"
#include "link_session.h"

namespace vs::cli {
namespace {

struct LiveBlock {
  int first;
  int count;
};
// The application's poll: these four reads, in this order, every 200 ms.
constexpr LiveBlock kLiveBlocks[] = {{12, 20}, {114, 10}, {39, 6}, {89, 2}};
constexpr auto kTick = std::chrono::milliseconds(200);
constexpr int kHighestLiveRegister = 123;

// Indexed by register number; the four blocks do not overlap.
using LiveRegisters = std::array<std::int16_t, kHighestLiveRegister + 1>;

volatile std::sig_atomic_t stopRequested = 0;

void requestStop(int) { stopRequested = 1; }

// The first Ctrl-C ends the poll after its tick, so that the port is put back
// and "OUT" sent; a second one ends the program at once.
void stopOnInterrupt() {
  struct sigaction action {};
  action.sa_handler = requestStop;
  action.sa_flags = SA_RESETHAND;
  sigemptyset(&action.sa_mask);
  sigaction(SIGINT, &action, nullptr);
  sigaction(SIGTERM, &action, nullptr);
}

LiveValues liveValuesOf(const LiveRegisters& r) {
  LiveValues v{};
  v[LIVE_O2_SET_POINT] = r[114];
  v[LIVE_O2_FEEDBACK] = r[12];
  v[LIVE_PRESSURE] = r[19];
  v[LIVE_ACTUATOR] = r[21];
  v[LIVE_ANALOG_INPUT] = r[26];
  v[LIVE_MODE] = r[43];
  v[LIVE_PRESSURE_SET_POINT] = r[20];
  v[LIVE_PRE_CAT_TEMP] = r[89];
  v[LIVE_POST_CAT_TEMP] = r[90];
  return v;
}

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

  LiveRegisters registers{};
  auto due = std::chrono::steady_clock::now();
  for (long tick = 0; !invocation.count || tick < *invocation.count; ++tick) {
    if (tick > 0) {
      // A slow tick is not made up for: the next one starts at once.
      due = std::max(due + kTick, std::chrono::steady_clock::now());
      std::this_thread::sleep_until(due);
    }
    if (stopRequested != 0) break;
    const std::int64_t now = std::time(nullptr);
    for (const LiveBlock& block : kLiveBlocks) {
      const int result = link.master().readHoldingRegisters(
          link.slave(), block.first, registers.data() + block.first, block.count);
      if (result != MODBUS_OK) {
        return link.fail("reading registers " + std::to_string(block.first) + " to " +
                             std::to_string(block.first + block.count - 1),
                         result);
      }
    }
    const std::string line = liveLine(now, liveValuesOf(registers)) + "\n";
    if (std::fputs(line.c_str(), stdout) < 0 || std::fflush(stdout) != 0) {
      if (errno != EPIPE) complain("cannot write to standard output");
      return CLI_FILE;
    }
  }
  return CLI_OK;
}

}  // namespace vs::cli
