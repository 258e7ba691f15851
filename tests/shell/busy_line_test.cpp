// The window while the serial line is busy: a controller that stops
// answering never holds it, a tick is never doubled, and what comes meanwhile
// waits for the line in its order. The line's requests are checked in the
// rig's destructor never to have run on the window's thread.

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <utility>

#include "shell_rig.h"

namespace vs {
namespace {

using test::ShellRig;

// Short, so that a request with its three retries takes a second; a handler
// that waited on the line would be held for all of it.
constexpr int kTimeoutMs = 250;
constexpr auto kHeldAtMost = std::chrono::milliseconds(2 * kTimeoutMs);

class BusyLine : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(rig.master.setTimeout(kTimeoutMs), 0);
    rig.connected();
    ASSERT_TRUE(rig.tick(POLL_TIMER));
    ASSERT_EQ(rig.shell->link().commStatus, 0);
  }
  const std::string& status() { return rig.shell->statusText(3); }
  void handle(const std::function<void()>& handler) { rig.desktop.timed(handler); }

  ShellRig rig;
};

TEST_F(BusyLine, ASilentControllerNeverHoldsTheWindow) {
  rig.controller.faults().setSilent(true);
  const auto before = rig.master.requestCount();
  handle([&] { rig.shell->onTimer(POLL_TIMER); });
  EXPECT_TRUE(rig.shell->lineBusy());
  EXPECT_EQ(status(), "Communication Status: Receiving data");

  // Late: the next tick falls due while the reads are out. It is not
  // doubled, and the status bar now says what the window waits for.
  handle([&] { rig.shell->onTimer(POLL_TIMER); });
  EXPECT_EQ(status(), "Communication Status: Waiting for reply");

  // Meanwhile the technician zooms, which needs no line and happens at once,
  // and asks for the pressure settings, which wait for the line.
  handle([&] { rig.shell->onCommand(CMD_ZOOM_IN); });
  EXPECT_TRUE(rig.shell->link().chartZoomed);
  handle([&] { rig.shell->onCommand(CMD_PRESSURE_SETTINGS); });
  EXPECT_EQ(rig.desktop.calls.back(), "invalidate");  // the zoom; nothing else yet

  rig.desktop.runPosted();
  // The tick's first block with its retries; then, ahead of the overdue
  // tick, the command's read, unanswered as well.
  EXPECT_EQ(rig.master.requestCount() - before, 2 * (1 + Shell::kRetries));
  EXPECT_EQ(rig.shell->link().pollFailures, 1);
  EXPECT_EQ(rig.boxTexts(), std::vector<std::string>{"Notice|Failed to read valve settings."});
  EXPECT_EQ(status(), "Communication Status: Polling stopped \u2014 press F12");
  EXPECT_LT(rig.desktop.longestHold, kHeldAtMost);
}

TEST_F(BusyLine, AnOverdueTickStartsTheMomentTheLateOneIsDone) {
  rig.controller.faults().setSilent(true);
  const auto before = rig.master.requestCount();
  rig.shell->onTimer(POLL_TIMER);
  for (int late = 0; late < 5; ++late) rig.shell->onTimer(POLL_TIMER);
  rig.desktop.runPosted();
  // Six firings while the first tick was out make one more tick, at once.
  EXPECT_EQ(rig.master.requestCount() - before, 2 * (1 + Shell::kRetries));
  EXPECT_EQ(rig.shell->link().pollFailures, 2);
  EXPECT_EQ(status(), "Communication Status: Time-out");
}

TEST_F(BusyLine, CommandsThatCameWhileATickWasOutRunAfterItInTheirOrder) {
  rig.shell->onTimer(POLL_TIMER);
  rig.shell->onCommand(CMD_DISCONNECT);
  rig.shell->onCommand(CMD_CONNECT);
  EXPECT_TRUE(rig.desktop.timerRunning(POLL_TIMER));  // Disconnect has not run
  EXPECT_TRUE(rig.desktop.posted.empty());
  rig.desktop.runLineEvents();
  EXPECT_EQ(rig.desktop.posted, (std::deque<int>{CMD_DISCONNECT, CMD_CONNECT}));
  EXPECT_EQ(rig.shell->link().pollFailures, 0);  // the tick's answer came first
  rig.desktop.runPosted();
  EXPECT_TRUE(rig.desktop.timerRunning(POLL_TIMER));
  EXPECT_EQ(rig.shell->link().pollFailures, 1);  // as Connect leaves it
}

// The O2 sensor settings chosen while the pressure settings still wait for
// their reads: they open once the pressure dialog is over and its reconnect
// posted, not on top of it.
TEST_F(BusyLine, ACommandChosenWhileAnotherReadsRunsWhenThatOneIsOver) {
  bool chosen = false;
  rig.desktop.whileWaiting = [&] {
    if (std::exchange(chosen, true)) return;
    rig.shell->onCommand(CMD_O2_SENSOR_SETTINGS);
  };
  rig.command(CMD_PRESSURE_SETTINGS);
  rig.desktop.whileWaiting = nullptr;
  EXPECT_EQ(rig.desktop.formsRun, (std::vector<int>{ConnectionForm::kTemplateId, 120, 121}));
  const auto& calls = rig.desktop.calls;
  const auto at = [&calls](const std::string& call) {
    return std::find(calls.begin(), calls.end(), call) - calls.begin();
  };
  EXPECT_LT(at("post 40001"), at("runForm 121"));
}

}  // namespace
}  // namespace vs
