#include "cli_text.h"

#include <charconv>
#include <cinttypes>
#include <cstdio>

#include "time/local_date_time.h"

namespace vs::cli {

void complain(std::string_view message) {
  std::fprintf(stderr, "valvescope-cli: %.*s\n", static_cast<int>(message.size()), message.data());
}

std::optional<long> parseNumber(std::string_view text, long low, long high) {
  long value = 0;
  const char* end = text.data() + text.size();
  const auto [stop, error] = std::from_chars(text.data(), end, value);
  if (text.empty() || error != std::errc() || stop != end || value < low || value > high) {
    return std::nullopt;
  }
  return value;
}

std::string scaled(std::int32_t value, int decimals) {
  std::int64_t unit = 1;
  for (int i = 0; i < decimals; ++i) unit *= 10;
  const std::int64_t magnitude = value < 0 ? -std::int64_t{value} : std::int64_t{value};
  char text[32];
  std::snprintf(text, sizeof text, "%s%" PRId64 ".%0*" PRId64, value < 0 ? "-" : "",
                magnitude / unit, decimals, magnitude % unit);
  return text;
}

std::string localTimeText(std::int64_t unixSeconds) {
  return dateTimeText(toLocalDateTime(unixSeconds));
}

}  // namespace vs::cli
