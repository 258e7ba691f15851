#pragma once

#include <string>

#include "time/local_date_time.h"

namespace vs {

// The file that holds the records of one local hour: "log_2026_12_6_9.log" for
// 6 December 2026, 09:00 to 09:59. Playback's file filter matches these names.
std::string logFileName(const LocalDateTime& hour);

}  // namespace vs
