#include "dialogs/o2_schedule_form.h"

#include "forms/command_frame.h"
#include "registers/register_map.h"

namespace vs {
namespace {

constexpr int kFlagIndex = REG_MAN_SCHEDULE_EN - O2ScheduleForm::kFirstRegister;

std::string pointLabel(int point, const char* what) {
  return "Point " + std::to_string(point + 1) + " " + what;
}

}  // namespace

O2ScheduleForm::O2ScheduleForm(ShellContext& ctx, const Block& block)
    : SettingsForm(kTemplateId, ctx, "Dynamic O2 Sensor Set Point Schedule"), block_(block) {
  const auto addPoint = [this](int id, const std::string& label, std::int16_t value, int decimals) {
    addField(id, label, "", FieldKind::Thousandths, value, FieldState::Editable, decimals);
  };
  for (int point = 0; point < kPointCount; ++point) {
    addPoint(pressureEdit(point), pointLabel(point, "Pressure Set point"), block_[point], 2);
    addPoint(o2Edit(point), pointLabel(point, "O2 Sensor Set point"), block_[kPointCount + point],
             3);
  }
  setButtons({{1, "Change", true}, {ENABLE_DISABLE, "Enable/Disable", false}, {2, "Close", false}});
}

bool O2ScheduleForm::scheduleOn() const { return block_[kFlagIndex] != 0; }

void O2ScheduleForm::onInit() {
  setStatus(scheduleOn() ? "Dynamic schedule is on." : "Dynamic schedule is off.");
  startTimer(LINK_CHECK_TIMER, kLinkCheckMilliseconds);
}

void O2ScheduleForm::onTimer(int id) {
  if (id != LINK_CHECK_TIMER) return;
  // Left standing once shown: a link that came back may drop again.
  std::int16_t probe[2];
  if (readRegisters(ctx_, 1, probe, 2) != 0) setStatus("Communication Time-out.");
}

void O2ScheduleForm::press(int id) {
  switch (id) {
    case ENABLE_DISABLE: enableOrDisable(); break;
    case 2: closeAndSave(); break;
    default: SettingsForm::press(id); break;
  }
}

bool O2ScheduleForm::writeChanges(const Values& values) {
  // The points are new; the flag and the settings behind it go back as read.
  Block written = block_;
  for (int point = 0; point < kPointCount; ++point) {
    written[point] = values.at(pressureEdit(point));
    written[kPointCount + point] = values.at(o2Edit(point));
  }
  return writeRegisters(ctx_, kFirstRegister, written.data(), kRegisterCount) == 0;
}

void O2ScheduleForm::enableOrDisable() {
  // Acts on the flag as read at opening; a second toggle needs a new opening.
  setStatus(kWritingStatus);
  if (writeRegister(ctx_, REG_MAN_SCHEDULE_EN, scheduleOn() ? 0 : 1) != 0) {
    setStatus("Communication time-out!");
    return;
  }
  finish();
}

void O2ScheduleForm::closeAndSave() {
  setStatus(kWritingStatus);
  saveSettings(ctx_);
  finish();
}

}  // namespace vs
