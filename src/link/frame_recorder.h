#pragma once

#include <cstdint>

#include "link/frame_trace.h"

namespace vs {

// A master's side of the trace: turns the steps of one attempt into frames.
// Without a trace every call returns at once, so a master calls it always.
class FrameRecorder {
 public:
  void setTrace(FrameTrace* trace) { trace_ = trace; }
  bool on() const { return trace_ != nullptr; }

  // The attempt about to run: 1 for the first try.
  void setAttempt(int attempt) { attempt_ = attempt; }
  // The request of this attempt, built but not yet sent: its head is kept for
  // the reply, which then reads on its own.
  void prepare(const std::uint8_t* frame, int length);
  // Bytes thrown away before the request: collected, then kept as one frame.
  void stray(const std::uint8_t* bytes, int count);
  void flushStray();
  // The request, now wholly on the line.
  void sent(const std::uint8_t* frame, int length);
  // What the attempt got back: `received` bytes of the frame it waited for.
  // The latency runs from sent(), or is the given one (microseconds; a line
  // that is simulated knows its own timing).
  void reply(int result, const std::uint8_t* bytes, int received, int expectedLength,
             std::int64_t latencyMicros = -1);

 private:
  void stamp(TracedFrame& frame);

  FrameTrace* trace_ = nullptr;
  int attempt_ = 1;
  std::uint8_t head_[8] = {};
  std::uint8_t headLength_ = 0;
  std::int64_t sentAt_ = -1;  // steady microseconds; -1: not sent
  TracedFrame frame_;         // the frame being put together
  TracedFrame stray_;
};

}  // namespace vs
