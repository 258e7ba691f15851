#include "logging/log_writer.h"

#include <cerrno>
#include <utility>

#include "logging/log_file_name.h"

namespace vs {
namespace {

// The reason the last system call gave, or a plain I/O error when it gave none.
std::error_code lastError() {
  return std::error_code(errno != 0 ? errno : EIO, std::generic_category());
}

}  // namespace

LogWriter::LogWriter(std::filesystem::path directory, const LocalDateTime& created)
    : directory_(std::move(directory)), fileHour_(created) {}

bool LogWriter::onClockTick(const LocalDateTime& now) {
  const bool post = logOpenPending_ || !now.sameHourAs(fileHour_);
  logOpenPending_ = false;
  if (post) fileHour_ = now;
  return post;
}

bool LogWriter::openForHour(const LocalDateTime& now) {
  close();
  fileHour_ = now;
  path_ = directory_ / logFileName(now);
  wanted_ = true;
  return openFile();
}

// A crash or a full disk in the middle of a record leaves a fragment at the end
// of the file; appending after it would shift every later record. The fragment
// is no record anyway, so it goes.
bool LogWriter::openFile() {
  std::error_code error;
  std::filesystem::create_directories(directory_, error);
  if (error) {
    error_ = error;
    return false;
  }
  const auto size = std::filesystem::file_size(path_, error);
  wholeSize_ = error ? 0 : size - size % LogRecord::kSize;
  if (!error && wholeSize_ != size) {
    std::filesystem::resize_file(path_, wholeSize_, error);
    if (error) {
      error_ = error;
      return false;
    }
  }
  // Unbuffered: each record goes to the system in one write, and nothing of a
  // failed one is left behind to be written later.
  file_.rdbuf()->pubsetbuf(nullptr, 0);
  errno = 0;
  file_.open(path_, std::ios::binary | std::ios::app);
  if (!file_.is_open()) {
    error_ = lastError();
    return false;
  }
  error_.clear();
  return true;
}

bool LogWriter::write(const LogRecord& record) {
  if (!enabled_ || !wanted_) return false;
  if (!file_.is_open() && !openFile()) return false;
  const auto bytes = record.encode();
  errno = 0;
  file_.write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  file_.flush();
  if (!file_) {
    fail();
    return false;
  }
  wholeSize_ += LogRecord::kSize;
  error_.clear();
  return true;
}

// Whatever part of the record got out is cut off again at once, so that the
// file holds whole records even if it is never opened again.
void LogWriter::fail() {
  error_ = lastError();
  file_.close();
  file_.clear();
  std::error_code ignored;
  std::filesystem::resize_file(path_, wholeSize_, ignored);
}

// With no file wanted there is nothing left to report either.
void LogWriter::close() {
  wanted_ = false;
  if (file_.is_open()) file_.close();
  file_.clear();
  error_.clear();
}

}  // namespace vs
