#include "dialogs/o2_sensor_settings_form.h"

#include "forms/command_frame.h"
#include "registers/register_map.h"

namespace vs {
namespace {

constexpr int REG_O2_SP = 114;
constexpr int REG_O2_INTGRAL = 130;

}  // namespace

O2SensorSettingsForm::O2SensorSettingsForm(ShellContext& ctx, const O2SensorSettings& settings)
    : SettingsForm(kTemplateId, ctx, "  ") {
  addField(SET_POINT, "O2 Sensor Set Point", "Range : 16 - 26 ", FieldKind::Thousandths,
           settings.setPoint);
  addField(INTEGRAL_GAIN, "O2 Integral Gain", "Range :  1 - 65536", FieldKind::Unsigned,
           settings.integralGain);
  addField(WARM_UP_TIMER, "O2 Sensor Warm-up Timer", "Range :  0 - 300 sec", FieldKind::Unsigned,
           settings.warmUpSeconds);
  addField(CALIBRATION_TIMER, "Calibration Timer", "", FieldKind::Unsigned,
           settings.calibrationTimer, FieldState::Hidden);
}

bool O2SensorSettingsForm::writeChanges(const Values& values) {
  int failures = 0;
  failures += writeRegister(ctx_, REG_O2_SP, values.at(SET_POINT)) != 0;
  failures += writeRegister(ctx_, REG_O2_INTGRAL, values.at(INTEGRAL_GAIN)) != 0;
  failures += writeRegister(ctx_, REG_WARMUP_TIMER_START, values.at(WARM_UP_TIMER)) != 0;
  failures += writeRegister(ctx_, REG_CAL_TIMER_START, values.at(CALIBRATION_TIMER)) != 0;
  return failures == 0;
}

}  // namespace vs
