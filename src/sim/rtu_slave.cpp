#include "sim/rtu_slave.h"

#include "link/crc16.h"

namespace vs::sim {
namespace {

constexpr int kMaxReadCount = 125;
constexpr int kMaxWriteCount = 123;

int word(const std::uint8_t* p) { return (p[0] << 8) | p[1]; }

void putWord(std::vector<std::uint8_t>& out, int value) {
  out.push_back(static_cast<std::uint8_t>((value >> 8) & 0xFF));
  out.push_back(static_cast<std::uint8_t>(value & 0xFF));
}

std::vector<std::uint8_t> exception(int function, int code) {
  return {static_cast<std::uint8_t>(function | 0x80), static_cast<std::uint8_t>(code)};
}

void appendCrc(std::vector<std::uint8_t>& frame) {
  const std::uint16_t crc = crc16(frame.data(), frame.size());
  frame.push_back(static_cast<std::uint8_t>(crc & 0xFF));
  frame.push_back(static_cast<std::uint8_t>(crc >> 8));
}

}  // namespace

Transmission RtuSlave::respond(const std::uint8_t* frame, std::size_t length) {
  if (length < 4 || crc16(frame, length) != 0) return {};
  FaultInjector& faults = controller_.faults();
  if (faults.silent()) return {};
  const int address = frame[0];
  if (address == 0) {
    const int function = frame[1];
    if (function == 6 || function == 16) execute(frame + 1, length - 3);
    return {};
  }
  if (address != controller_.slaveAddress()) return {};

  const FaultKind fault = faults.next();
  std::vector<std::uint8_t> reply{frame[0]};
  const auto pdu = fault == FaultKind::Exception
                       ? exception(frame[1], faults.settings().exceptionCode)
                       : execute(frame + 1, length - 3);
  reply.insert(reply.end(), pdu.begin(), pdu.end());
  appendCrc(reply);
  return spoil(std::move(reply), fault);
}

std::vector<std::uint8_t> RtuSlave::execute(const std::uint8_t* pdu, std::size_t length) {
  const int function = pdu[0];
  switch (function) {
    case 3:
    case 4: {
      if (length != 5) return exception(function, 3);
      const int first = word(pdu + 1) + 1;
      const int count = word(pdu + 3);
      if (count < 1 || count > kMaxReadCount) return exception(function, 3);
      std::int16_t values[kMaxReadCount];
      if (!controller_.readRegisters(first, count, values)) return exception(function, 2);
      std::vector<std::uint8_t> reply{pdu[0], static_cast<std::uint8_t>(2 * count)};
      for (int i = 0; i < count; ++i) putWord(reply, static_cast<std::uint16_t>(values[i]));
      return reply;
    }
    case 6: {
      if (length != 5) return exception(function, 3);
      const auto value = static_cast<std::int16_t>(word(pdu + 3));
      const auto status = controller_.writeRegisters(word(pdu + 1) + 1, 1, &value, function);
      if (status != WriteStatus::Ok) return exception(function, static_cast<int>(status));
      return {pdu, pdu + 5};
    }
    case 16: {
      if (length < 6) return exception(function, 3);
      const int count = word(pdu + 3);
      const int bytes = pdu[5];
      if (count < 1 || count > kMaxWriteCount || bytes != 2 * count ||
          length != 6 + static_cast<std::size_t>(bytes)) {
        return exception(function, 3);
      }
      std::int16_t values[kMaxWriteCount];
      for (int i = 0; i < count; ++i) values[i] = static_cast<std::int16_t>(word(pdu + 6 + 2 * i));
      const auto status = controller_.writeRegisters(word(pdu + 1) + 1, count, values, function);
      if (status != WriteStatus::Ok) return exception(function, static_cast<int>(status));
      return {pdu, pdu + 5};
    }
    default: return exception(function, 1);
  }
}

Transmission RtuSlave::spoil(std::vector<std::uint8_t> reply, FaultKind fault) {
  FaultInjector& faults = controller_.faults();
  const FaultSettings settings = faults.settings();
  Transmission out;
  switch (fault) {
    case FaultKind::NoReply: return out;
    case FaultKind::WrongCrc: reply[reply.size() - 2] ^= 0xFF; break;
    case FaultKind::WrongAddress:
      reply.resize(reply.size() - 2);
      reply[0] = static_cast<std::uint8_t>(reply[0] % 247 + 1);
      appendCrc(reply);
      break;
    case FaultKind::LateReply: out.delay = settings.lateBy; break;
    case FaultKind::Garbage:
      for (int i = 0; i < settings.garbageBytes; ++i) out.bytes.push_back(faults.noiseByte());
      break;
    case FaultKind::Continuous: out.babble = settings.babble; return out;
    case FaultKind::PartialFrame: reply.resize(reply.size() / 2); break;
    case FaultKind::None:
    case FaultKind::Exception: break;
  }
  out.bytes.insert(out.bytes.end(), reply.begin(), reply.end());
  out.delay += settings.replyDelay;
  return out;
}

}  // namespace vs::sim
