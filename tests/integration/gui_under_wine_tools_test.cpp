// valvescope.exe under Wine against qx4-sim on COM5: the Line Monitor opened
// from the Tools menu beside the panel while polling goes on (frames live,
// the faulty ones alone, Pause, Clear, Save through the file chooser, closed
// and opened anew), and the Change History after a change made in the same
// run (newest line first, the serial-number filter, Restore on a backup).

#include <chrono>
#include <fstream>
#include <iterator>
#include <thread>

#include "journal/change_journal.h"
#include "registers/settings_file.h"
#include "wine_gui_rig.h"

namespace vs::test {
namespace {

using namespace std::chrono_literals;

constexpr const char* kMonitor = "Line Monitor";
constexpr const char* kStatistics = "1201";
constexpr const char* kTicks = "1202";
constexpr const char* kAdvice = "1204";
constexpr const char* kPause = "1205";
constexpr const char* kClear = "1206";
constexpr const char* kErrorsOnly = "1207";
constexpr const char* kSave = "1208";
constexpr const char* kMonitorStatus = "1209";
constexpr const char* kFrames = "1210";

constexpr const char* kHistory = "Change History";
constexpr const char* kSerials = "1301";
constexpr const char* kJournal = "1302";
constexpr const char* kHistoryStatus = "1303";
constexpr const char* kRestore = "1304";

// A row's cells, empty ones at the end included.
std::vector<std::string> cells(const std::string& row) {
  std::vector<std::string> cells(1);
  for (const char c : row) {
    if (c == '\t') {
      cells.emplace_back();
    } else {
      cells.back() += c;
    }
  }
  return cells;
}

class WineTools : public WineGui {
 protected:
  int rows(const char* window, const char* list) {
    return std::stoi(drive({"rows", window, list}));
  }
  std::vector<std::string> row(const char* window, const char* list, int number) {
    return cells(drive({"row", window, list, std::to_string(number)}));
  }
  // Every row, a line each, for a failure's message.
  std::string table(const char* window, const char* list) {
    std::string text;
    for (int r = 0, n = rows(window, list); r < n; ++r) {
      text += drive({"row", window, list, std::to_string(r)}) + "\n";
    }
    return text;
  }
  // Waits until the list has at least `count` rows; how many it has then.
  int waitForRows(const char* window, const char* list, int count) {
    int shown = 0;
    for (auto end = std::chrono::steady_clock::now() + 120s;
         (shown = rows(window, list)) < count && std::chrono::steady_clock::now() < end;
         std::this_thread::sleep_for(250ms)) {
    }
    EXPECT_GE(shown, count) << window << " " << list;
    return shown;
  }
};

TEST_F(WineTools, LineMonitorShowsTheFramesLiveBesideThePolling) {
  // Replies 60 ms late, so that the ticks overrun and the advice says so, and
  // one in twenty with a wrong CRC, for the faulty frames.
  startSim({"--reply-delay", "60", "--fault-rate", "wrong-crc:0.05"});
  const std::string data = "valvescope-line-monitor";
  std::filesystem::remove_all(driveC(data));
  startProgram({"--port", "COM5", "--data-dir", "C:\\" + data});
  waitConnectedAndPolling();

  drive({"command", "40047"});  // Tools > Line Monitor…
  drive({"wait", kMonitor});
  EXPECT_EQ(drive({"row", kMonitor, kFrames, "-1"}), "Time\tDir\tFrame\tBytes");
  const int first = waitForRows(kMonitor, kFrames, 40);
  // The panel goes on polling and logging, and the table fills meanwhile.
  const std::size_t records = logRecords(driveC(data)).size();
  waitForRows(kMonitor, kFrames, first + 16);
  EXPECT_GT(logRecords(driveC(data)).size(), records);
  waitUntil({"status", "3"}, kReceiving);

  const std::vector<std::string> frame = row(kMonitor, kFrames, 0);
  ASSERT_EQ(frame.size(), 4u);
  EXPECT_EQ(frame[0].size(), 12u) << frame[0];  // 14:03:07.250
  EXPECT_TRUE(frame[1] == "TX" || frame[1] == "RX") << frame[1];
  EXPECT_EQ(frame[3].find_first_not_of("0123456789ABCDEF "), std::string::npos) << frame[3];
  const std::vector<std::string> all = row(kMonitor, kStatistics, 0);
  ASSERT_EQ(all.size(), 13u);
  EXPECT_EQ(all[0], "All");
  EXPECT_GT(std::stoi(all[1]), 0);  // requests
  EXPECT_EQ(drive({"text", kMonitor, kTicks}).rfind("Poll ticks: ", 0), 0u);
  waitForRows(kMonitor, kStatistics, 5);  // the whole link and the four live blocks
  EXPECT_FALSE(drive({"text", kMonitor, kAdvice}).empty()) << "the overruns advised on";
  screenshot("line_monitor", kMonitor);

  // The faulty frames alone, in red.
  drive({"click", kMonitor, kErrorsOnly});
  waitUntil({"checked", kMonitor, kErrorsOnly}, "1");
  const int faulty = waitForRows(kMonitor, kFrames, 1);
  EXPECT_LT(faulty, first);
  EXPECT_NE(row(kMonitor, kFrames, faulty - 1).at(2).find("CRC error"), std::string::npos);
  screenshot("line_monitor_errors_only", kMonitor);
  drive({"click", kMonitor, kErrorsOnly});
  waitUntil({"checked", kMonitor, kErrorsOnly}, "0");

  // Paused, the table stands still while the statistics go on.
  drive({"click", kMonitor, kPause});
  waitUntil({"checked", kMonitor, kPause}, "1");
  EXPECT_EQ(drive({"text", kMonitor, kMonitorStatus}),
            "Paused: the table stands still, the statistics go on counting.");
  const int paused = rows(kMonitor, kFrames);
  const int requests = std::stoi(row(kMonitor, kStatistics, 0)[1]);
  std::this_thread::sleep_for(1500ms);
  EXPECT_EQ(rows(kMonitor, kFrames), paused);
  EXPECT_GT(std::stoi(row(kMonitor, kStatistics, 0)[1]), requests);
  drive({"click-row", kMonitor, kFrames, std::to_string(paused - 3)});
  screenshot("line_monitor_paused", kMonitor);
  drive({"click", kMonitor, kPause});
  waitUntil({"text", kMonitor, kMonitorStatus}, "");

  // Clear starts the table and the counts afresh.
  const int before = waitForRows(kMonitor, kFrames, paused + 8);
  drive({"click", kMonitor, kClear});
  for (auto end = std::chrono::steady_clock::now() + 60s;
       rows(kMonitor, kFrames) >= before && std::chrono::steady_clock::now() < end;
       std::this_thread::sleep_for(100ms)) {
  }
  EXPECT_LT(rows(kMonitor, kFrames), before);
  EXPECT_LT(std::stoi(row(kMonitor, kStatistics, 0)[1]), requests);

  // Save as a text file, through the file chooser.
  const auto saved = std::filesystem::temp_directory_path() / "wine-line-monitor.txt";
  std::filesystem::remove(saved);
  drive({"click", kMonitor, kSave});
  const char* chooser = "Save Line Monitor";
  drive({"wait", chooser});
  screenshot("line_monitor_save", chooser);
  drive({"set", chooser, "1148", windowsPath(saved)});  // the file name's box
  drive({"click", chooser, "1"});
  drive({"gone", chooser});
  waitUntil({"text", kMonitor, kMonitorStatus}, "Saved as " + windowsPath(saved));
  std::ifstream in(saved);
  const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  EXPECT_NE(text.find("requests successes retries"), std::string::npos) << text.substr(0, 400);
  EXPECT_NE(text.find("  TX  "), std::string::npos) << text.substr(0, 400);

  // Closed, polling goes on; shown again, the window begins anew.
  drive({"click", kMonitor, "2"});
  drive({"gone", kMonitor});
  waitUntil({"status", "3"}, kReceiving);
  drive({"command", "40047"});
  drive({"wait", kMonitor});
  EXPECT_EQ(drive({"text", kMonitor, kMonitorStatus}), "");
  waitForRows(kMonitor, kFrames, 8);

  // The window goes with the program.
  drive({"key", "Escape"});
  EXPECT_EQ(programExit(), 0);
  EXPECT_EQ(strayBytes(), "OUT");
}

TEST_F(WineTools, ChangeHistoryShowsAChangeOfThisRunFiltersAndRestoresABackup) {
  startSim();
  const std::string data = "valvescope-change-history";
  std::filesystem::remove_all(driveC(data));
  // Earlier days: a backup of this controller, and a change to another one.
  const std::string backup = "C:\\" + data + "\\backups\\20517\\20517_2026-01-05_091200.dat";
  std::filesystem::create_directories(driveC(data + "\\backups\\20517"));
  ASSERT_TRUE(writeSettingsFile(driveC(backup.substr(3)), SettingsImage{}));
  ChangeJournal journal(journalPath(driveC(data)));
  ASSERT_EQ(
      journal.append({{"2026-01-05 09:12:00", "COM5", "1", "20517", "4.62",
                       "Backup before download", "", "", "", "", "ok", backup},
                      {"2026-01-06 15:40:00", "COM3", "1", "31000", "4.40", "Pressure Settings",
                       "123", "default_pressure", "3500", "3000", "ok", ""}}),
      "");

  startProgram({"--port", "COM5", "--data-dir", "C:\\" + data});
  waitConnectedAndPolling();
  const char* pressure = "Pressure Settings";
  drive({"key", "F2"});
  drive({"wait", pressure});
  drive({"set", pressure, "1005", "2,5"});
  drive({"click", pressure, "1"});
  waitUntil({"text", pressure, "1034"}, "Valve settings are successfully updated!");
  drive({"click", pressure, "3"});  // Save && Close
  drive({"gone", pressure});
  waitUntil({"status", "3"}, kReceiving);

  drive({"command", "40045"});  // Service > Change History…
  drive({"wait", kHistory});
  EXPECT_EQ(drive({"row", kHistory, kJournal, "-1"}),
            "Local Time\tPort\tDevice ID\tSerial Number\tFirmware\tAction\tRegister\tName\tBefore\t"
            "Written\tOutcome\tFile");
  // Newest first: the store after the six fields Change wrote, then the
  // earlier days.
  ASSERT_EQ(rows(kHistory, kJournal), 1 + 6 + 2) << table(kHistory, kJournal);
  std::vector<std::string> line = row(kHistory, kJournal, 0);
  ASSERT_EQ(line.size(), 12u);
  EXPECT_EQ(line[5] + " " + line[6] + "=" + line[9] + " " + line[10],
            "Pressure Settings 144=4660 ok");
  line = row(kHistory, kJournal, 2);
  EXPECT_EQ(line[1] + " " + line[3] + " " + line[6] + " " + line[8] + "->" + line[9],
            "COM5 20517 123 3500->2500");
  EXPECT_EQ(row(kHistory, kJournal, 8)[11], "20517_2026-01-05_091200.dat");
  EXPECT_EQ(drive({"text", kHistory, kSerials}), "All");
  EXPECT_EQ(drive({"text", kHistory, kHistoryStatus}), "9 lines, newest first.");
  EXPECT_EQ(drive({"enabled", kHistory, kRestore}), "0");
  screenshot("change_history", kHistory);

  drive({"choose", kHistory, kSerials, "2"});
  waitUntil({"rows", kHistory, kJournal}, "1");
  EXPECT_EQ(row(kHistory, kJournal, 0)[3], "31000");
  EXPECT_EQ(drive({"text", kHistory, kHistoryStatus}),
            "1 line of serial number 31000, newest first.");
  drive({"choose", kHistory, kSerials, "1"});
  waitUntil({"rows", kHistory, kJournal}, "8");

  drive({"click-row", kHistory, kJournal, "7"});
  waitUntil({"enabled", kHistory, kRestore}, "1");
  EXPECT_EQ(drive({"text", kHistory, kHistoryStatus})
                .rfind("Backup of serial number 20517 made "
                       "2026-01-05 09:12:00: " +
                           backup,
                       0),
            0u);
  screenshot("change_history_backup", kHistory);

  // Restore runs Download Settings with the backup as its file.
  drive({"click", kHistory, kRestore});
  drive({"wait", "Download Settings"});
  EXPECT_NE(drive({"text", "Download Settings", "1033"}).find("20517_2026-01-05_091200.dat"),
            std::string::npos);
  screenshot("change_history_restore", "Download Settings");
  drive({"close", "Download Settings"});
  drive({"gone", "Download Settings"});
  drive({"wait", kHistory});
  drive({"click", kHistory, "2"});
  drive({"gone", kHistory});
  waitUntil({"status", "3"}, kReceiving);

  drive({"key", "Escape"});
  EXPECT_EQ(programExit(), 0);
  EXPECT_EQ(strayBytes(), "OUT");
}

}  // namespace
}  // namespace vs::test
