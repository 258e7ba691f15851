#include "link/frame_recorder.h"

#include <algorithm>
#include <chrono>
#include <cstring>

namespace vs {
namespace {

template <typename Clock>
std::int64_t microsNow() {
  return std::chrono::duration_cast<std::chrono::microseconds>(Clock::now().time_since_epoch())
      .count();
}

void keep(TracedFrame& frame, const std::uint8_t* bytes, int count) {
  if (count <= 0) return;
  const int room = TracedFrame::kMaxBytes - static_cast<int>(frame.kept().size());
  if (room > 0) std::memcpy(frame.bytes + frame.kept().size(), bytes, std::min(room, count));
  frame.byteCount += static_cast<std::uint32_t>(count);
}

}  // namespace

void FrameRecorder::stamp(TracedFrame& frame) {
  frame.steadyMicros = microsNow<std::chrono::steady_clock>();
  frame.wallMicros = microsNow<std::chrono::system_clock>();
}

void FrameRecorder::prepare(const std::uint8_t* frame, int length) {
  sentAt_ = -1;
  if (trace_ == nullptr) return;
  // Without its CRC: the head is the request's content.
  headLength_ = static_cast<std::uint8_t>(std::clamp(length - 2, 0, 8));
  std::memset(head_, 0, sizeof head_);
  std::memcpy(head_, frame, headLength_);
}

void FrameRecorder::stray(const std::uint8_t* bytes, int count) {
  if (trace_ == nullptr || count <= 0) return;
  if (stray_.byteCount == 0) {
    stray_.direction = FrameDirection::Stray;
    stamp(stray_);  // when the first of them was found
  }
  keep(stray_, bytes, count);
}

void FrameRecorder::flushStray() {
  if (trace_ == nullptr || stray_.byteCount == 0) return;
  trace_->record(stray_);
  stray_.byteCount = 0;
}

void FrameRecorder::sent(const std::uint8_t* frame, int length) {
  if (trace_ == nullptr) return;
  frame_.direction = FrameDirection::Request;
  frame_.attempt = static_cast<std::uint8_t>(attempt_);
  frame_.result = 0;
  frame_.latencyMicros = -1;
  frame_.expectedLength = 0;
  frame_.requestLength = 0;
  frame_.byteCount = 0;
  keep(frame_, frame, length);
  stamp(frame_);
  sentAt_ = frame_.steadyMicros;
  trace_->record(frame_);
}

void FrameRecorder::reply(int result, const std::uint8_t* bytes, int received, int expectedLength,
                          std::int64_t latencyMicros) {
  if (trace_ == nullptr) return;
  frame_.direction = FrameDirection::Reply;
  frame_.attempt = static_cast<std::uint8_t>(attempt_);
  frame_.result = result;
  frame_.expectedLength = static_cast<std::uint16_t>(std::max(expectedLength, 0));
  frame_.requestLength = headLength_;
  std::memcpy(frame_.request, head_, sizeof head_);
  frame_.byteCount = 0;
  keep(frame_, bytes, received);
  stamp(frame_);
  if (latencyMicros < 0 && sentAt_ >= 0) latencyMicros = frame_.steadyMicros - sentAt_;
  frame_.latencyMicros = static_cast<std::int32_t>(std::min<std::int64_t>(latencyMicros, INT32_MAX));
  trace_->record(frame_);
}

}  // namespace vs
