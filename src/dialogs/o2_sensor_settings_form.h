#pragma once

#include <cstdint>

#include "dialogs/settings_form.h"

namespace vs {

// The register values the O2 sensor settings dialog shows.
struct O2SensorSettings {
  std::int16_t setPoint = 0;           // 114 o2_sp, thousandths
  std::int16_t integralGain = 0;       // 130 o2_intgral
  std::int16_t warmUpSeconds = 0;      // 145 warmup_timer_start
  std::int16_t calibrationTimer = 60;  // 184 cal_timer_start, or 60 before firmware 4.00
};

// O2 sensor settings (template 121, caption two blanks): set point, integral
// gain and warm-up timer, with the free-air calibration timer carried through
// in a hidden field.
class O2SensorSettingsForm : public SettingsForm {
 public:
  static constexpr int kTemplateId = 121;
  static constexpr int SET_POINT = 1007;
  static constexpr int INTEGRAL_GAIN = 1001;
  static constexpr int WARM_UP_TIMER = 1008;
  static constexpr int CALIBRATION_TIMER = 1009;

  O2SensorSettingsForm(ShellContext& ctx, const O2SensorSettings& settings);

 private:
  bool writeChanges(const Values& values) override;
};

}  // namespace vs
