#include "logging/log_record.h"

namespace vs {
namespace {

void put32(unsigned char* out, std::int32_t value) {
  const auto bits = static_cast<std::uint32_t>(value);
  out[0] = static_cast<unsigned char>(bits);
  out[1] = static_cast<unsigned char>(bits >> 8);
  out[2] = static_cast<unsigned char>(bits >> 16);
  out[3] = static_cast<unsigned char>(bits >> 24);
}

std::int32_t get32(const unsigned char* in) {
  const std::uint32_t bits = std::uint32_t{in[0]} | std::uint32_t{in[1]} << 8 |
                             std::uint32_t{in[2]} << 16 | std::uint32_t{in[3]} << 24;
  return static_cast<std::int32_t>(bits);
}

}  // namespace

void LogRecord::encode(unsigned char* out) const {
  put32(out, timeStamp);
  for (std::size_t i = 0; i < values.size(); ++i) put32(out + 4 + 4 * i, values[i]);
}

LogRecord::Bytes LogRecord::encode() const {
  Bytes bytes;
  encode(bytes.data());
  return bytes;
}

LogRecord LogRecord::decode(const unsigned char* in) {
  LogRecord record;
  record.timeStamp = get32(in);
  for (std::size_t i = 0; i < record.values.size(); ++i) record.values[i] = get32(in + 4 + 4 * i);
  return record;
}

}  // namespace vs
