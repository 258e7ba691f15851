#include "support/rtu_frames.h"

#include "link/crc16.h"

namespace vs::test {
namespace {

void putWord(Bytes& out, int value) {
  out.push_back(static_cast<std::uint8_t>((value >> 8) & 0xFF));
  out.push_back(static_cast<std::uint8_t>(value & 0xFF));
}

}  // namespace

Bytes withCrc(Bytes frame) {
  const std::uint16_t crc = crc16(frame.data(), frame.size());
  frame.push_back(static_cast<std::uint8_t>(crc & 0xFF));
  frame.push_back(static_cast<std::uint8_t>(crc >> 8));
  return frame;
}

bool crcOk(const Bytes& frame) {
  return frame.size() >= 4 && crc16(frame.data(), frame.size()) == 0;
}

Bytes readRequest(int slave, int first, int count, int function) {
  Bytes frame{static_cast<std::uint8_t>(slave), static_cast<std::uint8_t>(function)};
  putWord(frame, first - 1);
  putWord(frame, count);
  return withCrc(frame);
}

Bytes writeSingleRequest(int slave, int reg, std::int16_t value) {
  Bytes frame{static_cast<std::uint8_t>(slave), 6};
  putWord(frame, reg - 1);
  putWord(frame, static_cast<std::uint16_t>(value));
  return withCrc(frame);
}

Bytes writeMultipleRequest(int slave, int first, const std::vector<std::int16_t>& values) {
  Bytes frame{static_cast<std::uint8_t>(slave), 16};
  putWord(frame, first - 1);
  putWord(frame, static_cast<int>(values.size()));
  frame.push_back(static_cast<std::uint8_t>(2 * values.size()));
  for (const auto v : values) putWord(frame, static_cast<std::uint16_t>(v));
  return withCrc(frame);
}

std::vector<std::int16_t> registersOf(const Bytes& reply) {
  std::vector<std::int16_t> values;
  for (std::size_t i = 3; i + 3 < reply.size(); i += 2) {
    values.push_back(static_cast<std::int16_t>((reply[i] << 8) | reply[i + 1]));
  }
  return values;
}

}  // namespace vs::test
