#pragma once

#include <cstdint>
#include <filesystem>
#include <vector>

#include "forms/valve_link.h"
#include "logging/log_record.h"

namespace vs {

class TrendChart;

// What playback keeps for the whole run of the program: one page of a log file
// in memory and fed to the trend chart, and the record the main window shows.
// A page is the chart's capacity C plus one records; page k holds records kC to
// kC + C, so pages overlap by one record.
class PlaybackState {
 public:
  PlaybackState(TrendChart& chart, ValveLink& link);

  // Loads the page that holds `position` into the page buffer and the chart
  // (record r of the page stamps slot r and fills slot r + 1) and returns the
  // file's last record index (-1 for a file without whole records). A file that
  // cannot be opened returns 0 and changes nothing.
  std::int32_t LoadLogPage(const std::filesystem::path& path, std::int32_t position);

  // Copies record `index` of the page into the live values and puts the
  // chart's cursor on its samples. An index outside the page shows nothing.
  bool ShowPlaybackRecord(std::int32_t index);
  // The main window's repaint in playback mode: the record at `position`. A
  // page loaded for a wider chart than the chart is now (Zoom Out, a smaller
  // window) is loaded again at the chart's capacity, so that it stays inside
  // the plot.
  bool showPosition();

  // Forgets the page, so that nothing of an earlier file is shown.
  void clearPage();

  std::int32_t pageFirst() const { return pageFirst_; }
  std::int32_t pageLast() const { return pageFirst_ + pageCount_ - 1; }
  std::int32_t pageCount() const { return pageCount_; }
  // The record at `at` is in the page and is not its last (which belongs to the
  // next page as well).
  bool holdsBeforePageEnd(std::int32_t at) const { return at >= pageFirst_ && at < pageLast(); }

  std::int32_t position = 0;      // file index of the record to show
  std::int32_t lastPosition = 0;  // the file's last record index
  bool playForward = false;
  bool playReverse = false;

 private:
  // Records per slot sweep of the chart as it is now; never below one.
  std::int32_t capacity() const;
  void restampChart(std::int32_t capacity, std::int32_t lastTime);

  TrendChart& chart_;
  ValveLink& link_;
  std::filesystem::path path_;  // the file the page was loaded from
  std::vector<LogRecord> pageBuffer_;
  std::int32_t pageFirst_ = 0;
  std::int32_t pageCount_ = 0;
};

}  // namespace vs
