#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "diagnostics/line_advice.h"
#include "diagnostics/line_monitor.h"
#include "forms/command_ids.h"
#include "forms/form.h"

namespace vs {

// The Line Monitor (Tools menu): the link's statistics, what they advise, and
// the frames on the line as a live table, in a window beside the main window
// while polling goes on. It shows the program's one LineMonitor, which the
// shell keeps refreshed while the window is closed, so that the statistics
// cover the whole run.
//
// A view shows the fields after every delivery and keeps its table in step
// through takeTableChange() (rows dropped at the start, rows appended, or the
// whole table anew), reading only the rows it draws through row().
class LineMonitorForm : public Form {
 public:
  static constexpr int kTemplateId = CMD_LINE_MONITOR;
  static constexpr int kRefreshTimer = 1;
  static constexpr int kRefreshMilliseconds = 200;  // one poll tick's frames at a time

  // The counts of attempts, then the reply latency in milliseconds.
  static constexpr std::array<const char*, 13> kStatisticsColumns = {
      "Block",      "Requests",      "Successes",  "Retries", "Time-outs",
      "CRC errors", "Exceptions",    "Mismatches", "Other",   "Reply min, ms",
      "Median, ms", "99th pct., ms", "Max, ms"};
  static constexpr std::array<const char*, 4> kFrameColumns = {"Time", "Dir", "Frame", "Bytes"};
  using StatisticsRow = std::array<std::string, kStatisticsColumns.size()>;

  struct TableChange {
    bool reset = false;       // the whole table anew; the counts below say nothing then
    std::size_t dropped = 0;  // rows gone from the start
    std::size_t added = 0;    // rows appended at the end
  };

  // What the line's ticks and the port's adapter advise, asked at every refresh.
  using AdviceSource = std::function<LineAdvice()>;

  // `saveFolder` is where Save's file chooser opens.
  LineMonitorForm(LineMonitor& monitor, AdviceSource advice, std::filesystem::path saveFolder);

  // As of the last refresh.
  std::vector<StatisticsRow> statistics;  // the whole link, then each live block
  std::string ticks;                      // the poll's rate, overruns and durations
  std::string notes;                      // late replies, stray bytes, missed frames, if any
  std::vector<std::string> advice;        // what to do, a sentence each
  std::string status;                     // paused, or what Save did

  // Between init() and Close: the window refreshes the monitor itself then.
  bool shown() const { return shown_; }
  bool paused() const { return monitor_.paused(); }
  bool errorsOnly() const { return monitor_.errorsOnly(); }

  std::size_t rowCount() const { return monitor_.rowCount(); }
  MonitorRow row(std::size_t row) const { return monitor_.row(row); }
  // Stays with its frame while the rows before it drop: for a view's cache.
  std::uint64_t rowKey(std::size_t row) const { return monitor_.frame(row).sequence; }
  // How the table changed since the last call; the whole of it at the first
  // call after init().
  TableChange takeTableChange();

  void setPaused(bool paused);
  void setErrorsOnly(bool errorsOnly);
  // Empties the table and starts the statistics afresh.
  void clear();
  // Asks for a file and writes the statistics, the advice and the rows shown
  // to it, whole or not at all.
  void save();

  void onInit() override;
  void onTimer(int id) override;
  void onClose() override;

 private:
  void refresh();
  std::string pausedNote() const;

  LineMonitor& monitor_;
  AdviceSource adviceSource_;
  std::filesystem::path saveFolder_;
  std::optional<LineMonitor::TableCounts> taken_;  // as takeTableChange() last saw them
  bool shown_ = false;
};

}  // namespace vs
