#pragma once

#include <windows.h>

#include <memory>

#include "logging/clock.h"
#include "shell/shell.h"
#include "win32/dib_frame.h"
#include "win32/win32_desktop.h"

namespace vs {

// The Valvescope main window on Win32: menu, instrument panel and status bar
// around the shell, with the keys F2, F3, F4, F12 and Escape from its key
// table. The panel is drawn through GdiCanvas into a DIB frame and copied to
// the screen in one piece, so that the instruments never flicker. The close
// box asks as the shell says; a Windows logout ends the program as Exit does.
class MainWindow {
 public:
  static constexpr const wchar_t* kClassName = L"ValvescopeMainWindow";
  static constexpr const wchar_t* kInitialTitle = L"QX4 Valvescope V.1.02";

  // The instruments' font at `dpi`: the canvas's panel font, semi-condensed,
  // since the panel's geometry leaves room for captions in a narrow system
  // font.
  static LOGFONTW instrumentFont(int dpi);

  // Registers the window class, once; false when Windows refuses.
  static bool registerClass(HINSTANCE instance);
  // Creates the window, not yet shown, sized for its monitor, and the shell
  // in it; empty when Windows refuses.
  static std::unique_ptr<MainWindow> create(HINSTANCE instance, ModbusSerialMaster& master,
                                            const Clock& clock, ShellSetup setup);
  ~MainWindow();
  MainWindow(const MainWindow&) = delete;
  MainWindow& operator=(const MainWindow&) = delete;

  HWND handle() const { return window_; }
  Shell& shell() { return *shell_; }
  Win32Desktop& desktop() { return *desktop_; }

 private:
  MainWindow() = default;
  static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT onMessage(UINT message, WPARAM wParam, LPARAM lParam);
  void onCommand(int id);
  void onSize(int width, int height);
  // Draws the panel into the frame; false when there is no frame to draw in
  // (a minimized window, or GDI out of memory).
  bool paintFrame();
  int panelHeight() const;
  // The window's outer size for a client area of `width` x `height` at 96
  // dots per inch, scaled to the window's monitor.
  SIZE outerSize(int width, int height) const;

  HWND window_ = nullptr;
  HWND statusBar_ = nullptr;
  int dpi_ = USER_DEFAULT_SCREEN_DPI;
  LOGFONTW font_{};
  DibFrame frame_;
  std::unique_ptr<Win32Desktop> desktop_;
  std::unique_ptr<Shell> shell_;  // after the desktop it talks to
};

}  // namespace vs
