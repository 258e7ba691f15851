// The line diagnostics' costs. Prints figures; asserts nothing.
//
// 1. CPU time of the master per transaction against the simulated controller
//    on an unpaced pty, with the frame trace on and off, in alternating rounds
//    (goal: on costs under 5 % more); and, as a shared machine makes those
//    rounds noisy, what tracing adds measured on its own.
// 2. One record() alone, and the memory the ring and a line monitor hold.
// 3. The line monitor at five polls a second with 10,000 frames held: each
//    refresh takes one tick's 8 new frames and formats the 40 rows a window
//    shows.

#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

#include "diagnostics/line_monitor.h"
#include "link/frame_recorder.h"
#include "link/modbus_rtu_master.h"
#include "link/serial_port.h"
#include "sim/loopback_master.h"
#include "sim/pty_simulator.h"
#include "sim/simulated_controller.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kRounds = 15;
constexpr int kTransactionsPerRound = 300;
constexpr int kVisibleRows = 40;
constexpr int kRefreshes = 500;

struct Block {
  int first;
  int count;
};
constexpr Block kLiveBlocks[] = {{12, 20}, {114, 10}, {39, 6}, {89, 2}};
const std::vector<vs::BlockKey> kBlockKeys = {{3, 12, 20}, {3, 114, 10}, {3, 39, 6}, {3, 89, 2}};

double threadCpuUs() {
  rusage usage{};
  getrusage(RUSAGE_THREAD, &usage);
  const auto us = [](const timeval& t) { return t.tv_sec * 1e6 + static_cast<double>(t.tv_usec); };
  return us(usage.ru_utime) + us(usage.ru_stime);
}

double median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

// CPU µs per transaction of one round; negative when a read failed.
double round(vs::ModbusRtuMaster& master) {
  std::int16_t registers[125];
  const double start = threadCpuUs();
  for (int i = 0; i < kTransactionsPerRound; ++i) {
    const Block& b = kLiveBlocks[i % 4];
    if (master.readHoldingRegisters(1, b.first, registers, b.count) != vs::MODBUS_OK) return -1;
  }
  return (threadCpuUs() - start) / kTransactionsPerRound;
}

// What tracing adds to one transaction, measured alone: the recorder's three
// steps for a 45-byte reply, and the read that takes whatever waits before
// the purge (nothing, on a quiet line).
double directCostUs(vs::ModbusRtuMaster& master, const std::string& path) {
  constexpr int kRepeats = 200'000;
  vs::FrameTrace trace;
  vs::FrameRecorder recorder;
  recorder.setTrace(&trace);
  std::uint8_t frame[256] = {1, 3, 0, 11, 0, 20};
  auto start = Clock::now();
  for (int i = 0; i < kRepeats; ++i) {
    recorder.prepare(frame, 8);
    recorder.sent(frame, 8);
    recorder.reply(vs::MODBUS_OK, frame, 45, 45);
  }
  const double recorderUs =
      std::chrono::duration<double, std::micro>(Clock::now() - start).count() / kRepeats;
  master.close();
  vs::SerialPort port;
  port.open(path);
  int got = 0;
  start = Clock::now();
  for (int i = 0; i < kRepeats; ++i) port.readPending(frame, 256, &got);
  const double readUs =
      std::chrono::duration<double, std::micro>(Clock::now() - start).count() / kRepeats;
  std::printf("  alone: the recorder %.2f us, the read before the purge %.2f us a transaction\n",
              recorderUs, readUs);
  return recorderUs + readUs;
}

int masterCost() {
  vs::sim::SimulatedController controller;
  vs::sim::PtySimulator simulator(controller, vs::sim::LineOptions{0, {}});
  vs::ModbusRtuMaster master;
  master.setRetries(3);
  if (simulator.start() != 0 || master.open(simulator.path(), 9600, 8, 1, 0) != vs::MODBUS_OK) {
    std::fprintf(stderr, "cannot start the line\n");
    return 1;
  }
  vs::FrameTrace trace;
  std::vector<double> off;
  std::vector<double> on;
  std::vector<double> pairs;
  round(master);  // warm up
  for (int r = 0; r < kRounds; ++r) {
    master.setFrameTrace(nullptr);
    off.push_back(round(master));
    master.setFrameTrace(&trace);
    on.push_back(round(master));
    pairs.push_back(on.back() - off.back());
  }
  if (*std::min_element(off.begin(), off.end()) < 0 || *std::min_element(on.begin(), on.end()) < 0) {
    std::fprintf(stderr, "a read failed\n");
    return 1;
  }
  const double offUs = median(off);
  std::printf("master, unpaced pty, %d rounds of %d reads of the live blocks, trace off and on in "
              "turn:\n",
              kRounds, kTransactionsPerRound);
  std::printf("  CPU per transaction: off %.1f us, on %.1f us; median difference of a pair %+.1f us "
              "(%+.1f %%; goal < 5 %%)\n",
              offUs, median(on), median(pairs), median(pairs) / offUs * 100);
  const double direct = directCostUs(master, simulator.path());
  std::printf("  together %.2f us: %.1f %% of the transaction without the trace\n", direct,
              direct / offUs * 100);
  return 0;
}

void recordCost() {
  vs::FrameTrace trace;
  vs::TracedFrame frame;
  frame.byteCount = 45;
  constexpr int kRecords = 1'000'000;
  const auto start = Clock::now();
  for (int i = 0; i < kRecords; ++i) trace.record(frame);
  const double ns = std::chrono::duration<double, std::nano>(Clock::now() - start).count();
  std::printf("one record() into a full ring: %.0f ns\n", ns / kRecords);
  std::printf("memory: the ring of %zu frames %.2f MB (%zu bytes a frame); a line monitor holds "
              "as much again, and as much for a refresh after a long pause\n",
              trace.capacity(), trace.memoryBytes() / 1e6, sizeof(vs::TracedFrame));
}

int monitorCost() {
  vs::sim::SimulatedController controller;
  vs::sim::LoopbackMaster master(controller);
  vs::FrameTrace trace;
  master.setFrameTrace(&trace);
  vs::TickRecorder ticks;
  vs::LineMonitor monitor(trace, kBlockKeys, &ticks);
  std::int16_t registers[125];
  const auto tick = [&] {
    for (const Block& b : kLiveBlocks) master.readHoldingRegisters(1, b.first, registers, b.count);
  };
  while (monitor.rowCount() < trace.capacity()) {
    tick();
    monitor.refresh();
  }
  std::vector<double> refreshUs;
  std::size_t characters = 0;
  for (int i = 0; i < kRefreshes; ++i) {
    tick();
    const auto start = Clock::now();
    monitor.refresh();
    const vs::TickStatistics shown = ticks.statistics();
    const std::size_t rows = monitor.rowCount();
    for (std::size_t row = rows - kVisibleRows; row < rows; ++row) {
      characters += monitor.row(row).summary.size();
    }
    characters += vs::statisticsText(monitor.statistics(), &shown).size();
    refreshUs.push_back(std::chrono::duration<double, std::micro>(Clock::now() - start).count());
  }
  const double medianUs = median(refreshUs);
  std::printf("line monitor, %zu frames held, one tick's 8 new frames a refresh:\n",
              monitor.rowCount());
  std::printf("  refresh + statistics + %d rows formatted: median %.0f us, slowest %.0f us; at "
              "five a second %.3f %% of a core (%zu characters)\n",
              kVisibleRows, medianUs, *std::max_element(refreshUs.begin(), refreshUs.end()),
              medianUs * 5 / 1e4, characters);
  const auto start = Clock::now();
  const std::string text = monitor.text();
  std::printf("  the whole table as text for Save: %.1f ms, %.1f MB\n",
              std::chrono::duration<double, std::milli>(Clock::now() - start).count(),
              text.size() / 1e6);
  return 0;
}

}  // namespace

int main() {
  if (const int failed = masterCost()) return failed;
  recordCost();
  return monitorCost();
}
