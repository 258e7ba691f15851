#include "win32/form_dialog.h"

#include <algorithm>
#include <string_view>

#include "win32/prompts.h"
#include "win32/wide_text.h"

namespace vs {
namespace {

// A wait shorter than this changes nothing on screen.
constexpr UINT kBusyLookMilliseconds = 250;
// Timer ids of the dialog's own; forms number theirs from 1.
constexpr UINT_PTR kBusyLookTimer = 0x7F00;
// What a form posts to itself: wParam its message, lParam its parameter.
constexpr UINT kFormMessage = WM_APP + 1;

bool takesInput(HWND window) {
  wchar_t type[32] = {};
  GetClassNameW(window, type, 32);
  const std::wstring_view name = type;
  if (name == L"Button") {
    // A group box only frames others.
    return (GetWindowLongW(window, GWL_STYLE) & BS_TYPEMASK) != BS_GROUPBOX;
  }
  return name == L"Edit" || name == L"ComboBox" || name == L"ListBox" || name == L"SysListView32" ||
         name == L"msctls_trackbar32" || name == L"msctls_updown32" || name == L"SysDateTimePick32";
}

}  // namespace

FormDialog::FormDialog(Form& form) : form_(form), host_(*this) { form_.attach(&host_); }

FormDialog::~FormDialog() {
  if (modeless_ && dialog_ != nullptr) DestroyWindow(dialog_);
  form_.attach(nullptr);
}

int FormDialog::run(HWND owner) {
  const INT_PTR result =
      DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(form_.templateId()), owner,
                      procedure, reinterpret_cast<LPARAM>(this));
  if (result == -1 && dialog_ == nullptr) return -1;
  dialog_ = nullptr;
  return form_.result();
}

bool FormDialog::showModeless(HWND owner) {
  if (dialog_ == nullptr || !IsWindowVisible(dialog_)) {
    modeless_ = true;
    form_.restart();
    if (dialog_ == nullptr) {
      // WM_INITDIALOG initialises the form.
      if (CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(form_.templateId()), owner,
                             procedure, reinterpret_cast<LPARAM>(this)) == nullptr) {
        return false;
      }
    } else {
      deliver([this] { form_.init(); });
    }
    if (form_.isEnded()) return true;
  }
  ShowWindow(dialog_, SW_SHOW);
  SetForegroundWindow(dialog_);
  return true;
}

void FormDialog::closeIfEnded() {
  if (dialog_ == nullptr || ending_ || !form_.isEnded()) return;
  for (HWND window : disabledWhileBusy_) EnableWindow(window, TRUE);
  if (modeless_) {
    if (IsWindowVisible(dialog_)) ShowWindow(dialog_, SW_HIDE);
    return;
  }
  ending_ = true;
  EndDialog(dialog_, form_.result());
}

void FormDialog::act(const std::function<void()>& action) {
  deliver([this, &action] { form_.act(action); });
}

std::string FormDialog::text(int id) const {
  HWND window = control(id);
  std::wstring wide(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
  wide.resize(
      static_cast<std::size_t>(GetWindowTextW(window, wide.data(), static_cast<int>(wide.size()))));
  return toUtf8(wide);
}

void FormDialog::showText(int id, const std::string& text) {
  if (this->text(id) == text) return;
  settingText_ = true;
  SetDlgItemTextW(dialog_, id, toWide(text).c_str());
  settingText_ = false;
}

void FormDialog::focus(int id) {
  SendMessageW(dialog_, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(control(id)), TRUE);
}

int FormDialog::across(int units) const {
  RECT extent{0, 0, units, 0};
  MapDialogRect(dialog_, &extent);
  return extent.right;
}

int FormDialog::down(int units) const {
  RECT extent{0, 0, 0, units};
  MapDialogRect(dialog_, &extent);
  return extent.bottom;
}

void FormDialog::place(int id, int x, int y, int width, int height) {
  SetWindowPos(control(id), nullptr, x, y, std::max(width, 0), std::max(height, 0),
               SWP_NOZORDER | SWP_NOACTIVATE);
}

void FormDialog::fitOnScreen() {
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  GetMonitorInfoW(MonitorFromWindow(dialog_, MONITOR_DEFAULTTONEAREST), &monitor);
  const RECT& room = monitor.rcWork;
  RECT outline{};
  GetWindowRect(dialog_, &outline);
  const int width = std::min(outline.right - outline.left, room.right - room.left);
  const int height = std::min(outline.bottom - outline.top, room.bottom - room.top);
  if (width == outline.right - outline.left && height == outline.bottom - outline.top) return;
  SetWindowPos(dialog_, nullptr, room.left + (room.right - room.left - width) / 2,
               room.top + (room.bottom - room.top - height) / 2, width, height,
               SWP_NOZORDER | SWP_NOACTIVATE);
}

void FormDialog::limitSize(MINMAXINFO& info, SIZE units) const {
  RECT outline{0, 0, across(units.cx), down(units.cy)};
  AdjustWindowRectEx(&outline, static_cast<DWORD>(GetWindowLongW(dialog_, GWL_STYLE)), FALSE,
                     static_cast<DWORD>(GetWindowLongW(dialog_, GWL_EXSTYLE)));
  info.ptMinTrackSize = {outline.right - outline.left, outline.bottom - outline.top};
}

INT_PTR CALLBACK FormDialog::procedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    auto* self = reinterpret_cast<FormDialog*>(lParam);
    self->dialog_ = dialog;
    SetWindowLongPtrW(dialog, DWLP_USER, lParam);
  }
  auto* self = reinterpret_cast<FormDialog*>(GetWindowLongPtrW(dialog, DWLP_USER));
  return self != nullptr ? self->onMessage(message, wParam, lParam) : FALSE;
}

INT_PTR FormDialog::onMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      setUp();
      deliver([this] { form_.init(); });
      return TRUE;  // the focus goes to the template's first control
    case WM_COMMAND: {
      const int id = LOWORD(wParam);
      const int code = HIWORD(wParam);
      if (id == IDCANCEL && code == BN_CLICKED) {
        deliver([this] { form_.closeBox(); });
        return TRUE;
      }
      if (settingText_) return TRUE;
      return command(id, code) ? TRUE : FALSE;
    }
    case WM_CLOSE: deliver([this] { form_.closeBox(); }); return TRUE;
    case WM_TIMER:
      if (wParam == kBusyLookTimer) {
        KillTimer(dialog_, kBusyLookTimer);
        lookBusy();
      } else {
        const int id = static_cast<int>(wParam);
        deliver([this, id] { form_.tick(id); });
      }
      return TRUE;
    case kFormMessage: {
      const int posted = static_cast<int>(wParam);
      deliver([this, posted, lParam] { form_.deliver(posted, lParam); });
      return TRUE;
    }
    case WM_CTLCOLORSTATIC: {
      const HBRUSH brush =
          staticBackground(reinterpret_cast<HWND>(lParam), reinterpret_cast<HDC>(wParam));
      return reinterpret_cast<INT_PTR>(brush);  // none: the dialog's own
    }
    case WM_DESTROY:
      // A dialog beside the main window goes with it.
      if (modeless_) dialog_ = nullptr;
      return FALSE;
    case WM_SETCURSOR:
      if (!lookingBusy_ || overClose()) return FALSE;
      SetCursor(LoadCursorW(nullptr, IDC_WAIT));
      SetWindowLongPtrW(dialog_, DWLP_MSGRESULT, TRUE);
      return TRUE;
    default: return otherMessage(message, wParam, lParam) ? TRUE : FALSE;
  }
}

void FormDialog::deliver(const std::function<void()>& delivery) {
  if (!form_.isEnded()) {
    delivery();
    refresh();
  }
  closeIfEnded();
}

void FormDialog::showBusy(bool busy) {
  if (busy) {
    SetTimer(dialog_, kBusyLookTimer, kBusyLookMilliseconds, nullptr);
    return;
  }
  KillTimer(dialog_, kBusyLookTimer);
  if (!lookingBusy_) return;
  lookingBusy_ = false;
  for (HWND window : disabledWhileBusy_) EnableWindow(window, TRUE);
  disabledWhileBusy_.clear();
  if (focusedBeforeBusy_ != nullptr && IsWindow(focusedBeforeBusy_)) {
    SendMessageW(dialog_, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(focusedBeforeBusy_), TRUE);
  }
  focusedBeforeBusy_ = nullptr;
  SetCursor(LoadCursorW(nullptr, IDC_ARROW));
  refresh();
}

// Everything that takes input is greyed but Cancel or Close, which keeps the
// arrow and takes the focus meanwhile, so that it does not wander.
void FormDialog::lookBusy() {
  if (lookingBusy_ || ending_) return;
  refresh();
  lookingBusy_ = true;
  const HWND focused = GetFocus();
  focusedBeforeBusy_ = IsChild(dialog_, focused) ? focused : nullptr;
  if (HWND close = control(IDCANCEL); close != nullptr) {
    SendMessageW(dialog_, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(close), TRUE);
  }
  for (HWND child = GetWindow(dialog_, GW_CHILD); child != nullptr;
       child = GetWindow(child, GW_HWNDNEXT)) {
    if (GetDlgCtrlID(child) != IDCANCEL && takesInput(child) && IsWindowEnabled(child)) {
      EnableWindow(child, FALSE);
      disabledWhileBusy_.push_back(child);
    }
  }
  if (!overClose()) SetCursor(LoadCursorW(nullptr, IDC_WAIT));
}

bool FormDialog::overClose() const {
  POINT at{};
  GetCursorPos(&at);
  RECT close{};
  return GetWindowRect(control(IDCANCEL), &close) != 0 && PtInRect(&close, at) != 0;
}

void FormDialog::Host::startTimer(int id, int milliseconds) {
  SetTimer(dialog_.dialog_, static_cast<UINT_PTR>(id), static_cast<UINT>(milliseconds), nullptr);
}

void FormDialog::Host::killTimer(int id) { KillTimer(dialog_.dialog_, static_cast<UINT_PTR>(id)); }

void FormDialog::Host::post(int message, std::intptr_t param) {
  PostMessageW(dialog_.dialog_, kFormMessage, static_cast<WPARAM>(message),
               static_cast<LPARAM>(param));
}

int FormDialog::Host::messageBox(const std::string& text, const std::string& caption, Icon icon,
                                 Buttons buttons) {
  return showMessageBox(dialog_.dialog_, text, caption, icon, buttons);
}

std::optional<std::string> FormDialog::Host::chooseFile(const FileDialogRequest& request) {
  return showFileDialog(dialog_.dialog_, request);
}

void FormDialog::Host::setBusy(bool busy) { dialog_.showBusy(busy); }

}  // namespace vs
