#include "sim/frame_assembler.h"

#include <gtest/gtest.h>

#include <string>

#include "support/rtu_frames.h"

namespace vs::sim {
namespace {

using std::chrono::milliseconds;
using test::Bytes;
using TimePoint = FrameAssembler::TimePoint;

class SimFraming : public ::testing::Test {
 protected:
  void push(const Bytes& bytes) { assembler.push(bytes.data(), bytes.size(), now); }
  void push(const std::string& text) {
    assembler.push(reinterpret_cast<const std::uint8_t*>(text.data()), text.size(), now);
  }
  // Everything that can be told now, as "F:<size>" and "S:<bytes>" entries.
  std::string pieces() {
    std::string out;
    while (auto piece = assembler.next(now)) {
      if (piece->frame) {
        out += "F:" + std::to_string(piece->bytes.size()) + " ";
      } else {
        out += "S:" + std::string(piece->bytes.begin(), piece->bytes.end()) + " ";
      }
    }
    return out;
  }

  TimePoint now{};
  FrameAssembler assembler{FrameAssembler::Duration::zero(), milliseconds(50)};
};

TEST_F(SimFraming, FindsFramesByLayoutAndCrcWithoutWaitingForSilence) {
  const Bytes read = test::readRequest(1, 12, 20);
  const Bytes write = test::writeMultipleRequest(1, 200, {1, 2, 3});
  push(Bytes(read.begin(), read.begin() + 3));
  EXPECT_EQ(pieces(), "");
  push(Bytes(read.begin() + 3, read.end()));
  push(Bytes(write.begin(), write.begin() + 6));  // too short yet to know its length
  EXPECT_EQ(pieces(), "F:8 ");
  push(Bytes(write.begin() + 6, write.end()));
  EXPECT_EQ(pieces(), "F:15 ");
  EXPECT_FALSE(assembler.settlesAt());
}

TEST_F(SimFraming, PassesOverNoiseInFrontOfAFrame) {
  Bytes line = {0x00, 0x03, 0x77, 0xFF};
  const Bytes read = test::readRequest(1, 28, 2);
  line.insert(line.end(), read.begin(), read.end());
  push(line);
  EXPECT_EQ(pieces(), std::string("S:") + std::string(line.begin(), line.begin() + 4) + " F:8 ");
}

TEST_F(SimFraming, TextOutsideFramesIsSettledWhenTheLineFallsSilent) {
  push(std::string("OUT"));
  EXPECT_EQ(pieces(), "");
  ASSERT_TRUE(assembler.settlesAt());
  now = *assembler.settlesAt();
  EXPECT_EQ(pieces(), "S:OUT ");
}

TEST_F(SimFraming, AFrameCutShortGivesWayToTheNextOneAfterSilence) {
  const Bytes read = test::readRequest(1, 12, 20);
  push(Bytes(read.begin(), read.begin() + 5));
  EXPECT_EQ(pieces(), "");
  now += milliseconds(1000);
  EXPECT_EQ(pieces().substr(0, 2), "S:");
  push(read);
  EXPECT_EQ(pieces(), "F:8 ");
}

TEST_F(SimFraming, AnUnknownFunctionCodeIsAFrameWhenItsCrcHoldsAtSilence) {
  push(test::withCrc({1, 0x41, 9, 9}));
  EXPECT_EQ(pieces(), "");
  now += milliseconds(50);
  EXPECT_EQ(pieces(), "F:6 ");
}

TEST_F(SimFraming, OnAPacedLineAFrameEndsOneCharacterTimePerByteAfterItArrives) {
  const auto charTime = std::chrono::microseconds(1146);  // 11 bits at 9600 baud
  FrameAssembler paced(charTime, milliseconds(50));
  const Bytes read = test::readRequest(1, 12, 20);
  paced.push(read.data(), read.size(), now);
  const auto frame = paced.next(now);
  ASSERT_TRUE(frame && frame->frame);
  EXPECT_EQ(frame->end, now + 8 * charTime);
  EXPECT_EQ(paced.settlesAt(), std::nullopt);

  paced.push(read.data(), 3, now);  // a second burst queues behind the first's line time
  paced.push(read.data() + 3, 5, now + charTime);
  EXPECT_EQ(paced.next(now)->end, now + 8 * charTime);
}

}  // namespace
}  // namespace vs::sim
