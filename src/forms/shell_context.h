#pragma once

#include <filesystem>

#include "forms/desktop.h"
#include "forms/service_memory.h"
#include "forms/valve_link.h"
#include "link/modbus_master.h"

namespace vs {

// Everything a main-window command and its dialog work with: the window system,
// the one Modbus master, the application state and the dialogs' memory.
struct ShellContext {
  Desktop& desktop;
  ModbusMaster& master;
  ValveLink& link;
  ServiceMemory& memory;
  std::filesystem::path dataDirectory;  // logs, comm_config.dat, file choosers
};

}  // namespace vs
