#pragma once

#include <filesystem>

#include "registers/settings_image.h"

namespace vs::sim {

// The simulated controller keeps its stored settings in the application's
// settings file format, so a file uploaded from a unit can be loaded into the
// simulator and back.

// Replaces the file as a whole (written beside it, then renamed over it), so
// an interrupted save never leaves half a file; false when that failed.
bool replaceSettingsFile(const std::filesystem::path& file, const SettingsImage& image);

}  // namespace vs::sim
