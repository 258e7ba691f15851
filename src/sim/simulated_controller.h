#pragma once

#include <array>
#include <chrono>
#include <cstdint>
#include <deque>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "registers/settings_image.h"
#include "sim/controller_options.h"
#include "sim/engine_model.h"
#include "sim/fault_injector.h"

namespace vs::sim {

struct RegisterWrite {
  int reg;
  std::int16_t value;
  int function;  // 6 or 16 (or whatever wrote it in-process)
};

// Outcome of a write; the non-zero values are the Modbus exception codes the
// slave answers with.
enum class WriteStatus { Ok = 0, IllegalAddress = 2, IllegalValue = 3, DeviceFailure = 4 };

// The QX4 as the program meets it: holding registers 1 to 400 as signed 16-bit
// values, live values that move like a running engine, and the writes with an
// effect (save, end of download, zeroing, free-air calibration, address change,
// O2 schedule). Every method is thread-safe, so a serving thread and a test can
// share one controller.
class SimulatedController {
 public:
  static constexpr int kRegisterCount = 400;
  // Register 62 while no calibration has finished since power-up; 63 then 0.
  static constexpr std::int16_t kCalibrationNotDone = 3;
  static constexpr std::int16_t kCalibrationRunning = 1;
  static constexpr std::int16_t kCalibrationFailed = 2;

  explicit SimulatedController(ControllerOptions options = {});
  SimulatedController(const SimulatedController&) = delete;
  SimulatedController& operator=(const SimulatedController&) = delete;

  int slaveAddress() const;
  SettingsLoad settingsLoad() const { return settingsLoad_; }
  std::chrono::steady_clock::time_point now() const;

  // Registers first .. first + count - 1 as the master reads them; false (and
  // nothing read) when the range leaves 1 to 400.
  bool readRegisters(int first, int count, std::int16_t* out);
  std::int16_t readRegister(int reg);  // 0 outside 1 to 400
  // All values or none; then their effects, in register order.
  WriteStatus writeRegisters(int first, int count, const std::int16_t* values, int function);
  WriteStatus writeRegister(int reg, std::int16_t value) {
    return writeRegisters(reg, 1, &value, 6);
  }

  void setMode(int mode);  // 2 A/F control, 1 default, 0 stopped, -1 to -4 faults
  int mode() const;
  void setCalibrationOutcome(CalibrationOutcome outcome);
  // Power off and on: the working settings fall back to the stored ones, a
  // stored zeroing request zeroes the transducer (and is cleared), the engine
  // timers start again.
  void powerCycle();

  // What the controller has been told, for tests and the console.
  std::vector<RegisterWrite> writeLog() const;
  void clearWriteLog();
  int saveCount() const;            // 4660 to register 144
  int downloadCommitCount() const;  // 4660 to register 12
  int transducerZeroings() const;   // zeroings done at power-up
  SettingsImage storedSettings() const;

  // Bytes that arrived outside any Modbus frame, such as the program's "OUT"
  // at exit; the newest few thousand are kept.
  void recordStrayBytes(const std::uint8_t* bytes, std::size_t count);
  std::string strayBytes() const;

  FaultInjector& faults() { return faults_; }

 private:
  using TimePoint = std::chrono::steady_clock::time_point;

  TimePoint clockNow() const;
  void settle(TimePoint now);
  std::int16_t valueAt(int reg, TimePoint now, const SettingsImage& settings) const;
  SettingsImage workingSettings() const;
  WriteStatus applyEffect(int reg, TimePoint now);
  void startCalibration(TimePoint now);
  bool store(const SettingsImage& settings);

  const ControllerOptions options_;
  const EngineModel engine_;
  FaultInjector faults_;
  SettingsLoad settingsLoad_ = SettingsLoad::NoFile;

  mutable std::mutex mutex_;
  std::array<std::int16_t, kRegisterCount + 1> bank_{};  // indexed by register number
  SettingsImage stored_{};
  TimePoint started_;
  int mode_;
  int slave_ = 1;
  CalibrationOutcome outcome_;
  std::optional<TimePoint> calibrationEnds_;
  std::deque<RegisterWrite> writeLog_;
  int saves_ = 0;
  int downloadCommits_ = 0;
  int zeroings_ = 0;
  std::string stray_;
};

}  // namespace vs::sim
