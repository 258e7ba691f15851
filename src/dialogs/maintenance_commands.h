#pragma once

#include "forms/shell_context.h"

namespace vs {

// Main-window commands of the maintenance dialogs, which have no menu item or
// key of their own in the controller's menu (the traveler report's is beside
// its form). Each does its pre-reads, asks for the password where the dialog
// is guarded, runs the dialog and resumes live operation as its dialog
// requires. What they write is journaled under their menu item's name.

void o2ScheduleCommand(ShellContext& ctx);          // 40037
void governorSettingsCommand(ShellContext& ctx);    // 40021
void forceDigitalInputsCommand(ShellContext& ctx);  // 40029 (password gated)
void freeAirCalibrationCommand(ShellContext& ctx);  // 40036 (password gated)

}  // namespace vs
