// The poll step, the time-out rule, Connect and Disconnect, and the log
// records the polls leave.

#include <gtest/gtest.h>

#include "logging/log_file_name.h"
#include "logging/log_file_reader.h"
#include "registers/register_map.h"
#include "shell/comm_status.h"
#include "shell_rig.h"
#include "support/recording_canvas.h"

namespace vs {
namespace {

using sim::FaultKind;
using test::ShellRig;

constexpr const char* kLinkLost = "13Information|Communication time-out";
constexpr const char* kNoAnswer = "Notice(B_9600)|Communication Time-out!\n";

std::vector<LogRecord> recordsIn(const std::filesystem::path& file) {
  LogFileReader reader(file);
  std::vector<LogRecord> records(static_cast<std::size_t>(reader.recordCount()));
  reader.read(records.data(), records.size());
  return records;
}

// Connected, with the log file of the test clock's hour open.
class Polling : public ::testing::Test {
 protected:
  void SetUp() override {
    rig.connected();
    rig.tick(CLOCK_TIMER);
    ASSERT_TRUE(rig.shell->logWriter().isOpen());
  }
  ValveLink& link() { return rig.shell->link(); }
  std::filesystem::path logFile(const LocalDateTime& hour) const {
    return rig.data.path() / logFileName(hour);
  }
  void poll(int times = 1) {
    for (int i = 0; i < times; ++i) ASSERT_TRUE(rig.tick(POLL_TIMER));
  }
  void repaint() {
    test::RecordingCanvas canvas;
    rig.shell->onPaint(canvas);
  }

  ShellRig rig;
};

TEST_F(Polling, AGoodPollShowsAndLogsTheControllersValues) {
  rig.clock.unix = 1'796'548'000;
  const int invalidations = rig.desktop.invalidations;
  poll();

  const auto reg = [this](int r) { return std::int32_t{rig.controller.readRegister(r)}; };
  const LiveValues expected{reg(114), reg(12), reg(19), reg(21), reg(26),
                            reg(43),  reg(20), reg(89), reg(90), 0};
  EXPECT_EQ(link().liveValues, expected);
  EXPECT_EQ(link().commStatus, 0);
  EXPECT_EQ(link().pollFailures, 0);
  EXPECT_EQ(link().firmwareVersion, 462);
  EXPECT_EQ(rig.desktop.invalidations, invalidations + 1);
  EXPECT_EQ(rig.desktop.calls.back(), "invalidate");

  const auto records = recordsIn(logFile(rig.clock.local));
  ASSERT_EQ(records.size(), 1u);
  EXPECT_EQ(records[0].timeStamp, 1'796'548'000);
  EXPECT_EQ(records[0].values, expected);

  repaint();
  EXPECT_EQ(rig.desktop.statusTexts[3], "Communication Status: Receiving data");
  EXPECT_EQ(rig.desktop.statusTexts[0], "QX4 Serial Nr: " + std::to_string(reg(134)));
  EXPECT_EQ(rig.desktop.statusTexts[2], "");
}

TEST_F(Polling, OneFailedPollShowsTimeOutUntilTheNextGoodOne) {
  poll();
  rig.controller.faults().injectNext(FaultKind::Exception, 1);
  poll();
  EXPECT_EQ(link().commStatus, 1);
  EXPECT_EQ(link().pollFailures, 1);
  for (int i = 0; i <= LIVE_POST_CAT_TEMP; ++i) EXPECT_EQ(link().liveValues[i], 0) << i;
  repaint();
  EXPECT_EQ(rig.desktop.statusTexts[3], "Communication Status: Time-out");

  poll();
  EXPECT_EQ(link().commStatus, 0);
  repaint();
  EXPECT_EQ(rig.desktop.statusTexts[3], "Communication Status: Receiving data");
  EXPECT_EQ(recordsIn(logFile(rig.clock.local)).size(), 2u);
}

// A block that fails ends the tick: on a dead line the blocks after it would
// only add their own time-outs. The one that failed had its retries, and the
// blocks not read show zeros, as a failed read does.
TEST_F(Polling, TheFirstFailedBlockEndsTheTick) {
  poll();
  ASSERT_NE(link().liveD, decltype(link().liveD){});
  const auto before = rig.master.requestCount();
  rig.controller.faults().injectNext(FaultKind::NoReply, 1 + Shell::kRetries);
  poll();

  EXPECT_EQ(rig.master.requestCount() - before, 1 + Shell::kRetries);
  EXPECT_EQ(link().readResults[0], MODBUS_REPLY_TIMEOUT);
  for (int i = 1; i < 4; ++i) EXPECT_NE(link().readResults[i], 0) << i;
  EXPECT_EQ(link().liveB, decltype(link().liveB){});
  EXPECT_EQ(link().liveC, decltype(link().liveC){});
  EXPECT_EQ(link().liveD, decltype(link().liveD){});
  EXPECT_EQ(link().liveValues, LiveValues{});
  EXPECT_EQ(recordsIn(logFile(rig.clock.local)).size(), 1u);
}

TEST_F(Polling, FourFailuresAfterAGoodPollReportTheLostLinkAndReconnect) {
  poll();
  rig.refuseEverything();
  poll(3);
  EXPECT_TRUE(rig.desktop.timerRunning(POLL_TIMER));
  EXPECT_TRUE(rig.desktop.boxes.empty());
  rig.desktop.calls.clear();
  poll();

  // The reconnect pair runs while the message box is up; its probe fails too.
  EXPECT_EQ(rig.boxTexts(), (std::vector<std::string>{kLinkLost, kNoAnswer}));
  EXPECT_EQ(rig.desktop.boxes[0].icon, Icon::Exclamation);
  EXPECT_TRUE(rig.desktop.boxes[0].owned);
  const auto& calls = rig.desktop.calls;
  const auto at = [&calls](const std::string& call) {
    return std::find(calls.begin(), calls.end(), call) - calls.begin();
  };
  EXPECT_LT(at("post 40002"), at("post 40001"));
  EXPECT_LT(at("post 40001"), at(std::string("messageBox ") + kLinkLost));
  EXPECT_FALSE(rig.desktop.timerRunning(POLL_TIMER));
  EXPECT_FALSE(link().linkUp);
  EXPECT_EQ(link().commStatus, 1);
  EXPECT_FALSE(rig.shell->logWriter().isOpen());
  EXPECT_EQ(recordsIn(logFile(rig.clock.local)).size(), 1u);
}

TEST_F(Polling, RightAfterAConnectThreeFailuresReconnectWithoutAMessage) {
  rig.command(CMD_CONNECT);
  EXPECT_EQ(link().pollFailures, 1);
  rig.refuseEverything();
  poll(2);
  EXPECT_TRUE(rig.desktop.timerRunning(POLL_TIMER));
  rig.shell->onTimer(POLL_TIMER);
  rig.desktop.runLineEvents();
  EXPECT_FALSE(rig.desktop.timerRunning(POLL_TIMER));
  EXPECT_EQ(rig.desktop.posted, (std::deque<int>{CMD_DISCONNECT, CMD_CONNECT}));
  EXPECT_EQ(link().commStatus, 3);

  rig.answerAgain();
  rig.desktop.runPosted();
  EXPECT_TRUE(rig.desktop.boxes.empty());
  EXPECT_TRUE(link().linkUp);
  EXPECT_TRUE(rig.desktop.timerRunning(POLL_TIMER));
  poll();
  EXPECT_EQ(link().commStatus, 0);
}

TEST_F(Polling, ConnectReportsAPortThatWillNotOpenOrAControllerThatWillNotAnswer) {
  rig.command(CMD_DISCONNECT);
  rig.refuseEverything();
  rig.command(CMD_CONNECT);
  EXPECT_EQ(rig.boxTexts(), std::vector<std::string>{kNoAnswer});
  EXPECT_FALSE(link().linkUp);
  EXPECT_EQ(link().commStatus, 1);
  EXPECT_FALSE(rig.desktop.timerRunning(POLL_TIMER));

  link().portName = (rig.data / "unplugged").string();
  rig.command(CMD_CONNECT);
  EXPECT_TRUE(rig.boxTexts().back().starts_with(
      "Notice(B_9600)|Error opening communication port!\n\nThere is no port "));
  EXPECT_FALSE(rig.master.isOpen());
  EXPECT_FALSE(rig.desktop.timerRunning(POLL_TIMER));
}

TEST_F(Polling, DisconnectStopsPollingClosesTheLogAndThePortButKeepsTheLinkFlag) {
  rig.command(CMD_DISCONNECT);
  EXPECT_FALSE(rig.desktop.timerRunning(POLL_TIMER));
  EXPECT_FALSE(rig.shell->logWriter().isOpen());
  EXPECT_FALSE(rig.master.isOpen());
  EXPECT_TRUE(link().linkUp);
  EXPECT_TRUE(rig.desktop.timerRunning(CLOCK_TIMER));
}

TEST_F(Polling, F12ReconnectsAndAppendsToTheFileOfTheHour) {
  poll(2);
  rig.shell->onKey(ShellKey::F12);
  EXPECT_EQ(rig.desktop.posted, (std::deque<int>{CMD_DISCONNECT, CMD_CONNECT}));
  rig.desktop.runPosted();
  EXPECT_TRUE(rig.shell->logWriter().isOpen());
  EXPECT_TRUE(rig.desktop.timerRunning(POLL_TIMER));
  poll(3);
  EXPECT_EQ(recordsIn(logFile(rig.clock.local)).size(), 5u);
}

TEST_F(Polling, LogDisableSuspendsWritingUntilEnable) {
  poll();
  rig.command(CMD_LOG_DISABLE);
  EXPECT_FALSE(rig.shell->logFileEnabled());
  poll(2);
  rig.command(CMD_LOG_ENABLE);
  EXPECT_TRUE(rig.shell->logFileEnabled());
  poll();
  EXPECT_EQ(recordsIn(logFile(rig.clock.local)).size(), 2u);
}

TEST_F(Polling, ANewFileStartsAtEachHourAndAtMidnight) {
  rig.clock.set({2026, 12, 6, 9, 59, 59, 900}, 1'796'551'199);
  poll();
  rig.clock.set({2026, 12, 6, 10, 0, 0, 100}, 1'796'551'200);
  rig.tick(CLOCK_TIMER);
  poll(2);
  rig.clock.set({2026, 12, 6, 23, 59, 59, 950}, 1'796'601'599);
  rig.tick(CLOCK_TIMER);
  poll();
  rig.clock.set({2026, 12, 7, 0, 0, 0, 150}, 1'796'601'600);
  rig.tick(CLOCK_TIMER);
  poll();

  const auto dir = rig.data.path();
  EXPECT_EQ(recordsIn(dir / "log_2026_12_6_9.log").size(), 1u);
  EXPECT_EQ(recordsIn(dir / "log_2026_12_6_10.log").size(), 2u);
  EXPECT_EQ(recordsIn(dir / "log_2026_12_6_23.log").size(), 1u);
  const auto midnight = recordsIn(dir / "log_2026_12_7_0.log");
  ASSERT_EQ(midnight.size(), 1u);
  EXPECT_EQ(midnight[0].timeStamp, 1'796'601'600);
}

}  // namespace
}  // namespace vs
