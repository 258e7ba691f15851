#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vs {

// How the settings dialogs read what a technician typed. Each reader returns
// the 16-bit pattern to send, or nothing when the number does not fit the
// register; text that holds no number reads as 0, as the controller's tools
// always have.

// A free-text edit in thousandths (pressures, O2 set points): at most the first
// 8 characters, blanks skipped, the longest decimal number prefix (optional
// sign, digits, point, exponent), times 1000 truncated toward zero. Computed
// from the decimal digits, never through binary floating point, so that every
// value shown with three decimals reads back as the same register value.
std::optional<std::int16_t> readThousandths(std::string_view text);

// A digits-only edit (gains, timers): unsigned decimal 0 to 65535 between
// optional blanks; empty or non-numeric text reads as 0.
std::optional<std::int16_t> readUnsigned16(std::string_view text);

// The calibration list's value edit: at most the first 13 characters, leading
// white space, an optional sign and the digits up to the first other
// character; -32768 to 65535 (the low 16 bits are sent).
std::optional<std::int16_t> readRegisterValue(std::string_view text);

// An unsigned decimal number made of digits only (blanks around allowed);
// nothing for empty, non-numeric or overlong text.
std::optional<std::uint32_t> readWholeNumber(std::string_view text);

// "%.3f" of value / 1000 (decimals 0 to 3), and the unsigned 16-bit pattern.
std::string formatThousandths(std::int16_t value, int decimals = 3);
std::string formatUnsigned16(std::int16_t value);

}  // namespace vs
