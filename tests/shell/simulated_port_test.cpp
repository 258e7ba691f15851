// The shell on the simulated controller inside the program (--simulate where
// there is no pty, as on Windows): it connects, polls and leaves as on a
// serial port, the status bar says that no valve is connected, and "OUT"
// reaches the simulated controller, with no warning about the port.

#include <gtest/gtest.h>

#include "dialogs/connection_form.h"
#include "forms/command_ids.h"
#include "logging/clock.h"
#include "shell/shell.h"
#include "sim/simulated_port_master.h"
#include "support/scripted_desktop.h"
#include "support/temp_dir.h"

namespace vs {
namespace {

TEST(SimulatedPort, TheShellConnectsPollsAndSaysOutToTheControllerInside) {
  sim::SimulatedController controller;
  sim::SimulatedPortMaster master(controller);
  test::ScriptedDesktop desktop;
  test::TempDir data;
  SystemClock clock;
  std::vector<int> exitCodes;

  ShellSetup setup;
  setup.dataDirectory = data.path();
  setup.port = sim::SimulatedPortMaster::kPortName;
  setup.simulated = true;
  setup.endProcess = [&exitCodes](int code) { exitCodes.push_back(code); };
  Shell shell(desktop, master, clock, setup);
  desktop.dispatch = [&shell](int id) { shell.onCommand(id); };
  desktop.lineBusy = [&shell] { return shell.lineBusy(); };
  const auto tick = [&desktop, &shell](int id) {
    if (!desktop.timerRunning(id)) return false;
    shell.onTimer(id);
    desktop.runPosted();
    return true;
  };
  desktop.onForm(ConnectionForm::kTemplateId, [&tick](Form& form, test::ScriptedFormHost&) {
    for (int i = 0; i < 100 && !form.isEnded(); ++i) tick(CONNECT_TIMER);
  });
  shell.onCreate();
  shell.startUp();

  ASSERT_TRUE(desktop.timerRunning(POLL_TIMER));
  EXPECT_EQ(desktop.title, "QX4 Valvescope v.1.02  ___  Firmware v. 4.62");
  EXPECT_EQ(desktop.statusTexts[1], "Simulated QX4 controller (no valve connected)");
  ASSERT_TRUE(tick(POLL_TIMER));
  EXPECT_EQ(shell.link().liveValues[0], 720);  // the O2 set point, 0.720 V
  EXPECT_EQ(shell.link().liveValues[5], 2);    // A/F control
  EXPECT_EQ(shell.link().commStatus, 0);

  shell.onKey(ShellKey::Escape);
  desktop.runPosted();
  EXPECT_EQ(exitCodes, std::vector<int>{0});
  EXPECT_FALSE(master.isOpen());
  EXPECT_EQ(controller.strayBytes(), "OUT");
  EXPECT_TRUE(desktop.boxes.empty());
}

}  // namespace
}  // namespace vs
