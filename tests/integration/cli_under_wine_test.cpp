// valvescope-cli.exe, the Windows build, under Wine against qx4-sim on a pty
// that the Wine prefix maps to COM5: what a technician's Windows laptop does
// with a USB adapter on a controller. Run by scripts/windows-test.sh, which
// names the program and the prefix in VALVESCOPE_CLI_EXE and WINEPREFIX and
// keeps the prefix's server running.

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <sstream>

#include "support/child_process.h"
#include "support/temp_dir.h"

namespace vs::test {
namespace {

using namespace std::chrono_literals;

constexpr const char* kWine = "/usr/lib/wine/wine64";

std::string environment(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr ? value : "";
}

std::vector<std::string> linesOf(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  return lines;
}

std::vector<std::string> underWine(std::vector<std::string> arguments) {
  arguments.insert(arguments.begin(), {kWine, environment("VALVESCOPE_CLI_EXE")});
  return arguments;
}

// Wine starts slowly and the line is paced: generous, never the point.
ProcessOutcome cli(std::vector<std::string> arguments) {
  return runProcess(underWine(std::move(arguments)), 120s);
}

// The Linux path as the Windows program names it: Wine shows / as drive Z:.
std::string windowsPath(const std::filesystem::path& path) {
  std::string text = "Z:" + path.string();
  for (char& c : text) c = c == '/' ? '\\' : c;
  return text;
}

class CliUnderWine : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_FALSE(environment("VALVESCOPE_CLI_EXE").empty()) << "run by scripts/windows-test.sh";
    ASSERT_FALSE(environment("WINEPREFIX").empty()) << "run by scripts/windows-test.sh";
  }

  // qx4-sim paced at 9600 baud on a new pty, which becomes COM5.
  void startSim(std::vector<std::string> options = {}) {
    options.insert(options.begin(), {QX4_SIM_PATH, "--baud", "9600"});
    sim = std::make_unique<BackgroundProcess>(options);
    const std::string pty = sim->firstLine();
    ASSERT_FALSE(pty.empty());
    const auto com5 = std::filesystem::path(environment("WINEPREFIX")) / "dosdevices" / "com5";
    std::filesystem::remove(com5);
    std::filesystem::create_symlink(pty, com5);
  }
  ProcessOutcome onCom5(std::vector<std::string> arguments) {
    arguments.insert(arguments.begin(), {"--port", "COM5"});
    return cli(arguments);
  }
  // What reached the controller outside Modbus frames, once it has stopped.
  std::string strayBytes() {
    const std::string err = sim->stop(SIGINT);
    const std::string head = "received outside frames: \"";
    const auto at = err.find(head);
    if (at == std::string::npos) return "";
    return err.substr(at + head.size(), err.find('"', at + head.size()) - at - head.size());
  }

  std::unique_ptr<BackgroundProcess> sim;
};

TEST_F(CliUnderWine, ReadsWritesAndPollsOnACommPortAndLeavesWithOutEachTime) {
  startSim();
  EXPECT_EQ(linesOf(onCom5({"read", "28"}).out), std::vector<std::string>{"28 462"});
  EXPECT_EQ(linesOf(onCom5({"write", "150", "1234"}).out),
            std::vector<std::string>{"150 1234 sp_min"});
  // COM10 and up must be named in the device namespace; COM5 may be too.
  const auto block = cli({"--port", "\\\\.\\COM5", "read", "150", "2"});
  ASSERT_EQ(block.exitCode, 0) << block.err;
  EXPECT_EQ(linesOf(block.out).at(0), "150 1234 sp_min");

  const auto poll = onCom5({"poll", "--count", "3"});
  ASSERT_EQ(poll.exitCode, 0) << poll.err;
  const auto lines = linesOf(poll.out);
  ASSERT_EQ(lines.size(), 3u) << poll.out;
  for (const auto& line : lines) {
    EXPECT_NE(line.find("O2 set point=0.720 V"), std::string::npos) << line;
    EXPECT_NE(line.find("Mode=2 (MODE: A/F CONTROL)"), std::string::npos) << line;
  }
  EXPECT_EQ(strayBytes(), "OUTOUTOUTOUT");
}

TEST_F(CliUnderWine, SettingsGoToAWindowsFileAndBack) {
  startSim();
  TempDir dir;
  const std::string file = windowsPath(dir / "unit.dat");
  const auto upload = onCom5({"upload", file});
  ASSERT_EQ(upload.exitCode, 0) << upload.err;
  ASSERT_TRUE(std::filesystem::exists(dir / "unit.dat"));
  EXPECT_EQ(onCom5({"diff", file}).exitCode, 0);

  ASSERT_EQ(onCom5({"write", "150", "999"}).exitCode, 0);
  const auto differs = onCom5({"diff", file});
  EXPECT_EQ(differs.exitCode, 1);
  ASSERT_FALSE(differs.out.empty());
  EXPECT_EQ(linesOf(differs.out).at(0).rfind("150 sp_min: file ", 0), 0u) << differs.out;
  EXPECT_NE(differs.out.find(", controller 999"), std::string::npos) << differs.out;

  const auto download = onCom5({"download", file});
  EXPECT_EQ(download.exitCode, 0) << download.err;
  EXPECT_EQ(onCom5({"diff", file}).exitCode, 0);
  EXPECT_EQ(strayBytes(), "OUTOUTOUTOUTOUTOUT");
}

TEST_F(CliUnderWine, ASilentControllerIsATimeOutAndStillGetsItsOut) {
  startSim({"--silent"});
  const auto poll = onCom5({"poll", "--count", "3"});
  EXPECT_EQ(poll.exitCode, 4);
  EXPECT_EQ(poll.out, "");
  EXPECT_EQ(linesOf(poll.err),
            std::vector<std::string>{"valvescope-cli: COM5: reading registers 12 to 31: "
                                     "MODBUS_REPLY_TIMEOUT (132)"});
  EXPECT_EQ(strayBytes(), "OUT");
}

// Wine hands SIGINT to the program as the console's Ctrl-C.
TEST_F(CliUnderWine, CtrlCEndsAPollAtItsNextTickAndOutIsSent) {
  startSim();
  BackgroundProcess poll(underWine({"--port", "COM5", "poll"}));
  ASSERT_NE(poll.firstLine(60s), "");
  EXPECT_EQ(poll.stop(SIGINT), "");
  EXPECT_EQ(poll.exitCode(), 0);
  EXPECT_EQ(strayBytes(), "OUT");
}

TEST_F(CliUnderWine, WithoutAControllerItSpeaksOfWindowsPortsAndFolders) {
  const auto help = cli({"--help"});
  EXPECT_EQ(help.exitCode, 0);
  EXPECT_NE(help.out.find("\\\\.\\COM10"), std::string::npos) << help.out;
  EXPECT_NE(help.out.find("%LOCALAPPDATA%\\ORB_QX4"), std::string::npos) << help.out;

  const auto missing = cli({"--port", "COM199", "read", "28"});
  EXPECT_EQ(missing.exitCode, 3);
  // Then why, naming the ports there are.
  const auto lines = linesOf(missing.err);
  ASSERT_EQ(lines.size(), 2u) << missing.err;
  EXPECT_EQ(lines[0], "valvescope-cli: COM199: cannot open: MODBUS_PORT_OPEN_FAILED (66)");
  EXPECT_EQ(lines[1].rfind("valvescope-cli: There is no port COM199; the serial port", 0), 0u)
      << lines[1];

  // Wine's prefix publishes COM1 to COM4 (or whatever it found) in SERIALCOMM.
  const auto ports = linesOf(cli({"ports"}).out);
  ASSERT_FALSE(ports.empty());
  EXPECT_EQ(ports.at(0).rfind("COM1", 0), 0u);

  const auto simulated = cli({"--simulate", "poll", "--count", "2"});
  ASSERT_EQ(simulated.exitCode, 0) << simulated.err;
  EXPECT_EQ(linesOf(simulated.out).size(), 2u);
}

}  // namespace
}  // namespace vs::test
