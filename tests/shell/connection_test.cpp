// Start-up: the port from comm_config.dat, the connection step behind the
// "Establishing communication" dialog, and the dialog itself.

#include <gtest/gtest.h>

#include <fstream>

#include "registers/register_map.h"
#include "shell/comm_config.h"
#include "shell/data_paths.h"
#include "shell_rig.h"

namespace vs {
namespace {

using test::ShellRig;

constexpr const char* kGaveUp =
    "Communication Timeout|Co nnection failed. \nPlease check the cable, communication port and "
    "device ID settings.";

TEST(ConnectionStep, NineAnswersConnectAndStartPolling) {
  ShellRig rig;
  rig.controller.writeRegister(REG_MAX_PRESSURE, 20000);
  rig.controller.writeRegister(REG_MIN_PRESSURE, -4000);
  rig.controller.writeRegister(REG_SERIAL_NUMBER, 4711);
  rig.controller.writeRegister(REG_WARMUP_TIMER_START, 90);
  Shell& shell = rig.connected();

  const ValveLink& link = shell.link();
  EXPECT_EQ(link.connectSuccesses, 9);
  EXPECT_EQ(link.connectAttempts, 9);
  EXPECT_EQ(rig.desktop.title, "QX4 Valvescope v.1.02  ___  Firmware v. 4.62");
  EXPECT_DOUBLE_EQ(link.pressureRangeMax, 20.0);
  EXPECT_DOUBLE_EQ(link.pressureRangeMin, -4.0);
  EXPECT_EQ(link.serialNumber, 4711);
  EXPECT_EQ(link.warmUpSetting, 90);
  EXPECT_EQ(link.reportScale, 172);
  EXPECT_FALSE(rig.desktop.timerRunning(CONNECT_TIMER));
  EXPECT_TRUE(rig.desktop.timerRunning(CLOCK_TIMER));
  EXPECT_TRUE(rig.desktop.boxes.empty());
  // The connection step probes without retries; polling gets them.
  EXPECT_EQ(rig.retriesWhileConnecting, Shell::kConnectionRetries);
  EXPECT_EQ(rig.master.retries(), Shell::kRetries);
}

TEST(ConnectionStep, FirmwareAndAirFuelFactorComeFromTheController) {
  sim::ControllerOptions options;
  options.firmwareVersion = 399;
  ShellRig rig(options);
  rig.controller.writeRegister(REG_AFR_FACTOR, 155);
  rig.connected();
  EXPECT_EQ(rig.desktop.title, "QX4 Valvescope v.1.02  ___  Firmware v. 3.99");
  EXPECT_EQ(rig.shell->link().reportScale, 155);
}

TEST(ConnectionStep, TwentiethAttemptFailingGivesUp) {
  ShellRig rig;
  rig.desktop.onForm(ConnectionForm::kTemplateId, [&rig](Form& form, test::ScriptedFormHost&) {
    for (int i = 0; i < 5; ++i) rig.tick(CONNECT_TIMER);
    rig.refuseEverything();
    while (!form.isEnded() && rig.tick(CONNECT_TIMER)) {
    }
  });
  rig.make();
  rig.shell->startUp();

  EXPECT_EQ(rig.shell->link().connectAttempts, 20);
  EXPECT_EQ(rig.shell->link().connectSuccesses, 5);
  EXPECT_EQ(rig.boxTexts(), std::vector<std::string>{kGaveUp});
  EXPECT_FALSE(rig.desktop.timerRunning(CONNECT_TIMER));
  EXPECT_FALSE(rig.desktop.timerRunning(POLL_TIMER));
}

TEST(ConnectionStep, AnAnswerAtTheTwentiethAttemptKeepsTrying) {
  ShellRig rig;
  rig.desktop.onForm(ConnectionForm::kTemplateId, [&rig](Form& form, test::ScriptedFormHost&) {
    rig.refuseEverything();
    for (int i = 0; i < 19; ++i) rig.tick(CONNECT_TIMER);
    rig.answerAgain();
    for (int i = 0; i < 9 && !form.isEnded(); ++i) rig.tick(CONNECT_TIMER);
  });
  rig.make();
  rig.shell->startUp();
  EXPECT_EQ(rig.shell->link().connectAttempts, 28);
  EXPECT_TRUE(rig.desktop.boxes.empty());
  EXPECT_TRUE(rig.desktop.timerRunning(POLL_TIMER));
}

TEST(ConnectionStep, APortThatDoesNotOpenLeavesTheStepIdleUntilCancel) {
  ShellRig rig;
  rig.desktop.onForm(ConnectionForm::kTemplateId, [&rig](Form& form, test::ScriptedFormHost&) {
    for (int i = 0; i < 25; ++i) rig.tick(CONNECT_TIMER);
    static_cast<ConnectionForm&>(form).cancel();
  });
  const std::string port = rig.data.path().string() + "/no-such-port";
  rig.make(port);
  rig.shell->startUp();

  // The program's own text, then why, as a paragraph of its own.
  ASSERT_EQ(rig.boxTexts().size(), 1u);
  const std::string expected = "Notice(B_9600)|Error opening communication port!\n\nThere is no port " +
                               port + "; the serial port";
  EXPECT_EQ(rig.boxTexts()[0].substr(0, expected.size()), expected) << rig.boxTexts()[0];
  EXPECT_EQ(rig.desktop.boxes[0].icon, Icon::None);
  EXPECT_FALSE(rig.desktop.boxes[0].owned);
  EXPECT_EQ(rig.shell->link().connectAttempts, 0);
  EXPECT_FALSE(rig.shell->link().linkUp);
  EXPECT_FALSE(rig.desktop.timerRunning(CONNECT_TIMER));
  EXPECT_FALSE(rig.desktop.timerRunning(POLL_TIMER));
}

TEST(StartUp, ThePortComesFromCommConfigUnlessGivenForThisRun) {
  {
    ShellRig rig;
    std::ofstream(commConfigPath(rig.data.path())) << "  " << rig.simulator->path() << "\n";
    rig.make("");
    rig.shell->startUp();
    EXPECT_EQ(rig.shell->link().portName, rig.simulator->path());
    EXPECT_TRUE(rig.desktop.timerRunning(POLL_TIMER));
  }
  {
    // No file: COM1, which on this machine is not the controller.
    ShellRig rig;
    rig.cancelConnecting();
    rig.make("");
    rig.shell->startUp();
    EXPECT_EQ(rig.shell->link().portName, "COM1");
    EXPECT_FALSE(std::filesystem::exists(commConfigPath(rig.data.path())));
  }
  {
    ShellRig rig;
    std::ofstream(commConfigPath(rig.data.path())) << "COM4";
    rig.connected();
    std::string saved;
    readCommConfig(commConfigPath(rig.data.path()), saved);
    EXPECT_EQ(saved, "COM4");
    EXPECT_EQ(rig.shell->link().portName, rig.simulator->path());
  }
}

// The port setting cannot be used: the program says so and opens COM1.
TEST(StartUp, ACommConfigThatHoldsNoPortIsReported) {
  using Make = void (*)(const std::filesystem::path&);
  const std::pair<Make, std::string> cases[] = {
      {[](const auto& file) { std::filesystem::create_directory(file); },
       "is a folder, not a file"},
      {[](const auto& file) { std::ofstream(file) << "COM3\x1b[2J"; }, "does not hold a port name"},
  };
  for (const auto& [make, problem] : cases) {
    SCOPED_TRACE(problem);
    ShellRig rig;
    const auto file = commConfigPath(rig.data.path());
    make(file);
    rig.cancelConnecting();
    rig.make("");
    rig.shell->startUp();
    ASSERT_FALSE(rig.desktop.boxes.empty());
    EXPECT_EQ(rig.boxTexts()[0],
              "Notice|" + file.string() + " " + problem + ".\nValvescope uses COM1 instead.");
    EXPECT_EQ(rig.desktop.boxes[0].icon, Icon::Exclamation);
    EXPECT_EQ(rig.shell->link().portName, "COM1");
  }
}

TEST(StartUp, CreatesTheDataFolder) {
  ShellRig rig;
  ShellSetup setup;
  setup.dataDirectory = rig.data.path() / "nested" / "ORB_QX4";
  setup.port = rig.simulator->path();
  Shell shell(rig.desktop, rig.master, rig.clock, setup);
  rig.cancelConnecting();
  shell.startUp();
  EXPECT_TRUE(std::filesystem::is_directory(setup.dataDirectory));
}

// The dialog on its own, ticked by hand, while the connection step runs.
class ConnectionDialog : public ::testing::Test {
 protected:
  ConnectionDialog() {
    mainWindow.lineBusy = [this] { return line.busy(); };
    link.linkUp = true;
    mainWindow.startTimer(CONNECT_TIMER, 200);
    form.onInit();
  }
  void tick(int times) {
    for (int i = 0; i < times; ++i) host.tick(ConnectionForm::PROGRESS_TIMER);
  }

  test::ScriptedDesktop mainWindow;
  LinkWorker line{mainWindow};
  ValveLink link;
  int ticks = 0;
  ConnectionForm form{mainWindow, link, ticks, line};
  test::ScriptedFormHost host{form};
};

TEST_F(ConnectionDialog, GivesUpByItselfAfterThreeHundredTicks) {
  EXPECT_EQ(host.timers[ConnectionForm::PROGRESS_TIMER], 10);
  tick(299);
  EXPECT_FALSE(form.isEnded());
  EXPECT_TRUE(mainWindow.boxes.empty());
  EXPECT_EQ(form.progress, 299 % 101);

  tick(1);
  ASSERT_EQ(mainWindow.boxes.size(), 1u);
  EXPECT_EQ(mainWindow.boxes[0].caption, "Communication Timeout");
  EXPECT_EQ(mainWindow.boxes[0].text,
            "Connection failed. \nPlease check the cable, communication port and device ID "
            "settings.");
  EXPECT_TRUE(form.isEnded());
  EXPECT_EQ(form.result(), ANSWER_CANCEL);
  EXPECT_EQ(ticks, 0);
  EXPECT_FALSE(link.linkUp);
  EXPECT_FALSE(mainWindow.timerRunning(CONNECT_TIMER));
  EXPECT_FALSE(host.timerRunning(ConnectionForm::PROGRESS_TIMER));
}

// While a probe is out the bar moves on, but its ticks count once: a missing
// controller is reported after the connection step's twenty probes, not by
// the dialog after three seconds of a window that no longer waits.
TEST_F(ConnectionDialog, TicksWhileAProbeIsOutCountOnce) {
  ASSERT_TRUE(line.start([] {}, {}));  // out until its answer is delivered
  tick(1000);
  EXPECT_EQ(ticks, 1);
  EXPECT_EQ(form.progress, 1000 % 101);
  mainWindow.runLineEvents();
  tick(299);
  EXPECT_TRUE(form.isEnded());
  EXPECT_EQ(mainWindow.boxes.size(), 1u);
}

TEST_F(ConnectionDialog, TheTickCountCarriesOverToTheNextRun) {
  tick(120);
  form.cancel();
  ConnectionForm again(mainWindow, link, ticks, line);
  test::ScriptedFormHost againHost(again);
  again.onInit();
  for (int i = 0; i < 180; ++i) againHost.tick(ConnectionForm::PROGRESS_TIMER);
  EXPECT_TRUE(again.isEnded());
  EXPECT_EQ(mainWindow.boxes.size(), 1u);
}

TEST_F(ConnectionDialog, EnterEndsItAsOkAndLeavesTheLinkAsItWas) {
  form.ok();
  EXPECT_EQ(form.result(), ANSWER_OK);
  EXPECT_TRUE(link.linkUp);
  EXPECT_FALSE(mainWindow.timerRunning(CONNECT_TIMER));
  EXPECT_FALSE(host.timerRunning(ConnectionForm::PROGRESS_TIMER));
}

TEST_F(ConnectionDialog, TheCloseBoxGivesUp) {
  form.onClose();
  EXPECT_EQ(form.result(), ANSWER_CANCEL);
  EXPECT_FALSE(link.linkUp);
  EXPECT_FALSE(mainWindow.timerRunning(CONNECT_TIMER));
}

}  // namespace
}  // namespace vs
