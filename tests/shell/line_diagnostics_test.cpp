// The program's line diagnostics against the simulator on a pty: slow
// replies advised in the status bar and counted in the Line Monitor, which
// opens while a tick is out and counts the run while it is closed.

#include <gtest/gtest.h>

#include "dialogs/line_monitor_form.h"
#include "shell_rig.h"

namespace vs {
namespace {

using test::ShellRig;

class LineDiagnostics : public ::testing::Test {
 protected:
  std::string& shown(int part) { return rig.desktop.statusTexts[part]; }
  void poll(int times = 1) {
    for (int i = 0; i < times; ++i) ASSERT_TRUE(rig.tick(POLL_TIMER));
  }
  LineMonitorForm& monitorForm() {
    EXPECT_EQ(rig.desktop.besideForms.size(), 1u);
    return dynamic_cast<LineMonitorForm&>(*rig.desktop.besideForms.begin()->first);
  }
  test::ScriptedFormHost& monitorHost() { return *rig.desktop.besideForms.begin()->second; }

  ShellRig rig;
};

// 60 ms before every reply, as a USB adapter with a long latency timer
// holds them: four replies push each tick past its 200 ms.
TEST_F(LineDiagnostics, SlowRepliesAreAdvisedInTheStatusBarAndCountedInTheLineMonitor) {
  rig.connected();
  sim::FaultSettings slow = rig.controller.faults().settings();
  slow.replyDelay = std::chrono::milliseconds(60);
  rig.controller.faults().setSettings(slow);
  poll(3);
  rig.tick(CLOCK_TIMER);
  EXPECT_EQ(shown(2), "Polls over 200 ms: 3 of the last 3 \u2014 see Tools \u2192 Line Monitor");
  EXPECT_EQ(shown(3), "Communication Status: Receiving data");

  rig.command(CMD_LINE_MONITOR);
  const LineMonitorForm& form = monitorForm();
  EXPECT_NE(form.ticks.find("3 of 3 took over 200 ms"), std::string::npos) << form.ticks;
  ASSERT_FALSE(form.advice.empty());
  EXPECT_EQ(form.advice[0].substr(0, 50), "3 of 3 poll ticks took longer than 200 ms (the lon");
  EXPECT_EQ(form.statistics[1][0], "12-31");
  EXPECT_EQ(form.statistics[1][1], "3");

  // Ticks slowed by a controller that does not answer properly are the
  // communication status's to tell.
  rig.refuseEverything();
  poll();
  rig.tick(CLOCK_TIMER);
  EXPECT_EQ(shown(3), "Communication Status: Time-out");
  EXPECT_EQ(shown(2), "");
}

TEST_F(LineDiagnostics, TheLineMonitorOpensAtOnceAndCountsTheRunWhileClosed) {
  rig.connected();
  poll();
  rig.shell->onTimer(POLL_TIMER);
  ASSERT_TRUE(rig.shell->lineBusy());
  rig.shell->onCommand(CMD_LINE_MONITOR);  // not held for the tick
  EXPECT_TRUE(monitorForm().shown());
  rig.desktop.runPosted();
  monitorHost().tick(LineMonitorForm::kRefreshTimer);
  EXPECT_EQ(monitorForm().statistics[1][1], "2");

  monitorForm().closeBox();
  EXPECT_FALSE(monitorHost().timerRunning(LineMonitorForm::kRefreshTimer));
  poll(3);
  rig.tick(CLOCK_TIMER);
  rig.command(CMD_LINE_MONITOR);
  EXPECT_TRUE(monitorForm().shown());
  EXPECT_EQ(monitorForm().statistics[1][1], "5");
  EXPECT_EQ(monitorForm().statistics[0][2], monitorForm().statistics[0][1]) << "all answered";
}

}  // namespace
}  // namespace vs
