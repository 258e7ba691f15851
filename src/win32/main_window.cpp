#include "win32/main_window.h"

#include <commctrl.h>

#include <algorithm>

#include "forms/command_ids.h"
#include "win32/gdi_canvas.h"
#include "win32/resource_ids.h"
#include "win32/wide_text.h"

namespace vs {
namespace {

static_assert(IDM_CONNECT == CMD_CONNECT && IDM_DISCONNECT == CMD_DISCONNECT &&
              IDM_COMM_PORT == CMD_COMM_PORT &&
              IDM_COMM_PORT_PROPERTIES == CMD_COMM_PORT_PROPERTIES && IDM_EXIT == CMD_EXIT &&
              IDM_LOG_ENABLE == CMD_LOG_ENABLE && IDM_LOG_DISABLE == CMD_LOG_DISABLE &&
              IDM_PLAYBACK == CMD_PLAYBACK && IDM_ZOOM_IN == CMD_ZOOM_IN &&
              IDM_ZOOM_OUT == CMD_ZOOM_OUT && IDM_GOVERNOR_SETTINGS == CMD_GOVERNOR_SETTINGS &&
              IDM_TRAVELER_REPORT == CMD_TRAVELER_REPORT &&
              IDM_FORCE_DIGITAL_INPUTS == CMD_FORCE_DIGITAL_INPUTS &&
              IDM_PRESSURE_SETTINGS == CMD_PRESSURE_SETTINGS &&
              IDM_O2_SENSOR_SETTINGS == CMD_O2_SENSOR_SETTINGS &&
              IDM_CALIBRATE_VALVE == CMD_CALIBRATE_VALVE &&
              IDM_FREE_AIR_CALIBRATION == CMD_FREE_AIR_CALIBRATION &&
              IDM_O2_SCHEDULE == CMD_O2_SCHEDULE &&
              IDM_DOWNLOAD_SETTINGS == CMD_DOWNLOAD_SETTINGS &&
              IDM_UPLOAD_SETTINGS == CMD_UPLOAD_SETTINGS &&
              IDM_ZERO_TRANSDUCER == CMD_ZERO_TRANSDUCER &&
              IDM_CHANGE_HISTORY == CMD_CHANGE_HISTORY && IDM_LINE_MONITOR == CMD_LINE_MONITOR);

// The sizes of the other front end's window, in pixels at 96 dots per inch:
// below the minimum the bar scales run their labels together.
constexpr SIZE kMinimumClient{1024, 680};
constexpr SIZE kNormalClient{1280, 800};

ShellKey keyOf(int id) {
  switch (id) {
    case IDK_F2: return ShellKey::F2;
    case IDK_F3: return ShellKey::F3;
    case IDK_F4: return ShellKey::F4;
    case IDK_F12: return ShellKey::F12;
    case IDK_ESCAPE: return ShellKey::Escape;
    default: return ShellKey::Other;
  }
}

ATOM registerWindowClass(HINSTANCE instance, WNDPROC procedure) {
  WNDCLASSEXW type{};
  type.cbSize = sizeof type;
  type.lpfnWndProc = procedure;
  type.hInstance = instance;
  type.hIcon = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(IDI_VALVESCOPE), IMAGE_ICON,
                                             0, 0, LR_DEFAULTSIZE | LR_SHARED));
  type.hIconSm = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(IDI_VALVESCOPE),
                                               IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                                               GetSystemMetrics(SM_CYSMICON), LR_SHARED));
  type.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  // No background brush: the panel covers the whole client area.
  type.lpszMenuName = MAKEINTRESOURCEW(IDR_MAIN_MENU);
  type.lpszClassName = MainWindow::kClassName;
  return RegisterClassExW(&type);
}

}  // namespace

LOGFONTW MainWindow::instrumentFont(int dpi) {
  LOGFONTW font = GdiCanvas::panelFont(dpi);
  // GDI narrows a TrueType face to the average width asked for: seven
  // eighths of its own, as a semi-condensed face is.
  HDC screen = GetDC(nullptr);
  HFONT natural = CreateFontIndirectW(&font);
  const HGDIOBJ old = SelectObject(screen, natural);
  TEXTMETRICW metrics{};
  GetTextMetricsW(screen, &metrics);
  SelectObject(screen, old);
  DeleteObject(natural);
  ReleaseDC(nullptr, screen);
  font.lfWidth = MulDiv(metrics.tmAveCharWidth, 7, 8);
  return font;
}

bool MainWindow::registerClass(HINSTANCE instance) {
  static const ATOM registered = registerWindowClass(instance, procedure);
  return registered != 0;
}

std::unique_ptr<MainWindow> MainWindow::create(HINSTANCE instance, ModbusSerialMaster& master,
                                               const Clock& clock, ShellSetup setup) {
  if (!registerClass(instance)) return nullptr;
  std::unique_ptr<MainWindow> window(new MainWindow);
  if (CreateWindowExW(WS_EX_CLIENTEDGE, kClassName, kInitialTitle,
                      WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, CW_USEDEFAULT, CW_USEDEFAULT,
                      CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, instance,
                      window.get()) == nullptr ||
      window->statusBar_ == nullptr) {
    return nullptr;
  }
  const HACCEL keys = LoadAcceleratorsW(instance, MAKEINTRESOURCEW(IDR_KEYS));
  window->desktop_ = std::make_unique<Win32Desktop>(window->window_, window->statusBar_, keys);
  window->shell_ = std::make_unique<Shell>(*window->desktop_, master, clock, std::move(setup));
  window->shell_->onCreate();

  // The normal size, on the monitor the window opened on, within its work area.
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  GetMonitorInfoW(MonitorFromWindow(window->window_, MONITOR_DEFAULTTONEAREST), &monitor);
  const RECT& room = monitor.rcWork;
  const SIZE normal = window->outerSize(kNormalClient.cx, kNormalClient.cy);
  const int width = std::min<int>(normal.cx, room.right - room.left);
  const int height = std::min<int>(normal.cy, room.bottom - room.top);
  SetWindowPos(window->window_, nullptr, room.left + (room.right - room.left - width) / 2,
               room.top + (room.bottom - room.top - height) / 2, width, height,
               SWP_NOZORDER | SWP_NOACTIVATE);
  return window;
}

MainWindow::~MainWindow() {
  if (desktop_ != nullptr) {
    desktop_->windowGone();
    desktop_->closeFormsBeside();
  }
  shell_.reset();
  if (window_ != nullptr) {
    SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
    DestroyWindow(window_);
  }
}

LRESULT CALLBACK MainWindow::procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* self = static_cast<MainWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    self->window_ = window;
    self->dpi_ = static_cast<int>(GetDpiForWindow(window));
    self->font_ = instrumentFont(self->dpi_);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<MainWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (self == nullptr) return DefWindowProcW(window, message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    self->window_ = nullptr;
    return DefWindowProcW(window, message, wParam, lParam);
  }
  return self->onMessage(message, wParam, lParam);
}

LRESULT MainWindow::onMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  // Until the shell is there (while Windows creates the window) only the
  // window's own housekeeping runs.
  if (shell_ == nullptr && message != WM_CREATE && message != WM_GETMINMAXINFO) {
    return DefWindowProcW(window_, message, wParam, lParam);
  }
  switch (message) {
    case WM_CREATE:
      statusBar_ = CreateWindowExW(
          0, STATUSCLASSNAMEW, nullptr, WS_CHILD | WS_VISIBLE | SBARS_SIZEGRIP, 0, 0, 0, 0, window_,
          reinterpret_cast<HMENU>(IDC_STATUS_BAR), GetModuleHandleW(nullptr), nullptr);
      return statusBar_ != nullptr ? 0 : -1;
    case Win32Desktop::kCommandMessage:
      shell_->onCommand(static_cast<int>(wParam));
      desktop_->afterDelivery();
      return 0;
    case Win32Desktop::kEventMessage:
      desktop_->runEvent();
      desktop_->afterDelivery();
      return 0;
    case WM_TIMER:
      if (wParam == Win32Desktop::kBusyLookTimer) {
        desktop_->lookBusy();
      } else {
        shell_->onTimer(static_cast<int>(wParam));
        desktop_->afterDelivery();
      }
      return 0;
    case WM_COMMAND: onCommand(LOWORD(wParam)); return 0;
    case WM_INITMENUPOPUP: {
      // The ticks show the log writer's state, whichever way it was set.
      const auto menu = reinterpret_cast<HMENU>(wParam);
      const bool enabled = shell_->logFileEnabled();
      CheckMenuItem(menu, IDM_LOG_ENABLE, MF_BYCOMMAND | (enabled ? MF_CHECKED : MF_UNCHECKED));
      CheckMenuItem(menu, IDM_LOG_DISABLE, MF_BYCOMMAND | (enabled ? MF_UNCHECKED : MF_CHECKED));
      return 0;
    }
    case WM_SIZE:
      SendMessageW(statusBar_, WM_SIZE, 0, 0);
      if (wParam != SIZE_MINIMIZED) onSize(LOWORD(lParam), HIWORD(lParam));
      return 0;
    case WM_ERASEBKGND: return 1;  // the panel paints every pixel
    case WM_PAINT: {
      PAINTSTRUCT paint;
      HDC dc = BeginPaint(window_, &paint);
      if (paintFrame()) frame_.copyTo(dc);
      EndPaint(window_, &paint);
      return 0;
    }
    case WM_PRINTCLIENT:
      if (paintFrame()) frame_.copyTo(reinterpret_cast<HDC>(wParam));
      return 0;
    case WM_SETCURSOR:
      if (desktop_->lookingBusy() && LOWORD(lParam) == HTCLIENT) {
        SetCursor(LoadCursorW(nullptr, IDC_WAIT));
        return TRUE;
      }
      return DefWindowProcW(window_, message, wParam, lParam);
    case WM_GETMINMAXINFO: {
      const SIZE minimum = outerSize(kMinimumClient.cx, kMinimumClient.cy);
      reinterpret_cast<MINMAXINFO*>(lParam)->ptMinTrackSize = {minimum.cx, minimum.cy};
      return 0;
    }
    case WM_DPICHANGED: {
      // The font follows at the next paint; Windows suggests the new outline.
      dpi_ = HIWORD(wParam);
      font_ = instrumentFont(dpi_);
      const RECT& suggested = *reinterpret_cast<const RECT*>(lParam);
      SetWindowPos(window_, nullptr, suggested.left, suggested.top,
                   suggested.right - suggested.left, suggested.bottom - suggested.top,
                   SWP_NOZORDER | SWP_NOACTIVATE);
      return 0;
    }
    case WM_CLOSE:
      if (shell_->onClose()) DestroyWindow(window_);
      return 0;
    // A logout: the program leaves as Exit does, "OUT" included, while
    // Windows waits for it.
    case WM_QUERYENDSESSION: return TRUE;
    case WM_ENDSESSION:
      if (wParam != FALSE) shell_->onCommand(CMD_EXIT);
      return 0;
    case WM_DESTROY:
      desktop_->windowGone();
      PostQuitMessage(0);
      return 0;
    default: return DefWindowProcW(window_, message, wParam, lParam);
  }
}

void MainWindow::onCommand(int id) {
  if (const ShellKey key = keyOf(id); key != ShellKey::Other) {
    shell_->onKey(key);
  } else {
    shell_->onCommand(id);
  }
  desktop_->afterDelivery();
}

void MainWindow::onSize(int width, int) {
  desktop_->layOutStatusParts();
  shell_->onResize(width, panelHeight());
}

int MainWindow::panelHeight() const {
  RECT client{};
  GetClientRect(window_, &client);
  RECT bar{};
  GetWindowRect(statusBar_, &bar);
  return std::max<int>(0, client.bottom - (bar.bottom - bar.top));
}

bool MainWindow::paintFrame() {
  RECT client;
  GetClientRect(window_, &client);
  if (!frame_.resize(client.right, panelHeight())) return false;
  GdiCanvas canvas(frame_.dc(), frame_.width(), frame_.height(), font_);
  shell_->onPaint(canvas);
  return true;
}

SIZE MainWindow::outerSize(int width, int height) const {
  RECT outline{0, 0, MulDiv(width, dpi_, USER_DEFAULT_SCREEN_DPI),
               MulDiv(height, dpi_, USER_DEFAULT_SCREEN_DPI)};
  AdjustWindowRectExForDpi(&outline, WS_OVERLAPPEDWINDOW, TRUE, WS_EX_CLIENTEDGE,
                           static_cast<UINT>(dpi_));
  return {outline.right - outline.left, outline.bottom - outline.top};
}

}  // namespace vs
