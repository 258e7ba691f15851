#include "link/crc16.h"

#include <gtest/gtest.h>

#include <cstring>

namespace vs {
namespace {

TEST(Crc16, MatchesTheModbusCheckValues) {
  const char* text = "123456789";
  EXPECT_EQ(crc16(reinterpret_cast<const std::uint8_t*>(text), std::strlen(text)), 0x4B37);

  // A read of 22 registers from 112 on slave 1 carries F4 19 on the wire.
  const std::uint8_t frame[] = {0x01, 0x03, 0x00, 0x6F, 0x00, 0x16};
  const std::uint16_t crc = crc16(frame, sizeof frame);
  EXPECT_EQ(crc & 0xFF, 0xF4);
  EXPECT_EQ(crc >> 8, 0x19);
}

TEST(Crc16, OfAFrameWithItsOwnCrcAppendedIsZero) {
  std::uint8_t frame[8] = {0x11, 0x06, 0x00, 0x8F, 0x12, 0x34};
  const std::uint16_t crc = crc16(frame, 6);
  frame[6] = static_cast<std::uint8_t>(crc & 0xFF);
  frame[7] = static_cast<std::uint8_t>(crc >> 8);
  EXPECT_EQ(crc16(frame, 8), 0);
  EXPECT_EQ(crc16(frame, 0), 0xFFFF);
}

}  // namespace
}  // namespace vs
