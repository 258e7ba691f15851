#pragma once

#include <filesystem>
#include <fstream>

#include "logging/local_date_time.h"
#include "logging/log_record.h"

namespace vs {

// The hourly log files. The main window drives it: every CLOCK_TIMER tick asks
// onClockTick() whether to post WM_OPEN_LOG, that message calls openForHour(),
// every good poll calls write(), and Disconnect, Playback and shutdown close().
class LogWriter {
 public:
  LogWriter(std::filesystem::path directory, const LocalDateTime& created);

  // True when WM_OPEN_LOG is to be posted now: at the first tick after start,
  // and whenever the local date-and-hour differs from that of the file last
  // asked for. Comparing whole hours (not field by field) cannot miss an hour
  // change when a blocking poll delays the ticks.
  bool onClockTick(const LocalDateTime& now);
  bool logOpenPending() const { return logOpenPending_; }

  // Closes the open file and opens the file of now's hour for appending; the
  // records already in it are kept. Returns false (and writes nothing until the
  // next successful open) when the file cannot be opened.
  bool openForHour(const LocalDateTime& now);

  // Appends the record and hands it to the system at once, so that a crash of
  // the program loses nothing. Returns whether the record reached the file:
  // false when no file is open, writing is disabled, or the write failed.
  bool write(const LogRecord& record);

  void close();

  // Log File Enable / Disable: a disabled writer keeps its file but writes
  // nothing until enabled again.
  void setEnabled(bool enabled) { enabled_ = enabled; }
  bool enabled() const { return enabled_; }

  bool isOpen() const { return file_.is_open(); }
  // The last open, or a later write, failed; cleared by the next good open.
  bool failed() const { return failed_; }
  // The file last opened or tried.
  const std::filesystem::path& filePath() const { return path_; }

 private:
  std::filesystem::path directory_;
  std::filesystem::path path_;
  std::ofstream file_;
  LocalDateTime fileHour_;
  bool logOpenPending_ = true;
  bool enabled_ = true;
  bool failed_ = false;
};

}  // namespace vs
