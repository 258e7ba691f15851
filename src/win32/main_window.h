#pragma once

#include <windows.h>

#include <memory>

#include "forms/valve_link.h"
#include "logging/playback_state.h"
#include "shell/live_view.h"
#include "win32/dib_frame.h"

namespace vs {

// The Valvescope main window on Win32. So far it holds the instrument panel
// alone, on one fixed set of sample values that its title owns up to: the
// shell, menu and status bar join it once the link runs on its own thread.
// The panel is drawn through GdiCanvas into a DIB frame and copied to the
// screen in one piece, so that the instruments never flicker.
class MainWindow {
 public:
  static constexpr const wchar_t* kClassName = L"ValvescopeMainWindow";
  static constexpr const wchar_t* kTitle =
      L"QX4 Valvescope V.1.02 - sample values, no controller connected";

  // The instruments' font at `dpi`: the canvas's panel font, semi-condensed,
  // since the panel's geometry leaves room for captions in a narrow system
  // font.
  static LOGFONTW instrumentFont(int dpi);

  // Creates the window, not yet shown, sized for its monitor; empty when
  // Windows refuses.
  static std::unique_ptr<MainWindow> create(HINSTANCE instance);
  ~MainWindow();
  MainWindow(const MainWindow&) = delete;
  MainWindow& operator=(const MainWindow&) = delete;

  HWND handle() const { return window_; }

 private:
  MainWindow() = default;
  static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT onMessage(UINT message, WPARAM wParam, LPARAM lParam);
  // Draws the panel into the frame; false when there is no frame to draw in
  // (a minimized window, or GDI out of memory).
  bool paintFrame();
  // The window's outer size for a client area of `width` x `height` at 96
  // dots per inch, scaled to the window's monitor.
  SIZE outerSize(int width, int height) const;

  HWND window_ = nullptr;
  int dpi_ = USER_DEFAULT_SCREEN_DPI;
  LOGFONTW font_{};
  ValveLink link_;
  LiveView view_;
  PlaybackState playback_{view_.chart(), link_};
  DibFrame frame_;
};

}  // namespace vs
