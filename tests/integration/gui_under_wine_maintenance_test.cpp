// valvescope.exe under Wine against qx4-sim on COM5: the settings and
// maintenance dialogs opened from their keys and menu commands, through the
// password gate where the program asks for it, each with a change that the
// simulator stores or acts on; screenshots of each.

#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "dialogs/zero_transducer_form.h"
#include "forms/command_frame.h"
#include "wine_gui_rig.h"

namespace vs::test {
namespace {

constexpr const char* kUpdated = "Valve settings are successfully updated!";

class WineMaintenance : public WineGui {
 protected:
  // A dialog behind the password gate, opened by `opening` (a key or a
  // command): the password, then the assistance box it shows when accepted.
  void throughGate(const std::vector<std::string>& opening) {
    const char* gate = "Required Information";
    drive(opening);
    drive({"wait", gate});
    drive({"set", gate, "1022", "7391"});
    drive({"click", gate, "1"});
    drive({"wait", "Assistance"});
    drive({"click", "Assistance", "1"});
  }
  // The dialog ended; the main window polls again.
  void closedAndPolling(const std::string& dialog) {
    drive({"gone", dialog});
    waitUntil({"status", "3"}, kReceiving);
  }
  // The simulator has stored the register, as it does on the save command.
  void waitStored(int reg, int value) {
    for (auto end = std::chrono::steady_clock::now() + std::chrono::seconds(120);
         storedRegister(reg) != value && std::chrono::steady_clock::now() < end;
         std::this_thread::sleep_for(std::chrono::milliseconds(200))) {
    }
    EXPECT_EQ(storedRegister(reg), value);
  }
};

// F3, then Governor Settings and the Dynamic O2 schedule from the Service
// menu: none of them asks for the password.
TEST_F(WineMaintenance, O2SensorGovernorAndScheduleSettings) {
  startSim();
  startProgram({"--port", "COM5", "--data-dir",
                windowsPath(std::filesystem::temp_directory_path() / "wine-gui-settings")});
  waitConnectedAndPolling();

  const char* o2 = "  ";  // its caption is two blanks
  drive({"key", "F3"});
  drive({"wait", o2});
  EXPECT_EQ(drive({"text", o2, "1007"}), "0.720");
  EXPECT_EQ(drive({"text", o2, "1008"}), "120");
  // An edit clicked into has its whole text selected, to be typed over.
  drive({"press", o2, "1008"});
  waitUntil({"selection", o2, "1008"}, "0 3");
  drive({"set", o2, "1008", "90"});
  drive({"click", o2, "1"});
  waitUntil({"text", o2, "1034"}, kUpdated);
  screenshot("o2_sensor_settings", o2);
  drive({"click", o2, "3"});
  closedAndPolling(o2);
  EXPECT_EQ(storedRegister(145), 90);
  EXPECT_EQ(storedRegister(184), 60);  // the hidden field, written back as read

  const char* governor = "Governor Settings";
  drive({"command", "40021"});
  drive({"wait", governor});
  EXPECT_EQ(drive({"text", governor, "1036"}), "1800");
  EXPECT_EQ(drive({"enabled", governor, "1076"}), "1");  // firmware 4.62 has it
  // The arrows step what is typed, up to 32000 and no further.
  drive({"set", governor, "1074", "31999"});
  drive({"arrow", governor, "1075", "up"});
  waitUntil({"text", governor, "1074"}, "32000");
  drive({"arrow", governor, "1075", "up"});
  drive({"set", governor, "1036", "1500"});
  // Written on a line that has gone quiet, Change shows that it waits, with
  // only Close usable, and then that it failed.
  plugCable();
  drive({"click", governor, "1"});
  // Three writes of four tries, a second each: time enough to look.
  waitUntil({"text", governor, "1062"}, kWritingStatus);
  waitUntil({"enabled", governor, "1"}, "0");
  EXPECT_EQ(drive({"enabled", governor, "2"}), "1");
  screenshot("governor_settings_busy", governor);
  waitUntil({"text", governor, "1062"}, "Failed to update the settings.");
  EXPECT_EQ(drive({"enabled", governor, "1"}), "1");
  plugCable();
  drive({"click", governor, "1"});
  waitUntil({"text", governor, "1062"}, kUpdated);
  EXPECT_EQ(drive({"text", governor, "1074"}), "32000");
  screenshot("governor_settings", governor);
  drive({"click", governor, "3"});
  closedAndPolling(governor);
  EXPECT_EQ(storedRegister(160), 1500);
  EXPECT_EQ(storedRegister(163), 32000);

  const char* schedule = "Dynamic O2 Sensor Set Point Schedule";
  drive({"command", "40037"});
  drive({"wait", schedule});
  EXPECT_EQ(drive({"text", schedule, "1034"}), "Dynamic schedule is off.");
  EXPECT_EQ(drive({"text", schedule, "1058"}), "3.00");
  drive({"set", schedule, "1058", "3,25"});
  drive({"click", schedule, "1"});
  waitUntil({"text", schedule, "1034"}, kUpdated);
  screenshot("o2_schedule", schedule);
  drive({"click", schedule, "1081"});  // Enable/Disable ends the dialog
  closedAndPolling(schedule);
  drive({"command", "40037"});
  drive({"wait", schedule});
  EXPECT_EQ(drive({"text", schedule, "1034"}), "Dynamic schedule is on.");
  EXPECT_EQ(drive({"text", schedule, "1058"}), "3.25");
  drive({"click", schedule, "2"});  // Close stores the settings
  closedAndPolling(schedule);
  EXPECT_EQ(storedRegister(196), 3250);
  EXPECT_EQ(storedRegister(204), 1);

  drive({"key", "Escape"});
  EXPECT_EQ(programExit(), 0);
  EXPECT_EQ(strayBytes(), "OUT");
}

// The engine stopped: F4's register list, then the maintenance commands of
// the Service and Tools menus, each behind the password gate.
TEST_F(WineMaintenance, GatedMaintenanceOnAStoppedEngine) {
  startSim({"--mode", "0"});
  startProgram({"--port", "COM5", "--data-dir",
                windowsPath(std::filesystem::temp_directory_path() / "wine-gui-maintenance")});
  waitConnectedAndPolling();

  // The free-air calibration below takes cal_timer_start seconds: 3 here.
  const char* list = "Calibration Settings";
  throughGate({"key", "F4"});
  drive({"wait", list});
  EXPECT_EQ(drive({"cell", list, "1018", "14", "0"}), "pressure_prop");
  EXPECT_EQ(drive({"cell", list, "1018", "14", "1"}), "250");
  EXPECT_EQ(drive({"text", list, "1020"}), "");
  drive({"select", list, "1018", "72"});
  EXPECT_EQ(drive({"cell", list, "1018", "72", "0"}), "cal_timer_start");
  waitUntil({"text", list, "1020"}, "60");
  drive({"set", list, "1020", "3 s"});
  drive({"click", list, "1021"});
  waitUntil({"text", list, "1034"}, "cal_timer_start must be a whole number. Nothing was written.");
  drive({"set", list, "1020", "3"});
  drive({"click", list, "1021"});
  waitUntil({"cell", list, "1018", "72", "1"}, "3");
  screenshot("calibration_list", list);
  drive({"click", list, "1"});  // Save && Close
  closedAndPolling(list);
  EXPECT_EQ(storedRegister(184), 3);

  const char* calibration = "Oxygen Sensor Free Air Calibration";
  throughGate({"command", "40036"});
  drive({"wait", calibration});
  EXPECT_EQ(drive({"text", calibration, "1070"}), "Attention!");
  EXPECT_EQ(drive({"progress", calibration, "1017"}), "hidden");
  drive({"click", calibration, "1"});
  // The countdown ends with the bar full; the outcome is read 15 s later.
  waitUntil({"progress", calibration, "1017"}, "3 of 3");
  EXPECT_EQ(drive({"text", calibration, "1070"}), "");
  screenshot("free_air_calibration", calibration);
  waitUntil({"text", calibration, "1069"}, "Free air calibration is successfully completed.");
  EXPECT_EQ(drive({"progress", calibration, "1017"}), "hidden");
  drive({"click", calibration, "2"});
  closedAndPolling(calibration);

  const char* force = "Force Digital Inputs";
  throughGate({"command", "40029"});
  drive({"wait", force});
  EXPECT_EQ(drive({"text", force, "1056"}), "NORM");
  drive({"set", force, "1059", "1"});
  screenshot("force_inputs", force);
  drive({"click", force, "1"});  // Change Status ends the dialog
  closedAndPolling(force);
  EXPECT_EQ(storedRegister(141), 1);
  throughGate({"command", "40029"});
  drive({"wait", force});
  EXPECT_EQ(drive({"text", force, "1056"}), "ON");
  drive({"click", force, "1057"});  // Release All
  closedAndPolling(force);
  EXPECT_EQ(storedRegister(141), 0);

  const char* zero = "ATTENTION!";
  throughGate({"command", "40044"});
  drive({"wait", zero});
  for (std::size_t i = 0; i < ZeroTransducerForm::kTexts.size(); ++i) {
    EXPECT_EQ(drive({"text", zero, std::to_string(ZeroTransducerForm::kFirstTextId + i)}),
              ZeroTransducerForm::kTexts[i]);
  }
  screenshot("zero_transducer", zero);
  drive({"click", zero, "1"});
  waitStored(153, 1);  // before Close, which would stop the writes
  drive({"click", zero, "2"});
  closedAndPolling(zero);

  drive({"key", "Escape"});
  EXPECT_EQ(programExit(), 0);
  EXPECT_EQ(strayBytes(), "OUT");
}

}  // namespace
}  // namespace vs::test
