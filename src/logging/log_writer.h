#pragma once

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <system_error>

#include "logging/log_record.h"
#include "time/local_date_time.h"

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
  // records already in it are kept. Returns false when the file cannot be
  // opened; each later write() tries again.
  bool openForHour(const LocalDateTime& now);

  // Appends the record and hands it to the system at once, so that a crash of
  // the program loses nothing. Returns whether the record reached the file:
  // false when no file is asked for, writing is disabled, or the write failed.
  // A failed write leaves the file a whole number of records, and the next
  // record opens it again, so that logging resumes by itself once the disk has
  // room again.
  bool write(const LogRecord& record);

  void close();

  // Log File Enable / Disable: a disabled writer keeps its file but writes
  // nothing until enabled again.
  void setEnabled(bool enabled) { enabled_ = enabled; }
  bool enabled() const { return enabled_; }

  bool isOpen() const { return file_.is_open(); }
  // Why the last open or write failed; cleared by the next one that works, and
  // by close().
  std::error_code error() const { return error_; }
  bool failed() const { return static_cast<bool>(error_); }
  // The file last opened or tried.
  const std::filesystem::path& filePath() const { return path_; }

 private:
  bool openFile();
  void fail();

  std::filesystem::path directory_;
  std::filesystem::path path_;
  std::ofstream file_;
  std::uintmax_t wholeSize_ = 0;  // the file's length up to its last whole record
  LocalDateTime fileHour_;
  bool logOpenPending_ = true;
  bool enabled_ = true;
  bool wanted_ = false;  // a file has been asked for and not closed since
  std::error_code error_;
};

}  // namespace vs
