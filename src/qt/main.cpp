// Valvescope: the service and monitoring tool for the QX4 gas-valve controller.

#include <QApplication>
#include <QCoreApplication>
#include <clocale>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "forms/command_ids.h"
#include "link/modbus_rtu_master.h"
#include "logging/clock.h"
#include "qt/exit_signals.h"
#include "qt/main_window.h"
#include "shell/command_line.h"
#include "shell/data_paths.h"

#if !defined(_WIN32)
#include "sim/pty_simulator.h"
#include "sim/simulated_controller.h"
#endif

namespace {

// --simulate: a simulated QX4 on a pseudo-terminal, served by a thread of its
// own. Its replies come at once rather than at the line's pace: pacing each
// byte on a pty costs about as much processor time as the program itself (a real
// adapter hands bytes over in bursts), and nothing on screen depends on it.
#if !defined(_WIN32)
struct SimulatedValve {
  vs::sim::SimulatedController controller;
  vs::sim::PtySimulator line{controller, vs::sim::LineOptions{}};
};
#endif

std::vector<std::string> argumentsOf(int argc, char** argv) {
  return std::vector<std::string>(argv + 1, argv + argc);
}

}  // namespace

int main(int argc, char** argv) {
  // Answered before the window system starts, so that they work without a display.
  if (vs::asksForHelpOrVersion(argc, argv)) {
    const vs::CommandLine line = vs::parseCommandLine(argumentsOf(argc, argv));
    std::fputs(line.version ? vs::kVersionText : vs::kUsageText, stdout);
    return 0;
  }

  QApplication app(argc, argv);
  // Watched from the start: a signal during a slow start is handled as soon as
  // the window's first event loop runs.
  vs::MainWindow* shown = nullptr;
  const vs::ExitSignals exitSignals([&shown] {
    if (shown != nullptr) shown->shell().onCommand(vs::CMD_EXIT);
  });
  // Qt takes the user's locale for the C library too; numbers on the panel and
  // in the title keep their decimal point whatever the locale.
  std::setlocale(LC_NUMERIC, "C");

  // Qt has taken its own options out of argv by now.
  const vs::CommandLine line = vs::parseCommandLine(argumentsOf(argc, argv));
  if (!line.error.empty()) {
    std::fprintf(stderr, "valvescope: %s\n\n%s", line.error.c_str(), vs::kUsageText);
    return 2;
  }

  vs::ShellSetup setup;
  setup.dataDirectory = vs::resolveDataDirectory(line.dataDirectory);
  setup.port = line.port;
  setup.endProcess = [](int exitCode) { QCoreApplication::exit(exitCode); };

#if !defined(_WIN32)
  std::unique_ptr<SimulatedValve> simulated;
  if (line.simulate) {
    simulated = std::make_unique<SimulatedValve>();
    if (const int error = simulated->line.start(); error != 0) {
      std::fprintf(stderr, "valvescope: cannot start the simulated controller: %s\n",
                   std::strerror(error));
      return 1;
    }
    setup.port = simulated->line.path();
    setup.simulated = true;
  }
#else
  if (line.simulate) {
    std::fputs("valvescope: --simulate is not available on Windows\n", stderr);
    return 2;
  }
#endif

  vs::SystemClock clock;
  vs::ModbusRtuMaster master;
  vs::MainWindow window(master, clock, std::move(setup));
  shown = &window;
  window.showMaximized();
  window.startUp();
  if (window.shell().ended()) return 0;
  return app.exec();
}
