#include "logging/clock.h"

#include <chrono>

namespace vs {

std::int64_t SystemClock::unixTime() const {
  using namespace std::chrono;
  return duration_cast<seconds>(system_clock::now().time_since_epoch()).count();
}

LocalDateTime SystemClock::localTime() const {
  using namespace std::chrono;
  const auto ms = duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count();
  return toLocalDateTime(ms / 1000, static_cast<int>(ms % 1000));
}

}  // namespace vs
