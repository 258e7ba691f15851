#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vs::cli {

// One line on standard error, after the program's name.
void complain(std::string_view message);

// A whole decimal token (an optional minus sign, then digits only) within
// low to high; anything else is no number, so "12abc" never passes for 12.
std::optional<long> parseNumber(std::string_view text, long low, long high);

// value / 10^decimals, exactly: (720, 3) gives "0.720", (-5, 2) "-0.05".
std::string scaled(std::int32_t value, int decimals);

// "2024-05-01 12:00:00" in the computer's time zone.
std::string localTimeText(std::int64_t unixSeconds);

}  // namespace vs::cli
