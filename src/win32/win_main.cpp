// Valvescope for Windows: the service and monitoring tool for the QX4
// gas-valve controller.

#include <windows.h>

#include "win32/main_window.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show) {
  const std::unique_ptr<vs::MainWindow> window = vs::MainWindow::create(instance);
  if (window == nullptr) {
    MessageBoxW(nullptr, L"Windows could not open the main window.", L"Valvescope",
                MB_OK | MB_ICONERROR);
    return 1;
  }
  ShowWindow(window->handle(), show);
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return static_cast<int>(message.wParam);
}
