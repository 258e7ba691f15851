#pragma once

#include <array>
#include <cstdint>

#include "dialogs/settings_form.h"

namespace vs {

// "Dynamic O2 Sensor Set Point Schedule" (template 138): five points pairing a
// pressure set point with an O2 sensor set point, and the flag that switches
// the schedule on. Change writes the whole schedule block at once; Close
// stores the settings; the link is checked every 500 ms while it is open.
class O2ScheduleForm : public SettingsForm {
 public:
  static constexpr int kTemplateId = 138;
  static constexpr int ENABLE_DISABLE = 1081;
  static constexpr int LINK_CHECK_TIMER = 275;
  static constexpr int kLinkCheckMilliseconds = 500;
  static constexpr int kPointCount = 5;
  // Registers 194 to 211: manpress0..4, o2_sp0..4, man_schedule_en and seven
  // more settings this dialog carries through unchanged.
  static constexpr int kFirstRegister = 194;
  static constexpr int kRegisterCount = 18;
  using Block = std::array<std::int16_t, kRegisterCount>;

  static constexpr int pressureEdit(int point) { return 1054 + 2 * point; }  // point 0 to 4
  static constexpr int o2Edit(int point) { return 1055 + 2 * point; }

  O2ScheduleForm(ShellContext& ctx, const Block& block);

  bool scheduleOn() const;

  void onInit() override;
  void onTimer(int id) override;
  void press(int id) override;
  void onClose() override { closeAndSave(); }

 private:
  bool writeChanges(const Values& values) override;
  void enableOrDisable();
  void closeAndSave();

  Block block_;
};

}  // namespace vs
