#include "dialogs/typed_numbers.h"

#include <cstdio>
#include <limits>

namespace vs {
namespace {

bool isBlank(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

// Adds a decimal digit to a magnitude that saturates far above any register.
std::int64_t pushDigit(std::int64_t magnitude, char digit) {
  constexpr std::int64_t kCeiling = std::int64_t{1} << 40;
  return magnitude >= kCeiling ? kCeiling : magnitude * 10 + (digit - '0');
}

TypedNumber fitRegister(std::int64_t value, std::int64_t lowest, std::int64_t highest) {
  if (value < lowest || value > highest) return {0, TypedNumber::Fault::OutOfRange};
  return {static_cast<std::int16_t>(static_cast<std::uint16_t>(value & 0xFFFF))};
}

constexpr TypedNumber kNotANumber{0, TypedNumber::Fault::NotANumber};

std::string_view trimmed(std::string_view text) {
  while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
  return text;
}

// Consumes an optional sign at `i`; true when it was a minus.
bool readSign(std::string_view text, std::size_t& i) {
  if (i >= text.size() || (text[i] != '+' && text[i] != '-')) return false;
  return text[i++] == '-';
}

}  // namespace

TypedNumber readThousandths(std::string_view text) {
  text = trimmed(text);
  if (text.empty()) return {};
  std::size_t i = 0;
  const bool negative = readSign(text, i);

  // The mantissa's significant digits and the power of ten that scales them.
  std::string digits;
  int scale = 0;
  bool anyDigit = false;
  for (; i < text.size() && isDigit(text[i]); ++i, anyDigit = true) digits += text[i];
  if (i < text.size() && (text[i] == '.' || text[i] == ',')) {
    for (++i; i < text.size() && isDigit(text[i]); ++i, anyDigit = true) {
      digits += text[i];
      --scale;
    }
  }
  if (!anyDigit) return kNotANumber;

  if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    ++i;
    const bool negativeExponent = readSign(text, i);
    if (i == text.size()) return kNotANumber;
    int exponent = 0;
    for (; i < text.size() && isDigit(text[i]); ++i) {
      if (exponent < 1000) exponent = exponent * 10 + (text[i] - '0');
    }
    scale += negativeExponent ? -exponent : exponent;
  }
  if (i != text.size()) return kNotANumber;
  scale += 3;  // thousandths

  // Truncation toward zero drops the digits below the unit.
  if (scale < 0) {
    const auto drop = static_cast<std::size_t>(-scale);
    digits.erase(drop >= digits.size() ? 0 : digits.size() - drop);
    scale = 0;
  }
  std::int64_t magnitude = 0;
  for (char d : digits) magnitude = pushDigit(magnitude, d);
  for (int k = 0; k < scale && magnitude != 0; ++k) magnitude = pushDigit(magnitude, '0');
  return fitRegister(negative ? -magnitude : magnitude, -32768, 32767);
}

TypedNumber readInteger(std::string_view text, std::int32_t lowest, std::int32_t highest) {
  text = trimmed(text);
  if (text.empty()) return {};
  std::size_t i = 0;
  const bool negative = readSign(text, i);
  if (i == text.size()) return kNotANumber;
  std::int64_t value = 0;
  for (; i < text.size(); ++i) {
    if (!isDigit(text[i])) return kNotANumber;
    value = pushDigit(value, text[i]);
  }
  return fitRegister(negative ? -value : value, lowest, highest);
}

std::optional<std::uint32_t> readWholeNumber(std::string_view text) {
  text = trimmed(text);
  if (text.empty()) return std::nullopt;
  std::int64_t value = 0;
  for (char c : text) {
    if (!isDigit(c)) return std::nullopt;
    value = pushDigit(value, c);
  }
  if (value > std::numeric_limits<std::uint32_t>::max()) return std::nullopt;
  return static_cast<std::uint32_t>(value);
}

std::string formatThousandths(std::int16_t value, int decimals) {
  char text[32];
  std::snprintf(text, sizeof text, "%.*f", decimals, value / 1000.0);
  return text;
}

std::string formatUnsigned16(std::int16_t value) {
  return std::to_string(static_cast<std::uint16_t>(value));
}

}  // namespace vs
