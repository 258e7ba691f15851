#include "dialogs/settings_commands.h"

#include <array>
#include <utility>

#include "dialogs/o2_sensor_settings_form.h"
#include "dialogs/password_gate_form.h"
#include "dialogs/pressure_settings_form.h"
#include "dialogs/zero_transducer_form.h"
#include "forms/command_frame.h"
#include "forms/line_master.h"
#include "registers/register_map.h"

namespace vs {
namespace {

constexpr const char* kReadFailed = "Failed to read valve settings.";
constexpr int kFullO2BlockFirmware = 140;
constexpr int kCalibrationTimerFirmware = 400;

}  // namespace

bool passwordGate(ShellContext& ctx) {
  // Locked until this run of the dialog accepts a password: an earlier
  // acceptance must not open the next guarded command.
  ctx.link.settingsLocked = true;
  PasswordGateForm form(ctx.link);
  runDialog(ctx, form, "Error creating password dialog");
  return !ctx.link.settingsLocked;
}

void pressureSettingsCommand(ShellContext& ctx) {
  const LineAction action(ctx.master, "Pressure Settings");
  stopPolling(ctx);
  std::array<std::int16_t, 22> settings{};
  std::array<std::int16_t, 2> extra{};
  const int settingsRead = readRegisters(ctx, kFirstSettingsRegister, settings.data(), 22);
  const int extraRead = ctx.link.firmwareVersion >= PressureSettingsForm::kAltStartFirmware
                            ? readRegisters(ctx, 188, extra.data(), 2)
                            : 0;
  if (settingsRead != 0 || extraRead != 0) {
    notice(ctx, kReadFailed, Icon::Exclamation, true);
    return;
  }
  PressureSettingsForm form(ctx, settings, extra);
  if (ctx.desktop.runForm(form) == 2) postReconnect(ctx);
}

void o2SensorSettingsCommand(ShellContext& ctx) {
  const LineAction action(ctx.master, "O2 Sensor Settings");
  stopPolling(ctx);
  std::array<std::int16_t, 2> firmware{};
  const int firmwareRead = readRegisters(ctx, 28, firmware.data(), 2);
  if (firmwareRead == 0) ctx.link.firmwareVersion = firmware[0];

  std::array<std::int16_t, 22> settings{};
  const int settingsRead = readRegisters(ctx, kFirstSettingsRegister, settings.data(), 22);
  // Older firmware answers only the first ten registers of the O2 block.
  std::array<std::int16_t, 27> o2Block{};
  const int o2Count = ctx.link.firmwareVersion >= kFullO2BlockFirmware ? 27 : 10;
  const int o2Read = readRegisters(ctx, REG_WARMUP_TIMER_START, o2Block.data(), o2Count);

  O2SensorSettings values;
  values.setPoint = settings[114 - 112];
  values.integralGain = settings[130 - 112];
  values.warmUpSeconds = o2Block[0];
  int timerRead = 0;
  if (ctx.link.firmwareVersion >= kCalibrationTimerFirmware) {
    std::array<std::int16_t, 2> timer{};
    timerRead = readRegisters(ctx, REG_CAL_TIMER_START, timer.data(), 2);
    values.calibrationTimer = timer[0];
  }
  if (o2Read == 0) ctx.link.warmUpSetting = values.warmUpSeconds;

  if (firmwareRead != 0 || settingsRead != 0 || o2Read != 0 || timerRead != 0) {
    notice(ctx, kReadFailed, Icon::Exclamation, true);
    return;
  }
  O2SensorSettingsForm form(ctx, values);
  if (ctx.desktop.runForm(form) == 2) postReconnect(ctx);
}

void zeroTransducerCommand(ShellContext& ctx) {
  const LineAction action(ctx.master, "Zero Transducer");
  stopPolling(ctx);
  std::array<std::int16_t, 2> zeroing{};
  readRegisters(ctx, REG_ZEROING, zeroing.data(), 2);
  if (readRegisters(ctx, REG_ZEROING, zeroing.data(), 2) != 0) {
    notice(ctx, "Valvescope is not connected to QX4.", Icon::None, false);
    postConnect(ctx);
    return;
  }
  if (passwordGate(ctx)) {
    ZeroTransducerForm form(ctx, zeroing[0]);
    runDialog(ctx, form, "Error creating zero xducer dialog");
    // A zeroing register that held a value before the press gets it back. The
    // value is used once: a later run of the dialog without a press must not
    // request a new zeroing on its own.
    const std::int32_t previous = std::exchange(ctx.memory.previousZeroing, 0);
    if (previous != 0) {
      const int restored = writeRegister(ctx, REG_ZEROING, static_cast<std::int16_t>(previous));
      saveSettings(ctx);
      if (ctx.link.linkUp && restored != 0) {
        ctx.desktop.messageBox("Failed to write to register", "Warning", Icon::Exclamation,
                               Buttons::Ok, true);
      }
    }
  }
  postConnect(ctx);
}

}  // namespace vs
