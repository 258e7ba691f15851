#pragma once

namespace vs {

// The frames SerialPort::configure offers on every platform: dataBits 7 or 8,
// stopBits 1 or 2, parity 0 none, 1 odd, 2 even, handshake 0 none or 1
// RTS/CTS. Anything else is SERIAL_BAD_SETTING before the line is touched.
constexpr bool validLineSettings(int dataBits, int stopBits, int parity, int handshake) {
  return (dataBits == 7 || dataBits == 8) && (stopBits == 1 || stopBits == 2) && parity >= 0 &&
         parity <= 2 && (handshake == 0 || handshake == 1);
}

}  // namespace vs
