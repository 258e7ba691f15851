#include "logging/log_file_name.h"

#include <cstdio>

namespace vs {

std::string logFileName(const LocalDateTime& hour) {
  char name[64];
  std::snprintf(name, sizeof name, "log_%u_%u_%u_%u.log", static_cast<unsigned>(hour.year),
                static_cast<unsigned>(hour.month), static_cast<unsigned>(hour.day),
                static_cast<unsigned>(hour.hour));
  return name;
}

}  // namespace vs
