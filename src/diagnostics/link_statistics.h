#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "diagnostics/latency_histogram.h"
#include "link/frame_trace.h"

namespace vs {

// A request the program sends again and again, counted on its own: the poll's
// live blocks.
struct BlockKey {
  int function = 3;
  int first = 0;  // 1-based register number
  int count = 0;
};

struct LatencySummary {
  std::int64_t count = 0;  // replies timed
  std::int64_t minMicros = 0;
  std::int64_t medianMicros = 0;
  std::int64_t p99Micros = 0;
  std::int64_t maxMicros = 0;
};

// Counts of attempts by what became of them; each attempt counts once.
struct LinkCounts {
  std::int64_t requests = 0;       // attempts, retries included
  std::int64_t successes = 0;
  std::int64_t retries = 0;        // attempts after the first
  std::int64_t timeouts = 0;       // no reply, or part of one, within the time-out
  std::int64_t crcErrors = 0;
  std::int64_t exceptions = 0;
  std::int64_t mismatches = 0;     // another slave, another function, a wrong count or echo
  std::int64_t otherFailures = 0;  // not sent, or the port failed
  std::int64_t lateReplies = 0;    // overall only: frames that came after their time-out
  std::int64_t strayBytes = 0;     // overall only: bytes outside any frame
  LatencySummary latency;          // of the replies that came whole
};

// The statistics of a line, fed with its traced frames in order. Used on one
// thread.
class LinkStatistics {
 public:
  explicit LinkStatistics(std::vector<BlockKey> blocks = {});

  void add(const TracedFrame& frame);
  void clear();

  LinkCounts overall() const { return summarise(overall_); }
  std::size_t blockCount() const { return blocks_.size(); }
  const BlockKey& blockKey(std::size_t i) const { return blocks_[i].key; }
  LinkCounts block(std::size_t i) const { return summarise(blocks_[i]); }

 private:
  struct Tally {
    BlockKey key;
    LinkCounts counts;
    LatencyHistogram latency;
  };

  static void count(Tally& tally, const TracedFrame& frame);
  static LinkCounts summarise(const Tally& tally);

  Tally overall_;
  std::vector<Tally> blocks_;
};

}  // namespace vs
