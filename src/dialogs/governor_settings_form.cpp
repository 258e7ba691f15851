#include "dialogs/governor_settings_form.h"

#include <algorithm>
#include <string>

#include "dialogs/typed_numbers.h"
#include "forms/command_frame.h"

namespace vs {
namespace {

constexpr int REG_SPEED_GAIN = 163;
constexpr int REG_IC_SPEED_GAIN = 186;

struct GovernorEdit {
  int id;
  const char* label;
  int reg;  // in the governor block (145 to 171) or the derivative pair (178, 179)
};

// Top to bottom as the dialog shows them.
constexpr GovernorEdit kEdits[] = {
    {GovernorSettingsForm::SPEED_SET_POINT, "Speed Set Point", 160},
    {GovernorSettingsForm::PROPORTIONAL_MIN, "Proportional Gain (Min)", 155},
    {GovernorSettingsForm::PROPORTIONAL_MAX, "Proportional Gain (Max)", 156},
    {GovernorSettingsForm::INTEGRAL_MIN, "Integral Gain (Min)", 157},
    {GovernorSettingsForm::INTEGRAL_MAX, "Intregral Gain (Max)", 158},
    {GovernorSettingsForm::DERIVATIVE_MIN, "Derivative Gain (Min)", 178},
    {GovernorSettingsForm::DERIVATIVE_MAX, "Derivative Gain (Max)", 179},
    {GovernorSettingsForm::IDLE_DELAY, "Idle Delay Timer", 161},
    {GovernorSettingsForm::OVERSPEED, "Overspeed", 164},
    {GovernorSettingsForm::GOVERNOR_OFFSET, "Governor Offset", 165},
    {GovernorSettingsForm::SPEED_MIN, "Speed (Min)", 166},
    {GovernorSettingsForm::SPEED_MAX, "Speed (Max)", 167},
    {GovernorSettingsForm::CRANK_SPEED, "Crank Speed", 168},
    {GovernorSettingsForm::RAMP_RATE, "Ramp Rate", 169},
    {GovernorSettingsForm::IDLE_SPEED, "Idle Speed", 170},
    {GovernorSettingsForm::SPEED_GAIN_ADC, "Speed Gain (ADC)", REG_SPEED_GAIN},
};

bool inDerivativePair(int reg) {
  return reg >= GovernorSettingsForm::kDerivativeRegister &&
         reg < GovernorSettingsForm::kDerivativeRegister + 2;
}

}  // namespace

GovernorSettingsForm::GovernorSettingsForm(ShellContext& ctx, const GovernorBlock& governor,
                                           const DerivativePair& derivative)
    : SettingsForm(kTemplateId, ctx, "Governor Settings"),
      governor_(governor),
      derivative_(derivative) {
  for (const GovernorEdit& edit : kEdits) {
    const std::int16_t value = inDerivativePair(edit.reg)
                                   ? derivative_[edit.reg - kDerivativeRegister]
                                   : governor_[edit.reg - kGovernorRegister];
    addField(edit.id, edit.label, "", FieldKind::Signed, value);
  }
  if (ctx.link.firmwareVersion >= kIcSpeedGainFirmware) {
    std::int16_t icGain[2];
    hasIcSpeedGain_ = readRegisters(ctx, REG_IC_SPEED_GAIN, icGain, 2) == 0;
    if (hasIcSpeedGain_) {
      addField(SPEED_GAIN_IC, "Speed Gain (IC)", "", FieldKind::Signed, icGain[0]);
    }
  }
}

void GovernorSettingsForm::stepSpeedGain(int steps) {
  const auto typedGain = readWholeNumber(text(SPEED_GAIN_ADC));
  const std::int64_t current =
      typedGain ? static_cast<std::int64_t>(*typedGain)
                : static_cast<std::int64_t>(governor_[REG_SPEED_GAIN - kGovernorRegister]);
  const std::int64_t stepped =
      std::clamp<std::int64_t>(current + steps, kSpeedGainLowest, kSpeedGainHighest);
  setText(SPEED_GAIN_ADC, std::to_string(stepped));
}

void GovernorSettingsForm::saveAndClose() {
  setStatus(kWritingStatus);
  saveSettings(ctx_);
  finish();
}

bool GovernorSettingsForm::writeChanges(const Values& values) {
  GovernorBlock governor = governor_;
  DerivativePair derivative = derivative_;
  for (const GovernorEdit& edit : kEdits) {
    if (inDerivativePair(edit.reg)) {
      derivative[edit.reg - kDerivativeRegister] = values.at(edit.id);
    } else {
      governor[edit.reg - kGovernorRegister] = values.at(edit.id);
    }
  }
  int failures = 0;
  failures += writeRegisters(ctx_, kGovernorRegister, governor.data(), kGovernorCount) != 0;
  failures += writeRegisters(ctx_, kDerivativeRegister, derivative.data(), 2) != 0;
  if (hasIcSpeedGain_) {
    failures += writeRegister(ctx_, REG_IC_SPEED_GAIN, values.at(SPEED_GAIN_IC)) != 0;
  }
  return failures == 0;
}

}  // namespace vs
