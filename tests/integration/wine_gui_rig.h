#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "logging/log_record.h"
#include "support/child_process.h"

namespace vs::test {

// valvescope.exe under Wine on the test's X display, against qx4-sim on a pty
// that the Wine prefix maps to COM5, driven from outside by
// win32_gui_driver.exe: what a technician's Windows laptop does with a USB
// adapter on a controller. Run by scripts/windows-test.sh, which names the
// programs, the prefix and the screenshot folder in VALVESCOPE_EXE,
// WIN32_GUI_DRIVER_EXE, WINEPREFIX and VS_SCREENSHOT_DIR and keeps the
// prefix's server running.
//
// Every wait is for something on the screen or on the line, generously:
// Wine starts slowly and the line is paced at 9600 baud.
class WineGui : public ::testing::Test {
 protected:
  static constexpr const char* kConnectedTitle = "QX4 Valvescope v.1.02  ___  Firmware v. 4.62";
  static constexpr const char* kReceiving = "Communication Status: Receiving data";

  void SetUp() override;
  void TearDown() override;

  // qx4-sim paced at 9600 baud on a new pty, which becomes COM5; it keeps
  // its stored settings in settingsFile().
  void startSim(std::vector<std::string> options = {});
  std::filesystem::path settingsFile() const { return work_ / "stored-settings.dat"; }
  // A register as the simulator stores it (its settings file): 112 to 225.
  std::optional<int> storedRegister(int reg) const;
  // The simulator's cable, pulled with --silent, goes back in.
  void plugCable();
  // What reached the controller outside Modbus frames, once it has stopped.
  std::string strayBytes();

  // valvescope.exe with `arguments`; `environment` entries NAME=VALUE added.
  void startProgram(std::vector<std::string> arguments,
                    std::vector<std::string> environment = {});
  // Waits for the program to end by itself; its exit code, or -1.
  int programExit();

  // One step of the driver (see its usage); fails the test when the step
  // cannot be done. Returns what it printed, without the last line end.
  std::string drive(std::vector<std::string> step);
  // A step that may fail.
  ProcessOutcome tryDrive(std::vector<std::string> step);
  // Waits until the driver's step prints `expected`.
  void waitUntil(const std::vector<std::string>& step, const std::string& expected);
  // Waits for the main window connected and polling, its panel painted.
  void waitConnectedAndPolling();

  // The whole screen, or the window with that caption, into the screenshot
  // folder as NAME.png.
  void screenshot(const std::string& name, const std::string& window = "");

  // The path Windows programs use for a Linux path (Wine's drive Z:), and the
  // Linux path of a path on the prefix's drive C:.
  static std::string windowsPath(const std::filesystem::path& path);
  std::filesystem::path driveC(const std::string& below) const;
  // The log records in the hourly files of a data folder, oldest first.
  static std::vector<LogRecord> logRecords(const std::filesystem::path& folder);

 private:
  std::filesystem::path work_;
  std::unique_ptr<BackgroundProcess> sim_;
  std::unique_ptr<BackgroundProcess> program_;
};

}  // namespace vs::test
