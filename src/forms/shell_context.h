#pragma once

#include <filesystem>

#include "forms/desktop.h"
#include "forms/line_master.h"
#include "forms/link_worker.h"
#include "forms/service_memory.h"
#include "forms/valve_link.h"

namespace vs {

// Everything a main-window command and its dialog work with: the window system,
// the master (whose requests run on the link worker while the window waits,
// and whose writes are journaled: LineMaster), the link worker itself, the
// application state and the dialogs' memory.
struct ShellContext {
  Desktop& desktop;
  LineMaster& master;
  LinkWorker& line;
  ValveLink& link;
  ServiceMemory& memory;
  std::filesystem::path dataDirectory;  // logs, journal, backups, file choosers
};

}  // namespace vs
