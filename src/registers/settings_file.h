#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "registers/settings_image.h"

namespace vs {

// The settings file (".dat"): the 114 values of a SettingsImage in register
// order, each as a signed decimal integer followed by one space. Reading takes
// any white space between values but nothing else: a file is either a whole
// settings image with a Device ID a controller can answer at, or refused with
// the reason, so a download never sends a value the file did not hold.

// The Device IDs a controller answers at; 0 is broadcast.
inline constexpr int kFirstDeviceId = 1;
inline constexpr int kLastDeviceId = 247;

std::string formatSettings(const SettingsImage& image);
// Replaces the file only once it is written whole; false, and any earlier
// file left as it was, when it cannot be created or written completely.
bool writeSettingsFile(const std::filesystem::path& path, const SettingsImage& image);

struct SettingsFileContent {
  bool ok = false;
  SettingsImage image{};
  std::string error;  // why the text is not a settings file, for the status line
};

SettingsFileContent parseSettings(std::string_view text);
SettingsFileContent readSettingsFile(const std::filesystem::path& path);

// Largest file taken for a settings file; one written by the program has at
// most 114 x 7 characters.
inline constexpr std::uintmax_t kMaxSettingsFileSize = 64 * 1024;

}  // namespace vs
