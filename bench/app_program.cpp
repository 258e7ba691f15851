// Runs the valvescope program with --simulate on an offscreen 1920 x 1080
// screen and measures it from outside, as a user's machine would see it:
// start to the first logged poll, CPU time over 60 s of polling, peak resident
// memory. Seconds of polling: first argument (default 60).

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>

#include "process_load.h"

namespace {

using vs::bench::cpuSeconds;
using vs::bench::logBytes;
namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

long peakResidentKb(pid_t pid) {
  std::ifstream status("/proc/" + std::to_string(pid) + "/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind("VmHWM:", 0) == 0) return std::stol(line.substr(6));
  }
  return -1;
}

}  // namespace

int main(int argc, char** argv) {
  const int seconds = argc > 1 ? std::atoi(argv[1]) : 60;
  const fs::path folder =
      fs::temp_directory_path() / ("valvescope-bench-" + std::to_string(getpid()));
  fs::create_directories(folder / "data");
  const fs::path screen = folder / "screen.json";
  std::ofstream(screen) << R"({"screens": [{"name": "bench", "x": 0, "y": 0, "width": 1920,)"
                        << R"( "height": 1080, "logicalDpi": 96, "logicalBaseDpi": 96}]})";
  const std::string platform = "offscreen:configfile=" + screen.string();
  const std::string data = (folder / "data").string();

  const auto start = Clock::now();
  const pid_t pid = fork();
  if (pid == 0) {
    setenv("QT_QPA_PLATFORM", platform.c_str(), 1);
    std::freopen("/dev/null", "w", stdout);
    std::freopen("/dev/null", "w", stderr);
    execl(VS_VALVESCOPE_BINARY, "valvescope", "--simulate", "--data-dir", data.c_str(),
          static_cast<char*>(nullptr));
    std::_Exit(127);
  }

  while (logBytes(folder / "data") < 44 && Clock::now() - start < std::chrono::seconds(30)) {
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  const double firstPoll = std::chrono::duration<double>(Clock::now() - start).count();

  const double cpuBefore = cpuSeconds(pid);
  const auto recordsBefore = logBytes(folder / "data") / 44;
  const auto measured = Clock::now();
  std::this_thread::sleep_for(std::chrono::seconds(seconds));
  const double wall = std::chrono::duration<double>(Clock::now() - measured).count();
  const double cpu = cpuSeconds(pid) - cpuBefore;
  const auto records = logBytes(folder / "data") / 44 - recordsBefore;
  const long peakKb = peakResidentKb(pid);

  kill(pid, SIGTERM);
  waitpid(pid, nullptr, 0);
  fs::remove_all(folder);

  std::printf("valvescope --simulate, offscreen 1920 x 1080\n");
  std::printf("  start to the first logged poll   %.2f s   (goal under 2.0 s)\n", firstPoll);
  std::printf("  CPU over %.0f s of polling        %.2f %% of one core   (goal under 3 %%)\n", wall,
              100.0 * cpu / wall);
  std::printf("  polls logged meanwhile           %ju (%.2f a second)\n",
              static_cast<std::uintmax_t>(records), static_cast<double>(records) / wall);
  std::printf("  peak resident memory             %.1f MB   (goal under 120 MB)\n",
              peakKb / 1024.0);
  return 0;
}
