#include "win32/main_window.h"

#include <algorithm>

#include "win32/gdi_canvas.h"
#include "win32/resource_ids.h"

namespace vs {
namespace {

// The sizes of the other front end's window, in pixels at 96 dots per inch:
// below the minimum the bar scales run their labels together.
constexpr SIZE kMinimumClient{1024, 680};
constexpr SIZE kNormalClient{1280, 800};

// What the panel shows until the link is wired: the engine running in closed
// loop near its set-points.
constexpr LiveValues kSampleValues{650, 640, 6000, 2000, 1200, 2, 6000, 900, 950, 0};

ATOM registerClass(HINSTANCE instance, WNDPROC procedure) {
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

std::unique_ptr<MainWindow> MainWindow::create(HINSTANCE instance) {
  static const ATOM registered = registerClass(instance, procedure);
  if (registered == 0) return nullptr;
  std::unique_ptr<MainWindow> window(new MainWindow);
  if (CreateWindowExW(0, kClassName, kTitle, WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT,
                      CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, instance,
                      window.get()) == nullptr) {
    return nullptr;
  }
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
  if (window_ != nullptr) DestroyWindow(window_);
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
  switch (message) {
    case WM_SIZE:
      if (wParam != SIZE_MINIMIZED) view_.resize(LOWORD(lParam), HIWORD(lParam));
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
    case WM_DESTROY: PostQuitMessage(0); return 0;
    default: return DefWindowProcW(window_, message, wParam, lParam);
  }
}

bool MainWindow::paintFrame() {
  RECT client;
  GetClientRect(window_, &client);
  if (!frame_.resize(client.right, client.bottom)) return false;
  GdiCanvas canvas(frame_.dc(), frame_.width(), frame_.height(), font_);
  link_.liveValues = kSampleValues;
  view_.paint(canvas, link_, playback_);
  return true;
}

SIZE MainWindow::outerSize(int width, int height) const {
  RECT outline{0, 0, MulDiv(width, dpi_, USER_DEFAULT_SCREEN_DPI),
               MulDiv(height, dpi_, USER_DEFAULT_SCREEN_DPI)};
  AdjustWindowRectExForDpi(&outline, WS_OVERLAPPEDWINDOW, FALSE, 0, static_cast<UINT>(dpi_));
  return {outline.right - outline.left, outline.bottom - outline.top};
}

}  // namespace vs
