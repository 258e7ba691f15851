#include "forms/command_frame.h"

#include "forms/command_ids.h"
#include "link/master_result.h"
#include "registers/register_map.h"

namespace vs {

void stopPolling(ShellContext& ctx) { ctx.desktop.killTimer(POLL_TIMER); }

void postConnect(ShellContext& ctx) { ctx.desktop.postCommand(CMD_CONNECT); }

void postReconnect(ShellContext& ctx) {
  ctx.desktop.postCommand(CMD_DISCONNECT);
  ctx.desktop.postCommand(CMD_CONNECT);
}

void restartPolling(ShellContext& ctx) { ctx.desktop.startTimer(POLL_TIMER, 200); }

void notice(ShellContext& ctx, const std::string& text, Icon icon, bool ownedByMainWindow) {
  ctx.desktop.messageBox(text, "Notice", icon, Buttons::Ok, ownedByMainWindow);
}

int runDialog(ShellContext& ctx, Form& form, const std::string& creationFailure) {
  const int result = ctx.desktop.runForm(form);
  if (result < 0) ctx.desktop.messageBox(creationFailure, "", Icon::None, Buttons::Ok, false);
  return result;
}

int readRegisters(ShellContext& ctx, int firstRegister, std::int16_t* out, int count) {
  return ctx.master.readHoldingRegisters(ctx.link.slaveAddress, firstRegister, out, count);
}

int writeRegister(ShellContext& ctx, int reg, std::int16_t value) {
  if (ctx.link.slaveAddress == kBroadcastAddress) return MODBUS_BAD_ARGUMENT;
  return ctx.master.writeSingleRegister(ctx.link.slaveAddress, reg, value);
}

int writeRegisters(ShellContext& ctx, int firstRegister, const std::int16_t* values, int count) {
  if (ctx.link.slaveAddress == kBroadcastAddress) return MODBUS_BAD_ARGUMENT;
  return ctx.master.writeMultipleRegisters(ctx.link.slaveAddress, firstRegister, values, count);
}

int saveSettings(ShellContext& ctx) {
  return writeRegister(ctx, REG_SAVE_DATA_COMMAND, kSaveCommandValue);
}

}  // namespace vs
