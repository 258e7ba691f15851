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
    if (DeadlineTimer::now() >= limit.ticks()) return MODBUS_SEND_TIMEOUT;
  }
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

  // Only what came in: the previous frame may still be on its way out where
  // drain cannot wait for it (a broadcast on a pty), and must not be cut off.
  port_.purgeInput();
  if (pollDelay_ > 0) nextSend_.sleepUntil();
  nextSend_.setFromNow(pollDelay_);
  const int quiet = waitForSilence();
  if (quiet != MODBUS_OK) return quiet;

  if (rtsControl_ != 0) port_.setRts();
  const int written = port_.write(frame_, requestLength + 4, timeout_);
  port_.drain();
  if (rtsControl_ != 0) {
    std::this_thread::sleep_for(std::chrono::milliseconds(rtsDelay_));
    port_.clearRts();
  }
  if (written != SERIAL_OK) return transferResult(written, MODBUS_SEND_TIMEOUT);

  if (slave == 0 || replyLength <= 0) {
    ++successCount_;
    return MODBUS_OK;
  }

  int got = port_.read(frame_, kReplyHeadLength, timeout_);
  if (got != SERIAL_OK) return transferResult(got, MODBUS_REPLY_TIMEOUT);
  int frameLength = kReplyHeadLength;
  if ((frame_[1] & kExceptionFlag) == 0 && replyLength + 4 > kReplyHeadLength) {
    got = port_.read(frame_ + kReplyHeadLength, replyLength - 1, timeout_);
    if (got != SERIAL_OK) return transferResult(got, MODBUS_REPLY_TIMEOUT);
    frameLength = replyLength + 4;
  }

  const std::uint16_t expected = crc16(frame_, static_cast<std::size_t>(frameLength - 2));
  const std::uint16_t carried =
      static_cast<std::uint16_t>(frame_[frameLength - 2] | (frame_[frameLength - 1] << 8));
  if (carried != expected) return MODBUS_CRC_ERROR;
  if ((frame_[1] & ~kExceptionFlag) != function || frame_[0] != slave) {
    return MODBUS_ADDRESS_MISMATCH;
  }
  if ((frame_[1] & kExceptionFlag) != 0) return MODBUS_EXCEPTION_BASE | frame_[2];

  std::memcpy(reply, frame_ + 2, static_cast<std::size_t>(replyLength));
  ++successCount_;
  return MODBUS_OK;
}

}  // namespace vs
