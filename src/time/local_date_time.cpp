#include "time/local_date_time.h"

#include <chrono>
#include <cstdio>

#include "time/local_tm.h"

namespace vs {

LocalDateTime toLocalDateTime(std::int64_t unixSeconds, int millisecond) {
  std::tm tm{};
  if (!localTm(static_cast<std::time_t>(unixSeconds), tm)) return {};
  return {tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour,
          tm.tm_min,         tm.tm_sec,     millisecond};
}

LocalDateTime localNow() {
  using namespace std::chrono;
  const auto ms = duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count();
  return toLocalDateTime(ms / 1000, static_cast<int>(ms % 1000));
}

std::string dateTimeText(const LocalDateTime& time) {
  char text[64];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", time.year, time.month, time.day,
                time.hour, time.minute, time.second);
  return text;
}

std::string dateText(const LocalDate& date) {
  char text[40];
  std::snprintf(text, sizeof text, "%04d_%d_%d", date.year, date.month, date.day);
  return text;
}

}  // namespace vs
