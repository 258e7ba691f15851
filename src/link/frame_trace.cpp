#include "link/frame_trace.h"

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <type_traits>

namespace vs {
namespace {

static_assert(std::is_trivially_copyable_v<TracedFrame> && std::is_standard_layout_v<TracedFrame>);

// Slots copied per hold of the lock: about 20 KB, a few microseconds.
constexpr std::size_t kBatch = 64;

}  // namespace

FrameTrace::FrameTrace(std::size_t capacity)
    : capacity_(std::max<std::size_t>(capacity, 1)), slots_(new TracedFrame[capacity_]) {}

void FrameTrace::record(const TracedFrame& frame) {
  const TracedFrame* stored = nullptr;
  {
    std::lock_guard lock(mutex_);
    TracedFrame& slot = slots_[last_ % capacity_];
    // The bytes kept and no more: most frames are a few dozen.
    std::memcpy(static_cast<void*>(&slot), &frame, offsetof(TracedFrame, bytes));
    std::memcpy(slot.bytes, frame.bytes, frame.kept().size());
    slot.sequence = ++last_;
    stored = &slot;
  }
  // Only this thread writes slots, so the one just written stays as it is.
  if (listener_) listener_(*stored);
}

std::size_t FrameTrace::copySince(std::uint64_t after, std::vector<TracedFrame>& out,
                                  std::size_t limit) const {
  // Room first, so that no allocation happens while the writer may wait.
  const std::uint64_t last = lastSequence();
  if (last > after) out.reserve(out.size() + std::min<std::uint64_t>({last - after, capacity_, limit}));
  std::size_t copied = 0;
  while (copied < limit) {
    std::lock_guard lock(mutex_);
    const std::uint64_t oldest = last_ >= capacity_ ? last_ - capacity_ + 1 : 1;
    const std::uint64_t first = std::max(after + 1, oldest);
    if (first > last_) break;
    const std::size_t count =
        std::min<std::uint64_t>({last_ - first + 1, kBatch, limit - copied});
    for (std::uint64_t s = first; s < first + count; ++s) out.push_back(slots_[(s - 1) % capacity_]);
    copied += count;
    after = first + count - 1;
  }
  return copied;
}

std::uint64_t FrameTrace::lastSequence() const {
  std::lock_guard lock(mutex_);
  return last_;
}

}  // namespace vs
