#pragma once

#include <array>
#include <cstdint>

#include "dialogs/settings_form.h"

namespace vs {

// "Pressure Settings" (template 120): the manifold-pressure loop's default,
// maximum, minimum and alternative start pressures and its two gains.
class PressureSettingsForm : public SettingsForm {
 public:
  static constexpr int kTemplateId = 120;
  static constexpr int DEFAULT_PRESSURE = 1005;
  static constexpr int MAX_PRESSURE = 1006;
  static constexpr int MIN_PRESSURE = 1011;
  static constexpr int PROPORTIONAL_GAIN = 1002;
  static constexpr int INTEGRAL_GAIN = 1003;
  static constexpr int ALT_START_PRESSURE = 1004;
  // Firmware from which the controller has an alternative start pressure.
  static constexpr int kAltStartFirmware = 462;

  // settings: registers 112 to 133; extra: 188 and 189 (read on 4.62 and later).
  PressureSettingsForm(ShellContext& ctx, const std::array<std::int16_t, 22>& settings,
                       const std::array<std::int16_t, 2>& extra);

 private:
  bool writeChanges(const Values& values) override;
};

}  // namespace vs
