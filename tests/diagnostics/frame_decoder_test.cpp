#include "diagnostics/frame_decoder.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "link/master_result.h"
#include "support/rtu_frames.h"

namespace vs {
namespace {

using test::Bytes;
using test::withCrc;

TracedFrame traced(FrameDirection direction, const Bytes& bytes) {
  TracedFrame frame;
  frame.direction = direction;
  frame.attempt = 1;
  frame.byteCount = static_cast<std::uint32_t>(bytes.size());
  std::copy(bytes.begin(), bytes.end(), frame.bytes);
  return frame;
}

TracedFrame request(const Bytes& content) {
  return traced(FrameDirection::Request, withCrc(content));
}

// What one attempt got back for the request `asked` (without its CRC).
TracedFrame reply(const Bytes& asked, const Bytes& bytes, int result, int expectedLength = 0,
                  int latencyMicros = 12'500) {
  TracedFrame frame = traced(FrameDirection::Reply, bytes);
  frame.result = result;
  frame.latencyMicros = latencyMicros;
  frame.expectedLength = static_cast<std::uint16_t>(expectedLength);
  frame.requestLength = static_cast<std::uint8_t>(std::min<std::size_t>(asked.size(), 8));
  std::copy_n(asked.begin(), frame.requestLength, frame.request);
  return frame;
}

struct Case {
  const char* what;
  TracedFrame frame;
  FrameProblem problem;
  std::string summary;
};

void expectDecoded(const std::vector<Case>& cases) {
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const DecodedFrame decoded = decodeFrame(c.frame);
    EXPECT_EQ(decoded.summary, c.summary);
    EXPECT_EQ(decoded.problem, c.problem);
    EXPECT_EQ(frameProblem(c.frame), c.problem);
  }
}

// Every function code the master sends, with the registers' own names where
// the map has them and values signed and unsigned.
TEST(FrameDecoder, RequestsOfEveryFunctionCode) {
  const auto none = FrameProblem::None;
  const TracedFrame settings = request({0x01, 0x03, 0x00, 0x6F, 0x00, 0x16});
  // The frame's CRC as the protocol has it, low byte first.
  ASSERT_EQ(settings.bytes[6], 0xF4);
  ASSERT_EQ(settings.bytes[7], 0x19);
  expectDecoded({
      {"3", settings, none,
       "slave 1: read holding registers 112 stroke_gain to 133 min_pressure (22)"},
      {"3 live", request({0x01, 0x03, 0x00, 0x0B, 0x00, 0x14}), none,
       "slave 1: read holding registers 12 to 31 (20)"},
      {"1", request({0x01, 0x01, 0x00, 0x00, 0x00, 0x0A}), none, "slave 1: read coils 1 to 10 (10)"},
      {"2", request({0x07, 0x02, 0x00, 0x04, 0x00, 0x01}), none, "slave 7: read input 5"},
      {"4", request({0x01, 0x04, 0x00, 0x00, 0x00, 0x02}), none,
       "slave 1: read input registers 1 to 2 (2)"},
      {"5", request({0x01, 0x05, 0x00, 0x04, 0xFF, 0x00}), none, "slave 1: write coil 5 on"},
      {"6", request({0x01, 0x06, 0x00, 0x8F, 0x12, 0x34}), none,
       "slave 1: write register 144 save_data_command = 4660"},
      {"6 broadcast", request({0x00, 0x06, 0x00, 0x95, 0xF8, 0x30}), none,
       "broadcast: write register 150 sp_min = -2000 (63536)"},
      {"7", request({0x01, 0x07}), none, "slave 1: read exception status"},
      {"15", request({0x01, 0x0F, 0x00, 0x00, 0x00, 0x0A, 0x02, 0x05, 0x01}), none,
       "slave 1: write coils 1 to 10 (10): 1 0 1 0 0 0 0 0 1 0"},
      {"16", request({0x01, 0x10, 0x00, 0x6F, 0x00, 0x02, 0x04, 0x00, 0x01, 0xFF, 0xFB}), none,
       "slave 1: write registers 112 stroke_gain to 113 stroke_offset (2): 112 stroke_gain = 1, "
       "113 stroke_offset = -5 (65531)"},
      {"22", request({0x01, 0x16, 0x00, 0x04, 0x00, 0xF2, 0x00, 0x25}), none,
       "slave 1: mask write register 5: AND 0x00F2, OR 0x0025"},
      {"23", request({0x01, 0x17, 0x00, 0x00, 0x00, 0x02, 0x00, 0x02, 0x00, 0x01, 0x02, 0x00, 0x07}),
       none, "slave 1: read registers 1 to 2 (2) and write from 3: 3 = 7"},
      {"unknown", request({0x01, 0x2B, 0x0E, 0x01, 0x00}), none,
       "slave 1: function 43, 3 data bytes"},
  });
}

// Good replies carry their values; each kind of bad one says what was wrong.
TEST(FrameDecoder, RepliesGoodAndBad) {
  const Bytes read114 = {0x01, 0x03, 0x00, 0x71, 0x00, 0x02};
  const Bytes good = withCrc({0x01, 0x03, 0x04, 0x02, 0xD0, 0xFF, 0xFF});
  Bytes badCrc = good;
  badCrc.back() ^= 0xFF;
  const Bytes& asked = read114;
  const std::string what = "slave 1: read holding registers 114 o2_sp to 115 demand_gain (2)";
  TracedFrame retried = reply(asked, withCrc({0x02, 0x03, 0x04, 0, 1, 0, 2}), MODBUS_ADDRESS_MISMATCH);
  retried.attempt = 3;
  const Bytes write144 = {0x01, 0x06, 0x00, 0x8F, 0x12, 0x34};
  const Bytes write112 = {0x01, 0x10, 0x00, 0x6F, 0x00, 0x16, 0x2C};
  expectDecoded({
      {"good", reply(asked, good, MODBUS_OK, 9), FrameProblem::None,
       "slave 1 answered in 12.5 ms: 114 o2_sp = 720, 115 demand_gain = -1 (65535)"},
      {"exception", reply({0x01, 0x03, 0x01, 0x2B, 0x00, 0x02}, withCrc({0x01, 0x83, 0x02}), 0xA2, 5),
       FrameProblem::Exception,
       "slave 1 refused read holding registers 300 to 301 (2): exception 2, illegal data address"},
      {"crc", reply(asked, badCrc, MODBUS_CRC_ERROR, 9), FrameProblem::Crc,
       "CRC error (carries 0x3DFB, the bytes give 0xC2FB) in the reply to " + what},
      {"short", reply(asked, {0x01, 0x03, 0x04}, MODBUS_REPLY_TIMEOUT, 9, 1'000'400),
       FrameProblem::Short,
       "short reply, 3 of 9 bytes, then nothing within 1000.4 ms, to " + what},
      {"none", reply(asked, {}, MODBUS_REPLY_TIMEOUT, 9, 1'000'000), FrameProblem::NoReply,
       "no reply within 1000.0 ms to " + what},
      {"wrong slave", retried, FrameProblem::WrongSlave,
       "reply from slave 2 to " + what + " (retry 2)"},
      {"wrong function", reply(asked, withCrc({0x01, 0x04, 0x04, 0, 1, 0, 2}), MODBUS_ADDRESS_MISMATCH),
       FrameProblem::WrongFunction, "reply for function 4 (read input registers) to " + what},
      {"byte count", reply(asked, withCrc({0x01, 0x03, 0x02, 0, 1, 0, 2}), MODBUS_OK, 9),
       FrameProblem::BadContent,
       "slave 1 answered read holding registers 114 o2_sp to 115 demand_gain (2) with byte count "
       "2, expected 4"},
      {"echo", reply(write144, withCrc(write144), MODBUS_OK, 8), FrameProblem::None,
       "slave 1 answered in 12.5 ms: register 144 save_data_command = 4660 written"},
      {"wrong echo", reply(write144, withCrc({0x01, 0x06, 0x00, 0x8F, 0x00, 0x05}), MODBUS_OK, 8),
       FrameProblem::BadContent,
       "slave 1 answered write register 144 save_data_command = 4660 with echo 5 for 4660 sent"},
      {"16 echo", reply(write112, withCrc({0x01, 0x10, 0x00, 0x6F, 0x00, 0x16}), MODBUS_OK, 8),
       FrameProblem::None,
       "slave 1 answered in 12.5 ms: registers 112 stroke_gain to 133 min_pressure (22) written"},
      {"broadcast", reply({0x00, 0x06, 0x00, 0x8F, 0x12, 0x34}, {}, MODBUS_OK), FrameProblem::None,
       "no reply expected to broadcast: write register 144 save_data_command = 4660"},
      {"never sent", reply(asked, {}, MODBUS_SEND_TIMEOUT, 9, -1), FrameProblem::NotSent,
       "not sent, the line never fell quiet: " + what},
      {"port gone", reply(asked, {}, MODBUS_IO_ERROR, 9), FrameProblem::PortFailed,
       "the port failed: " + what},
  });
}

TEST(FrameDecoder, StrayBytesAreLateRepliesOrNoise) {
  expectDecoded({
      {"late", traced(FrameDirection::Stray, withCrc({0x01, 0x03, 0x04, 0x02, 0xD0, 0xFF, 0xFF})),
       FrameProblem::LateReply,
       "late reply from slave 1, function 3 (read holding registers), 9 bytes: it came after its "
       "exchange had given up"},
      {"noise", traced(FrameDirection::Stray, {0x55, 0xAA, 0x00}), FrameProblem::Noise,
       "3 stray bytes: noise, or the rest of a late reply"},
  });
  EXPECT_EQ(exceptionName(4), "slave device failure");
  EXPECT_EQ(functionName(23), "read/write multiple registers");
}

}  // namespace
}  // namespace vs
