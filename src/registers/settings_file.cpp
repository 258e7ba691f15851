#include "registers/settings_file.h"

#include <fstream>
#include <sstream>

#include "files/replacing_file.h"

namespace vs {
namespace {

constexpr std::size_t kModbusAddressPosition = REG_MODBUS_ADDRESS - kFirstSettingsRegister;

bool isSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

// A whole token as a signed 16-bit decimal: optional sign, then digits only.
bool parseValue(std::string_view token, std::int16_t& value) {
  std::size_t i = 0;
  const bool negative = token[0] == '-';
  if (token[0] == '-' || token[0] == '+') ++i;
  if (i == token.size()) return false;
  long magnitude = 0;
  for (; i < token.size(); ++i) {
    if (token[i] < '0' || token[i] > '9') return false;
    magnitude = magnitude * 10 + (token[i] - '0');
    if (magnitude > 32768) return false;
  }
  const long signedValue = negative ? -magnitude : magnitude;
  if (signedValue > 32767) return false;
  value = static_cast<std::int16_t>(signedValue);
  return true;
}

SettingsFileContent refused(std::string error) {
  SettingsFileContent content;
  content.error = std::move(error);
  return content;
}

}  // namespace

std::string formatSettings(const SettingsImage& image) {
  std::string text;
  for (const std::int16_t value : image) {
    text += std::to_string(value);
    text += ' ';
  }
  return text;
}

bool writeSettingsFile(const std::filesystem::path& path, const SettingsImage& image) {
  ReplacingFile file(path);
  file.stream() << formatSettings(image);
  return file.commit();
}

SettingsFileContent parseSettings(std::string_view text) {
  SettingsFileContent content;
  int count = 0;
  std::size_t i = 0;
  while (true) {
    while (i < text.size() && isSpace(text[i])) ++i;
    if (i == text.size()) break;
    std::size_t end = i;
    while (end < text.size() && !isSpace(text[end])) ++end;
    const std::string_view token = text.substr(i, end - i);
    if (count == kSettingsRegisterCount) {
      return refused("The file holds more than " + std::to_string(kSettingsRegisterCount) +
                     " values.");
    }
    if (!parseValue(token, content.image[static_cast<std::size_t>(count)])) {
      return refused("Value " + std::to_string(count + 1) + " (" +
                     std::string(RegisterMap[static_cast<std::size_t>(count)]) +
                     ") is not a whole number from -32768 to 32767.");
    }
    ++count;
    i = end;
  }
  if (count < kSettingsRegisterCount) {
    return refused("The file holds " + std::to_string(count) + " of the " +
                   std::to_string(kSettingsRegisterCount) + " values.");
  }
  // The download follows the controller to the address it writes there: 0
  // would send the rest, the commit and the save as broadcasts to every
  // controller on the line, and an address no controller can take would leave
  // this one half written.
  const std::int16_t address = content.image[kModbusAddressPosition];
  if (address < kFirstDeviceId || address > kLastDeviceId) {
    return refused("Value " + std::to_string(kModbusAddressPosition + 1) + " (" +
                   std::string(RegisterMap[kModbusAddressPosition]) + ") is " +
                   std::to_string(address) + ", not a Device ID from " +
                   std::to_string(kFirstDeviceId) + " to " + std::to_string(kLastDeviceId) + ".");
  }
  content.ok = true;
  return content;
}

SettingsFileContent readSettingsFile(const std::filesystem::path& path) {
  std::error_code error;
  const auto size = std::filesystem::file_size(path, error);
  if (error) return refused("The file cannot be opened.");
  if (size > kMaxSettingsFileSize) return refused("The file is too large for a settings file.");
  std::ifstream file(path, std::ios::binary);
  if (!file) return refused("The file cannot be opened.");
  std::ostringstream text;
  text << file.rdbuf();
  if (file.bad()) return refused("The file cannot be read.");
  return parseSettings(text.str());
}

}  // namespace vs
