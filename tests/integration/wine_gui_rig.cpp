#include "wine_gui_rig.h"

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>
#include <unistd.h>
#include <thread>

#include "registers/settings_file.h"

namespace vs::test {
namespace {

using namespace std::chrono_literals;

constexpr const char* kWine = "/usr/lib/wine/wine64";

std::string environment(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr ? value : "";
}

std::string withoutLineEnds(std::string text) {
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
  return text;
}

}  // namespace

void WineGui::SetUp() {
  for (const char* name :
       {"VALVESCOPE_EXE", "WIN32_GUI_DRIVER_EXE", "WINEPREFIX", "VS_SCREENSHOT_DIR", "DISPLAY"}) {
    ASSERT_FALSE(environment(name).empty()) << name << ": run by scripts/windows-test.sh";
  }
  work_ = std::filesystem::temp_directory_path() /
          ("wine-gui-" + std::to_string(::getpid()) + "-" +
           ::testing::UnitTest::GetInstance()->current_test_info()->name());
  std::filesystem::remove_all(work_);
  std::filesystem::create_directories(work_);
}

void WineGui::TearDown() {
  program_.reset();
  sim_.reset();
  std::filesystem::remove_all(work_);
}

void WineGui::startSim(std::vector<std::string> options) {
  options.insert(options.begin(),
                 {QX4_SIM_PATH, "--baud", "9600", "--settings", settingsFile().string()});
  sim_ = std::make_unique<BackgroundProcess>(options);
  const std::string pty = sim_->firstLine();
  ASSERT_FALSE(pty.empty());
  const auto com5 = std::filesystem::path(environment("WINEPREFIX")) / "dosdevices" / "com5";
  std::filesystem::remove(com5);
  std::filesystem::create_symlink(pty, com5);
}

std::optional<int> WineGui::storedRegister(int reg) const {
  const SettingsFileContent content = readSettingsFile(settingsFile());
  if (!content.ok) return std::nullopt;
  return content.image[static_cast<std::size_t>(reg - kFirstSettingsRegister)];
}

void WineGui::plugCable() { sim_->signal(SIGUSR1); }

std::string WineGui::strayBytes() {
  const std::string err = sim_->stop(SIGINT);
  const std::string head = "received outside frames: \"";
  const auto at = err.find(head);
  if (at == std::string::npos) return "";
  return err.substr(at + head.size(), err.find('"', at + head.size()) - at - head.size());
}

void WineGui::startProgram(std::vector<std::string> arguments,
                           std::vector<std::string> environment) {
  arguments.insert(arguments.begin(), {kWine, vs::test::environment("VALVESCOPE_EXE")});
  if (!environment.empty()) {
    environment.insert(environment.begin(), "/usr/bin/env");
    arguments.insert(arguments.begin(), environment.begin(), environment.end());
  }
  program_ = std::make_unique<BackgroundProcess>(arguments);
}

int WineGui::programExit() {
  if (!program_->waitForExit(120s)) return -1;
  return program_->exitCode();
}

// The driver's output goes through a file: a Wine service that its start
// brings up (the desktop's explorer.exe) would hold a pipe open for as long
// as it runs.
ProcessOutcome WineGui::tryDrive(std::vector<std::string> step) {
  const auto output = work_ / "driver-output.txt";
  step.insert(step.begin(), {"/bin/sh", "-c", "exec \"$0\" \"$@\" > \"$DRIVER_OUTPUT\" 2>&1",
                             kWine, environment("WIN32_GUI_DRIVER_EXE")});
  step.insert(step.begin(), {"/usr/bin/env", "DRIVER_OUTPUT=" + output.string()});
  ProcessOutcome outcome = runProcess(step, 180s);
  std::ifstream in(output, std::ios::binary);
  outcome.out.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  return outcome;
}

std::string WineGui::drive(std::vector<std::string> step) {
  const ProcessOutcome outcome = tryDrive(step);
  EXPECT_EQ(outcome.exitCode, 0) << step.at(0) << " " << (step.size() > 1 ? step[1] : "") << ": "
                                 << outcome.out << outcome.err;
  return withoutLineEnds(outcome.out);
}

void WineGui::waitUntil(const std::vector<std::string>& step, const std::string& expected) {
  std::string shown;
  for (auto end = std::chrono::steady_clock::now() + 120s; std::chrono::steady_clock::now() < end;
       std::this_thread::sleep_for(200ms)) {
    shown = drive(step);
    if (shown == expected) return;
  }
  ADD_FAILURE() << step.at(0) << " " << (step.size() > 1 ? step[1] : "") << " shows \"" << shown
                << "\", not \"" << expected << "\"";
}

void WineGui::waitConnectedAndPolling() {
  drive({"wait", "main"});
  waitUntil({"title"}, kConnectedTitle);
  drive({"gone", "Establishing communication"});
  waitUntil({"status", "3"}, kReceiving);
  drive({"painted"});
}

void WineGui::screenshot(const std::string& name, const std::string& window) {
  const auto folder = std::filesystem::path(environment("VS_SCREENSHOT_DIR"));
  std::filesystem::create_directories(folder);
  std::vector<std::string> import = {"/usr/bin/import", "-window", "root"};
  if (!window.empty()) {
    // The window as it lies on the screen, with a margin for its frame.
    std::istringstream rect(drive({"rect", window}));
    int x = 0, y = 0, width = 0, height = 0;
    rect >> x >> y >> width >> height;
    import.insert(import.end(),
                  {"-crop", std::to_string(width + 8) + "x" + std::to_string(height + 8) + "+" +
                                std::to_string(std::max(x - 4, 0)) + "+" +
                                std::to_string(std::max(y - 4, 0)),
                   "+repage"});
  }
  import.push_back((folder / (name + ".png")).string());
  const ProcessOutcome shot = runProcess(import, 60s);
  EXPECT_EQ(shot.exitCode, 0) << shot.err;
}

std::string WineGui::windowsPath(const std::filesystem::path& path) {
  std::string text = "Z:" + path.string();
  for (char& c : text) c = c == '/' ? '\\' : c;
  return text;
}

std::filesystem::path WineGui::driveC(const std::string& below) const {
  std::string unix = below;
  for (char& c : unix) c = c == '\\' ? '/' : c;
  return std::filesystem::path(environment("WINEPREFIX")) / "drive_c" / unix;
}

std::vector<LogRecord> WineGui::logRecords(const std::filesystem::path& folder) {
  std::vector<std::filesystem::path> files;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    if (entry.path().filename().string().rfind("log_", 0) == 0) files.push_back(entry.path());
  }
  std::sort(files.begin(), files.end());
  std::vector<LogRecord> records;
  for (const auto& file : files) {
    std::ifstream in(file, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    for (std::size_t at = 0; at + LogRecord::kSize <= bytes.size(); at += LogRecord::kSize) {
      records.push_back(LogRecord::decode(reinterpret_cast<const unsigned char*>(&bytes[at])));
    }
  }
  return records;
}

}  // namespace vs::test
