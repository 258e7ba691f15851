// Playback of a 24-hour log written at five records a second (432,000 records,
// 19 MB): the time to open it and show the first page, to jump to a page from
// the slider, and the CSV export rate. The chart pages as the main window's
// does on a 1920 x 1080 screen, and as the widest (zoomed) chart does. Prints
// figures; asserts nothing. "cold" figures first drop the file from the
// system's cache, as when a technician opens a log for the first time. Wall
// time includes whatever else the machine runs; processor time does not.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <random>
#include <vector>

#if defined(__unix__)
#include <fcntl.h>
#include <unistd.h>
#endif

#include "logging/log_csv_export.h"
#include "logging/playback_state.h"
#include "widgets/trend_chart.h"

namespace {

using Clock = std::chrono::steady_clock;
namespace fs = std::filesystem;

constexpr std::int32_t kRecords = 24 * 3600 * 5;
constexpr int kJumps = 100;

double milliseconds(Clock::duration d) {
  return std::chrono::duration<double, std::milli>(d).count();
}

double processorMilliseconds(std::clock_t from) {
  return (std::clock() - from) * 1000.0 / CLOCKS_PER_SEC;
}

double median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

// A running engine: values drift within their ranges, five records a second
// (several records share a time stamp, as they do in real logs).
void writeDayLog(const fs::path& path) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  std::vector<unsigned char> bytes(vs::LogRecord::kSize);
  for (std::int32_t i = 0; i < kRecords; ++i) {
    vs::LogRecord record;
    record.timeStamp = 1'772'953'200 + i / 5;
    record.values = {450 + i % 300, 430 + i % 500, 2000 + i % 3000, 1000 + i % 2000, 400 + i % 1600,
                     i % 4 - 1,     2500,          600 + i % 400,   550 + i % 300,   0};
    record.encode(bytes.data());
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
  }
}

// Drops the file's pages from the system's cache where the system allows it.
bool evict(const fs::path& path) {
#if defined(__unix__)
  const int fd = ::open(path.c_str(), O_RDONLY);
  if (fd < 0) return false;
  const bool done = ::posix_fadvise(fd, 0, 0, POSIX_FADV_DONTNEED) == 0;
  ::close(fd);
  return done;
#else
  (void)path;
  return false;
#endif
}

void pagingFigures(const char* name, vs::TrendChart& chart, const fs::path& log) {
  vs::ValveLink link;
  vs::PlaybackState state(chart, link);

  const bool cold = evict(log);
  auto start = Clock::now();
  const std::clock_t openStart = std::clock();
  state.lastPosition = state.LoadLogPage(log, 0);
  state.position = 0;
  state.showPosition();
  const double openProcessor = processorMilliseconds(openStart);
  const double open = milliseconds(Clock::now() - start);

  std::mt19937 random(5);
  std::uniform_int_distribution<std::int32_t> anywhere(0, state.lastPosition);
  struct Jumps {
    const char* name;
    bool cold;
    std::vector<double> wall, processor;
  };
  std::vector<Jumps> kinds{{"warm cache", false, {}, {}}, {"cold cache", true, {}, {}}};
  for (int i = 0; i < kJumps; ++i) {
    for (Jumps& jumps : kinds) {
      if (jumps.cold && !evict(log)) continue;
      state.position = anywhere(random);
      start = Clock::now();
      const std::clock_t processorStart = std::clock();
      state.LoadLogPage(log, state.position);
      state.showPosition();
      jumps.processor.push_back(processorMilliseconds(processorStart));
      jumps.wall.push_back(milliseconds(Clock::now() - start));
    }
  }
  std::printf("%s (capacity %d, pages of %d records)\n", name, chart.Capacity(),
              chart.Capacity() + 1);
  std::printf("  open and show the first page%s: %.2f ms wall, %.2f ms processor\n",
              cold ? " (cold cache)" : "", open, openProcessor);
  for (const Jumps& jumps : kinds) {
    if (jumps.wall.empty()) continue;
    std::printf(
        "  %d slider jumps, %s: wall median %.3f ms, slowest %.3f ms;"
        " processor median %.3f ms, slowest %.3f ms\n",
        kJumps, jumps.name, median(jumps.wall),
        *std::max_element(jumps.wall.begin(), jumps.wall.end()), median(jumps.processor),
        *std::max_element(jumps.processor.begin(), jumps.processor.end()));
  }
}

}  // namespace

int main() {
  const fs::path folder = fs::temp_directory_path() / "valvescope_playback_bench";
  fs::create_directories(folder);
  const fs::path log = folder / "log_2026_3_8_0.log";
  const fs::path csv = folder / "log_2026_3_8_0.csv";
  writeDayLog(log);
  std::printf("log: %d records, %.1f MB\n", kRecords, fs::file_size(log) / 1e6);

  vs::TrendChart panelChart;  // the live layout on a 1920 x 1080 client area
  panelChart.SetSize(51, 31);
  panelChart.SetPosition(25, 64);
  panelChart.OnResize(1920, 1080);
  pagingFigures("main window chart, 1920 x 1080", panelChart, log);

  vs::TrendChart widest;
  widest.SetSize(100, 50);
  widest.SetPosition(0, 0);
  widest.OnResize(2400, 800);
  pagingFigures("widest chart", widest, log);

  for (const bool cold : {false, true}) {
    if (cold && !evict(log)) continue;
    const auto start = Clock::now();
    const std::clock_t processorStart = std::clock();
    const auto result = vs::exportLogToCsv(log, csv);
    const double processor = processorMilliseconds(processorStart) / 1000.0;
    const double seconds = milliseconds(Clock::now() - start) / 1000.0;
    std::printf(
        "CSV export%s: %lld records, %.1f MB written, in %.2f s wall (%.0f records/s),"
        " %.2f s processor (%.0f records/s)\n",
        cold ? " (log not cached)" : "", static_cast<long long>(result.records),
        fs::file_size(csv) / 1e6, seconds, result.records / seconds, processor,
        result.records / processor);
  }
  fs::remove_all(folder);
  return 0;
}
