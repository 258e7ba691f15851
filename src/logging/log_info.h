#pragma once

#include <cstdint>
#include <filesystem>
#include <vector>

namespace vs {

// Two consecutive records further apart than one second (a failed poll, a
// disconnection) or stepping back in time (a clock change, a second connection).
struct LogGap {
  std::int64_t record = 0;  // index of the record after the gap
  std::int32_t before = 0;  // time stamp of the record before it
  std::int32_t after = 0;   // time stamp of the record after it
};

struct LogInfo {
  bool readable = false;  // false: the file could not be opened or read
  std::int64_t recordCount = 0;
  std::int64_t trailingBytes = 0;  // a partial record at the end, ignored by readers
  std::int32_t firstTime = 0;      // time stamps of the first and last record
  std::int32_t lastTime = 0;
  std::vector<LogGap> gaps;
};

LogInfo readLogInfo(const std::filesystem::path& log);

}  // namespace vs
