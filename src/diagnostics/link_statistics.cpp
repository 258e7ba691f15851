#include "diagnostics/link_statistics.h"

#include "diagnostics/frame_decoder.h"

namespace vs {

LinkStatistics::LinkStatistics(std::vector<BlockKey> blocks) {
  for (const BlockKey& key : blocks) blocks_.push_back({key, {}, {}});
}

void LinkStatistics::clear() {
  overall_ = Tally();
  for (Tally& block : blocks_) block = Tally{block.key, {}, {}};
}

void LinkStatistics::add(const TracedFrame& frame) {
  if (frame.direction == FrameDirection::Stray) {
    if (frameProblem(frame) == FrameProblem::LateReply) {
      ++overall_.counts.lateReplies;
    } else {
      overall_.counts.strayBytes += frame.byteCount;
    }
    return;
  }
  // An attempt is counted by its outcome, which every attempt has.
  if (frame.direction != FrameDirection::Reply) return;
  count(overall_, frame);
  if (frame.requestLength < 6) return;
  const int function = frame.request[1];
  const int first = ((frame.request[2] << 8) | frame.request[3]) + 1;
  const int count = (frame.request[4] << 8) | frame.request[5];
  for (Tally& block : blocks_) {
    if (block.key.function == function && block.key.first == first && block.key.count == count) {
      LinkStatistics::count(block, frame);
    }
  }
}

void LinkStatistics::count(Tally& tally, const TracedFrame& frame) {
  LinkCounts& c = tally.counts;
  ++c.requests;
  if (frame.attempt > 1) ++c.retries;
  const FrameProblem problem = frameProblem(frame);
  switch (problem) {
    case FrameProblem::None: ++c.successes; break;
    case FrameProblem::NoReply:
    case FrameProblem::Short: ++c.timeouts; break;
    case FrameProblem::Crc: ++c.crcErrors; break;
    case FrameProblem::Exception: ++c.exceptions; break;
    case FrameProblem::WrongSlave:
    case FrameProblem::WrongFunction:
    case FrameProblem::BadContent: ++c.mismatches; break;
    default: ++c.otherFailures; break;
  }
  // Whatever came whole was answered, rightly or not, and took its time.
  const bool whole = frame.byteCount > 0 && problem != FrameProblem::Short &&
                     problem != FrameProblem::PortFailed;
  if (whole && frame.latencyMicros >= 0) tally.latency.add(frame.latencyMicros);
}

LinkCounts LinkStatistics::summarise(const Tally& tally) {
  LinkCounts counts = tally.counts;
  const LatencyHistogram& h = tally.latency;
  counts.latency = {h.count(), h.min(), h.percentile(0.5), h.percentile(0.99), h.max()};
  return counts;
}

}  // namespace vs
