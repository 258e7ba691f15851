#include "link/frame_trace.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

namespace vs {
namespace {

// A frame whose bytes tell which sequence number it was recorded under.
TracedFrame marked(std::uint64_t sequence) {
  TracedFrame frame;
  frame.byteCount = static_cast<std::uint32_t>(sequence % 200 + 1);
  std::fill_n(frame.bytes, frame.byteCount, static_cast<std::uint8_t>(sequence));
  return frame;
}

bool whole(const TracedFrame& frame) {
  if (frame.byteCount != frame.sequence % 200 + 1) return false;
  for (const std::uint8_t byte : frame.kept()) {
    if (byte != static_cast<std::uint8_t>(frame.sequence)) return false;
  }
  return true;
}

TEST(FrameTrace, KeepsTheLastFramesInOrderAndHandsOutThoseAfterASequence) {
  FrameTrace trace(5);
  EXPECT_EQ(trace.memoryBytes(), 5 * sizeof(TracedFrame));
  std::vector<TracedFrame> out;
  EXPECT_EQ(trace.copySince(0, out), 0u);
  std::vector<std::uint64_t> heard;
  trace.setListener([&](const TracedFrame& frame) { heard.push_back(frame.sequence); });
  for (std::uint64_t s = 1; s <= 12; ++s) trace.record(marked(s));
  EXPECT_EQ(trace.lastSequence(), 12u);
  EXPECT_EQ(heard.size(), 12u);
  EXPECT_EQ(heard.back(), 12u);

  const auto sequences = [&](std::uint64_t after, std::size_t limit = SIZE_MAX) {
    out.clear();
    trace.copySince(after, out, limit);
    std::vector<std::uint64_t> got;
    for (const TracedFrame& frame : out) {
      EXPECT_TRUE(whole(frame)) << frame.sequence;
      got.push_back(frame.sequence);
    }
    return got;
  };
  EXPECT_EQ(sequences(0), (std::vector<std::uint64_t>{8, 9, 10, 11, 12}));
  EXPECT_EQ(sequences(10), (std::vector<std::uint64_t>{11, 12}));
  EXPECT_EQ(sequences(12), (std::vector<std::uint64_t>{}));
  EXPECT_EQ(sequences(3, 2), (std::vector<std::uint64_t>{8, 9}));
}

// The master's thread records while a window's thread copies: every frame a
// reader gets is whole, and none comes twice or out of order.
TEST(FrameTrace, AReaderOnAnotherThreadGetsWholeFramesInSequence) {
  constexpr std::uint64_t kFrames = 200'000;
  FrameTrace trace(300);
  std::atomic<bool> done{false};
  std::thread writer([&] {
    for (std::uint64_t s = 1; s <= kFrames; ++s) trace.record(marked(s));
    done = true;
  });
  std::uint64_t last = 0;
  std::uint64_t taken = 0;
  bool wholeAndInOrder = true;
  std::vector<TracedFrame> out;
  for (bool finished = false; !finished;) {
    finished = done.load();
    out.clear();
    trace.copySince(last, out);
    for (const TracedFrame& frame : out) {
      wholeAndInOrder = wholeAndInOrder && whole(frame) && frame.sequence > last;
      last = frame.sequence;
      ++taken;
    }
  }
  writer.join();
  EXPECT_TRUE(wholeAndInOrder);
  EXPECT_EQ(last, kFrames);
  EXPECT_GT(taken, 0u);
}

}  // namespace
}  // namespace vs
