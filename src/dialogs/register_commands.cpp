#include "dialogs/register_commands.h"

#include <array>

#include "dialogs/calibration_list_form.h"
#include "dialogs/change_history_form.h"
#include "dialogs/download_settings_form.h"
#include "dialogs/settings_commands.h"
#include "dialogs/upload_settings_form.h"
#include "forms/command_frame.h"
#include "forms/line_master.h"
#include "journal/change_journal.h"
#include "registers/settings_transfer.h"

namespace vs {
namespace {

constexpr const char* kNotConnected = "Valvescope is not connected to QX4.";

}  // namespace

void calibrateValveCommand(ShellContext& ctx) {
  const LineAction action(ctx.master, "Calibrate Valve");
  stopPolling(ctx);
  std::array<std::int16_t, 22> probe{};
  if (readRegisters(ctx, kFirstSettingsRegister, probe.data(), 22) != 0) {
    notice(ctx, kNotConnected, Icon::Exclamation, true);
    return;
  }
  if (!passwordGate(ctx)) return;
  SettingsImage values{};
  const BlockTransfer read = readSettingsBlocks(ctx.master, ctx.link.slaveAddress, values);
  CalibrationListForm form(ctx, values, read);
  if (runDialog(ctx, form, "Error creating config dialog") == 2) {
    notice(ctx, "Failed to save valve settings!", Icon::None, false);
  }
  postReconnect(ctx);
}

void uploadSettingsCommand(ShellContext& ctx) {
  if (!ctx.link.linkUp) {
    notice(ctx, kNotConnected, Icon::Exclamation, true);
  } else {
    stopPolling(ctx);
    if (readSettingsBlocks(ctx.master, ctx.link.slaveAddress, ctx.memory.settingsImage).result ==
        0) {
      UploadSettingsForm form(ctx);
      runDialog(ctx, form, "Error creating upload dialog");
    } else {
      notice(ctx, "Unable to read data.", Icon::Exclamation, true);
    }
  }
  postConnect(ctx);
}

void downloadSettingsCommand(ShellContext& ctx) { downloadSettingsCommand(ctx, {}); }

void downloadSettingsCommand(ShellContext& ctx, const std::filesystem::path& file) {
  if (!ctx.link.linkUp) {
    notice(ctx, "Valvescope is not connected to QX4", Icon::Exclamation, true);
    return;
  }
  const LineAction action(ctx.master, DownloadSettingsForm::kAction);
  stopPolling(ctx);
  DownloadSettingsForm form(ctx, file);
  runDialog(ctx, form, "Error creating download dialog");
  postConnect(ctx);
  ctx.link.chartZoomed = false;
}

void changeHistoryCommand(ShellContext& ctx) {
  ChangeHistoryForm form(
      journalPath(ctx.dataDirectory),
      [&ctx](const std::filesystem::path& backup) { downloadSettingsCommand(ctx, backup); });
  runDialog(ctx, form, "Error creating change history dialog");
}

}  // namespace vs
