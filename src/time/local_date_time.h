#pragma once

#include <cstdint>
#include <string>

namespace vs {

struct LocalDate {
  int year = 1970;
  int month = 1;  // 1 to 12
  int day = 1;    // 1 to 31

  friend bool operator==(const LocalDate&, const LocalDate&) = default;
};

// A wall-clock reading in the computer's time zone.
struct LocalDateTime {
  int year = 1970;
  int month = 1;  // 1 to 12
  int day = 1;    // 1 to 31
  int hour = 0;   // 0 to 23
  int minute = 0;
  int second = 0;
  int millisecond = 0;

  LocalDate date() const { return {year, month, day}; }
  // Same calendar day and hour: the records belong in the same log file.
  bool sameHourAs(const LocalDateTime& other) const {
    return date() == other.date() && hour == other.hour;
  }

  friend bool operator==(const LocalDateTime&, const LocalDateTime&) = default;
};

// Local wall-clock time of a calendar time (seconds since 1970-01-01 00:00 UTC).
LocalDateTime toLocalDateTime(std::int64_t unixSeconds, int millisecond = 0);

// The computer's wall clock now, to the millisecond.
LocalDateTime localNow();

// "2026-05-01 14:03:07": to the second, sorting as text in time order.
std::string dateTimeText(const LocalDateTime& time);

// "yyyy_M_d": four-digit year, month and day without leading zeros, as log file
// names carry the date.
std::string dateText(const LocalDate& date);

}  // namespace vs
