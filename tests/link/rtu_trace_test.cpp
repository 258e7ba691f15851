// The master's frame trace on a real pty: what each attempt put on the line
// and got back, as it was.

#include <gtest/gtest.h>

#include "link/frame_trace.h"
#include "scripted_slave.h"

namespace vs::test {
namespace {

using namespace std::chrono_literals;

const Bytes kRead = withCrc({0x01, 0x03, 0x00, 0x00, 0x00, 0x01});
const Bytes kAnswer = withCrc({0x01, 0x03, 0x02, 0x00, 0x09});

Bytes bytesOf(const TracedFrame& frame) {
  const auto kept = frame.kept();
  return {kept.begin(), kept.end()};
}

class TracedMaster : public MasterOnPty {
 protected:
  void SetUp() override {
    MasterOnPty::SetUp();
    master.setFrameTrace(&trace);
  }
  int readOne() {
    std::int16_t value = 0;
    return master.readHoldingRegisters(1, 1, &value, 1);
  }
  std::vector<TracedFrame> frames() {
    std::vector<TracedFrame> out;
    trace.copySince(taken, out);
    if (!out.empty()) taken = out.back().sequence;
    return out;
  }

  FrameTrace trace;
  std::uint64_t taken = 0;
};

TEST_F(TracedMaster, EveryAttemptIsItsRequestAndWhatCameBack) {
  reopen(300, 3);
  Bytes corrupt = kAnswer;
  corrupt.back() ^= 0xFF;
  const Bytes fromSlave2 = withCrc({0x02, 0x03, 0x02, 0x00, 0x09});
  ScriptedSlave slave(line, kRead.size(),
                      {{corrupt}, {{0x01, 0x03, 0x02}}, {fromSlave2}, {kAnswer}});
  EXPECT_EQ(readOne(), MODBUS_OK);
  // Tracing changes nothing on the line.
  EXPECT_EQ(slave.requests(), std::vector<Bytes>(4, kRead));

  const auto got = frames();
  ASSERT_EQ(got.size(), 8u);
  const int results[] = {MODBUS_CRC_ERROR, MODBUS_REPLY_TIMEOUT, MODBUS_ADDRESS_MISMATCH,
                         MODBUS_OK};
  const Bytes replies[] = {corrupt, {0x01, 0x03, 0x02}, fromSlave2, kAnswer};
  for (int attempt = 1; attempt <= 4; ++attempt) {
    SCOPED_TRACE(attempt);
    const TracedFrame& sent = got[2 * attempt - 2];
    const TracedFrame& back = got[2 * attempt - 1];
    EXPECT_EQ(sent.direction, FrameDirection::Request);
    EXPECT_EQ(bytesOf(sent), kRead);
    EXPECT_EQ(sent.attempt, attempt);
    EXPECT_EQ(back.direction, FrameDirection::Reply);
    EXPECT_EQ(back.attempt, attempt);
    EXPECT_EQ(back.result, results[attempt - 1]);
    EXPECT_EQ(bytesOf(back), replies[attempt - 1]);
    EXPECT_EQ(back.expectedLength, 7);
    EXPECT_EQ(Bytes(back.request, back.request + back.requestLength),
              Bytes(kRead.begin(), kRead.end() - 2));
    EXPECT_GE(back.latencyMicros, 0);
    EXPECT_GE(back.steadyMicros - sent.steadyMicros, back.latencyMicros);
  }
  // The short reply waited out the time-out; the others came at once.
  EXPECT_GE(got[3].latencyMicros, 300'000);
  EXPECT_LT(got[7].latencyMicros, 300'000);
}

// A reply after the time-out is taken before the next request's purge and
// kept for what it is; the next exchange goes on as without a trace.
TEST_F(TracedMaster, AReplyAfterItsTimeOutIsKeptAsStrayBytes) {
  reopen(200, 0);
  {
    ScriptedSlave silent(line, kRead.size(), std::vector<Reply>(1));
    EXPECT_EQ(readOne(), MODBUS_REPLY_TIMEOUT);
  }
  line.write(kAnswer);
  ASSERT_TRUE(watch.waitFor(static_cast<int>(kAnswer.size())));
  ScriptedSlave slave(line, kRead.size(), {{kAnswer}});
  EXPECT_EQ(readOne(), MODBUS_OK);
  EXPECT_EQ(slave.requests().at(0), kRead);

  const auto got = frames();
  ASSERT_EQ(got.size(), 5u);
  EXPECT_EQ(got[1].result, MODBUS_REPLY_TIMEOUT);
  EXPECT_EQ(got[1].byteCount, 0u);
  EXPECT_EQ(got[2].direction, FrameDirection::Stray);
  EXPECT_EQ(bytesOf(got[2]), kAnswer);
  EXPECT_EQ(got[3].direction, FrameDirection::Request);
  EXPECT_EQ(got[4].result, MODBUS_OK);
}

}  // namespace
}  // namespace vs::test
