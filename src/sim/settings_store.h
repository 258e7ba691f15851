#pragma once

#include <filesystem>
#include <optional>

#include "registers/settings_image.h"

namespace vs::sim {

// The simulated controller keeps its stored settings in the application's
// settings file format (114 signed decimals, each followed by a space), so a
// file uploaded from a unit can be loaded into the simulator and back.

// The image, or nothing when the file cannot be read or does not hold exactly
// 114 values in range.
std::optional<SettingsImage> readSettingsFile(const std::filesystem::path& file);
// Replaces the file as a whole (written beside it, then renamed over it), so
// an interrupted save never leaves half a file; false when that failed.
bool writeSettingsFile(const std::filesystem::path& file, const SettingsImage& image);

}  // namespace vs::sim
