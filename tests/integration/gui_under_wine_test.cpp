// valvescope.exe, the Win32 program, under Wine against qx4-sim on COM5:
// connecting, polling onto the panel and into the log, a setting changed
// through its dialog, the port dialogs and the password gate, and every way
// out (Escape, the close box, a logout, Ctrl-C), each of which says "OUT".
// Screenshots of the main window and of each dialog go to VS_SCREENSHOT_DIR.

#include <chrono>
#include <ctime>
#include <filesystem>
#include <thread>

#include "wine_gui_rig.h"

namespace vs::test {
namespace {

using namespace std::chrono_literals;

constexpr const char* kPressure = "Pressure Settings";

TEST_F(WineGui, PollsIntoTheLogAndF2ChangesTheDefaultPressureThenEscapeSaysOut) {
  startSim();
  // The data folder of a user whose name Windows keeps in UTF-16.
  const std::string data = "users\\Jörg\\AppData\\Local\\ORB_QX4";
  std::filesystem::remove_all(driveC("users\\Jörg"));
  startProgram({"--port", "COM5"}, {"VALVESCOPE_DATA_DIR=C:\\" + data});
  waitConnectedAndPolling();
  EXPECT_EQ(drive({"status", "1"}), "Port: COM5   Device ID: 1");
  EXPECT_EQ(drive({"status", "0"}), "QX4 Serial Nr: 20517");
  screenshot("main_window");

  std::vector<LogRecord> records;
  for (auto end = std::chrono::steady_clock::now() + 120s;
       records.empty() && std::chrono::steady_clock::now() < end;
       std::this_thread::sleep_for(200ms)) {
    records = logRecords(driveC(data));
  }
  ASSERT_FALSE(records.empty()) << "no log record in " << driveC(data);
  EXPECT_EQ(records.back().values[0], 720);  // the O2 set point, 0.720 V
  EXPECT_EQ(records.back().values[5], 2);    // A/F control
  EXPECT_NEAR(records.back().timeStamp, std::time(nullptr), 600);

  drive({"key", "F2"});
  drive({"wait", kPressure});
  EXPECT_EQ(drive({"text", kPressure, "1005"}), "3.500");
  EXPECT_EQ(drive({"enabled", kPressure, "1004"}), "1");  // firmware 4.62 has it
  screenshot("pressure_settings", kPressure);
  // A comma is as good as a point.
  drive({"set", kPressure, "1005", "2,5"});
  drive({"click", kPressure, "1"});
  waitUntil({"text", kPressure, "1034"}, "Valve settings are successfully updated!");
  screenshot("pressure_settings_changed", kPressure);
  drive({"click", kPressure, "3"});  // Save && Close: the controller stores it
  drive({"gone", kPressure});
  EXPECT_EQ(storedRegister(123), 2500);
  waitUntil({"status", "3"}, kReceiving);  // polling again

  drive({"key", "Escape"});
  EXPECT_EQ(programExit(), 0);
  EXPECT_EQ(strayBytes(), "OUT");
}

TEST_F(WineGui, PortDialogsAndThePasswordGateThenTheCloseBoxAndALogout) {
  startSim();
  const std::string data = "users\\Jörg\\Données";
  std::filesystem::remove_all(driveC("users\\Jörg"));
  startProgram({"--port", "COM5", "--data-dir", "C:\\" + data});
  waitConnectedAndPolling();

  const char* port = "Select Communication Port";
  drive({"command", "40006"});
  drive({"wait", port});
  EXPECT_EQ(drive({"text", port, "1005"}), "");
  screenshot("port_selection", port);
  drive({"click", port, "2"});
  drive({"gone", port});
  waitUntil({"status", "3"}, "Communication Status: Polling stopped — press F12");

  const char* properties = "Comm Port Properties";
  drive({"command", "40007"});
  drive({"wait", properties});
  EXPECT_EQ(drive({"text", properties, "1101"}), "COM5");
  EXPECT_EQ(drive({"text", properties, "1102"}), "9600");
  screenshot("port_properties", properties);
  drive({"click", properties, "1"});
  drive({"gone", properties});

  // Zero Transducer asks for the service password first.
  const char* gate = "Required Information";
  drive({"command", "40044"});
  drive({"wait", gate});
  screenshot("password_gate", gate);
  drive({"set", gate, "1022", "1234"});
  drive({"click", gate, "1"});
  drive({"wait", "Warning"});
  EXPECT_NE(drive({"text", "Warning", "0"}).find("The password is incorrect!"), std::string::npos);
  screenshot("password_wrong", "Warning");
  drive({"click", "Warning", "1"});
  drive({"gone", "Warning"});
  drive({"set", gate, "1022", "7391"});
  drive({"click", gate, "1"});
  drive({"wait", "Assistance"});
  drive({"click", "Assistance", "1"});
  // Only then the zeroing dialog; closed untouched, it writes nothing.
  drive({"wait", "ATTENTION!"});
  drive({"click", "ATTENTION!", "2"});
  drive({"gone", "ATTENTION!"});
  waitUntil({"status", "3"}, kReceiving);

  drive({"close", "main"});
  drive({"wait", "Confirm Window Close"});
  screenshot("confirm_close", "Confirm Window Close");
  drive({"click", "Confirm Window Close", "7"});  // No
  drive({"gone", "Confirm Window Close"});
  waitUntil({"status", "3"}, kReceiving);

  drive({"end-session"});
  EXPECT_EQ(programExit(), 0);
  EXPECT_EQ(strayBytes(), "OUT");
  EXPECT_FALSE(logRecords(driveC(data)).empty());
}

// The cable pulled at start: the connection dialog stays up for twenty
// probes of a second each, long enough to be seen and cancelled. F12 then
// connects once the cable is back, and the close box answered Yes leaves.
TEST_F(WineGui, CancelledConnectingThenF12AndTheCloseBox) {
  startSim({"--silent"});
  startProgram({"--port", "COM5", "--data-dir", windowsPath(std::filesystem::temp_directory_path() /
                                                            "wine-gui-ctrl-c")});
  const char* connecting = "Establishing communication";
  drive({"wait", connecting});
  screenshot("connection", connecting);
  // Should the twenty probes have run out meanwhile, the dialog has given up
  // by itself and says so; either way the program is not connected.
  if (tryDrive({"click", connecting, "2"}).exitCode != 0) {
    drive({"wait", "Communication Timeout"});
    drive({"click", "Communication Timeout", "1"});
  }
  drive({"gone", connecting});
  waitUntil({"status", "3"}, "Communication Status: Not connected — press F12");

  plugCable();
  drive({"key", "F12"});
  waitUntil({"status", "3"}, kReceiving);
  drive({"painted"});

  drive({"close", "main"});
  drive({"wait", "Confirm Window Close"});
  drive({"click", "Confirm Window Close", "6"});  // Yes
  EXPECT_EQ(programExit(), 0);
  EXPECT_EQ(strayBytes(), "OUT");
}

TEST_F(WineGui, SimulatedControllerInsideTheProgram) {
  startProgram({"--simulate", "--data-dir", windowsPath(std::filesystem::temp_directory_path() /
                                                         "wine-gui-simulated")});
  waitConnectedAndPolling();
  EXPECT_EQ(drive({"status", "1"}), "Simulated QX4 controller (no valve connected)");
  drive({"command", "40019"});  // Zoom In
  screenshot("main_window_simulated_zoomed");
  drive({"command", "40020"});
  drive({"key", "Escape"});
  EXPECT_EQ(programExit(), 0);
}

}  // namespace
}  // namespace vs::test
