#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace vs {

// Room for any number or time the instruments print; longer results are cut.
using TextBuffer = std::array<char, 64>;

// printf into the buffer, cut to fit.
#if defined(__GNUC__)
__attribute__((format(printf, 2, 3)))
#endif
std::string_view
printTo(TextBuffer& buffer, const char* format, ...);

// Decimals 1, 2 or 3 give that many decimals; any other number gives the value
// truncated toward zero as a whole number.
std::string_view formatNumber(TextBuffer& buffer, double value, int decimals);

// `seconds` since 1970-01-01 00:00 UTC as local time through strftime's
// `format`; empty when the time cannot be converted. Safe to call from any
// thread.
std::string_view formatLocalTime(TextBuffer& buffer, std::int32_t seconds, const char* format);

}  // namespace vs
