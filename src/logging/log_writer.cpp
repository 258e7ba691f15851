#include "logging/log_writer.h"

#include <system_error>
#include <utility>

#include "logging/log_file_name.h"

namespace vs {
namespace {

// A crash or a full disk in the middle of a record leaves a fragment at the end
// of the file; appending after it would shift every later record. The fragment
// is no record anyway, so it goes.
void dropTrailingFragment(const std::filesystem::path& path) {
  std::error_code error;
  const auto size = std::filesystem::file_size(path, error);
  if (error || size % LogRecord::kSize == 0) return;
  std::filesystem::resize_file(path, size - size % LogRecord::kSize, error);
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
  std::error_code ignored;
  std::filesystem::create_directories(directory_, ignored);
  dropTrailingFragment(path_);
  file_.open(path_, std::ios::binary | std::ios::app);
  failed_ = !file_.is_open();
  return !failed_;
}

bool LogWriter::write(const LogRecord& record) {
  if (!enabled_ || !file_.is_open()) return false;
  const auto bytes = record.encode();
  file_.write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  file_.flush();
  if (file_) return true;
  // Whatever part of the record got out stays a fragment; the next open trims it.
  failed_ = true;
  file_.close();
  return false;
}

void LogWriter::close() {
  if (file_.is_open()) file_.close();
}

}  // namespace vs
