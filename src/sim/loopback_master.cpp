#include "sim/loopback_master.h"

#include <algorithm>
#include <cstring>
#include <thread>

#include "link/crc16.h"
#include "link/modbus_rtu_master.h"

namespace vs::sim {
namespace {

constexpr int kReplyHeadLength = 5;
constexpr std::uint8_t kExceptionFlag = 0x80;

}  // namespace

void LoopbackMaster::paceAt(int baud, Pause pause) {
  using std::chrono::nanoseconds;
  charTime_ = baud > 0 ? nanoseconds(10'000'000'000LL / baud) : nanoseconds(0);
  silence_ = baud > 0 ? std::chrono::milliseconds(ModbusRtuMaster::silenceIntervalFor(baud))
                      : nanoseconds(0);
  pause_ = baud > 0 ? std::move(pause) : Pause();
}

void LoopbackMaster::sleep(std::chrono::nanoseconds duration) {
  std::this_thread::sleep_for(duration);
}

int LoopbackMaster::open() {
  if (open_) return MODBUS_WRONG_STATE;
  open_ = true;
  return MODBUS_OK;
}

int LoopbackMaster::transact(int slave, int function, const std::uint8_t* request,
                             int requestLength, std::uint8_t* reply, int replyLength) {
  if (!open_) return MODBUS_WRONG_STATE;
  for (int attemptsLeft = retries_, attempt = 1;; --attemptsLeft, ++attempt) {
    recorder_.setAttempt(attempt);
    const int result = transactOnce(slave, function, request, requestLength, reply, replyLength);
    if (pause_) pause_(lineTime_);
    const bool retryable = result == MODBUS_CRC_ERROR || result == MODBUS_ADDRESS_MISMATCH ||
                           result == MODBUS_REPLY_TIMEOUT;
    if (!retryable || attemptsLeft <= 0) return result;
  }
}

int LoopbackMaster::transactOnce(int slave, int function, const std::uint8_t* request,
                                 int requestLength, std::uint8_t* reply, int replyLength) {
  ++requestCount_;
  lineTime_ = std::chrono::nanoseconds(0);
  if (requestLength < 0 || requestLength + 4 > kFrameSize || replyLength + 4 > kFrameSize) {
    return MODBUS_BAD_ARGUMENT;
  }
  const auto now = controller_.now();
  const auto timeout = std::chrono::milliseconds(timeout_);
  const int expected = replyLength + 4;
  const auto micros = [](std::chrono::nanoseconds d) {
    return std::chrono::duration_cast<std::chrono::microseconds>(d).count();
  };

  frame_[0] = static_cast<std::uint8_t>(slave);
  frame_[1] = static_cast<std::uint8_t>(function);
  if (requestLength > 0) std::memcpy(frame_ + 2, request, static_cast<std::size_t>(requestLength));
  const std::uint16_t crc = crc16(frame_, static_cast<std::size_t>(requestLength + 2));
  frame_[requestLength + 2] = static_cast<std::uint8_t>(crc & 0xFF);
  frame_[requestLength + 3] = static_cast<std::uint8_t>(crc >> 8);
  recorder_.prepare(frame_, requestLength + 4);

  // The line must fall quiet before the request goes out; the RTU master
  // gives up waiting after its time-out.
  lineTime_ = timeout;
  if (lineBusyUntil_ - now > timeout) {
    recorder_.reply(MODBUS_SEND_TIMEOUT, nullptr, 0, expected, micros(timeout));
    return MODBUS_SEND_TIMEOUT;
  }
  const auto requestTime = silence_ + charTime_ * (requestLength + 4);
  // Until a whole reply is in, the master waits out its time-out.
  lineTime_ = requestTime + timeout;
  recorder_.sent(frame_, requestLength + 4);
  Transmission line = slave_.respond(frame_, static_cast<std::size_t>(requestLength + 4));

  if (slave == 0 || replyLength <= 0) {
    lineTime_ = requestTime;
    ++successCount_;
    recorder_.reply(MODBUS_OK, nullptr, 0, 0, 0);
    return MODBUS_OK;
  }
  if (line.babble.count() > 0) {
    // What the master reads is the noise of a device that will not stop.
    lineBusyUntil_ = now + line.delay + line.babble;
    while (line.bytes.size() < static_cast<std::size_t>(replyLength + 4)) {
      line.bytes.push_back(controller_.faults().noiseByte());
    }
  }
  const auto& bytes = line.bytes;
  const auto received = [&](std::size_t upTo) {
    return static_cast<int>(std::min(bytes.size(), upTo));
  };
  const auto timedOut = [&](int got) {
    recorder_.reply(MODBUS_REPLY_TIMEOUT, bytes.data(), got, expected, micros(timeout));
    return MODBUS_REPLY_TIMEOUT;
  };
  if (line.delay >= timeout) return timedOut(0);
  if (bytes.size() < kReplyHeadLength) return timedOut(received(kReplyHeadLength));
  std::size_t frameLength = kReplyHeadLength;
  if ((bytes[1] & kExceptionFlag) == 0 && replyLength + 4 > kReplyHeadLength) {
    frameLength = static_cast<std::size_t>(replyLength + 4);
    if (bytes.size() < frameLength) return timedOut(received(frameLength));
  }
  const auto replyTime = charTime_ * 7 / 2 + line.delay + charTime_ * static_cast<long>(frameLength);
  lineTime_ = requestTime + replyTime;
  const auto outcome = [&](int result) {
    recorder_.reply(result, bytes.data(), static_cast<int>(frameLength),
                    static_cast<int>(frameLength), micros(replyTime));
    return result;
  };
  if (crc16(bytes.data(), frameLength) != 0) return outcome(MODBUS_CRC_ERROR);
  if ((bytes[1] & ~kExceptionFlag) != function || bytes[0] != slave) {
    return outcome(MODBUS_ADDRESS_MISMATCH);
  }
  if ((bytes[1] & kExceptionFlag) != 0) return outcome(MODBUS_EXCEPTION_BASE | bytes[2]);
  std::copy_n(bytes.begin() + 2, replyLength, reply);
  ++successCount_;
  return outcome(MODBUS_OK);
}

}  // namespace vs::sim
