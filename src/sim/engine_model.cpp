#include "sim/engine_model.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "registers/register_map.h"

namespace vs::sim {
namespace {

std::uint64_t splitmix(std::uint64_t x) {
  x += 0x9E3779B97F4A7C15ull;
  x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ull;
  x = (x ^ (x >> 27)) * 0x94D049BB133111EBull;
  return x ^ (x >> 31);
}

double unit(std::uint64_t bits) { return static_cast<double>(bits >> 11) * 0x1.0p-53; }

int at(std::string_view name) { return *positionOfName(name); }

std::int16_t toRegister(double value, double low, double high) {
  return static_cast<std::int16_t>(std::lround(std::clamp(value, low, high)));
}

}  // namespace

EngineModel::EngineModel(std::uint64_t seed) : seed_(seed) {
  for (int i = 0; i < 7; ++i) {
    phase_[i] = 2 * std::numbers::pi * unit(splitmix(seed ^ (0x51ull * (i + 1))));
  }
}

bool EngineModel::animates(int reg) {
  switch (reg) {
    case 12:
    case 19:
    case 20:
    case 21:
    case 26:
    case 39:
    case 89:
    case 90: return true;
    default: return false;
  }
}

double EngineModel::wave(int index, double seconds, double period) const {
  return std::sin(2 * std::numbers::pi * seconds / period + phase_[index]);
}

double EngineModel::noise(int reg, double seconds) const {
  const auto slot = static_cast<std::uint64_t>(std::floor(seconds * 10));
  return 2 * unit(splitmix(seed_ ^ splitmix(slot * 131 + static_cast<std::uint64_t>(reg)))) - 1;
}

double EngineModel::load(double seconds) const {
  return 0.6 * wave(0, seconds, 97) + 0.4 * wave(1, seconds, 23);
}

double EngineModel::pressureSetPoint(double seconds, const SettingsImage& s) const {
  const double low = s[at("min_pressure")];
  const double high = std::max(low, static_cast<double>(s[at("max_pressure")]));
  return std::clamp(s[at("default_pressure")] + 700 * load(seconds), low, high);
}

// The O2 set point follows the five schedule points along the pressure set
// point, held flat beyond the first and the last.
double EngineModel::scheduledO2(double pressure, const SettingsImage& s) const {
  const int press = at("manpress0");
  const int o2 = at("o2_sp0");
  if (pressure <= s[press]) return s[o2];
  for (int i = 0; i < 4; ++i) {
    const double from = s[press + i];
    const double to = s[press + i + 1];
    if (pressure <= to && to > from) {
      return s[o2 + i] + (s[o2 + i + 1] - s[o2 + i]) * (pressure - from) / (to - from);
    }
  }
  return s[o2 + 4];
}

std::int16_t EngineModel::value(int reg, double seconds, bool running,
                                const SettingsImage& s) const {
  const double n = noise(reg, seconds);
  if (!running) {
    switch (reg) {
      case 12: return toRegister(15 + 5 * n, 0, 1200);  // a cold sensor in free air
      case 19: return toRegister(10 * n, -32768, 32767);
      case 26: return toRegister(400 + 3 * n, 0, 2400);
      case 39: return s[at("warmup_timer_start")];
      case 89: return toRegister(85 + n, -100, 2000);
      case 90: return toRegister(80 + n, -100, 2000);
      default: return 0;
    }
  }
  const double setPoint = pressureSetPoint(seconds, s);
  switch (reg) {
    case 12: {
      const bool scheduled = s[at("man_schedule_en")] != 0;
      const double target = scheduled ? scheduledO2(setPoint, s) : s[at("o2_sp")];
      return toRegister(target + 35 * wave(4, seconds, 1.7) + 15 * n, 0, 1200);
    }
    case 19: return toRegister(setPoint + 60 * wave(2, seconds, 3.1) + 25 * n, -32768, 32767);
    case 20: return toRegister(setPoint, -32768, 32767);
    case 21:
      return toRegister(1700 + 0.25 * setPoint + 150 * wave(3, seconds, 7.3) + 20 * n, 0, 4000);
    case 26: return toRegister(1200 + 500 * load(seconds) + 5 * n, 400, 2000);
    case 39: return toRegister(s[at("warmup_timer_start")] - std::floor(seconds), 0, 32767);
    case 89: return toRegister(980 + 25 * wave(5, seconds, 180) + 3 * n, -100, 2000);
    case 90: return toRegister(1030 + 30 * wave(6, seconds, 200) + 3 * n, -100, 2000);
    default: return 0;
  }
}

}  // namespace vs::sim
