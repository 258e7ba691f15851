// What the status bar says while the link is busy, held, lost or down, which
// address it names, and a log that cannot be written: the text follows each
// tick and command, not only the repaint after a good poll.

#include <gtest/gtest.h>

#include <fstream>

#include "dialogs/calibration_list_form.h"
#include "dialogs/password_gate_form.h"
#include "dialogs/port_selection_form.h"
#include "dialogs/pressure_settings_form.h"
#include "logging/log_file_name.h"
#include "registers/register_map.h"
#include "shell_rig.h"
#include "support/file_size_limit.h"
#include "support/recording_canvas.h"

namespace vs {
namespace {

using test::ShellRig;

const std::string kWaiting = "Communication Status: Waiting for data";
const std::string kReceiving = "Communication Status: Receiving data";
const std::string kTimeOut = "Communication Status: Time-out";
const std::string kStopped = "Communication Status: Polling stopped \u2014 press F12";
const std::string kNotConnected = "Communication Status: Not connected \u2014 press F12";

class StatusBar : public ::testing::Test {
 protected:
  ValveLink& link() { return rig.shell->link(); }
  std::string& shown(int part) { return rig.desktop.statusTexts[part]; }
  void poll(int times = 1) {
    for (int i = 0; i < times; ++i) ASSERT_TRUE(rig.tick(POLL_TIMER));
  }
  void repaint() {
    test::RecordingCanvas canvas;
    rig.shell->onPaint(canvas);
  }
  void pressF12() {
    rig.shell->onKey(ShellKey::F12);
    rig.desktop.runPosted();
  }
  std::uintmax_t logSize() {
    return std::filesystem::file_size(rig.data / logFileName(rig.clock.local));
  }

  ShellRig rig;
};

TEST_F(StatusBar, ReceivingOnlyWhileAnsweredTicksGoOnAndNotConnectedOnceTheLinkIsLost) {
  rig.connected();
  EXPECT_EQ(shown(3), kWaiting);  // polling, but no tick has ended yet
  poll();
  EXPECT_EQ(shown(3), kReceiving);
  // The first unanswered tick says so at once, not only the fourth, which is
  // the first to repaint.
  rig.refuseEverything();
  poll();
  EXPECT_EQ(shown(3), kTimeOut);
  rig.answerAgain();
  poll();
  EXPECT_EQ(shown(3), kReceiving);

  // The cable pulled and the adapter gone: the reconnect cannot open the port.
  link().portName = (rig.data / "unplugged").string();
  rig.refuseEverything();
  poll(4);
  ASSERT_EQ(rig.boxTexts().size(), 2u);
  EXPECT_EQ(rig.boxTexts()[0], "13Information|Communication time-out");
  EXPECT_TRUE(rig.boxTexts()[1].starts_with("Notice(B_9600)|Error opening communication port!\n"));
  EXPECT_EQ(rig.desktop.boxes[0].status, kNotConnected);
  EXPECT_EQ(rig.desktop.boxes[1].status, kNotConnected);
  repaint();
  EXPECT_EQ(shown(3), kNotConnected);
}

TEST_F(StatusBar, HeldPollingAndNoConnectionSayHowToGoOn) {
  rig.connected();
  poll();

  rig.command(CMD_COMM_PORT);  // the dialog cancelled
  repaint();
  EXPECT_EQ(shown(3), kStopped);
  pressF12();
  EXPECT_EQ(shown(3), kWaiting);
  poll();
  EXPECT_EQ(shown(3), kReceiving);

  // A dialog holds the poll while it is up and restarts it when closed.
  std::string whileUp;
  rig.desktop.onForm(PressureSettingsForm::kTemplateId,
                     [&](Form&, test::ScriptedFormHost&) { whileUp = shown(3); });
  rig.command(CMD_PRESSURE_SETTINGS);
  EXPECT_EQ(whileUp, kStopped);
  EXPECT_EQ(shown(3), kWaiting);
  poll();
  EXPECT_EQ(shown(3), kReceiving);

  rig.command(CMD_TRAVELER_REPORT);
  EXPECT_FALSE(rig.desktop.timerRunning(POLL_TIMER));
  EXPECT_EQ(shown(3), kStopped);

  rig.command(CMD_DISCONNECT);
  EXPECT_EQ(shown(3), kNotConnected);

  // The Comm Port dialog with a port that does not open.
  pressF12();
  rig.desktop.onForm(PortSelectionForm::kTemplateId, [](Form& form, test::ScriptedFormHost&) {
    static_cast<PortSelectionForm&>(form).ok();  // empty: COM0
  });
  rig.command(CMD_COMM_PORT);
  repaint();
  EXPECT_EQ(shown(3), kNotConnected);
}

// Polling follows the controller to its new address, and so does the Device ID
// the status bar names.
TEST_F(StatusBar, TheDeviceIdFollowsAnAddressChangedInTheCalibrationList) {
  rig.connected();
  const std::string port = "Port: " + rig.simulator->path() + "   Device ID: ";
  EXPECT_EQ(shown(1), port + "1");
  rig.desktop.onForm(PasswordGateForm::kTemplateId, [](Form& form, test::ScriptedFormHost&) {
    auto& gate = static_cast<PasswordGateForm&>(form);
    gate.setPassword(std::to_string(PasswordGateForm::kServicePasswords[0]));
    gate.ok();
  });
  rig.desktop.onForm(CalibrationListForm::kTemplateId, [](Form& form, test::ScriptedFormHost&) {
    auto& list = static_cast<CalibrationListForm&>(form);
    list.selectRow(REG_MODBUS_ADDRESS - kFirstSettingsRegister);
    list.editValue("5");
    list.change();
    list.close();
  });
  rig.command(CMD_CALIBRATE_VALVE);

  EXPECT_EQ(link().slaveAddress, 5);
  EXPECT_EQ(shown(1), port + "5");
  poll();
  EXPECT_EQ(shown(3), kReceiving);
}

// The disk fills up while polling: the file keeps whole records, the status
// bar says why nothing is logged, polling goes on, and logging resumes by
// itself once there is room again.
TEST_F(StatusBar, ALogThatCannotBeWrittenIsShownAndRetriedWhilePollingGoesOn) {
  rig.connected();
  rig.tick(CLOCK_TIMER);
  poll();
  repaint();
  EXPECT_EQ(shown(2), "");
  {
    test::FileSizeLimit fullDisk(LogRecord::kSize + 20);
    poll(3);
    repaint();
    EXPECT_EQ(shown(2), "Log file not written: File too large");
    EXPECT_EQ(shown(3), kReceiving);
    EXPECT_TRUE(rig.desktop.timerRunning(POLL_TIMER));
    EXPECT_EQ(logSize(), LogRecord::kSize);
  }
  poll(2);
  repaint();
  EXPECT_EQ(shown(2), "");
  EXPECT_EQ(logSize(), 3 * LogRecord::kSize);
}

TEST_F(StatusBar, ADataFolderThatCannotBeCreatedIsShown) {
  std::ofstream(rig.data / "file") << "in the way";
  ShellSetup setup;
  setup.dataDirectory = rig.data / "file" / "ORB_QX4";
  setup.port = rig.simulator->path();
  rig.shell = std::make_unique<Shell>(rig.desktop, rig.master, rig.clock, setup);
  rig.shell->onCreate();
  rig.shell->startUp();
  rig.tick(CLOCK_TIMER);
  poll();
  repaint();
  EXPECT_EQ(shown(2), "Data folder cannot be created: Not a directory");
  EXPECT_EQ(shown(3), kReceiving);
}

}  // namespace
}  // namespace vs
