#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "forms/valve_link.h"

namespace vs {

// One poll as stored in a log file: 44 bytes, little-endian, no padding. A log
// file is nothing but these records back to back.
struct LogRecord {
  static constexpr std::size_t kSize = 44;
  using Bytes = std::array<unsigned char, kSize>;

  std::int32_t timeStamp = 0;  // seconds since 1970-01-01 00:00 UTC
  LiveValues values{};

  // The stored form, byte by byte, whatever the host's byte order.
  void encode(unsigned char* out) const;
  Bytes encode() const;
  static LogRecord decode(const unsigned char* in);

  friend bool operator==(const LogRecord&, const LogRecord&) = default;
};

}  // namespace vs
