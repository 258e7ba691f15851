#pragma once

#include <cstdint>

#include "registers/register_values.h"
#include "registers/settings_image.h"

namespace vs {

// What the settings and maintenance dialogs keep from one run to the next, for
// the whole life of the program.
struct ServiceMemory {
  SettingsImage settingsImage{};        // shared by settings upload and download
  RegisterValues registerValues;        // calibration list and traveler report
  int calibrationListRow = 0;           // the row last clicked in the calibration list
  std::int32_t previousZeroing = 0;     // register 153 before the last zeroing press
  std::int32_t calibrationSeconds = 0;  // free-air calibration countdown length
  std::int32_t calibrationTicks = 0;    // free-air calibration ticks since the start
};

}  // namespace vs
