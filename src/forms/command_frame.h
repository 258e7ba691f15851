#pragma once

#include <cstdint>
#include <string>

#include "forms/form.h"
#include "forms/shell_context.h"

namespace vs {

// The frame every settings and maintenance command puts around its dialog, and
// the register requests the dialogs make, always to the slave address in use.

void stopPolling(ShellContext& ctx);
// Resumes live operation through the main window's own commands.
void postConnect(ShellContext& ctx);
void postReconnect(ShellContext& ctx);  // Disconnect, then Connect
// Restarts the poll timer as a settings dialog does when it ends.
void restartPolling(ShellContext& ctx);

// A message box of the main window with caption "Notice" and an OK button.
void notice(ShellContext& ctx, const std::string& text, Icon icon, bool ownedByMainWindow);

// Runs a dialog modally; one that cannot be created is reported with the
// given text and an empty caption. Returns the dialog's result, -1 for none.
int runDialog(ShellContext& ctx, Form& form, const std::string& creationFailure);

// What a dialog's status line says while its writes are on the line, so that
// the result of an earlier Change is not taken for this one's.
inline constexpr const char* kWritingStatus = "Writing to the controller. Please wait...";

// Device ID 0 reaches every controller on the line and none of them replies,
// so a write there would pass for success with nothing confirming it.
inline constexpr int kBroadcastAddress = 0;

int readRegisters(ShellContext& ctx, int firstRegister, std::int16_t* out, int count);
// Writes to the broadcast address are refused with MODBUS_BAD_ARGUMENT and no
// traffic.
int writeRegister(ShellContext& ctx, int reg, std::int16_t value);
int writeRegisters(ShellContext& ctx, int firstRegister, const std::int16_t* values, int count);
// 4660 to save_data_command: the controller stores its settings permanently.
int saveSettings(ShellContext& ctx);

}  // namespace vs
