#include "win32/console_exit.h"

#include <atomic>

namespace vs {
namespace {

std::atomic<ConsoleExit*> installed{nullptr};
std::atomic<int> events{0};

}  // namespace

BOOL WINAPI ConsoleExit::onEvent(DWORD event) {
  ConsoleExit* self = installed.load();
  // Not handled: Windows' own handler ends the process.
  if (self == nullptr || events++ > 0) return FALSE;
  self->desktop_.postEvent(self->exit_);
  if (event == CTRL_C_EVENT || event == CTRL_BREAK_EVENT) return TRUE;
  // The console closes (or the session ends): Windows ends the process as
  // soon as this returns, so it waits for the window's thread, whose Exit
  // ends the process first.
  Sleep(INFINITE);
  return TRUE;
}

ConsoleExit::ConsoleExit(Desktop& desktop, std::function<void()> exit)
    : desktop_(desktop), exit_(std::move(exit)) {
  // Started from a console, the program shares its Ctrl-C and its closing.
  AttachConsole(ATTACH_PARENT_PROCESS);
  installed = this;
  // Ctrl-C may come ignored from whoever started the program: it counts.
  SetConsoleCtrlHandler(nullptr, FALSE);
  SetConsoleCtrlHandler(onEvent, TRUE);
}

ConsoleExit::~ConsoleExit() {
  SetConsoleCtrlHandler(onEvent, FALSE);
  installed = nullptr;
}

}  // namespace vs
