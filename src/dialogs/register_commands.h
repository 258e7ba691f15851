#pragma once

#include "forms/shell_context.h"

namespace vs {

// Main-window commands of the dialogs that work on the whole settings register
// set. Each stops polling, runs its dialog and asks for a new connection.

void calibrateValveCommand(ShellContext& ctx);    // 40033, F4 (password gated)
void uploadSettingsCommand(ShellContext& ctx);    // 40040
void downloadSettingsCommand(ShellContext& ctx);  // 40039

}  // namespace vs
