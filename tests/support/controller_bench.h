#pragma once

#include <type_traits>

#include "forms/command_ids.h"
#include "forms/line_master.h"
#include "forms/link_worker.h"
#include "forms/service_memory.h"
#include "forms/shell_context.h"
#include "forms/valve_link.h"
#include "journal/journaling_master.h"
#include "sim/loopback_master.h"
#include "sim/simulated_controller.h"
#include "support/recording_master.h"
#include "support/scripted_desktop.h"
#include "support/temp_dir.h"

namespace vs::test {

// A connected main window in miniature for the settings commands: the
// simulated controller on the in-process line, a master that records every
// request, made on the link worker's thread as in the program, behind the
// journaling master (whose clock stands still), a scripted desktop, the state
// record and the dialogs' memory, and a data folder of its own.
struct ControllerBench {
  static constexpr int kLatestFirmware = 462;
  static constexpr LocalDateTime kNow{2026, 5, 1, 14, 3, 7};

  explicit ControllerBench(sim::ControllerOptions options = {})
      : controller(options), line(controller), master(line) {
    journaled.setPort(link.portName);
    desktop.lineBusy = [this] { return worker.busy(); };
    link.linkUp = true;
    link.firmwareVersion = static_cast<std::int16_t>(options.firmwareVersion);
  }

  // Sets a register on the controller without leaving a trace in the requests.
  void set(int reg, std::int16_t value) {
    controller.writeRegister(reg, value);
    controller.clearWriteLog();
  }
  std::int16_t get(int reg) { return controller.readRegister(reg); }
  // The n-th request from now (1 is the next) suffers the fault.
  void faultOnRequest(std::size_t n, sim::FaultKind kind) {
    const std::size_t target = master.sent + n;
    master.beforeRequest = [this, target, kind](std::size_t number) {
      if (number == target) controller.faults().injectNext(kind, 1);
    };
  }

  // Runs a main-window command whose dialog is handed to `script` (which takes
  // the form, and the form's host if it wants it); false when the dialog never
  // opened.
  template <typename FormType, typename Script>
  bool runWith(void (*command)(ShellContext&), Script script) {
    bool ran = false;
    desktop.onForm(FormType::kTemplateId, [&](Form& form, ScriptedFormHost& host) {
      ran = true;
      auto& typed = dynamic_cast<FormType&>(form);
      if constexpr (std::is_invocable_v<Script&, FormType&, ScriptedFormHost&>) {
        script(typed, host);
      } else {
        script(typed);
      }
    });
    command(ctx);
    return ran;
  }

  sim::SimulatedController controller;
  sim::LoopbackMaster line;
  RecordingMaster master;
  ScriptedDesktop desktop;
  ValveLink link;
  ServiceMemory memory;
  TempDir data;
  JournalingMaster journaled{master, ChangeJournal(journalPath(data.path())), [] { return kNow; }};
  LinkWorker worker{desktop};
  LineMaster lineMaster{worker, journaled};
  ShellContext ctx{desktop, lineMaster, worker, link, memory, data.path()};
};

}  // namespace vs::test
