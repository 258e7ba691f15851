#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <filesystem>
#include <string>
#include <vector>

#include "diagnostics/link_statistics.h"
#include "diagnostics/monitor_text.h"
#include "diagnostics/tick_recorder.h"
#include "link/frame_trace.h"

namespace vs {

// What a line monitor window shows, without the window: the frames taken from
// a master's trace as a table (all of them or the faulty ones only), the
// link's statistics, pause, clear and save.
//
// It lives on the window's thread and is used there only. The master records
// into the trace on its own thread; refresh() takes what is new, holding the
// trace's lock a few microseconds at a time, so the poll never waits on the
// window. The TickRecorder may be fed from any thread.
class LineMonitor {
 public:
  struct Refresh {
    std::size_t added = 0;    // rows appended at the end
    std::size_t dropped = 0;  // rows that gave way at the start
  };
  // The table as shown, counted since it last changed as a whole (cleared, or
  // switched between all rows and the faulty ones): rows appended and rows
  // dropped at the start, rowCount() being their difference. A view that
  // keeps its own rows compares two readings instead of reading every row.
  struct TableCounts {
    std::uint64_t generation = 0;  // one more at every change as a whole
    std::uint64_t added = 0;
    std::uint64_t dropped = 0;
  };

  // Holds as many frames as the trace does.
  LineMonitor(const FrameTrace& trace, std::vector<BlockKey> blocks,
              TickRecorder* ticks = nullptr);

  // Takes the frames recorded since the last call: always into the
  // statistics, and into the table unless paused. Rows change only here.
  Refresh refresh();

  // Paused, the table stands still; the statistics go on counting.
  void setPaused(bool paused) { paused_ = paused; }
  bool paused() const { return paused_; }
  void setErrorsOnly(bool errorsOnly);
  bool errorsOnly() const { return errorsOnly_; }
  // Empties the table and starts the statistics (and the ticks') afresh.
  void clear();

  // The table as shown: oldest first, only the faulty rows when errorsOnly().
  std::size_t rowCount() const { return errorsOnly_ ? errors_.size() : size_; }
  const TracedFrame& frame(std::size_t row) const;
  MonitorRow row(std::size_t row) const { return monitorRow(frame(row)); }

  TableCounts tableCounts() const { return counts_; }

  const LinkStatistics& statistics() const { return statistics_; }
  // The poll's ticks, when the monitor was given their recorder.
  TickStatistics tickStatistics() const;
  // Frames the trace let go before this monitor took them (it was not
  // refreshed for a while).
  std::uint64_t missedFrames() const { return missed_; }

  // The statistics, what they advise (a sentence a line), then the table as
  // shown, one line a frame.
  std::string text(const std::vector<std::string>& advice = {}) const;
  // Writes text() to `file` whole or not at all; false when it cannot.
  bool save(const std::filesystem::path& file, const std::vector<std::string>& advice = {}) const;

 private:
  const FrameTrace& trace_;
  TickRecorder* ticks_;
  LinkStatistics statistics_;
  std::vector<TracedFrame> held_;      // a ring of rows, allocated once
  std::vector<TracedFrame> incoming_;  // reused by every refresh
  std::size_t size_ = 0;               // rows held
  std::uint64_t appended_ = 0;         // rows ever appended; row n is held_[n % capacity]
  std::deque<std::uint64_t> errors_;   // the held rows that are faulty, by number
  std::uint64_t lastSequence_ = 0;
  std::uint64_t missed_ = 0;
  TableCounts counts_;
  bool paused_ = false;
  bool errorsOnly_ = false;
};

}  // namespace vs
