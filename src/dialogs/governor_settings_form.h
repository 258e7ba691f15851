#pragma once

#include <array>
#include <cstdint>

#include "dialogs/settings_form.h"

namespace vs {

// "Governor Settings" (template 114): the engine-speed governor's set point,
// gains, timers, speed limits and speed gains. Change writes the governor
// block (145 to 171) with the registers it does not show carried through as
// read, the derivative pair (178, 179), and from firmware 4.40 the IC speed
// gain (186).
class GovernorSettingsForm : public SettingsForm {
 public:
  static constexpr int kTemplateId = 114;
  static constexpr int SPEED_SET_POINT = 1036;
  static constexpr int PROPORTIONAL_MIN = 1031;
  static constexpr int PROPORTIONAL_MAX = 1032;
  static constexpr int INTEGRAL_MIN = 1033;
  static constexpr int INTEGRAL_MAX = 1034;
  static constexpr int DERIVATIVE_MIN = 1058;
  static constexpr int DERIVATIVE_MAX = 1060;
  static constexpr int IDLE_DELAY = 1038;
  static constexpr int OVERSPEED = 1040;
  static constexpr int GOVERNOR_OFFSET = 1046;
  static constexpr int SPEED_MIN = 1051;
  static constexpr int SPEED_MAX = 1052;
  static constexpr int CRANK_SPEED = 1048;
  static constexpr int RAMP_RATE = 1054;
  static constexpr int IDLE_SPEED = 1056;
  static constexpr int SPEED_GAIN_ADC = 1074;
  static constexpr int SPEED_GAIN_IC = 1076;
  // The up-down control beside Speed Gain (ADC) moves within these.
  static constexpr int kSpeedGainLowest = 100;
  static constexpr int kSpeedGainHighest = 32000;
  static constexpr int kIcSpeedGainFirmware = 440;

  static constexpr int kGovernorRegister = 145;
  static constexpr int kGovernorCount = 27;
  static constexpr int kDerivativeRegister = 178;
  using GovernorBlock = std::array<std::int16_t, kGovernorCount>;
  using DerivativePair = std::array<std::int16_t, 2>;

  // Reads register 186 on firmware 4.40 and later; without it (older firmware
  // or no answer) Speed Gain (IC) stays empty and is never written.
  GovernorSettingsForm(ShellContext& ctx, const GovernorBlock& governor,
                       const DerivativePair& derivative);

  bool hasIcSpeedGain() const { return hasIcSpeedGain_; }

  // The up-down arrows: one step per press, kept within 100 to 32000.
  void stepSpeedGain(int steps);
  // Stores the settings; whatever the answer, the dialog ends.
  void saveAndClose() override;

 private:
  bool writeChanges(const Values& values) override;

  GovernorBlock governor_;
  DerivativePair derivative_;
  bool hasIcSpeedGain_ = false;
};

}  // namespace vs
