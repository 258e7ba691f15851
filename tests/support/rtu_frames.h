#pragma once

#include <cstdint>
#include <vector>

namespace vs::test {

// Modbus RTU frames built and taken apart by hand, for tests that play the
// master against a slave. Register numbers are 1-based, as on the master.
using Bytes = std::vector<std::uint8_t>;

Bytes withCrc(Bytes frame);
bool crcOk(const Bytes& frame);
Bytes readRequest(int slave, int first, int count, int function = 3);
Bytes writeSingleRequest(int slave, int reg, std::int16_t value);
Bytes writeMultipleRequest(int slave, int first, const std::vector<std::int16_t>& values);
// The register values of a read reply (address, code, byte count, data, CRC).
std::vector<std::int16_t> registersOf(const Bytes& reply);

}  // namespace vs::test
