#include "sim/simulated_controller.h"

#include <algorithm>

#include "registers/register_map.h"
#include "registers/settings_file.h"
#include "sim/controller_defaults.h"

namespace vs::sim {
namespace {

constexpr int kRegO2Feedback = 12;
constexpr int kRegFirmware = 28;
constexpr int kRegMode = 43;
constexpr int kRegCalibrationStatus = 62;
constexpr int kRegCalibrationDetail = 63;
constexpr std::int16_t kFailedWhileRunning = 2;  // register 63 after a start on a running engine
constexpr std::int16_t kFailedInFreeAir = 7;     // register 63 after a sensor that did not settle
constexpr std::size_t kStrayCapacity = 4096;
constexpr std::size_t kWriteLogCapacity = 65536;

bool validAddress(int address) { return address >= 1 && address <= 247; }
// A stored address the unit could not answer at (a hand-edited file) falls back to 1.
int addressIn(std::int16_t stored) { return validAddress(stored) ? stored : 1; }

}  // namespace

SimulatedController::SimulatedController(ControllerOptions options)
    : options_(std::move(options)),
      engine_(options_.seed),
      faults_(options_.seed ^ 0xFA017ull),
      mode_(options_.mode),
      outcome_(options_.calibrationOutcome) {
  stored_ = defaultSettings();
  if (!options_.settingsFile.empty()) {
    std::error_code error;
    if (!std::filesystem::exists(options_.settingsFile, error)) {
      settingsLoad_ = SettingsLoad::Missing;
    } else if (const SettingsFileContent loaded = readSettingsFile(options_.settingsFile);
               loaded.ok) {
      stored_ = loaded.image;
      settingsLoad_ = SettingsLoad::Loaded;
    } else {
      settingsLoad_ = SettingsLoad::Invalid;
    }
  }
  // An address given on the command line is the one the unit was set up with.
  if (validAddress(options_.slaveAddress)) {
    stored_[REG_MODBUS_ADDRESS - kFirstSettingsRegister] =
        static_cast<std::int16_t>(options_.slaveAddress);
  }
  std::copy(stored_.begin(), stored_.end(), bank_.begin() + kFirstSettingsRegister);
  slave_ = addressIn(bank_[REG_MODBUS_ADDRESS]);
  bank_[kRegCalibrationStatus] = kCalibrationNotDone;
  started_ = clockNow();
}

SimulatedController::TimePoint SimulatedController::clockNow() const {
  return options_.clock ? options_.clock() : std::chrono::steady_clock::now();
}

std::chrono::steady_clock::time_point SimulatedController::now() const { return clockNow(); }

int SimulatedController::slaveAddress() const {
  std::lock_guard lock(mutex_);
  return slave_;
}

SettingsImage SimulatedController::workingSettings() const {
  SettingsImage settings{};
  std::copy_n(bank_.begin() + kFirstSettingsRegister, kSettingsRegisterCount, settings.begin());
  return settings;
}

// A calibration that has run its time finishes when anyone next looks.
void SimulatedController::settle(TimePoint now) {
  if (!calibrationEnds_) return;
  if (now < *calibrationEnds_) {
    const auto left = std::chrono::ceil<std::chrono::seconds>(*calibrationEnds_ - now);
    bank_[kRegCalibrationDetail] =
        static_cast<std::int16_t>(std::min<long long>(left.count(), 32767));
    return;
  }
  calibrationEnds_.reset();
  bank_[REG_DO_SENSOR_CAL] = 0;
  const bool success = outcome_ == CalibrationOutcome::Success;
  bank_[kRegCalibrationStatus] = success ? 0 : kCalibrationFailed;
  bank_[kRegCalibrationDetail] = success ? 0 : kFailedInFreeAir;
}

std::int16_t SimulatedController::valueAt(int reg, TimePoint now,
                                          const SettingsImage& settings) const {
  if (reg == kRegFirmware) return static_cast<std::int16_t>(options_.firmwareVersion);
  if (reg == kRegMode) return static_cast<std::int16_t>(mode_);
  if (EngineModel::animates(reg)) {
    const double seconds = std::chrono::duration<double>(now - started_).count();
    return engine_.value(reg, seconds, mode_ != kModeStopped, settings);
  }
  return bank_[reg];
}

bool SimulatedController::readRegisters(int first, int count, std::int16_t* out) {
  if (count < 0 || first < 1 || first + count - 1 > kRegisterCount) return false;
  const TimePoint now = clockNow();
  std::lock_guard lock(mutex_);
  settle(now);
  const SettingsImage settings = workingSettings();
  for (int i = 0; i < count; ++i) out[i] = valueAt(first + i, now, settings);
  return true;
}

std::int16_t SimulatedController::readRegister(int reg) {
  std::int16_t value = 0;
  readRegisters(reg, 1, &value);
  return value;
}

WriteStatus SimulatedController::writeRegisters(int first, int count, const std::int16_t* values,
                                                int function) {
  if (count < 1 || first < 1 || first + count - 1 > kRegisterCount) {
    return WriteStatus::IllegalAddress;
  }
  // An address the controller could not answer at is refused outright rather
  // than leaving the unit unreachable.
  if (REG_MODBUS_ADDRESS >= first && REG_MODBUS_ADDRESS < first + count &&
      !validAddress(values[REG_MODBUS_ADDRESS - first])) {
    return WriteStatus::IllegalValue;
  }
  const TimePoint now = clockNow();
  std::lock_guard lock(mutex_);
  settle(now);
  for (int i = 0; i < count; ++i) {
    bank_[first + i] = values[i];
    if (writeLog_.size() == kWriteLogCapacity) writeLog_.pop_front();
    writeLog_.push_back({first + i, values[i], function});
  }
  WriteStatus status = WriteStatus::Ok;
  for (int i = 0; i < count; ++i) {
    const WriteStatus effect = applyEffect(first + i, now);
    if (effect != WriteStatus::Ok) status = effect;
  }
  return status;
}

WriteStatus SimulatedController::applyEffect(int reg, TimePoint now) {
  const std::int16_t value = bank_[reg];
  switch (reg) {
    case REG_SAVE_DATA_COMMAND:
      if (value != kSaveCommandValue) break;
      bank_[REG_SAVE_DATA_COMMAND] = 0;
      if (!store(workingSettings())) return WriteStatus::DeviceFailure;
      ++saves_;
      break;
    case kRegO2Feedback:
      if (value == kSaveCommandValue) ++downloadCommits_;
      break;
    case REG_DO_SENSOR_CAL:
      if (value == options_.calibrationStartCode) startCalibration(now);
      break;
    case REG_MODBUS_ADDRESS: slave_ = value; break;
    default: break;
  }
  return WriteStatus::Ok;
}

// The sensor is calibrated in free air, so a start on a running engine fails
// at once; otherwise the outcome shows after `cal_timer_start` seconds.
void SimulatedController::startCalibration(TimePoint now) {
  if (mode_ != kModeStopped) {
    calibrationEnds_.reset();
    bank_[REG_DO_SENSOR_CAL] = 0;
    bank_[kRegCalibrationStatus] = kCalibrationFailed;
    bank_[kRegCalibrationDetail] = kFailedWhileRunning;
    return;
  }
  const int seconds = std::max<int>(0, bank_[REG_CAL_TIMER_START]);
  calibrationEnds_ = now + std::chrono::seconds(seconds);
  bank_[kRegCalibrationStatus] = kCalibrationRunning;
  settle(now);
}

// A file that held something other than settings is never written over.
bool SimulatedController::store(const SettingsImage& settings) {
  if (settingsLoad_ == SettingsLoad::Invalid) return false;
  if (!options_.settingsFile.empty() && !writeSettingsFile(options_.settingsFile, settings)) {
    return false;
  }
  stored_ = settings;
  return true;
}

void SimulatedController::setMode(int mode) {
  std::lock_guard lock(mutex_);
  mode_ = mode;
}

int SimulatedController::mode() const {
  std::lock_guard lock(mutex_);
  return mode_;
}

void SimulatedController::setCalibrationOutcome(CalibrationOutcome outcome) {
  std::lock_guard lock(mutex_);
  outcome_ = outcome;
}

void SimulatedController::powerCycle() {
  const TimePoint now = clockNow();
  std::lock_guard lock(mutex_);
  SettingsImage settings = stored_;
  auto& zeroing = settings[REG_ZEROING - kFirstSettingsRegister];
  if (zeroing != 0) {
    zeroing = 0;
    if (store(settings)) ++zeroings_;
  }
  bank_.fill(0);
  std::copy(settings.begin(), settings.end(), bank_.begin() + kFirstSettingsRegister);
  slave_ = addressIn(bank_[REG_MODBUS_ADDRESS]);
  bank_[kRegCalibrationStatus] = kCalibrationNotDone;
  calibrationEnds_.reset();
  started_ = now;
}

std::vector<RegisterWrite> SimulatedController::writeLog() const {
  std::lock_guard lock(mutex_);
  return {writeLog_.begin(), writeLog_.end()};
}

void SimulatedController::clearWriteLog() {
  std::lock_guard lock(mutex_);
  writeLog_.clear();
}

int SimulatedController::saveCount() const {
  std::lock_guard lock(mutex_);
  return saves_;
}

int SimulatedController::downloadCommitCount() const {
  std::lock_guard lock(mutex_);
  return downloadCommits_;
}

int SimulatedController::transducerZeroings() const {
  std::lock_guard lock(mutex_);
  return zeroings_;
}

SettingsImage SimulatedController::storedSettings() const {
  std::lock_guard lock(mutex_);
  return stored_;
}

void SimulatedController::recordStrayBytes(const std::uint8_t* bytes, std::size_t count) {
  std::lock_guard lock(mutex_);
  stray_.append(reinterpret_cast<const char*>(bytes), count);
  if (stray_.size() > kStrayCapacity) stray_.erase(0, stray_.size() - kStrayCapacity);
}

std::string SimulatedController::strayBytes() const {
  std::lock_guard lock(mutex_);
  return stray_;
}

}  // namespace vs::sim
