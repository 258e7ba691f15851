#pragma once

#include <cstdint>

#include "registers/settings_image.h"

namespace vs::sim {

// The live values of a gas engine under load, as the controller reports them:
// smooth load swings with a little sensor noise, all a pure function of the
// seed, the time since start, the mode and the settings, so that a run can be
// reproduced exactly.
class EngineModel {
 public:
  explicit EngineModel(std::uint64_t seed);

  // Registers 12, 19, 20, 21, 26, 39, 89 and 90.
  static bool animates(int reg);
  std::int16_t value(int reg, double seconds, bool running, const SettingsImage& settings) const;

 private:
  double wave(int index, double seconds, double period) const;
  double noise(int reg, double seconds) const;  // -1 to 1, changes ten times a second
  double scheduledO2(double pressureSetPoint, const SettingsImage& settings) const;
  double pressureSetPoint(double seconds, const SettingsImage& settings) const;
  double load(double seconds) const;

  std::uint64_t seed_;
  double phase_[7];
};

}  // namespace vs::sim
