#pragma once

#include <cstdint>
#include <filesystem>

#include "registers/register_map.h"
#include "sim/sim_clock.h"

namespace vs::sim {

// The value register 181 `do_sensor_cal` must receive to start the O2 sensor
// free-air calibration unless a run asks for another.
inline constexpr int kDefaultCalibrationStartCode = kCalibrationStartCode;

enum class CalibrationOutcome { Success, Failure };

// Modes of register 43 (1 is default mode, -1 to -4 are faults).
inline constexpr int kModeAfControl = 2;
inline constexpr int kModeStopped = 0;

struct ControllerOptions {
  // 0 keeps the stored `modbus_address` (1 unless a settings file says otherwise).
  int slaveAddress = 0;
  int firmwareVersion = 462;  // register 28, hundredths
  std::uint64_t seed = 1;     // the live values are a function of seed and time
  int calibrationStartCode = kDefaultCalibrationStartCode;
  CalibrationOutcome calibrationOutcome = CalibrationOutcome::Success;
  int mode = kModeAfControl;
  // Where the save command stores the settings and where a later run finds
  // them; empty: they last as long as the controller object.
  std::filesystem::path settingsFile;
  SimClock clock;
};

// What became of the settings file at construction.
enum class SettingsLoad { NoFile, Loaded, Missing, Invalid };

}  // namespace vs::sim
