#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vs {

// How the settings dialogs read what a technician typed. A field is read whole
// or not at all: text that is not a number from end to end is refused, never
// read in part, so that no typed character is lost on the way to the
// controller. An empty field reads as 0, as the controller's tools always have.

// What a reader made of a field.
struct TypedNumber {
  enum class Fault {
    None,
    NotANumber,  // the text is not wholly a number of the kind the field takes
    OutOfRange,  // a number, but the register cannot hold it
  };
  std::int16_t value = 0;  // the 16-bit pattern to send, when there is no fault
  Fault fault = Fault::None;

  bool ok() const { return fault == Fault::None; }
};

// A decimal field in thousandths (pressures, O2 set points): blanks around, an
// optional sign, digits with at most one decimal separator, a point or a comma
// as the technician's keyboard writes it, and an optional exponent; times 1000
// truncated toward zero, -32.768 to 32.767. Computed from the decimal digits,
// never through binary floating point, so that every value shown with three
// decimals reads back as the same register value.
TypedNumber readThousandths(std::string_view text);

// A whole-number field: blanks around, an optional sign and digits, within
// lowest to highest; the low 16 bits are sent.
TypedNumber readInteger(std::string_view text, std::int32_t lowest, std::int32_t highest);

// Gains and timers: 0 to 65535.
inline TypedNumber readUnsigned16(std::string_view text) { return readInteger(text, 0, 65535); }

// The calibration list's value edit: -32768 to 65535.
inline TypedNumber readRegisterValue(std::string_view text) {
  return readInteger(text, -32768, 65535);
}

// An unsigned decimal number made of digits only (blanks around allowed);
// nothing for empty, non-numeric or overlong text.
std::optional<std::uint32_t> readWholeNumber(std::string_view text);

// "%.3f" of value / 1000 (decimals 0 to 3), and the unsigned 16-bit pattern.
std::string formatThousandths(std::int16_t value, int decimals = 3);
std::string formatUnsigned16(std::int16_t value);

}  // namespace vs
