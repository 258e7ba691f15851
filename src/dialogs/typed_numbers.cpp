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

std::optional<std::int16_t> fitRegister(std::int64_t value, std::int64_t lowest,
                                        std::int64_t highest) {
  if (value < lowest || value > highest) return std::nullopt;
  return static_cast<std::int16_t>(static_cast<std::uint16_t>(value & 0xFFFF));
}

std::string_view trimmed(std::string_view text) {
  while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
  return text;
}

}  // namespace

std::optional<std::int16_t> readThousandths(std::string_view text) {
  text = text.substr(0, 8);
  std::size_t i = 0;
  while (i < text.size() && isBlank(text[i])) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';

  // The mantissa's significant digits and the power of ten that scales them.
  std::string digits;
  int scale = 0;
  bool anyDigit = false;
  for (; i < text.size() && isDigit(text[i]); ++i, anyDigit = true) digits += text[i];
  if (i < text.size() && text[i] == '.') {
    for (++i; i < text.size() && isDigit(text[i]); ++i, anyDigit = true) {
      digits += text[i];
      --scale;
    }
  }
  if (!anyDigit) return 0;

  if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    std::size_t j = i + 1;
    bool negativeExponent = false;
    if (j < text.size() && (text[j] == '+' || text[j] == '-')) negativeExponent = text[j++] == '-';
    if (j < text.size() && isDigit(text[j])) {
      int exponent = 0;
      for (; j < text.size() && isDigit(text[j]); ++j) {
        if (exponent < 1000) exponent = exponent * 10 + (text[j] - '0');
      }
      scale += negativeExponent ? -exponent : exponent;
    }
  }
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

std::optional<std::int16_t> readUnsigned16(std::string_view text) {
  text = trimmed(text);
  for (char c : text) {
    if (!isDigit(c)) return 0;
  }
  std::int64_t value = 0;
  for (char c : text) value = pushDigit(value, c);
  return fitRegister(value, 0, 65535);
}

std::optional<std::int16_t> readRegisterValue(std::string_view text) {
  text = text.substr(0, 13);
  std::size_t i = 0;
  while (i < text.size() && isBlank(text[i])) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  std::int64_t value = 0;
  for (; i < text.size() && isDigit(text[i]); ++i) value = pushDigit(value, text[i]);
  return fitRegister(negative ? -value : value, -32768, 65535);
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
