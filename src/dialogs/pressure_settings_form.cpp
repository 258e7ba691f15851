#include "dialogs/pressure_settings_form.h"

#include "forms/command_frame.h"

namespace vs {
namespace {

constexpr int REG_DEFAULT_PRESSURE = 123;
constexpr int REG_PRESSURE_PROP = 126;
constexpr int REG_PRESSURE_INTGRAL = 127;
constexpr int REG_ALT_START_PRESSURE = 188;

std::int16_t settingsValue(const std::array<std::int16_t, 22>& settings, int reg) {
  return settings[static_cast<std::size_t>(reg - 112)];
}

}  // namespace

PressureSettingsForm::PressureSettingsForm(ShellContext& ctx,
                                           const std::array<std::int16_t, 22>& settings,
                                           const std::array<std::int16_t, 2>& extra)
    : SettingsForm(kTemplateId, ctx, "Pressure Settings") {
  const auto inches = FieldKind::Thousandths;
  addField(DEFAULT_PRESSURE, "Default Pressure", "Range :  0 - 24 in. W.C.", inches,
           settingsValue(settings, REG_DEFAULT_PRESSURE));
  addField(MAX_PRESSURE, "Maximum Pressure Limit", "Range :  Default - 24 in. W.C.", inches,
           settingsValue(settings, REG_MAX_PRESSURE));
  addField(MIN_PRESSURE, "Minimum Pressure Limit", "Range :  -8  - Default in. W.C.", inches,
           settingsValue(settings, REG_MIN_PRESSURE));
  addField(PROPORTIONAL_GAIN, "Pressure Proportional Gain", "Range :  1 - 65536",
           FieldKind::Unsigned, settingsValue(settings, REG_PRESSURE_PROP));
  addField(INTEGRAL_GAIN, "Pressure Integral Gain", "Range :  1 - 65536", FieldKind::Unsigned,
           settingsValue(settings, REG_PRESSURE_INTGRAL));
  const bool hasAltStart = ctx.link.firmwareVersion >= kAltStartFirmware;
  addField(ALT_START_PRESSURE, "Alternative Start Pressure", "Range :  0 - 24 in. W.C.", inches,
           extra[0], hasAltStart ? FieldState::Editable : FieldState::Disabled);
}

bool PressureSettingsForm::writeChanges(const Values& values) {
  int failures = 0;
  failures += writeRegister(ctx_, REG_PRESSURE_PROP, values.at(PROPORTIONAL_GAIN)) != 0;
  failures += writeRegister(ctx_, REG_PRESSURE_INTGRAL, values.at(INTEGRAL_GAIN)) != 0;
  failures += writeRegister(ctx_, REG_MIN_PRESSURE, values.at(MIN_PRESSURE)) != 0;
  failures += writeRegister(ctx_, REG_MAX_PRESSURE, values.at(MAX_PRESSURE)) != 0;
  failures += writeRegister(ctx_, REG_DEFAULT_PRESSURE, values.at(DEFAULT_PRESSURE)) != 0;
  if (values.count(ALT_START_PRESSURE) != 0) {
    failures += writeRegister(ctx_, REG_ALT_START_PRESSURE, values.at(ALT_START_PRESSURE)) != 0;
  }
  // The main window's pressure scales follow the limits just entered.
  ctx_.link.pressureRangeMin = values.at(MIN_PRESSURE) / 1000.0;
  ctx_.link.pressureRangeMax = values.at(MAX_PRESSURE) / 1000.0;
  return failures == 0;
}

}  // namespace vs
