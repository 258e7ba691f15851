// The programs as a technician starts and stops them: a desktop logout or
// kill ends the window by the way Exit does, and a comm_config.dat that is no
// file holds up neither program.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>
#include <csignal>
#include <functional>
#include <optional>
#include <thread>

#include "sim/pty_simulator.h"
#include "sim/simulated_controller.h"
#include "support/child_process.h"
#include "support/temp_dir.h"

namespace vs::test {
namespace {

using namespace std::chrono_literals;

bool becomes(const std::function<bool()>& done, std::chrono::seconds limit = 60s) {
  for (const auto until = std::chrono::steady_clock::now() + limit;
       std::chrono::steady_clock::now() < until; std::this_thread::sleep_for(20ms)) {
    if (done()) return true;
  }
  return done();
}

// The log files' bytes so far, none without a file: once there is one, the
// window's event loop runs (its clock opened it); while connected, it polls.
std::optional<std::uintmax_t> loggedBytes(const std::filesystem::path& folder) {
  std::optional<std::uintmax_t> total;
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
    if (entry.path().extension() != ".log") continue;
    total = total.value_or(0) + std::filesystem::file_size(entry.path(), error);
  }
  return total;
}

class SignalledWindow : public ::testing::TestWithParam<int> {};

TEST_P(SignalledWindow, LeavesWithOutOnTheLineAndAWholeLog) {
  sim::SimulatedController controller;
  sim::PtySimulator line(controller);
  ASSERT_EQ(line.start(), 0);
  TempDir data;
  BackgroundProcess window(
      {VALVESCOPE_PATH, "--port", line.path(), "--data-dir", data.path().string()});
  ASSERT_TRUE(becomes([&] { return loggedBytes(data.path()).value_or(0) >= 5 * 44; }));

  const std::string err = window.stop(GetParam());
  EXPECT_EQ(window.exitCode(), 0) << err;
  EXPECT_TRUE(becomes([&] { return controller.strayBytes() == "OUT"; }, 20s))
      << controller.strayBytes();
  EXPECT_EQ(loggedBytes(data.path()).value_or(1) % 44, 0u);
}

INSTANTIATE_TEST_SUITE_P(TermAndInt, SignalledWindow, ::testing::Values(SIGTERM, SIGINT),
                         [](const auto& info) { return info.param == SIGTERM ? "TERM" : "INT"; });

// Opening a pipe for reading would wait for a writer for ever. Either program
// says that the file is no port setting and goes on with COM1.
TEST(CommConfigPipe, HoldsUpNeitherProgram) {
  TempDir data;
  ASSERT_EQ(mkfifo((data / "comm_config.dat").c_str(), 0600), 0);

  const auto cli =
      runProcess({VALVESCOPE_CLI_PATH, "--data-dir", data.path().string(), "read", "28"}, 60s);
  EXPECT_FALSE(cli.timedOut);
  EXPECT_NE(cli.err.find("comm_config.dat is not a regular file; using COM1"), std::string::npos)
      << cli.err;

  // The window says so in a message box nobody answers here; its clock runs
  // meanwhile and opens the log file of the hour.
  BackgroundProcess window({VALVESCOPE_PATH, "--data-dir", data.path().string()});
  EXPECT_TRUE(becomes([&] { return loggedBytes(data.path()).has_value(); }));
}

}  // namespace
}  // namespace vs::test
