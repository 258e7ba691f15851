#pragma once

#include <cstdlib>
#include <ctime>

namespace vs::test {

// Makes local time that of a TZ rule ("UTC", "EST5EDT,M3.2.0,M11.1.0") for
// this process. The C library on Windows reads the name, offset and
// daylight-time name, and applies the United States' switch dates.
inline void useTimeZone(const char* rule) {
#if defined(_WIN32)
  ::_putenv_s("TZ", rule);
  ::_tzset();
#else
  ::setenv("TZ", rule, 1);
  ::tzset();
#endif
}

}  // namespace vs::test
