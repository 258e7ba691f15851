#pragma once

#include <windows.h>

#include <functional>

#include "forms/desktop.h"

namespace vs {

// Ctrl-C or Ctrl-Break in the console the program was started from, and
// that console closing, end the program as Exit does, so that the
// controller still hears "OUT". Windows calls the handler on a thread of its
// own; it hands `exit` to the window's thread through Desktop::postEvent. A
// second such event ends the program at once, should the first way out be
// stuck. One at a time.
class ConsoleExit {
 public:
  ConsoleExit(Desktop& desktop, std::function<void()> exit);
  ~ConsoleExit();
  ConsoleExit(const ConsoleExit&) = delete;
  ConsoleExit& operator=(const ConsoleExit&) = delete;

 private:
  static BOOL WINAPI onEvent(DWORD event);

  Desktop& desktop_;
  std::function<void()> exit_;
};

}  // namespace vs
