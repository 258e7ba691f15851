#pragma once

#include <cstdint>
#include <string>

#include "forms/form.h"
#include "forms/shell_context.h"

namespace vs {

// "Oxygen Sensor Free Air Calibration" (template 122): starts the controller's
// free-air calibration of the O2 sensor, counts its time down on a one-second
// timer with a progress bar, waits 15 seconds more and reads the controller's
// calibration status. The countdown length and the ticks so far live in the
// service memory, so a later opening starts from what the last one learnt.
class FreeAirCalibrationForm : public Form {
 public:
  static constexpr int kTemplateId = 122;
  static constexpr int FREE_AIR_CAL = 1;
  static constexpr int CLOSE = 2;
  static constexpr int CALIBRATION_TIMER = 275;
  static constexpr int kTickMilliseconds = 1000;
  // Posted to itself when a calibration has ended; the parameter is an Outcome.
  static constexpr int WM_CALIBRATION_DONE = 0x8002;
  enum Outcome : int { SUCCESS = 0, NO_ANSWER = 1, FAILED = 2 };
  // Seconds between the end of the countdown and the status read.
  static constexpr int kSettleSeconds = 15;
  // Countdown when the controller cannot say (firmware before 4.00).
  static constexpr int kDefaultSeconds = 60;
  static constexpr int kCalibrationTimerFirmware = 400;

  explicit FreeAirCalibrationForm(ShellContext& ctx) : Form(kTemplateId, ctx.line), ctx_(ctx) {}

  const std::string& heading() const { return heading_; }
  const std::string& status() const { return status_; }
  bool progressVisible() const { return progressVisible_; }
  int progressMaximum() const { return progressMaximum_; }
  int progressPosition() const { return progressPosition_; }

  void onInit() override;
  void start();
  void close() { end(2); }
  void onClose() override { close(); }
  void onTimer(int id) override;
  void onMessage(int message, std::intptr_t param) override;

 private:
  void learnCountdown();

  ShellContext& ctx_;
  std::string heading_;
  std::string status_;
  bool progressVisible_ = false;
  int progressMaximum_ = 70;
  int progressPosition_ = 0;
};

}  // namespace vs
