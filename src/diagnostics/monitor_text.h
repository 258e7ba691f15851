#pragma once

#include <string>

#include "diagnostics/link_statistics.h"
#include "diagnostics/tick_recorder.h"
#include "link/frame_trace.h"

namespace vs {

// One frame as a row of the line monitor's table.
struct MonitorRow {
  std::string time;       // local time of day: "14:03:07.250"
  std::string direction;  // "TX" sent, "RX" received (or awaited)
  std::string summary;
  std::string hex;        // "01 03 00 0B 00 14 F5 CF"
  bool error = false;
};

MonitorRow monitorRow(const TracedFrame& frame);
// One frame as a line of text, date and microseconds included:
// "2026-05-01 14:03:07.250113  TX  slave 1: read ...  [01 03 00 0B 00 14 F5 CF]"
std::string monitorLine(const TracedFrame& frame);

// The statistics as a small table of text, a line for the whole link and one
// for each block, then the late and stray bytes and the poll ticks (when
// given), each line ending in a newline.
std::string statisticsText(const LinkStatistics& statistics, const TickStatistics* ticks);

}  // namespace vs
