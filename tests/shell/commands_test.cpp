// The main window's commands and keys, the port selection, playback and the
// two ways out.

#include <gtest/gtest.h>

#include <thread>

#include "dialogs/port_properties_form.h"
#include "dialogs/port_selection_form.h"
#include "link/serial_port.h"
#include "logging/log_files.h"
#include "logging/playback_form.h"
#include "shell/comm_config.h"
#include "shell/data_paths.h"
#include "shell_rig.h"
#include "support/recording_canvas.h"

namespace vs {
namespace {

using test::ShellRig;

// Waits (for the simulator's thread, up to ten seconds) until it has seen
// `expected` outside any Modbus frame.
std::string strayBytesOnceThere(sim::SimulatedController& controller, const std::string& expected) {
  for (int i = 0; i < 1000 && controller.strayBytes() != expected; ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return controller.strayBytes();
}

TEST(Keys, PostTheirCommands) {
  ShellRig rig;
  rig.make();
  rig.desktop.dispatch = nullptr;
  Shell& shell = *rig.shell;
  shell.onKey(ShellKey::F2);
  shell.onKey(ShellKey::F3);
  shell.onKey(ShellKey::F4);
  shell.onKey(ShellKey::Other);
  shell.onKey(ShellKey::F12);
  shell.onKey(ShellKey::Escape);
  EXPECT_EQ(rig.desktop.posted,
            (std::deque<int>{CMD_PRESSURE_SETTINGS, CMD_O2_SENSOR_SETTINGS, CMD_CALIBRATE_VALVE,
                             CMD_DISCONNECT, CMD_CONNECT, CMD_EXIT}));
}

TEST(Commands, ZoomSwitchesTheLayoutAtOnce) {
  ShellRig rig;
  rig.make();
  rig.command(CMD_ZOOM_IN);
  EXPECT_TRUE(rig.shell->link().chartZoomed);
  EXPECT_EQ(rig.desktop.calls.back(), "invalidate");
  rig.command(CMD_ZOOM_OUT);
  EXPECT_FALSE(rig.shell->link().chartZoomed);
}

TEST(Commands, IdsWithoutACommandAreIgnored) {
  ShellRig rig;
  rig.connected();
  rig.desktop.calls.clear();
  for (const int id : {40003, 40008, 40030, 0, 12345}) {
    rig.command(id);
  }
  EXPECT_TRUE(rig.desktop.calls.empty());
  EXPECT_TRUE(rig.desktop.timerRunning(POLL_TIMER));
}

// Each settings command stops polling and opens its dialog (the guarded ones
// behind the password dialog, 112); the script closes every dialog.
TEST(Commands, SettingsCommandsStopPollingAndOpenTheirDialogs) {
  const std::pair<int, int> commands[] = {
      {CMD_PRESSURE_SETTINGS, 120}, {CMD_O2_SENSOR_SETTINGS, 121}, {CMD_CALIBRATE_VALVE, 112},
      {CMD_UPLOAD_SETTINGS, 139},   {CMD_DOWNLOAD_SETTINGS, 140},  {CMD_ZERO_TRANSDUCER, 112}};
  ShellRig rig;
  rig.connected();
  for (const auto& [command, dialog] : commands) {
    rig.desktop.formsRun.clear();
    rig.desktop.startTimer(POLL_TIMER, 200);
    rig.desktop.calls.clear();
    rig.shell->onCommand(command);
    EXPECT_EQ(rig.desktop.calls.front(), "killTimer 5001") << command;
    EXPECT_EQ(rig.desktop.formsRun, std::vector<int>{dialog}) << command;
    rig.desktop.runPosted();
  }
}

TEST(Commands, PlaybackLeavesLiveOperationAndRunsItsDialog) {
  ShellRig rig;
  rig.connected();
  rig.shell->onResize(1600, 900);  // a page holds as many records as the chart shows
  rig.tick(CLOCK_TIMER);
  const auto path = rig.data / "log_2026_12_6_8.log";
  const auto records = test::writeSampleLog(path, 30);
  rig.desktop.onForm(PlaybackForm::kTemplateId, [&](Form& form, test::ScriptedFormHost& host) {
    // The Disconnect it posted has run by now, as in a modal loop.
    EXPECT_FALSE(rig.shell->logWriter().isOpen());
    EXPECT_FALSE(rig.master.isOpen());
    host.fileChoices.push_back(path.string());
    static_cast<PlaybackForm&>(form).OpenLogFile();
  });
  rig.command(CMD_PLAYBACK);

  ValveLink& link = rig.shell->link();
  EXPECT_TRUE(link.playbackMode);
  EXPECT_EQ(link.commStatus, 100);
  EXPECT_FALSE(rig.desktop.timerRunning(POLL_TIMER));
  EXPECT_NE(std::find(rig.desktop.calls.begin(), rig.desktop.calls.end(), "invalidate erase"),
            rig.desktop.calls.end());
  EXPECT_EQ(rig.desktop.formsRun.back(), PlaybackForm::kTemplateId);

  // The repaint shows the record at the position instead of moving the chart
  // on; the analog input below 4 mA is held at 4 mA, as in live operation.
  rig.shell->playback().position = 4;
  test::RecordingCanvas canvas;
  rig.shell->onPaint(canvas);
  LiveValues shown = records[4].values;
  shown[LIVE_ANALOG_INPUT] = std::max(shown[LIVE_ANALOG_INPUT], 400);
  EXPECT_EQ(link.liveValues, shown);
  EXPECT_EQ(rig.shell->view().chart().CursorSlot(), 5);
  EXPECT_EQ(rig.desktop.statusTexts[3], "Communication Status: Playback Mode");

  // The next Connect ends playback.
  rig.command(CMD_CONNECT);
  EXPECT_FALSE(link.playbackMode);
  EXPECT_TRUE(rig.desktop.timerRunning(POLL_TIMER));
}

TEST(Commands, APlaybackDialogThatCannotBeCreatedIsReported) {
  ShellRig rig;
  rig.make();
  rig.desktop.failingForms.insert(PlaybackForm::kTemplateId);
  rig.command(CMD_PLAYBACK);
  ASSERT_EQ(rig.desktop.boxes.size(), 1u);
  EXPECT_EQ(rig.desktop.boxes[0].text, "Error creating playback dialog");
  EXPECT_EQ(rig.desktop.boxes[0].caption, "Playback");
  EXPECT_EQ(rig.desktop.boxes[0].icon, Icon::Exclamation);
  EXPECT_FALSE(rig.desktop.boxes[0].owned);
}

class PortSelection : public ::testing::Test {
 protected:
  void choose(std::string number, std::string deviceId, std::string device = {}) {
    rig.desktop.onForm(PortSelectionForm::kTemplateId, [=](Form& form, test::ScriptedFormHost&) {
      auto& selection = static_cast<PortSelectionForm&>(form);
      selection.portNumber = number;
      selection.deviceId = deviceId;
      selection.device = device;
      selection.ok();
    });
    rig.command(CMD_COMM_PORT);
  }
  std::string savedPort() {
    std::string port;
    readCommConfig(commConfigPath(rig.data.path()), port);
    return port;
  }

  ShellRig rig;
};

TEST_F(PortSelection, AnEmptyNumberIsComZeroAndPollingStaysStopped) {
  rig.connected();
  choose("", "");
  ValveLink& link = rig.shell->link();
  EXPECT_EQ(link.portName, "COM0");
  EXPECT_EQ(link.slaveAddress, 0);
  EXPECT_EQ(savedPort(), "COM0");
  EXPECT_EQ(rig.desktop.formsRun.back(), PortPropertiesForm::kTemplateId);
  ASSERT_EQ(rig.desktop.boxes.size(), 1u);
  const std::string shown = rig.desktop.boxes[0].caption + "|" + rig.desktop.boxes[0].text;
  // The program's own text, and why below it.
  EXPECT_TRUE(shown.starts_with("Notice|The selected communication port is not available.\nFree "
                                "the port and try again.\n\nThere is no port COM0;") ||
              shown.starts_with("ComPort Communication Timeout|Connection failed.\n\n"))
      << shown;
  EXPECT_FALSE(rig.desktop.timerRunning(POLL_TIMER));
  EXPECT_TRUE(link.linkUp);  // the port selection leaves the link flag alone
}

TEST_F(PortSelection, APickedDeviceIsOpenedSavedAndPolled) {
  rig.connected();
  choose("7", "1", rig.simulator->path());
  EXPECT_EQ(rig.shell->link().portName, rig.simulator->path());
  EXPECT_EQ(savedPort(), rig.simulator->path());
  EXPECT_TRUE(rig.desktop.boxes.empty());
  EXPECT_TRUE(rig.desktop.timerRunning(POLL_TIMER));
  EXPECT_TRUE(rig.tick(POLL_TIMER));
  EXPECT_EQ(rig.shell->link().commStatus, 0);
  EXPECT_EQ(rig.desktop.statusTexts[1], "Port: " + rig.simulator->path() + "   Device ID: 1");
}

TEST_F(PortSelection, APortThatCannotBeSavedIsReportedAndStillPolled) {
  rig.connected();
  const auto file = commConfigPath(rig.data.path());
  std::filesystem::create_directory(file);
  choose("7", "1", rig.simulator->path());
  EXPECT_EQ(rig.boxTexts(),
            std::vector<std::string>{"Notice|The port setting could not be saved in " +
                                     file.string() + "."});
  EXPECT_TRUE(rig.desktop.timerRunning(POLL_TIMER));
}

// A number edit is read whole: "2,5" is neither port 2 nor Device ID 25. The
// dialog says which edit it refused and stays open; the link is left alone.
TEST_F(PortSelection, AnythingButAWholeNumberIsRefusedByName) {
  rig.make();
  const std::string port = rig.shell->link().portName;
  const std::pair<const char*, const char*> typed[] = {{"2,5", "1"}, {"12abc", "1"}, {"3", "2,5"},
                                                       {"3", "2.5"}, {"3", "x7"},    {"3", "248"}};
  std::vector<std::string> refusals;
  for (const auto& [number, deviceId] : typed) {
    rig.desktop.onForm(
        PortSelectionForm::kTemplateId, [&](Form& form, test::ScriptedFormHost& host) {
          auto& selection = static_cast<PortSelectionForm&>(form);
          selection.portNumber = number;
          selection.deviceId = deviceId;
          selection.ok();
          refusals.push_back(selection.isEnded() || host.boxes.empty() ? "" : host.boxes[0].text);
        });
    rig.command(CMD_COMM_PORT);
  }
  const std::string portRefused = PortSelectionForm::kPortRefused;
  const std::string idRefused = PortSelectionForm::kDeviceIdRefused;
  EXPECT_EQ(refusals, (std::vector<std::string>{portRefused, portRefused, idRefused, idRefused,
                                                idRefused, idRefused}));
  EXPECT_EQ(rig.shell->link().portName, port);
  EXPECT_EQ(rig.shell->link().slaveAddress, 1);
  choose(" 12 ", "247");
  EXPECT_EQ(rig.shell->link().portName, "COM12");
  EXPECT_EQ(rig.shell->link().slaveAddress, 247);
}

TEST_F(PortSelection, CancelKeepsEverythingAndPollingStopped) {
  rig.connected();
  rig.command(CMD_COMM_PORT);  // no script: the dialog is closed
  EXPECT_EQ(rig.shell->link().portName, rig.simulator->path());
  EXPECT_FALSE(std::filesystem::exists(commConfigPath(rig.data.path())));
  EXPECT_FALSE(rig.desktop.timerRunning(POLL_TIMER));
  EXPECT_TRUE(rig.desktop.boxes.empty());

  rig.desktop.failingForms.insert(PortSelectionForm::kTemplateId);
  rig.command(CMD_COMM_PORT);
  ASSERT_EQ(rig.desktop.boxes.size(), 1u);
  EXPECT_EQ(rig.desktop.boxes[0].text, "Dialog failed!");
  EXPECT_EQ(rig.desktop.boxes[0].icon, Icon::Information);
}

TEST(Commands, PortPropertiesShowTheSelectedPort) {
  ShellRig rig;
  rig.make();
  std::string shown;
  rig.desktop.onForm(PortPropertiesForm::kTemplateId,
                     [&shown](Form& form, test::ScriptedFormHost&) {
                       shown = static_cast<PortPropertiesForm&>(form).portName;
                     });
  rig.command(CMD_COMM_PORT_PROPERTIES);
  EXPECT_EQ(shown, "COM1");
}

TEST(Shutdown, ClosingAnsweredNoChangesNothing) {
  ShellRig rig;
  rig.connected();
  rig.desktop.answers.push_back(ANSWER_NO);
  EXPECT_FALSE(rig.shell->onClose());
  ASSERT_EQ(rig.desktop.boxes.size(), 1u);
  EXPECT_EQ(rig.desktop.boxes[0].text, "Are you sure you want to close window?");
  EXPECT_EQ(rig.desktop.boxes[0].caption, "Confirm Window Close");
  EXPECT_EQ(rig.desktop.boxes[0].buttons, Buttons::YesNo);
  EXPECT_EQ(rig.desktop.boxes[0].icon, Icon::Question);
  EXPECT_FALSE(rig.shell->ended());
  EXPECT_TRUE(rig.desktop.timerRunning(POLL_TIMER));
  EXPECT_TRUE(rig.tick(POLL_TIMER));
  EXPECT_EQ(rig.shell->link().commStatus, 0);
}

TEST(Shutdown, ClosingAnsweredYesReleasesThePortAndSaysOut) {
  ShellRig rig;
  rig.connected();
  rig.tick(CLOCK_TIMER);
  EXPECT_TRUE(rig.shell->onClose());
  EXPECT_TRUE(rig.shell->ended());
  EXPECT_FALSE(rig.desktop.timerRunning(POLL_TIMER));
  EXPECT_FALSE(rig.desktop.timerRunning(CLOCK_TIMER));
  EXPECT_FALSE(rig.master.isOpen());
  EXPECT_FALSE(rig.shell->logWriter().isOpen());
  EXPECT_EQ(strayBytesOnceThere(rig.controller, "OUT"), "OUT");
  EXPECT_TRUE(rig.exitCodes.empty());
  rig.shell->onTimer(POLL_TIMER);  // nothing runs any more
  EXPECT_FALSE(rig.master.isOpen());
}

TEST(Shutdown, ExitAsksNothingAndEndsAtOnce) {
  ShellRig rig;
  rig.connected();
  rig.shell->onKey(ShellKey::Escape);
  rig.desktop.runPosted();
  EXPECT_TRUE(rig.desktop.boxes.empty());
  EXPECT_EQ(rig.exitCodes, std::vector<int>{0});
  EXPECT_FALSE(rig.master.isOpen());
  EXPECT_FALSE(rig.desktop.timerRunning(POLL_TIMER));
  EXPECT_FALSE(rig.desktop.timerRunning(CLOCK_TIMER));
  EXPECT_EQ(strayBytesOnceThere(rig.controller, "OUT"), "OUT");
}

// The cable pulled while a tick is out: Exit lets the attempt in hand finish
// without its retries, then the worker lets go of the port and "OUT" goes out.
TEST(Shutdown, ExitWhileATickIsOutWaitsOnlyForTheAttemptInHand) {
  ShellRig rig;
  rig.connected();
  rig.controller.faults().setSilent(true);
  const auto before = rig.master.requestCount();
  rig.shell->onTimer(POLL_TIMER);
  rig.shell->onCommand(CMD_EXIT);
  EXPECT_EQ(rig.master.requestCount() - before, 1);
  EXPECT_EQ(rig.exitCodes, std::vector<int>{0});
  EXPECT_FALSE(rig.master.isOpen());
  EXPECT_EQ(strayBytesOnceThere(rig.controller, "OUT"), "OUT");
}

TEST(Shutdown, APortHeldByAnotherProgramIsReportedAndTheExitGoesOn) {
  ShellRig rig;
  rig.connected();
  rig.command(CMD_DISCONNECT);
  SerialPort otherProgram;
  ASSERT_EQ(otherProgram.open(rig.simulator->path()), SERIAL_OK);
  rig.command(CMD_EXIT);
  ASSERT_EQ(rig.desktop.boxes.size(), 1u);
  EXPECT_EQ(rig.desktop.boxes[0].text,
            "Another program is using the selected communication port.\nFree the port and try "
            "again.");
  EXPECT_EQ(rig.desktop.boxes[0].caption, "Notice(B_19200)");
  EXPECT_EQ(rig.desktop.boxes[0].icon, Icon::Exclamation);
  EXPECT_EQ(rig.exitCodes, std::vector<int>{0});
}

}  // namespace
}  // namespace vs
