#include "diagnostics/monitor_text.h"

#include <cstdio>
#include <ctime>

#include "diagnostics/frame_decoder.h"

namespace vs {
namespace {

// "14:03:07.250" or, with the date, "2026-05-01 14:03:07.250113".
std::string localTime(std::int64_t wallMicros, bool withDate) {
  const auto seconds = static_cast<std::time_t>(wallMicros / 1'000'000);
  const auto micros = static_cast<long>(wallMicros % 1'000'000);
  std::tm tm{};
#if defined(_WIN32)
  const bool ok = ::localtime_s(&tm, &seconds) == 0;
#else
  const bool ok = ::localtime_r(&seconds, &tm) != nullptr;
#endif
  if (!ok) return "?";
  char text[48];
  if (withDate) {
    std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d.%06ld", tm.tm_year + 1900,
                  tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec, micros);
  } else {
    std::snprintf(text, sizeof text, "%02d:%02d:%02d.%03ld", tm.tm_hour, tm.tm_min, tm.tm_sec,
                  micros / 1000);
  }
  return text;
}

std::string hexText(const TracedFrame& frame) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  const auto bytes = frame.kept();
  std::string text;
  text.reserve(bytes.size() * 3 + 16);
  for (const std::uint8_t byte : bytes) {
    if (!text.empty()) text += ' ';
    text += kDigits[byte >> 4];
    text += kDigits[byte & 0x0F];
  }
  if (frame.byteCount > bytes.size()) {
    text += " ... (" + std::to_string(frame.byteCount - bytes.size()) + " more)";
  }
  return text;
}

std::string millis(std::int64_t micros) {
  char text[24];
  std::snprintf(text, sizeof text, "%.1f", static_cast<double>(micros) / 1000.0);
  return text;
}

std::string countsLine(const std::string& label, const LinkCounts& c) {
  char text[160];
  std::snprintf(text, sizeof text, "%-14s %8lld %9lld %7lld %9lld %6lld %10lld %10lld %6lld  ",
                label.c_str(), static_cast<long long>(c.requests),
                static_cast<long long>(c.successes), static_cast<long long>(c.retries),
                static_cast<long long>(c.timeouts), static_cast<long long>(c.crcErrors),
                static_cast<long long>(c.exceptions), static_cast<long long>(c.mismatches),
                static_cast<long long>(c.otherFailures));
  std::string line = text;
  const LatencySummary& l = c.latency;
  line += l.count == 0 ? "-" : millis(l.minMicros) + " / " + millis(l.medianMicros) + " / " +
                                   millis(l.p99Micros) + " / " + millis(l.maxMicros);
  return line + "\n";
}

}  // namespace

MonitorRow monitorRow(const TracedFrame& frame) {
  DecodedFrame decoded = decodeFrame(frame);
  return {localTime(frame.wallMicros, false),
          frame.direction == FrameDirection::Request ? "TX" : "RX", std::move(decoded.summary),
          hexText(frame), decoded.problem != FrameProblem::None};
}

std::string monitorLine(const TracedFrame& frame) {
  const MonitorRow row = monitorRow(frame);
  std::string line = localTime(frame.wallMicros, true) + "  " + row.direction + "  " + row.summary;
  if (!row.hex.empty()) line += "  [" + row.hex + "]";
  return line;
}

std::string statisticsText(const LinkStatistics& statistics, const TickStatistics* ticks) {
  std::string text =
      "               requests successes retries time-outs    CRC exceptions mismatches  other"
      "  latency min / median / p99 / max, ms\n";
  text += countsLine("all", statistics.overall());
  for (std::size_t i = 0; i < statistics.blockCount(); ++i) {
    const BlockKey& key = statistics.blockKey(i);
    text += countsLine(std::to_string(key.first) + "-" + std::to_string(key.first + key.count - 1),
                       statistics.block(i));
  }
  const LinkCounts all = statistics.overall();
  if (all.lateReplies > 0 || all.strayBytes > 0) {
    text += "late replies: " + std::to_string(all.lateReplies) +
            ", stray bytes: " + std::to_string(all.strayBytes) + "\n";
  }
  if (ticks != nullptr) {
    char line[200];
    std::snprintf(line, sizeof line,
                  "poll ticks: %lld, %.1f a second, %lld over %lld ms (last %s ms, longest %s ms)\n",
                  static_cast<long long>(ticks->ticks), ticks->ticksPerSecond,
                  static_cast<long long>(ticks->overruns),
                  static_cast<long long>(ticks->periodMicros / 1000),
                  millis(ticks->lastMicros).c_str(), millis(ticks->longestMicros).c_str());
    text += line;
  }
  return text;
}

}  // namespace vs
