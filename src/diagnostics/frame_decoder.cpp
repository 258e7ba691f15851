#include "diagnostics/frame_decoder.h"

#include <array>
#include <cstdio>

#include "link/crc16.h"
#include "link/master_result.h"
#include "registers/register_map.h"

namespace vs {
namespace {

constexpr std::uint8_t kExceptionFlag = 0x80;

int word(const std::uint8_t* p) { return (p[0] << 8) | p[1]; }

std::string number(int n) { return std::to_string(n); }

std::string hex4(int value) {
  char text[8];
  std::snprintf(text, sizeof text, "0x%04X", value & 0xFFFF);
  return text;
}

// A register value as the program takes it, signed, with the unsigned reading
// beside it where the two differ.
std::string valueText(int raw) {
  const int value = static_cast<std::int16_t>(raw & 0xFFFF);
  return value < 0 ? number(value) + " (" + number(raw & 0xFFFF) + ")" : number(value);
}

// "144 save_data_command" for a settings register, the number alone for others.
std::string registerText(int reg) {
  const int position = reg - kFirstSettingsRegister;
  if (position < 0 || position >= kSettingsRegisterCount) return number(reg);
  return number(reg) + " " + std::string(RegisterMap[static_cast<std::size_t>(position)]);
}

std::string rangeText(std::string_view what, int first, int count) {
  if (count == 1) return std::string(what) + " " + registerText(first);
  return std::string(what) + "s " + registerText(first) + " to " + registerText(first + count - 1) +
         " (" + number(count) + ")";
}

// "112 stroke_gain = 1, 113 stroke_offset = -5 (65531)"
std::string valuesText(int first, const std::uint8_t* data, int count) {
  std::string text;
  for (int i = 0; i < count; ++i) {
    if (i > 0) text += ", ";
    text += registerText(first + i) + " = " + valueText(word(data + 2 * i));
  }
  return text;
}

// Bits as "1 0 1", least significant bit of the first byte first.
std::string bitsText(const std::uint8_t* data, int count) {
  std::string text;
  for (int i = 0; i < count; ++i) {
    if (i > 0) text += ' ';
    text += ((data[i / 8] >> (i % 8)) & 1) != 0 ? '1' : '0';
  }
  return text;
}

std::string slaveText(int slave) { return slave == 0 ? "broadcast" : "slave " + number(slave); }

// What a request asks, from its content (address, function, data; no CRC) as
// far as it goes: a reply carries only the first eight bytes of its request.
std::string requestText(const std::uint8_t* f, int length) {
  if (length < 2) return "an empty request";
  const int function = f[1];
  const std::uint8_t* d = f + 2;
  const int n = length - 2;
  const std::string who = slaveText(f[0]) + ": ";
  const int first = n >= 2 ? word(d) + 1 : 0;
  const int count = n >= 4 ? word(d + 2) : 0;
  switch (function) {
    case 1:
    case 2:
      if (n < 4) break;
      return who + "read " + rangeText(function == 1 ? "coil" : "input", first, count);
    case 3:
    case 4:
      if (n < 4) break;
      return who + "read " + (function == 3 ? "holding " : "input ") +
             rangeText("register", first, count);
    case 5:
      if (n < 4) break;
      return who + "write coil " + number(first) + " " +
             (count == 0xFF00 ? "on" : count == 0 ? "off" : hex4(count));
    case 6:
      if (n < 4) break;
      return who + "write register " + registerText(first) + " = " + valueText(count);
    case 7: return who + "read exception status";
    case 15: {
      if (n < 4) break;
      std::string text = who + "write " + rangeText("coil", first, count);
      if (n >= 5 + (count + 7) / 8) text += ": " + bitsText(d + 5, count);
      return text;
    }
    case 16: {
      if (n < 4) break;
      std::string text = who + "write " + rangeText("register", first, count);
      if (n >= 5 + 2 * count) text += ": " + valuesText(first, d + 5, count);
      return text;
    }
    case 22:
      if (n < 6) break;
      return who + "mask write register " + registerText(first) + ": AND " + hex4(word(d + 2)) +
             ", OR " + hex4(word(d + 4));
    case 23: {
      if (n < 6) break;
      std::string text = who + "read " + rangeText("register", first, count) + " and write from " +
                         registerText(word(d + 4) + 1);
      if (n >= 9) {
        const int writes = word(d + 6);
        if (n >= 9 + 2 * writes) text += ": " + valuesText(word(d + 4) + 1, d + 9, writes);
      }
      return text;
    }
    default: break;
  }
  const std::string_view name = functionName(function);
  return who + "function " + number(function) + (name.empty() ? "" : " (" + std::string(name) + ")") +
         ", " + number(n) + " data bytes";
}

std::string headText(const TracedFrame& frame) {
  return requestText(frame.request, frame.requestLength);
}

std::string millis(std::int64_t micros) {
  char text[24];
  std::snprintf(text, sizeof text, "%.1f ms", static_cast<double>(micros) / 1000.0);
  return text;
}

// A reply the master took: does its content fit the request? Empty when it
// does, else what differs.
std::string contentMismatch(const std::uint8_t* b, int length, const TracedFrame& frame) {
  const std::uint8_t* h = frame.request;
  const int function = b[1];
  const auto byteCount = [&](int expected) {
    return b[2] == (expected & 0xFF) ? std::string()
                                     : "byte count " + number(b[2]) + ", expected " +
                                           number(expected & 0xFF);
  };
  switch (function) {
    case 1:
    case 2: return byteCount((word(h + 4) + 7) / 8);
    case 3:
    case 4:
    case 23: return byteCount(2 * word(h + 4));
    case 5:
    case 6: {
      const int sent = word(h + 4);
      const int echoed = word(b + 4);
      // A device that echoes these fixed values is taken at its word.
      const int alsoAccepted = function == 5 ? 0x0001 : 0x0002;
      if (echoed == sent || echoed == alsoAccepted) return {};
      return "echo " + valueText(echoed) + " for " + valueText(sent) + " sent";
    }
    case 15:
    case 16:
      if (word(b + 4) == word(h + 4)) return {};
      return "echoed count " + number(word(b + 4)) + " for " + number(word(h + 4)) + " sent";
    case 22:
      for (int i = 2; i < 8 && i < length - 2; ++i) {
        if (b[i] != h[i]) return "echo differs from the masks sent";
      }
      return {};
    default: return {};
  }
}

// What a good reply carries, after "slave N answered in T: ".
std::string contentText(const std::uint8_t* b, const TracedFrame& frame) {
  const std::uint8_t* h = frame.request;
  const int first = word(h + 2) + 1;
  switch (b[1]) {
    case 1:
    case 2: return bitsText(b + 3, word(h + 4));
    case 3:
    case 4: return valuesText(first, b + 3, b[2] / 2);
    case 23: return valuesText(first, b + 3, b[2] / 2);
    case 5: return "coil " + number(first) + " written";
    case 6: return "register " + registerText(first) + " = " + valueText(word(b + 4)) + " written";
    case 7: return "exception status " + number(b[2]);
    case 15: return rangeText("coil", first, word(b + 4)) + " written";
    case 16: return rangeText("register", first, word(b + 4)) + " written";
    case 22: return "register " + registerText(first) + " masked";
    default: return number(frame.byteCount) + " bytes";
  }
}

FrameProblem replyProblem(const TracedFrame& frame) {
  const auto bytes = frame.kept();
  const int result = frame.result;
  if (result == MODBUS_SEND_TIMEOUT) return FrameProblem::NotSent;
  if (result == MODBUS_IO_ERROR) return FrameProblem::PortFailed;
  if (result == MODBUS_REPLY_TIMEOUT) {
    return bytes.empty() ? FrameProblem::NoReply : FrameProblem::Short;
  }
  if (result == MODBUS_CRC_ERROR) return FrameProblem::Crc;
  if (result == MODBUS_ADDRESS_MISMATCH) {
    return bytes.size() >= 1 && bytes[0] != frame.request[0] ? FrameProblem::WrongSlave
                                                             : FrameProblem::WrongFunction;
  }
  if (result > MODBUS_EXCEPTION_BASE && result <= 0xFF) return FrameProblem::Exception;
  if (result != MODBUS_OK) return FrameProblem::PortFailed;
  if (bytes.size() < 5) return FrameProblem::None;  // nothing was to come back
  return contentMismatch(bytes.data(), static_cast<int>(bytes.size()), frame).empty()
             ? FrameProblem::None
             : FrameProblem::BadContent;
}

bool wholeFrame(std::span<const std::uint8_t> bytes) {
  return bytes.size() >= 4 && crc16(bytes.data(), bytes.size()) == 0;
}

std::string replySummary(const TracedFrame& frame, FrameProblem problem) {
  const auto bytes = frame.kept();
  const std::uint8_t* b = bytes.data();
  const std::string asked = headText(frame);
  const std::string waited = frame.latencyMicros >= 0 ? millis(frame.latencyMicros) : "";
  switch (problem) {
    case FrameProblem::NotSent:
      return (frame.latencyMicros < 0 ? "not sent, the line never fell quiet: "
                                      : "not sent within the time-out: ") +
             asked;
    case FrameProblem::PortFailed: return "the port failed: " + asked;
    case FrameProblem::NoReply: return "no reply within " + waited + " to " + asked;
    case FrameProblem::Short:
      return "short reply, " + number(static_cast<int>(frame.byteCount)) + " of " +
             number(frame.expectedLength) + " bytes, then nothing within " + waited + ", to " +
             asked;
    case FrameProblem::Crc: {
      const std::size_t n = bytes.size();
      const int carried = n >= 2 ? b[n - 2] | (b[n - 1] << 8) : 0;
      const int computed = n >= 2 ? crc16(b, n - 2) : 0;
      return "CRC error (carries " + hex4(carried) + ", the bytes give " + hex4(computed) +
             ") in the reply to " + asked;
    }
    case FrameProblem::WrongSlave:
      return "reply from slave " + number(b[0]) + " to " + asked;
    case FrameProblem::WrongFunction: {
      const int function = b[1] & ~kExceptionFlag;
      const std::string_view name = functionName(function);
      return "reply for function " + number(function) +
             (name.empty() ? "" : " (" + std::string(name) + ")") + " to " + asked;
    }
    case FrameProblem::Exception: {
      const int code = frame.result & 0xFF & ~MODBUS_EXCEPTION_BASE;
      const std::string_view name = exceptionName(code);
      return slaveText(frame.request[0]) + " refused " + asked.substr(asked.find(": ") + 2) +
             ": exception " + number(code) + (name.empty() ? "" : ", " + std::string(name));
    }
    case FrameProblem::BadContent:
      return slaveText(b[0]) + " answered " + asked.substr(asked.find(": ") + 2) + " with " +
             contentMismatch(b, static_cast<int>(bytes.size()), frame);
    default: break;
  }
  if (bytes.size() < 5) {
    return "no reply expected to " + asked;
  }
  return slaveText(b[0]) + " answered in " + waited + ": " + contentText(b, frame);
}

std::string straySummary(const TracedFrame& frame) {
  const auto bytes = frame.kept();
  if (wholeFrame(bytes)) {
    const int function = bytes[1] & ~kExceptionFlag;
    const std::string_view name = functionName(function);
    return "late reply from slave " + number(bytes[0]) + ", function " + number(function) +
           (name.empty() ? "" : " (" + std::string(name) + ")") + ", " +
           number(static_cast<int>(bytes.size())) +
           " bytes: it came after its exchange had given up";
  }
  return number(static_cast<int>(frame.byteCount)) +
         " stray bytes: noise, or the rest of a late reply";
}

}  // namespace

std::string_view functionName(int function) {
  switch (function) {
    case 1: return "read coils";
    case 2: return "read discrete inputs";
    case 3: return "read holding registers";
    case 4: return "read input registers";
    case 5: return "write single coil";
    case 6: return "write single register";
    case 7: return "read exception status";
    case 15: return "write multiple coils";
    case 16: return "write multiple registers";
    case 22: return "mask write register";
    case 23: return "read/write multiple registers";
    default: return {};
  }
}

std::string_view exceptionName(int code) {
  switch (code) {
    case 1: return "illegal function";
    case 2: return "illegal data address";
    case 3: return "illegal data value";
    case 4: return "slave device failure";
    case 5: return "acknowledge";
    case 6: return "slave device busy";
    case 8: return "memory parity error";
    case 10: return "gateway path unavailable";
    case 11: return "gateway target device failed to respond";
    default: return {};
  }
}

FrameProblem frameProblem(const TracedFrame& frame) {
  switch (frame.direction) {
    case FrameDirection::Request: return FrameProblem::None;
    case FrameDirection::Reply: return replyProblem(frame);
    case FrameDirection::Stray:
      return wholeFrame(frame.kept()) ? FrameProblem::LateReply : FrameProblem::Noise;
  }
  return FrameProblem::None;
}

DecodedFrame decodeFrame(const TracedFrame& frame) {
  DecodedFrame decoded{frameProblem(frame), {}};
  switch (frame.direction) {
    case FrameDirection::Request: {
      const auto bytes = frame.kept();
      decoded.summary = requestText(bytes.data(), static_cast<int>(bytes.size()) - 2);
      break;
    }
    case FrameDirection::Reply: decoded.summary = replySummary(frame, decoded.problem); break;
    case FrameDirection::Stray: decoded.summary = straySummary(frame); break;
  }
  if (frame.direction != FrameDirection::Stray && frame.attempt > 1) {
    decoded.summary += " (retry " + number(frame.attempt - 1) + ")";
  }
  return decoded;
}

}  // namespace vs
