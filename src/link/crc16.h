#pragma once

#include <cstddef>
#include <cstdint>

namespace vs {

// The Modbus RTU CRC-16 (reflected 0x8005, initial 0xFFFF, no final XOR),
// table-driven. On the wire it goes low byte first.
std::uint16_t crc16(const std::uint8_t* data, std::size_t length);

}  // namespace vs
