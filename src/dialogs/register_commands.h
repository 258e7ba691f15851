#pragma once

#include <filesystem>

#include "forms/shell_context.h"

namespace vs {

// Main-window commands of the dialogs that work on the whole settings register
// set. Each stops polling, runs its dialog and asks for a new connection; what
// they write is journaled under their menu item's name.

void calibrateValveCommand(ShellContext& ctx);    // 40033, F4 (password gated)
void uploadSettingsCommand(ShellContext& ctx);    // 40040
void downloadSettingsCommand(ShellContext& ctx);  // 40039
// Download Settings with the file already chosen.
void downloadSettingsCommand(ShellContext& ctx, const std::filesystem::path& file);
// The change journal, whose backups go back through Download Settings. It
// reads only the journal: polling goes on.
void changeHistoryCommand(ShellContext& ctx);  // 40045

}  // namespace vs
