#include "dialogs/maintenance_commands.h"

#include "dialogs/force_inputs_form.h"
#include "dialogs/free_air_calibration_form.h"
#include "dialogs/governor_settings_form.h"
#include "dialogs/o2_schedule_form.h"
#include "dialogs/settings_commands.h"
#include "forms/command_frame.h"
#include "forms/line_master.h"
#include "registers/register_map.h"

namespace vs {
namespace {

constexpr int REG_FIRMWARE = 28;

// The connection check of the guarded maintenance commands: settings block 1.
bool controllerAnswers(ShellContext& ctx) {
  std::int16_t probe[22];
  return readRegisters(ctx, kFirstSettingsRegister, probe, 22) == 0;
}

}  // namespace

void o2ScheduleCommand(ShellContext& ctx) {
  const LineAction action(ctx.master, "Dynamic O2 Set-point Schedule");
  stopPolling(ctx);
  std::int16_t firmware[2];
  const int firmwareRead = readRegisters(ctx, REG_FIRMWARE, firmware, 2);
  if (firmwareRead == 0) ctx.link.firmwareVersion = firmware[0];
  O2ScheduleForm::Block block{};
  const int blockRead = readRegisters(ctx, O2ScheduleForm::kFirstRegister, block.data(),
                                      O2ScheduleForm::kRegisterCount);
  if (firmwareRead != 0 || blockRead != 0) {
    notice(ctx, "Failed to read valve settings.", Icon::Exclamation, true);
    return;
  }
  O2ScheduleForm form(ctx, block);
  if (ctx.desktop.runForm(form) == 2) postReconnect(ctx);
}

void governorSettingsCommand(ShellContext& ctx) {
  const LineAction action(ctx.master, "Governor Settings");
  stopPolling(ctx);
  GovernorSettingsForm::GovernorBlock governor{};
  GovernorSettingsForm::DerivativePair derivative{};
  // Only the derivative pair decides: a controller without it has no governor.
  readRegisters(ctx, GovernorSettingsForm::kGovernorRegister, governor.data(),
                GovernorSettingsForm::kGovernorCount);
  if (readRegisters(ctx, GovernorSettingsForm::kDerivativeRegister, derivative.data(), 2) != 0) {
    notice(ctx, "This feature is not supported.", Icon::Exclamation, true);
    return;
  }
  GovernorSettingsForm form(ctx, governor, derivative);
  if (ctx.desktop.runForm(form) == 2) postReconnect(ctx);
}

void forceDigitalInputsCommand(ShellContext& ctx) {
  const LineAction action(ctx.master, "Force Digital Inputs");
  stopPolling(ctx);
  const bool answered = controllerAnswers(ctx);
  if (ctx.link.liveValues[LIVE_MODE] != 0) {
    notice(ctx, "Please shut down the engine to proceed!", Icon::None, false);
  } else if (!answered) {
    notice(ctx, "Communication time-out", Icon::None, false);
  } else if (passwordGate(ctx)) {
    ForceInputsForm form(ctx);
    ctx.desktop.runForm(form);
  }
  postConnect(ctx);
}

void freeAirCalibrationCommand(ShellContext& ctx) {
  const LineAction action(ctx.master, "O2 Free-air Calibration");
  stopPolling(ctx);
  if (!controllerAnswers(ctx)) {
    notice(ctx, "Valvescope is not connected to QX4.", Icon::None, false);
  } else if (passwordGate(ctx)) {
    FreeAirCalibrationForm form(ctx);
    ctx.desktop.runForm(form);
  }
  postConnect(ctx);
}

}  // namespace vs
