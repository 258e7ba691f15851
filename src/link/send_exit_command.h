#pragma once

#include <functional>
#include <string>

#include "link/serial_stream_settings.h"

namespace vs {

// The command kind that sends "OUT", the only one the application uses.
constexpr int EXIT_COMMAND_OUT = 2;

// What the exit command needs of the main window.
struct ExitCommandWindow {
  CommNotifyTarget notify;  // line events while the port is open; may be empty
  // Shows a warning box; called when the port cannot be opened.
  std::function<void(const std::string& text, const std::string& caption)> warn;
};

// Opens the port once more as a command stream and, for EXIT_COMMAND_OUT,
// sends the three characters "OUT" in one write, then closes it. Called at
// exit, after the Modbus master has released the port. A port that cannot be
// opened is reported through window.warn; the exit goes on either way.
void SendExitCommand(const ExitCommandWindow& window, const std::string& portName, int baudRate,
                     int commandKind);

}  // namespace vs
