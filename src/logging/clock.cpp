#include "logging/clock.h"

#include <chrono>

namespace vs {

std::int64_t SystemClock::unixTime() const {
  using namespace std::chrono;
  return duration_cast<seconds>(system_clock::now().time_since_epoch()).count();
}

LocalDateTime SystemClock::localTime() const { return localNow(); }

}  // namespace vs
