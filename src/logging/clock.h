#pragma once

#include <cstdint>

#include "time/local_date_time.h"

namespace vs {

// Where the program reads the time, so that tests can set it.
class Clock {
 public:
  virtual ~Clock() = default;
  virtual std::int64_t unixTime() const = 0;  // seconds since 1970-01-01 00:00 UTC
  virtual LocalDateTime localTime() const = 0;
};

class SystemClock final : public Clock {
 public:
  std::int64_t unixTime() const override;
  LocalDateTime localTime() const override;
};

}  // namespace vs
