#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <span>
#include <vector>

namespace vs {

enum class FrameDirection : std::uint8_t {
  Request,  // a request as it went out
  Reply,    // what one attempt got back: a reply, part of one, or nothing at all
  Stray,    // bytes that belonged to no exchange: a reply after its time-out, noise
};

// One frame on the line, or the absence of the reply an attempt waited for.
struct TracedFrame {
  static constexpr int kMaxBytes = 256;  // the largest RTU frame

  std::uint64_t sequence = 0;     // from 1, one more for every frame recorded
  std::int64_t steadyMicros = 0;  // steady clock: for spans between frames
  std::int64_t wallMicros = 0;    // microseconds since 1970 (UTC): for display
  FrameDirection direction = FrameDirection::Request;
  std::uint8_t attempt = 0;  // Request, Reply: 1 for the first try, 2 for the first retry ...
  // Reply: the attempt's MasterResult. A Reply without bytes and result 0 had
  // none to wait for (a broadcast, or a request that expects none).
  std::int32_t result = 0;
  // Reply: from the request's last byte on the line to the reply's last byte,
  // or to the moment the master gave up; -1 where it never went out.
  std::int32_t latencyMicros = -1;
  // Reply: the frame length the master waited for (an exception reply: 5).
  std::uint16_t expectedLength = 0;
  // Reply: the first bytes of the request it answers (slave, function and up to
  // six bytes of data, zero beyond requestLength), so that it reads on its own.
  std::uint8_t requestLength = 0;
  std::uint8_t request[8] = {};
  std::uint32_t byteCount = 0;  // bytes seen; the first kMaxBytes of them are kept
  std::uint8_t bytes[kMaxBytes] = {};

  std::span<const std::uint8_t> kept() const {
    return {bytes, byteCount < kMaxBytes ? byteCount : static_cast<std::size_t>(kMaxBytes)};
  }
};

// The last `capacity` frames of a master's line, in fixed slots allocated once.
// One thread records (the one running the master); any number of others copy
// frames out at the same time. A copy holds the lock for one small batch of
// slots at a time, so a reader never keeps the writer waiting for long.
class FrameTrace {
 public:
  static constexpr std::size_t kDefaultCapacity = 10'000;
  // Runs on the recording thread after every frame, outside the lock.
  using Listener = std::function<void(const TracedFrame&)>;

  explicit FrameTrace(std::size_t capacity = kDefaultCapacity);
  FrameTrace(const FrameTrace&) = delete;
  FrameTrace& operator=(const FrameTrace&) = delete;

  // Stores a copy under the next sequence number; the oldest frame gives way
  // once the ring is full.
  void record(const TracedFrame& frame);
  // Set before the recording thread starts, never while it runs.
  void setListener(Listener listener) { listener_ = std::move(listener); }

  // The frames after sequence `after` still held, oldest first, at most
  // `limit` of them, appended to `out`. Returns how many were appended; frames
  // after `after` that the ring no longer holds are simply not there (compare
  // the first sequence with after + 1).
  std::size_t copySince(std::uint64_t after, std::vector<TracedFrame>& out,
                        std::size_t limit = SIZE_MAX) const;
  std::uint64_t lastSequence() const;
  std::size_t capacity() const { return capacity_; }
  // What the slots take; nothing more is allocated after construction.
  std::size_t memoryBytes() const { return capacity_ * sizeof(TracedFrame); }

 private:
  const std::size_t capacity_;
  std::unique_ptr<TracedFrame[]> slots_;
  mutable std::mutex mutex_;
  std::uint64_t last_ = 0;  // guarded by mutex_
  Listener listener_;
};

}  // namespace vs
