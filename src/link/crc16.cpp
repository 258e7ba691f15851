#include "link/crc16.h"

#include <array>

namespace vs {
namespace {

// The two classic 256-entry tables (high and low byte of the running CRC),
// generated at compile time from the reflected polynomial 0xA001.
struct CrcTables {
  std::array<std::uint8_t, 256> high{};
  std::array<std::uint8_t, 256> low{};
};

constexpr CrcTables makeTables() {
  CrcTables t;
  for (unsigned i = 0; i < 256; ++i) {
    unsigned crc = i;
    for (int bit = 0; bit < 8; ++bit) crc = (crc & 1u) ? (crc >> 1) ^ 0xA001u : crc >> 1;
    t.low[i] = static_cast<std::uint8_t>(crc & 0xFFu);
    t.high[i] = static_cast<std::uint8_t>(crc >> 8);
  }
  return t;
}

constexpr CrcTables kTables = makeTables();

}  // namespace

std::uint16_t crc16(const std::uint8_t* data, std::size_t length) {
  std::uint8_t lo = 0xFF;  // low byte of the register
  std::uint8_t hi = 0xFF;  // high byte of the register
  for (std::size_t n = 0; n < length; ++n) {
    const std::uint8_t index = lo ^ data[n];
    lo = static_cast<std::uint8_t>(hi ^ kTables.low[index]);
    hi = kTables.high[index];
  }
  return static_cast<std::uint16_t>((hi << 8) | lo);
}

}  // namespace vs
