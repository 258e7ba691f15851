#pragma once

#include <filesystem>

#include "forms/desktop.h"
#include "forms/link_worker.h"
#include "forms/service_memory.h"
#include "forms/valve_link.h"
#include "link/modbus_master.h"

namespace vs {

// Everything a main-window command and its dialog work with: the window system,
// the master (whose requests run on the link worker while the window waits,
// LineMaster), the link worker itself, the application state and the dialogs'
// memory.
struct ShellContext {
  Desktop& desktop;
  ModbusMaster& master;
  LinkWorker& line;
  ValveLink& link;
  ServiceMemory& memory;
  std::filesystem::path dataDirectory;  // logs, comm_config.dat, file choosers
};

}  // namespace vs
