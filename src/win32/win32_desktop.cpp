#include "win32/win32_desktop.h"

#include <commctrl.h>

#include <algorithm>
#include <array>
#include <optional>
#include <string_view>

#include "win32/form_dialog.h"
#include "win32/form_views.h"
#include "win32/prompts.h"
#include "win32/wide_text.h"

namespace vs {
namespace {

// A wait shorter than this changes nothing on screen.
constexpr UINT kBusyLookMilliseconds = 250;

bool isDialog(HWND window) {
  wchar_t type[16] = {};
  GetClassNameW(window, type, 16);
  return std::wstring_view(type) == L"#32770";
}

}  // namespace

Win32Desktop::Win32Desktop(HWND window, HWND statusBar, HACCEL keys)
    : window_(window), statusBar_(statusBar), keys_(keys) {}

Win32Desktop::~Win32Desktop() { windowGone(); }

void Win32Desktop::startTimer(int id, int milliseconds) {
  SetTimer(window_, static_cast<UINT_PTR>(id), static_cast<UINT>(milliseconds), nullptr);
}

void Win32Desktop::killTimer(int id) { KillTimer(window_, static_cast<UINT_PTR>(id)); }

void Win32Desktop::postCommand(int id) {
  PostMessageW(window_, kCommandMessage, static_cast<WPARAM>(id), 0);
}

int Win32Desktop::messageBox(const std::string& text, const std::string& caption, Icon icon,
                             Buttons buttons, bool ownedByMainWindow) {
  return showMessageBox(ownedByMainWindow ? innermostOwner() : nullptr, text, caption, icon,
                        buttons);
}

int Win32Desktop::runForm(Form& form) {
  const std::unique_ptr<FormDialog> view = makeFormView(form);
  if (view == nullptr) return -1;
  const HWND owner = innermostOwner();
  forms_.push_back(view.get());
  const int result = view->run(owner);
  forms_.pop_back();
  return result;
}

bool Win32Desktop::showForm(Form& form) {
  std::unique_ptr<FormDialog>& view = formsBeside_[&form];
  if (view == nullptr) view = makeFormView(form);
  if (view == nullptr || !view->showModeless(window_)) {
    formsBeside_.erase(&form);
    return false;
  }
  return true;
}

HWND Win32Desktop::innermostOwner() const {
  return forms_.empty() || forms_.back()->handle() == nullptr ? window_ : forms_.back()->handle();
}

// The panel covers the client area but for the status bar, which repaints
// itself.
void Win32Desktop::invalidate(bool) {
  RECT panel{};
  GetClientRect(window_, &panel);
  RECT bar{};
  GetWindowRect(statusBar_, &bar);
  panel.bottom -= bar.bottom - bar.top;
  InvalidateRect(window_, &panel, FALSE);
}

void Win32Desktop::setTitle(const std::string& title) {
  SetWindowTextW(window_, toWide(title).c_str());
}

void Win32Desktop::setStatusText(int part, const std::string& text) {
  SendMessageW(statusBar_, SB_SETTEXTW, static_cast<WPARAM>(part),
               reinterpret_cast<LPARAM>(toWide(text).c_str()));
  if (part < 3) layOutStatusParts();
}

void Win32Desktop::layOutStatusParts() {
  RECT bar{};
  GetClientRect(statusBar_, &bar);
  const int width = bar.right;
  const std::array<int, 3> edges = {width / 10, static_cast<int>(width / 2.4),
                                    static_cast<int>(width / 1.35)};
  std::array<int, 4> rights{};
  HDC dc = GetDC(statusBar_);
  const HGDIOBJ old =
      SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(statusBar_, WM_GETFONT, 0, 0)));
  int left = 0;
  for (std::size_t part = 0; part < edges.size(); ++part) {
    const auto length =
        static_cast<std::size_t>(LOWORD(SendMessageW(statusBar_, SB_GETTEXTLENGTHW, part, 0)));
    std::wstring text(length + 1, L'\0');
    SendMessageW(statusBar_, SB_GETTEXTW, part, reinterpret_cast<LPARAM>(text.data()));
    SIZE extent{};
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(length), &extent);
    left = std::max<int>(edges[part], left + extent.cx +
                                          MulDiv(16, static_cast<int>(GetDpiForWindow(statusBar_)),
                                                 USER_DEFAULT_SCREEN_DPI));
    rights[part] = left;
  }
  SelectObject(dc, old);
  ReleaseDC(statusBar_, dc);
  rights[3] = -1;
  SendMessageW(statusBar_, SB_SETPARTS, rights.size(), reinterpret_cast<LPARAM>(rights.data()));
}

std::optional<std::string> Win32Desktop::chooseFile(const FileDialogRequest& request) {
  return showFileDialog(window_, request);
}

void Win32Desktop::postEvent(std::function<void()> event) {
  const std::lock_guard<std::mutex> lock(mutex_);
  if (!accepting_) return;
  events_.push_back(std::move(event));
  if (PostMessageW(window_, kEventMessage, 0, 0) == 0) events_.pop_back();
}

void Win32Desktop::runEvent() {
  std::function<void()> event;
  {
    const std::lock_guard<std::mutex> lock(mutex_);
    if (events_.empty()) return;
    event = std::move(events_.front());
    events_.pop_front();
  }
  event();
}

void Win32Desktop::afterDelivery() {
  if (!forms_.empty()) forms_.back()->closeIfEnded();
  for (const auto& [form, view] : formsBeside_) view->closeIfEnded();
}

void Win32Desktop::windowGone() {
  const std::lock_guard<std::mutex> lock(mutex_);
  accepting_ = false;
  events_.clear();
}

void Win32Desktop::closeFormsBeside() { formsBeside_.clear(); }

// The loop goes on here, nested, as under a dialog: the window repaints, its
// menus open, a dialog takes its Close. A quit that comes meanwhile is passed
// on to the loop outside once the line has answered.
void Win32Desktop::waitForLine(const std::function<bool()>& done) {
  SetTimer(window_, kBusyLookTimer, kBusyLookMilliseconds, nullptr);
  std::optional<int> quit;
  MSG message;
  while (!done()) {
    const BOOL got = GetMessageW(&message, nullptr, 0, 0);
    if (got == -1) break;
    if (got == 0) {
      quit = static_cast<int>(message.wParam);
      continue;
    }
    dispatch(message);
  }
  KillTimer(window_, kBusyLookTimer);
  if (lookingBusy_) {
    lookingBusy_ = false;
    SetCursor(LoadCursorW(nullptr, IDC_ARROW));
  }
  if (quit) PostQuitMessage(*quit);
}

void Win32Desktop::lookBusy() {
  KillTimer(window_, kBusyLookTimer);
  lookingBusy_ = true;
  POINT at{};
  GetCursorPos(&at);
  if (WindowFromPoint(at) == window_) SetCursor(LoadCursorW(nullptr, IDC_WAIT));
}

int Win32Desktop::run() {
  MSG message;
  BOOL got;
  while ((got = GetMessageW(&message, nullptr, 0, 0)) > 0) dispatch(message);
  return got == 0 ? static_cast<int>(message.wParam) : 1;
}

void Win32Desktop::dispatch(MSG& message) {
  const HWND root = message.hwnd != nullptr ? GetAncestor(message.hwnd, GA_ROOT) : nullptr;
  if (root == window_) {
    if (TranslateAcceleratorW(window_, keys_, &message) != 0) return;
  } else if (root != nullptr && isDialog(root) && IsDialogMessageW(root, &message) != 0) {
    return;
  }
  TranslateMessage(&message);
  DispatchMessageW(&message);
}

}  // namespace vs
