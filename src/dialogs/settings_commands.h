#pragma once

#include "forms/shell_context.h"

namespace vs {

// Main-window commands of the settings and maintenance dialogs. Each stops
// polling, reads what its dialog shows, runs the dialog and resumes live
// operation by posting Connect (or Disconnect then Connect) to the main window.
// What they write is journaled under their menu item's name.

// The password dialog in front of a guarded command; true when a service
// password was accepted. A dialog that cannot be created is reported and never
// lets the command through.
bool passwordGate(ShellContext& ctx);

void pressureSettingsCommand(ShellContext& ctx);  // 40031, F2
void o2SensorSettingsCommand(ShellContext& ctx);  // 40032, F3
void zeroTransducerCommand(ShellContext& ctx);    // 40044

}  // namespace vs
