// Valvescope for Windows: the service and monitoring tool for the QX4
// gas-valve controller.

// The common controls need Windows' own header first.
// clang-format off
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>
// clang-format on

#include <memory>
#include <string>
#include <vector>

#include "forms/command_ids.h"
#include "link/modbus_rtu_master.h"
#include "logging/clock.h"
#include "shell/command_line.h"
#include "shell/data_paths.h"
#include "sim/simulated_controller.h"
#include "sim/simulated_port_master.h"
#include "win32/console_exit.h"
#include "win32/main_window.h"
#include "win32/wide_text.h"

namespace {

// The program's own arguments, in UTF-8.
std::vector<std::string> programArguments() {
  int count = 0;
  wchar_t** arguments = CommandLineToArgvW(GetCommandLineW(), &count);
  std::vector<std::string> utf8;
  for (int i = 1; i < count; ++i) utf8.push_back(vs::toUtf8(arguments[i]));
  LocalFree(arguments);
  return utf8;
}

// To the console or file the program's output goes to, where there is one
// (started from a console, or redirected); else in a message box.
void tell(const std::string& text, bool problem) {
  HANDLE out = GetStdHandle(problem ? STD_ERROR_HANDLE : STD_OUTPUT_HANDLE);
  const bool owned =
      (out == nullptr || out == INVALID_HANDLE_VALUE) && AttachConsole(ATTACH_PARENT_PROCESS) != 0;
  if (owned) {
    out = CreateFileW(L"CONOUT$", GENERIC_WRITE, FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                      nullptr);
  }
  DWORD written = 0;
  const bool said =
      out != nullptr && out != INVALID_HANDLE_VALUE &&
      WriteFile(out, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) != 0;
  if (owned && out != INVALID_HANDLE_VALUE) CloseHandle(out);
  if (!said) {
    MessageBoxW(nullptr, vs::toWide(text).c_str(), L"Valvescope",
                problem ? MB_ICONEXCLAMATION : MB_ICONINFORMATION);
  }
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  const vs::CommandLine line = vs::parseCommandLine(programArguments());
  if (line.help || line.version) {
    tell(line.version ? vs::kVersionText : vs::kUsageText, false);
    return 0;
  }
  if (!line.error.empty()) {
    tell("valvescope: " + line.error + "\n\n" + vs::kUsageText, true);
    return 2;
  }

  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_BAR_CLASSES | ICC_PROGRESS_CLASS |
                                                     ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
  InitCommonControlsEx(&controls);
  if (!vs::MainWindow::registerClass(instance)) {
    MessageBoxW(nullptr, L"Window Registration Failed!", L"Error!", MB_ICONEXCLAMATION | MB_OK);
    return 0;
  }

  vs::ShellSetup setup;
  setup.dataDirectory = vs::resolveDataDirectory(line.dataDirectory);
  setup.port = line.port;
  // Exit ends the process at once: the shell has closed the port and the
  // log and said "OUT" by then.
  setup.endProcess = [](int exitCode) { ExitProcess(static_cast<UINT>(exitCode)); };

  // --simulate: the simulated controller inside the program, paced like the
  // line; without it, the serial ports.
  std::unique_ptr<vs::sim::SimulatedController> controller;
  std::unique_ptr<vs::ModbusRtuMaster> master;
  if (line.simulate) {
    controller = std::make_unique<vs::sim::SimulatedController>();
    master = std::make_unique<vs::sim::SimulatedPortMaster>(*controller);
    setup.port = vs::sim::SimulatedPortMaster::kPortName;
    setup.simulated = true;
  } else {
    master = std::make_unique<vs::ModbusRtuMaster>();
  }

  vs::SystemClock clock;
  const std::unique_ptr<vs::MainWindow> window =
      vs::MainWindow::create(instance, *master, clock, std::move(setup));
  if (window == nullptr) {
    MessageBoxW(nullptr, L"Window Creation Failed!", L"Error!", MB_ICONEXCLAMATION | MB_OK);
    return 0;
  }
  const vs::ConsoleExit consoleExit(window->desktop(),
                                    [&window] { window->shell().onCommand(vs::CMD_EXIT); });
  ShowWindow(window->handle(), SW_SHOWMAXIMIZED);
  UpdateWindow(window->handle());
  window->shell().startUp();
  if (window->shell().ended()) return 0;
  return window->desktop().run();
}
