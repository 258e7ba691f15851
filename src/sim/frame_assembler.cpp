#include "sim/frame_assembler.h"

#include <algorithm>

#include "link/crc16.h"

namespace vs::sim {
namespace {

constexpr std::size_t kMaxFrame = 256;

}  // namespace

int requestFrameLength(const std::uint8_t* bytes, std::size_t available) {
  if (available < 2) return 0;
  switch (bytes[1]) {
    case 1:
    case 2:
    case 3:
    case 4:
    case 5:
    case 6:
    case 8: return 8;
    case 7:
    case 11:
    case 12:
    case 17: return 4;
    case 22: return 10;
    case 15:
    case 16: return available < 7 ? 0 : 9 + bytes[6];
    case 23: return available < 11 ? 0 : 13 + bytes[10];
    default: return -1;
  }
}

void FrameAssembler::push(const std::uint8_t* bytes, std::size_t count, TimePoint arrival) {
  TimePoint previous = ends_.empty() ? arrival : std::max(arrival, ends_.back());
  for (std::size_t i = 0; i < count; ++i) {
    previous += charTime_;
    bytes_.push_back(bytes[i]);
    ends_.push_back(previous);
  }
}

std::optional<FrameAssembler::TimePoint> FrameAssembler::settlesAt() const {
  if (ends_.empty()) return std::nullopt;
  return ends_.back() + silence_;
}

FrameAssembler::Step FrameAssembler::decide(std::size_t& frameLength, bool silent) const {
  const std::size_t available = bytes_.size();
  std::uint8_t head[kMaxFrame];
  const std::size_t n = std::min(available, kMaxFrame);
  std::copy_n(bytes_.begin(), n, head);
  const int length = requestFrameLength(head, n);
  if (length > static_cast<int>(kMaxFrame)) return Step::Stray;
  if (length > 0 && n >= static_cast<std::size_t>(length)) {
    frameLength = static_cast<std::size_t>(length);
    return crc16(head, frameLength) == 0 ? Step::Frame : Step::Stray;
  }
  if (!silent && available < kMaxFrame) {
    // A head no request can start with is noise once a whole frame follows it.
    if (length < 0) {
      for (std::size_t k = 1; k + 4 <= n; ++k) {
        const int later = requestFrameLength(head + k, n - k);
        if (later > 0 && n - k >= static_cast<std::size_t>(later) &&
            crc16(head + k, static_cast<std::size_t>(later)) == 0) {
          return Step::Stray;
        }
      }
    }
    return Step::Wait;
  }
  if (length < 0 && n >= 4 && crc16(head, n) == 0) {
    frameLength = n;
    return Step::Frame;
  }
  return Step::Stray;
}

std::vector<std::uint8_t> FrameAssembler::take(std::size_t count) {
  std::vector<std::uint8_t> out(bytes_.begin(), bytes_.begin() + static_cast<long>(count));
  bytes_.erase(bytes_.begin(), bytes_.begin() + static_cast<long>(count));
  ends_.erase(ends_.begin(), ends_.begin() + static_cast<long>(count));
  return out;
}

std::optional<FrameAssembler::Piece> FrameAssembler::next(TimePoint now) {
  const bool silent = !ends_.empty() && now >= ends_.back() + silence_;
  Piece stray;
  for (;;) {
    if (bytes_.empty()) break;
    std::size_t length = 0;
    const Step step = decide(length, silent);
    if (step == Step::Wait) break;
    if (step == Step::Frame) {
      if (!stray.bytes.empty()) break;
      Piece frame{true, {}, ends_[length - 1]};
      frame.bytes = take(length);
      return frame;
    }
    stray.end = ends_.front();
    stray.bytes.push_back(take(1).front());
  }
  if (stray.bytes.empty()) return std::nullopt;
  return stray;
}

}  // namespace vs::sim
