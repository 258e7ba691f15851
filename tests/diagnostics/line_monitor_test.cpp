#include "diagnostics/line_monitor.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "diagnostics/line_advice.h"
#include "link/master_result.h"
#include "sim/loopback_master.h"
#include "support/temp_dir.h"

namespace vs {
namespace {

using sim::FaultKind;

const std::vector<BlockKey> kBlocks = {{3, 12, 20}, {3, 114, 10}, {3, 39, 6}, {3, 89, 2}};

// The poll's four reads against the simulated controller, every frame traced;
// its line times are those of 9600 baud, without waiting them out.
class MonitoredPoll : public ::testing::Test {
 protected:
  MonitoredPoll() {
    master.close();
    master.setRetries(3);
    master.open();
    master.paceAt(9600, [](std::chrono::nanoseconds) {});
    master.setFrameTrace(&trace);
  }
  // Each block's result, in order; the first reply of block i suffers faults[i].
  std::vector<int> tick(const std::vector<FaultKind>& faults = {}) {
    std::vector<int> results;
    std::int16_t values[20];
    for (std::size_t i = 0; i < kBlocks.size(); ++i) {
      if (i < faults.size()) controller.faults().injectNext(faults[i], 1);
      results.push_back(
          master.readHoldingRegisters(1, kBlocks[i].first, values, kBlocks[i].count));
    }
    return results;
  }
  std::vector<std::string> summaries() {
    std::vector<std::string> rows;
    for (std::size_t i = 0; i < monitor.rowCount(); ++i) rows.push_back(monitor.row(i).summary);
    return rows;
  }

  sim::SimulatedController controller;
  sim::LoopbackMaster master{controller};
  FrameTrace trace{64};
  TickRecorder ticks;
  LineMonitor monitor{trace, kBlocks, &ticks};
};

TEST_F(MonitoredPoll, CountsEveryOutcomeOverallAndPerBlock) {
  // Retried but for the exception.
  EXPECT_EQ(tick({FaultKind::WrongCrc, FaultKind::NoReply, FaultKind::Exception,
                  FaultKind::WrongAddress}),
            (std::vector<int>{0, 0, MODBUS_EXCEPTION_BASE | 4, 0}));
  EXPECT_EQ(tick(), (std::vector<int>{0, 0, 0, 0}));
  monitor.refresh();

  const LinkCounts all = monitor.statistics().overall();
  EXPECT_EQ(all.requests, 11);
  EXPECT_EQ(all.successes, 7);
  EXPECT_EQ(all.retries, 3);
  EXPECT_EQ(all.timeouts, 1);
  EXPECT_EQ(all.crcErrors, 1);
  EXPECT_EQ(all.exceptions, 1);
  EXPECT_EQ(all.mismatches, 1);
  EXPECT_EQ(all.otherFailures, 0);

  const LinkCounts first = monitor.statistics().block(0);
  EXPECT_EQ(first.requests, 3);
  EXPECT_EQ(first.successes, 2);
  EXPECT_EQ(first.retries, 1);
  EXPECT_EQ(first.crcErrors, 1);
  // 3.5 characters of turnaround and 45 of reply at 9600 baud, whatever came
  // back: exactly 48.5 x 1041.67 µs, so the median is no bucket's edge but the value.
  EXPECT_EQ(first.latency.count, 3);
  EXPECT_EQ(first.latency.minMicros, 50'520);
  EXPECT_EQ(first.latency.medianMicros, 50'520);
  EXPECT_EQ(first.latency.maxMicros, 50'520);
  const LinkCounts second = monitor.statistics().block(1);
  EXPECT_EQ(second.timeouts, 1);
  EXPECT_EQ(second.latency.count, 2) << "a reply that never came has no latency";
  EXPECT_EQ(monitor.statistics().block(2).exceptions, 1);
  EXPECT_EQ(monitor.statistics().block(3).mismatches, 1);

  // The table: every request and every outcome, and the faulty ones alone.
  EXPECT_EQ(monitor.rowCount(), 22u);
  monitor.setErrorsOnly(true);
  auto rows = summaries();
  ASSERT_EQ(rows.size(), 4u);
  // The live values, and so the CRC, change with the time.
  EXPECT_EQ(rows[0].substr(0, 19), "CRC error (carries ");
  EXPECT_EQ(rows[0].substr(50), "in the reply to slave 1: read holding registers 12 to 31 (20)");
  rows.erase(rows.begin());
  EXPECT_EQ(rows, (std::vector<std::string>{
                             "no reply within 1000.0 ms to slave 1: read holding registers 114 "
                             "o2_sp to 123 default_pressure (10)",
                             "slave 1 refused read holding registers 39 to 44 (6): exception 4, "
                             "slave device failure",
                             "reply from slave 2 to slave 1: read holding registers 89 to 90 (2)",
                         }));
  EXPECT_TRUE(monitor.row(0).error);
  EXPECT_EQ(monitor.row(0).direction, "RX");
}

TEST_F(MonitoredPoll, PausedTheTableStandsStillClearedItStartsAfresh) {
  tick();
  EXPECT_EQ(monitor.refresh().added, 8u);
  monitor.setPaused(true);
  tick();
  EXPECT_EQ(monitor.refresh().added, 0u);
  EXPECT_EQ(monitor.rowCount(), 8u);
  EXPECT_EQ(monitor.statistics().overall().requests, 8) << "counting goes on while paused";
  monitor.setPaused(false);
  tick({FaultKind::NoReply});
  monitor.setErrorsOnly(true);
  const auto change = monitor.refresh();
  EXPECT_EQ(change.added, 1u) << "only the faulty row is added to the faulty rows";
  EXPECT_EQ(monitor.rowCount(), 1u);
  monitor.setErrorsOnly(false);
  EXPECT_EQ(monitor.rowCount(), 18u);

  ticks.tickStarted(0);
  ticks.tickEnded(300'000);
  monitor.clear();
  EXPECT_EQ(monitor.rowCount(), 0u);
  EXPECT_EQ(monitor.statistics().overall().requests, 0);
  EXPECT_EQ(ticks.statistics().ticks, 0);
  tick();
  EXPECT_EQ(monitor.refresh().added, 8u);
}

// The table holds as many frames as the trace; older rows give way, and
// frames that the trace let go before a refresh are counted as missed.
TEST_F(MonitoredPoll, HoldsNoMoreThanTheTraceAndCountsWhatItMissed) {
  tick();
  tick({FaultKind::NoReply});  // 10 frames, two of them the failed attempt's
  EXPECT_EQ(monitor.refresh().added, 18u);
  for (int i = 0; i < 6; ++i) tick();  // 48 more: the first 2 drop out of the monitor's 64
  const auto change = monitor.refresh();
  EXPECT_EQ(change.added, 48u);
  EXPECT_EQ(change.dropped, 2u);
  EXPECT_EQ(monitor.rowCount(), 64u);
  monitor.setErrorsOnly(true);
  EXPECT_EQ(monitor.rowCount(), 1u) << "the failed attempt's outcome is still held";
  for (int i = 0; i < 9; ++i) tick();  // 72 frames: more than the trace holds
  monitor.refresh();
  EXPECT_EQ(monitor.missedFrames(), 8u);
  EXPECT_EQ(monitor.rowCount(), 0u);
  monitor.setErrorsOnly(false);
  EXPECT_EQ(monitor.rowCount(), 64u);
  EXPECT_EQ(monitor.frame(63).sequence, trace.lastSequence());
}

TEST_F(MonitoredPoll, SavesTheStatisticsAndTheRowsShown) {
  tick({FaultKind::Exception});
  monitor.refresh();
  monitor.setErrorsOnly(true);
  test::TempDir dir;
  ASSERT_TRUE(monitor.save(dir / "line.txt"));
  std::ifstream in(dir / "line.txt");
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  ASSERT_EQ(lines.size(), 10u);
  EXPECT_EQ(lines[0].substr(15, 8), "requests");
  EXPECT_EQ(lines[1].substr(0, 3), "all");
  EXPECT_EQ(lines[6].substr(0, 14), "poll ticks: 0,");
  EXPECT_EQ(lines[7], "");
  EXPECT_EQ(lines[8], "faulty frames:");
  // "2026-05-01 14:03:07.250113  RX  slave 1 refused ...  [01 83 04 40 F3]"
  EXPECT_EQ(lines[9].substr(26), "  RX  slave 1 refused read holding registers 12 to 31 (20): "
                                 "exception 4, slave device failure  [01 83 04 40 F3]");
  EXPECT_FALSE(monitor.save(dir / "no-such-folder" / "line.txt"));
}

TEST(LatencyHistogram, PercentilesOfKnownLatencies) {
  LatencyHistogram exact;
  for (int us = 100; us >= 1; --us) exact.add(us);
  EXPECT_EQ(exact.percentile(0.5), 50);
  EXPECT_EQ(exact.percentile(0.99), 99);
  EXPECT_EQ(exact.min(), 1);
  EXPECT_EQ(exact.max(), 100);

  // 1 to 1000 ms: each figure within 1/64 above the true one.
  LatencyHistogram wide;
  for (int ms = 1; ms <= 1000; ++ms) wide.add(ms * 1000);
  EXPECT_EQ(wide.count(), 1000);
  EXPECT_GE(wide.percentile(0.5), 500'000);
  EXPECT_LE(wide.percentile(0.5), 500'000 + 500'000 / 64);
  EXPECT_GE(wide.percentile(0.99), 990'000);
  EXPECT_LE(wide.percentile(0.99), 990'000 + 990'000 / 64);
  EXPECT_EQ(wide.percentile(1.0), 1'000'000);
  EXPECT_EQ(LatencyHistogram().percentile(0.5), 0);
}

TEST(TickRecorder, CountsOverrunsAndTheRateTicksKeep) {
  TickRecorder ticks;  // 200 ms
  std::int64_t t = 0;
  for (int i = 0; i < 10; ++i, t += 200'000) {
    ticks.tickStarted(t);
    ticks.tickEnded(t + (i == 4 ? 200'001 : 170'000));
  }
  TickStatistics s = ticks.statistics(t);
  EXPECT_EQ(s.ticks, 10);
  EXPECT_EQ(s.overruns, 1);
  EXPECT_EQ(s.longestMicros, 200'001);
  EXPECT_EQ(s.lastMicros, 170'000);
  EXPECT_DOUBLE_EQ(s.ticksPerSecond, 5.0);
  EXPECT_EQ(s.recentTicks, 10);
  EXPECT_EQ(s.recentOverruns, 1);
  // Slow ticks, one after the other: the rate follows them.
  for (int i = 0; i < 30; ++i, t += 400'000) {
    ticks.tickStarted(t);
    ticks.tickEnded(t + 400'000);
  }
  s = ticks.statistics(t);
  EXPECT_EQ(s.overruns, 31);
  EXPECT_DOUBLE_EQ(s.ticksPerSecond, 2.5);
  EXPECT_EQ(s.recentTicks, 13) << "those that ended in the last five seconds";
  EXPECT_EQ(s.recentOverruns, 13);
  // A poll that stopped: the rate falls to what the last five seconds saw.
  EXPECT_DOUBLE_EQ(ticks.statistics(t + 3'000'000).ticksPerSecond, 0.8);
  EXPECT_DOUBLE_EQ(ticks.statistics(t + 6'000'000).ticksPerSecond, 0.0);
  EXPECT_EQ(ticks.statistics(t + 6'000'000).recentOverruns, 0);
}

TEST(LineAdvice, SaysWhenTicksOverrunAndHowToLowerTheAdaptersTimer) {
  TickStatistics ticks;
  ticks.ticks = 25;
  ticks.periodMicros = 200'000;
  EXPECT_EQ(lineAdvice(ticks, "/dev/ttyUSB0", 1).status, "");
  EXPECT_TRUE(lineAdvice(ticks, "/dev/ttyUSB0", 1).sentences.empty());

  const LineAdvice slowTimer = lineAdvice(ticks, "/dev/ttyUSB0", 16);
  EXPECT_EQ(slowTimer.status, "USB adapter latency 16 ms");
  ASSERT_EQ(slowTimer.sentences.size(), 1u);
  EXPECT_NE(slowTimer.sentences[0].find("holds what it receives up to 16 ms"), std::string::npos);

  // The status bar's few words are about the last seconds; the sentences
  // about everything since the start.
  ticks.overruns = 25;
  ticks.longestMicros = 412'000;
  ticks.recentTicks = 12;
  ticks.recentOverruns = 12;
  const LineAdvice overrun = lineAdvice(ticks, "/dev/ttyUSB0", std::nullopt);
  EXPECT_EQ(overrun.status, "Polls over 200 ms: 12 of the last 12");
  ASSERT_EQ(overrun.sentences.size(), 2u);
  EXPECT_EQ(overrun.sentences[0],
            "25 of 25 poll ticks took longer than 200 ms (the longest 412 ms): the controller's "
            "replies come too slowly for five polls a second.");
  ticks.recentOverruns = 0;
  EXPECT_EQ(lineAdvice(ticks, "/dev/ttyUSB0", std::nullopt).status, "");
  EXPECT_EQ(lineAdvice(ticks, "/dev/ttyUSB0", 16).status, "USB adapter latency 16 ms");
  EXPECT_EQ(lineAdvice(ticks, "/dev/ttyUSB0", std::nullopt).sentences.size(), 2u);
}

}  // namespace
}  // namespace vs
