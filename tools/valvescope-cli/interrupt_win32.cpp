#include <windows.h>

#include <atomic>

#include "interrupt.h"

namespace vs::cli {
namespace {

std::atomic<bool> requested{false};

// The system runs this on a thread of its own. Returning TRUE takes Ctrl-C and
// Ctrl-Break; for a closing console the process is ended as soon as this
// returns, so it waits instead, for main to finish and leave (which ends this
// thread too), within the few seconds the system grants.
BOOL WINAPI onConsoleEvent(DWORD event) {
  if (requested.exchange(true)) return FALSE;  // the second time: the default, ending now
  if (event == CTRL_C_EVENT || event == CTRL_BREAK_EVENT) return TRUE;
  ::Sleep(10'000);
  return FALSE;
}

}  // namespace

void stopOnInterrupt() { ::SetConsoleCtrlHandler(onConsoleEvent, TRUE); }

bool stopRequested() { return requested.load(); }

}  // namespace vs::cli
