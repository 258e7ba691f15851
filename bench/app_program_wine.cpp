// What polling costs the machine: the Linux program (Qt) and valvescope.exe
// under Wine, each with --simulate (the controller inside the program, paced
// as the 9600-baud line) at five polls a second on the same Xvfb screen,
// measured from /proc over the same time, one after the other. Under Wine
// the program's own process is counted apart from the wineserver, which
// serves its every window and timer call, and from the prefix's other
// processes (explorer.exe, services); the X server is counted for both.
// valvescope.exe runs once more with the Line Monitor open (Tools menu,
// through win32_gui_driver.exe), which must not slow the polling.
//
// Run by scripts/windows-test.sh --bench (make windows-bench), which names
// the programs, the prefix and the X server in VALVESCOPE_EXE,
// WIN32_GUI_DRIVER_EXE, WINEPREFIX and VS_XVFB_PID, and keeps the prefix's
// server up. Seconds of polling per run: first argument (default 30).

#include <dirent.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include "process_load.h"

namespace {

using vs::bench::cpuSeconds;
using vs::bench::logBytes;
namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

constexpr const char* kWine = "/usr/lib/wine/wine64";
constexpr const char* kWineServer = "/usr/lib/wine/wineserver";
constexpr std::uintmax_t kRecordBytes = 44;

std::string environment(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr ? value : "";
}

pid_t start(const std::vector<std::string>& arguments, const std::vector<std::string>& settings) {
  std::fflush(stdout);  // not printed twice
  const pid_t pid = fork();
  if (pid == 0) {
    for (const std::string& setting : settings) putenv(const_cast<char*>(setting.c_str()));
    std::freopen("/dev/null", "r", stdin);
    std::freopen("/dev/null", "w", stdout);
    std::freopen("/dev/null", "w", stderr);
    std::vector<char*> argv;
    for (const std::string& argument : arguments)
      argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    execv(argv[0], argv.data());
    std::_Exit(127);
  }
  return pid;
}

// Waits up to `limit` for the process to end; false when it has not.
bool ended(pid_t pid, std::chrono::seconds limit) {
  for (const auto end = Clock::now() + limit; Clock::now() < end;
       std::this_thread::sleep_for(50ms)) {
    if (waitpid(pid, nullptr, WNOHANG) == pid) return true;
  }
  return false;
}

void stop(pid_t pid) {
  kill(pid, SIGTERM);
  if (!ended(pid, 20s)) {
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
  }
}

// One step of win32_gui_driver.exe; true when it was done.
bool drive(const std::vector<std::string>& step) {
  std::vector<std::string> arguments = {kWine, environment("WIN32_GUI_DRIVER_EXE")};
  arguments.insert(arguments.end(), step.begin(), step.end());
  const pid_t pid = start(arguments, {});
  int status = 0;
  waitpid(pid, &status, 0);
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

std::string readLink(const std::string& path) {
  std::error_code error;
  return fs::read_symlink(path, error).string();
}

// The prefix's Wine processes but `program`: its wineserver, and the others.
struct PrefixProcesses {
  std::vector<pid_t> server;
  std::vector<pid_t> others;
};

PrefixProcesses prefixProcesses(pid_t program) {
  const std::string prefix = "WINEPREFIX=" + environment("WINEPREFIX");
  PrefixProcesses found;
  for (const auto& entry : fs::directory_iterator("/proc")) {
    const std::string name = entry.path().filename().string();
    if (name.find_first_not_of("0123456789") != std::string::npos) continue;
    const pid_t pid = std::stoi(name);
    const std::string exe = readLink("/proc/" + name + "/exe");
    if (pid == program || exe.rfind("/usr/lib/wine/", 0) != 0) continue;
    std::ifstream in("/proc/" + name + "/environ", std::ios::binary);
    const std::string settings((std::istreambuf_iterator<char>(in)), {});
    if (settings.find(prefix + '\0') == std::string::npos) continue;
    // wineserver, or the wineserver64 it runs.
    (exe.rfind(kWineServer, 0) == 0 ? found.server : found.others).push_back(pid);
  }
  return found;
}

double cpuOf(const std::vector<pid_t>& pids) {
  double seconds = 0;
  for (const pid_t pid : pids) seconds += cpuSeconds(pid);
  return seconds;
}

struct Load {
  double program = 0;  // each in percent of one core
  double xServer = -1;
  double wineServer = -1;
  double wineOthers = -1;
  double pollsPerSecond = 0;
};

// The program's load over `seconds` of polling, once its first poll is logged
// and `ready` has held.
Load measure(pid_t program, const fs::path& data, int seconds, bool wine,
             const std::function<bool()>& ready) {
  for (const auto end = Clock::now() + 120s; logBytes(data) < kRecordBytes && Clock::now() < end;) {
    std::this_thread::sleep_for(100ms);
  }
  if (!ready()) std::printf("  (the program did not get ready; the figures are of what it did)\n");
  std::this_thread::sleep_for(2s);  // the start-up's work done
  const auto xvfb = static_cast<pid_t>(std::atoi(environment("VS_XVFB_PID").c_str()));
  const PrefixProcesses prefix = wine ? prefixProcesses(program) : PrefixProcesses{};
  const double programBefore = cpuSeconds(program);
  const double xBefore = xvfb > 0 ? cpuSeconds(xvfb) : 0;
  const double serverBefore = cpuOf(prefix.server);
  const double othersBefore = cpuOf(prefix.others);
  const std::uintmax_t recordsBefore = logBytes(data) / kRecordBytes;
  const auto begun = Clock::now();
  std::this_thread::sleep_for(std::chrono::seconds(seconds));
  const double wall = std::chrono::duration<double>(Clock::now() - begun).count();

  Load load;
  const auto percent = [wall](double cpu) { return 100.0 * cpu / wall; };
  load.program = percent(cpuSeconds(program) - programBefore);
  if (xvfb > 0) load.xServer = percent(cpuSeconds(xvfb) - xBefore);
  if (wine) {
    load.wineServer = percent(cpuOf(prefix.server) - serverBefore);
    load.wineOthers = percent(cpuOf(prefix.others) - othersBefore);
  }
  load.pollsPerSecond = static_cast<double>(logBytes(data) / kRecordBytes - recordsBefore) / wall;
  return load;
}

std::string figure(double percent) {
  if (percent < 0) return "-";
  char text[16];
  std::snprintf(text, sizeof text, "%.1f %%", percent);
  return text;
}

void print(const char* what, const Load& load) {
  std::printf("  %-34s %9s %10s %11s %9s %8.2f\n", what, figure(load.program).c_str(),
              figure(load.xServer).c_str(), figure(load.wineServer).c_str(),
              figure(load.wineOthers).c_str(), load.pollsPerSecond);
  std::fflush(stdout);
}

// Z:\tmp\..., as Windows programs under Wine see a Linux path.
std::string windowsPath(const fs::path& path) {
  std::string text = "Z:" + path.string();
  for (char& c : text) c = c == '/' ? '\\' : c;
  return text;
}

}  // namespace

int main(int argc, char** argv) {
  const int seconds = argc > 1 ? std::atoi(argv[1]) : 30;
  for (const char* name : {"VALVESCOPE_EXE", "WIN32_GUI_DRIVER_EXE", "WINEPREFIX", "DISPLAY"}) {
    if (environment(name).empty()) {
      std::printf("app_program_wine_bench: %s is not set; run it by make windows-bench\n", name);
      return 2;
    }
  }
  const fs::path folder =
      fs::temp_directory_path() / ("valvescope-wine-bench-" + std::to_string(getpid()));
  std::printf("valvescope --simulate, five polls a second, %d s each, CPU in %% of one core\n",
              seconds);
  std::printf("  %-34s %9s %10s %11s %9s %8s\n", "", "program", "X server", "wineserver",
              "services", "polls/s");

  const fs::path qtData = folder / "qt";
  fs::create_directories(qtData);
  const pid_t qt = start({VS_VALVESCOPE_BINARY, "--simulate", "--data-dir", qtData.string()},
                         {"QT_QPA_PLATFORM=xcb"});
  print("Linux, Qt on X", measure(qt, qtData, seconds, false, [] { return true; }));
  stop(qt);

  const std::string exe = environment("VALVESCOPE_EXE");
  for (const bool monitor : {false, true}) {
    const fs::path data = folder / (monitor ? "wine-monitor" : "wine");
    fs::create_directories(data);
    const pid_t wine = start({kWine, exe, "--simulate", "--data-dir", windowsPath(data)}, {});
    const auto ready = [monitor] {
      if (!drive({"wait", "main", "120"})) return false;
      return !monitor || (drive({"command", "40047"}) && drive({"wait", "Line Monitor", "60"}));
    };
    print(monitor ? "Windows under Wine, Line Monitor" : "Windows under Wine",
          measure(wine, data, seconds, true, ready));
    drive({"key", "Escape"});
    if (!ended(wine, 60s)) stop(wine);
  }
  fs::remove_all(folder);
  return 0;
}
