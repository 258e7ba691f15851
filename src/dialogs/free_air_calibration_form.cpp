#include "dialogs/free_air_calibration_form.h"

#include <algorithm>

#include "forms/command_frame.h"
#include "registers/register_map.h"

namespace vs {
namespace {

constexpr int REG_FIRMWARE = 28;
constexpr int REG_CALIBRATION_STATUS = 62;

}  // namespace

void FreeAirCalibrationForm::onInit() {
  heading_ = "Attention!";
  status_ = "Make sure the engine is shut down before proceeding.";
}

// The countdown is the controller's own calibration time where it has one;
// without an answer the last known length stands.
void FreeAirCalibrationForm::learnCountdown() {
  std::int16_t firmware[2];
  if (readRegisters(ctx_, REG_FIRMWARE, firmware, 2) != 0) return;
  std::int32_t& seconds = ctx_.memory.calibrationSeconds;
  seconds = kDefaultSeconds;
  if (firmware[0] >= kCalibrationTimerFirmware) {
    std::int16_t timer[2];
    if (readRegisters(ctx_, REG_CAL_TIMER_START, timer, 2) == 0) seconds = timer[0];
  }
}

void FreeAirCalibrationForm::start() {
  learnCountdown();
  // The mode of the last poll: polling stops while this dialog is open.
  if (ctx_.link.liveValues[LIVE_MODE] != 0) {
    status_ = "Please shut down the engine!";
    return;
  }
  heading_.clear();
  const bool started = writeRegister(ctx_, REG_DO_SENSOR_CAL, kCalibrationStartCode) == 0;
  ctx_.memory.calibrationTicks = 0;
  progressVisible_ = true;
  // A controller that reports a negative time gets no countdown at all.
  progressMaximum_ = std::clamp(ctx_.memory.calibrationSeconds, 0, 0xFFFF);
  progressPosition_ = 0;
  status_ = "O2 Sensor free air calibration is in process. Please wait...";
  startTimer(CALIBRATION_TIMER, kTickMilliseconds);
  if (!started) host().post(WM_CALIBRATION_DONE, NO_ANSWER);
}

void FreeAirCalibrationForm::onTimer(int id) {
  if (id != CALIBRATION_TIMER) return;
  const std::int32_t seconds = ctx_.memory.calibrationSeconds;
  std::int32_t& ticks = ctx_.memory.calibrationTicks;
  const std::int32_t left = seconds - ticks;
  if (left > 0) {
    progressPosition_ = std::min(progressPosition_ + 1, progressMaximum_);
    std::int16_t probe[2];
    readRegisters(ctx_, 1, probe, 2);  // a link check; its answer is not used
    status_ = "O2 Sensor free air calibration is in process: " + std::to_string(left);
  }
  ++ticks;
  // A negative calibration time counts as none rather than a wait for ever.
  if (ticks >= std::max(seconds, 0) + kSettleSeconds) {
    ticks = 0;
    std::int16_t result[2];
    const bool answered = readRegisters(ctx_, REG_CALIBRATION_STATUS, result, 2) == 0;
    progressPosition_ = progressMaximum_;
    const Outcome outcome = !answered                            ? NO_ANSWER
                            : (result[0] != 0 || result[1] != 0) ? FAILED
                                                                 : SUCCESS;
    host().post(WM_CALIBRATION_DONE, outcome);
  }
}

void FreeAirCalibrationForm::onMessage(int message, std::intptr_t param) {
  if (message != WM_CALIBRATION_DONE) return;
  killTimer(CALIBRATION_TIMER);
  progressVisible_ = false;
  switch (param) {
    case SUCCESS: status_ = "Free air calibration is successfully completed."; break;
    case NO_ANSWER:
      status_ = "Communication Time-Out. Please try again.";
      progressPosition_ = 0;
      break;
    default:
      status_ = "Free air calibration failed!";
      progressPosition_ = 0;
      break;
  }
}

}  // namespace vs
