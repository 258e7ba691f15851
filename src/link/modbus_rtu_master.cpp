#include "link/modbus_rtu_master.h"

#include <chrono>
#include <cmath>
#include <cstring>
#include <thread>

#include "link/crc16.h"

namespace vs {
namespace {

constexpr int kReplyHeadLength = 5;  // address, function, three more bytes
constexpr std::uint8_t kExceptionFlag = 0x80;

int transferResult(int serialResult, int timeoutResult) {
  return serialResult == SERIAL_TIMEOUT ? timeoutResult : MODBUS_IO_ERROR;
}

}  // namespace

int ModbusRtuMaster::silenceIntervalFor(int baudRate) {
  if (baudRate <= 0) return 1;
  // Rounded to nearest, ties to even (the default rounding mode).
  const double ms = std::nearbyint(11000.0 / baudRate * 4 + 0.5);
  return ms <= 1 ? 1 : static_cast<int>(ms);
}

int ModbusRtuMaster::open(const std::string& portName, int baudRate) {
  return open(portName, baudRate, 8, 1, 0);
}

int ModbusRtuMaster::open(const std::string& portName, int baudRate, int dataBits, int stopBits,
                          int parity) {
  silenceInterval_ = silenceIntervalFor(baudRate);
  if (dataBits != 8) return MODBUS_BAD_ARGUMENT;
  return ModbusSerialMaster::open(portName, baudRate, dataBits, stopBits, parity);
}

// Discards whatever is still on the line (a late or overlong reply, noise)
// until it has been quiet for one silence interval. A line that never goes
// quiet within the time-out fails the cycle rather than holding the caller.
int ModbusRtuMaster::waitForSilence() {
  DeadlineTimer limit;
  limit.setFromNow(timeout_);
  std::uint8_t discarded = 0;
  for (;;) {
    const int result = port_.read(&discarded, 1, silenceInterval_);
    if (result == SERIAL_TIMEOUT) return MODBUS_OK;
    if (result != SERIAL_OK) return MODBUS_IO_ERROR;
    recorder_.stray(&discarded, 1);
    if (DeadlineTimer::now() >= limit.ticks()) return MODBUS_SEND_TIMEOUT;
  }
}

// The purge would throw a late reply away unseen: with a trace, whatever has
// arrived is taken first, which costs one read that does not wait.
void ModbusRtuMaster::discardInput() {
  if (recorder_.on()) {
    std::uint8_t pending[kFrameSize];
    int got = 0;
    port_.readPending(pending, kFrameSize, &got);
    recorder_.stray(pending, got);
  }
  port_.purgeInput();
}

int ModbusRtuMaster::transactOnce(int slave, int function, const std::uint8_t* request,
                                  int requestLength, std::uint8_t* reply, int replyLength) {
  ++requestCount_;
  if (requestLength < 0 || requestLength + 4 > kFrameSize || replyLength + 4 > kFrameSize ||
      (requestLength > 0 && request == nullptr) || (replyLength > 0 && reply == nullptr)) {
    return MODBUS_BAD_ARGUMENT;
  }

  frame_[0] = static_cast<std::uint8_t>(slave);
  frame_[1] = static_cast<std::uint8_t>(function);
  if (requestLength > 0) std::memcpy(frame_ + 2, request, static_cast<std::size_t>(requestLength));
  const int crcAt = requestLength + 2;
  const std::uint16_t crc = crc16(frame_, static_cast<std::size_t>(crcAt));
  frame_[crcAt] = static_cast<std::uint8_t>(crc & 0xFF);
  frame_[crcAt + 1] = static_cast<std::uint8_t>(crc >> 8);
  recorder_.prepare(frame_, requestLength + 4);

  // Only what came in: the previous frame may still be on its way out where
  // drain cannot wait for it (a broadcast on a pty), and must not be cut off.
  discardInput();
  if (pollDelay_ > 0) nextSend_.sleepUntil();
  nextSend_.setFromNow(pollDelay_);
  const int quiet = waitForSilence();
  recorder_.flushStray();
  // Every attempt's outcome is traced: what arrived of the reply, and the
  // frame length waited for.
  const int expected = replyLength + 4;
  const auto outcome = [&](int result, int received, int expectedLength) {
    recorder_.reply(result, frame_, received, expectedLength);
    return result;
  };
  if (quiet != MODBUS_OK) return outcome(quiet, 0, expected);

  if (rtsControl_ != 0) port_.setRts();
  const int written = port_.write(frame_, requestLength + 4, timeout_);
  port_.drain();
  if (rtsControl_ != 0) {
    std::this_thread::sleep_for(std::chrono::milliseconds(rtsDelay_));
    port_.clearRts();
  }
  recorder_.sent(frame_, requestLength + 4);
  if (written != SERIAL_OK) return outcome(transferResult(written, MODBUS_SEND_TIMEOUT), 0, 0);

  if (slave == 0 || replyLength <= 0) {
    ++successCount_;
    return outcome(MODBUS_OK, 0, 0);
  }

  int head = 0;
  int got = port_.read(frame_, kReplyHeadLength, timeout_, &head);
  if (got != SERIAL_OK) return outcome(transferResult(got, MODBUS_REPLY_TIMEOUT), head, expected);
  int frameLength = kReplyHeadLength;
  if ((frame_[1] & kExceptionFlag) == 0 && replyLength + 4 > kReplyHeadLength) {
    int rest = 0;
    got = port_.read(frame_ + kReplyHeadLength, replyLength - 1, timeout_, &rest);
    if (got != SERIAL_OK) {
      return outcome(transferResult(got, MODBUS_REPLY_TIMEOUT), head + rest, expected);
    }
    frameLength = replyLength + 4;
  }

  const std::uint16_t computed = crc16(frame_, static_cast<std::size_t>(frameLength - 2));
  const std::uint16_t carried =
      static_cast<std::uint16_t>(frame_[frameLength - 2] | (frame_[frameLength - 1] << 8));
  if (carried != computed) return outcome(MODBUS_CRC_ERROR, frameLength, frameLength);
  if ((frame_[1] & ~kExceptionFlag) != function || frame_[0] != slave) {
    return outcome(MODBUS_ADDRESS_MISMATCH, frameLength, frameLength);
  }
  if ((frame_[1] & kExceptionFlag) != 0) {
    return outcome(MODBUS_EXCEPTION_BASE | frame_[2], frameLength, frameLength);
  }

  std::memcpy(reply, frame_ + 2, static_cast<std::size_t>(replyLength));
  ++successCount_;
  return outcome(MODBUS_OK, frameLength, frameLength);
}

}  // namespace vs
