#include <gtest/gtest.h>
#include <poll.h>
#include <unistd.h>

#include <atomic>
#include <future>

#include "link/serial_port.h"
#include "scripted_slave.h"

namespace vs::test {
namespace {

using namespace std::chrono_literals;

// A read of register 1 on slave 1 and replies to it.
const Bytes kRead = withCrc({0x01, 0x03, 0x00, 0x00, 0x00, 0x01});
Bytes answer(std::uint8_t high, std::uint8_t low) { return withCrc({0x01, 0x03, 0x02, high, low}); }
Bytes withBadCrc(Bytes frame) {
  frame.back() ^= 0xFF;
  return frame;
}

class RtuTransaction : public MasterOnPty {
 protected:
  int readOne(std::int16_t* value) { return master.readHoldingRegisters(1, 1, value, 1); }
};

TEST_F(RtuTransaction, ArgumentsOutOfRangeSendNothing) {
  std::int16_t regs[126];
  std::fill_n(regs, 126, 7);
  EXPECT_EQ(master.readHoldingRegisters(1, 1, regs, 126), MODBUS_BAD_ARGUMENT);
  EXPECT_EQ(regs[0], 0);
  EXPECT_EQ(regs[125], 0);
  EXPECT_EQ(master.readHoldingRegisters(0, 1, regs, 1), MODBUS_BAD_ARGUMENT);
  EXPECT_EQ(master.readHoldingRegisters(256, 1, regs, 1), MODBUS_BAD_ARGUMENT);
  EXPECT_EQ(master.readHoldingRegisters(1, 0, regs, 1), MODBUS_BAD_ARGUMENT);
  EXPECT_EQ(master.readHoldingRegisters(1, 65537, regs, 1), MODBUS_BAD_ARGUMENT);
  EXPECT_EQ(master.writeMultipleRegisters(1, 1, regs, 101), MODBUS_BAD_ARGUMENT);
  std::int32_t bits[2001] = {};
  EXPECT_EQ(master.readCoils(1, 1, bits, 2001), MODBUS_BAD_ARGUMENT);
  EXPECT_EQ(master.writeMultipleCoils(1, 1, bits, 801), MODBUS_BAD_ARGUMENT);
  EXPECT_EQ(master.readHoldingRegisters32(1, 1, bits, 63), MODBUS_BAD_ARGUMENT);
  EXPECT_EQ(master.writeMultipleRegisters32(1, 1, bits, 51), MODBUS_BAD_ARGUMENT);
  EXPECT_EQ(master.writeMultipleRegisters32(1, 1, bits, 66), MODBUS_BAD_ARGUMENT);
  // 32768 x 10000 does not fit the upper register: refused, not wrapped.
  const std::int32_t tooLarge = 327680000;
  EXPECT_EQ(master.writeMultipleMod10000(1, 1, &tooLarge, 1), MODBUS_BAD_ARGUMENT);
  EXPECT_EQ(master.requestCount(), 0);
  EXPECT_TRUE(lineQuiet());
}

TEST_F(RtuTransaction, BroadcastsAreWrittenAndNeverAnswered) {
  // The read follows at once: the broadcast must not be lost to its purge.
  ScriptedSlave slave(line, 8, {{}, {answer(0, 9)}});
  EXPECT_EQ(master.writeSingleRegister(0, 144, 4660), MODBUS_OK);
  std::int16_t value = 0;
  EXPECT_EQ(readOne(&value), MODBUS_OK);
  EXPECT_EQ(value, 9);
  EXPECT_EQ(slave.requests().at(0), withCrc({0x00, 0x06, 0x00, 0x8F, 0x12, 0x34}));
  EXPECT_EQ(slave.requests().at(1), kRead);
  EXPECT_EQ(master.successCount(), 2);

  // A reply check that would fail for a slave passes for a broadcast.
  const std::int16_t values[2] = {1, 2};
  ScriptedSlave second(line, 13, std::vector<Reply>(1));
  EXPECT_EQ(master.writeMultipleRegisters(0, 1, values, 2), MODBUS_OK);
  EXPECT_EQ(second.requests().size(), 1u);
}

TEST_F(RtuTransaction, CorruptRepliesAreRetriedThenReported) {
  reopen(2000, 3);
  ScriptedSlave slave(line, kRead.size(), std::vector<Reply>(4, {withBadCrc(answer(0, 1))}));
  std::int16_t value = 0;
  EXPECT_EQ(readOne(&value), MODBUS_CRC_ERROR);
  EXPECT_EQ(slave.requests().size(), 4u);
  EXPECT_EQ(master.requestCount(), 4);
  EXPECT_EQ(master.successCount(), 0);
  EXPECT_TRUE(lineQuiet());
}

TEST_F(RtuTransaction, RepliesFromAnotherSlaveOrFunctionAreMismatches) {
  reopen(2000, 1);
  ScriptedSlave slave(
      line, kRead.size(),
      {{withCrc({0x02, 0x03, 0x02, 0x00, 0x01})}, {withCrc({0x01, 0x04, 0x02, 0x00, 0x01})}});
  std::int16_t value = 0;
  EXPECT_EQ(readOne(&value), MODBUS_ADDRESS_MISMATCH);
  EXPECT_EQ(slave.requests().size(), 2u);
}

TEST_F(RtuTransaction, ExceptionRepliesReturnAtOnce) {
  reopen(2000, 3);
  ScriptedSlave slave(line, kRead.size(), {{withCrc({0x01, 0x83, 0x02})}});
  std::int16_t value = 0;
  EXPECT_EQ(readOne(&value), MODBUS_EXCEPTION_BASE | 2);
  EXPECT_EQ(slave.requests().size(), 1u);
  EXPECT_TRUE(lineQuiet());
}

TEST_F(RtuTransaction, NoReplyTimesOutAfterEveryAttempt) {
  reopen(100, 2);
  ScriptedSlave slave(line, kRead.size(), std::vector<Reply>(3));
  std::int16_t value = 0;
  EXPECT_EQ(readOne(&value), MODBUS_REPLY_TIMEOUT);
  EXPECT_EQ(slave.requests().size(), 3u);
  EXPECT_TRUE(lineQuiet());
}

TEST_F(RtuTransaction, AReplyTricklingInByteByByteDecodesOnce) {
  ScriptedSlave slave(line, kRead.size(), {{answer(0x01, 0x02), true}});
  std::int16_t value = 0;
  EXPECT_EQ(readOne(&value), MODBUS_OK);
  EXPECT_EQ(value, 0x0102);
  EXPECT_EQ(master.requestCount(), 1);
  EXPECT_EQ(master.successCount(), 1);
}

// Each of these leaves stale bytes on the line; the next request must get its
// own answer (0x0777), never the stale one.
TEST_F(RtuTransaction, StaleBytesNeverAnswerALaterRequest) {
  std::int16_t value = 0;
  {
    SCOPED_TRACE("garbage before the request");
    line.write({0x01, 0x03, 0x02, 0x0B, 0xAD});
    ASSERT_TRUE(watch.waitFor(5));
    ScriptedSlave slave(line, kRead.size(), {{answer(0x07, 0x77)}});
    EXPECT_EQ(readOne(&value), MODBUS_OK);
    EXPECT_EQ(value, 0x0777);
  }
  {
    SCOPED_TRACE("a corrupt frame followed at once by a good one");
    Bytes both = withBadCrc(answer(0x0B, 0xAD));
    const Bytes good = answer(0x0B, 0xAD);
    both.insert(both.end(), good.begin(), good.end());
    ScriptedSlave first(line, kRead.size(), {{both}});
    EXPECT_EQ(readOne(&value), MODBUS_CRC_ERROR);
    first.requests();
    ASSERT_TRUE(watch.waitFor(static_cast<int>(good.size())));
    ScriptedSlave second(line, kRead.size(), {{answer(0x07, 0x77)}});
    EXPECT_EQ(readOne(&value), MODBUS_OK);
    EXPECT_EQ(value, 0x0777);
  }
  {
    SCOPED_TRACE("a reply arriving after the time-out");
    ScriptedSlave silent(line, kRead.size(), std::vector<Reply>(1));
    EXPECT_EQ(readOne(&value), MODBUS_REPLY_TIMEOUT);
    silent.requests();
    line.write(answer(0x0B, 0xAD));
    ASSERT_TRUE(watch.waitFor(7));
    ScriptedSlave slave(line, kRead.size(), {{answer(0x07, 0x77)}});
    EXPECT_EQ(readOne(&value), MODBUS_OK);
    EXPECT_EQ(value, 0x0777);
  }
  {
    SCOPED_TRACE("a truncated reply whose last byte comes late");
    const Bytes stale = answer(0x0B, 0xAD);
    ScriptedSlave truncated(line, kRead.size(), {{Bytes(stale.begin(), stale.end() - 1)}});
    EXPECT_EQ(readOne(&value), MODBUS_REPLY_TIMEOUT);
    EXPECT_EQ(value, 0);
    truncated.requests();
    line.write({stale.back()});
    ASSERT_TRUE(watch.waitFor(1));
    ScriptedSlave slave(line, kRead.size(), {{answer(0x07, 0x77)}});
    EXPECT_EQ(readOne(&value), MODBUS_OK);
    EXPECT_EQ(value, 0x0777);
  }
}

TEST_F(RtuTransaction, ALineThatNeverGoesQuietFailsTheSendWithinTheTimeout) {
  // At 50 baud the line must stay quiet for 880 ms before a request may go
  // out: far longer than the chatter could stall, however busy the machine.
  master.close();
  ASSERT_EQ(master.setTimeout(300), MODBUS_OK);
  ASSERT_EQ(master.setRetries(3), MODBUS_OK);
  ASSERT_EQ(master.open(line.path(), 50), MODBUS_OK);
  std::atomic<bool> stop{false};
  auto chatter = std::async(std::launch::async, [&] {
    const Bytes noise(256, 0x55);
    while (!stop) {
      pollfd room{line.masterFd(), POLLOUT, 0};
      if (::poll(&room, 1, 10) > 0) {
        [[maybe_unused]] const ssize_t n = ::write(line.masterFd(), noise.data(), noise.size());
      }
    }
  });
  std::int16_t value = 0;
  const int result = readOne(&value);
  stop = true;
  chatter.get();
  EXPECT_EQ(result, MODBUS_SEND_TIMEOUT);
  EXPECT_EQ(master.requestCount(), 1);
  EXPECT_TRUE(lineQuiet());  // the request never went out
}

TEST_F(RtuTransaction, AHangUpEndsTheCycleWithAnIoError) {
  // A wait for the time-out would end in MODBUS_REPLY_TIMEOUT instead.
  reopen(60000, 3);
  ScriptedSlave slave(line, kRead.size(), {{{}, false, true}});
  std::int16_t value = 0;
  EXPECT_EQ(readOne(&value), MODBUS_IO_ERROR);
  EXPECT_EQ(slave.requests().size(), 1u);
  EXPECT_EQ(readOne(&value), MODBUS_IO_ERROR);
}

TEST_F(RtuTransaction, RtsTurnaroundAndPollSpacingStillCarryTheExchange) {
  master.close();
  ASSERT_EQ(master.setRtsDelay(2), MODBUS_OK);
  ASSERT_EQ(master.setPollDelay(20), MODBUS_OK);
  ASSERT_EQ(master.open(line.path(), 9600), MODBUS_OK);
  ScriptedSlave slave(line, kRead.size(), {{answer(0, 1)}, {answer(0, 2)}});
  std::int16_t value = 0;
  EXPECT_EQ(readOne(&value), MODBUS_OK);
  EXPECT_EQ(readOne(&value), MODBUS_OK);
  EXPECT_EQ(value, 2);
}

TEST(RtuMasterSettings, SilenceIntervalFollowsTheBaudRate) {
  const std::pair<int, int> expected[] = {{1200, 37}, {2400, 19}, {4800, 10},
                                          {9600, 5},  {14400, 4}, {19200, 3},
                                          {38400, 2}, {57600, 1}, {115200, 1}};
  for (const auto& [baud, ms] : expected) {
    EXPECT_EQ(ModbusRtuMaster::silenceIntervalFor(baud), ms) << baud;
  }
  PtyPair line;
  ModbusRtuMaster master;
  EXPECT_EQ(master.open(line.path(), 1200, 7, 1, 0), MODBUS_BAD_ARGUMENT);
  EXPECT_FALSE(master.isOpen());
  EXPECT_EQ(master.silenceInterval(), 37);
  ASSERT_EQ(master.open(line.path(), 57600), MODBUS_OK);
  EXPECT_EQ(master.silenceInterval(), 1);
}

TEST(RtuMasterSettings, SettersCheckTheRangeThenTheState) {
  PtyPair line;
  ModbusRtuMaster master;
  EXPECT_EQ(master.setTimeout(0), MODBUS_BAD_ARGUMENT);
  EXPECT_EQ(master.setTimeout(100001), MODBUS_BAD_ARGUMENT);
  EXPECT_EQ(master.setPollDelay(-1), MODBUS_BAD_ARGUMENT);
  EXPECT_EQ(master.setRetries(11), MODBUS_BAD_ARGUMENT);
  EXPECT_EQ(master.setRtsDelay(100001), MODBUS_BAD_ARGUMENT);
  EXPECT_EQ(master.timeout(), 1000);
  std::int16_t value = 0;
  EXPECT_EQ(master.readHoldingRegisters(1, 1, &value, 1), MODBUS_WRONG_STATE);

  ASSERT_EQ(master.open(line.path(), 9600), MODBUS_OK);
  EXPECT_EQ(master.open(line.path(), 9600), MODBUS_WRONG_STATE);
  EXPECT_EQ(master.setRetries(11), MODBUS_BAD_ARGUMENT);
  EXPECT_EQ(master.setRetries(3), MODBUS_WRONG_STATE);
  EXPECT_EQ(master.setTimeout(500), MODBUS_WRONG_STATE);
  EXPECT_EQ(master.setPollDelay(0), MODBUS_WRONG_STATE);
  EXPECT_EQ(master.setRtsDelay(0), MODBUS_WRONG_STATE);
  EXPECT_EQ(master.retries(), 0);
  master.close();
  EXPECT_EQ(master.setRetries(3), MODBUS_OK);
}

TEST(RtuMasterSettings, OpenFailuresNameTheirCause) {
  PtyPair line;
  SerialPort holder;
  ASSERT_EQ(holder.open(line.path()), SERIAL_OK);
  ModbusRtuMaster master;
  EXPECT_EQ(master.open(line.path(), 9600), MODBUS_PORT_IN_USE);
  EXPECT_EQ(master.open("/dev/valvescope-no-such-port", 9600), MODBUS_PORT_OPEN_FAILED);
  EXPECT_FALSE(master.isOpen());
  holder.close();
  // A line setting the device refuses leaves the port open for the caller to close.
  EXPECT_EQ(master.open(line.path(), 9600, 8, 1, 2), MODBUS_BAD_ARGUMENT);
  EXPECT_TRUE(master.isOpen());
}

}  // namespace
}  // namespace vs::test
